#include "platform/widgets/OptionButton.h"

OptionButton::OptionButton(const QString& text, QWidget* parent) : QRadioButton(text, parent) {
    setFocusPolicy(Qt::ClickFocus);
    connect(this, &QRadioButton::toggled, this,
            [this](bool checked) { setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus); });
}
