#include "DdeIntrospection.h"

#include <climits>
#include <cstring>
#include <expat.h>
#include <memory>

namespace ordwell {

namespace {

struct Scan {
    std::string_view wanted;
    int depth = 0;
    bool rootIsNode = false;
    bool found = false;
};

void OnStart(void* data, const XML_Char* element, const XML_Char** attributes) {
    Scan& scan = *static_cast<Scan*>(data);
    ++scan.depth;
    if (scan.depth == 1) {
        scan.rootIsNode = std::strcmp(element, "node") == 0;
        return;
    }
    if (scan.depth != 2 || !scan.rootIsNode || std::strcmp(element, "interface") != 0) {
        return;
    }
    for (const XML_Char** attribute = attributes; attribute[0] != nullptr; attribute += 2) {
        if (std::strcmp(attribute[0], "name") == 0 && scan.wanted == attribute[1]) {
            scan.found = true;
        }
    }
}

void OnEnd(void* data, const XML_Char*) {
    --static_cast<Scan*>(data)->depth;
}

struct ParserFree {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

} // namespace

bool IntrospectionListsInterface(std::string_view xml, std::string_view interfaceName) {
    if (xml.size() > INT_MAX) {
        return false;
    }
    const std::unique_ptr<XML_ParserStruct, ParserFree> parser(XML_ParserCreate("UTF-8"));
    if (!parser) {
        return false;
    }
    Scan scan{.wanted = interfaceName};
    XML_SetUserData(parser.get(), &scan);
    XML_SetElementHandler(parser.get(), OnStart, OnEnd);
    // The whole document must be well-formed, not only the part before the
    // interface: a broken answer is no answer.
    const bool wellFormed =
        XML_Parse(parser.get(), xml.data(), static_cast<int>(xml.size()), XML_TRUE) == XML_STATUS_OK;
    return wellFormed && scan.found;
}

} // namespace ordwell
