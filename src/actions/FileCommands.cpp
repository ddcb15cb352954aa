#include "FileCommands.h"

#include <charconv>
#include <cstdint>

#include "DirectoryList.h"
#include "engine/CommandCall.h"
#include "engine/LogWriter.h"
#include "engine/MacroPath.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"

namespace ordwell {

namespace {

// Argument n as a native path.
std::string PathArgument(const CommandCall& call, int n) {
    return MapMacroPath(call.Text(n), call.GetEngine().GetSettings());
}

FileSystem& Files(const CommandCall& call) {
    return *call.GetPlatform().files;
}

bool FileExist(CommandCall& call) {
    return Files(call).AnyEntryMatches(PathArgument(call, 1));
}

// TRUE when the file was last changed strictly more seconds ago than given.
// The seconds are an unsigned 32-bit count, so -1 and an empty argument mean
// about 136 years. A file whose time cannot be read is not older.
bool FileOlderThan(CommandCall& call) {
    const auto changed = Files(call).ModificationTime(PathArgument(call, 1));
    if (!changed) {
        return false;
    }
    const auto seconds = static_cast<std::uint32_t>(call.Number(2));
    const std::int64_t age = call.GetPlatform().clock->Now() - *changed;
    return age > static_cast<std::int64_t>(seconds);
}

bool IsFileLocked(CommandCall& call) {
    return !Files(call).CanOpenForWriting(PathArgument(call, 1));
}

bool CopyFile(CommandCall& call) {
    return Files(call).CopyWithoutOverwrite(PathArgument(call, 1), PathArgument(call, 2));
}

bool MoveFile(CommandCall& call) {
    return Files(call).MoveWithoutOverwrite(PathArgument(call, 1), PathArgument(call, 2));
}

bool DeleteFile(CommandCall& call) {
    return Files(call).RemoveFile(PathArgument(call, 1));
}

bool CreateDirectory(CommandCall& call) {
    return Files(call).MakeDirectory(PathArgument(call, 1));
}

bool RemoveDirectory(CommandCall& call) {
    return Files(call).RemoveEmptyDirectory(PathArgument(call, 1));
}

bool SetDirectory(CommandCall& call) {
    return Files(call).ChangeDirectory(PathArgument(call, 1));
}

// FindFile(name, where[, variable]). With two or three arguments an empty
// "where" or exactly "PATH" searches the standard order, anything else is a
// directory list; with four or more the standard order is used. Names and
// lists have no length limit.
bool FindFile(CommandCall& call) {
    FileSystem& files = Files(call);
    const std::string& where = call.Text(2);
    std::vector<std::string> directories;
    if (call.Count() <= 3 && !where.empty() && where != "PATH") {
        for (const std::string& directory : SplitDirectoryList(where)) {
            directories.push_back(MapMacroPath(directory, call.GetEngine().GetSettings()));
        }
    } else {
        directories = files.StandardSearchDirectories();
    }
    const auto found = files.FindInDirectories(PathArgument(call, 1), directories);
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
bool GetFileSize(CommandCall& call) {
    if (const auto size = Files(call).FileSize(PathArgument(call, 1))) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, *size).ptr;
        call.Store(2, std::string_view(digits, static_cast<std::size_t>(end - digits)));
    }
    return true;
}

// The text is written as it is, in one append; WriteLineToFile adds CR LF.
bool WriteToFile(CommandCall& call) {
    return AppendToFile(call.GetEngine(), call.Text(1), call.Text(2));
}

bool WriteLineToFile(CommandCall& call) {
    return AppendToFile(call.GetEngine(), call.Text(1), call.Text(2) + "\r\n");
}

} // namespace

void BindFileCommands(Engine& engine) {
    engine.Bind(CommandId::FileExist, FileExist);
    engine.Bind(CommandId::FileOlderThan, FileOlderThan);
    engine.Bind(CommandId::IsFileLocked, IsFileLocked);
    engine.Bind(CommandId::CopyFile, CopyFile);
    engine.Bind(CommandId::MoveFile, MoveFile);
    engine.Bind(CommandId::DeleteFile, DeleteFile);
    engine.Bind(CommandId::CreateDirectory, CreateDirectory);
    engine.Bind(CommandId::RemoveDirectory, RemoveDirectory);
    engine.Bind(CommandId::SetDirectory, SetDirectory);
    engine.Bind(CommandId::FindFile, FindFile);
    engine.Bind(CommandId::GetFileSize, GetFileSize);
    engine.Bind(CommandId::WriteToFile, WriteToFile);
    engine.Bind(CommandId::WriteLineToFile, WriteLineToFile);
}

} // namespace ordwell
