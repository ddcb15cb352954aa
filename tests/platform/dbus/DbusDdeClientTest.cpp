// The DDE commands over a real D-Bus session bus of the test's own, against
// the test server of tests/support and the example server of the README.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <stdlib.h>

#include "blackbox/ChildProcess.h"
#include "dde/DdeCommands.h"
#include "dde/DdeConversation.h"
#include "dde/DdeInstance.h"
#include "engine/Engine.h"
#include "engine/MacroRunner.h"
#include "platform/console/ConsoleEventPump.h"
#include "platform/dbus/DbusDdeClient.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixPathMapping.h"
#include "platform/posix/PosixStackSpace.h"
#include "platform/posix/SqliteRegistry.h"
#include "platform/sim/SimulatedDesktop.h"
#include "support/DdeTestBus.h"

namespace ordwell::test {
namespace {

using namespace std::chrono_literals;
using SteadyClock = std::chrono::steady_clock;

// The DDE commands with the D-Bus client and a real event pump; everything
// else is simulated.
class BusMachine {
public:
    explicit BusMachine(const std::string& address) : m_dde(address) { BindDdeCommands(m_engine); }

    bool Line(const std::string& text) {
        CMacroRunner runner(m_engine, std::vector<std::string>{text});
        return runner.Execute(text);
    }
    // A conversation of its own, as a command holds one.
    std::unique_ptr<DdeConversation> Conversation() {
        return std::make_unique<DdeConversation>(m_engine.Shared<DdeInstance>(), m_engine.GetPlatform(),
                                                 [] { return false; });
    }

private:
    SimulatedDesktop m_sim;
    PosixStackSpace m_stack;
    PosixFileSystem m_files;
    SqliteRegistry m_registry{":memory:"};
    PosixPathMapping m_paths{[](char) { return std::string(); }};
    ConsoleEventPump m_pump{-1};
    DbusDdeClient m_dde;
    Engine m_engine{Platform{.clock = m_sim.clock,
                             .pump = m_pump,
                             .stop = m_sim.stop,
                             .stack = m_stack,
                             .diagnostics = m_sim.diagnostics,
                             .registry = m_registry,
                             .files = m_files,
                             .paths = m_paths,
                             .system = m_sim.system,
                             .dialogs = m_sim.dialogs,
                             .clipboard = m_sim.clipboard,
                             .runIcon = m_sim.runIcon,
                             .windows = m_sim.windows,
                             .keyboard = m_sim.keyboard,
                             .keyGrabs = m_sim.keyGrabs,
                             .pointer = m_sim.pointer,
                             .processes = m_sim.processes,
                             .session = m_sim.session,
                             .dde = m_dde,
                             .sound = m_sim.sound,
                             .recording = m_sim.recording}};
};

class DdeOverTheBus : public testing::Test {
protected:
    DdeOverTheBus() {
        std::string pattern = (std::filesystem::temp_directory_path() / "ordwell-dde-XXXXXX").string();
        m_dir = ::mkdtemp(pattern.data());
    }
    ~DdeOverTheBus() override {
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }
    void SetUp() override { ASSERT_FALSE(bus.Address().empty()) << bus.Errors(); }

    std::unique_ptr<DdeTestServer> Serve(const std::vector<std::string>& arguments) {
        auto server = std::make_unique<DdeTestServer>(bus, arguments);
        EXPECT_TRUE(server->Ready()) << server->Output();
        return server;
    }
    // Writes a script file and answers its full path.
    std::string Script(const std::string& content) {
        const std::filesystem::path path = m_dir / ("script" + std::to_string(++m_scripts) + ".txt");
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    }

