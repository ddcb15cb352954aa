#pragma once

// Every command of the macro language, once. Each row:
//   X(name, argument counts, kind, testable, help string, help topic,
//     output positions, argument roles separated by '|', help text)
// The catalogue, the dispatcher's lookup, the argument check and the editor's
// help all derive from this list. The order is that of the command table.
// ResponseOk and ResponseCancel close the list: the dispatcher knows them but
// they have no row of their own (help string and topic 0).
#define ORDWELL_COMMANDS(X)                                                                                            \
    X(ActivateWindow, Exactly(1), Action, true, 102, 1007, kNoOutputs, "window title pattern",                         \
      "Brings the first window whose title matches the pattern to the front and gives it the keyboard focus.")         \
    X(Beep, Exactly(0), Action, true, 123, 1025, kNoOutputs, "", "Sounds the warning beep.")                           \
    X(CloseFile, Exactly(1), Action, true, 181, 1138, kNoOutputs, "buffer identifier",                                 \
      "Closes the text file bound to buffer 0, 1 or 2 and frees the buffer.")                                          \
    X(CloseWindow, Exactly(1), Action, true, 118, 1009, kNoOutputs, "window title pattern",                            \
      "Asks the first window whose title matches the pattern to close.")                                               \
    X(CopyFile, Exactly(2), Action, true, 160, 1090, kNoOutputs, "source file|destination file",                       \
      "Copies a file. An existing destination is never overwritten; the line then returns FALSE.")                     \
    X(CreateDirectory, Exactly(1), Action, true, 161, 1091, kNoOutputs, "directory path",                              \
      "Creates one directory. The directory above it must already exist.")                                             \
    X(DdeCommand, Exactly(3), Action, true, 146, 1055, kNoOutputs, "application|topic|command",                        \
      "Sends one execute string to a program that serves the application and topic.")                                  \
    X(DdeScript, Exactly(3), Action, true, 147, 1056, kNoOutputs, "application|topic|script file",                     \
      "Sends every line of a script file as an execute string to a program that serves the application and topic.")    \
    X(Decrement, Exactly(1), Action, true, 177, 1110, kAllOutputs, "variable",                                         \
      "Subtracts one from the number held in a variable.")                                                             \
    X(Delay, Exactly(1), Action, true, 106, 1018, kNoOutputs, "milliseconds",                                          \
      "Pauses the macro for the given number of milliseconds. Stopping the macro ends the pause at once.")             \
    X(DeleteFile, Exactly(1), Action, true, 166, 1093, kNoOutputs, "file", "Deletes a file.")                          \
    X(DoNothing, Unchecked(), Action, true, 182, 1140, kNoOutputs, "",                                                 \
      "Does nothing and returns TRUE. Useful as a branch of If that should have no effect.")                           \
    X(Dump, Unchecked(), Action, true, 168, 1095, kNoOutputs, "",                                                      \
      "Shows the contents of all 26 variables, %A to %Z, in a message box.")                                           \
    X(ExitMacro, Unchecked(), Flow, false, 107, 1036, kNoOutputs, "", "Ends the macro after this line.")               \
    X(FileExist, Exactly(1), Condition, false, 131, 1016, kNoOutputs, "file name or wildcard pattern",                 \
      "TRUE when a file or directory matches the name. * and ? may stand in the last part of the path.")               \
    X(FileOlderThan, Exactly(2), Condition, true, 155, 1078, kNoOutputs, "file|seconds",                               \
      "TRUE when the file was last changed more than the given number of seconds ago.")                                \
    X(FindFile, AtLeast(2), Condition, true, 167, 1094, Out(3), "file name|path or PATH|output variable",              \
      "Searches for a file in a list of directories, or along the program search path with PATH. TRUE when found; "    \
      "the full path goes into the variable when one is given.")                                                       \
    X(FindWindow, Exactly(1), Condition, true, 133, 1012, kNoOutputs, "window title pattern",                          \
      "TRUE when a window whose title matches the pattern exists.")                                                    \
    X(For, Exactly(3), Flow, false, 149, 1060, kNoOutputs, "start|end|command",                                        \
      "Runs the command once for every number from start up to, but not including, end.")                              \
    X(GetDate, Exactly(1), Action, true, 186, 1114, Out(1), "output variable",                                         \
      "Puts today's date, as MM/DD/YY, into a variable.")                                                              \
    X(GetDateTime, Exactly(2), Action, true, 196, 1116, Out(1), "output variable|format",                              \
      "Puts the current date and time into a variable, laid out by the format (%Y year, %m month, %d day, %H hour, "   \
      "%M minute, %S second, %A weekday and more).")                                                                   \
    X(GetClipBoard, Exactly(1), Action, true, 170, 1097, Out(1), "output variable",                                    \
      "Puts the text on the clipboard into a variable.")                                                               \
    X(GetFileSize, Exactly(2), Action, true, 171, 1098, Out(2), "file|output variable",                                \
      "Puts the size of a file in bytes into a variable.")                                                             \
    X(GetFromIniFile, Exactly(3), Action, true, 175, 1100, Out(3), "INI file|[section]entry|output variable",          \
      "Reads an entry of an INI file, written as [section]entry, into a variable.")                                    \
    X(GetFromRegistry, Exactly(3), Action, true, 172, 1099, Out(3), "key path|value name|output variable",             \
      "Reads a registry value into a variable. The key path starts with its hive, such as HKEY_CURRENT_USER.")         \
    X(GetSystem, Exactly(2), Action, true, 169, 1096, Out(1), "output variable|resource name",                         \
      "Puts a system value, such as MEMORY_AVAILPHYSICAL, DISK_C_FREE or USER_NAME, into a variable.")                 \
    X(GetTime, Exactly(1), Action, true, 187, 1115, Out(1), "output variable",                                         \
      "Puts the current time, as HH:MM:SS, into a variable.")                                                          \
    X(GoTo, Exactly(1), Flow, true, 114, 1058, kNoOutputs, "label",                                                    \
      "Goes on with the line after the label. Fails when the macro has no such label.")                                \
    X(If, OneOf(2, 3), Flow, true, 145, 1032, kNoOutputs, "test command|command if TRUE|command if FALSE",             \
      "Runs the test command, then the second command when it returned TRUE, or the third, if given, when it "         \
      "returned FALSE.")                                                                                               \
    X(IfEquals, Exactly(3), Flow, true, 229, 1104, kNoOutputs, "A value|B value|command if TRUE",                      \
      "Runs the command when A equals B. System values and numbers compare as numbers, other texts letter for "        \
      "letter.")                                                                                                       \
    X(IfLessThan, Exactly(3), Flow, true, 150, 1054, kNoOutputs, "A value|B value|command if TRUE",                    \
      "Runs the command when A is less than B. Values compare as numbers; system values may be named.")                \
    X(IfMoreThan, Exactly(3), Flow, true, 151, 1053, kNoOutputs, "A value|B value|command if TRUE",                    \
      "Runs the command when A is more than B. Values compare as numbers; system values may be named.")                \
    X(IsDateAfter, Exactly(2), Condition, false, 189, 1121, kNoOutputs, "date A|date B",                               \
      "TRUE when date A, as MM/DD/YY or MM/DD/YYYY, is later than date B. A short date means now.")                    \
    X(IsDateBefore, Exactly(2), Condition, false, 188, 1120, kNoOutputs, "date A|date B",                              \
      "TRUE when date A, as MM/DD/YY or MM/DD/YYYY, is earlier than date B. A short date means now.")                  \
    X(IsDateBetween, Exactly(3), Condition, false, 191, 1123, kNoOutputs, "date A|date B|date C",                      \
      "TRUE when date A is later than date B and earlier than date C.")                                                \
    X(IsDateEqual, Exactly(2), Condition, false, 190, 1122, kNoOutputs, "date A|date B",                               \
      "TRUE when date A and date B are the same day.")                                                                 \
    X(IsTimeAfter, Exactly(2), Condition, false, 193, 1125, kNoOutputs, "time A|time B",                               \
      "TRUE when time A, as HH:MM:SS, is later than time B. A short time means now.")                                  \
    X(IsTimeBefore, Exactly(2), Condition, false, 192, 1124, kNoOutputs, "time A|time B",                              \
      "TRUE when time A, as HH:MM:SS, is earlier than time B. A short time means now.")                                \
    X(IsTimeBetween, Exactly(3), Condition, false, 195, 1127, kNoOutputs, "time A|time B|time C",                      \
      "TRUE when time A is later than time B and earlier than time C.")                                                \
    X(IsTimeEqual, Exactly(2), Condition, false, 194, 1126, kNoOutputs, "time A|time B",                               \
      "TRUE when time A and time B are the same second.")                                                              \
    X(Increment, Exactly(1), Action, true, 176, 1109, kAllOutputs, "variable",                                         \
      "Adds one to the number held in a variable.")                                                                    \
    X(InputBox, OneOf(1, 2), Action, true, 108, 1030, Out(2), "prompt text|output variable",                           \
      "Asks for a text. The entry goes into the variable, if given, and is kept for SendInput.")                       \
    X(IsFileLocked, Exactly(1), Condition, true, 178, 1111, kNoOutputs, "file",                                        \
      "TRUE when the file cannot be opened for writing: missing, read-only or in use.")                                \
    X(LogError, Exactly(1), Action, true, 117, 1015, kNoOutputs, "text",                                               \
      "Writes a line with the date, the time and the text to the error log.")                                          \
    X(LogEvent, Exactly(1), Action, true, 157, 1108, kNoOutputs, "text",                                               \
      "Writes a line with the date, the time and the text to the event log.")                                          \
    X(Logout, Unchecked(), Action, true, 109, 1022, kNoOutputs, "", "Logs the user off.")                              \
    X(LogSystem, Exactly(2), Action, true, 152, 1071, kNoOutputs, "log file|resource name",                            \
      "Writes a system value, with its name, the date and the time, as a line to a log file.")                         \
    X(LogToFile, Exactly(2), Action, true, 110, 1033, kNoOutputs, "file|text",                                         \
      "Writes a line with the date, the time and the text to a file.")                                                 \
    X(MinimizeWindow, OneOf(0, 1), Action, true, 129, 1064, kNoOutputs, "window title pattern",                        \
      "Minimizes the window whose title matches the pattern, or the active window.")                                   \
    X(MaximizeWindow, OneOf(0, 1), Action, true, 228, 1065, kNoOutputs, "window title pattern",                        \
      "Maximizes the window whose title matches the pattern, or the active window.")                                   \
    X(MessageBox, Exactly(1), Action, true, 104, 1076, kNoOutputs, "message text",                                     \
      "Shows a message and waits until it is closed with OK.")                                                         \
    X(MessageBoxOkCancel, Exactly(1), Action, true, 105, 1010, kNoOutputs, "message text",                             \
      "Shows a message with OK and Cancel. Test the answer with ResponseOk or ResponseCancel.")                        \
    X(MouseClickScreen, Exactly(2), Action, true, 184, 1118, kNoOutputs, "x|y",                                        \
      "Clicks the left mouse button at a point of the screen.")                                                        \
    X(MouseDblClickScreen, Exactly(2), Action, true, 185, 1119, kNoOutputs, "x|y",                                     \
      "Double-clicks the left mouse button at a point of the screen.")                                                 \
    X(MoveFile, Exactly(2), Action, true, 159, 1089, kNoOutputs, "source file|destination file",                       \
      "Moves or renames a file, also to another drive. An existing destination is never overwritten.")                 \
    X(NormalizeWindow, OneOf(0, 1), Action, true, 130, 1063, kNoOutputs, "window title pattern",                       \
      "Restores the window whose title matches the pattern, or the active window, to its normal size.")                \
    X(OnError, Exactly(1), Flow, false, 136, 1066, kNoOutputs, "label",                                                \
      "From now on a failing line goes on at the label instead of ending the macro. An empty label turns this off.")   \
    X(OpenFile, Exactly(2), Action, true, 179, 1137, kNoOutputs, "buffer identifier|file",                             \
      "Opens a text file for ReadLine in buffer 0, 1 or 2.")                                                           \
    X(PlaySound, Exactly(1), Action, true, 124, 1026, kNoOutputs, "sound file",                                        \
      "Plays a sound file and waits until it has ended.")                                                              \
    X(Print, Unchecked(), Action, true, 230, 1103, kNoOutputs, "document|run style",                                   \
      "Prints a document through the program that prints documents of its kind.")                                      \
    X(PowerOff, Unchecked(), Action, false, 125, 1070, kNoOutputs, "", "Shuts the system down and turns it off.")      \
    X(PutVar, Exactly(2), Action, true, 158, 1088, Out(1), "variable|value", "Puts a value into a variable.")          \
    X(QuitProgram, Exactly(1), Action, true, 137, 1019, kNoOutputs, "window title pattern",                            \
      "Ends the program that owns the window whose title matches the pattern.")                                        \
    X(ReadLine, Exactly(2), Action, true, 180, 1139, Out(2), "buffer identifier|output variable",                      \
      "Reads the next line of the text file open in a buffer into a variable. FALSE at the end of the file.")          \
    X(RebootSystem, Unchecked(), Action, false, 111, 1020, kNoOutputs, "", "Restarts the system.")                     \
    X(RemoveDirectory, Exactly(1), Action, true, 165, 1092, kNoOutputs, "directory path",                              \
      "Removes an empty directory.")                                                                                   \
    X(Repeat, Exactly(2), Flow, false, 122, 1060, kNoOutputs, "command|number of times",                               \
      "Runs the command the given number of times, or until it returns FALSE.")                                        \
    X(RunDOSCommand, Exactly(1), Action, true, 154, 1077, kNoOutputs, "command text",                                  \
      "Runs a command line through the command interpreter, so redirections and pipes work.")                          \
    X(RunMacro, Exactly(1), Flow, true, 113, 1024, kNoOutputs, "macro file",                                           \
      "Runs another macro file to its end, then goes on with this one.")                                               \
    X(RunProgram, OneOf(1, 2), Action, true, 138, 1027, kNoOutputs, "command line|run style",                          \
      "Starts a program, or opens a document. The run style is Normal, Minimized, Maximized or Hidden.")               \
    X(SendEnvironment, Exactly(1), Action, false, 143, 1068, kNoOutputs, "text",                                       \
      "Types the text with its environment variables, such as %PATH%, replaced by their values.")                      \
    X(SendInput, Exactly(0), Action, false, 120, 1069, kNoOutputs, "",                                                 \
      "Types the text entered in the last input box.")                                                                 \
    X(SendInputToWindow, Exactly(1), Action, false, 121, 1031, kNoOutputs, "window title pattern",                     \
      "Activates a window and types the text entered in the last input box into it.")                                  \
    X(SendKeys, Exactly(1), Action, false, 115, 1028, kNoOutputs, "keys",                                              \
      "Types keys into the active window. ~ is Enter, + Shift, ^ Ctrl, % Alt; {F1} and the like name keys.")           \
    X(SendKeysFromFile, Exactly(1), Action, false, 156, 1084, kNoOutputs, "file",                                      \
      "Types the keys written in a file into the active window.")                                                      \
    X(SendKeysToWindow, Exactly(2), Action, true, 116, 1008, kNoOutputs, "window title pattern|keys",                  \
      "Activates a window and types keys into it.")                                                                    \
    X(SendNow, Exactly(1), Action, false, 144, 1067, kNoOutputs, "time format",                                        \
      "Types the current date and time, laid out by the format.")                                                      \
    X(SetCapsLock, Exactly(1), Action, true, 183, 1141, kNoOutputs, "ON or OFF", "Turns Caps Lock on or off.")         \
    X(SetCaption, Exactly(1), Action, true, 142, 1017, kNoOutputs, "caption text",                                     \
      "Sets the title of the message and input boxes. An empty text brings back the usual title.")                     \
    X(SetDirectory, Exactly(1), Action, true, 139, 1014, kNoOutputs, "directory path",                                 \
      "Makes a directory the current one, against which relative paths are found.")                                    \
    X(ShutdownSystem, Unchecked(), Action, false, 112, 1021, kNoOutputs, "", "Shuts the system down.")                 \
    X(WaitForProgram, OneOf(0, 1), Action, true, 153, 1062, kNoOutputs, "milliseconds",                                \
      "Waits until the program started last has ended, or at most the given milliseconds. FALSE when the time ran "    \
      "out.")                                                                                                          \
    X(While, Exactly(2), Flow, false, 148, 1061, kNoOutputs, "test command|command while TRUE",                        \
      "Runs the command again and again for as long as the test command returns TRUE.")                                \
    X(WindowActive, Exactly(1), Condition, true, 132, 1013, kNoOutputs, "exact window title",                          \
      "TRUE when the active window has exactly this title.")                                                           \
    X(WriteLineToFile, Exactly(2), Action, true, 126, 1035, kNoOutputs, "file|text",                                   \
      "Adds the text and a line end to the end of a file.")                                                            \
    X(WriteToFile, Exactly(2), Action, true, 127, 1034, kNoOutputs, "file|text",                                       \
      "Adds the text to the end of a file, with no line end.")                                                         \
    X(WriteToIniFile, Exactly(3), Action, true, 174, 1102, kNoOutputs, "INI file|[section]entry|value",                \
      "Writes an entry, written as [section]entry, into an INI file.")                                                 \
    X(WriteToRegistry, Exactly(3), Action, true, 173, 1101, kNoOutputs, "key path|value name|value",                   \
      "Writes a text value into the registry, creating the key when it is missing.")                                   \
    X(ResponseOk, Unchecked(), Condition, false, 0, 0, kNoOutputs, "",                                                 \
      "TRUE when the last message or input box was closed with OK.")                                                   \
    X(ResponseCancel, Unchecked(), Condition, false, 0, 0, kNoOutputs, "",                                             \
      "TRUE when the last message or input box was closed with Cancel.")
