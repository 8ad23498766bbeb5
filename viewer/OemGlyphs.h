#pragma once
// The glyphs of the 256 OEM bytes in one font, looked up once per font so that
// a row paints a run of bytes with one glyph-run call at a fixed advance.

#include <QFont>
#include <QRawFont>

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

class QPainter;

class OemGlyphTable {
  public:
    // `advance` is the cell width: every byte moves the pen by exactly that much.
    OemGlyphTable(const QFont& font, int advance);

    // Draws the bytes starting at `origin` (x of the first cell, y of the baseline).
    void Draw(QPainter& painter, QPointF origin, std::string_view bytes) const;
    bool IsFor(int oemCodePage) const { return oemCodePage == codePage_; }

  private:
    struct Glyph {
        int font = 0;
        quint32 index = 0;
    };
    int FontIndex(const QRawFont& font);

    std::vector<QRawFont> fonts_;
    std::array<Glyph, 256> glyphs_{};
    int advance_;
    int codePage_;
    bool underline_;
    bool strikeOut_;
};