    std::filesystem::path m_dir;
    int m_scripts = 0;
    PrivateSessionBus bus;
    BusMachine machine{bus.Address()};
};

TEST_F(DdeOverTheBus, NoSuchServerAnswersFalseAtOnce) {
    const auto server = Serve({"Shop", "System"});
    const std::string script = Script("one\n");
    const auto start = SteadyClock::now();
    constexpr int kTries = 30;
    for (int i = 0; i < kTries; ++i) {
        EXPECT_FALSE(machine.Line("DdeCommand(Nobody,System,hello)"));
        EXPECT_FALSE(machine.Line("DdeScript(Nobody,System," + script + ")"));
    }
    // Had each waited for its timeout, this would have taken a minute.
    EXPECT_LT(SteadyClock::now() - start, kTries * 1s / 2);
    EXPECT_TRUE(machine.Line("DdeCommand(Shop,System,marker)"));
    EXPECT_EQ(server->Records(1), "System: marker\n");
}

TEST_F(DdeOverTheBus, ConnectNeedsAServedTopicWithTheDdeInterface) {
    const auto shop = Serve({"Shop", "System", "Orders"});
    const auto garage = Serve({"--interface", "org.example.NotDde", "Garage", "System"});
    EXPECT_TRUE(machine.Line("DdeCommand(Shop,Orders,first)"));
    EXPECT_FALSE(machine.Line("DdeCommand(Shop,Stock,x)"));
    EXPECT_FALSE(machine.Line("DdeCommand(shop,Orders,x)"));
    EXPECT_FALSE(machine.Line("DdeScript(Shop,Stock," + Script("x\n") + ")"));
    EXPECT_TRUE(machine.Line("DdeCommand(Shop,System,last)"));
    EXPECT_EQ(shop->Records(2), "Orders: first\nSystem: last\n");

    // An object at the topic's path without the interface is no topic.
    const auto conversation = machine.Conversation();
    EXPECT_FALSE(conversation->Connect("Garage", "System"));
    EXPECT_EQ(conversation->LastError(), DdeError::NoConversation);
    EXPECT_FALSE(conversation->SendExecute("x"));
    EXPECT_EQ(garage->Records(0), "");
}

TEST_F(DdeOverTheBus, ScriptSendsEachLineThatIsNotEmptyOnceInOrder) {
    const auto server = Serve({"Shop", "System"});
    EXPECT_TRUE(machine.Line("DdeScript(Shop,System," + Script("[one]\r\n\r\n[two]\r\n\r\n\r\n[three]") + ")"));
    EXPECT_TRUE(machine.Line("DdeScript(Shop,System," + Script("[four]\n\n[five]\n") + ")"));
    EXPECT_EQ(server->Records(5), "System: [one]\nSystem: [two]\nSystem: [three]\nSystem: [four]\nSystem: [five]\n");
}

TEST_F(DdeOverTheBus, LongLinesArriveWhole) {
    const auto server = Serve({"Shop", "System"});
    const std::string lines[] = {std::string(200, 'a'), std::string(5000, 'b'),
                                 std::string(std::size_t{1} << 20, 'c')}; // more than a socket takes at once
    EXPECT_TRUE(machine.Line("DdeScript(Shop,System," + Script(lines[0] + "\n" + lines[1] + "\n" + lines[2]) + ")"));
    EXPECT_TRUE(machine.Line("DdeCommand(Shop,System," + lines[1] + ")"));
    const std::string expected =
        "System: " + lines[0] + "\nSystem: " + lines[1] + "\nSystem: " + lines[2] + "\nSystem: " + lines[1] + "\n";
    const std::string records = server->Records(4);
    EXPECT_EQ(records.size(), expected.size());
    EXPECT_TRUE(records == expected);
}

TEST_F(DdeOverTheBus, RefusedLineNeitherStopsTheScriptNorFailsIt) {
    const auto server = Serve({"--refuse", "[two]", "Shop", "System"});
    EXPECT_TRUE(machine.Line("DdeScript(Shop,System," + Script("[one]\n[two]\n[three]\n") + ")"));
    EXPECT_FALSE(machine.Line("DdeCommand(Shop,System,[two])"));
    EXPECT_EQ(server->Records(4), "System: [one]\nSystem: [two]\nSystem: [three]\nSystem: [two]\n");
    const auto conversation = machine.Conversation();
    ASSERT_TRUE(conversation->Connect("Shop", "System"));
    EXPECT_FALSE(conversation->SendExecute("[two]"));
    EXPECT_EQ(conversation->LastError(), DdeError::NotProcessed);
}

TEST_F(DdeOverTheBus, SlowServerFailsTheCommandAfterTheTimeout) {
    const auto server = Serve({"--slow", "slow", "--delay", "2000", "Shop", "System"});
    const auto start = SteadyClock::now();
    EXPECT_FALSE(machine.Line("DdeCommand(Shop,System,slow)"));
    const auto waited = SteadyClock::now() - start;
    // It waited its full second, and not for the answer, which would have
    // made it TRUE.
    EXPECT_GE(waited, 1s);
    RecordProperty("waited_ms",
                   static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(waited).count()));

