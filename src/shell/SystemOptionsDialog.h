#pragma once

#include <QDialog>
#include <optional>

#include "SystemOptions.h"

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace ordwell {

class Settings;

// The System Options dialog: the key delay, the stop key, the external
// editor, whether printed lines carry numbers, and the two log files. OK takes the fields
// only when each is right (it says what is wrong and stays open otherwise);
// Cancel leaves the settings as they were.
class SystemOptionsDialog final : public QDialog {
    Q_OBJECT
public:
    SystemOptionsDialog(const SystemOptions& options, QWidget* parent);

    // The options to store; set once OK was accepted.
    const std::optional<SystemOptions>& Chosen() const { return m_chosen; }

    // Shows the dialog on the stored options and stores all of them on OK.
    // True when they were stored.
    static bool Ask(Settings& settings, QWidget* parent);

    void accept() override;

private:
    static QLineEdit* NameField(QWidget* parent, const char* name, const std::string& text);
    void Browse(QLineEdit* field, bool logFile);
    void ShowHelp();

    QSpinBox* m_keyDelay;
    QLineEdit* m_editor;
    QCheckBox* m_lineNumbers;
    QLineEdit* m_eventLog;
    QLineEdit* m_errorLog;
    QLineEdit* m_stopKey;
    std::optional<SystemOptions> m_chosen;
};

} // namespace ordwell
