#include "MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>

#include "AboutDialog.h"
#include "ActionIcons.h"
#include "FrameSize.h"
#include "HotkeysDialog.h"
#include "SystemOptionsDialog.h"
#include "WindowPlacement.h"
#include "editor/HelpPages.h"
#include "editor/HelpWindow.h"
#include "editor/LineTemplates.h"
#include "editor/QtText.h"
#include "engine/CommandCatalogue.h"
#include "engine/Engine.h"
#include "input/MacroRecorder.h"
#include "platform/Keyboard.h"
#include "platform/Platform.h"

namespace ordwell {

namespace {

constexpr std::string_view kToolbarSection = "General";
constexpr std::string_view kToolbarKey = "ToolbarLayout";
constexpr int kToolbarLayoutVersion = 1;
constexpr const char* kFileFilter = "Ordwell Files (*.ow);;All Files (*)";

// The five toolbars of macro commands, after the main one: a slash is a
// separator.
struct CommandBar {
    const char* name;
    const char* title;
    const char* menuText;
    std::vector<std::string_view> commands;
};

const std::vector<CommandBar>& CommandBars() {
    static const std::vector<CommandBar> bars = {
        {"conditionsToolbar",
         "Conditions",
         "C&onditions Toolbar",
         {"Label", "GoTo", "/", "If", "IfLessThan", "IfMoreThan", "/", "Repeat", "While"}},
        {"basicToolbar",
         "Basic",
         "&Common Toolbar",
         {"Beep", "PlaySound", "/", "RunProgram", "QuitProgram", "Delay", "/", "MessageBox", "MessageBoxOkCancel", "/",
          "ExitMacro", "RunMacro", "FileExist", "WriteToFile"}},
        {"advancedToolbar",
         "Advanced",
         "&Advanced Toolbar",
         {"LogToFile", "LogSystem", "/", "LogError", "OnError", "DdeCommand", "DdeScript", "/", "SendKeysToWindow",
          "SendKeys", "InputBox", "SendInputToWindow", "SendInput", "/", "SendNow", "SendEnvironment"}},
        {"windowsToolbar",
         "Windows",
         "&Windows Toolbar",
         {"MinimizeWindow", "MaximizeWindow", "NormalizeWindow", "/", "ActivateWindow", "CloseWindow", "FindWindow",
          "WindowActive", "SetCaption"}},
        {"systemToolbar",
         "System",
         "&System Toolbar",
         {"PowerOff", "ShutdownSystem", "RebootSystem", "Logout", "SetDirectory"}},
    };
    return bars;
}

QLabel* Indicator(const QString& text, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(text) + 12);
    label->setProperty("indicator", text);
    return label;
}

void ShowIndicator(QLabel* label, bool on) {
    label->setText(on ? label->property("indicator").toString() : QString());
}

} // namespace

MainWindow::MainWindow(Engine& engine)
    : m_engine(engine), m_document(engine.GetPlatform().files), m_recent(engine.GetSettings()) {
    setWindowIcon(ApplicationIcon());
    setObjectName("mainWindow");
    m_view = new MacroView(engine, m_document, *this, this);
    setCentralWidget(m_view);
    MakeActions();
    MakeMenus();
    MakeToolbars();
    MakeStatusBar();
    m_view->SetContextActions({Action("addLine"), Action("editLine"), Action("deleteLine"), Action("comment"),
                               Action("blankLine"), Action("manualEdit")});
    connect(m_view, &MacroView::Edited, this, &MainWindow::UpdateTitle);
    connect(m_view, &MacroView::TestableChanged, Action("testLine"), &QAction::setEnabled);
    connect(m_view, &MacroView::LineCountChanged, this,
            [this](int count) { Action("externalEditor")->setEnabled(count > 0); });
    connect(m_view, &MacroView::RunningChanged, this, &MainWindow::RunningChanged);
    Action("testLine")->setEnabled(false);
    RestorePlacement();
    m_document.New();
    m_view->Fill();
    UpdateTitle();
    m_view->setFocus();
}

