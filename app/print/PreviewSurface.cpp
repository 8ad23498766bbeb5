#include "app/print/PreviewSurface.h"

#include <utility>

namespace print {

PreviewSurface::PreviewSurface(Paper paper) : paper_(std::move(paper)) {}

Paper PreviewSurface::LoadPaper() {
    return paper_;
}

void PreviewSurface::Deliver(std::vector<Sheet> sheets) {
    sheets_ = std::move(sheets);
}

LaidOutSheets PreviewSurface::TakeSheets() {
    return {CurrentPaper(), std::exchange(sheets_, {})};
}

} // namespace print
