// A small X program for the tests of the X11 backend: it opens top-level
// windows as told on standard input, one command a line, and reports on
// standard output what happened to them, one line each.
//
// Commands:
//   open KEY [hidden] [owner=KEY] [legacy] [ping] [button] [onclose=close|dialog|ignore|hang] -- TITLE
//       A window titled TITLE (_NET_WM_NAME and WM_NAME; with legacy only
//       WM_NAME, in Latin-1), shown unless hidden, transient for the owner's window. It
//       takes WM_DELETE_WINDOW, and with ping answers _NET_WM_PING. On a
//       close request it closes (the default), opens an owned question
//       "Save changes?" (dialog), does nothing (ignore), or stops reading
//       its X events for good (hang). Reports "opened KEY ID" once the
//       window is mapped (at once when hidden); ID is decimal. With button,
//       a child window 100x40 at 20,20 (a button) reports the clicks it gets.
//   title KEY -- TITLE    retitles the window; reports "titled KEY"
//   text KEY N            reports "text KEY N HEX": the text the window has
//                         received (through the input method and
//                         Xutf8LookupString), in hexadecimal UTF-8, once every
//                         event the server had sent before was read
//   keys KEY N            reports "keys KEY N LOG": each key press the window
//                         received, as its keysym name with C- (Control),
//                         A- (Mod1) and S- (Shift) for the modifiers down
//   clear KEY N           forgets the window's text and keys; reports "clear KEY N done"
//   quit
// Reports: "delete KEY" (a close request came), "closed KEY", "dialog KEY ID",
// "hung KEY", "ping KEY", "focus KEY", "press KEY X Y SYNTHETIC" and
// "release KEY X Y SYNTHETIC" (a button click, in the button's coordinates).
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <clocale>
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
    bool button = false;
    std::string owner;
    std::string onClose = "close";
};

struct TestWindow {
    std::string key;
    Options options;
    bool reportedOpen = false;
    XIC inputContext = nullptr;
    std::string text;
    std::string keys;
};

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (const char c : bytes) {
        out += digits[static_cast<unsigned char>(c) >> 4];
        out += digits[static_cast<unsigned char>(c) & 15];
    }
    return out;
}

class Program {
public:
    explicit Program(Display* display) : m_display(display), m_root(DefaultRootWindow(display)) {
        // The local input method: typed keys become text as in any program
        // that takes text (dead keys and compose sequences included).
        XSetLocaleModifiers("");
        m_inputMethod = XOpenIM(display, nullptr, nullptr, nullptr);
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
                } else if (word == "button") {
                    options.button = true;
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
        } else if (verb == "text" || verb == "keys") {
            std::string serial;
            words >> serial;
            if (const Window window = Find(key)) {
                ReadEverythingSent();
                const TestWindow& entry = Of(window);
                Report(verb + " " + key + " " + serial + " " + (verb == "text" ? Hex(entry.text) : entry.keys));
            }
        } else if (verb == "clear") {
            std::string serial;
            words >> serial;
            if (const Window window = Find(key)) {
                ReadEverythingSent();
                Of(window).text.clear();
                Of(window).keys.clear();
                Report("clear " + key + " " + serial + " done");
            }
        }
        XFlush(m_display);
        return true;
    }

    void Event(XEvent& event) {
        if (XFilterEvent(&event, None)) {
            return;
        }
        if (const auto button = m_buttons.find(event.xany.window); button != m_buttons.end()) {
            if (event.type == ButtonPress || event.type == ButtonRelease) {
                Report(std::string(event.type == ButtonPress ? "press " : "release ") + button->second + " " +
                       std::to_string(event.xbutton.x) + " " + std::to_string(event.xbutton.y) + " " +
                       (event.xbutton.send_event ? "synthetic" : "real"));
            }
            return;
        }
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
            if (window.inputContext != nullptr) {
                XSetICFocus(window.inputContext);
            }
            break;
        case KeyPress:
            Typed(window, event.xkey);
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

    // Every event the server sent before now is read.
    void ReadEverythingSent() {
        XSync(m_display, False);
        while (XPending(m_display) > 0) {
            XEvent event;
            XNextEvent(m_display, &event);
            Event(event);
        }
    }

private:
    void Report(const std::string& text) { std::cout << text << std::endl; }

    void Typed(TestWindow& window, XKeyEvent& key) {
        char buffer[64];
        KeySym keysym = NoSymbol;
        Status status = 0;
        int length = 0;
        if (window.inputContext != nullptr) {
            length = Xutf8LookupString(window.inputContext, &key, buffer, sizeof buffer, &keysym, &status);
            if (status != XLookupChars && status != XLookupBoth) {
                length = 0;
            }
            if (status != XLookupKeySym && status != XLookupBoth) {
                keysym = NoSymbol;
            }
        } else {
            length = XLookupString(&key, buffer, sizeof buffer, &keysym, nullptr);
        }
        window.text.append(buffer, static_cast<std::size_t>(std::max(length, 0)));
        if (keysym == NoSymbol) {
            return;
        }
        if (IsModifierKey(keysym)) {
            return;
        }
        std::string entry = (key.state & ControlMask) != 0 ? "C-" : "";
        entry += (key.state & Mod1Mask) != 0 ? "A-" : "";
        entry += (key.state & ShiftMask) != 0 ? "S-" : "";
        const char* name = XKeysymToString(keysym);
        entry += name != nullptr ? name : "?";
        window.keys += window.keys.empty() ? entry : " " + entry;
    }

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
        XSelectInput(m_display, window, StructureNotifyMask | FocusChangeMask | KeyPressMask | KeyReleaseMask);
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
        TestWindow& entry = m_windows[window];
        entry.key = key;
        entry.options = options;
        if (m_inputMethod != nullptr) {
            m_windows[window].inputContext =
                XCreateIC(m_inputMethod, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, window,
                          XNFocusWindow, window, nullptr);
        }
        if (options.button) {
            const Window button = XCreateSimpleWindow(m_display, window, 20, 20, 100, 40, 0, 0, 0xC0C0C0);
            XSelectInput(m_display, button, ButtonPressMask | ButtonReleaseMask);
            XMapWindow(m_display, button);
            m_buttons[button] = key;
        }
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
            if (entry.inputContext != nullptr) {
                XDestroyIC(entry.inputContext);
            }
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
    std::map<Window, std::string> m_buttons; // the button of a window, by its window's key
    XIM m_inputMethod = nullptr;
    bool m_hung = false;
};

} // namespace

int main() {
    // Text as UTF-8, whatever the environment says.
    if (std::setlocale(LC_ALL, "") == nullptr || !XSupportsLocale()) {
        std::setlocale(LC_ALL, "C.UTF-8");
    }
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