MainWindow::~MainWindow() {
    m_engine.GetPlatform().keyboard.WatchLockKeys({});
    // The view refers to the document, which goes with this object's
    // members, before the widgets' own teardown would delete the view.
    delete takeCentralWidget();
}

QAction* MainWindow::Action(const QString& name) const {
    return findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
}

QAction* MainWindow::MakeAction(const QString& name, const QString& text, const QIcon& icon) {
    auto* action = new QAction(icon, text, this);
    action->setObjectName(name);
    // The keys work wherever the keyboard is in the window.
    addAction(action);
    return action;
}

void MainWindow::MakeActions() {
    using SP = QStyle::StandardPixmap;
    struct Row {
        const char* name;
        const char* text;
        std::initializer_list<const char*> icons;
        SP fallback;
        QList<QKeySequence> keys;
        const char* tip;
        void (MainWindow::*own)();
        void (MacroView::*view)();
    };
    const Row rows[] = {
        {"new",
         "&New",
         {"document-new"},
         SP::SP_FileIcon,
         {QKeySequence::New},
         "Start a new macro",
         &MainWindow::NewFile,
         nullptr},
        {"open",
         "&Open...",
         {"document-open"},
         SP::SP_DialogOpenButton,
         {QKeySequence::Open},
         "Open a macro file",
         &MainWindow::ChooseAndOpen,
         nullptr},
        {"save",
         "&Save",
         {"document-save"},
         SP::SP_DialogSaveButton,
         {QKeySequence::Save},
         "Save the macro",
         nullptr,
         nullptr},
        {"saveAs",
         "Save &As...",
         {"document-save-as"},
         SP::SP_DialogSaveButton,
         {QKeySequence::SaveAs},
         "Save the macro under another name",
         nullptr,
         nullptr},
        {"print",
         "&Print...",
         {"document-print"},
         SP::SP_CustomBase,
         {QKeySequence::Print},
         "Print the macro",
         nullptr,
         &MacroView::Print},
        {"printPreview",
         "Print Pre&view",
         {"document-print-preview"},
         SP::SP_CustomBase,
         {},
         "Show the printed pages",
         nullptr,
         &MacroView::PrintPreview},
        {"printSetup",
         "P&rint Setup...",
         {"document-page-setup"},
         SP::SP_CustomBase,
         {},
         "Choose the paper and its orientation",
         nullptr,
         &MacroView::PrintSetup},
        {"exit",
         "E&xit",
         {"application-exit"},
         SP::SP_DialogCloseButton,
         {QKeySequence::Quit},
         "Close Ordwell",
         nullptr,
         nullptr},
        {"cut",
         "Cu&t",
         {"edit-cut"},
         SP::SP_CustomBase,
         {QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)},
         "Move the selected line to the clipboard",
         nullptr,
         &MacroView::Cut},
        {"copy",
         "&Copy",
         {"edit-copy"},
         SP::SP_CustomBase,
         {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)},
         "Copy the selected line to the clipboard",
         nullptr,
         &MacroView::Copy},
        {"paste",
         "&Paste",
         {"edit-paste"},
         SP::SP_CustomBase,
         {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)},
         "Insert the lines on the clipboard after the selected line",
         nullptr,
         &MacroView::Paste},
        {"addLine",
         "&Add Line...",
         {"list-add"},
         SP::SP_FileDialogNewFolder,
         {QKeySequence(Qt::CTRL | Qt::Key_A)},
         "Build a new line with the Command Wizard",
         nullptr,
         &MacroView::AddLine},
        {"editLine",
         "&Edit Line...",
         {"document-properties", "document-edit"},
         SP::SP_FileDialogDetailedView,
         {QKeySequence(Qt::CTRL | Qt::Key_E)},
         "Change the selected line with the Command Wizard",
         nullptr,
         &MacroView::EditLine},
        {"deleteLine",
         "&Delete Line",
         {"list-remove", "edit-delete"},
         SP::SP_TrashIcon,
         {QKeySequence(Qt::CTRL | Qt::Key_D)},
         "Delete the selected line",
         nullptr,
         &MacroView::DeleteLine},
        {"moveUp",
         "Move &Up",
         {"go-up"},
         SP::SP_ArrowUp,
         // Window managers take Ctrl+Alt+arrows for workspaces; Alt+arrows
         // are free on every common desktop, as in many editors.
         {QKeySequence(Qt::ALT | Qt::Key_Up), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Up)},
         "Move the selected line up",
         nullptr,
         &MacroView::MoveUp},
        {"moveDown",
         "Move Do&wn",
         {"go-down"},
         SP::SP_ArrowDown,
         {QKeySequence(Qt::ALT | Qt::Key_Down), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Down)},
         "Move the selected line down",
         nullptr,
         &MacroView::MoveDown},
        {"comment",
         "Co&mment",
         {"format-text-strikethrough"},
         SP::SP_CustomBase,
         {QKeySequence(Qt::CTRL | Qt::Key_M)},
         "Turn the selected line into a comment, or back",
         nullptr,
         &MacroView::ToggleComment},
        {"commentNext",
         "Comment and &Next Line",
         {},
         SP::SP_CustomBase,
         {QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_C)},
         "Comment the selected line and select the next one",
         nullptr,
         &MacroView::CommentAndNextLine},
        {"blankLine",
         "&Blank Line",
         {"insert-text"},
         SP::SP_CustomBase,
         {QKeySequence(Qt::CTRL | Qt::Key_B)},
         "Insert an empty line before the selected line",
         nullptr,
         &MacroView::BlankLine},
        {"manualEdit",
         "Manual Ed&it...",
         {"accessories-text-editor"},
         SP::SP_CustomBase,
         {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)},
         "Type the selected line by hand",
         nullptr,
         &MacroView::ManualEdit},
        {"externalEditor",
         "E&xternal Editor",
         {"text-editor", "accessories-text-editor"},
         SP::SP_CustomBase,
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E)},
         "Open the macro file in your text editor",
         nullptr,
         &MacroView::OpenInExternalEditor},
        {"run",
         "&Run",
         {"media-playback-start"},
         SP::SP_MediaPlay,
         {QKeySequence(Qt::CTRL | Qt::Key_R)},
         "Run the macro",
         nullptr,
         &MacroView::RunOrStop},
        {"testLine",
         "&Test Line",
         {"system-run"},
         SP::SP_MediaSeekForward,
         {QKeySequence(Qt::CTRL | Qt::Key_T)},
         "Run the selected line alone",
         nullptr,
         &MacroView::TestLine},
        {"goToLine",
         "&Go To Line...",
         {"go-jump"},
         SP::SP_CustomBase,
         {QKeySequence(Qt::CTRL | Qt::Key_G)},
         "Select the line of a number",
         nullptr,
         &MacroView::GoToLine},
        {"checkMacro",
         "&Check",
         {"tools-check-spelling", "dialog-warning"},
         SP::SP_MessageBoxWarning,
         {QKeySequence(Qt::Key_F7)},
         "List the lines that would fail, or go wrong, when the macro runs, and go to the next",
         nullptr,
         &MacroView::CheckMacro},
        {"dumpVariables",
         "Dump &Variables",
         {"utilities-terminal", "dialog-information"},
         SP::SP_MessageBoxInformation,
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D)},
         "Show the variables as the last run left them",
         nullptr,
         &MacroView::DumpVariables},
        {"record",
         "Rec&ord",
         {"media-record"},
         SP::SP_CustomBase,
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R)},
         "Record keys, clicks and pauses as lines at the selection until the stop key",
         &MainWindow::Record,
         nullptr},
        {"hotkeys",
         "&Hotkeys...",
         {"preferences-desktop-keyboard-shortcuts", "input-keyboard"},
         SP::SP_CustomBase,
         {},
         "The key combinations that run macros while ordwell --hotkeys runs",
         &MainWindow::EditHotkeys,
         nullptr},
        {"font",
         "&Font...",
         {"preferences-desktop-font"},
         SP::SP_CustomBase,
         {},
         "Choose the font of the list",
         nullptr,
         &MacroView::ChooseFont},
        {"systemOptions",
         "S&ystem Options...",
         {"preferences-system"},
         SP::SP_CustomBase,
         {},
         "Change the key delay, the editor program and the log files",
         &MainWindow::ShowSystemOptions,
         nullptr},
        {"helpTopics",
         "&Help Topics",
         {"help-contents", "help-browser"},
         SP::SP_DialogHelpButton,
         {},
         "Open the help",
         nullptr,
         nullptr},
        {"helpSearch",
         "&Search...",
         {"system-search", "edit-find"},
         SP::SP_CustomBase,
         {},
         "Find a command in the help",
         nullptr,
         nullptr},
        {"usingHelp", "&Using Help", {}, SP::SP_CustomBase, {}, "How to use the help", nullptr, nullptr},
        {"howDoI", "How Do I...", {"help-faq"}, SP::SP_CustomBase, {}, "Common tasks step by step", nullptr, nullptr},
        {"commandReference",
         "&Command Reference",
         {},
         SP::SP_CustomBase,
         {},
         "Every command of the macro language",
         nullptr,
         nullptr},
        {"lineHelp",
         "Help on the &Line",
         {"help-contextual"},
         SP::SP_CustomBase,
         {QKeySequence::HelpContents},
         "The help page of the selected line's command",
         nullptr,
         &MacroView::ShowLineHelp},
        {"about",
         "&About Ordwell...",
         {"help-about"},
         SP::SP_CustomBase,
         {},
         "The program's version and the machine's memory and disk space",
         &MainWindow::ShowAbout,
         nullptr},
    };
    for (const Row& row : rows) {
        const QIcon icon = ThemeIcon(row.icons, row.fallback);
        QAction* action = MakeAction(row.name, tr(row.text), icon);
        action->setShortcuts(row.keys);
        action->setStatusTip(tr(row.tip));
        if (row.own != nullptr) {
            connect(action, &QAction::triggered, this, row.own);
        } else if (row.view != nullptr) {
            connect(action, &QAction::triggered, m_view, row.view);
        }
    }
    MakeUndoActions();
    connect(Action("save"), &QAction::triggered, this, [this] { SaveFile(); });
    connect(Action("saveAs"), &QAction::triggered, this, [this] { SaveAs(); });
    connect(Action("exit"), &QAction::triggered, this, &QWidget::close);
    connect(Action("helpTopics"), &QAction::triggered, this, [this] { ShowHelp(std::string(kHelpContents)); });
    connect(Action("helpSearch"), &QAction::triggered, this,
            [this] { ShowHelp(std::string(kHelpCommandReference), true); });
    connect(Action("usingHelp"), &QAction::triggered, this, [this] { ShowHelp(std::string(kHelpUsingHelp)); });
    connect(Action("howDoI"), &QAction::triggered, this, [this] { ShowHelp(std::string(kHelpHowDoI)); });
    connect(Action("commandReference"), &QAction::triggered, this,
            [this] { ShowHelp(std::string(kHelpCommandReference)); });
}

