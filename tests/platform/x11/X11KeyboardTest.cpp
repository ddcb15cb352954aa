// Typing into a window of another process on a private X server, checked by
// what the window received through its input method: exact text on the US
// and the German layout, characters the layout lacks, named keys and chords,
// what the user holds or has locked, stops, clicks and Caps Lock.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

#include "engine/MacroRunner.h"
#include "input/SendKeysText.h"
#include "platform/console/ConsoleEventPump.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11KeyGrabs.h"
#include "platform/x11/X11Keyboard.h"
#include "support/ForkedChild.h"
#include "support/PrivateDisplay.h"
#include "support/TestWindows.h"
#include "support/X11Machine.h"
#include "text/Utf8.h"
// Last: Xlib's macros (None, Status) stay out of the headers above.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace ordwell {
namespace {

using test::PrivateDisplay;
using test::TestWindows;
using test::X11Machine;

// The text as a SendKeys text that types it: the characters the language
// reads as syntax go in braces.
std::string Escaped(const std::string& text) {
    std::string keys;
    for (const char c : text) {
        if (std::string_view("+^%~(){}").find(c) != std::string_view::npos) {
            keys += std::string("{") + c + "}";
        } else {
            keys += c;
        }
    }
    return keys;
}

// Every printable ASCII character, over and over, `length` characters.
std::string PrintableAscii(std::size_t length) {
    std::string text;
    while (text.size() < length) {
        text += static_cast<char>(0x20 + text.size() % 95);
    }
    return text;
}

const std::string kNonUs = "é ü ß € É Ü ñ ő Ж → Straße Über Ñandú ÉÉé ";

class X11Typing : public testing::Test {
protected:
    void SetUp() override {
        std::signal(SIGPIPE, SIG_IGN);
        ASSERT_TRUE(display.Ready()) << display.Problem();
        machine = std::make_unique<X11Machine>(display.Name());
        program = std::make_unique<TestWindows>(display);
        window = program->Open("editor", "Typing Target", "button");
        ASSERT_NE(window, 0U) << program->Errors();
        ASSERT_TRUE(machine->Line(R"(ActivateWindow("Typing Target"))"));
    }

    // Types the text and answers what the window received of it.
    std::string Received(const std::string& text) {
        program->Clear("editor");
        machine->Send(Escaped(text));
        return program->Text("editor");
    }

