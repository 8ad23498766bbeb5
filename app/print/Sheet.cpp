#include "app/print/Sheet.h"

#include "platform/CodePages.h"

#include <QPainter>

namespace print {

void PaintSheet(QPainter& painter, const Sheet& sheet) {
    painter.setPen(Qt::black);
    for (const SheetLine& line : sheet) {
        if (painter.font() != line.font) painter.setFont(line.font);
        // Qt places text by its baseline; the job gives the top left corner.
        // The glyphs are the preview's, so that what was seen is what prints.
        painter.drawText(QPoint(line.x, line.y + painter.fontMetrics().ascent()),
                         QString::fromStdU16String(platform::OemToDisplay(line.oemText)));
    }
}

} // namespace print
