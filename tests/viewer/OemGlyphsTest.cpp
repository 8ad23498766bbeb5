// The glyphs the preview paints for the control bytes of a print file: the
// PC's OEM font has a picture for each, and the report's form feeds, tabs
// and stray bytes show as those pictures.
#include "viewer/OemGlyphs.h"

#include "platform/CodePages.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <string>

namespace {

// The PC's glyphs of bytes 0x00-0x1F; NUL shows as a blank.
constexpr char16_t kControlGlyphs[32] = {
    u' ', u'☺', u'☻', u'♥', u'♦', u'♣', u'♠', u'•', u'◘', u'○', u'◙', u'♂', u'♀', u'♪', u'♫', u'☼',
    u'►', u'◄', u'↕', u'‼', u'¶', u'§', u'▬', u'↨', u'↑', u'↓', u'→', u'←', u'∟', u'↔', u'▲', u'▼'};

QImage Blank(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

} // namespace

TEST(OemGlyphs, EveryControlByteShowsThePcGlyphForIt) {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(16);
    const QFontMetrics metrics(font);
    const int advance = metrics.horizontalAdvance(QLatin1Char('M'));
    const QSize cell(advance * 2, metrics.height() * 2);
    const QPointF baseline(advance / 2.0, metrics.ascent() + metrics.height() / 2.0);
    const OemGlyphTable table(font, advance);

    std::vector<QImage> painted;
    for (int b = 0; b < 32; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const QString expected(QChar(kControlGlyphs[b]));
        SCOPED_TRACE(testing::Message() << "byte " << b << " " << expected.toStdString());
        EXPECT_EQ(platform::OemToDisplay(byte), std::u16string(1, kControlGlyphs[b]));

        // What the viewer's table paints for the byte is what the font paints
        // for the glyph's character.
        QImage viaTable = Blank(cell);
        {
            QPainter painter(&viaTable);
            painter.setPen(Qt::black);
            table.Draw(painter, baseline, byte);
        }
        QImage viaText = Blank(cell);
        {
            QPainter painter(&viaText);
            painter.setPen(Qt::black);
            painter.setFont(font);
            painter.drawText(baseline, expected);
        }
        EXPECT_TRUE(viaTable == viaText) << "a different glyph";
        EXPECT_EQ(viaTable == Blank(cell), b == 0) << "ink";
        for (int other = 0; other < b; ++other)
            EXPECT_FALSE(viaTable == painted[static_cast<std::size_t>(other)])
                << "same as " << other;
        painted.push_back(viaTable);
    }
}