    PrivateDisplay display{PrivateDisplay::Manager::Absent};
    std::unique_ptr<X11Machine> machine;
    std::unique_ptr<TestWindows> program;
    unsigned long window = 0;
};

TEST_F(X11Typing, PrintableAsciiArrivesExactlyWithAndWithoutAKeyDelay) {
    const std::string text = PrintableAscii(2000);
    machine->SetKeyDelay(0);
    EXPECT_EQ(Received(text), text);
    machine->SetKeyDelay(1);
    EXPECT_EQ(Received(text), text);
    EXPECT_EQ(display.KeysDown(), std::vector<int>{});
}

TEST_F(X11Typing, CharactersOffTheLayoutArriveOnTheUsAndTheGermanLayout) {
    const std::string before = display.KeymapDump();
    const std::string text = kNonUs + kNonUs + "Hallo @{}|\\zy[]~€ ^`´";
    // The first keys ever typed on the display, item by item, each new
    // character put on a spare key as it comes.
    EXPECT_EQ(Received(text), text);
    machine->Keyboard().RestoreSpareKeys();
    machine->SetKeyDelay(0);
    EXPECT_EQ(Received(text), text);
    EXPECT_TRUE(machine->Keyboard().HoldsSpareKeys());
    // The spare keys get their nothing back, and the map is as it was.
    machine->Keyboard().RestoreSpareKeys();
    EXPECT_FALSE(machine->Keyboard().HoldsSpareKeys());
    EXPECT_EQ(display.KeymapDump(), before);

    ASSERT_TRUE(display.SetLayout("de"));
    const std::string german = display.KeymapDump();
    EXPECT_EQ(Received(text), text);
    const std::string ascii = PrintableAscii(500);
    EXPECT_EQ(Received(ascii), ascii);
    machine->Keyboard().RestoreSpareKeys();
    EXPECT_EQ(display.KeymapDump(), german);
    EXPECT_EQ(display.KeysDown(), std::vector<int>{});
}

TEST_F(X11Typing, SpareKeysServeTextAfterTextAndGetTheirNothingBackOnceIdle) {
    machine->SetKeyDelay(0);
    const std::string before = display.KeymapDump();
    EXPECT_EQ(Received("é"), "é");
    EXPECT_TRUE(machine->Keyboard().HoldsSpareKeys());
    EXPECT_EQ(Received("ñé"), "ñé");
    EXPECT_TRUE(machine->pump.WaitFor(30000, [&] { return !machine->Keyboard().HoldsSpareKeys(); }));
    EXPECT_EQ(display.KeymapDump(), before);
    EXPECT_EQ(Received("ñé"), "ñé");
    machine->Keyboard().RestoreSpareKeys();
}

// Where the layout has a key type of four levels and a key for AltGr, a
// spare key carries four characters without case, or two case pairs (the
// second with AltGr); each arrives as written, on the US and the German
// layout, and AltGr is let go.
TEST_F(X11Typing, ASpareKeyCarriesFourLevelsThroughAltGr) {
    machine->SetKeyDelay(0);
    ConsoleEventPump pump(-1);
    const std::unique_ptr<X11Connection> connection = X11Connection::Open(pump, display.Name().c_str());
    ASSERT_NE(connection, nullptr);
    const auto layout = [&] { return *X11KeyboardLayout::Read(connection->Xlib(), XkbUseCoreKbd, 0); };
    const auto freeKeys = [&] { return X11SpareKeys(connection->Xlib(), XkbUseCoreKbd).FreeKeys(layout()).size(); };
    for (const char* name : {"us", "de"}) {
        ASSERT_TRUE(display.SetLayout(name));
        const std::string map = display.KeymapDump();
        ASSERT_EQ(layout().LevelsPerSpareKey(), 4U) << name;
        const std::size_t free = freeKeys();
        // Four without case on one key, é and ñ with their capitals on a
        // second, ő on a third.
        const std::string text = "一丁丂七 éÉñÑ Ñé ő Ő七一";
        EXPECT_EQ(Received(text), text) << name;
        EXPECT_EQ(freeKeys(), free - 3) << name;
        EXPECT_EQ(display.KeysDown(), std::vector<int>{}) << name;
        machine->Keyboard().RestoreSpareKeys();
        EXPECT_EQ(display.KeymapDump(), map) << name;
    }
}

// More distinct characters than the layout has spare keys: the keys are
// given new keysyms as the text goes on.
TEST_F(X11Typing, MoreMissingCharactersThanSpareKeysStillArriveExactly) {
    machine->SetKeyDelay(0);
    std::string text;
    for (int round = 0; round < 2; ++round) {
        text += "αβγδεζηθικλμνξοπρστυφχψω абвгдежзийклмнопрстуфхцчшщъыьэюя ΑΩ ЖЯ ";
    }
    EXPECT_EQ(Received(text), text);
    machine->Keyboard().RestoreSpareKeys();
}

TEST_F(X11Typing, NamedKeysChordsAndGroupsDoWhatTheySay) {
    machine->SetKeyDelay(0);
    program->Clear("editor");
    machine->Send("{enter}{tab 3}%{F4}+(abc)^a~x{bksp}");
    EXPECT_EQ(program->Keys("editor"), "Return Tab Tab Tab A-F4 S-A S-B S-C C-a Return x BackSpace");
    EXPECT_EQ(program->Text("editor"), "\r\t\t\tABC\x01\rx\b");
    EXPECT_EQ(display.KeysDown(), std::vector<int>{});
    EXPECT_EQ(display.Modifiers(), 0U);
}

TEST_F(X11Typing, CapsLockOnOrShiftHeldElsewhereChangeNothingAndStayAsTheyWere) {
    machine->SetKeyDelay(0);
    const std::string text = "Hello World, straße É é " + PrintableAscii(200);
    display.LockModifiers(LockMask, true);
    EXPECT_EQ(Received(text), text);
    EXPECT_EQ(display.LockedModifiers() & LockMask, static_cast<unsigned>(LockMask));
    display.LockModifiers(LockMask, false);

    // Another program holds Shift down through XTest.
    const int shift = display.KeycodeOf(XK_Shift_L);
    display.SendKey(shift, true);
    EXPECT_EQ(Received(text), text);
    EXPECT_EQ(display.KeysDown(), std::vector<int>{shift});
    display.SendKey(shift, false);
    EXPECT_EQ(display.KeysDown(), std::vector<int>{});

    // A {capslock} of the text toggles the lock for good, and what follows
    // still arrives as written.
    program->Clear("editor");
    machine->Send("ab{capslock}cD");
    EXPECT_EQ(program->Text("editor"), "abcD");
    EXPECT_EQ(display.LockedModifiers() & LockMask, static_cast<unsigned>(LockMask));
    machine->Keyboard().RestoreSpareKeys();
}

TEST_F(X11Typing, AStopEndsALongTextBeforeTheNextItemAndLeavesNoKeyDown) {
    machine->SetKeyDelay(1);
    program->Clear("editor");
    CMacroRunner runner(machine->GetEngine(), std::vector<std::string>{});
    machine->pump.After(300, [&] { runner.RequestStop(); });
    const std::string text(5000, 'a');
    // Shift is down in the middle of the group when the stop comes.
    SendKeysText(runner, "x+(" + text + ")" + text);
    const std::string received = program->Text("editor");
    ASSERT_GT(received.size(), 1U);
    EXPECT_LT(received.size(), 2000U);
    EXPECT_EQ(received, "x" + std::string(received.size() - 1, 'A'));
    EXPECT_EQ(display.KeysDown(), std::vector<int>{});
    EXPECT_EQ(display.Modifiers(), 0U);
}

// The stop key (Pause unless set) pressed anywhere ends a long SendKeys run
// before its next item, with nothing left down; a macro that types the key
// itself, or Break, is not stopped: the key reaches its window.
TEST_F(X11Typing, TheStopKeyEndsALongRunAndAMacroTypingItIsNotStopped) {
    using Clock = std::chrono::steady_clock;
    const int pause = display.KeycodeOf(XK_Pause);
    ASSERT_NE(pause, 0);
    machine->SetKeyDelay(1);
    program->Clear("editor");
    CMacroRunner runner(machine->GetEngine(),
                        std::vector<std::string>{"SendKeys(\"" + std::string(5000, 'a') + "\")", "PutVar(%A,never)"});
    Clock::time_point pressed;
    machine->pump.After(300, [&] {
        pressed = Clock::now();
        display.SendKey(pause, true);
        display.SendKey(pause, false);
    });
    runner.Run();
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - pressed);
    std::printf("stop key to the end of the run: %lld ms\n", static_cast<long long>(took.count()));
    EXPECT_EQ(runner.Outcome(), RunOutcome::Stopped);
    EXPECT_EQ(machine->GetEngine().Variables().Value(0), "");
    const std::string received = program->Text("editor");
    ASSERT_GT(received.size(), 1U);
    EXPECT_LT(received.size(), 5000U);
    EXPECT_EQ(received, std::string(received.size(), 'a'));
    // The window never saw the key: it was the run's.
    EXPECT_EQ(program->Keys("editor").find("Pause"), std::string::npos);
    EXPECT_LT(took, std::chrono::seconds(5));
    EXPECT_EQ(display.KeysDown(), std::vector<int>{});