void MainWindow::MakeUndoActions() {
    // Their texts name the step they take back or do again ("Undo Delete
    // Line"); they are disabled when there is none.
    QUndoStack& stack = m_view->UndoStack();
    QAction* undo = stack.createUndoAction(this, tr("&Undo"));
    undo->setObjectName("undo");
    undo->setIcon(ThemeIcon({"edit-undo"}, QStyle::SP_ArrowBack));
    undo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    undo->setStatusTip(tr("Take back the last change"));
    QAction* redo = stack.createRedoAction(this, tr("&Redo"));
    redo->setObjectName("redo");
    redo->setIcon(ThemeIcon({"edit-redo"}, QStyle::SP_ArrowForward));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    redo->setStatusTip(tr("Make the change taken back again"));
    addAction(undo);
    addAction(redo);
}

void MainWindow::MakeMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addActions({Action("new"), Action("open"), Action("save"), Action("saveAs")});
    file->addSeparator();
    file->addActions({Action("print"), Action("printPreview"), Action("printSetup")});
    file->addSeparator();
    m_recentMenu = file;
    m_recentSeparator = file->addSeparator();
    file->addAction(Action("exit"));
    UpdateRecentMenu();

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->addActions({Action("undo"), Action("redo")});
    edit->addSeparator();
    edit->addActions({Action("cut"), Action("copy"), Action("paste")});
    edit->addSeparator();
    edit->addActions({Action("addLine"), Action("editLine"), Action("deleteLine")});
    edit->addSeparator();
    edit->addActions({Action("moveUp"), Action("moveDown")});
    edit->addSeparator();
    edit->addActions({Action("comment"), Action("commentNext"), Action("blankLine"), Action("manualEdit")});
    edit->addSeparator();
    edit->addAction(Action("goToLine"));
    edit->addSeparator();
    edit->addAction(Action("externalEditor"));

    QMenu* macro = menuBar()->addMenu(tr("&Macro"));
    macro->addActions({Action("run"), Action("testLine"), Action("checkMacro"), Action("dumpVariables")});
    macro->addSeparator();
    macro->addAction(Action("record"));
    macro->addAction(Action("hotkeys"));

    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->setObjectName("viewMenu");

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->addActions({Action("helpTopics"), Action("lineHelp"), Action("helpSearch"), Action("usingHelp")});
    help->addSeparator();
    help->addActions({Action("howDoI"), Action("commandReference")});
    help->addSeparator();
    help->addAction(Action("about"));
}

