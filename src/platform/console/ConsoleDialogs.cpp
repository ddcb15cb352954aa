#include "ConsoleDialogs.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <poll.h>
#include <unistd.h>

#include "platform/posix/PosixFileSystem.h"

namespace ordwell {

namespace {

std::string Normalized(std::string_view answer) {
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!answer.empty() && blank(answer.front())) {
        answer.remove_prefix(1);
    }
    while (!answer.empty() && blank(answer.back())) {
        answer.remove_suffix(1);
    }
    std::string lower(answer);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return lower;
}

// The button an OK/Cancel answer names; kAnswerNone for anything else.
int ParseOkCancel(std::string_view line) {
    const std::string answer = Normalized(line);
    if (answer.empty() || answer == "ok" || answer == "o" || answer == "yes" || answer == "y") {
        return kAnswerOk;
    }
    if (answer == "cancel" || answer == "c" || answer == "no" || answer == "n") {
        return kAnswerCancel;
    }
    return kAnswerNone;
}

} // namespace

ConsoleDialogs::ConsoleDialogs(int inFd, int outFd, int wakeFd) : m_in(inFd), m_out(outFd), m_wake(wakeFd) {
    if (::isatty(outFd) != 0) {
        m_terminal = outFd;
    } else if (::isatty(STDERR_FILENO) != 0) {
        m_terminal = STDERR_FILENO;
    } else {
        m_terminal = -1;
    }
}

int ConsoleDialogs::ShowMessage(std::string_view text, std::string_view caption, MessageStyle style) {
    Show(caption, text);
    if (style != MessageStyle::OkCancelQuestion) {
        return kAnswerOk;
    }
    for (;;) {
        Write("OK or Cancel? [OK] ");
        const std::optional<std::string> line = ReadLine();
        if (!line) {
            Write("\n");
            return kAnswerCancel;
        }
        if (const int answer = ParseOkCancel(*line); answer != kAnswerNone) {
            return answer;
        }
    }
}

int ConsoleDialogs::AskForText(std::string_view prompt, std::string_view caption, std::string& entry) {
    Show(caption, prompt);
    Write("> ");
    std::optional<std::string> line = ReadLine();
    if (!line) {
        Write("\n");
        return kAnswerCancel;
    }
    entry = std::move(*line);
    return kAnswerOk;
}

bool ConsoleDialogs::Beep() {
    return m_terminal >= 0 && WriteFully(m_terminal, "\a");
}

void ConsoleDialogs::Show(std::string_view caption, std::string_view text) {
    std::string box;
    box.reserve(caption.size() + text.size() + 4);
    box += '[';
    box += caption;
    box += ']';
    box += text.find('\n') == std::string_view::npos ? ' ' : '\n';
    box += text;
    if (box.back() != '\n') {
        box += '\n';
    }
    Write(box);
}

void ConsoleDialogs::Write(std::string_view text) {
    // Output nobody reads any more is no reason to end the run.
    [[maybe_unused]] const bool written = WriteFully(m_out, text);
}

std::optional<std::string> ConsoleDialogs::ReadLine() {
    for (;;) {
        if (const size_t end = m_pending.find('\n'); end != std::string::npos) {
            std::string line = m_pending.substr(0, end);
            m_pending.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            return line;
        }
        std::array<pollfd, 2> watched{{{m_in, POLLIN, 0}, {m_wake, POLLIN, 0}}};
        const int ready = ::poll(watched.data(), watched.size(), -1);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        if ((watched[1].revents & POLLIN) != 0) {
            return std::nullopt;
        }
        if ((watched[0].revents & POLLNVAL) != 0) {
            return std::nullopt;
        }
        std::array<char, 4096> buffer;
        const ssize_t got = ::read(m_in, buffer.data(), buffer.size());
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        if (got <= 0) {
            // A last line without its line end still counts as a line.
            if (m_pending.empty()) {
                return std::nullopt;
            }
            std::string line = std::move(m_pending);
            m_pending.clear();
            return line;
        }
        m_pending.append(buffer.data(), static_cast<size_t>(got));
    }
}

} // namespace ordwell
