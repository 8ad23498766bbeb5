#include "app/PrintPreviewOpener.h"

#include "app/ErrorGuard.h"
#include "app/PreviewLayout.h"
#include "app/WindowNotices.h"
#include "app/print/PdfFileSurface.h"
#include "app/print/PrintError.h"
#include "app/print/Spooler.h"
#include "viewer/MemoExStrings.h"

#include <QApplication>
#include <QWidget>

#include <memory>
#include <utility>
#include <vector>

namespace {

// The print system's printers for the preview's choice; none when it cannot be asked.
std::vector<print::SpoolerPrinter> PrintersOrNone() {
    try {
        return print::ListPrinters();
    } catch (const print::EPrintError&) {
        return {};
    }
}

} // namespace

PrintPreviewOpener::PrintPreviewOpener(QWidget* window, WindowNotices& notices)
    : QObject(window), window_(window), notices_(notices) {}

PrintPreviewOpener::~PrintPreviewOpener() {
    if (Opening()) QApplication::restoreOverrideCursor();
}

void PrintPreviewOpener::Open(const PrintRequest& request, const TMemoExStrings& shownLines,
                              LineSource source, PrintPreview::Actions actions) {
    if (Opening()) return;
    // The preview's own lines: it prints what it shows, whatever the viewer loads later.
    auto lines = std::make_shared<TMemoExStrings>();
    if (source == LineSource::Store) lines->SetFullText(shownLines.FullText());
    const print::Paper paper = print::PdfFileSurface::DefaultPaper();

    layouter_ = new PreviewLayouter(this);
    layouter_->OnReady = [this, request, lines, paper,
                          actions = std::move(actions)](const PreviewPages& pages) mutable {
        layouter_->deleteLater();
        layouter_ = nullptr;
        QApplication::restoreOverrideCursor();
        RunGuarded([&] {
            if (!pages.outcome.Succeeded()) {
                notices_.Show(pages.outcome);
                return;
            }
            auto* preview = new PrintPreview(request, lines, paper, pages, PrintersOrNone(),
                                             std::move(actions), window_);
            preview->setAttribute(Qt::WA_DeleteOnClose);
            preview->setWindowModality(Qt::WindowModal);
            preview->show();
        });
    };
    QApplication::setOverrideCursor(Qt::BusyCursor);
    layouter_->Start(request, paper, lines, source);
}
