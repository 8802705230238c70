#pragma once

#include <QComboBox>
#include <QString>
#include <cstdint>

// An editable drop-down list in the manner the program's handlers expect:
// Click is raised for every choice of a row, by the user (mouse, arrow keys,
// wheel) or by the program (SetListIndex), and KeyPress offers each typed
// character to the owner first, who may cancel it by setting it to 0.
// Appending rows selects nothing, so no Click runs before the owner chooses.
// Text typed into the list never chooses a row: Enter and leaving the list
// show the chosen row's text again.
class ComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit ComboBox(QWidget* parent = nullptr);

    void AddItem(const QString& text);
    void Clear();
    int ListIndex() const { return currentIndex(); }
    // Selects a row and raises Click, as a user's choice would.
    void SetListIndex(int row);
    QString Text() const { return currentText(); }
    // A locked list takes no text of its own at all, neither typed (KeyPress
    // is still offered) nor pasted nor dropped; rows are still chosen.
    void SetLocked(bool locked);

signals:
    void Click();
    void KeyPress(std::int16_t& keyAscii);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    static bool isConfirmKey(const QKeyEvent* event);
    bool swallowTypedCharacter(QKeyEvent* event);
    void showChosenRow();
};