    program->Clear("editor");
    for (const std::string keys : {"a{PAUSE}b{BREAK}c{PAUSE 3}d", "(+{PAUSE})e"}) {
        CMacroRunner typing(machine->GetEngine(),
                            std::vector<std::string>{"SendKeys(\"" + keys + "\")", "PutVar(%A,done)"});
        typing.Run();
        EXPECT_EQ(typing.Outcome(), RunOutcome::Completed) << keys;
        EXPECT_EQ(machine->GetEngine().Variables().Value(0), "done") << keys;
        machine->GetEngine().Variables().SetVar("%A", "");
    }
    EXPECT_EQ(program->Text("editor"), "abcde");
    EXPECT_EQ(program->Keys("editor"), "a Pause b Cancel c Pause Pause Pause d S-Pause e");
    EXPECT_EQ(display.KeysDown(), std::vector<int>{});

    // Once the run is over, Pause is the user's again.
    program->Clear("editor");
    display.SendKey(pause, true);
    display.SendKey(pause, false);
    EXPECT_EQ(program->Keys("editor"), "Pause");
}

// Ctrl+Alt+F1 to F12 switch consoles in the server's keymap: the server acts
// on them itself, so a grab of them would never fire and is refused as such;
// the same keys with other modifiers are grabbed.
TEST_F(X11Typing, ConsoleSwitchesAreRefusedAndTheSameKeysWithOtherModifiersGrabbed) {
    constexpr std::uint8_t kControlAlt = KeyCombination::kControl | KeyCombination::kAlt;
    KeyGrabs& grabs = machine->KeyGrabs();
    for (const std::uint8_t f : {0x70, 0x74, 0x7B}) { // F1, F5, F12
        GrabOutcome outcome = GrabOutcome::Grabbed;
        EXPECT_EQ(grabs.Grab(
                      KeyCombination{f, kControlAlt}, [] {}, outcome),
                  -1);
        EXPECT_EQ(outcome, GrabOutcome::Reserved) << int{f};
        for (const std::uint8_t modifiers : {KeyCombination::kControl, KeyCombination::kAlt}) {
            const int id = grabs.Grab(
                KeyCombination{f, modifiers}, [] {}, outcome);
            EXPECT_GE(id, 0) << int{f};
            EXPECT_EQ(outcome, GrabOutcome::Grabbed) << int{f};
            grabs.Release(id);
        }
    }
    // F13 and beyond have no console to switch to.
    GrabOutcome outcome = GrabOutcome::Reserved;
    const int id = grabs.Grab(
        KeyCombination{0x7C, kControlAlt}, [] {}, outcome);
    EXPECT_NE(outcome, GrabOutcome::Reserved);
    grabs.Release(id);
}

