#include "HotkeysDialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "editor/QtText.h"
#include "engine/Settings.h"
#include "input/KeyCombinationText.h"

namespace ordwell {

std::uint8_t VirtualKeyOfQtKey(int qtKey) {
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
        return static_cast<std::uint8_t>(qtKey);
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return static_cast<std::uint8_t>(0x70 + (qtKey - Qt::Key_F1));
    }
    switch (qtKey) {
    case Qt::Key_Backspace:
        return 0x08;
    case Qt::Key_Tab:
        return 0x09;
    case Qt::Key_Clear:
        return 0x0C;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 0x0D;
    case Qt::Key_Pause:
        return 0x13;
    case Qt::Key_Escape:
        return 0x1B;
    case Qt::Key_PageUp:
        return 0x21;
    case Qt::Key_PageDown:
        return 0x22;
    case Qt::Key_End:
        return 0x23;
    case Qt::Key_Home:
        return 0x24;
    case Qt::Key_Left:
        return 0x25;
    case Qt::Key_Up:
        return 0x26;
    case Qt::Key_Right:
        return 0x27;
    case Qt::Key_Down:
        return 0x28;
    case Qt::Key_Print:
        return 0x2C;
    case Qt::Key_Insert:
        return 0x2D;
    case Qt::Key_Delete:
        return 0x2E;
    case Qt::Key_Help:
        return 0x2F;
    case Qt::Key_ScrollLock:
        return 0x91;
    default:
        return 0;
    }
}

KeyRecorder::KeyRecorder(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Record Hotkey"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Press the key combination, such as Ctrl+Alt+F5.\nEsc alone cancels."), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    // The keys are the dialog's: no button takes them.
    buttons->button(QDialogButtonBox::Cancel)->setFocusPolicy(Qt::NoFocus);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void KeyRecorder::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (event->key() == Qt::Key_Escape && (mods & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0) {
        reject();
        return;
    }
    const std::uint8_t key = VirtualKeyOfQtKey(event->key());
    if (key == 0) {
        return; // a modifier alone, so far
    }
    KeyCombination combination{key, 0};
    combination.modifiers |= (mods & Qt::ShiftModifier) != 0 ? KeyCombination::kShift : 0;
    combination.modifiers |= (mods & Qt::ControlModifier) != 0 ? KeyCombination::kControl : 0;
    combination.modifiers |= (mods & Qt::AltModifier) != 0 ? KeyCombination::kAlt : 0;
    m_pressed = combination;
    accept();
}

HotkeysDialog::HotkeysDialog(std::vector<Hotkey> table, KeyGrabs& grabs, QWidget* parent)
    : QDialog(parent), m_table(std::move(table)), m_grabs(grabs) {
    setWindowTitle(tr("Hotkeys"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("While ordwell --hotkeys runs, each key combination runs its macro."), this));
    auto* row = new QHBoxLayout;
    m_list = new QTableWidget(0, 2, this);
    m_list->setObjectName("hotkeys");
    m_list->setHorizontalHeaderLabels({tr("Key"), tr("Macro")});
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setMinimumWidth(480);
    row->addWidget(m_list);
    auto* side = new QVBoxLayout;
    auto* add = new QPushButton(tr("&Add..."), this);
    auto* change = new QPushButton(tr("&Change Key..."), this);
    auto* remove = new QPushButton(tr("&Remove"), this);
    add->setObjectName("add");
    change->setObjectName("changeKey");
    remove->setObjectName("remove");
    side->addWidget(add);
    side->addWidget(change);
    side->addWidget(remove);
    side->addStretch(1);
    row->addLayout(side);
    layout->addLayout(row);
    connect(add, &QPushButton::clicked, this, &HotkeysDialog::Add);
    connect(change, &QPushButton::clicked, this, &HotkeysDialog::ChangeKey);
    connect(remove, &QPushButton::clicked, this, &HotkeysDialog::Remove);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    Fill();
}

void HotkeysDialog::Fill() {
    m_list->setRowCount(static_cast<int>(m_table.size()));
    for (std::size_t n = 0; n < m_table.size(); ++n) {
        const std::optional<KeyCombination> key = ReadKeyCombination(m_table[n].key);
        const std::string label = key ? KeyCombinationLabel(*key) : m_table[n].key;
        m_list->setItem(static_cast<int>(n), 0, new QTableWidgetItem(ToQString(label)));
        m_list->setItem(static_cast<int>(n), 1, new QTableWidgetItem(ToQString(m_table[n].macro)));
    }
}

QString HotkeysDialog::Refusal(const KeyCombination& key, int row) const {
    const QString label = ToQString(KeyCombinationLabel(key));
    for (std::size_t n = 0; n < m_table.size(); ++n) {
        if (static_cast<int>(n) != row && ReadKeyCombination(m_table[n].key) == key) {
            return tr("%1 is already the hotkey of %2.").arg(label, ToQString(m_table[n].macro));
        }
    }
    if (row >= 0 && ReadKeyCombination(m_table[static_cast<std::size_t>(row)].key) == key) {
        return {}; // the row's own, held by the resident hotkeys perhaps
    }
    // The display says whether another program holds it: the grab is refused.
    GrabOutcome outcome = GrabOutcome::Unavailable;
    const int id = m_grabs.Grab(
        key, [] {}, outcome);
    m_grabs.Release(id);
    if (outcome == GrabOutcome::Taken) {
        return tr("Another program holds %1 already.").arg(label);
    }
    if (outcome == GrabOutcome::Reserved) {
        return tr("%1 switches to another console: the X server acts on it itself, and no program receives it.")
            .arg(label);
    }
    return {};
}

bool HotkeysDialog::SetRow(int row, const KeyCombination& key, const std::string& macro) {
    if (const QString refusal = Refusal(key, row); !refusal.isEmpty()) {
        QMessageBox::warning(this, tr("Hotkeys"), refusal);
        return false;
    }
    const Hotkey hotkey{KeyCombinationText(key), macro};
    if (row < 0) {
        m_table.push_back(hotkey);
    } else {
        m_table[static_cast<std::size_t>(row)] = hotkey;
    }
    Fill();
    return true;
}

std::optional<KeyCombination> HotkeysDialog::Record() {
    KeyRecorder recorder(this);
    recorder.exec();
    return recorder.Pressed();
}

void HotkeysDialog::Add() {
    const std::optional<KeyCombination> key = Record();
    if (!key) {
        return;
    }
    const QString file = QFileDialog::getOpenFileName(this, tr("Macro to Run"), {}, tr("Macros (*.ow);;All Files (*)"));
    if (!file.isEmpty()) {
        SetRow(-1, *key, ToUtf8(file));
    }
}

void HotkeysDialog::ChangeKey() {
    const int row = m_list->currentRow();
    if (row < 0 || row >= static_cast<int>(m_table.size())) {
        return;
    }
    if (const std::optional<KeyCombination> key = Record()) {
        SetRow(row, *key, m_table[static_cast<std::size_t>(row)].macro);
    }
}

void HotkeysDialog::Remove() {
    const int row = m_list->currentRow();
    if (row >= 0 && row < static_cast<int>(m_table.size())) {
        m_table.erase(m_table.begin() + row);
        Fill();
    }
}

bool HotkeysDialog::Ask(Settings& settings, KeyGrabs& grabs, QWidget* parent) {
    HotkeysDialog dialog(ReadHotkeys(settings), grabs, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    return WriteHotkeys(settings, dialog.Table());
}

} // namespace ordwell