void MainWindow::MakeToolbars() {
    QToolBar* main = addToolBar(tr("Main"));
    main->setObjectName("mainToolbar");
    const auto addGroup = [main, this](std::initializer_list<const char*> names) {
        for (const char* name : names) {
            main->addAction(Action(name));
        }
    };
    addGroup({"new", "open", "save"});
    main->addSeparator();
    addGroup({"cut", "copy", "paste"});
    main->addSeparator();
    addGroup({"undo", "redo"});
    main->addSeparator();
    addGroup({"print", "helpTopics"});
    main->addSeparator();
    addGroup({"addLine", "deleteLine", "editLine"});
    main->addSeparator();
    addGroup({"moveUp", "moveDown", "blankLine", "comment", "dumpVariables"});
    main->toggleViewAction()->setText(tr("&Edit Toolbar"));
    m_toolbars.push_back(main);

    for (const CommandBar& bar : CommandBars()) {
        // One bar a row, as the minimum height reckons: in one row they would
        // hide most of their buttons behind the extension arrow.
        addToolBarBreak();
        QToolBar* toolbar = addToolBar(tr(bar.title));
        toolbar->setObjectName(bar.name);
        for (const std::string_view command : bar.commands) {
            if (command == "/") {
                toolbar->addSeparator();
                continue;
            }
            const LineTemplate* button = FindLineTemplate(command);
            // Every button is a command's but Label's.
            const CommandInfo* info = FindCommand(command);
            QAction* action =
                toolbar->addAction(info != nullptr ? CommandIcon(info->id) : LabelIcon(), ToQString(command));
            action->setObjectName("template" + ToQString(command));
            action->setToolTip(ToQString(button->tooltip));
            action->setStatusTip(
                button->OpensWizard()
                    ? tr("Build a %1 line with the Command Wizard, before the selected line").arg(ToQString(command))
                    : tr("Insert %1 before the selected line").arg(ToQString(button->line)));
            connect(action, &QAction::triggered, m_view, [this, command] { m_view->InsertTemplate(command); });
        }
        toolbar->toggleViewAction()->setText(tr(bar.menuText));
        m_toolbars.push_back(toolbar);
    }

    // The first start shows only the main toolbar; after that the layout
    // saved when the window last closed.
    Settings& settings = m_engine.GetSettings();
    if (settings.GetInt("Init", "FirstTime", 1) != 0) {
        settings.WriteInt("Init", "FirstTime", 0);
        for (size_t i = 1; i < m_toolbars.size(); ++i) {
            m_toolbars[i]->hide();
        }
    }
    const std::string saved = settings.GetString(kToolbarSection, kToolbarKey, "");
    if (!saved.empty()) {
        restoreState(QByteArray::fromBase64(QByteArray::fromStdString(saved)), kToolbarLayoutVersion);
    }

    QMenu* view = menuBar()->findChild<QMenu*>("viewMenu");
    for (QToolBar* toolbar : m_toolbars) {
        view->addAction(toolbar->toggleViewAction());
        connect(toolbar, &QToolBar::visibilityChanged, this, &MainWindow::UpdateMinimumSize);
    }
    QAction* statusBarAction = MakeAction("statusBar", tr("&Status Bar"));
    statusBarAction->setCheckable(true);
    statusBarAction->setChecked(true);
    statusBarAction->setStatusTip(tr("Show or hide the status bar"));
    connect(statusBarAction, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
    view->addAction(statusBarAction);
    view->addSeparator();
    view->addActions({Action("font"), Action("systemOptions")});
    UpdateMinimumSize();
}

void MainWindow::MakeStatusBar() {
    QStatusBar* bar = statusBar();
    m_runState = new QLabel(tr("Ready"), bar);
    m_runState->setObjectName("runState");
    bar->addWidget(m_runState, 1);
    connect(m_view, &MacroView::StatusChanged, m_runState, &QLabel::setText);
    m_caps = Indicator("CAP", bar);
    m_num = Indicator("NUM", bar);
    m_scroll = Indicator("SCRL", bar);
    for (QLabel* label : {m_caps, m_num, m_scroll}) {
        bar->addPermanentWidget(label);
    }
    m_engine.GetPlatform().keyboard.WatchLockKeys([this] { UpdateLockKeys(); });
    UpdateLockKeys();
}

void MainWindow::UpdateLockKeys() {
    const std::optional<LockKeyState> state = m_engine.GetPlatform().keyboard.LockKeys();
    ShowIndicator(m_caps, state && state->capsLock);
    ShowIndicator(m_num, state && state->numLock);
    ShowIndicator(m_scroll, state && state->scrollLock);
}

void MainWindow::UpdateMinimumSize() {
    int visible = 0;
    for (QToolBar* toolbar : m_toolbars) {
        visible += toolbar->isHidden() ? 0 : 1;
    }
    const FrameSize size = MinimumFrameSize(visible, m_toolbars.front()->sizeHint().height());
    setMinimumSize(size.width, size.height);
}

void MainWindow::UpdateTitle() {
    setWindowTitle(tr("%1[*] - Ordwell").arg(ToQString(m_document.Title())));
    setWindowModified(m_document.IsModified());
}

void MainWindow::UpdateRecentMenu() {
    for (QAction* action : m_recentMenu->actions()) {
        if (action->objectName().startsWith("recent")) {
            m_recentMenu->removeAction(action);
            action->deleteLater();
        }
    }
    int number = 1;
    for (const std::string& path : m_recent.Files()) {
        auto* action = new QAction(QString("&%1 %2").arg(number).arg(ToQString(path)), m_recentMenu);
        action->setObjectName(QString("recent%1").arg(number));
        connect(action, &QAction::triggered, this, [this, path] { OpenFile(path); });
        m_recentMenu->insertAction(m_recentSeparator, action);
        ++number;
    }
}

void MainWindow::RunningChanged(bool running) {
    QAction* run = Action("run");
    run->setText(running ? tr("&Stop") : tr("&Run"));
    run->setIcon(running ? ThemeIcon({"media-playback-stop", "process-stop"}, QStyle::SP_MediaStop)
                         : ThemeIcon({"media-playback-start"}, QStyle::SP_MediaPlay));
    run->setStatusTip(running ? tr("Stop the macro after its current line") : tr("Run the macro"));
    // A recording would take the run's stop key.
    Action("record")->setEnabled(!running);
    if (running) {
        return;
    }
    // The runs have unwound; what waited for them may go on.
    UpdateLockKeys();
    if (m_quitAfterRun) {
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    } else if (m_closeAfterRun) {
        m_closeAfterRun = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void MainWindow::StopSignalled() {
    if (m_view->Runs().Active()) {
        m_quitAfterRun = true;
        m_view->Runs().StopAll();
        return;
    }
    QCoreApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_view->Runs().Active()) {
        // A run's commands are still on the stack: ask it to stop, and close
        // once it has ended.
        m_closeAfterRun = true;
        m_view->Runs().StopAll();
        event->ignore();
        return;
    }
    if (!SaveModified()) {
        event->ignore();
        return;
    }
    SavePlacement();
    m_engine.GetSettings().WriteString(kToolbarSection, kToolbarKey,
                                       saveState(kToolbarLayoutVersion).toBase64().toStdString());
    HelpWindow::CloseOpen();
    event->accept();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        // Asked once the activation is over, not from inside it.
        QTimer::singleShot(0, m_view, &MacroView::CheckChangedOnDisk);
        UpdateLockKeys();
    }
}

void MainWindow::RestorePlacement() {
    const auto placement = ParseWindowPlacement(m_engine.GetSettings().GetString(kPlacementSection, kPlacementKey, ""));
    if (!placement) {
        resize(720, 540);
        return;
    }
    std::vector<ScreenRect> screens;
    const QList<QScreen*> all = QGuiApplication::screens();
    for (QScreen* screen : all) {
        const QRect area = screen->availableGeometry();
        const ScreenRect rect{area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
        if (screen == QGuiApplication::primaryScreen()) {
            screens.insert(screens.begin(), rect);
        } else {
            screens.push_back(rect);
        }
    }
    const ScreenRect rect = KeepOnScreen(placement->normal, screens);
    setGeometry(rect.left, rect.top, std::max(rect.Width(), minimumWidth()), std::max(rect.Height(), minimumHeight()));
}

void MainWindow::SavePlacement() {
    const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    const ScreenRect rect{normal.left(), normal.top(), normal.left() + normal.width(), normal.top() + normal.height()};
    m_engine.GetSettings().WriteString(kPlacementSection, kPlacementKey,
                                       FormatWindowPlacement(PlacementOf(rect, isMaximized())));
}

void MainWindow::ShowSystemOptions() {
    SystemOptionsDialog::Ask(m_engine.GetSettings(), this);
}

void MainWindow::Record() {
    // Out of the way while recording, so that what the user does goes to the
    // other windows; back at the stop key.
    // Hidden once the recording has begun, so that what the user does after
    // is all recorded.
    const bool wasMaximized = isMaximized();
    const RecordedMacro macro = RecordMacro(m_engine.GetPlatform(), [this](const std::string& stopKey) {
        statusBar()->showMessage(tr("Recording: press %1 to stop").arg(QString::fromStdString(stopKey)));
        hide();
    });
    if (wasMaximized) {
        showMaximized();
    } else {
        show();
    }
    raise();
    activateWindow();
    statusBar()->clearMessage();
    if (!macro.recorded) {
        QMessageBox::warning(this, tr("Record"), tr("Cannot record: %1").arg(QString::fromStdString(macro.problem)));
        return;
    }
    m_view->InsertRecorded(macro.lines);
}

void MainWindow::EditHotkeys() {
    HotkeysDialog::Ask(m_engine.GetSettings(), m_engine.GetPlatform().keyGrabs, this);
}

void MainWindow::ShowAbout() {
    AboutDialog about(m_engine.GetPlatform(), this);
    about.exec();
}

void MainWindow::ShowHelp(const std::string& page, bool focusFind) {
    HelpWindow::ShowPage(page, this, focusFind);
}

void MainWindow::NewFile() {
    if (!SaveModified()) {
        return;
    }
    m_document.New();
    m_view->Fill();
    UpdateTitle();
}

void MainWindow::ChooseAndOpen() {
    const QString folder =
        m_document.Path().empty() ? QString() : QFileInfo(ToQString(m_document.Path())).absolutePath();
    const QString path = QFileDialog::getOpenFileName(this, tr("Open"), folder, tr(kFileFilter));
    if (!path.isEmpty()) {
        OpenFile(ToUtf8(path));
    }
}

bool MainWindow::OpenFile(const std::string& path) {
    if (!SaveModified()) {
        return false;
    }
    const DocumentOpen result = m_document.Open(path);
    if (result != DocumentOpen::Opened) {
        QMessageBox::warning(this, tr("Ordwell"),
                             result == DocumentOpen::Missing
                                 ? tr("The file %1 does not exist.").arg(ToQString(path))
                                 : tr("The file %1 cannot be opened as a macro.").arg(ToQString(path)));
        m_recent.Remove(path);
        UpdateRecentMenu();
        return false;
    }
    m_recent.Add(m_document.Path());
    UpdateRecentMenu();
    m_view->Fill();
    UpdateTitle();
    return true;
}

void MainWindow::OpenFromCommandLine(const std::string& path) {
    switch (m_document.Open(path)) {
    case DocumentOpen::Opened:
        m_recent.Add(m_document.Path());
        UpdateRecentMenu();
        break;
    case DocumentOpen::Missing:
        m_document.New();
        m_document.SetPath(path);
        break;
    case DocumentOpen::Unreadable:
        m_document.New();
        QMessageBox::warning(this, tr("Ordwell"), tr("The file %1 cannot be opened as a macro.").arg(ToQString(path)));
        break;
    }
    m_view->Fill();
    UpdateTitle();
}

bool MainWindow::SaveModified() {
    if (!m_document.IsModified()) {
        return true;
    }
    const auto answer =
        QMessageBox::question(this, tr("Ordwell"), tr("Save changes to %1?").arg(ToQString(m_document.Title())),
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel) {
        return false;
    }
    return answer == QMessageBox::No || SaveFile();
}

bool MainWindow::SaveFile() {
    if (m_document.Path().empty()) {
        return SaveAs();
    }
    if (!m_document.Save(m_document.Path())) {
        QMessageBox::warning(this, tr("Ordwell"),
                             tr("The file %1 could not be saved.").arg(ToQString(m_document.Path())));
        return false;
    }
    m_view->Saved();
    UpdateTitle();
    return true;
}

bool MainWindow::SaveAs() {
    QString path = QFileDialog::getSaveFileName(
        this, tr("Save As"), m_document.Path().empty() ? tr("Untitled.ow") : ToQString(m_document.Path()),
        tr(kFileFilter));
    if (path.isEmpty()) {
        return false;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += ".ow";
    }
    if (!m_document.Save(ToUtf8(path))) {
        QMessageBox::warning(this, tr("Ordwell"), tr("The file %1 could not be saved.").arg(path));
        return false;
    }
    m_view->Saved();
    m_recent.Add(m_document.Path());
    UpdateRecentMenu();
    UpdateTitle();
    return true;
}

void MainWindow::DocumentReloaded() {
    UpdateTitle();
}

} // namespace ordwell
