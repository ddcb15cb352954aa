#pragma once

#include <optional>
#include <string>

namespace ordwell {

// The name a write through `path` lands on, as editors write through a
// symbolic link: while the name is a link, its target, a relative target
// read from the link's own directory; the first name that is no link,
// whether a file of that name exists or not. Nothing, with errno ELOOP, for
// a chain longer than the kernel would follow (40 links), a loop included.
std::optional<std::string> FinalLinkTarget(const std::string& path);

} // namespace ordwell
