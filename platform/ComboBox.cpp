#include "platform/ComboBox.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

ComboBox::ComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
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
    }
    return QComboBox::eventFilter(watched, event);
}

void ComboBox::keyPressEvent(QKeyEvent* event) {
    if (swallowTypedCharacter(event)) return;
    QComboBox::keyPressEvent(event);
}
