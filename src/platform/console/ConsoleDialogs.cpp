#include "ConsoleDialogs.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <poll.h>
#include <unistd.h>

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

ConsoleDialogs::ConsoleDialogs(int inFd, int outFd, int wakeFd)
    : m_in(inFd), m_out(outFd), m_wake(wakeFd), m_escapeControls(::isatty(outFd) != 0) {
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
    return m_terminal >= 0 && WriteTo(m_terminal, "\a");
}

void ConsoleDialogs::Show(std::string_view caption, std::string_view text) {
    std::string box;
    box.reserve(caption.size() + text.size() + 4);
    box += '[';
    AppendShown(box, caption);
    box += ']';
    box += text.find('\n') == std::string_view::npos ? ' ' : '\n';
    AppendShown(box, text);
    if (box.back() != '\n') {
        box += '\n';
    }
    Write(box);
}

void ConsoleDialogs::AppendShown(std::string& out, std::string_view text) const {
    if (!m_escapeControls) {
        out += text;
        return;
    }
    // Text from files or the environment may hold control sequences that a
    // terminal would obey (retitle it, clear it, move the cursor). On a
    // terminal they are shown in caret notation, as "cat -v" shows them:
    // ESC as ^[, DEL as ^?; the C1 controls U+0080 to U+009F as "^[" and
    // their letter. Line ends and tabs stay.
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n' || c == '\t') {
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            out += '^';
            out += static_cast<char>(c ^ 0x40);
        } else if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
            out += "^[";
            out += static_cast<char>((static_cast<unsigned char>(text[++i]) - 0x80) + 0x40);
        } else {
            out += static_cast<char>(c);
        }
    }
}

void ConsoleDialogs::Write(std::string_view text) {
    // Output nobody reads any more is no reason to end the run.
    [[maybe_unused]] const bool written = WriteTo(m_out, text);
}

bool ConsoleDialogs::WriteTo(int fd, std::string_view text) const {
    // A terminal held with Ctrl+S, or a pipe nobody drains, takes no more
    // output: wait until it does, or until a stop signal gives up on it. Each
    // write is small enough to go out whole once the output is ready.
    constexpr size_t kPiece = 4096;
    while (!text.empty()) {
        std::array<pollfd, 2> watched{{{fd, POLLOUT, 0}, {m_wake, POLLIN, 0}}};
        if (::poll(watched.data(), watched.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if ((watched[1].revents & POLLIN) != 0 || (watched[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            return false;
        }
        const ssize_t written = ::write(fd, text.data(), std::min(text.size(), kPiece));
        if (written < 0) {
            if (errno == EINTR || errno == EAGAIN) {
                continue;
            }
            return false;
        }
        text.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

std::optional<std::string> ConsoleDialogs::TakeLine(size_t length, size_t skip) {
    std::string line = m_pending.substr(0, length);
    m_pending.erase(0, length + skip);
    m_scanned = 0;
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

std::optional<std::string> ConsoleDialogs::ReadLine() {
    while (!m_ended) {
        // Only what came since the last look can hold the line end, so a long
        // line is read in linear time.
        if (const size_t end = m_pending.find('\n', m_scanned); end != std::string::npos) {
            return TakeLine(end, 1);
        }
        if (m_pending.find('\0', m_scanned) != std::string::npos) {
            // A NUL byte is no typed text: the input is binary (/dev/zero,
            // a file of data), and is read as its end.
            m_pending.clear();
            m_ended = true;
            break;
        }
        m_scanned = m_pending.size();
        if (m_pending.size() >= kMaxInputLine) {
            return TakeLine(kMaxInputLine, 0);
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
            m_ended = true;
            break;
        }
        m_pending.append(buffer.data(), static_cast<size_t>(got));
    }
    // A last line without its line end still counts as a line.
    if (m_pending.empty()) {
        return std::nullopt;
    }
    return TakeLine(m_pending.size(), 0);
}

} // namespace ordwell
