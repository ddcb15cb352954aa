// Typing into a native Wayland window of another process on a headless
// sway, checked by what the window's toolkit read: exact text whatever the
// compositor's layout, characters of no layout, named keys and chords, and
// stops that leave no key down.
#include <csignal>
#include <gtest/gtest.h>

#include "engine/MacroRunner.h"
#include "input/SendKeysText.h"
#include "platform/wayland/WaylandKeyboard.h"
#include "support/AwaitCondition.h"
#include "support/ForkedChild.h"
#include "support/PrivateCompositor.h"
#include "support/TestReceiver.h"
#include "support/WaylandMachine.h"
#include "text/Utf8.h"

namespace ordwell {
namespace {

using test::PrivateCompositor;
using test::TestReceiver;
using test::WaylandMachine;

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

const std::string kNonUs = "é ü ß € É Ü ñ ő Ж → Straße Über Ñandú ÉÉé ☺ 日本語 ";

// The compositor's keyboard layout is the parameter.
class WaylandTyping : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        std::signal(SIGPIPE, SIG_IGN);
        if (!PrivateCompositor::Installed()) {
            GTEST_SKIP() << "sway is not installed: the Wayland backend is not tested";
        }
        compositor = std::make_unique<PrivateCompositor>(GetParam());
        ASSERT_TRUE(compositor->Ready()) << compositor->Problem();
        machine = std::make_unique<WaylandMachine>(compositor->Socket());
        ASSERT_TRUE(machine->Ready());
        receiver = std::make_unique<TestReceiver>(*compositor);
        ASSERT_TRUE(receiver->Ready()) << receiver->Errors();
        ASSERT_TRUE(receiver->Open("editor", "Typing Target")) << receiver->Errors();
        ASSERT_TRUE(test::AwaitCondition([&] { return machine->Find("Typing Target") != kNoWindow; },
                                         std::chrono::seconds(20)));
        ASSERT_TRUE(machine->Line(R"(ActivateWindow("Typing Target"))"));
        ASSERT_TRUE(receiver->Reported("active editor"));
    }

    // Types the text and answers what the window received of it.
    std::string Received(const std::string& text) {
        receiver->Clear("editor");
        machine->Send(Escaped(text));
        return receiver->AwaitText("editor", text.size());
    }

    std::unique_ptr<PrivateCompositor> compositor;
    std::unique_ptr<WaylandMachine> machine;
    std::unique_ptr<TestReceiver> receiver;
};

TEST_P(WaylandTyping, PrintableAsciiArrivesExactlyWithAndWithoutAKeyDelay) {
    const std::string text = PrintableAscii(2000);
    machine->SetKeyDelay(0);
    EXPECT_EQ(Received(text), text);
    machine->SetKeyDelay(1);
    EXPECT_EQ(Received(text), text);
    EXPECT_TRUE(receiver->AwaitNothingHeld("editor")) << receiver->KeysHeld("editor");
}

TEST_P(WaylandTyping, CharactersOfNoLayoutArriveExactly) {
    const std::string text = kNonUs + kNonUs + "Hallo @{}|\\zy[]~€ ^`´";
    EXPECT_EQ(Received(text), text);
    machine->SetKeyDelay(0);
    EXPECT_EQ(Received(text), text);
    const std::string ascii = PrintableAscii(500);
    EXPECT_EQ(Received(ascii), ascii);
    EXPECT_TRUE(receiver->AwaitNothingHeld("editor")) << receiver->KeysHeld("editor");
}

TEST_P(WaylandTyping, MoreDistinctCharactersThanOneKeymapHoldsArriveExactly) {
    machine->SetKeyDelay(0);
    // 400 distinct characters of no layout: more than one keymap has room for.
    std::string text;
    for (char32_t c = 0x400; c < 0x400 + 200; ++c) { // Cyrillic
        AppendUtf8(text, c);
    }
    for (char32_t c = 0x4E00; c < 0x4E00 + 200; ++c) { // CJK
        AppendUtf8(text, c);
    }
    EXPECT_EQ(Received(text + text), text + text);
    EXPECT_GT(machine->Keyboard().KeymapUploads(), 2U);
}

