#include "app/PreviewLayout.h"

#include "platform/CodePages.h"
#include "viewer/MemoExStrings.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>

#include <algorithm>
#include <utility>

PreviewPages LayOutPreview(const PrintRequest& request, const print::Paper& paper,
                           TMemoExStrings& lines, LineSource source) {
    print::PreviewSurface surface(paper);
    PreviewPages pages;
    pages.outcome = LayOut(request, surface, lines, source);
    if (!pages.outcome.Succeeded()) return pages;
    pages.sheets = std::make_shared<const print::LaidOutSheets>(surface.TakeSheets());
    // Pages are counted from 1 whatever the range says; the first page in the
    // range starts the first sheet.
    pages.firstPage = std::max(1, request.pages.first);
    return pages;
}

PreviewLayouter::PreviewLayouter(QObject* parent) : QObject(parent) {}

void PreviewLayouter::Start(const PrintRequest& request, const print::Paper& paper,
                            std::shared_ptr<TMemoExStrings> lines, LineSource source) {
    const int generation = ++generation_;
    running_ = true;
    // The glyph table is built on first use; build it here, so the worker only reads it.
    platform::OemToDisplay("X");
    QPointer<PreviewLayouter> self(this);
    QThreadPool::globalInstance()->start(
        [self, generation, request, paper, lines = std::move(lines), source]() mutable {
            PreviewPages pages = LayOutPreview(request, paper, *lines, source);
            // Back on the window's thread; the layouter may be gone by then.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [self, generation, pages = std::move(pages)] {
                    if (self) self->Deliver(generation, pages);
                },
                Qt::QueuedConnection);
        });
}

void PreviewLayouter::Deliver(int generation, const PreviewPages& pages) {
    if (generation != generation_) return;
    running_ = false;
    if (OnReady) OnReady(pages);
}
