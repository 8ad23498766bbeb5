#pragma once
// The printing surface the print job draws on: exactly what the job needs of a
// printer, so that the real printer and a recording surface for tests can stand
// behind the same job. Sizes and positions are in the printer's device units.

#include <string_view>

namespace print {

enum class PageOrientation { Portrait, Landscape };

class PrintSurface {
  public:
    virtual ~PrintSurface() = default;

    // Takes effect for the measurements and the page size that follow; throws
    // when the printer cannot print in that orientation (or there is no printer).
    virtual void SetOrientation(PageOrientation orientation) = 0;
    // Text is drawn without filling its background.
    virtual void SetBrushClear() = 0;
    // Text is given as bytes of the machine's OEM code page.
    virtual void SetFontCharsetOem() = 0;
    virtual void SetFontFaceName(std::string_view faceName) = 0;
    virtual void AddFontBold() = 0;
    // A size in points, turned into device units through the printer's
    // vertical resolution.
    virtual void SetFontSize(int points) = 0;

    // Measured in the current font; usable before the document begins.
    virtual int TextHeight(std::string_view oemText) = 0;
    virtual int TextWidth(std::string_view oemText) = 0;

    // The printable area for the current orientation.
    virtual int PageWidth() = 0;
    virtual int PageHeight() = 0;

    // Opens the job and its first sheet.
    virtual void BeginDocument() = 0;
    // Draws one line with its top left corner at x, y.
    virtual void DrawText(int x, int y, std::string_view oemText) = 0;
    // Ends the current sheet and begins the next.
    virtual void NewPage() = 0;
    // Ends the last sheet and hands the job to the printer.
    virtual void EndDocument() = 0;
    // Drops the job so that nothing is printed; harmless when no job is open.
    virtual void AbortDocument() = 0;
};

} // namespace print
