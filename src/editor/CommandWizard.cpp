#include "CommandWizard.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "FileBrowse.h"
#include "HelpPages.h"
#include "HelpWindow.h"
#include "QtText.h"
#include "SystemLookupDialog.h"
#include "WindowPicker.h"
#include "WizardEntry.h"

namespace ordwell {

namespace {

// Rows of the grid: each parameter has its label above its field.
int LabelRow(int index) {
    return 2 + 2 * index;
}
int FieldRow(int index) {
    return LabelRow(index) + 1;
}

} // namespace

CommandWizard::CommandWizard(WindowSystem& windows, const std::string& line, QWidget* parent)
    : QDialog(parent), m_windows(windows) {
    // Modal to the editor only: the help window stays usable.
    setWindowModality(Qt::WindowModal);
    setWindowTitle(tr("Command Wizard"));
    auto* layout = new QVBoxLayout(this);
    m_grid = new QGridLayout;
    m_grid->setColumnStretch(0, 1);
    m_grid->setColumnMinimumWidth(0, 360);

    auto* commandsLabel = new QLabel(tr("&Commands:"), this);
    m_commands = new QComboBox(this);
    m_commands->setObjectName("command");
    m_commands->setMaxVisibleItems(20);
    for (const WizardEntry* entry : WizardEntries()) {
        m_commands->addItem(ToQString(entry->name));
    }
    commandsLabel->setBuddy(m_commands);
    m_grid->addWidget(commandsLabel, 0, 0, 1, 2);
    m_grid->addWidget(m_commands, 1, 0);

    for (int i = 0; i < 3; ++i) {
        const auto slot = static_cast<size_t>(i);
        m_labels[slot] = new QLabel(tr("Parameter %1:").arg(i + 1), this);
        m_labels[slot]->setObjectName(QString("label%1").arg(i + 1));
        m_edits[slot] = new QLineEdit(this);
        m_edits[slot]->setObjectName(QString("field%1").arg(i + 1));
        m_labels[slot]->setBuddy(m_edits[slot]);
        m_browse[slot] = new QPushButton(tr("Browse..."), this);
        m_browse[slot]->setObjectName(QString("browse%1").arg(i + 1));
        m_browse[slot]->setAutoDefault(false);
        // A field a command does not use keeps its room, so that the
        // wizard does not change its height under the mouse as the command
        // changes.
        for (QWidget* widget : std::initializer_list<QWidget*>{m_labels[slot], m_edits[slot], m_browse[slot]}) {
            QSizePolicy policy = widget->sizePolicy();
            policy.setRetainSizeWhenHidden(true);
            widget->setSizePolicy(policy);
        }
        m_grid->addWidget(m_labels[slot], LabelRow(i), 0, 1, 2);
        m_grid->addWidget(m_edits[slot], FieldRow(i), 0);
        m_grid->addWidget(m_browse[slot], FieldRow(i), 1);
        connect(m_edits[slot], &QLineEdit::textChanged, this, &CommandWizard::UpdateOk);
        connect(m_browse[slot], &QPushButton::clicked, this, [this, i] { BrowseFor(i); });
    }
    m_runStyle = new QComboBox(this);
    m_runStyle->setObjectName("runStyle");
    for (const std::string_view style : kWizardRunStyles) {
        m_runStyle->addItem(ToQString(style));
    }
    m_grid->addWidget(m_runStyle, FieldRow(1), 0);
    layout->addLayout(m_grid);

    auto* helpBox = new QGroupBox(tr("Help"), this);
    auto* helpLayout = new QVBoxLayout(helpBox);
    m_help = new QLabel(helpBox);
    m_help->setObjectName("help");
    m_help->setWordWrap(true);
    m_help->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_help->setMinimumHeight(m_help->fontMetrics().lineSpacing() * 3);
    m_help->setTextFormat(Qt::PlainText);
    helpLayout->addWidget(m_help);
    layout->addWidget(helpBox, 1);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CommandWizard::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_buttons, &QDialogButtonBox::helpRequested, this, &CommandWizard::ShowHelp);
    layout->addWidget(m_buttons);
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, this, &CommandWizard::ShowHelp);

    // The controls take the line apart first, then the command's layout.
    const WizardFields fields = ParseWizardLine(line);
    m_entry = fields.entry;
    m_negate = fields.negate;
    m_commands->setCurrentIndex(m_entry != nullptr ? m_commands->findText(ToQString(m_entry->name)) : -1);
    for (int i = 0; i < 3; ++i) {
        const auto slot = static_cast<size_t>(i);
        if (m_entry != nullptr && m_entry->fields[slot].runStyle) {
            m_runStyle->setCurrentIndex(m_runStyle->findText(ToQString(fields.params[slot])));
        } else {
            m_edits[slot]->setText(ToQString(fields.params[slot]));
        }
    }
    ApplyLayout();
    connect(m_commands, &QComboBox::currentIndexChanged, this, [this](int index) {
        ChooseEntry(index >= 0 ? FindWizardEntry(ToUtf8(m_commands->itemText(index))) : nullptr);
    });
    m_commands->setFocus();

    // A wizard opened from a wizard sits just below and right of it.
    if (auto* outer = qobject_cast<CommandWizard*>(parent)) {
        setGeometry(outer->geometry().translated(10, 10));
    }
}

