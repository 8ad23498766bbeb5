// The keys an office user expects beside the buttons. Each key clicks its
// button, so it runs the same handler under the same guard, and a disabled
// button ignores it as it ignores the mouse.
#include "app/CatalogGrid.h"
#include "app/ErrorGuard.h"
#include "app/FindBar.h"
#include "app/Form1.h"
#include "app/SearchPane.h"

#include <QPushButton>
#include <QShortcut>

#include <functional>

void TForm1::BindKeys() {
    // Enter in the list previews the current entry, as "Náhľad" does.
    connect(GrZozn, &CatalogGrid::EnterPressed, BView, &QPushButton::click);

    // The print preview from either page, as BTlac's menu offers it.
    auto* previewKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P), this);
    connect(previewKey, &QShortcut::activated, this,
            [this] { RunGuarded([this] { ShowPrintPreview(); }); });

    // The preview page's keys act wherever the focus is in the window, but only
    // while that page is shown: a shortcut of a hidden page does not fire.
    auto onPreview = [this](const QKeySequence& key, std::function<void()> action) {
        auto* shortcut = new QShortcut(key, TabView);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [action] { RunGuarded(action); });
    };
    onPreview(QKeySequence(Qt::Key_Escape), [this] {
        if (findBar_->Searching())
            findBar_->StopSearch();
        else if (findBar_->IsOpen())
            findBar_->Close();
        else
            BZozn->click();
    });
    onPreview(QKeySequence(Qt::CTRL | Qt::Key_F), [this] { findBar_->Open(); });

    // Ctrl+Shift+F on the list opens the search across print files over it.
    auto* searchAll = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F), TabZozn);
    searchAll->setContext(Qt::WindowShortcut);
    connect(searchAll, &QShortcut::activated, this,
            [this] { RunGuarded([this] { searchPane_->Open(); }); });

    onPreview(QKeySequence(Qt::Key_F3), [this] { findBar_->FindNext(); });
    onPreview(QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { findBar_->FindPrevious(); });
}
