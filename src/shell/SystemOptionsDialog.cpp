#include "SystemOptionsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QVBoxLayout>
#include <limits>

#include "editor/FileBrowse.h"
#include "editor/HelpPages.h"
#include "editor/HelpWindow.h"
#include "editor/QtText.h"
#include "engine/Settings.h"

namespace ordwell {

SystemOptionsDialog::SystemOptionsDialog(const SystemOptions& options, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("System Options"));
    auto* layout = new QVBoxLayout(this);

    auto* macro = new QGroupBox(tr("Macro Options"), this);
    auto* macroGrid = new QGridLayout(macro);
    // Any whole number can be typed; OK takes 0 to 999 only, and says so.
    m_keyDelay = new QSpinBox(macro);
    m_keyDelay->setObjectName("keyDelay");
    m_keyDelay->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    m_keyDelay->setValue(options.keyDelay);
    auto* delayLabel = new QLabel(tr("Send &key delay:"), macro);
    delayLabel->setBuddy(m_keyDelay);
    macroGrid->addWidget(delayLabel, 0, 0);
    auto* delayRow = new QHBoxLayout;
    delayRow->addWidget(m_keyDelay);
    delayRow->addWidget(new QLabel(tr("milliseconds"), macro));
    delayRow->addStretch(1);
    macroGrid->addLayout(delayRow, 0, 1, 1, 2);
    m_editor = NameField(macro, "editor", options.editor);
    auto* editorLabel = new QLabel(tr("Macro &editor:"), macro);
    editorLabel->setBuddy(m_editor);
    auto* browseEditor = new QPushButton(tr("&Browse..."), macro);
    browseEditor->setObjectName("browseEditor");
    macroGrid->addWidget(editorLabel, 1, 0);
    macroGrid->addWidget(m_editor, 1, 1);
    macroGrid->addWidget(browseEditor, 1, 2);
    // The key that stops a run from anywhere, as SendKeys writes it.
    m_stopKey = new QLineEdit(ToQString(options.stopKey), macro);
    m_stopKey->setObjectName("stopKey");
    m_stopKey->setToolTip(tr("Stops a running macro from anywhere on an X11 desktop: one key as SendKeys writes it, "
                             "such as {PAUSE} or ^%{F12}, or none"));
    auto* stopLabel = new QLabel(tr("&Stop key:"), macro);
    stopLabel->setBuddy(m_stopKey);
    macroGrid->addWidget(stopLabel, 2, 0);
    macroGrid->addWidget(m_stopKey, 2, 1);
    layout->addWidget(macro);

    auto* printing = new QGroupBox(tr("Printing Options"), this);
    auto* printingLayout = new QVBoxLayout(printing);
    m_lineNumbers = new QCheckBox(tr("Print line &numbers"), printing);
    m_lineNumbers->setObjectName("printLineNumbers");
    m_lineNumbers->setChecked(options.printLineNumbers);
    printingLayout->addWidget(m_lineNumbers);
    layout->addWidget(printing);

    auto* logs = new QGroupBox(tr("Log Files"), this);
    auto* logGrid = new QGridLayout(logs);
    m_eventLog = NameField(logs, "eventLog", options.eventLog);
    m_errorLog = NameField(logs, "errorLog", options.errorLog);
    const std::pair<QLineEdit*, QString> logRows[] = {{m_eventLog, tr("E&vent Log:")}, {m_errorLog, tr("Erro&r Log:")}};
    int row = 0;
    for (const auto& [field, text] : logRows) {
        auto* label = new QLabel(text, logs);
        label->setBuddy(field);
        auto* browse = new QPushButton(tr("Bro&wse..."), logs);
        browse->setObjectName(field == m_eventLog ? "browseEventLog" : "browseErrorLog");
        connect(browse, &QPushButton::clicked, this, [this, edit = field] { Browse(edit, true); });
        logGrid->addWidget(label, row, 0);
        logGrid->addWidget(field, row, 1);
        logGrid->addWidget(browse, row, 2);
        ++row;
    }
    layout->addWidget(logs);
    connect(browseEditor, &QPushButton::clicked, this, [this] { Browse(m_editor, false); });

    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, &SystemOptionsDialog::ShowHelp);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            &SystemOptionsDialog::ShowHelp);
    layout->addWidget(buttons);
}

QLineEdit* SystemOptionsDialog::NameField(QWidget* parent, const char* name, const std::string& text) {
    // No length limit while typing: a stored name over the limit is shown
    // whole, and OK says what is wrong with it rather than cutting it.
    auto* field = new QLineEdit(ToQString(text), parent);
    field->setObjectName(name);
    field->setMinimumWidth(300);
    return field;
}

void SystemOptionsDialog::Browse(QLineEdit* field, bool logFile) {
    if (const auto path = BrowseForPath(logFile ? Browse::LogFile : Browse::ProgramFile, ToUtf8(field->text()), this)) {
        field->setText(ToQString(*path));
    }
}

void SystemOptionsDialog::ShowHelp() {
    HelpWindow::ShowPage(std::string(kHelpSystemOptions), this);
}

void SystemOptionsDialog::accept() {
    const SystemOptionsFields fields{ToUtf8(m_keyDelay->cleanText()), ToUtf8(m_editor->text()),
                                     m_lineNumbers->isChecked(),      ToUtf8(m_eventLog->text()),
                                     ToUtf8(m_errorLog->text()),      ToUtf8(m_stopKey->text())};
    const auto checked = CheckSystemOptions(fields);
    if (const auto* problem = std::get_if<OptionsProblem>(&checked)) {
        QMessageBox::warning(this, tr("Ordwell"), ToQString(problem->message));
        QWidget* field = nullptr;
        switch (problem->field) {
        case OptionsProblem::Field::KeyDelay:
            field = m_keyDelay;
            m_keyDelay->selectAll();
            break;
        case OptionsProblem::Field::Editor:
            field = m_editor;
            break;
        case OptionsProblem::Field::EventLog:
            field = m_eventLog;
            break;
        case OptionsProblem::Field::ErrorLog:
            field = m_errorLog;
            break;
        case OptionsProblem::Field::StopKey:
            field = m_stopKey;
            m_stopKey->selectAll();
            break;
        }
        field->setFocus();
        return;
    }
    m_chosen = std::get<SystemOptions>(checked);
    QDialog::accept();
}

bool SystemOptionsDialog::Ask(Settings& settings, QWidget* parent) {
    SystemOptionsDialog dialog(ReadSystemOptions(settings), parent);
    if (dialog.exec() != QDialog::Accepted || !dialog.Chosen()) {
        return false;
    }
    WriteSystemOptions(settings, *dialog.Chosen());
    return true;
}

} // namespace ordwell