    // A script goes on after a line that was not answered in time.
    EXPECT_TRUE(machine.Line("DdeScript(Shop,System," + Script("slow\nafter\n") + ")"));
    EXPECT_EQ(server->Records(3), "System: slow\nSystem: slow\nSystem: after\n");
}

TEST_F(DdeOverTheBus, ExecuteDataIsExactlyTheText) {
    const auto server = Serve({"Shop", "System"});
    const auto conversation = machine.Conversation();
    ASSERT_TRUE(conversation->Connect("Shop", "System"));
    for (const char* text : {"  [Open(\"a, b\")]\t;%A ", "Grüße", "mid\rdle", "\\"}) {
        EXPECT_TRUE(conversation->SendExecute(text)) << text;
    }
    // D-Bus strings are UTF-8 without NUL: anything else is not sent at all.
    for (const std::string& text : {std::string("\xff\xfe"), std::string("a\0b", 3)}) {
        EXPECT_FALSE(conversation->SendExecute(text));
        EXPECT_EQ(conversation->LastError(), DdeError::InvalidParameter);
    }
    EXPECT_TRUE(conversation->SendExecute("last"));
    EXPECT_EQ(server->Records(5), "System:   [Open(\"a, b\")]\\x09;%A \nSystem: Grüße\nSystem: mid\\rdle\n"
                                  "System: \\\\\nSystem: last\n");
}

TEST_F(DdeOverTheBus, LinesTheBusCannotCarryAreSkipped) {
    const auto server = Serve({"Shop", "System"});
    EXPECT_TRUE(machine.Line("DdeScript(Shop,System," +
                             Script("one\nLatin-1 \xe9\n" + std::string("nul\0x\n", 6) + "two\n") + ")"));
    EXPECT_EQ(server->Records(2), "System: one\nSystem: two\n");
}

TEST_F(DdeOverTheBus, TwoCommandsInARowBothArrive) {
    const auto server = Serve({"Shop", "System"});
    EXPECT_TRUE(machine.Line("DdeCommand(Shop,System,first)"));
    EXPECT_TRUE(machine.Line("DdeCommand(Shop,System,second)"));
    EXPECT_EQ(server->Records(2), "System: first\nSystem: second\n");
}

TEST_F(DdeOverTheBus, NamesTheBusDoesNotAllowAreEscaped) {
    const auto server = Serve({"My Shop 2.0", "Orders/2024", "1st"});
    EXPECT_TRUE(machine.Line("DdeCommand(\"My Shop 2.0\",\"Orders/2024\",one)"));
    EXPECT_TRUE(machine.Line("DdeCommand(\"My Shop 2.0\",1st,two)"));
    EXPECT_FALSE(machine.Line("DdeCommand(My_20Shop_202_2e0,1st,three)"));
    EXPECT_EQ(server->Records(2), "Orders/2024: one\n1st: two\n");
    // A name too long for a bus name reaches no server.
    const auto conversation = machine.Conversation();
    EXPECT_FALSE(conversation->Connect(std::string(300, 'a'), "System"));
    EXPECT_EQ(conversation->LastError(), DdeError::InvalidParameter);
}

TEST_F(DdeOverTheBus, ServerThatGoesAwayUnansweredFailsTheCommand) {
    const auto server = Serve({"--exit-on", "quit", "Shop", "System"});
    const auto conversation = machine.Conversation();
    ASSERT_TRUE(conversation->Connect("Shop", "System"));
    EXPECT_FALSE(conversation->SendExecute("quit"));
    EXPECT_EQ(conversation->LastError(), DdeError::ServerDied);
    EXPECT_FALSE(machine.Line("DdeCommand(Shop,System,again)"));
}

TEST_F(DdeOverTheBus, ExampleServerOfTheReadme) {
    constexpr const char* kPython = "/usr/bin/python3";
    const std::string example = std::string(ORDWELL_SOURCE_DIR) + "/examples/dde-server.py";
    std::ifstream exampleFile(example);
    std::ifstream readmeFile(std::string(ORDWELL_SOURCE_DIR) + "/README.md");
    std::stringstream exampleText;
    std::stringstream readme;
    exampleText << exampleFile.rdbuf();
    readme << readmeFile.rdbuf();
    // The README shows the example whole, indented as a code block.
    std::string indented;
    std::istringstream lines(exampleText.str());
    for (std::string line; std::getline(lines, line);) {
        indented += line.empty() ? "\n" : "    " + line + "\n";
    }
    EXPECT_NE(readme.str().find(indented), std::string::npos);

    ChildProcess::Options options;
    options.directory = m_dir;
    options.environment = {bus.Environment(), "PATH=/usr/bin:/bin"};
    options.noInput = true;
    {
        ChildProcess probe(kPython, {"-c", "import dbus, dbus.mainloop.glib, gi.repository.GLib"}, options);
        if (probe.Wait(60s) != 0) {
            GTEST_SKIP() << "no python3-dbus and python3-gi";
        }
    }
    ChildProcess server(kPython, {example}, options);
    ASSERT_TRUE(
        server.WaitForOutput([](const std::string& out) { return out.find("serving") != std::string::npos; }, 60s))
        << server.Errors();
    EXPECT_TRUE(machine.Line("DdeCommand(Shop,System,[Hello])"));
    EXPECT_FALSE(machine.Line("DdeCommand(Shop,System,[Fail])"));
    EXPECT_FALSE(machine.Line("DdeCommand(Shop,Other,[Hello])"));
    EXPECT_TRUE(server.WaitForOutput(
        [](const std::string& out) { return out.find("[Hello]\n[Fail]\n") != std::string::npos; }, 60s))
        << server.Output() << server.Errors();
}

} // namespace
} // namespace ordwell::test
