#include "platform/widgets/FrameStyle.h"

#include <qdrawutil.h>

#include <QStyleOption>

void FrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const {
    if (element != PE_FrameGroupBox) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    qDrawShadeRect(painter, option->rect, option->palette, true, 1, 0, nullptr);
}
