#include "app/FlatComboBox.h"

#include <QStyleOptionComboBox>
#include <QStylePainter>

void FlatComboBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    // The style's frame, then the inside filled flat, then the arrow and the text.
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const int frame = style()->pixelMetric(QStyle::PM_ComboBoxFrameWidth, &option, this);
    painter.fillRect(rect().adjusted(frame, frame, -frame, -frame),
                     palette().color(QPalette::Button));
    QStyleOption arrow = option;
    arrow.rect =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
    painter.drawPrimitive(QStyle::PE_IndicatorArrowDown, arrow);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}