TEST_F(X11Typing, ClicksReachTheButtonAsRealInputAndPutThePointerBack) {
    const std::vector<int> pointer = display.Pointer();
    const std::vector<int> at = display.RootPosition(window);
    const std::string x = std::to_string(at[0] + 20 + 10);
    const std::string y = std::to_string(at[1] + 20 + 15);
    EXPECT_TRUE(machine->Line("MouseClickScreen(" + x + "," + y + ")"));
    EXPECT_TRUE(program->Reported("press editor 10 15 real"));
    EXPECT_TRUE(program->Reported("release editor 10 15 real"));
    EXPECT_TRUE(machine->Line("MouseDblClickScreen(" + x + "," + y + ")"));
    EXPECT_EQ(program->Keys("editor"), ""); // every event read
    std::size_t presses = 0;
    for (std::size_t found = 0; (found = program->Output().find("press editor 10 15", found)) != std::string::npos;
         ++found) {
        ++presses;
    }
    EXPECT_EQ(presses, 3U);
    EXPECT_EQ(display.Pointer(), pointer);
    // Outside every window and outside the screen: no click.
    EXPECT_FALSE(machine->Line("MouseClickScreen(1200,1000)"));
    EXPECT_FALSE(machine->Line("MouseClickScreen(5000,10)"));
}

TEST_F(X11Typing, SetCapsLockTurnsTheLockOnAndOff) {
    EXPECT_TRUE(machine->Line("SetCapsLock(ON)"));
    EXPECT_EQ(display.LockedModifiers() & LockMask, static_cast<unsigned>(LockMask));
    EXPECT_TRUE(machine->Line("SetCapsLock(OFF)"));
    EXPECT_EQ(display.LockedModifiers() & LockMask, 0U);
    EXPECT_EQ(display.KeysDown(), std::vector<int>{});
}

