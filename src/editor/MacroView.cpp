#include "MacroView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "CommandWizard.h"
#include "EditLineDialog.h"
#include "ExternalEditor.h"
#include "FindingsPanel.h"
#include "FontMapping.h"
#include "HelpPages.h"
#include "HelpWindow.h"
#include "LineListModel.h"
#include "LineListView.h"
#include "LineTemplates.h"
#include "LineUndoCommand.h"
#include "MacroDocument.h"
#include "MacroPrinter.h"
#include "QtText.h"
#include "WizardLine.h"
#include "engine/Engine.h"
#include "engine/MacroFile.h"
#include "engine/MacroLine.h"
#include "engine/SystemSettings.h"
#include "input/KeyTextCheck.h"

namespace ordwell {

namespace {

QPushButton* CommandButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

} // namespace

MacroView::MacroView(Engine& engine, MacroDocument& document, DocumentFiles& files, QWidget* parent)
    : QWidget(parent), m_engine(engine), m_document(document), m_files(files), m_editor(document), m_runs(engine) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 6, 6, 6);

    // The list marks the lines that would fail: key texts are checked, and
    // RunMacro's files looked for, as a run would find them.
    CheckContext check;
    check.keyText = CheckKeyText;
    check.fileExists = [&engine](std::string_view file) {
        return LoadMacroFile(engine.GetPlatform(), file).status != MacroLoad::Missing;
    };
    m_editor.SetCheckContext(std::move(check));
    m_undo = new QUndoStack(this);
    connect(m_undo, &QUndoStack::indexChanged, this, &MacroView::UpdateModified);
    connect(m_undo, &QUndoStack::cleanChanged, this, &MacroView::UpdateModified);
    m_model = new LineListModel(m_editor, this);
    m_list = new LineListView(this);
    m_list->setObjectName("lines");
    m_list->setModel(m_model);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setUniformItemSizes(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    grid->addWidget(m_list, 0, 0);

    auto* commands = new QGroupBox(tr("Commands"), this);
    auto* buttons = new QVBoxLayout(commands);
    QPushButton* comment = CommandButton(tr("&Comment"), "comment", commands);
    QPushButton* blank = CommandButton(tr("&Blank Line"), "blankLine", commands);
    QPushButton* up = CommandButton(tr("Move &Up"), "moveUp", commands);
    QPushButton* down = CommandButton(tr("Move &Down"), "moveDown", commands);
    m_run = CommandButton(tr("&Run"), "run", commands);
    m_test = CommandButton(tr("&Test Line"), "testLine", commands);
    for (QPushButton* button : {comment, blank, up, down, m_run, m_test}) {
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    grid->addWidget(commands, 0, 1);

    auto* helpBox = new QGroupBox(tr("Help"), this);
    auto* helpLayout = new QVBoxLayout(helpBox);
    m_help = new QLabel(helpBox);
    m_help->setObjectName("help");
    m_help->setTextFormat(Qt::PlainText);
    m_help->setWordWrap(true);
    m_help->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_help->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_help->setFixedHeight(m_help->fontMetrics().lineSpacing() * 3 + 4);
    helpLayout->addWidget(m_help);
    m_findings = new FindingsPanel(this);
    m_findings->SetGoToLine([this](std::size_t index) {
        if (index < m_editor.Count()) {
            SelectLine(index);
            m_list->setFocus();
        }
    });
    m_findings->hide();
    grid->addWidget(m_findings, 1, 0, 1, 2);
    grid->addWidget(helpBox, 2, 0, 1, 2);
    grid->setRowStretch(0, 1);
    grid->setColumnStretch(0, 1);

    connect(comment, &QPushButton::clicked, this, &MacroView::ToggleComment);
    connect(blank, &QPushButton::clicked, this, &MacroView::BlankLine);
    connect(up, &QPushButton::clicked, this, &MacroView::MoveUp);
    connect(down, &QPushButton::clicked, this, &MacroView::MoveDown);
    connect(m_run, &QPushButton::clicked, this, &MacroView::RunOrStop);
    connect(m_test, &QPushButton::clicked, this, &MacroView::TestLine);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { SelectionMoved(current.isValid() ? current.row() : -1); });
    connect(m_list, &QListView::doubleClicked, this, &MacroView::EditLine);
    connect(m_list, &QListView::customContextMenuRequested, this, [this](const QPoint& at) {
        if (!m_contextActions.isEmpty()) {
            QMenu::exec(m_contextActions, m_list->viewport()->mapToGlobal(at), nullptr, this);
        }
    });
    // The line a run is on is looked at a few times a second, so that a fast
    // loop costs nothing for it.
    m_runningLine = new QTimer(this);
    m_runningLine->setInterval(250);
    connect(m_runningLine, &QTimer::timeout, this, &MacroView::ShowRunningLine);
    m_runs.SetActiveChanged([this](bool active) {
        m_run->setText(active ? tr("&Stop") : tr("&Run"));
        if (active) {
            m_runningLine->start();
        } else {
            m_runningLine->stop();
        }
        ShowRunningLine();
        emit RunningChanged(active);
    });
    m_test->setEnabled(false);
    setFocusProxy(m_list);
    LoadFont();
}

