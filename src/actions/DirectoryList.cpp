#include "DirectoryList.h"

namespace ordwell {

namespace {

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

std::vector<std::string> SplitDirectoryList(std::string_view list) {
    std::vector<std::string> directories;
    std::string current;
    const auto finish = [&] {
        if (!current.empty()) {
            directories.push_back(std::move(current));
        }
        current.clear();
    };
    for (const char c : list) {
        if (c == ';' || (c == ':' && !(current.size() == 1 && IsLetter(current.front())))) {
            finish();
        } else {
            current += c;
        }
    }
    finish();
    return directories;
}

} // namespace ordwell
