#include "ViewerFixture.h"

#include "platform/CodePages.h"

#include <QImage>

namespace {

std::string Oem(std::u16string_view text) {
    return *platform::Utf16ToCodePage(852, text);
}

std::u16string Padded(std::u16string text, std::size_t width, char16_t fill) {
    text.resize(width, fill);
    return text;
}

// True when some pixel of the cell differs from the background colour.
bool CellHasInk(const QImage& image, int x0, int cellWidth, int y0, int cellHeight,
                QRgb background) {
    for (int y = y0; y < y0 + cellHeight; ++y)
        for (int x = x0; x < x0 + cellWidth; ++x)
            if (image.pixel(x, y) != background) return true;
    return false;
}

} // namespace

TEST_F(MemoExTest, ScreenshotShowsSlovakTextBoxDrawingAndTheMarginLine) {
    memo_->setGeometry(0, 0, 900, 300);
    SizeTo(12, 95);
    const std::u16string top = u"┌" + Padded(u"", 88, u'─') + u"┐";
    const std::u16string text =
        Padded(u"│ Účtovná závierka: ľščťžýáíé ĽŠČŤŽÝÁÍÉ äôň úů", 80, u' ') + u"Strana 1 │";
    const std::u16string bottom = u"└" + Padded(u"", 88, u'─') + u"┘";
    ASSERT_EQ(text.size(), 90u);
    Load({Oem(top), Oem(text), Oem(bottom), "\f\x01\x02 OEM glyphs"});

    const QImage image = memo_->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(image.save(QString::fromUtf8(VIEWER_SCREENSHOT_DIR "/viewer-screenshot.png")));
    // A three-times enlargement of the text's left part, for looking at the letters.
    const QImage letters = image.copy(0, 0, image.width() / 2, 5 * memo_->CellHeight());
    letters.scaled(letters.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation)
        .save(QString::fromUtf8(VIEWER_SCREENSHOT_DIR "/viewer-screenshot-letters.png"));

    const int w = memo_->CellWidth();
    const int h = memo_->CellHeight();
    const QRgb background = qRgb(225, 225, 255);
    const int marginX = memo_->TextLeft() + 80 * w + 1;
    // The margin line runs down the whole window, below the text too.
    for (int y : {h / 2, 5 * h + 1, 11 * h + h - 1})
        EXPECT_EQ(image.pixel(marginX, y), qRgb(192, 192, 192)) << "y " << y;
    // Letters on both sides of it: "Ú" in column 2 and "S" in column 80.
    EXPECT_TRUE(CellHasInk(image, memo_->TextLeft() + 2 * w + 1, w, h, h, background));
    EXPECT_TRUE(CellHasInk(image, memo_->TextLeft() + 81 * w + 2, w - 1, h, h, background));
    // Column 60 of the text row is blank.
    EXPECT_FALSE(CellHasInk(image, memo_->TextLeft() + 60 * w + 1, w, h, h, background));
    // The box line is drawn across the margin on the first row.
    EXPECT_TRUE(CellHasInk(image, memo_->TextLeft() + 85 * w + 1, w, 0, h, background));
}
