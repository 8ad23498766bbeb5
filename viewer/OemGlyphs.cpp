#include "viewer/OemGlyphs.h"

#include "platform/CodePages.h"

#include <QGlyphRun>
#include <QPainter>
#include <QTextLayout>

OemGlyphTable::OemGlyphTable(const QFont& font, int advance)
    : advance_(advance), codePage_(platform::OemCodePage()), underline_(font.underline()),
      strikeOut_(font.strikeOut()) {
    const QRawFont primary = QRawFont::fromFont(font);
    fonts_.push_back(primary);
    const char16_t* display = platform::OemDisplayTable();
    for (int b = 0; b < 256; ++b) {
        const QString text(QChar(display[b]));
        if (primary.supportsCharacter(text.at(0))) {
            const QList<quint32> indexes = primary.glyphIndexesForString(text);
            if (!indexes.isEmpty()) glyphs_[b] = Glyph{0, indexes.first()};
            continue;
        }
        // The font lacks the character (box drawing, card suits in some fonts):
        // take the glyph from the font the text layout falls back to.
        QTextLayout layout(text, font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        const QList<QGlyphRun> runs = layout.glyphRuns();
        if (runs.isEmpty() || runs.first().glyphIndexes().isEmpty()) continue;
        glyphs_[b] = Glyph{FontIndex(runs.first().rawFont()), runs.first().glyphIndexes().first()};
    }
}

int OemGlyphTable::FontIndex(const QRawFont& font) {
    for (std::size_t i = 0; i < fonts_.size(); ++i)
        if (fonts_[i] == font) return static_cast<int>(i);
    fonts_.push_back(font);
    return static_cast<int>(fonts_.size() - 1);
}

void OemGlyphTable::Draw(QPainter& painter, QPointF origin, std::string_view bytes) const {
    QList<quint32> indexes;
    QList<QPointF> positions;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const int font = glyphs_[static_cast<unsigned char>(bytes[start])].font;
        std::size_t end = start;
        indexes.clear();
        positions.clear();
        while (end < bytes.size()) {
            const Glyph& g = glyphs_[static_cast<unsigned char>(bytes[end])];
            if (g.font != font) break;
            indexes.push_back(g.index);
            positions.push_back(QPointF(static_cast<qreal>(end) * advance_, 0));
            ++end;
        }
        QGlyphRun run;
        run.setRawFont(fonts_[static_cast<std::size_t>(font)]);
        run.setGlyphIndexes(indexes);
        run.setPositions(positions);
        run.setUnderline(underline_);
        run.setStrikeOut(strikeOut_);
        painter.drawGlyphRun(origin, run);
        start = end;
    }
}
