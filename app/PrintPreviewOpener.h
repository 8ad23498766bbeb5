#pragma once
// Opening the print preview: the request's sheets laid out off the window's
// thread, from a copy of the lines shown (the viewer may load another file
// meanwhile) or from the print file, on the default printer's paper (A4
// without a printer), then the preview shown over the window. A missing file
// or a range beyond the document is told the way "Tlač" tells it, and no
// preview opens.

#include "app/PrintPreview.h"
#include "app/Printing.h"

#include <QObject>

class PreviewLayouter;
class QWidget;
class TMemoExStrings;
class WindowNotices;
struct PrintRequest;

class PrintPreviewOpener : public QObject {
  public:
    // The preview opens over window; what stands in its way is told through notices.
    PrintPreviewOpener(QWidget* window, WindowNotices& notices);
    // A window closed while the sheets are laid out takes its busy cursor along.
    ~PrintPreviewOpener() override;

    // Lays the request out and opens the preview with these actions. Ignored
    // while an earlier opening is still laying its sheets out.
    void Open(const PrintRequest& request, const TMemoExStrings& shownLines, LineSource source,
              PrintPreview::Actions actions);
    bool Opening() const { return layouter_ != nullptr; }

  private:
    QWidget* window_;
    WindowNotices& notices_;
    PreviewLayouter* layouter_ = nullptr;
};
