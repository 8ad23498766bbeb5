#pragma once
// The print preview's zoom: the whole sheet in the window, the sheet's width
// across it, or a fixed scale from a list of steps, where 1 shows the paper
// at its real size on the screen.

#include <QSizeF>

class SheetZoom {
  public:
    enum class Mode { WholePage, PageWidth, Fixed };

    static constexpr double kSteps[] = {0.25, 0.33, 0.5, 0.67, 0.75, 1.0, 1.25, 1.5, 2.0, 3.0, 4.0};

    Mode CurrentMode() const { return mode_; }

    void FitWholePage() { mode_ = Mode::WholePage; }
    void FitPageWidth() { mode_ = Mode::PageWidth; }
    // The next step above or below the scale shown now; false at the end of the steps.
    bool ZoomIn(double shownScale);
    bool ZoomOut(double shownScale);

    // Screen pixels per paper pixel at its real size: the scale at which a
    // sheet of paperSize (in screen pixels at real size) is shown in a
    // viewport of that size, margin pixels kept free around it.
    double ScaleFor(QSizeF paperSize, QSizeF viewport, double margin) const;

  private:
    Mode mode_ = Mode::WholePage;
    double fixed_ = 1.0;
};
