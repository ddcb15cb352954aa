#pragma once

#include "WizardEntry.h"

// The Command Wizard's layout of every command it offers, one row per
// command in the order of the command list (CommandList.h), keyed by the
// same names:
//   quoted    the parameters the built line writes in double quotes
//   fields    up to three parameter fields: label, wide, Browse button,
//             optional; a command with none shows no field
// What a command does, its help and its argument kinds stay in the command
// list; this table holds only how the wizard asks for the arguments. A
// field's Browse button follows from its argument's kind (BrowseForArgument)
// unless the row says otherwise with Via: a kind of file, a new folder, the
// system lookup, or none at all. A field whose argument is a variable the
// command writes gets "%" put in front of a bare letter, and an ON/OFF
// choice is written in capitals, as the command list says what each
// argument is. For is the one command the wizard does
// not offer; Comment and Label are wizard entries of their own (see
// WizardEntry.cpp).
// clang-format off
#define ORDWELL_WIZARD_COMMANDS(X)                                                                                     \
    X(ActivateWindow, kQuote123, Field("Window title:"))                                                               \
    X(Beep, kQuote123)                                                                                                 \
    X(CloseFile, kQuote23, Field("Buffer ID:"))                                                                        \
    X(CloseWindow, kQuote123, Field("Window title:"))                                                                  \
    X(CopyFile, kQuote123, Field("Source file:"), Field("Dest file:"))                                                 \
    X(CreateDirectory, kQuote123, Field("Directory name:").Via(Browse::FolderForNew))                                  \
    X(DdeCommand, kQuoteNone, Field("Application:"), Field("Topic:"), Field("Command:"))                               \
    X(DdeScript, kQuoteNone, Field("Application:"), Field("Topic:"), Field("Script:").Via(Browse::TextFile))           \
    X(Decrement, kQuote23, Field("Variable:"))                                                                         \
    X(Delay, kQuote23, Field("Delay in milliseconds:"))                                                                \
    X(DeleteFile, kQuote123, Field("File name:"))                                                                      \
    X(DoNothing, kQuote23)                                                                                             \
    X(Dump, kQuote123)                                                                                                 \
    X(ExitMacro, kQuote123)                                                                                            \
    X(FileExist, kQuote123, Field("File name including wildcards:"))                                                   \
    X(FileOlderThan, kQuote13, Field("File:"), Field("Seconds:"))                                                      \
    X(FindFile, kQuoteNone, Field("File name:").Via(Browse::None), Field("Path: (or PATH)"),                           \
      Field("Answer variable: (Optional)").Optional())                                                                 \
    X(FindWindow, kQuote123, Field("Window title:"))                                                                   \
    X(GetDate, kQuote23, Field("Variable:"))                                                                           \
    X(GetDateTime, kQuote23, Field("Variable:"), Field("Format String:"))                                              \
    X(GetClipBoard, kQuote23, Field("Variable:"))                                                                      \
    X(GetFileSize, kQuote123, Field("File:"), Field("Variable:"))                                                      \
    X(GetFromIniFile, kQuote123, Field("File:").Via(Browse::IniFile), Field("[Section]Item:"), Field("Variable:"))     \
    X(GetFromRegistry, kQuote123, Field("HIVE\\KEY:"), Field("Item"), Field("Variable:"))                              \
    X(GetSystem, kQuote23, Field("Variable:"), Field("Resource description:").Via(Browse::SystemValueOrName))          \
    X(GetTime, kQuote23, Field("Variable:"))                                                                           \
    X(GoTo, kQuote123, Field("Label:"))                                                                                \
    X(If, kQuoteNone, Field("Logical test:"), Field("Command if TRUE:"),                                               \
      Field("Command if FALSE:(Optional)").Optional())                                                                 \
    X(IfEquals, kQuoteNone, Field("A value:").Via(Browse::SystemValueOrName), Field("B value:"),                       \
      Field("Command if TRUE"))                                                                                        \
    X(IfLessThan, kQuoteNone, Field("A value:").Via(Browse::SystemValue), Field("B value:"),                           \
      Field("Command if TRUE"))                                                                                        \
    X(IfMoreThan, kQuoteNone, Field("A value:").Via(Browse::SystemValue), Field("B value:"),                           \
      Field("Command if TRUE"))                                                                                        \
    X(IsDateAfter, kQuote123, Field("Date A:"), Field("Date B:"))                                                      \
    X(IsDateBefore, kQuote123, Field("Date A:"), Field("Date B:"))                                                     \
    X(IsDateBetween, kQuote123, Field("Date A:"), Field("Date B:"), Field("Date C:"))                                  \
    X(IsDateEqual, kQuote123, Field("Date A:"), Field("Date B:"))                                                      \
    X(IsTimeAfter, kQuote123, Field("Time A:"), Field("Time B:"))                                                      \
    X(IsTimeBefore, kQuote123, Field("Time A:"), Field("Time B:"))                                                     \
    X(IsTimeBetween, kQuote123, Field("Time A:"), Field("Time B:"), Field("Time C:"))                                  \
    X(IsTimeEqual, kQuote123, Field("Time A:"), Field("Time B:"))                                                      \
    X(Increment, kQuote23, Field("Variable:"))                                                                         \
    X(InputBox, kQuote13, Field("Input box prompt text:").Wide(), Field("Variable name: (Optional)"))                  \
    X(IsFileLocked, kQuote123, Field("File name:"))                                                                    \
    X(LogError, kQuote123, Field("Text to write to error log:").Wide())                                                \
    X(LogEvent, kQuote123, Field("Text to write to system event log:").Wide())                                         \
    X(Logout, kQuote123)                                                                                               \
    X(LogSystem, kQuote13, Field("File name:"),                                                                        \
      Field("Resource description:").Via(Browse::SystemValueOrName))                                                   \
    X(LogToFile, kQuote123, Field("File name:"), Field("Text:"))                                                       \
    X(MinimizeWindow, kQuote123, Field("Window title: (Optional)").Optional())                                         \
    X(MaximizeWindow, kQuote123, Field("Window title: (Optional)").Optional())                                         \
    X(MessageBox, kQuote123, Field("Message text:").Wide())                                                            \
    X(MessageBoxOkCancel, kQuote123, Field("Message text:").Wide())                                                    \
    X(MouseClickScreen, kQuote3, Field("X Position:"), Field("Y Position:"))                                           \
    X(MouseDblClickScreen, kQuote3, Field("X Position:"), Field("Y Position:"))                                        \
    X(MoveFile, kQuote123, Field("Source file:"), Field("Dest file:"))                                                 \
    X(NormalizeWindow, kQuote123, Field("Window title: (Optional)").Optional())                                        \
    X(OnError, kQuote123, Field("Label:"))                                                                             \
    X(OpenFile, kQuote123, Field("Buffer ID:"), Field("File name:"))                                                   \
    X(PlaySound, kQuote123, Field("Sound file name:").Via(Browse::SoundFile))                                          \
    X(Print, kQuote13, Field("File:"), RunStyleField())                                                                \
    X(PowerOff, kQuote123)                                                                                             \
    X(PutVar, kQuote23, Field("Variable:"), Field("Value:"))                                                           \
    X(QuitProgram, kQuote123, Field("Window title:"))                                                                  \
    X(ReadLine, kQuote23, Field("Buffer ID:"), Field("Variable:"))                                                     \
    X(RebootSystem, kQuote123)                                                                                         \
    X(RemoveDirectory, kQuote123, Field("Directory name:"))                                                            \
    X(Repeat, kQuote3, Field("Command to repeat:"), Field("Number of times to repeat:"))                               \
    X(RunDOSCommand, kQuote123, Field("DOS command:"))                                                                 \
    X(RunMacro, kQuote123, Field("Macro file:").Via(Browse::MacroFile))                                                \
    X(RunProgram, kQuote13, Field("Program name:").Via(Browse::ProgramFile), RunStyleField())                          \
    X(SendEnvironment, kQuote123, Field("Format string:"))                                                             \
    X(SendInput, kQuote123)                                                                                            \
    X(SendInputToWindow, kQuote123, Field("Window title:"))                                                            \
    X(SendKeys, kQuote123, Field("Keystrokes to send:").Wide())                                                        \
    X(SendKeysFromFile, kQuote123, Field("File:"))                                                                     \
    X(SendKeysToWindow, kQuote123, Field("Window title:"), Field("Keystrokes to send:").Wide())                        \
    X(SendNow, kQuote123, Field("Format string:"))                                                                     \
    X(SetCapsLock, kQuote23, Field("Set: ON or OFF:"))                                                                 \
    X(SetCaption, kQuote123, Field("Window title:"))                                                                   \
    X(SetDirectory, kQuote123, Field("Directory:"))                                                                    \
    X(ShutdownSystem, kQuote123)                                                                                       \
    X(WaitForProgram, kQuote23, Field("Milliseconds:(Optional)").Optional())                                           \
    X(While, kQuote3, Field("Logical test:"), Field("Command while TRUE:"))                                            \
    X(WindowActive, kQuote123, Field("Window title:"))                                                                 \
    X(WriteLineToFile, kQuote123, Field("File name:"), Field("Text to append to file:"))                               \
    X(WriteToFile, kQuote123, Field("File name:"), Field("Text to write to file:"))                                    \
    X(WriteToIniFile, kQuote123, Field("File:").Via(Browse::IniFile), Field("[Section]Item:"), Field("Value:"))        \
    X(WriteToRegistry, kQuote123, Field("HIVE\\KEY\\KEY...:"), Field("Item"), Field("Value:"))                         \
    X(ResponseOk, kQuote123)                                                                                           \
    X(ResponseCancel, kQuote123)
// clang-format on