MacroView::~MacroView() {
    // The model stops watching the editor before the editor goes.
    delete m_model;
    // The stack empties itself as it goes, which this view no longer hears.
    m_undo->disconnect(this);
}

QPrinter& MacroView::Printer() {
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *m_printer;
}

bool MacroView::PrintOn(QPrinter& printer) {
    const bool lineNumbers =
        m_engine.GetSettings().GetInt(kSystemSection, kPrintLineNumbersKey, kDefaultPrintLineNumbers) != 0;
    printer.setDocName(ToQString(m_document.Title()));
    return PrintMacro(printer, m_document.Lines(), m_document.Title(), m_list->font(), lineNumbers);
}

void MacroView::Print() {
    QPrintDialog dialog(&Printer(), this);
    dialog.setWindowTitle(tr("Print"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange);
    dialog.setMinMax(1, 65535);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    if (!PrintOn(Printer())) {
        QMessageBox::warning(this, tr("Ordwell"), tr("The macro could not be printed."));
    }
}

void MacroView::PrintPreview() {
    QPrintPreviewDialog dialog(&Printer(), this);
    dialog.setWindowTitle(tr("Print Preview"));
    if (auto* pages = dialog.findChild<QPrintPreviewWidget*>()) {
        // Two pages side by side.
        pages->setViewMode(QPrintPreviewWidget::FacingPagesView);
    }
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) { PrintOn(*printer); });
    dialog.resize(900, 700);
    dialog.exec();
}

void MacroView::PrintSetup() {
    QPageSetupDialog dialog(&Printer(), this);
    dialog.setWindowTitle(tr("Print Setup"));
    dialog.exec();
}

void MacroView::Fill() {
    m_findings->hide();
    m_undo->clear();
    m_editor.Fill();
    UpdateWidestLine();
    ShowSelection();
    emit LineCountChanged(static_cast<int>(m_editor.Count()));
}

void MacroView::ShowSelection() {
    {
        const QSignalBlocker blocker(m_list->selectionModel());
        if (const auto selected = m_editor.Selection()) {
            const QModelIndex index = m_model->index(static_cast<int>(*selected));
            m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
            m_list->scrollTo(index);
        } else {
            m_list->selectionModel()->clearSelection();
            m_list->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        }
    }
    // The list may have moved its own current row while lines came and went.
    m_list->viewport()->update();
    m_help->setText(ToQString(m_editor.HelpText()));
    if (m_testable != m_editor.Testable()) {
        m_testable = m_editor.Testable();
        emit TestableChanged(m_testable);
    }
    m_test->setEnabled(m_testable);
}

void MacroView::SelectionMoved(int row) {
    m_editor.Select(row >= 0 ? std::optional<std::size_t>(static_cast<std::size_t>(row)) : std::nullopt);
    ShowSelection();
}

void MacroView::Saved() {
    m_undo->setClean();
    UpdateModified();
}

void MacroView::UpdateModified() {
    if (m_document.IsModified() != !m_undo->isClean()) {
        m_document.SetModified(!m_undo->isClean());
        emit Edited();
    }
}

void MacroView::Replay(const LineEdit& edit, bool undo) {
    {
        const QSignalBlocker blocker(m_list->selectionModel());
        undo ? m_editor.Undo(edit) : m_editor.Redo(edit);
    }
    AfterEdit();
}

