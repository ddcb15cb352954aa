#include "ViewFont.h"

#include <array>
#include <vector>

#include "engine/MacroLine.h"

namespace ordwell {

void ReadViewFont(std::string_view text, FontRecord& record) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    while (start <= text.size() && fields.size() < 14) {
        size_t end = text.find(',', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        if (end > start) {
            fields.push_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    const std::array<std::int32_t*, 5> numbers = {&record.height, &record.width, &record.escapement,
                                                  &record.orientation, &record.weight};
    const std::array<std::uint8_t*, 8> bytes = {&record.italic,  &record.underline,     &record.strikeOut,
                                                &record.charSet, &record.outPrecision,  &record.clipPrecision,
                                                &record.quality, &record.pitchAndFamily};
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i < numbers.size()) {
            *numbers[i] = ReadWholeNumber(fields[i]);
        } else if (i < numbers.size() + bytes.size()) {
            *bytes[i - numbers.size()] = static_cast<std::uint8_t>(ReadWholeNumber(fields[i]) & 0xFF);
        } else {
            // The whole name: a font family on this desktop may be longer
            // than the 31 characters the Windows record holds.
            record.faceName = std::string(fields[i]);
        }
    }
}

std::string FormatViewFont(const FontRecord& r) {
    std::string text;
    for (const std::int32_t n : {r.height, r.width, r.escapement, r.orientation, r.weight}) {
        text += std::to_string(n) + ',';
    }
    for (const std::uint8_t b : {r.italic, r.underline, r.strikeOut, r.charSet, r.outPrecision, r.clipPrecision,
                                 r.quality, r.pitchAndFamily}) {
        text += std::to_string(static_cast<unsigned>(b)) + ',';
    }
    text += r.faceName;
    return text;
}

} // namespace ordwell
