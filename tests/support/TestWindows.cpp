#include "TestWindows.h"

namespace ordwell::test {

namespace {

constexpr auto kBound = std::chrono::seconds(30);

} // namespace

TestWindows::TestWindows(const PrivateDisplay& display) {
    ChildProcess::Options options;
    options.directory = "/";
    options.environment = display.Environment();
    options.keepInputOpen = true;
    m_process = std::make_unique<ChildProcess>(ORDWELL_TEST_WINDOWS, std::vector<std::string>{}, options);
}

bool TestWindows::HasLine(const std::string& output, const std::string& line) {
    for (std::size_t at = 0; at < output.size();) {
        const std::size_t end = output.find('\n', at);
        if (end == std::string::npos) {
            return false;
        }
        const std::string_view report(output.data() + at, end - at);
        if (report == line || (report.starts_with(line) && report[line.size()] == ' ')) {
            return true;
        }
        at = end + 1;
    }
    return false;
}

void TestWindows::Send(const std::string& command) {
    m_process->Write(command + "\n");
}

unsigned long TestWindows::Open(const std::string& key, const std::string& title, const std::string& options) {
    Send("open " + key + " " + options + " -- " + title);
    const std::string opened = "opened " + key + " ";
    // Where the id of the whole report line begins.
    const auto idAt = [&](const std::string& output) -> std::size_t {
        const std::size_t at = output.rfind(opened, 0) == 0 ? 0 : output.find("\n" + opened);
        if (at == std::string::npos) {
            return std::string::npos;
        }
        const std::size_t id = at == 0 ? opened.size() : at + 1 + opened.size();
        return output.find('\n', id) == std::string::npos ? std::string::npos : id;
    };
    if (!m_process->WaitForOutput([&](const std::string& output) { return idAt(output) != std::string::npos; },
                                  kBound)) {
        return 0;
    }
    return std::stoul(Output().substr(idAt(Output())));
}

std::string TestWindows::Ask(const std::string& verb, const std::string& key) {
    const std::string asked = verb + " " + key + " " + std::to_string(++m_serial);
    Send(asked);
    const std::string prefix = asked + " ";
    const auto at = [&](const std::string& output) -> std::size_t {
        const std::size_t found = output.rfind(prefix, 0) == 0 ? 0 : output.find("\n" + prefix);
        if (found == std::string::npos) {
            return std::string::npos;
        }
        const std::size_t start = found == 0 ? prefix.size() : found + 1 + prefix.size();
        return output.find('\n', start) == std::string::npos ? std::string::npos : start;
    };
    if (!m_process->WaitForOutput([&](const std::string& output) { return at(output) != std::string::npos; }, kBound)) {
        return "(no answer)";
    }
    const std::size_t start = at(Output());
    return Output().substr(start, Output().find('\n', start) - start);
}

std::string TestWindows::Text(const std::string& key) {
    const std::string hex = Ask("text", key);
    std::string text;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        text += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    return text;
}

std::string TestWindows::Keys(const std::string& key) {
    return Ask("keys", key);
}

void TestWindows::Clear(const std::string& key) {
    Ask("clear", key);
}

bool TestWindows::Reported(const std::string& line) {
    return m_process->WaitForOutput([&](const std::string& output) { return HasLine(output, line); }, kBound);
}

bool TestWindows::ReportedAlready(const std::string& line) {
    m_process->Collect();
    return HasLine(Output(), line);
}

} // namespace ordwell::test
