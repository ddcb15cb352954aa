#include "MacroDocument.h"

#include <filesystem>
#include <limits>

#include "engine/MacroFile.h"
#include "platform/FileSystem.h"

namespace ordwell {

namespace {

// The document keeps its path absolute: a macro run from the editor may
// change the current directory (SetDirectory), and Save must still find the
// file it opened.
std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

} // namespace

std::vector<std::string> SplitDocumentText(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c != '\n' && c != '\r') {
            ++i;
            continue;
        }
        lines.emplace_back(text.substr(start, i - start));
        // CR LF is one line end; a CR alone is one too, and what follows it
        // belongs to the next line.
        i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
        start = i;
    }
    if (start < text.size()) {
        lines.emplace_back(text.substr(start));
    }
    return lines;
}

std::string JoinDocumentText(const std::vector<std::string>& lines) {
    size_t size = 0;
    for (const std::string& line : lines) {
        size += line.size() + 2;
    }
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string MacroDocument::Title() const {
    if (m_path.empty()) {
        return "Untitled";
    }
    return std::filesystem::path(m_path).filename().string();
}

void MacroDocument::New() {
    m_lines.clear();
    m_path.clear();
    m_modified = false;
    RefreshFileStatus();
}

DocumentOpen MacroDocument::Open(const std::string& path) {
    std::string content;
    switch (m_files.ReadRegularFile(path, kMaxMacroFileBytes, content)) {
    case FileRead::Ok:
        break;
    case FileRead::Missing:
        return DocumentOpen::Missing;
    case FileRead::NotRegular:
    case FileRead::TooLarge:
    case FileRead::Unreadable:
        return DocumentOpen::Unreadable;
    }
    m_lines = SplitDocumentText(content);
    m_path = AbsolutePath(path);
    m_modified = false;
    RefreshFileStatus();
    return DocumentOpen::Opened;
}

bool MacroDocument::Save(const std::string& path) {
    const std::string target = AbsolutePath(path);
    const std::string text = JoinDocumentText(m_lines);
    // A file that cannot be replaced by a new one (a directory that takes no
    // new file, a file with other hard links) is rewritten in place.
    const bool written =
        m_files.WriteAtomically(target, text) ||
        m_files.Update(target, std::numeric_limits<size_t>::max(), [&](const std::string&) { return text; });
    if (!written) {
        return false;
    }
    m_path = target;
    m_modified = false;
    RefreshFileStatus();
    return true;
}

void MacroDocument::SetPath(const std::string& path) {
    m_path = AbsolutePath(path);
    RefreshFileStatus();
}

std::optional<MacroDocument::FileStatus> MacroDocument::CurrentStatus() const {
    if (m_path.empty()) {
        return std::nullopt;
    }
    const auto modified = m_files.ModificationTime(m_path);
    if (!modified) {
        return std::nullopt;
    }
    return FileStatus{*modified, m_files.FileSize(m_path).value_or(0)};
}

bool MacroDocument::ChangedOnDisk() const {
    const auto now = CurrentStatus();
    return now && now != m_status;
}

void MacroDocument::RefreshFileStatus() {
    m_status = CurrentStatus();
}

} // namespace ordwell
