#include "FileCommands.h"

#include <charconv>
#include <cstdint>

#include "DirectoryList.h"
#include "engine/CommandCall.h"
#include "engine/LogWriter.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/PathMapping.h"

namespace ordwell {

namespace {

FileSystem& Files(const CommandCall& call) {
    return call.GetPlatform().files;
}

bool FileExistCommand(CommandCall& call) {
    return Files(call).AnyEntryMatches(call.Path(1));
}

// TRUE when the file was last changed strictly more seconds ago than given.
// The seconds are an unsigned 32-bit count, so -1 and an empty argument mean
// about 136 years. A file whose time cannot be read is not older.
bool FileOlderThanCommand(CommandCall& call) {
    const auto changed = Files(call).ModificationTime(call.Path(1));
    if (!changed) {
        return false;
    }
    const auto seconds = static_cast<std::uint32_t>(call.Number(2));
    const std::int64_t age = call.GetPlatform().clock.Now() - *changed;
    return age > static_cast<std::int64_t>(seconds);
}

bool IsFileLockedCommand(CommandCall& call) {
    return !Files(call).CanOpenForWriting(call.Path(1));
}

bool CopyFileCommand(CommandCall& call) {
    return Files(call).CopyWithoutOverwrite(call.Path(1), call.Path(2));
}

bool MoveFileCommand(CommandCall& call) {
    return Files(call).MoveWithoutOverwrite(call.Path(1), call.Path(2));
}

bool DeleteFileCommand(CommandCall& call) {
    return Files(call).RemoveFile(call.Path(1));
}

bool CreateDirectoryCommand(CommandCall& call) {
    return Files(call).MakeDirectory(call.Path(1));
}

bool RemoveDirectoryCommand(CommandCall& call) {
    return Files(call).RemoveEmptyDirectory(call.Path(1));
}

bool SetDirectoryCommand(CommandCall& call) {
    return Files(call).ChangeDirectory(call.Path(1));
}

// FindFile(name, where[, variable]). With two or three arguments an empty
// "where" or exactly "PATH" searches the standard order, anything else is a
// directory list; with four or more the standard order is used. Names and
// lists have no length limit.
bool FindFileCommand(CommandCall& call) {
    FileSystem& files = Files(call);
    const std::string_view where = call.Text(2);
    std::vector<std::string> directories;
    if (call.Count() <= 3 && !where.empty() && where != "PATH") {
        for (const std::string& directory : SplitDirectoryList(where)) {
            directories.push_back(call.GetPlatform().paths.NativePath(directory));
        }
    } else {
        directories = files.StandardSearchDirectories();
    }
    const auto found = files.FindInDirectories(call.Path(1), directories);
    if (!found) {
        return false;
    }
    if (call.Count() == 3) {
        call.Store(3, *found);
    }
    return true;
}

// A missing or unreadable file leaves the variable as it was; the line is
// TRUE either way.
bool GetFileSizeCommand(CommandCall& call) {
    if (const auto size = Files(call).FileSize(call.Path(1))) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, *size).ptr;
        call.Store(2, std::string_view(digits, static_cast<std::size_t>(end - digits)));
    }
    return true;
}

// The text is written as it is, in one append; WriteLineToFile adds CR LF.
bool WriteToFileCommand(CommandCall& call) {
    return AppendToFile(call.GetEngine(), call.Text(1), call.Text(2));
}

bool WriteLineToFileCommand(CommandCall& call) {
    return AppendToFile(call.GetEngine(), call.Text(1), std::string(call.Text(2)) + "\r\n");
}

} // namespace

void BindFileCommands(Engine& engine) {
    engine.Bind(CommandId::kFileExist, FileExistCommand);
    engine.Bind(CommandId::kFileOlderThan, FileOlderThanCommand);
    engine.Bind(CommandId::kIsFileLocked, IsFileLockedCommand);
    engine.Bind(CommandId::kCopyFile, CopyFileCommand);
    engine.Bind(CommandId::kMoveFile, MoveFileCommand);
    engine.Bind(CommandId::kDeleteFile, DeleteFileCommand);
    engine.Bind(CommandId::kCreateDirectory, CreateDirectoryCommand);
    engine.Bind(CommandId::kRemoveDirectory, RemoveDirectoryCommand);
    engine.Bind(CommandId::kSetDirectory, SetDirectoryCommand);
    engine.Bind(CommandId::kFindFile, FindFileCommand);
    engine.Bind(CommandId::kGetFileSize, GetFileSizeCommand);
    engine.Bind(CommandId::kWriteToFile, WriteToFileCommand);
    engine.Bind(CommandId::kWriteLineToFile, WriteLineToFileCommand);
}

} // namespace ordwell
