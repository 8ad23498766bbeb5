#pragma once
// Laying a print request out for the print preview: the same print path as
// "Tlač" (LayOut), on the paper of the printer the preview shows, with the
// sheets kept to be painted one at a time. A long report is laid out once,
// off the window's thread, so the window never waits for it.

#include "app/PrintOutcome.h"
#include "app/PrintRequest.h"
#include "app/Printing.h"
#include "app/print/Paper.h"
#include "app/print/PreviewSurface.h"

#include <QObject>

#include <functional>
#include <memory>

class TMemoExStrings;

// What the preview shows of a request.
struct PreviewPages {
    // LaidOut with the job's choices, or why there is nothing to show.
    PrintOutcome outcome;
    std::shared_ptr<const print::LaidOutSheets> sheets;
    // The document's page on the first sheet: the pages before the range are
    // laid out but get no sheet.
    int firstPage = 1;

    int SheetCount() const { return sheets ? static_cast<int>(sheets->sheets.size()) : 0; }
    // The document's page that a sheet (from 0) shows.
    int DocumentPage(int sheet) const { return firstPage + sheet; }
};

// Lays the request out on the paper. Safe on any thread while nothing else
// changes the lines.
PreviewPages LayOutPreview(const PrintRequest& request, const print::Paper& paper,
                           TMemoExStrings& lines, LineSource source);

// Runs LayOutPreview on a worker thread and reports on the window's thread.
// A QObject for its lifetime alone: a result that arrives after the layouter
// is gone is dropped.
class PreviewLayouter : public QObject {
  public:
    explicit PreviewLayouter(QObject* parent = nullptr);

    // Starts laying out; the result of a layout still running is then dropped.
    // The lines are shared with the worker, which only reads them unless the
    // source is the print file.
    void Start(const PrintRequest& request, const print::Paper& paper,
               std::shared_ptr<TMemoExStrings> lines, LineSource source);
    bool Running() const { return running_; }

    // Called on the window's thread with the result of the latest Start.
    std::function<void(const PreviewPages& pages)> OnReady;

  private:
    void Deliver(int generation, const PreviewPages& pages);

    int generation_ = 0;
    bool running_ = false;
};
