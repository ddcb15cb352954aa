#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QLineEdit;

namespace ordwell {

// Manual Edit: one macro line typed by hand. Typing stops at 511 characters,
// but a longer line given to it (read from a file) is kept whole.
class EditLineDialog final : public QDialog {
    Q_OBJECT
public:
    EditLineDialog(const std::string& line, QWidget* parent);

    std::string Line() const;
    // Shows the dialog; the text on OK, nothing on Cancel.
    static std::optional<std::string> Ask(const std::string& line, QWidget* parent);

private:
    QLineEdit* m_edit;
};

} // namespace ordwell
