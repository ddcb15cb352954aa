#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ordwell {

class FileSystem;

// Splits the text of a macro file into its lines for the editor: a line ends
// at LF, at CR LF, or at a CR alone, and the line end is not kept. A last
// line without a line end is kept; a line end at the very end adds no empty
// line. No byte is dropped or changed, and no length limit applies.
std::vector<std::string> SplitDocumentText(std::string_view text);
// The text a macro file is saved as: every line followed by CR LF.
std::string JoinDocumentText(const std::vector<std::string>& lines);

// How opening a macro file ended.
enum class DocumentOpen {
    Opened,
    Missing,    // no such file; the document is unchanged
    Unreadable, // a directory, a device, too large, or no permission
};

// One macro file while it is open in the editor: its lines, verbatim, its
// path (empty for a new macro), whether it was changed since it was opened or
// saved, and what the file looked like on disk when this editor last read or
// wrote it, so that a change by another program can be told.
class MacroDocument {
public:
    explicit MacroDocument(FileSystem& files) : m_files(files) {}

    std::vector<std::string>& Lines() { return m_lines; }
    const std::vector<std::string>& Lines() const { return m_lines; }
    // The native path of the file, absolute; empty for a new macro.
    const std::string& Path() const { return m_path; }
    // The name shown in the title bar: the file name, or "Untitled".
    std::string Title() const;
    bool IsModified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }

    // Empties the document: no lines, no path, not modified.
    void New();
    // Reads the file's lines in place of the document's, takes its path and
    // clears the modified flag. Nothing changes unless it answers Opened.
    DocumentOpen Open(const std::string& path);
    // Writes every line with CR LF to the file, which replaces the old one
    // whole or not at all; on success takes the path and clears the modified
    // flag. False when the file could not be written.
    bool Save(const std::string& path);
    // Takes a path for a file that does not exist yet (a macro named on the
    // command line); Save writes it there.
    void SetPath(const std::string& path);

    // Whether the file was changed by another program since this editor last
    // read or wrote it: it exists and its modification time or size differ
    // from the record. A new macro, or a file that has gone, never counts.
    bool ChangedOnDisk() const;
    // Records how the file looks now (nothing when it is missing or the
    // document has no path).
    void RefreshFileStatus();

private:
    struct FileStatus {
        std::int64_t modified = 0;
        std::uint64_t size = 0;
        friend bool operator==(const FileStatus&, const FileStatus&) = default;
    };
    std::optional<FileStatus> CurrentStatus() const;

    FileSystem& m_files;
    std::vector<std::string> m_lines;
    std::string m_path;
    bool m_modified = false;
    std::optional<FileStatus> m_status;
};

} // namespace ordwell
