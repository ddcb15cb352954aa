#pragma once

#include <QGroupBox>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class QListWidget;

namespace ordwell {

class LineFindings;

// Every finding of the check of the macro, one a row in the form editors
// read ("m.ow:12:9: error: reason"), below the list of lines. Clicking a row
// (or Enter on it) selects its line.
class FindingsPanel final : public QGroupBox {
    Q_OBJECT
public:
    explicit FindingsPanel(QWidget* parent);

    // Lists what the check finds in the lines, and shows the panel.
    void Fill(LineFindings& findings, const std::vector<std::string>& lines, const std::string& file);
    void SetGoToLine(std::function<void(std::size_t index)> goTo) { m_goTo = std::move(goTo); }
    int Count() const;

private:
    QListWidget* m_rows;
    std::function<void(std::size_t)> m_goTo;
};

} // namespace ordwell
