#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QComboBox;

namespace ordwell {

// Offers the names of the system values (see SystemLookupNames); OK gives
// the one chosen.
class SystemLookupDialog final : public QDialog {
    Q_OBJECT
public:
    SystemLookupDialog(bool withTexts, QWidget* parent);

    std::string Name() const;
    static std::optional<std::string> Ask(bool withTexts, QWidget* parent);

private:
    QComboBox* m_names;
};

} // namespace ordwell
