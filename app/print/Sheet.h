#pragma once
// A sheet as the print job laid it out: the lines drawn on it with their
// positions and fonts, in the paper's device units. The same sheets become a
// PDF document for a printer or a file, or are painted on the screen by the
// print preview, so what is seen is what prints.

#include <QFont>
#include <QString>

#include <string>
#include <string_view>
#include <vector>

class QPainter;

namespace print {

struct SheetLine {
    int x = 0;
    int y = 0; // top of the line
    QFont font;
    std::string oemText; // turned into glyphs only when painted, at half the memory
};

using Sheet = std::vector<SheetLine>;

// The glyphs OEM bytes are drawn with: the preview's, so that what was seen is
// what prints, and what is measured is what is drawn.
QString SheetText(std::string_view oemText);

// Paints the sheet's lines in black with the painter, whose coordinates are
// the paper's device units measured from the printable area's top left corner.
void PaintSheet(QPainter& painter, const Sheet& sheet);

} // namespace print
