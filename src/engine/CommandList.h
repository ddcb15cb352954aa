#pragma once

// Every command of the macro language, once, in the order of the command
// table. Each row names its fields:
//   count      the argument counts that pass the argument check
//   kind       Condition (a test), Action (its result tells whether it worked)
//              or Flow (flow control)
//   testable   whether the editor may run a line of it alone
//   helpString the string resource of its help text (none: no row of its own)
//   helpTopic  its help context
//   params     what each argument is (arg:: kinds), in order
//   help       the help text
//   example    a line that shows it at work (the help page's example)
// The command identifiers (CommandId::k<Name>), the catalogue, the
// dispatcher's lookup, the argument check and the editor all derive from
// this one list. ResponseOk and ResponseCancel close it: the dispatcher
// knows them, but they have no row of their own.
#define ORDWELL_COMMANDS(X)                                                                                            \
    X(ActivateWindow, .count = Exactly(1), .kind = CommandKind::Action, .testable = true, .helpString = 102,           \
      .helpTopic = 1007, .params = {arg::WindowTitle("window title pattern")},                                         \
      .help = "Brings the first window whose title matches the pattern to the front and gives it the keyboard focus.", \
      .example = "ActivateWindow(\"Untitled - Text Editor\")")                                                         \
    X(Beep, .count = Exactly(0), .kind = CommandKind::Action, .testable = true, .helpString = 123, .helpTopic = 1025,  \
      .help = "Sounds the warning beep.", .example = "Beep()")                                                         \
    X(CloseFile, .count = Exactly(1), .kind = CommandKind::Action, .testable = true, .helpString = 181,                \
      .helpTopic = 1138, .params = {arg::Number("buffer identifier")},                                                 \
      .help = "Closes the text file bound to buffer 0, 1 or 2 and frees the buffer.", .example = "CloseFile(1)")       \
    X(CloseWindow, .count = Exactly(1), .kind = CommandKind::Action, .testable = true, .helpString = 118,              \
      .helpTopic = 1009, .params = {arg::WindowTitle("window title pattern")},                                         \
      .help = "Asks the first window whose title matches the pattern to close.",                                       \
      .example = "CloseWindow(\"Calculator\")")                                                                        \
    X(CopyFile, .count = Exactly(2), .kind = CommandKind::Action, .testable = true, .helpString = 160,                 \
      .helpTopic = 1090, .params = {arg::File("source file"), arg::File("destination file")},                          \
      .help = "Copies a file. An existing destination is never overwritten; the line then returns FALSE.",             \
      .example = "CopyFile(\"/home/ann/report.txt\",\"/home/ann/backup/report.txt\")")                                 \
    X(CreateDirectory, .count = Exactly(1), .kind = CommandKind::Action, .testable = true, .helpString = 161,          \
      .helpTopic = 1091, .params = {arg::Directory("directory path")},                                                 \
      .help = "Creates one directory. The directory above it must already exist.",                                     \
      .example = "CreateDirectory(\"/home/ann/backup\")")                                                              \
    X(DdeCommand, .count = Exactly(3), .kind = CommandKind::Action, .testable = true, .helpString = 146,               \
      .helpTopic = 1055, .params = {arg::Text("application"), arg::Text("topic"), arg::Text("command")},               \
      .help = "Sends one execute string to a program that serves the application and topic.",                          \
      .example = "DdeCommand(Editor,Notes,[Save])")                                                                    \
    X(DdeScript, .count = Exactly(3), .kind = CommandKind::Action, .testable = true, .helpString = 147,                \
      .helpTopic = 1056, .params = {arg::Text("application"), arg::Text("topic"), arg::File("script file")},           \
      .help = "Sends every line of a script file as an execute string to a program that serves the application and "   \
              "topic.",                                                                                                \
      .example = "DdeScript(Editor,Notes,/home/ann/commands.txt)")                                                     \
    X(Decrement, .count = Exactly(1), .kind = CommandKind::Action, .testable = true, .helpString = 177,                \
      .helpTopic = 1110, .params = {arg::Variable("variable")},                                                        \
      .help = "Subtracts one from the number held in a variable.", .example = "Decrement(%A)")                         \
    X(Delay, .count = Exactly(1), .kind = CommandKind::Action, .testable = true, .helpString = 106, .helpTopic = 1018, \
      .params = {arg::Number("milliseconds")},                                                                         \
      .help = "Pauses the macro for the given number of milliseconds. Stopping the macro ends the pause at once.",     \
      .example = "Delay(500)")                                                                                         \
    X(DeleteFile, .count = Exactly(1), .kind = CommandKind::Action, .testable = true, .helpString = 166,               \
      .helpTopic = 1093, .params = {arg::File("file")}, .help = "Deletes a file.",                                     \
      .example = "DeleteFile(\"/tmp/old.log\")")                                                                       \
    X(DoNothing, .count = Unchecked(), .kind = CommandKind::Action, .testable = true, .helpString = 182,               \
      .helpTopic = 1140,                                                                                               \
      .help = "Does nothing and returns TRUE. Useful as a branch of If that should have no effect.",                   \
      .example = "If(FileExist(\"/tmp/stop\"),ExitMacro(),DoNothing())")                                               \
    X(Dump, .count = Unchecked(), .kind = CommandKind::Action, .testable = true, .helpString = 168, .helpTopic = 1095, \
      .help = "Shows the contents of all 26 variables, %A to %Z, in a message box.", .example = "Dump()")              \
    X(ExitMacro, .count = Unchecked(), .kind = CommandKind::Flow, .testable = false, .helpString = 107,                \
      .helpTopic = 1036, .help = "Ends the macro after this line.", .example = "If(ResponseCancel(),ExitMacro())")     \
    X(FileExist, .count = Exactly(1), .kind = CommandKind::Condition, .testable = false, .helpString = 131,            \
      .helpTopic = 1016, .params = {arg::File("file name or wildcard pattern")},                                       \
      .help = "TRUE when a file or directory matches the name. * and ? may stand in the last part of the path.",       \
      .example = "If(FileExist(\"/tmp/*.log\"),Beep())")                                                               \
    X(FileOlderThan, .count = Exactly(2), .kind = CommandKind::Condition, .testable = true, .helpString = 155,         \
      .helpTopic = 1078, .params = {arg::File("file"), arg::Number("seconds")},                                        \
      .help = "TRUE when the file was last changed more than the given number of seconds ago.",                        \
      .example = "If(FileOlderThan(\"/tmp/report.txt\",3600),DeleteFile(\"/tmp/report.txt\"))")                        \
    X(FindFile, .count = AtLeast(2), .kind = CommandKind::Condition, .testable = true, .helpString = 167,              \
      .helpTopic = 1094,                                                                                               \
      .params = {arg::File("file name"), arg::Directory("path or PATH"), arg::Variable("output variable")},            \
      .help = "Searches for a file in a list of directories, or along the program search path with PATH. TRUE when "   \
              "found; the full path goes into the variable when one is given.",                                        \
      .example = "FindFile(\"gedit\",\"PATH\",%A)")                                                                    \
    X(FindWindow, .count = Exactly(1), .kind = CommandKind::Condition, .testable = true, .helpString = 133,            \
      .helpTopic = 1012, .params = {arg::WindowTitle("window title pattern")},                                         \
      .help = "TRUE when a window whose title matches the pattern exists.",                                            \
      .example = "If(FindWindow(\"Calculator\"),ActivateWindow(\"Calculator\"))")                                      \
    X(For, .count = Exactly(3), .kind = CommandKind::Flow, .testable = false, .helpString = 149, .helpTopic = 1060,    \
      .params = {arg::Number("start"), arg::Number("end"), arg::Command("command")},                                   \
      .help = "Runs the command once for every number from start up to, but not including, end.",                      \
      .example = "For(1,4,Beep())")                                                                                    \
    X(GetDate, .count = Exactly(1), .kind = CommandKind::Action, .testable = true, .helpString = 186,                  \
      .helpTopic = 1114, .params = {arg::Variable("output variable")},                                                 \
      .help = "Puts today's date, as MM/DD/YY, into a variable.", .example = "GetDate(%D)")                            \
    X(GetDateTime, .count = Exactly(2), .kind = CommandKind::Action, .testable = true, .helpString = 196,              \
      .helpTopic = 1116, .params = {arg::Variable("output variable"), arg::Text("format")},                            \
      .help = "Puts the current date and time into a variable, laid out by the format (%Y year, %m month, %d day, %H " \
              "hour, %M minute, %S second, %A weekday and more).",                                                     \
      .example = "GetDateTime(%D,\"%Y-%m-%d\")")                                                                       \
    X(GetClipBoard, .count = Exactly(1), .kind = CommandKind::Action, .testable = true, .helpString = 170,             \
      .helpTopic = 1097, .params = {arg::Variable("output variable")},                                                 \
      .help = "Puts the text on the clipboard into a variable.", .example = "GetClipBoard(%C)")                        \
    X(GetFileSize, .count = Exactly(2), .kind = CommandKind::Action, .testable = true, .helpString = 171,              \
      .helpTopic = 1098, .params = {arg::File("file"), arg::Variable("output variable")},                              \
      .help = "Puts the size of a file in bytes into a variable.",                                                     \
      .example = "GetFileSize(\"/home/ann/report.txt\",%S)")                                                           \
    X(GetFromIniFile, .count = Exactly(3), .kind = CommandKind::Action, .testable = true, .helpString = 175,           \
      .helpTopic = 1100,                                                                                               \
      .params = {arg::File("INI file"), arg::Text("[section]entry"), arg::Variable("output variable")},                \
      .help = "Reads an entry of an INI file, written as [section]entry, into a variable.",                            \
      .example = "GetFromIniFile(\"/home/ann/app.ini\",\"[Window]Width\",%W)")                                         \
    X(GetFromRegistry, .count = Exactly(3), .kind = CommandKind::Action, .testable = true, .helpString = 172,          \
      .helpTopic = 1099, .params = {arg::Text("key path"), arg::Text("value name"), arg::Variable("output variable")}, \
      .help = "Reads a registry value into a variable. The key path starts with its hive, such as HKEY_CURRENT_USER.", \
      .example = "GetFromRegistry(\"HKEY_CURRENT_USER\\Software\\Halvane\\Ordwell\\System\",\"ErrorLog\",%E)")         \
    X(GetSystem, .count = Exactly(2), .kind = CommandKind::Action, .testable = true, .helpString = 169,                \
      .helpTopic = 1096, .params = {arg::Variable("output variable"), arg::Text("resource name")},                     \
      .help = "Puts a system value, such as MEMORY_AVAILPHYSICAL, DISK_C_FREE or USER_NAME, into a variable.",         \
      .example = "GetSystem(%M,MEMORY_AVAILPHYSICAL)")                                                                 \
    X(GetTime, .count = Exactly(1), .kind = CommandKind::Action, .testable = true, .helpString = 187,                  \
      .helpTopic = 1115, .params = {arg::Variable("output variable")},                                                 \
      .help = "Puts the current time, as HH:MM:SS, into a variable.", .example = "GetTime(%T)")                        \
    X(GoTo, .count = Exactly(1), .kind = CommandKind::Flow, .testable = true, .helpString = 114, .helpTopic = 1058,    \
      .params = {arg::Label("label")},                                                                                 \
      .help = "Goes on with the line after the label. Fails when the macro has no such label.",                        \
      .example = "GoTo(Again)")                                                                                        \
    X(If, .count = OneOf(2, 3), .kind = CommandKind::Flow, .testable = true, .helpString = 145, .helpTopic = 1032,     \
      .params = {arg::Command("test command"), arg::Command("command if TRUE"), arg::Command("command if FALSE")},     \
      .help = "Runs the test command, then the second command when it returned TRUE, or the third, if given, when it " \
              "returned FALSE.",                                                                                       \
      .example = "If(FileExist(\"/tmp/ready\"),Beep(),MessageBox(\"Not ready yet\"))")                                 \
    X(IfEquals, .count = Exactly(3), .kind = CommandKind::Flow, .testable = true, .helpString = 229,                   \
      .helpTopic = 1104, .params = {arg::Text("A value"), arg::Text("B value"), arg::Command("command if TRUE")},      \
      .help = "Runs the command when A equals B. System values and numbers compare as numbers, other texts letter "    \
              "for letter.",                                                                                           \
      .example = "IfEquals(%A,10,ExitMacro())")                                                                        \
    X(IfLessThan, .count = Exactly(3), .kind = CommandKind::Flow, .testable = true, .helpString = 150,                 \
      .helpTopic = 1054, .params = {arg::Text("A value"), arg::Text("B value"), arg::Command("command if TRUE")},      \
      .help = "Runs the command when A is less than B. Values compare as numbers; system values may be named.",        \
      .example = "IfLessThan(DISK_C_FREE,1000000,MessageBox(\"The disk is nearly full\"))")                            \
    X(IfMoreThan, .count = Exactly(3), .kind = CommandKind::Flow, .testable = true, .helpString = 151,                 \
      .helpTopic = 1053, .params = {arg::Text("A value"), arg::Text("B value"), arg::Command("command if TRUE")},      \
      .help = "Runs the command when A is more than B. Values compare as numbers; system values may be named.",        \
      .example = "IfMoreThan(%A,3,GoTo(Done))")                                                                        \
    X(IsDateAfter, .count = Exactly(2), .kind = CommandKind::Condition, .testable = false, .helpString = 189,          \
      .helpTopic = 1121, .params = {arg::Text("date A"), arg::Text("date B")},                                         \
      .help = "TRUE when date A, as MM/DD/YY or MM/DD/YYYY, is later than date B. A short date means now.",            \
      .example = "If(IsDateAfter(%D,\"12/24/26\"),MessageBox(\"Christmas is over\"))")                                 \
    X(IsDateBefore, .count = Exactly(2), .kind = CommandKind::Condition, .testable = false, .helpString = 188,         \
      .helpTopic = 1120, .params = {arg::Text("date A"), arg::Text("date B")},                                         \
      .help = "TRUE when date A, as MM/DD/YY or MM/DD/YYYY, is earlier than date B. A short date means now.",          \
      .example = "If(IsDateBefore(%D,\"12/24/26\"),MessageBox(\"Not yet\"))")                                          \
    X(IsDateBetween, .count = Exactly(3), .kind = CommandKind::Condition, .testable = false, .helpString = 191,        \
      .helpTopic = 1123, .params = {arg::Text("date A"), arg::Text("date B"), arg::Text("date C")},                    \
      .help = "TRUE when date A is later than date B and earlier than date C.",                                        \
      .example = "If(IsDateBetween(%D,\"11/30/26\",\"01/01/27\"),MessageBox(\"December\"))")                           \
    X(IsDateEqual, .count = Exactly(2), .kind = CommandKind::Condition, .testable = false, .helpString = 190,          \
      .helpTopic = 1122, .params = {arg::Text("date A"), arg::Text("date B")},                                         \
      .help = "TRUE when date A and date B are the same day.",                                                         \
      .example = "If(IsDateEqual(%D,\"01/01/27\"),MessageBox(\"Happy new year\"))")                                    \
    X(IsTimeAfter, .count = Exactly(2), .kind = CommandKind::Condition, .testable = false, .helpString = 193,          \
      .helpTopic = 1125, .params = {arg::Text("time A"), arg::Text("time B")},                                         \
      .help = "TRUE when time A, as HH:MM:SS, is later than time B. A short time means now.",                          \
      .example = "If(IsTimeAfter(%T,\"17:00:00\"),ExitMacro())")                                                       \
    X(IsTimeBefore, .count = Exactly(2), .kind = CommandKind::Condition, .testable = false, .helpString = 192,         \
      .helpTopic = 1124, .params = {arg::Text("time A"), arg::Text("time B")},                                         \
      .help = "TRUE when time A, as HH:MM:SS, is earlier than time B. A short time means now.",                        \
      .example = "If(IsTimeBefore(%T,\"08:00:00\"),Delay(60000))")                                                     \
    X(IsTimeBetween, .count = Exactly(3), .kind = CommandKind::Condition, .testable = false, .helpString = 195,        \
      .helpTopic = 1127, .params = {arg::Text("time A"), arg::Text("time B"), arg::Text("time C")},                    \
      .help = "TRUE when time A is later than time B and earlier than time C.",                                        \
      .example = "If(IsTimeBetween(%T,\"12:00:00\",\"13:00:00\"),MessageBox(\"Lunch time\"))")                         \
    X(IsTimeEqual, .count = Exactly(2), .kind = CommandKind::Condition, .testable = false, .helpString = 194,          \
      .helpTopic = 1126, .params = {arg::Text("time A"), arg::Text("time B")},                                         \
      .help = "TRUE when time A and time B are the same second.",                                                      \
      .example = "If(IsTimeEqual(%T,\"12:00:00\"),Beep())")                                                            \
    X(Increment, .count = Exactly(1), .kind = CommandKind::Action, .testable = true, .helpString = 176,                \
      .helpTopic = 1109, .params = {arg::Variable("variable")}, .help = "Adds one to the number held in a variable.",  \
      .example = "Increment(%A)")                                                                                      \
    X(InputBox, .count = OneOf(1, 2), .kind = CommandKind::Action, .testable = true, .helpString = 108,                \
      .helpTopic = 1030, .params = {arg::Text("prompt text"), arg::Variable("output variable")},                       \
      .help = "Asks for a text. The entry goes into the variable, if given, and is kept for SendInput.",               \
      .example = "InputBox(\"Your name?\",%N)")                                                                        \
    X(IsFileLocked, .count = Exactly(1), .kind = CommandKind::Condition, .testable = true, .helpString = 178,          \
      .helpTopic = 1111, .params = {arg::File("file")},                                                                \
      .help = "TRUE when the file cannot be opened for writing: missing, read-only or in use.",                        \
      .example = "While(IsFileLocked(\"/home/ann/report.odt\"),Delay(1000))")                                          \
    X(LogError, .count = Exactly(1), .kind = CommandKind::Action, .testable = true, .helpString = 117,                 \
      .helpTopic = 1015, .params = {arg::Text("text")},                                                                \
      .help = "Writes a line with the date, the time and the text to the error log.",                                  \
      .example = "LogError(\"The backup failed\")")                                                                    \
    X(LogEvent, .count = Exactly(1), .kind = CommandKind::Action, .testable = true, .helpString = 157,                 \
      .helpTopic = 1108, .params = {arg::Text("text")},                                                                \
      .help = "Writes a line with the date, the time and the text to the event log.",                                  \
      .example = "LogEvent(\"Backup started\")")                                                                       \
    X(Logout, .count = Unchecked(), .kind = CommandKind::Action, .testable = true, .helpString = 109,                  \
      .helpTopic = 1022, .help = "Logs the user off.", .example = "Logout()")                                          \
    X(LogSystem, .count = Exactly(2), .kind = CommandKind::Action, .testable = true, .helpString = 152,                \
      .helpTopic = 1071, .params = {arg::File("log file"), arg::Text("resource name")},                                \
      .help = "Writes a system value, with its name, the date and the time, as a line to a log file.",                 \
      .example = "LogSystem(\"/tmp/memory.log\",MEMORY_AVAILPHYSICAL)")                                                \
    X(LogToFile, .count = Exactly(2), .kind = CommandKind::Action, .testable = true, .helpString = 110,                \
      .helpTopic = 1033, .params = {arg::File("file"), arg::Text("text")},                                             \
      .help = "Writes a line with the date, the time and the text to a file.",                                         \
      .example = "LogToFile(\"/tmp/macro.log\",\"Round done\")")                                                       \
    X(MinimizeWindow, .count = OneOf(0, 1), .kind = CommandKind::Action, .testable = true, .helpString = 129,          \
      .helpTopic = 1064, .params = {arg::WindowTitle("window title pattern")},                                         \
      .help = "Minimizes the window whose title matches the pattern, or the active window.",                           \
      .example = "MinimizeWindow(\"Calculator\")")                                                                     \
    X(MaximizeWindow, .count = OneOf(0, 1), .kind = CommandKind::Action, .testable = true, .helpString = 228,          \
      .helpTopic = 1065, .params = {arg::WindowTitle("window title pattern")},                                         \
      .help = "Maximizes the window whose title matches the pattern, or the active window.",                           \
      .example = "MaximizeWindow(\"Untitled - Text Editor\")")                                                         \
    X(MessageBox, .count = Exactly(1), .kind = CommandKind::Action, .testable = true, .helpString = 104,               \
      .helpTopic = 1076, .params = {arg::Text("message text")},                                                        \
      .help = "Shows a message and waits until it is closed with OK.",                                                 \
      .example = "MessageBox(\"The backup is done\")")                                                                 \
    X(MessageBoxOkCancel, .count = Exactly(1), .kind = CommandKind::Action, .testable = true, .helpString = 105,       \
      .helpTopic = 1010, .params = {arg::Text("message text")},                                                        \
      .help = "Shows a message with OK and Cancel. Test the answer with ResponseOk or ResponseCancel.",                \
      .example = "MessageBoxOkCancel(\"Start the backup?\")")                                                          \
    X(MouseClickScreen, .count = Exactly(2), .kind = CommandKind::Action, .testable = true, .helpString = 184,         \
      .helpTopic = 1118, .params = {arg::Number("x"), arg::Number("y")},                                               \
      .help = "Clicks the left mouse button at a point of the screen.", .example = "MouseClickScreen(100,200)")        \
    X(MouseDblClickScreen, .count = Exactly(2), .kind = CommandKind::Action, .testable = true, .helpString = 185,      \
      .helpTopic = 1119, .params = {arg::Number("x"), arg::Number("y")},                                               \
      .help = "Double-clicks the left mouse button at a point of the screen.",                                         \
      .example = "MouseDblClickScreen(100,200)")                                                                       \
    X(MoveFile, .count = Exactly(2), .kind = CommandKind::Action, .testable = true, .helpString = 159,                 \
      .helpTopic = 1089, .params = {arg::File("source file"), arg::File("destination file")},                          \
      .help = "Moves or renames a file, also to another drive. An existing destination is never overwritten.",         \
      .example = "MoveFile(\"/tmp/report.txt\",\"/home/ann/report.txt\")")                                             \
    X(NormalizeWindow, .count = OneOf(0, 1), .kind = CommandKind::Action, .testable = true, .helpString = 130,         \
      .helpTopic = 1063, .params = {arg::WindowTitle("window title pattern")},                                         \
      .help = "Restores the window whose title matches the pattern, or the active window, to its normal size.",        \
      .example = "NormalizeWindow(\"Calculator\")")                                                                    \
    X(OnError, .count = Exactly(1), .kind = CommandKind::Flow, .testable = false, .helpString = 136,                   \
      .helpTopic = 1066, .params = {arg::Label("label")},                                                              \
      .help = "From now on a failing line goes on at the label instead of ending the macro. An empty label turns "     \
              "this off.",                                                                                             \
      .example = "OnError(Failed)")                                                                                    \
    X(OpenFile, .count = Exactly(2), .kind = CommandKind::Action, .testable = true, .helpString = 179,                 \
      .helpTopic = 1137, .params = {arg::Number("buffer identifier"), arg::File("file")},                              \
      .help = "Opens a text file for ReadLine in buffer 0, 1 or 2.", .example = "OpenFile(1,\"/home/ann/names.txt\")") \
    X(PlaySound, .count = Exactly(1), .kind = CommandKind::Action, .testable = true, .helpString = 124,                \
      .helpTopic = 1026, .params = {arg::File("sound file")},                                                          \
      .help = "Plays a sound file and waits until it has ended.",                                                      \
      .example = "PlaySound(\"/usr/share/sounds/alsa/Front_Center.wav\")")                                             \
    X(Print, .count = Unchecked(), .kind = CommandKind::Action, .testable = true, .helpString = 230,                   \
      .helpTopic = 1103, .params = {arg::File("document"), arg::Choice("run style", kRunStyles)},                      \
      .help = "Prints a document through the program that prints documents of its kind.",                              \
      .example = "Print(\"/home/ann/report.pdf\")")                                                                    \
    X(PowerOff, .count = Unchecked(), .kind = CommandKind::Action, .testable = false, .helpString = 125,               \
      .helpTopic = 1070, .help = "Shuts the system down and turns it off.", .example = "PowerOff()")                   \
    X(PutVar, .count = Exactly(2), .kind = CommandKind::Action, .testable = true, .helpString = 158,                   \
      .helpTopic = 1088, .params = {arg::Variable("variable"), arg::Text("value")},                                    \
      .help = "Puts a value into a variable.", .example = "PutVar(%A,\"Hello\")")                                      \
    X(QuitProgram, .count = Exactly(1), .kind = CommandKind::Action, .testable = true, .helpString = 137,              \
      .helpTopic = 1019, .params = {arg::WindowTitle("window title pattern")},                                         \
      .help = "Ends the program that owns the window whose title matches the pattern.",                                \
      .example = "QuitProgram(\"Calculator\")")                                                                        \
    X(ReadLine, .count = Exactly(2), .kind = CommandKind::Action, .testable = true, .helpString = 180,                 \
      .helpTopic = 1139, .params = {arg::Number("buffer identifier"), arg::Variable("output variable")},               \
      .help = "Reads the next line of the text file open in a buffer into a variable. FALSE at the end of the file.",  \
      .example = "While(ReadLine(1,%L),LogToFile(\"/tmp/copy.txt\",%L))")                                              \
    X(RebootSystem, .count = Unchecked(), .kind = CommandKind::Action, .testable = false, .helpString = 111,           \
      .helpTopic = 1020, .help = "Restarts the system.", .example = "RebootSystem()")                                  \
    X(RemoveDirectory, .count = Exactly(1), .kind = CommandKind::Action, .testable = true, .helpString = 165,          \
      .helpTopic = 1092, .params = {arg::Directory("directory path")}, .help = "Removes an empty directory.",          \
      .example = "RemoveDirectory(\"/home/ann/empty\")")                                                               \
    X(Repeat, .count = Exactly(2), .kind = CommandKind::Flow, .testable = false, .helpString = 122, .helpTopic = 1060, \
      .params = {arg::Command("command"), arg::Number("number of times")},                                             \
      .help = "Runs the command the given number of times, or until it returns FALSE.",                                \
      .example = "Repeat(SendKeys(\"{DOWN}\"),10)")                                                                    \
    X(RunDOSCommand, .count = Exactly(1), .kind = CommandKind::Action, .testable = true, .helpString = 154,            \
      .helpTopic = 1077, .params = {arg::Text("command text")},                                                        \
      .help = "Runs a command line through the command interpreter, so redirections and pipes work.",                  \
      .example = "RunDOSCommand(\"ls -l > /tmp/files.txt\")")                                                          \
    X(RunMacro, .count = Exactly(1), .kind = CommandKind::Flow, .testable = true, .helpString = 113,                   \
      .helpTopic = 1024, .params = {arg::File("macro file")},                                                          \
      .help = "Runs another macro file to its end, then goes on with this one.",                                       \
      .example = "RunMacro(\"/home/ann/macros/backup.ow\")")                                                           \
    X(RunProgram, .count = OneOf(1, 2), .kind = CommandKind::Action, .testable = true, .helpString = 138,              \
      .helpTopic = 1027, .params = {arg::File("command line"), arg::Choice("run style", kRunStyles)},                  \
      .help = "Starts a program, or opens a document. The run style is Normal, Minimized, Maximized or Hidden.",       \
      .example = "RunProgram(\"gnome-calculator\",Normal)")                                                            \
    X(SendEnvironment, .count = Exactly(1), .kind = CommandKind::Action, .testable = false, .helpString = 143,         \
      .helpTopic = 1068, .params = {arg::Text("text")},                                                                \
      .help = "Types the text with its environment variables, such as %PATH%, replaced by their values.",              \
      .example = "SendEnvironment(\"%HOME%~\")")                                                                       \
    X(SendInput, .count = Exactly(0), .kind = CommandKind::Action, .testable = false, .helpString = 120,               \
      .helpTopic = 1069, .help = "Types the text entered in the last input box.", .example = "SendInput()")            \
    X(SendInputToWindow, .count = Exactly(1), .kind = CommandKind::Action, .testable = false, .helpString = 121,       \
      .helpTopic = 1031, .params = {arg::WindowTitle("window title pattern")},                                         \
      .help = "Activates a window and types the text entered in the last input box into it.",                          \
      .example = "SendInputToWindow(\"Untitled - Text Editor\")")                                                      \
    X(SendKeys, .count = Exactly(1), .kind = CommandKind::Action, .testable = false, .helpString = 115,                \
      .helpTopic = 1028, .params = {arg::Keys("keys")},                                                                \
      .help = "Types keys into the active window. ~ is Enter, + Shift, ^ Ctrl, % Alt; {F1} and the like name keys.",   \
      .example = "SendKeys(\"This is a test~\")")                                                                      \
    X(SendKeysFromFile, .count = Exactly(1), .kind = CommandKind::Action, .testable = false, .helpString = 156,        \
      .helpTopic = 1084, .params = {arg::File("file")},                                                                \
      .help = "Types the keys written in a file into the active window.",                                              \
      .example = "SendKeysFromFile(\"/home/ann/letter.txt\")")                                                         \
    X(SendKeysToWindow, .count = Exactly(2), .kind = CommandKind::Action, .testable = true, .helpString = 116,         \
      .helpTopic = 1008, .params = {arg::WindowTitle("window title pattern"), arg::Keys("keys")},                      \
      .help = "Activates a window and types keys into it.",                                                            \
      .example = "SendKeysToWindow(\"Untitled - Text Editor\",\"^s\")")                                                \
    X(SendNow, .count = Exactly(1), .kind = CommandKind::Action, .testable = false, .helpString = 144,                 \
      .helpTopic = 1067, .params = {arg::Text("time format")},                                                         \
      .help = "Types the current date and time, laid out by the format.",                                              \
      .example = "SendNow(\"The current date and time is: %x %X\")")                                                   \
    X(SetCapsLock, .count = Exactly(1), .kind = CommandKind::Action, .testable = true, .helpString = 183,              \
      .helpTopic = 1141, .params = {arg::Choice("ON or OFF", kOnOff)}, .help = "Turns Caps Lock on or off.",           \
      .example = "SetCapsLock(OFF)")                                                                                   \
    X(SetCaption, .count = Exactly(1), .kind = CommandKind::Action, .testable = true, .helpString = 142,               \
      .helpTopic = 1017, .params = {arg::Text("caption text")},                                                        \
      .help = "Sets the title of the message and input boxes. An empty text brings back the usual title.",             \
      .example = "SetCaption(\"Backup\")")                                                                             \
    X(SetDirectory, .count = Exactly(1), .kind = CommandKind::Action, .testable = true, .helpString = 139,             \
      .helpTopic = 1014, .params = {arg::Directory("directory path")},                                                 \
      .help = "Makes a directory the current one, against which relative paths are found.",                            \
      .example = "SetDirectory(\"/home/ann\")")                                                                        \
    X(ShutdownSystem, .count = Unchecked(), .kind = CommandKind::Action, .testable = false, .helpString = 112,         \
      .helpTopic = 1021, .help = "Shuts the system down.", .example = "ShutdownSystem()")                              \
    X(WaitForProgram, .count = OneOf(0, 1), .kind = CommandKind::Action, .testable = true, .helpString = 153,          \
      .helpTopic = 1062, .params = {arg::Number("milliseconds")},                                                      \
      .help = "Waits until the program started last has ended, or at most the given milliseconds. FALSE when the "     \
              "time ran out.",                                                                                         \
      .example = "WaitForProgram(60000)")                                                                              \
    X(While, .count = Exactly(2), .kind = CommandKind::Flow, .testable = false, .helpString = 148, .helpTopic = 1061,  \
      .params = {arg::Command("test command"), arg::Command("command while TRUE")},                                    \
      .help = "Runs the command again and again for as long as the test command returns TRUE.",                        \
      .example = "While(FindWindow(\"Calculator\"),Delay(500))")                                                       \
    X(WindowActive, .count = Exactly(1), .kind = CommandKind::Condition, .testable = true, .helpString = 132,          \
      .helpTopic = 1013, .params = {arg::WindowTitle("exact window title")},                                           \
      .help = "TRUE when the active window has exactly this title.",                                                   \
      .example = "If(WindowActive(\"Calculator\"),SendKeys(\"2+2~\"))")                                                \
    X(WriteLineToFile, .count = Exactly(2), .kind = CommandKind::Action, .testable = true, .helpString = 126,          \
      .helpTopic = 1035, .params = {arg::File("file"), arg::Text("text")},                                             \
      .help = "Adds the text and a line end to the end of a file.",                                                    \
      .example = "WriteLineToFile(\"/tmp/names.txt\",\"Ann\")")                                                        \
    X(WriteToFile, .count = Exactly(2), .kind = CommandKind::Action, .testable = true, .helpString = 127,              \
      .helpTopic = 1034, .params = {arg::File("file"), arg::Text("text")},                                             \
      .help = "Adds the text to the end of a file, with no line end.",                                                 \
      .example = "WriteToFile(\"/tmp/names.txt\",\"Ann, \")")                                                          \
    X(WriteToIniFile, .count = Exactly(3), .kind = CommandKind::Action, .testable = true, .helpString = 174,           \
      .helpTopic = 1102, .params = {arg::File("INI file"), arg::Text("[section]entry"), arg::Text("value")},           \
      .help = "Writes an entry, written as [section]entry, into an INI file.",                                         \
      .example = "WriteToIniFile(\"/home/ann/app.ini\",\"[Window]Width\",\"800\")")                                    \
    X(WriteToRegistry, .count = Exactly(3), .kind = CommandKind::Action, .testable = true, .helpString = 173,          \
      .helpTopic = 1101, .params = {arg::Text("key path"), arg::Text("value name"), arg::Text("value")},               \
      .help = "Writes a text value into the registry, creating the key when it is missing.",                           \
      .example = "WriteToRegistry(\"HKEY_CURRENT_USER\\Software\\Halvane\\Ordwell\\System\",\"ErrorLog\",\"/tmp/"      \
                 "errors.log\")")                                                                                      \
    X(ResponseOk, .count = Unchecked(), .kind = CommandKind::Condition, .testable = false,                             \
      .help = "TRUE when the last message or input box was closed with OK.", .example = "If(ResponseOk(),Beep())")     \
    X(ResponseCancel, .count = Unchecked(), .kind = CommandKind::Condition, .testable = false,                         \
      .help = "TRUE when the last message or input box was closed with Cancel.",                                       \
      .example = "If(ResponseCancel(),ExitMacro())")
