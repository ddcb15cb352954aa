#include "TestReceiver.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "AwaitCondition.h"

namespace ordwell::test {

namespace {

constexpr auto kBound = std::chrono::seconds(20);

bool HasLine(const std::string& output, const std::string& line) {
    std::istringstream lines(output);
    for (std::string each; std::getline(lines, each);) {
        if (each == line) {
            return true;
        }
    }
    return false;
}

} // namespace

TestReceiver::TestReceiver(const PrivateCompositor& compositor) {
    static int count = 0;
    m_folder = compositor.MakeFolder("receiver-" + std::to_string(++count));
    ChildProcess::Options options;
    options.keepInputOpen = true;
    m_process = compositor.Start(ORDWELL_WAYLAND_RECEIVER, {m_folder}, options);
    m_ready = Reported("ready");
}

TestReceiver::~TestReceiver() {
    Send("quit");
    m_process->Wait(std::chrono::seconds(10));
}

bool TestReceiver::Open(const std::string& key, const std::string& title, const std::string& options) {
    Send("open " + key + " " + options + " -- " + title);
    return Reported("opened " + key);
}

void TestReceiver::Send(const std::string& command) {
    m_process->Write(command + "\n");
}

bool TestReceiver::Reported(const std::string& line) {
    return m_process->WaitForOutput([&](const std::string& output) { return HasLine(output, line); }, kBound);
}

bool TestReceiver::ReportedAlready(const std::string& line) {
    m_process->Collect();
    return HasLine(m_process->Output(), line);
}

std::string TestReceiver::Read(const std::string& key, const char* kind) const {
    std::ifstream in(m_folder + "/" + key + "." + kind, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string TestReceiver::Text(const std::string& key) const {
    return Read(key, "text");
}

std::string TestReceiver::Keys(const std::string& key) const {
    return Read(key, "keys");
}

std::string TestReceiver::Raw(const std::string& key) const {
    return Read(key, "raw");
}

std::string TestReceiver::Clicks(const std::string& key) const {
    return Read(key, "clicks");
}

std::string TestReceiver::AwaitText(const std::string& key, std::size_t size) const {
    std::string text;
    AwaitCondition(
        [&] {
            text = Text(key);
            return text.size() >= size;
        },
        kBound);
    return text;
}

void TestReceiver::Clear(const std::string& key) const {
    for (const char* kind : {"text", "keys", "raw", "clicks"}) {
        std::error_code ignored;
        std::filesystem::remove(m_folder + "/" + key + "." + kind, ignored);
    }
}

bool TestReceiver::AwaitNothingHeld(const std::string& key) const {
    return AwaitCondition([&] { return KeysHeld(key).empty(); }, kBound);
}

std::string TestReceiver::KeysHeld(const std::string& key) const {
    std::map<std::string, int> held;
    std::istringstream lines(Raw(key));
    for (std::string what, code; lines >> what >> code;) {
        if (what == "press") {
            held[code] = 1;
        } else {
            held.erase(code);
        }
    }
    std::string codes;
    for (const auto& [code, down] : held) {
        codes += (codes.empty() ? "" : " ") + code;
    }
    return codes;
}

} // namespace ordwell::test
