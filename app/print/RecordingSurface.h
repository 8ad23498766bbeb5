#pragma once
// A printing surface that prints nothing and remembers everything: the calls in
// order, the lines drawn on each sheet, and how the job ended. Its metrics are
// simple and predictable so that tests can work out the expected layout.

#include <string>
#include <vector>

#include "app/print/PrintSurface.h"

namespace print {

class RecordingSurface final : public PrintSurface {
  public:
    struct DrawnLine {
        int x = 0;
        int y = 0;
        std::string text;
    };
    enum class JobState { NotBegun, Open, Ended, Aborted };

    // Printable area in portrait; landscape swaps the two.
    int portraitWidth = 4800;
    int portraitHeight = 6800;
    // Device units per inch: a font of s points is s * dpi / 72 units high,
    // and a character is three fifths of that wide (at least one unit).
    int dpi = 600;
    // When set, the n-th DrawText (from 1) throws, to see how the job recovers.
    int failAtDraw = 0;

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

    // Every call by name, in order ("SetFontSize 14", "DrawText", "NewPage" ...).
    const std::vector<std::string>& Calls() const { return calls_; }
    // Lines per sheet, the sheet opened by BeginDocument first.
    const std::vector<std::vector<DrawnLine>>& Sheets() const { return sheets_; }
    JobState State() const { return state_; }
    int FontSize() const { return fontSize_; }
    bool FontBold() const { return bold_; }
    bool FontOem() const { return oem_; }
    bool BrushClear() const { return brushClear_; }
    const std::string& FontFaceName() const { return faceName_; }
    // Forgets the last job but keeps the metrics and the font settings, as a
    // printer object kept for the whole run would.
    void ClearRecording();

  private:
    void Record(std::string call);
    void RequireOpen(const char* operation) const;

    std::vector<std::string> calls_;
    std::vector<std::vector<DrawnLine>> sheets_;
    JobState state_ = JobState::NotBegun;
    PageOrientation orientation_ = PageOrientation::Portrait;
    int fontSize_ = 10;
    bool bold_ = false;
    bool oem_ = false;
    bool brushClear_ = false;
    std::string faceName_;
    int draws_ = 0;
};

} // namespace print
