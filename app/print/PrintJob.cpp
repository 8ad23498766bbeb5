#include "app/print/PrintJob.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include "app/print/PageRange.h"
#include "app/print/PrintError.h"

namespace print {
namespace {

constexpr int kFittingMargins = 2 * kMargin; // subtracted from both page width and height
constexpr int kExtraLinesPerPage = 2;        // a page ends after line P + 2
constexpr char kFormFeed = '\f';

struct FontFit {
    int size = 0;
    int lines = 0;
    int columns = 0;
};

// The largest size of the table at which Dlzka lines and Sirka columns of "X"
// fit the page less its margins; the smallest size when none does.
FontFit FitFont(PrintSurface& surface, int Sirka, int Dlzka) {
    FontFit fit;
    for (const int size : kPrintSizes) {
        surface.SetFontSize(size);
        // A font engine reporting 0 must not stop the job with a division by zero.
        const int height = std::max(1, surface.TextHeight("X"));
        const int width = std::max(1, surface.TextWidth("X"));
        fit.size = size;
        fit.lines = (surface.PageHeight() - kFittingMargins) / height;
        fit.columns = (surface.PageWidth() - kFittingMargins) / width;
        if (fit.lines >= Dlzka && fit.columns >= Sirka) break;
    }
    return fit;
}

// Aborts the document when an error leaves the job half done.
class OpenDocument {
  public:
    explicit OpenDocument(PrintSurface& surface) : surface_(surface) { surface_.BeginDocument(); }
    OpenDocument(const OpenDocument&) = delete;
    OpenDocument& operator=(const OpenDocument&) = delete;
    ~OpenDocument() {
        if (!open_) return;
        try {
            surface_.AbortDocument();
        } catch (...) {
            // The error that got us here is the one worth reporting.
        }
    }

    void End() {
        surface_.EndDocument();
        open_ = false;
    }
    void Abort() {
        open_ = false;
        surface_.AbortDocument();
    }

  private:
    PrintSurface& surface_;
    bool open_ = true;
};

} // namespace

PrintJobResult RunPrintJob(PrintSurface& surface, int lineCount, const LineReader& lineAt,
                           const PrintJobInput& input) {
    return RunPrintJob(surface, lineCount, lineAt,
                       PrintJobSettings{ReadPageRange(input.firstPageText, input.lastPageText),
                                        input.Sirka, input.Dlzka, input.Portrait});
}

PrintJobResult RunPrintJob(PrintSurface& surface, int lineCount, const LineReader& lineAt,
                           const PrintJobSettings& input) {
    const PageRange& range = input.pages;

    surface.SetOrientation(input.Portrait ? PageOrientation::Portrait : PageOrientation::Landscape);
    surface.SetBrushClear();
    surface.SetFontCharsetOem();
    surface.SetFontFaceName("Courier New");
    surface.AddFontBold();

    const FontFit fit = FitFont(surface, input.Sirka, input.Dlzka);
    PrintJobResult result;
    result.fontSize = fit.size;
    result.linesThatFit = fit.lines;
    result.columnsThatFit = fit.columns;
    result.pageLength = fit.lines < input.Dlzka ? fit.lines : input.Dlzka;
    // Wide enough that a page length near the integer limits cannot overflow.
    const std::int64_t lastSlot = std::int64_t{result.pageLength} + kExtraLinesPerPage;

    OpenDocument document(surface);
    int slot = 1; // line slot on the page; slot 0 is the top margin
    int page = 1; // page of the document, counted from its start
    bool printed = false;
    // A sheet ends with its page but the next one is begun only when a line is
    // about to be drawn on it, so no job leaves an empty sheet behind.
    bool sheetEnded = false;
    std::string copy;
    for (int index = 0; index < lineCount; ++index) {
        copy.assign(lineAt(index));
        const std::size_t formFeed = copy.find(kFormFeed);
        const bool endsPage = formFeed != std::string::npos;
        if (endsPage) copy[formFeed] = ' ';

        const bool inRange = range.Contains(page);
        if (inRange) {
            if (sheetEnded) {
                surface.NewPage();
                sheetEnded = false;
                ++result.sheets;
            } else if (!printed) {
                result.sheets = 1; // the sheet that beginning the document opened
            }
            const std::int64_t y = kMargin + std::int64_t{slot} * surface.TextHeight(copy);
            surface.DrawText(
                kMargin,
                static_cast<int>(std::clamp<std::int64_t>(y, 0, std::numeric_limits<int>::max())),
                copy);
            printed = true;
        }
        if (slot >= lastSlot || endsPage) {
            slot = 0;
            if (inRange) sheetEnded = true;
            ++page;
        }
        ++slot;
    }
    result.documentPages = slot > 1 ? page : page - 1;

    if (!printed) {
        document.Abort();
        throw ERangeOutsideDocument(std::string(kRangeOutsideDocument));
    }
    document.End();
    return result;
}

} // namespace print
