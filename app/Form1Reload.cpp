// The list follows the host: when the shown source's catalog changes on disk,
// the list is reloaded by itself, and the entry the user was on stays current
// and on its screen row.
#include "app/CatalogGrid.h"
#include "app/CatalogWatch.h"
#include "app/ErrorGuard.h"
#include "app/Form1.h"

#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <optional>

void TForm1::WatchCatalogs() {
    catalogWatch_ = new CatalogWatch(this);
    connect(catalogWatch_, &CatalogWatch::CatalogChanged, this, &TForm1::HostCatalogChanged);
}

void TForm1::HostCatalogChanged() {
    // The preview and a running print work from the entry the user chose; the
    // list catches up when it is shown again.
    if (printing_ || PStrany->currentWidget() != TabZozn) {
        reloadPending_ = true;
        return;
    }
    RunGuarded([this] { ReloadKeepingEntry(); });
}

bool TForm1::ReloadKeepingEntry() {
    reloadPending_ = false;
    std::optional<CatalogEntry> current;
    int screenRow = -1;
    const int row = GrZozn->CurrentRow();
    if (!GrZozn->isHidden() && row >= 0) {
        current = CatalogEntry::At(*PrnData, row + 1);
        screenRow = row - GrZozn->TopRow();
        if (screenRow >= GrZozn->VisibleRowCount()) screenRow = -1;
    }
    BRefrClick(nullptr);
    if (!current || GrZozn->isHidden()) return false;
    const int position = FindEntry(*PrnData, *current);
    if (position == 0) return false;
    PrnData->MoveToPosition(position);
    if (screenRow >= 0)
        GrZozn->verticalScrollBar()->setValue(std::max(0, position - 1 - screenRow));
    return true;
}

void TForm1::CatchUpAfterPrint() {
    printing_ = false;
    if (!reloadPending_) return;
    // After the print handler has returned, so the reload never runs inside it.
    QTimer::singleShot(0, this, [this] {
        if (reloadPending_ && !printing_ && PStrany->currentWidget() == TabZozn)
            RunGuarded([this] { ReloadKeepingEntry(); });
    });
}
