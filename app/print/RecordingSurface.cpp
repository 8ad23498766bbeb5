#include "app/print/RecordingSurface.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace print {

void RecordingSurface::Record(std::string call) {
    calls_.push_back(std::move(call));
}

void RecordingSurface::RequireOpen(const char* operation) const {
    // A job that draws outside an open document has a fault the tests must see.
    if (state_ != JobState::Open)
        throw std::logic_error(std::string(operation) + " without an open document");
}

void RecordingSurface::SetOrientation(PageOrientation orientation) {
    orientation_ = orientation;
    Record(orientation == PageOrientation::Portrait ? "SetOrientation Portrait"
                                                    : "SetOrientation Landscape");
}

void RecordingSurface::SetBrushClear() {
    brushClear_ = true;
    Record("SetBrushClear");
}

void RecordingSurface::SetFontCharsetOem() {
    oem_ = true;
    Record("SetFontCharsetOem");
}

void RecordingSurface::SetFontFaceName(std::string_view faceName) {
    faceName_ = faceName;
    Record("SetFontFaceName " + faceName_);
}

void RecordingSurface::AddFontBold() {
    bold_ = true;
    Record("AddFontBold");
}

void RecordingSurface::SetFontSize(int points) {
    fontSize_ = points;
    Record("SetFontSize " + std::to_string(points));
}

int RecordingSurface::TextHeight(std::string_view) {
    return static_cast<int>(std::lround(fontSize_ * dpi / 72.0));
}

int RecordingSurface::TextWidth(std::string_view oemText) {
    const int charWidth = std::max(1, TextHeight("X") * 3 / 5);
    return charWidth * static_cast<int>(oemText.size());
}

int RecordingSurface::PageWidth() {
    return orientation_ == PageOrientation::Portrait ? portraitWidth : portraitHeight;
}

int RecordingSurface::PageHeight() {
    return orientation_ == PageOrientation::Portrait ? portraitHeight : portraitWidth;
}

void RecordingSurface::BeginDocument() {
    if (state_ == JobState::Open) throw std::logic_error("BeginDocument twice");
    state_ = JobState::Open;
    sheets_.assign(1, {});
    draws_ = 0;
    Record("BeginDocument");
}

void RecordingSurface::DrawText(int x, int y, std::string_view oemText) {
    RequireOpen("DrawText");
    if (failAtDraw > 0 && ++draws_ == failAtDraw) throw std::runtime_error("printer went away");
    sheets_.back().push_back({x, y, std::string(oemText)});
    Record("DrawText");
}

void RecordingSurface::NewPage() {
    RequireOpen("NewPage");
    sheets_.emplace_back();
    Record("NewPage");
}

void RecordingSurface::EndDocument() {
    RequireOpen("EndDocument");
    state_ = JobState::Ended;
    Record("EndDocument");
}

void RecordingSurface::AbortDocument() {
    state_ = JobState::Aborted;
    Record("AbortDocument");
}

void RecordingSurface::ClearRecording() {
    calls_.clear();
    sheets_.clear();
    state_ = JobState::NotBegun;
    draws_ = 0;
}

} // namespace print