void CommandWizard::ChooseEntry(const WizardEntry* entry) {
    m_entry = entry;
    m_negate = false;
    const WizardFields empty = EmptyWizardFields(entry);
    for (QLineEdit* edit : m_edits) {
        edit->clear();
    }
    m_runStyle->setCurrentIndex(m_runStyle->findText(ToQString(empty.params[1])));
    ApplyLayout();
}

void CommandWizard::ApplyLayout() {
    for (int i = 0; i < 3; ++i) {
        const auto slot = static_cast<size_t>(i);
        const WizardField field = m_entry != nullptr ? m_entry->fields[slot] : WizardField{};
        m_labels[slot]->setVisible(field.Shown());
        m_labels[slot]->setText(ToQString(field.label));
        m_edits[slot]->setVisible(field.Shown() && !field.runStyle);
        m_browse[slot]->setVisible(field.Shown() && field.browse != Browse::None);
        // A wide field takes the Browse button's place too.
        m_grid->removeWidget(m_edits[slot]);
        m_grid->addWidget(m_edits[slot], FieldRow(i), 0, 1, field.wide ? 2 : 1);
        if (field.runStyle) {
            m_labels[slot]->setBuddy(m_runStyle);
        } else {
            m_labels[slot]->setBuddy(m_edits[slot]);
        }
    }
    m_runStyle->setVisible(m_entry != nullptr && m_entry->fields[1].runStyle);
    if (m_entry != nullptr) {
        m_help->setText(ToQString(m_entry->Help()));
    }
    UpdateOk();
}

WizardFields CommandWizard::Fields() const {
    WizardFields fields;
    fields.entry = m_entry;
    fields.negate = m_negate;
    for (int i = 0; i < 3; ++i) {
        const auto slot = static_cast<size_t>(i);
        const bool runStyle = m_entry != nullptr && m_entry->fields[slot].runStyle;
        fields.params[slot] = ToUtf8(runStyle ? m_runStyle->currentText() : m_edits[slot]->text());
    }
    return fields;
}

void CommandWizard::UpdateOk() {
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(WizardCanConfirm(Fields()));
}

void CommandWizard::accept() {
    const WizardFields fields = Fields();
    if (!WizardCanConfirm(fields)) {
        return;
    }
    m_line = BuildWizardLine(fields);
    QDialog::accept();
}

void CommandWizard::BrowseFor(int index) {
    if (m_entry == nullptr) {
        return;
    }
    const auto slot = static_cast<size_t>(index);
    const std::string current = ToUtf8(m_edits[slot]->text());
    std::optional<std::string> chosen;
    switch (m_entry->fields[slot].browse) {
    case Browse::ByArgument: // resolved in the entries: never met
    case Browse::None:
        return;
    case Browse::Window:
        chosen = WindowPicker::Ask(m_windows, this);
        break;
    case Browse::SystemValue:
    case Browse::SystemValueOrName:
        chosen = SystemLookupDialog::Ask(m_entry->fields[slot].browse == Browse::SystemValueOrName, this);
        break;
    case Browse::Wizard:
        chosen = Ask(m_windows, current, this);
        break;
    default:
        chosen = BrowseForPath(m_entry->fields[slot].browse, current, this);
        break;
    }
    if (chosen) {
        m_edits[slot]->setText(ToQString(*chosen));
    }
    UpdateOk();
}

void CommandWizard::ShowHelp() {
    const std::string page = m_entry != nullptr && m_entry->kind == WizardLineKind::Command
                                 ? HelpPageForCommand(m_entry->name)
                                 : std::string(kHelpContents);
    HelpWindow::ShowPage(page, this);
}

std::optional<std::string> CommandWizard::Ask(WindowSystem& windows, const std::string& line, QWidget* parent) {
    CommandWizard wizard(windows, line, parent);
    if (wizard.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return wizard.Line();
}

} // namespace ordwell
