#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QListWidget;

namespace ordwell {

class WindowSystem;

// Lists the titles of the windows on the desktop (see PickerWindowTitles);
// OK gives the one selected, or an empty title with none selected.
class WindowPicker final : public QDialog {
    Q_OBJECT
public:
    WindowPicker(WindowSystem& windows, QWidget* parent);

    std::string Title() const;
    static std::optional<std::string> Ask(WindowSystem& windows, QWidget* parent);

private:
    QListWidget* m_list;
};

} // namespace ordwell