TEST_P(WaylandTyping, NamedKeysChordsAndGroupsDoWhatTheySay) {
    machine->SetKeyDelay(0);
    receiver->Clear("editor");
    machine->Send("{enter}{tab 3}%{F4}+(abc)^a~x{bksp}{F13}{F24}");
    EXPECT_EQ(receiver->AwaitText("editor", 11), "\r\t\t\tABC\x01\rx\b");
    // The keys after the last character come a moment after it.
    EXPECT_TRUE(test::AwaitCondition([&] { return receiver->Keys("editor").find("F24") != std::string::npos; },
                                     std::chrono::seconds(20)));
    // The modifier keys themselves arrive too, as a keyboard's would.
    EXPECT_EQ(receiver->Keys("editor"),
              "Return\nTab\nTab\nTab\nA-Alt\nA-F4\nS-Shift\nS-A\nS-B\nS-C\nC-Control\nC-A\nReturn\nX\n"
              "Backspace\nF13\nF24\n");
    EXPECT_TRUE(receiver->AwaitNothingHeld("editor")) << receiver->KeysHeld("editor");
}

TEST_P(WaylandTyping, AStopEndsALongTextAndLeavesNoKeyDown) {
    machine->SetKeyDelay(1);
    receiver->Clear("editor");
    CMacroRunner runner(machine->GetEngine(), std::vector<std::string>{});
    machine->pump.After(300, [&] { runner.RequestStop(); });
    const std::string text(5000, 'a');
    // Shift is down in the middle of the group when the stop comes.
    SendKeysText(runner, "x+(" + text + ")" + text);
    // Keys typed after the stop arrive after those before it, as written:
    // nothing is held.
    machine->Send("ok");
    std::string received;
    ASSERT_TRUE(test::AwaitCondition(
        [&] {
            received = receiver->Text("editor");
            return received.size() >= 2 && received.compare(received.size() - 2, 2, "ok") == 0;
        },
        std::chrono::seconds(20)))
        << received;
    ASSERT_GT(received.size(), 3U);
    EXPECT_LT(received.size(), 2000U);
    EXPECT_EQ(received, "x" + std::string(received.size() - 3, 'A') + "ok");
    EXPECT_TRUE(receiver->AwaitNothingHeld("editor")) << receiver->KeysHeld("editor");
}

TEST_P(WaylandTyping, ATyperKilledWithAKeyDownLeavesNothingPressed) {
    // The compositor releases what a virtual keyboard holds when its
    // client goes, however it goes.
    test::ForkedChild typer;
    const std::string socket = compositor->Socket();
    typer.Start([&] {
        WaylandMachine child(socket);
        child.SetKeyDelay(1);
        typer.Report();
        child.Send("+(" + std::string(20000, 'a') + ")");
        return 0;
    });
    ASSERT_TRUE(typer.AwaitReport());
    EXPECT_EQ(receiver->AwaitText("editor", 20).substr(0, 20), std::string(20, 'A'));
    typer.Kill();
    EXPECT_TRUE(receiver->AwaitNothingHeld("editor")) << receiver->KeysHeld("editor");
    receiver->Clear("editor");
    machine->Send("ok");
    EXPECT_EQ(receiver->AwaitText("editor", 2), "ok");
}

TEST_P(WaylandTyping, SetCapsLockIsRememberedAndTextStillArrivesAsWritten) {
    machine->SetKeyDelay(0);
    EXPECT_TRUE(machine->Line("SetCapsLock(ON)"));
    EXPECT_EQ(machine->Keyboard().LockKeys()->capsLock, true);
    EXPECT_EQ(Received("Hello World"), "Hello World");
    EXPECT_TRUE(machine->Line("SetCapsLock(OFF)"));
    EXPECT_EQ(machine->Keyboard().LockKeys()->capsLock, false);
    receiver->Clear("editor");
    machine->Send("ab{capslock}cD");
    EXPECT_EQ(receiver->AwaitText("editor", 4), "abcD");
    EXPECT_EQ(machine->Keyboard().LockKeys()->capsLock, true);
}

INSTANTIATE_TEST_SUITE_P(Layouts, WaylandTyping, testing::Values("us", "de"));

} // namespace
} // namespace ordwell
