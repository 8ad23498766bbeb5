#pragma once
// The printing surface on the system's default printer, through Qt's printer
// support (CUPS on Linux). The window keeps one for the whole run: the default
// printer is looked up the first time a job needs it and kept from then on.
// Needs a QGuiApplication (or QApplication).
//
// Qt's CUPS engine cannot drop a job once its painter has begun (its abort does
// nothing and ending the painter always submits), so the sheets of a document
// are kept here and drawn on the printer in one go when the document ends. An
// aborted document therefore never reaches the printer.

#include <memory>
#include <string>
#include <vector>

#include <QFont>
#include <QFontMetrics>

#include "app/print/PrintSurface.h"

class QPainter;
class QPrinter;

namespace print {

// Shown when the system has no printer at all, and when it has printers but
// none is the default.
inline constexpr char kNoPrinterMessage[] = "Nie je nainštalovaná žiadna tlačiareň ...";
inline constexpr char kNoDefaultPrinterMessage[] = "Nie je zvolená predvolená tlačiareň ...";

class PrinterSurface final : public PrintSurface {
  public:
    PrinterSurface();
    ~PrinterSurface() override;
    PrinterSurface(const PrinterSurface&) = delete;
    PrinterSurface& operator=(const PrinterSurface&) = delete;

    void SetOrientation(PageOrientation orientation) override;
    void SetBrushClear() override;
    void SetFontCharsetOem() override;
    void SetFontFaceName(std::string_view faceName) override;
    void AddFontBold() override;
    void SetFontSize(int points) override;
    int TextHeight(std::string_view oemText) override;
    int TextWidth(std::string_view oemText) override;
    int PageWidth() override;
    int PageHeight() override;
    void BeginDocument() override;
    void DrawText(int x, int y, std::string_view oemText) override;
    void NewPage() override;
    void EndDocument() override;
    void AbortDocument() override;

    // The printer's name once one has been found, else empty.
    std::string PrinterName() const;

  private:
    struct Line {
        int x;
        int y;
        QFont font;
        std::string oemText; // turned into glyphs only when drawn, at half the memory
    };
    using Sheet = std::vector<Line>;

    QPrinter& Printer();
    void FontChanged();
    void RequireOpen() const;
    void DrawSheets(QPainter& painter, const std::vector<Sheet>& sheets);

    std::unique_ptr<QPrinter> printer_;
    QFont font_;
    int fontPoints_ = 10;
    bool brushClear_ = false;
    std::unique_ptr<QFontMetrics> metrics_;
    bool open_ = false;
    std::vector<Sheet> sheets_;
};

} // namespace print