// The editor's status bar follows the lock keys through the keyboard's
// watch, told by the display of every change of a light.
TEST_F(X11Typing, TheLockKeysReadAsTheUserHasThemAndTheirWatchHearsOfEveryChange) {
    int changes = 0;
    machine->Keyboard().WatchLockKeys([&] { ++changes; });
    const auto awaitChange = [&](int seen) { return machine->pump.WaitFor(10000, [&] { return changes > seen; }); };

    display.LockModifiers(Mod2Mask, true); // Num Lock
    ASSERT_TRUE(awaitChange(0));
    std::optional<LockKeyState> locks = machine->Keyboard().LockKeys();
    ASSERT_TRUE(locks);
    EXPECT_FALSE(locks->capsLock);
    EXPECT_TRUE(locks->numLock);
    EXPECT_FALSE(locks->scrollLock);

    int seen = changes;
    EXPECT_TRUE(machine->Line("SetCapsLock(ON)"));
    ASSERT_TRUE(awaitChange(seen));
    locks = machine->Keyboard().LockKeys();
    ASSERT_TRUE(locks);
    EXPECT_TRUE(locks->capsLock);
    EXPECT_TRUE(locks->numLock);

    // A watch that was stopped hears nothing more.
    machine->Keyboard().WatchLockKeys({});
    seen = changes;
    display.LockModifiers(LockMask | Mod2Mask, false);
    locks = machine->Keyboard().LockKeys();
    ASSERT_TRUE(locks);
    EXPECT_FALSE(locks->capsLock);
    EXPECT_FALSE(locks->numLock);
    machine->pump.WaitFor(0, [] { return false; });
    EXPECT_EQ(changes, seen);
}

// A typer killed outright leaves a key down and a spare key claimed; the
// next one to type cleans up after it.
TEST_F(X11Typing, TheNextTyperCleansUpAfterOneKilledInTheMiddleOfAText) {
    const std::string before = display.KeymapDump();
    test::ForkedChild child;
    child.Start([&] {
        ConsoleEventPump pump(-1);
        const std::unique_ptr<X11Connection> connection = X11Connection::Open(pump, display.Name().c_str());
        const std::unique_ptr<X11Keyboard> keyboard = X11Keyboard::Open(*connection, pump);
        const KeyStroke strokes[] = {KeyStroke::Type(U'é'), KeyStroke::Press(vk::kShift)};
        keyboard->Type(strokes);
        XSync(connection->Xlib(), False);
        child.Report();
        pump.WaitFor(60000, [] { return false; });
        return 0;
    });
    ASSERT_TRUE(child.AwaitReport());
    child.Kill();
    EXPECT_EQ(child.Wait(), std::nullopt);
    EXPECT_EQ(display.KeysDown(), std::vector<int>{display.KeycodeOf(XK_Shift_L)});
    EXPECT_NE(display.KeymapDump(), before);

    EXPECT_EQ(Received("ab"), "ab");
    machine->Keyboard().RestoreSpareKeys();
    EXPECT_EQ(display.KeysDown(), std::vector<int>{});
    EXPECT_EQ(display.KeymapDump(), before);
}

// The ordwell program ended by SIGTERM in the middle of a text, with Shift
// down and characters on spare keys: it stops before the next item, lets
// every key go and gives the keys back before it ends.
TEST_F(X11Typing, TheProgramEndedByASignalMidTextLeavesNothingPressedOrChanged) {
    const std::string before = display.KeymapDump();
    const std::filesystem::path dir = std::filesystem::path(display.Home()) / "run";
    std::filesystem::create_directories(dir);
    std::string accents;
    for (int n = 0; n < 20000; ++n) {
        accents += "é";
    }
    std::ofstream(dir / "macro.ow") << "SendKeys(\"+(" << accents << ")\")\r\nSendKeys(\"xyz\")\r\n";
    test::ChildProcess::Options options;
    options.directory = dir;
    options.environment = display.Environment();
    test::ChildProcess ordwell(ORDWELL_EXECUTABLE, {"/r", "macro.ow"}, options);
    // Typing has begun once the window has some of the text.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    std::string received;
    while (received.size() < 20 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        received = program->Text("editor");
    }
    ASSERT_GE(received.size(), 20U) << ordwell.Errors();
    ordwell.Signal(SIGTERM);
    EXPECT_EQ(ordwell.Wait(std::chrono::seconds(30)), 0) << ordwell.Errors();
    received = program->Text("editor");
    std::string capitals;
    while (capitals.size() < received.size()) {
        capitals += "É";
    }
    EXPECT_LT(received.size(), accents.size());
    EXPECT_EQ(received, capitals);
    EXPECT_EQ(display.KeysDown(), std::vector<int>{});
    EXPECT_EQ(display.Modifiers(), 0U);
    EXPECT_EQ(display.KeymapDump(), before);
}

