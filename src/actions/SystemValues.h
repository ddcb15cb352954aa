#pragma once

#include <string>
#include <string_view>

namespace ordwell {

class Engine;

// The system resources: values about the machine that macros name, such as
// MEMORY_AVAILPHYSICAL, DISK_C_FREE or USER_NAME. Names match exactly, letter
// case included.

// A name beginning with "MEMORY_" or "DISK_".
bool IsNumericResource(std::string_view name);
// COMPUTER_NAME, USER_NAME, SYSTEM_DIR or WINDOWS_DIR.
bool IsTextResource(std::string_view name);

// The number a name stands for: a memory figure (bytes, or the load in
// percent), the free or total bytes of a drive (DISK_d_FREE, DISK_d_SIZE,
// the drive letter mapped like a macro path), or else the leading decimal
// number of the text itself (0 for none). A memory or disk figure that
// cannot be read, a MEMORY_ name that names no figure, and a drive that is
// not mapped or cannot be queried all give 0.
double ResourceNumericValue(Engine& engine, std::string_view name);

// The bare text of a resource: a text resource's value, else the number
// formatted as "%5.2f".
std::string ResourceText(Engine& engine, std::string_view name);

// The labelled text for a log line: "Computer Name: simhost",
// "MEMORY_PERCENTUSED: 45.00".
std::string ResourceLogText(Engine& engine, std::string_view name);

} // namespace ordwell
