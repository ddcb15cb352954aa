#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "engine/CommandCatalogue.h"

namespace ordwell {

// What a Browse button beside a wizard field offers.
enum class Browse : std::uint8_t {
    ByArgument, // (in the wizard's table) what the argument's kind offers
    None,
    Window,            // the window picker: a window's title
    Folder,            // the folder browser
    FolderForNew,      // the folder browser; a "/" is appended for the new name
    MacroFile,         // a file dialog for macro files
    ProgramFile,       // a file dialog for programs
    SoundFile,         // a file dialog for sound files
    IniFile,           // a file dialog for INI files
    TextFile,          // a file dialog for text files
    LogFile,           // a file dialog for log files
    AnyFile,           // a file dialog for any file
    SystemValue,       // the system lookup: the resource names with numbers
    SystemValueOrName, // the system lookup: all resource names
    Wizard,            // a Command Wizard of its own: a command line
};

// One parameter field of the wizard: shown when it has a label.
struct WizardField {
    std::string_view label;
    bool wide = false; // the field also takes the Browse button's place
    Browse browse = Browse::ByArgument;
    bool optional = false; // OK does not wait for it
    bool runStyle = false; // a list of the run styles instead of a text field

    constexpr bool Shown() const { return !label.empty(); }
    constexpr bool Required() const { return Shown() && !optional; }
    constexpr WizardField Wide() const {
        WizardField f = *this;
        f.wide = true;
        return f;
    }
    constexpr WizardField Via(Browse kind) const {
        WizardField f = *this;
        f.browse = kind;
        return f;
    }
    constexpr WizardField Optional() const {
        WizardField f = *this;
        f.optional = true;
        return f;
    }
};

// What a Browse button offers for an argument of this kind, where the
// wizard's table says nothing else: the window picker for a window title, a
// file dialog for any file, the folder browser for a directory, a Command
// Wizard of its own for a command line; nothing for the other kinds.
constexpr Browse BrowseForArgument(ArgKind kind) {
    switch (kind) {
    case ArgKind::WindowTitle:
        return Browse::Window;
    case ArgKind::File:
        return Browse::AnyFile;
    case ArgKind::Directory:
        return Browse::Folder;
    case ArgKind::Command:
        return Browse::Wizard;
    default:
        return Browse::None;
    }
}

constexpr WizardField Field(std::string_view label) {
    return WizardField{.label = label};
}
// The run style of RunProgram and Print: a list, never required.
constexpr WizardField RunStyleField() {
    return WizardField{.label = "Run style:", .browse = Browse::None, .optional = true, .runStyle = true};
}

// Which parameters the built line writes in double quotes (a variable
// reference such as %A never is), one bit per parameter.
enum QuoteSet : std::uint8_t {
    kQuoteNone = 0,
    kQuote3 = 0b100,
    kQuote13 = 0b101,
    kQuote23 = 0b110,
    kQuote123 = 0b111,
};

// What an entry of the wizard's list makes: a command line, a comment or a
// label.
enum class WizardLineKind : std::uint8_t { Command, Comment, Label };

// One entry of the wizard's list of commands.
struct WizardEntry {
    std::string_view name;
    WizardLineKind kind = WizardLineKind::Command;
    CommandId command{}; // for kind Command
    QuoteSet quoted = kQuote123;
    std::array<WizardField, 3> fields{}; // with their Browse kinds resolved: never ByArgument

    bool Quoted(int n) const { return ((quoted >> (n - 1)) & 1) != 0; }
    // The help shown for the entry.
    std::string_view Help() const;
};

// The entries, sorted by name without regard to letter case, as the wizard's
// list shows them.
std::span<const WizardEntry* const> WizardEntries();
// The entry of exactly this name, or null.
const WizardEntry* FindWizardEntry(std::string_view name);
// The first entry, in the list's order, whose name begins with the text,
// without regard to letter case (so "sendkeys" finds SendKeys before
// SendKeysFromFile); null when none does or the text is empty.
const WizardEntry* FindWizardEntryByPrefix(std::string_view prefix);

// The run styles in the order the wizard lists them.
inline constexpr std::array<std::string_view, 4> kWizardRunStyles = {"Normal", "Maximized", "Minimized", "Hidden"};

} // namespace ordwell
