// A small X program for the tests of the X11 backend: it opens top-level
// windows as told on standard input, one command a line, and reports on
// standard output what happened to them, one line each.
//
// Commands:
//   open KEY [hidden] [owner=KEY] [legacy] [ping] [onclose=close|dialog|ignore|hang] -- TITLE
//       A window titled TITLE (_NET_WM_NAME and WM_NAME; with legacy only
//       WM_NAME, in Latin-1), shown unless hidden, transient for the owner's window. It
//       takes WM_DELETE_WINDOW, and with ping answers _NET_WM_PING. On a
//       close request it closes (the default), opens an owned question
//       "Save changes?" (dialog), does nothing (ignore), or stops reading
//       its X events for good (hang). Reports "opened KEY ID" once the
//       window is mapped (at once when hidden); ID is decimal.
//   title KEY -- TITLE    retitles the window; reports "titled KEY"
//   quit
// Reports: "delete KEY" (a close request came), "closed KEY", "dialog KEY ID",
// "hung KEY", "ping KEY", "focus KEY".
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <poll.h>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Options {
    bool hidden = false;
    bool legacy = false;
    bool ping = false;
    std::string owner;
    std::string onClose = "close";
};

struct TestWindow {
    std::string key;
    Options options;
    bool reportedOpen = false;
};

class Program {
public:
    explicit Program(Display* display) : m_display(display), m_root(DefaultRootWindow(display)) {
        m_protocols = XInternAtom(display, "WM_PROTOCOLS", False);
        m_delete = XInternAtom(display, "WM_DELETE_WINDOW", False);
        m_ping = XInternAtom(display, "_NET_WM_PING", False);
        m_netName = XInternAtom(display, "_NET_WM_NAME", False);
        m_utf8 = XInternAtom(display, "UTF8_STRING", False);
        m_pid = XInternAtom(display, "_NET_WM_PID", False);
    }

    bool Hung() const { return m_hung; }

    // One command line; false on quit.
    bool Command(const std::string& line) {
        const std::size_t dashes = line.find(" -- ");
        const std::string title = dashes == std::string::npos ? std::string() : line.substr(dashes + 4);
        std::istringstream words(line.substr(0, dashes));
        std::string verb;
        std::string key;
        words >> verb >> key;
        if (verb == "quit") {
            return false;
        }
        if (verb == "open") {
            Options options;
            for (std::string word; words >> word;) {
                if (word == "hidden") {
                    options.hidden = true;
                } else if (word == "legacy") {
                    options.legacy = true;
                } else if (word == "ping") {
                    options.ping = true;
                } else if (word.rfind("owner=", 0) == 0) {
                    options.owner = word.substr(6);
                } else if (word.rfind("onclose=", 0) == 0) {
                    options.onClose = word.substr(8);
                }
            }
            Open(key, options, title);
        } else if (verb == "title") {
            if (const Window window = Find(key)) {
                SetTitle(window, Of(window).options, title);
                XSync(m_display, False);
                Report("titled " + key);
            }
        }
        XFlush(m_display);
        return true;
    }

    void Event(const XEvent& event) {
        const auto found = m_windows.find(event.xany.window);
        if (found == m_windows.end()) {
            return;
        }
        TestWindow& window = found->second;
        switch (event.type) {
        case MapNotify:
            if (!window.reportedOpen) {
                window.reportedOpen = true;
                Report("opened " + window.key + " " + std::to_string(event.xmap.window));
            }
            break;
        case FocusIn:
            if (event.xfocus.mode == NotifyNormal && event.xfocus.detail != NotifyPointer) {
                Report("focus " + window.key);
            }
            break;
        case ClientMessage:
            if (event.xclient.message_type != m_protocols) {
                break;
            }
            if (static_cast<Atom>(event.xclient.data.l[0]) == m_ping && window.options.ping) {
                XEvent pong = event;
                pong.xclient.window = m_root;
                XSendEvent(m_display, m_root, False, SubstructureNotifyMask | SubstructureRedirectMask, &pong);
                Report("ping " + window.key);
            } else if (static_cast<Atom>(event.xclient.data.l[0]) == m_delete) {
                CloseRequested(event.xany.window);
            }
            break;
        default:
            break;
        }
    }

private:
    void Report(const std::string& text) { std::cout << text << std::endl; }

    Window Find(const std::string& key) const {
        for (const auto& [window, entry] : m_windows) {
            if (entry.key == key) {
                return window;
            }
        }
        return None;
    }

