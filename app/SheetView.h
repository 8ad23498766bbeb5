#pragma once
// The print preview's sheet: one laid-out sheet on its paper, painted at the
// zoom chosen, with scroll bars when it is larger than the window. Only the
// sheet shown is painted, so a report of any length shows at once.

#include "app/SheetZoom.h"
#include "app/print/PreviewSurface.h"

#include <QAbstractScrollArea>

#include <memory>

class SheetView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    explicit SheetView(QWidget* parent = nullptr);

    // New sheets to show, from the first one, or the given sheet when it exists.
    void SetSheets(std::shared_ptr<const print::LaidOutSheets> sheets, int shownSheet = 0);
    const print::LaidOutSheets* Sheets() const { return sheets_.get(); }
    int SheetCount() const;
    // The sheet shown, from 0; -1 when there is none.
    int CurrentSheet() const { return SheetCount() > 0 ? current_ : -1; }
    void ShowSheet(int index);

    void FitWholePage();
    void FitPageWidth();
    void ZoomIn();
    void ZoomOut();
    const SheetZoom& Zoom() const { return zoom_; }
    // The scale shown: 1 is the paper at its real size on this screen.
    double ShownScale() const;
    // The paper as it is shown, in the viewport's pixels.
    QRectF PaperRect() const;

  signals:
    // The sheet shown or the zoom changed.
    void ViewChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    // The paper's whole size in screen pixels at its real size.
    QSizeF RealPaperSize() const;
    void UpdateScrollBars();
    // The scroll bars and the sheet follow a new zoom.
    void ZoomChanged();

    std::shared_ptr<const print::LaidOutSheets> sheets_;
    int current_ = 0;
    SheetZoom zoom_;
};
