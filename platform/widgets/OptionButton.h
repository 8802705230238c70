#pragma once

#include <QRadioButton>

// An option button as the classic platform had it: of the buttons that
// share a container only the selected one is a tab stop, so Tab enters the
// group on the selected option and the arrow keys move (and choose) within
// it. A click still selects and focuses any of them.
class OptionButton : public QRadioButton {
    Q_OBJECT

public:
    OptionButton(const QString& text, QWidget* parent);
};
