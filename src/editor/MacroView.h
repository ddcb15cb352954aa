#pragma once

#include <QList>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "EditorRuns.h"
#include "LineEditor.h"

class QAction;
class QLabel;
class QListView;
class QPrinter;
class QPushButton;
class QTimer;
class QUndoStack;

namespace ordwell {

class Engine;
class FindingsPanel;
class LineListModel;
class LineListView;
class MacroDocument;

// What the view needs of the window that holds the document's file.
class DocumentFiles {
public:
    virtual ~DocumentFiles() = default;
    // Asks whether to save a modified macro and saves it; false when the user
    // cancelled or the save failed.
    virtual bool SaveModified() = 0;
    // Saves, asking for a name when the macro has none; false when nothing
    // was saved.
    virtual bool SaveFile() = 0;
    // The document was read again from its file.
    virtual void DocumentReloaded() = 0;
};

// The editor's view of the macro: the list of its lines, a help box that
// explains the selected line, and buttons for the commands used most. It
// carries out every editing command on the list, runs the macro or one line,
// and asks to reload the file when another program changed it.
class MacroView final : public QWidget {
    Q_OBJECT
public:
    MacroView(Engine& engine, MacroDocument& document, DocumentFiles& files, QWidget* parent);
    ~MacroView() override;

    LineEditor& Editor() { return m_editor; }
    EditorRuns& Runs() { return m_runs; }
    // The document was replaced (New, Open): the list shows its lines, the
    // first selected, and nothing is left to undo.
    void Fill();
    // Every editing command is a step of this stack; the document is
    // modified exactly when the stack is away from its clean state.
    QUndoStack& UndoStack() { return *m_undo; }
    // The document was saved: its state now is the clean one.
    void Saved();
    // The commands of the list's context menu.
    void SetContextActions(QList<QAction*> actions) { m_contextActions = std::move(actions); }
    // Offers to reload the file when another program changed it since this
    // editor read or wrote it (asked each time the window is activated).
    void CheckChangedOnDisk();

    void AddLine();
    void EditLine();
    void DeleteLine();
    void MoveUp();
    void MoveDown();
    void ToggleComment();
    void CommentAndNextLine();
    void BlankLine();
    void ManualEdit();
    // A command button of a toolbar: the line of the command (see
    // LineTemplates) before the selected line, or at the top.
    void InsertTemplate(std::string_view command);
    void Cut();
    void Copy();
    void Paste();
    // Inserts recorded lines at the selection, as Paste does, as one change.
    void InsertRecorded(const std::vector<std::string>& lines);
    // Run, or Stop while a run (or a tested line) goes on.
    void RunOrStop();
    void TestLine();
    // Asks for a line number and selects that line.
    void GoToLine();
    // Selects the line (from 0) and scrolls it into view.
    void SelectLine(std::size_t index);
    // The row the list marks as the one a run is on; -1 for none.
    int MarkedRunningRow() const;
    // Lists every finding of the check of the macro below the lines, and
    // moves to the next line it finds something in (after the selection,
    // wrapping around); its reason shows in the help box.
    void CheckMacro();
    void DumpVariables();
    void OpenInExternalEditor();
    void ChooseFont();
    // The help page of the selected line's command.
    void ShowLineHelp();
    // Printing: the print dialog, then the pages; the pages on the screen;
    // the paper and its orientation for both.
    void Print();
    void PrintPreview();
    void PrintSetup();
    // The printer of this window, as Print Setup left it.
    QPrinter& Printer();
    // Prints the macro on the printer as Print does, after the dialog.
    bool PrintOn(QPrinter& printer);

signals:
    // After every editing command (the document is then modified).
    void Edited();
    void TestableChanged(bool testable);
    void RunningChanged(bool running);
    void LineCountChanged(int count);
    // What the status bar says of runs: "Ready", or the line a run is on.
    void StatusChanged(const QString& text);

private:
    void ShowSelection();
    void AfterEdit();
    template <class Change> void Edit(const QString& name, Change&& change);
    void Replay(const LineEdit& edit, bool undo);
    void UpdateModified();
    void ShowRunningLine();
    void UpdateWidestLine();
    void SelectionMoved(int row);
    std::optional<std::string> Wizard(const std::string& line);
    void LoadFont();

    Engine& m_engine;
    MacroDocument& m_document;
    DocumentFiles& m_files;
    LineEditor m_editor;
    EditorRuns m_runs;
    LineListModel* m_model;
    LineListView* m_list;
    QLabel* m_help;
    QPushButton* m_run;
    QPushButton* m_test;
    QUndoStack* m_undo;
    FindingsPanel* m_findings;
    QTimer* m_runningLine;
    QList<QAction*> m_contextActions;
    std::unique_ptr<QPrinter> m_printer;
    bool m_askingToReload = false;
    bool m_testable = false;
};

} // namespace ordwell
