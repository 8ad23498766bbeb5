#include "app/print/Sheet.h"

#include "platform/CodePages.h"

#include <QPainter>

namespace print {

QString SheetText(std::string_view oemText) {
    return QString::fromStdU16String(platform::OemToDisplay(oemText));
}

void PaintSheet(QPainter& painter, const Sheet& sheet) {
    painter.setPen(Qt::black);
    for (const SheetLine& line : sheet) {
        if (painter.font() != line.font) painter.setFont(line.font);
        // Qt places text by its baseline; the job gives the top left corner.
        painter.drawText(QPoint(line.x, line.y + painter.fontMetrics().ascent()),
                         SheetText(line.oemText));
    }
}

} // namespace print
