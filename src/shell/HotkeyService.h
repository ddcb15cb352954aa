#pragma once

#include <memory>
#include <string>
#include <vector>

#include "HotkeyTable.h"

namespace ordwell {

class Diagnostics;
class KeyGrabs;
class Process;
class Processes;

// The resident part of `ordwell --hotkeys`: grabs the key combination of
// every hotkey and, when one is pressed, runs its macro as `ordwell /r`
// does, in a process of its own (so that no macro's failure ends this one).
// A macro whose run from its hotkey goes on is not started a second time.
class HotkeyService {
public:
    // `program` is the ordwell executable the macros run with; a press that
    // starts nothing is reported through `diagnostics`.
    HotkeyService(KeyGrabs& grabs, Processes& processes, Diagnostics& diagnostics, std::string program);
    ~HotkeyService();
    HotkeyService(const HotkeyService&) = delete;
    HotkeyService& operator=(const HotkeyService&) = delete;

    // Gives up the grabs of the table held so far and grabs those of this
    // one. Answers, for the person who started it, one line for each hotkey
    // that cannot serve and why.
    std::vector<std::string> Load(const std::vector<Hotkey>& table);
    // The hotkeys that serve now.
    std::vector<Hotkey> Serving() const;
    // Runs the macro of the hotkey serving at `row` (of Serving()), as its
    // press does. False, and reported, when it was not started: it still
    // runs, or the program could not be started.
    bool Start(std::size_t row);
    // Gives up every grab.
    void Clear();

private:
    struct Row;
    KeyGrabs& m_grabs;
    Processes& m_processes;
    Diagnostics& m_diagnostics;
    std::string m_program;
    std::vector<std::unique_ptr<Row>> m_rows;
};

// A macro file as one word of a parameter text: in single quotes, a quote
// within written as '\''.
std::string QuotedWord(const std::string& word);

} // namespace ordwell