    TestWindow& Of(Window window) { return m_windows.at(window); }

    void SetTitle(Window window, const Options& options, const std::string& title) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(title.data());
        const int length = static_cast<int>(title.size());
        if (!options.legacy) {
            // Both names, as toolkits set them.
            XChangeProperty(m_display, window, m_netName, m_utf8, 8, PropModeReplace, bytes, length);
            XChangeProperty(m_display, window, XA_WM_NAME, m_utf8, 8, PropModeReplace, bytes, length);
            return;
        }
        // WM_NAME as STRING is Latin-1: the UTF-8 text of the test, recoded.
        std::string latin1;
        for (std::size_t i = 0; i < title.size(); ++i) {
            const auto c = static_cast<unsigned char>(title[i]);
            if ((c & 0xE0) == 0xC0 && i + 1 < title.size()) {
                latin1 += static_cast<char>(((c & 0x1F) << 6) | (static_cast<unsigned char>(title[++i]) & 0x3F));
            } else {
                latin1 += static_cast<char>(c);
            }
        }
        XChangeProperty(m_display, window, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(latin1.data()), static_cast<int>(latin1.size()));
    }

    Window Open(const std::string& key, const Options& options, const std::string& title) {
        const Window window = XCreateSimpleWindow(m_display, m_root, 40, 40, 320, 200, 0, 0, 0xFFFFFF);
        XSelectInput(m_display, window, StructureNotifyMask | FocusChangeMask);
        std::vector<Atom> protocols{m_delete};
        if (options.ping) {
            protocols.push_back(m_ping);
        }
        XSetWMProtocols(m_display, window, protocols.data(), static_cast<int>(protocols.size()));
        XWMHints hints{};
        hints.flags = InputHint | StateHint;
        hints.input = True;
        hints.initial_state = NormalState;
        XSetWMHints(m_display, window, &hints);
        XClassHint classHint{const_cast<char*>("ordwell-test"), const_cast<char*>("OrdwellTest")};
        XSetClassHint(m_display, window, &classHint);
        const long pid = static_cast<long>(::getpid());
        XChangeProperty(m_display, window, m_pid, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&pid), 1);
        if (!title.empty()) {
            SetTitle(window, options, title);
        }
        if (!options.owner.empty()) {
            XSetTransientForHint(m_display, window, Find(options.owner));
        }
        m_windows[window] = TestWindow{key, options, false};
        if (options.hidden) {
            XSync(m_display, False);
            m_windows[window].reportedOpen = true;
            Report("opened " + key + " " + std::to_string(window));
        } else {
            XMapWindow(m_display, window);
        }
        return window;
    }

    void CloseRequested(Window window) {
        const TestWindow entry = Of(window);
        Report("delete " + entry.key);
        if (entry.options.onClose == "close") {
            XDestroyWindow(m_display, window);
            m_windows.erase(window);
            XSync(m_display, False);
            Report("closed " + entry.key);
        } else if (entry.options.onClose == "dialog") {
            Options question;
            question.owner = entry.key;
            const Window dialog = Open(entry.key + "-question", question, "Save changes?");
            Report("dialog " + entry.key + " " + std::to_string(dialog));
        } else if (entry.options.onClose == "hang") {
            m_hung = true;
            Report("hung " + entry.key);
        }
    }

    Display* m_display;
    Window m_root;
    Atom m_protocols;
    Atom m_delete;
    Atom m_ping;
    Atom m_netName;
    Atom m_utf8;
    Atom m_pid;
    std::map<Window, TestWindow> m_windows;
    bool m_hung = false;
};

} // namespace

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::cerr << "cannot open the display\n";
        return 1;
    }
    Program program(display);
    std::string pending;
    while (true) {
        // A hung program reads no more X events: only its commands.
        while (!program.Hung() && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            program.Event(event);
        }
        pollfd watched[2] = {{STDIN_FILENO, POLLIN, 0}, {program.Hung() ? -1 : ConnectionNumber(display), POLLIN, 0}};
        if (::poll(watched, 2, -1) < 0) {
            continue;
        }
        if (watched[0].revents != 0) {
            char buffer[4096];
            const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (got <= 0) {
                break;
            }
            pending.append(buffer, static_cast<std::size_t>(got));
            for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
                const std::string line = pending.substr(0, end);
                pending.erase(0, end + 1);
                if (!program.Command(line)) {
                    XCloseDisplay(display);
                    return 0;
                }
            }
        }
    }
    XCloseDisplay(display);
    return 0;
}
