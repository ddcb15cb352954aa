#pragma once

namespace ordwell {

class Engine;

// The file and directory commands: FileExist, FileOlderThan, IsFileLocked,
// CopyFile, MoveFile, DeleteFile, CreateDirectory, RemoveDirectory,
// SetDirectory, FindFile, GetFileSize, WriteToFile and WriteLineToFile.
void BindFileCommands(Engine& engine);

} // namespace ordwell
