#pragma once

#include <QMainWindow>
#include <QPointer>
#include <string>
#include <vector>

#include "RecentFiles.h"
#include "editor/MacroDocument.h"
#include "editor/MacroView.h"

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace ordwell {

class Engine;

// The editor's window: menus, the six toolbars, the status bar with the lock
// keys, and the macro view. It holds the open macro's file (New, Open, Save,
// the recent files), remembers where it was and how its toolbars were laid
// out, and does not close while a macro runs: closing asks the run to stop
// and closes once it has.
class MainWindow final : public QMainWindow, private DocumentFiles {
    Q_OBJECT
public:
    explicit MainWindow(Engine& engine);
    ~MainWindow() override;

    MacroView& View() { return *m_view; }
    MacroDocument& Document() { return m_document; }

    // Opens the macro named on the command line: a file that is not there
    // yet is a new macro that Save writes there.
    void OpenFromCommandLine(const std::string& path);
    // Opens a macro file, asking to save the one shown first; false when it
    // was not opened.
    bool OpenFile(const std::string& path);
    // A stop signal (SIGINT, SIGTERM) arrived: every run stops, and the
    // program ends once they have, without asking anything.
    void StopSignalled();

    // The action of a command, by its object name ("addLine", "run", ...);
    // null for none.
    QAction* Action(const QString& name) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool SaveModified() override;
    bool SaveFile() override;
    void DocumentReloaded() override;

    QAction* MakeAction(const QString& name, const QString& text, const QIcon& icon = {});
    void MakeActions();
    void MakeUndoActions();
    void MakeMenus();
    void MakeToolbars();
    void MakeStatusBar();
    void NewFile();
    void ChooseAndOpen();
    bool SaveAs();
    void UpdateTitle();
    void UpdateRecentMenu();
    void UpdateMinimumSize();
    void UpdateLockKeys();
    void RunningChanged(bool running);
    void RestorePlacement();
    void SavePlacement();
    void ShowHelp(const std::string& page, bool focusFind = false);
    void ShowSystemOptions();
    void EditHotkeys();
    void Record();
    void ShowAbout();

    Engine& m_engine;
    MacroDocument m_document;
    RecentFiles m_recent;
    MacroView* m_view;
    std::vector<QToolBar*> m_toolbars;
    QMenu* m_recentMenu = nullptr;
    QAction* m_recentSeparator = nullptr;
    QLabel* m_runState = nullptr;
    QLabel* m_caps = nullptr;
    QLabel* m_num = nullptr;
    QLabel* m_scroll = nullptr;
    bool m_closeAfterRun = false;
    bool m_quitAfterRun = false;
};

} // namespace ordwell
