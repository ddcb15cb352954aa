#pragma once

#include <QDialog>
#include <optional>
#include <vector>

#include "HotkeyTable.h"
#include "platform/KeyGrabs.h"

class QKeyEvent;
class QTableWidget;

namespace ordwell {

class Settings;

// The virtual key of a key Qt reports (Qt::Key); 0 for one a hotkey cannot
// use (a modifier alone, a key the SendKeys language has no name for).
std::uint8_t VirtualKeyOfQtKey(int qtKey);

// The table of hotkeys: each row a key combination and the macro file it
// runs. Add and Change Key record the combination as it is pressed, and
// refuse one another row has or another program holds (its grab is
// refused); Remove drops a row. OK keeps the table.
class HotkeysDialog final : public QDialog {
    Q_OBJECT
public:
    HotkeysDialog(std::vector<Hotkey> table, KeyGrabs& grabs, QWidget* parent);

    const std::vector<Hotkey>& Table() const { return m_table; }
    // Why a combination cannot be the hotkey of row `row` (-1: a new row);
    // empty when it can.
    QString Refusal(const KeyCombination& key, int row) const;
    // Adds a row, or changes the key of one; false, with a word to the
    // user, when the combination is refused.
    bool SetRow(int row, const KeyCombination& key, const std::string& macro);

    // Shows the dialog on the stored table and stores it on OK. True when
    // it was stored.
    static bool Ask(Settings& settings, KeyGrabs& grabs, QWidget* parent);

private:
    void Add();
    void ChangeKey();
    void Remove();
    void Fill();
    std::optional<KeyCombination> Record();

    std::vector<Hotkey> m_table;
    KeyGrabs& m_grabs;
    QTableWidget* m_list;
};

// A small dialog that waits for a key combination to be pressed.
class KeyRecorder final : public QDialog {
    Q_OBJECT
public:
    explicit KeyRecorder(QWidget* parent);
    const std::optional<KeyCombination>& Pressed() const { return m_pressed; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::optional<KeyCombination> m_pressed;
};

} // namespace ordwell