// A text typed with the keyboard on and off: with no spare key left for a
// character, the text ends before it and the send answers FALSE (as at any
// stroke that cannot be delivered); once the keys are free again, it arrives
// whole.
TEST_F(X11Typing, ACharacterNoKeyCanCarryMakesSendKeysAnswerFalseAndEndsTheText) {
    const std::string before = display.KeymapDump();
    // Another typer holds every spare key: characters without case on
    // every level of each.
    test::ForkedChild child;
    child.Start([&] {
        ConsoleEventPump pump(-1);
        const std::unique_ptr<X11Connection> connection = X11Connection::Open(pump, display.Name().c_str());
        const std::unique_ptr<X11Keyboard> keyboard = X11Keyboard::Open(*connection, pump);
        X11SpareKeys spare(connection->Xlib(), XkbUseCoreKbd);
        const X11KeyboardLayout layout = *X11KeyboardLayout::Read(connection->Xlib(), XkbUseCoreKbd, 0);
        const std::size_t free = spare.FreeKeys(layout).size() * layout.LevelsPerSpareKey();
        std::vector<KeyStroke> strokes;
        for (char32_t c = U'丁'; c < U'丁' + free; ++c) {
            strokes.push_back(KeyStroke::Type(c));
        }
        keyboard->Type(strokes);
        XSync(connection->Xlib(), False);
        child.Report();
        pump.WaitFor(60000, [] { return false; });
        return 0;
    });
    ASSERT_TRUE(child.AwaitReport());
    const std::string held = display.KeymapDump();
    program->Clear("editor");
    EXPECT_FALSE(machine->Line(R"(SendKeys("a一b"))"));
    EXPECT_EQ(program->Text("editor"), "a");
    // The other typer's keys are as it left them.
    EXPECT_EQ(display.KeymapDump(), held);
    child.Kill();
    EXPECT_EQ(child.Wait(), std::nullopt);
    EXPECT_EQ(Received("a一b"), "a一b");
    machine->Keyboard().RestoreSpareKeys();
    EXPECT_EQ(display.KeymapDump(), before);
}

// A receiver that answers pings says when it has read the keys: the spare
// keys get their nothing back as soon as the text is over.
TEST_F(X11Typing, SpareKeysComeBackAtTheEndOfATextWhenTheReceiverSaysItHasReadIt) {
    const std::string before = display.KeymapDump();
    ASSERT_NE(program->Open("pinged", "Pinged Target", "ping"), 0U) << program->Errors();
    ASSERT_TRUE(machine->Line(R"(ActivateWindow("Pinged Target"))"));
    machine->Send("é€");
    EXPECT_EQ(program->Text("pinged"), "é€");
    EXPECT_FALSE(machine->Keyboard().HoldsSpareKeys());
    EXPECT_EQ(display.KeymapDump(), before);
}

// Hundreds of distinct characters the layout lacks, many times what the
// spare keys carry at once, into the toolkits' own windows: exact, also
// while two busy loops keep the processors busy.
std::string DistinctMissingCharacters() {
    std::string text;
    for (char32_t c = U'一'; c < U'一' + 306; ++c) {
        AppendUtf8(text, c);
    }
    return text;
}

class X11TypingIntoToolkits : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        std::signal(SIGPIPE, SIG_IGN);
        ASSERT_TRUE(display.Ready()) << display.Problem();
        machine = std::make_unique<X11Machine>(display.Name());
        std::vector<std::string> environment = display.Environment();
        environment.push_back("LC_ALL=C.UTF-8");
        test::ChildProcess::Options options;
        options.directory = display.Home();
        options.environment = environment;
        options.noInput = true;
        const std::string toolkit = GetParam();
        if (toolkit == "xterm") {
            // What the terminal's program reads, written to a pipe that a
            // reader of ours collects; the terminal itself echoes nothing.
            const std::string fifo = display.Home() + "/typed";
            ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
            output = std::make_unique<test::ChildProcess>("/bin/cat", std::vector<std::string>{fifo}, options);
            window = std::make_unique<test::ChildProcess>(
                "/usr/bin/xterm",
                std::vector<std::string>{"-u8", "-title", kTitle, "-e", "/bin/sh", "-c",
                                         "exec >\"$0\"; stty raw -echo; echo ready; exec cat", fifo},
                options);
        } else {
            output = std::make_unique<test::ChildProcess>(
                "/usr/bin/python3", std::vector<std::string>{RECEIVER_SCRIPT, toolkit, kTitle}, options);
        }
        ASSERT_TRUE(output->WaitForOutput([](const std::string& out) { return out.starts_with("ready\n"); },
                                          std::chrono::seconds(30)))
            << output->Errors() << (window ? window->Errors() : "");
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!machine->Line(std::string("ActivateWindow(\"") + kTitle + "\")") &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ASSERT_EQ(display.NetActiveWindow(), machine->Find(kTitle));
    }

    // Types the text and answers what the receiver got of it, once it has
    // as many bytes as the text (or a generous bound passed).
    std::string Received(const std::string& text) {
        const std::size_t from = output->Output().size();
        EXPECT_TRUE(machine->Line("SendKeys(\"" + text + "\")"));
        output->WaitForOutput([&](const std::string& out) { return out.size() >= from + text.size(); },
                              std::chrono::seconds(60));
        return output->Output().substr(from);
    }

    static constexpr const char* kTitle = "Typing Receiver";
    PrivateDisplay display{PrivateDisplay::Manager::Openbox};
    std::unique_ptr<X11Machine> machine;
    std::unique_ptr<test::ChildProcess> output;
    std::unique_ptr<test::ChildProcess> window;
};

