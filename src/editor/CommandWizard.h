#pragma once

#include <QDialog>
#include <array>
#include <optional>
#include <string>

#include "WizardLine.h"

class QComboBox;
class QDialogButtonBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ordwell {

class WindowSystem;
struct WizardEntry;

// The Command Wizard: builds one macro line from labelled fields, so that a
// line can be written without knowing its syntax. It opens on a line (empty
// for a new one), shows the fields of the chosen command, and on OK gives
// the line they make. A field that is itself a command (If, While, Repeat,
// the comparisons) has a wizard of its own behind its Browse button.
class CommandWizard final : public QDialog {
    Q_OBJECT
public:
    CommandWizard(WindowSystem& windows, const std::string& line, QWidget* parent);

    // The built line; valid after the dialog was accepted.
    const std::string& Line() const { return m_line; }
    // What the controls hold now.
    WizardFields Fields() const;

    // Shows a wizard on the line; the built line on OK, nothing on Cancel.
    static std::optional<std::string> Ask(WindowSystem& windows, const std::string& line, QWidget* parent);

    void accept() override;

private:
    void ChooseEntry(const WizardEntry* entry);
    void ApplyLayout();
    void UpdateOk();
    void BrowseFor(int index);
    void ShowHelp();
    QLineEdit* Edit(int index) const { return m_edits[static_cast<size_t>(index)]; }

    WindowSystem& m_windows;
    std::string m_line;
    const WizardEntry* m_entry = nullptr;
    bool m_negate = false;
    QComboBox* m_commands;
    QGridLayout* m_grid;
    std::array<QLabel*, 3> m_labels{};
    std::array<QLineEdit*, 3> m_edits{};
    std::array<QPushButton*, 3> m_browse{};
    QComboBox* m_runStyle;
    QLabel* m_help;
    QDialogButtonBox* m_buttons;
};

} // namespace ordwell
