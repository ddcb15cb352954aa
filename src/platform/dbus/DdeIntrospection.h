#pragma once

#include <string_view>

namespace ordwell {

// Whether a D-Bus introspection document lists the interface on its object
// itself (an <interface> right inside the top <node>, not one of a child
// node). False for a document that is not well-formed XML.
bool IntrospectionListsInterface(std::string_view xml, std::string_view interfaceName);

} // namespace ordwell