TEST_P(X11TypingIntoToolkits, HundredsOfDistinctMissingCharactersArriveExactly) {
    const std::string before = display.KeymapDump();
    const std::string text = DistinctMissingCharacters();
    machine->SetKeyDelay(0);
    EXPECT_EQ(Received(text), text);
    {
        test::ChildProcess::Options options;
        options.noInput = true;
        const std::vector<std::string> loop{"-c", "while :; do :; done"};
        const test::ChildProcess busy1("/bin/sh", loop, options);
        const test::ChildProcess busy2("/bin/sh", loop, options);
        EXPECT_EQ(Received(text), text);
    }
    machine->Keyboard().RestoreSpareKeys();
    EXPECT_EQ(display.KeymapDump(), before);
    EXPECT_EQ(display.KeysDown(), std::vector<int>{});
}

// A run of the ordwell program whose macro types characters the layout
// lacks and ends there: they arrive, also while two busy loops keep the
// processors busy, and the run gives the spare keys back before it ends
// (after the receiver's word where it answers pings, else after the time it
// is given to read them).
TEST_P(X11TypingIntoToolkits, AWholeRunTypingOffTheLayoutDeliversAndGivesTheKeysBackAsItEnds) {
    const std::string before = display.KeymapDump();
    const std::string folder = display.Home() + "/run";
    std::filesystem::create_directories(folder);
    test::ChildProcess::Options options;
    options.directory = folder;
    options.environment = display.Environment();
    options.noInput = true;
    const auto run = [&](const std::string& text) {
        std::ofstream(folder + "/macro.ow", std::ios::trunc) << "SendKeys(\"" << text << "\")\r\n";
        const std::size_t from = output->Output().size();
        test::ChildProcess ordwell(ORDWELL_EXECUTABLE, {"/r", "macro.ow"}, options);
        EXPECT_EQ(ordwell.Wait(std::chrono::seconds(60)), 0) << ordwell.Errors();
        EXPECT_EQ(display.KeymapDump(), before) << "after typing " << text;
        output->WaitForOutput([&](const std::string& out) { return out.size() >= from + text.size(); },
                              std::chrono::seconds(30));
        return output->Output().substr(from);
    };
    EXPECT_EQ(run("é"), "é");
    EXPECT_EQ(run("Ñandú €"), "Ñandú €");
    test::ChildProcess::Options quiet;
    quiet.noInput = true;
    const std::vector<std::string> loop{"-c", "while :; do :; done"};
    const test::ChildProcess busy1("/bin/sh", loop, quiet);
    const test::ChildProcess busy2("/bin/sh", loop, quiet);
    EXPECT_EQ(run("é"), "é");
    EXPECT_EQ(run("Жук → ő"), "Жук → ő");
    EXPECT_EQ(display.KeysDown(), std::vector<int>{});
}

INSTANTIATE_TEST_SUITE_P(Receivers, X11TypingIntoToolkits, testing::Values("xterm", "tk", "gtk"),
                         [](const testing::TestParamInfo<const char*>& receiver) {
                             return std::string(receiver.param);
                         });

} // namespace
} // namespace ordwell
