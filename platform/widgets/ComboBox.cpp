#include "platform/widgets/ComboBox.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

ComboBox::ComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Completion would choose a row from typed text.
    setCompleter(nullptr);
    // Typing goes to the line edit, so it is watched as well as the box.
    lineEdit()->installEventFilter(this);
    lineEdit()->setContextMenuPolicy(Qt::NoContextMenu);
    connect(this, &QComboBox::activated, this, [this](int) { emit Click(); });
}

void ComboBox::AddItem(const QString& text) {
    const QSignalBlocker blocker(this);
    const QString shown = currentText();
    const bool wasEmpty = count() == 0;
    addItem(text);
    if (wasEmpty) {
        setCurrentIndex(-1);
        setEditText(shown);
    }
}

void ComboBox::Clear() {
    const QSignalBlocker blocker(this);
    clear();
}

void ComboBox::SetListIndex(int row) {
    {
        const QSignalBlocker blocker(this);
        setCurrentIndex(row);
    }
    emit Click();
}

void ComboBox::SetLocked(bool locked) { lineEdit()->setReadOnly(locked); }

void ComboBox::showChosenRow() {
    if (currentIndex() >= 0 && lineEdit()->text() != itemText(currentIndex()))
        lineEdit()->setText(itemText(currentIndex()));
}

bool ComboBox::isConfirmKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

bool ComboBox::swallowTypedCharacter(QKeyEvent* event) {
    // Only keys that produce a character take part, as with the classic
    // KeyPress: arrows, Page keys and Home/End still move through the rows.
    const QString text = event->text();
    if (text.isEmpty()) return false;
    std::int16_t keyAscii = std::int16_t(text.at(0).unicode() & 0x7fff);
    emit KeyPress(keyAscii);
    return keyAscii == 0;
}

bool ComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
        auto* key = static_cast<QKeyEvent*>(event);
        // Editing shortcuts (paste, cut, undo) carry control characters; the
        // owner sees those too.
        if (event->type() == QEvent::KeyPress && swallowTypedCharacter(key)) return true;
        if (event->type() == QEvent::KeyPress && isConfirmKey(key)) showChosenRow();
    }
    return QComboBox::eventFilter(watched, event);
}

// The list would choose the row whose text matches what was typed once Enter
// is pressed or the focus leaves; the text shown goes back to the chosen row
// first, so that only a real choice of a row raises Click.
void ComboBox::keyPressEvent(QKeyEvent* event) {
    if (swallowTypedCharacter(event)) return;
    if (isConfirmKey(event)) showChosenRow();
    QComboBox::keyPressEvent(event);
}

void ComboBox::focusOutEvent(QFocusEvent* event) {
    showChosenRow();
    QComboBox::focusOutEvent(event);
}
