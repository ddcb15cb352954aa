#include "HotkeyResident.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "HotkeyService.h"
#include "HotkeysDialog.h"
#include "editor/QtText.h"
#include "engine/Settings.h"
#include "input/KeyCombinationText.h"
#include "platform/Diagnostics.h"
#include "platform/EventPump.h"
#include "platform/Platform.h"
#include "platform/Registry.h"
#include "platform/StopSignal.h"
#include "platform/posix/ConfigLocation.h"

namespace ordwell {

namespace {

// How long one sleep of the resident loop lasts at most; it wakes at once
// for any event, a stop signal included.
constexpr std::uint32_t kLongSleepMs = 3'600'000;
// How long the store stays quiet after a write before the table is read
// again: the table is written a value at a time, each its own transaction,
// and is read once all of it is there, not half way.
constexpr std::uint32_t kSettleMs = 150;

std::string Label(const Hotkey& hotkey) {
    const std::optional<KeyCombination> key = ReadKeyCombination(hotkey.key);
    return (key ? KeyCombinationLabel(*key) : hotkey.key) + "   " +
           std::filesystem::path(hotkey.macro).filename().string();
}

// Loads the table and says which hotkeys serve, for whoever started the
// program and for a test waiting for them, and which cannot.
void Load(HotkeyService& service, const std::vector<Hotkey>& table, Diagnostics& diagnostics) {
    for (const std::string& problem : service.Load(table)) {
        diagnostics.Report(problem);
    }
    for (const Hotkey& hotkey : service.Serving()) {
        const std::optional<KeyCombination> key = ReadKeyCombination(hotkey.key);
        std::printf("ordwell: %s runs %s\n", key ? KeyCombinationLabel(*key).c_str() : hotkey.key.c_str(),
                    hotkey.macro.c_str());
    }
    std::printf("ordwell: %zu hotkeys ready\n", service.Serving().size());
    std::fflush(stdout);
}

} // namespace

std::string AutostartEntryPath() {
    const std::string config = OrdwellConfigDirectory();
    if (config.empty()) {
        return {};
    }
    return (std::filesystem::path(config).parent_path() / "autostart" / "ordwell-hotkeys.desktop").string();
}

std::string AutostartEntryText(const std::string& program) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Ordwell Hotkeys\n"
           "Comment=Run Ordwell macros by their hotkeys\n"
           "Exec=" +
           program +
           " --hotkeys\n"
           "Icon=ordwell\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool SetAutostart(bool on, const std::string& program) {
    const std::string path = AutostartEntryPath();
    if (path.empty()) {
        return false;
    }
    std::error_code error;
    if (!on) {
        std::filesystem::remove(path, error);
        return !error;
    }
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    std::ofstream entry(path, std::ios::binary | std::ios::trunc);
    entry << AutostartEntryText(program);
    entry.close();
    return static_cast<bool>(entry);
}

int RunHotkeys(const Platform& platform, const std::string& program) {
    Settings settings(platform.registry);
    HotkeyService service(platform.keyGrabs, platform.processes, platform.diagnostics, program);
    GrabOutcome outcome = GrabOutcome::Unavailable;
    // Whether this display lets a program watch keys at all: a grab of a
    // combination nobody uses tells (taken or no such key still means yes).
    const int probe = platform.keyGrabs.Grab(
        KeyCombination{0x87, KeyCombination::kControl | KeyCombination::kAlt | KeyCombination::kShift}, [] {}, outcome);
    platform.keyGrabs.Release(probe);
    if (outcome == GrabOutcome::Unavailable) {
        platform.diagnostics.Report("--hotkeys needs an X11 display, where a program may watch keys; on Wayland, "
                                    "bind 'ordwell /r MACRO' in the compositor's own key bindings (see the README)");
        return 2;
    }
    std::vector<Hotkey> table = ReadHotkeys(settings);
    Load(service, table, platform.diagnostics);

    bool quit = false;
    bool stale = false;   // the menu shows a table that changed
    bool editing = false; // the Hotkeys dialog is open
    // A table changed in the store (by the editor's Hotkeys dialog, a macro
    // writing the registry, or another program) is taken on at once: the
    // grabs of removed rows are given up and those of new ones taken. Not
    // while this program's own dialog is open, which loads the table itself
    // when it closes.
    const auto reread = [&] {
        if (editing) {
            return;
        }
        std::vector<Hotkey> now = ReadHotkeys(settings);
        if (now != table) {
            table = std::move(now);
            Load(service, table, platform.diagnostics);
            stale = true;
        }
    };
    EventPump::EventId settle = 0;
    const std::shared_ptr<void> watch = platform.registry.WatchChanges(platform.pump, [&] {
        platform.pump.Cancel(settle);
        settle = platform.pump.After(kSettleMs, [&] {
            settle = 0;
            reread();
        });
    });
    if (!watch) {
        platform.diagnostics.Report("changes of the hotkeys reach this program when it starts again, or through "
                                    "Edit Hotkeys in its menu");
    }
    QSystemTrayIcon tray(QIcon::fromTheme("ordwell", QApplication::windowIcon()));
    tray.setToolTip(QObject::tr("Ordwell Hotkeys"));
    QMenu menu;
    const auto fillMenu = [&] {
        menu.clear();
        const std::vector<Hotkey> serving = service.Serving();
        for (std::size_t n = 0; n < serving.size(); ++n) {
            QAction* run = menu.addAction(ToQString(Label(serving[n])));
            // Runs nothing when the table changed while the menu was open.
            QObject::connect(run, &QAction::triggered, [&service, n, hotkey = serving[n]] {
                const std::vector<Hotkey> now = service.Serving();
                if (n < now.size() && now[n] == hotkey) {
                    service.Start(n);
                }
            });
        }
        if (serving.empty()) {
            menu.addAction(QObject::tr("(no hotkeys)"))->setEnabled(false);
        }
        menu.addSeparator();
        QAction* edit = menu.addAction(QObject::tr("&Edit Hotkeys..."));
        QObject::connect(edit, &QAction::triggered, [&] {
            // The dialog's grabs are this program's, so the hotkeys it
            // holds give up theirs while it is open.
            service.Clear();
            editing = true;
            HotkeysDialog::Ask(settings, platform.keyGrabs, nullptr);
            editing = false;
            table = ReadHotkeys(settings);
            Load(service, table, platform.diagnostics);
            stale = true;
        });
        QAction* login = menu.addAction(QObject::tr("&Start at Login"));
        login->setCheckable(true);
        login->setChecked(std::filesystem::exists(AutostartEntryPath()));
        QObject::connect(login, &QAction::toggled, [&program](bool on) { SetAutostart(on, program); });
        QAction* end = menu.addAction(QObject::tr("&Quit"));
        QObject::connect(end, &QAction::triggered, [&quit] { quit = true; });
    };
    fillMenu();
    // Built afresh when it opens after the table changed (not from one of
    // its own actions, which it would delete under them).
    QObject::connect(&menu, &QMenu::aboutToShow, [&] {
        if (std::exchange(stale, false)) {
            fillMenu();
        }
    });
    tray.setContextMenu(&menu);
    QObject::connect(&tray, &QSystemTrayIcon::activated, [&](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger) {
            menu.popup(QCursor::pos());
        }
    });
    tray.show();

    while (!quit && !platform.stop.Raised()) {
        platform.pump.WaitFor(kLongSleepMs, [&] { return quit || platform.stop.Raised(); });
    }
    platform.pump.Cancel(settle);
    service.Clear();
    return 0;
}

} // namespace ordwell