void MacroView::UpdateWidestLine() {
    const std::vector<std::string>& lines = m_editor.Lines();
    const auto widest = std::max_element(
        lines.begin(), lines.end(), [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
    m_list->SetWidestText(widest == lines.end() ? QString() : ToQString(*widest));
}

void MacroView::AfterEdit() {
    if (m_findings->isVisible()) {
        // The listing follows the lines while it is shown.
        m_findings->Fill(m_editor.Findings(), m_editor.Lines(), m_document.Title());
    }
    UpdateWidestLine();
    ShowSelection();
    emit Edited();
    emit LineCountChanged(static_cast<int>(m_editor.Count()));
}

std::optional<std::string> MacroView::Wizard(const std::string& line) {
    return CommandWizard::Ask(m_engine.GetPlatform().windows, line, this);
}

// Each command asks its dialog first, then changes the lines in one go: the
// list follows the changes without feeding its own row changes back. What
// the command changed becomes one step to undo; a command that changed
// nothing leaves no step and the modified flag as it was.
template <class Change> void MacroView::Edit(const QString& name, Change&& change) {
    LineEdit edit;
    edit.selectionBefore = m_editor.Selection();
    {
        const QSignalBlocker blocker(m_list->selectionModel());
        change();
    }
    edit.steps = m_editor.TakeSteps();
    edit.selectionAfter = m_editor.Selection();
    if (!edit.steps.empty()) {
        m_undo->push(new LineUndoCommand(name, std::move(edit),
                                         [this](const LineEdit& step, bool undo) { Replay(step, undo); }));
    }
    AfterEdit();
}

void MacroView::AddLine() {
    const std::optional<std::string> line = Wizard({});
    Edit(tr("Add Line"), [&] { m_editor.AddLine(line); });
}

void MacroView::EditLine() {
    std::optional<std::string> line;
    if (const std::string* selected = m_editor.SelectedLine()) {
        const std::string original = *selected;
        if (std::optional<std::string> built = Wizard(original)) {
            line = EditedWizardLine(original, std::move(*built));
        }
    }
    Edit(tr("Edit Line"), [&] { m_editor.EditLine(line); });
}

void MacroView::DeleteLine() {
    Edit(tr("Delete Line"), [&] { m_editor.DeleteLine(); });
}

void MacroView::MoveUp() {
    Edit(tr("Move Up"), [&] { m_editor.MoveUp(); });
}

void MacroView::MoveDown() {
    Edit(tr("Move Down"), [&] { m_editor.MoveDown(); });
}

void MacroView::ToggleComment() {
    Edit(tr("Comment"), [&] { m_editor.ToggleComment(); });
}

void MacroView::CommentAndNextLine() {
    Edit(tr("Comment"), [&] { m_editor.CommentAndNextLine(); });
}

void MacroView::BlankLine() {
    Edit(tr("Blank Line"), [&] { m_editor.BlankLine(); });
}

void MacroView::ManualEdit() {
    const std::string* selected = m_editor.SelectedLine();
    const std::optional<std::string> text = EditLineDialog::Ask(selected != nullptr ? *selected : std::string(), this);
    Edit(tr("Manual Edit"), [&] { m_editor.ManualEdit(text); });
}

void MacroView::InsertTemplate(std::string_view command) {
    const LineTemplate* button = FindLineTemplate(command);
    if (button == nullptr) {
        return;
    }
    const std::optional<std::string> line =
        button->OpensWizard() ? Wizard(std::string(button->wizardLine)) : std::string(button->line);
    Edit(tr("Insert %1").arg(ToQString(command)), [&] { m_editor.InsertTemplateLine(line); });
}

void MacroView::Cut() {
    std::optional<std::string> copied;
    Edit(tr("Cut"), [&] { copied = m_editor.Cut(); });
    if (copied) {
        QGuiApplication::clipboard()->setText(ToQString(*copied));
    }
}

void MacroView::Copy() {
    if (const std::optional<std::string> line = m_editor.Copy()) {
        QGuiApplication::clipboard()->setText(ToQString(*line));
    }
}

void MacroView::Paste() {
    const QMimeData* offered = QGuiApplication::clipboard()->mimeData();
    std::optional<std::string> text;
    if (offered != nullptr && offered->hasText()) {
        text = ToUtf8(offered->text());
    }
    if (text) {
        Edit(tr("Paste"), [&] { m_editor.Paste(text); });
    }
}

void MacroView::InsertRecorded(const std::vector<std::string>& lines) {
    if (!lines.empty()) {
        Edit(tr("Record"), [&] { m_editor.InsertLines(lines); });
    }
}

void MacroView::RunOrStop() {
    if (m_runs.Active()) {
        m_runs.StopAll();
        return;
    }
    if (!m_files.SaveModified() || m_document.Lines().empty()) {
        return;
    }
    const std::string name = m_document.Path().empty() ? "untitled" : m_document.Title();
    if (m_runs.Run(m_document.Lines(), name) == RunOutcome::Failed && m_runs.FailedLine() > 0 &&
        static_cast<std::size_t>(m_runs.FailedLine()) <= m_editor.Count()) {
        SelectLine(static_cast<std::size_t>(m_runs.FailedLine() - 1));
    }
}

void MacroView::ShowRunningLine() {
    const int line = m_runs.Active() ? m_runs.RunningLine() : 0;
    m_list->SetRunningRow(line - 1);
    emit StatusChanged(!m_runs.Active() ? tr("Ready") : line > 0 ? tr("Running line %1").arg(line) : tr("Running"));
}

int MacroView::MarkedRunningRow() const {
    return m_list->RunningRow();
}

void MacroView::SelectLine(std::size_t index) {
    m_editor.Select(index);
    ShowSelection();
    m_list->scrollTo(m_list->currentIndex(), QAbstractItemView::PositionAtCenter);
}

void MacroView::GoToLine() {
    const int count = static_cast<int>(m_editor.Count());
    if (count == 0) {
        return;
    }
    const int current = static_cast<int>(m_editor.Selection().value_or(0)) + 1;
    bool ok = false;
    const int line = QInputDialog::getInt(this, tr("Go To Line"), tr("Line number (1 to %1):").arg(count), current, 1,
                                          count, 1, &ok);
    if (ok) {
        SelectLine(static_cast<std::size_t>(line - 1));
    }
}

void MacroView::TestLine() {
    if (const std::string* line = m_editor.SelectedLine()) {
        m_runs.TestLine(*line);
    }
}

void MacroView::CheckMacro() {
    m_findings->Fill(m_editor.Findings(), m_editor.Lines(), m_document.Title());
    const std::optional<std::size_t> next = m_editor.Findings().Next(m_editor.Lines(), m_editor.Selection());
    if (!next) {
        QMessageBox::information(this, tr("Ordwell"), tr("The check found nothing: no line would fail."));
        return;
    }
    SelectLine(*next);
}

void MacroView::DumpVariables() {
    m_runs.DumpVariables(m_document.Lines());
}

void MacroView::OpenInExternalEditor() {
    const auto ask = [this] {
        const auto answer = QMessageBox::question(this, tr("Ordwell"), tr("File has been modified. Save changes?"),
                                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        return answer == QMessageBox::Yes  ? SaveAnswer::Yes
               : answer == QMessageBox::No ? SaveAnswer::No
                                           : SaveAnswer::Cancel;
    };
    if (!SaveBeforeExternalEdit(
            m_document, [this] { return m_files.SaveFile(); }, ask) ||
        m_document.Path().empty()) {
        return;
    }
    const std::string editor = m_engine.GetSettings().GetString(kSystemSection, kEditorKey, kDefaultEditor);
    switch (StartExternalEditor(m_engine.GetPlatform().processes, editor, m_document.Path())) {
    case EditorStart::Started:
        break;
    case EditorStart::NotFound:
        QMessageBox::warning(this, tr("Ordwell"),
                             tr("The editor program \"%1\" was not found. Name another one in the setting Editor "
                                "(section System).")
                                 .arg(ToQString(editor)));
        break;
    case EditorStart::Failed:
        QMessageBox::warning(this, tr("Ordwell"),
                             tr("The editor program \"%1\" could not be started.").arg(ToQString(editor)));
        break;
    }
}

void MacroView::LoadFont() {
    const std::string stored = m_engine.GetSettings().GetString(kViewFontSection, kViewFontKey, "");
    if (stored.empty()) {
        // No font chosen yet: the desktop's own.
        return;
    }
    FontRecord record;
    ReadViewFont(stored, record);
    m_list->setFont(FontFromRecord(record, m_list->font()));
}

void MacroView::ChooseFont() {
    FontRecord record;
    ReadViewFont(m_engine.GetSettings().GetString(kViewFontSection, kViewFontKey, kDefaultViewFont), record);
    bool chosen = false;
    const QFont font = QFontDialog::getFont(&chosen, m_list->font(), this, tr("Font"));
    if (chosen) {
        m_list->setFont(font);
        UpdateWidestLine();
    }
    // Written after Cancel too: then it is the font the list shows.
    m_engine.GetSettings().WriteString(kViewFontSection, kViewFontKey,
                                       FormatViewFont(RecordFromFont(m_list->font(), record)));
}

void MacroView::ShowLineHelp() {
    const std::string* line = m_editor.SelectedLine();
    const std::string page =
        line != nullptr ? HelpPageForTopic(CMacroLine(*line, false).HelpTopic()) : std::string(kHelpContents);
    HelpWindow::ShowPage(page, this);
}

void MacroView::CheckChangedOnDisk() {
    if (m_askingToReload || !m_document.ChangedOnDisk()) {
        return;
    }
    // Recorded before asking, so that No is not asked again for the same
    // change.
    m_document.RefreshFileStatus();
    m_askingToReload = true;
    const auto answer = QMessageBox::question(
        this, tr("Ordwell"), tr("The file has been modified outside of the editor. Do you want to reload it?"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    m_askingToReload = false;
    if (answer != QMessageBox::Yes) {
        return;
    }
    // The reload is a step to undo like any edit: the lines as they were are
    // kept, and the lines read take their place through the editor.
    std::vector<std::string> shown = m_document.Lines();
    if (m_document.Open(m_document.Path()) == DocumentOpen::Opened) {
        std::vector<std::string> read = std::exchange(m_document.Lines(), std::move(shown));
        Edit(tr("Reload"), [&] { m_editor.Reload(std::move(read)); });
        // What is shown now is what the file holds.
        m_undo->setClean();
        UpdateModified();
        m_files.DocumentReloaded();
    }
}

} // namespace ordwell
