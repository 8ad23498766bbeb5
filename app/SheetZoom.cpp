#include "app/SheetZoom.h"

#include <algorithm>
#include <iterator>

namespace {
// Two scales this close are the same step, so a fitted scale that happens to
// lie on a step moves on to the next one.
constexpr double kSameStep = 1e-3;
} // namespace

bool SheetZoom::ZoomIn(double shownScale) {
    for (const double step : kSteps)
        if (step > shownScale + kSameStep) {
            mode_ = Mode::Fixed;
            fixed_ = step;
            return true;
        }
    return false;
}

bool SheetZoom::ZoomOut(double shownScale) {
    for (auto step = std::rbegin(kSteps); step != std::rend(kSteps); ++step)
        if (*step < shownScale - kSameStep) {
            mode_ = Mode::Fixed;
            fixed_ = *step;
            return true;
        }
    return false;
}

double SheetZoom::ScaleFor(QSizeF paperSize, QSizeF viewport, double margin) const {
    if (mode_ == Mode::Fixed || paperSize.isEmpty()) return fixed_;
    const double width = std::max(1.0, viewport.width() - 2 * margin) / paperSize.width();
    if (mode_ == Mode::PageWidth) return width;
    const double height = std::max(1.0, viewport.height() - 2 * margin) / paperSize.height();
    return std::min(width, height);
}
