// The list follows the host: when the shown source's catalog changes on disk,
// the list is reloaded by itself, and the entry the user was on stays current
// and on its screen row.
#include "app/CatalogGrid.h"
#include "app/CatalogWatch.h"
#include "app/ErrorGuard.h"
#include "app/Form1.h"

#include <QApplication>
#include <QLineEdit>
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
    if (heldReload_.CatalogChanged(PStrany->currentWidget() == TabZozn))
        RunGuarded([this] { ReloadKeepingEntry(); });
}

bool TForm1::ReloadKeepingEntry() {
    heldReload_.Reloaded();
    std::optional<CatalogEntry> current;
    int screenRow = -1;
    const int row = GrZozn->CurrentRow();
    if (!GrZozn->isHidden() && row >= 0) {
        current = CatalogEntry::At(*PrnData, row + 1);
        screenRow = row - GrZozn->TopRow();
        if (screenRow >= GrZozn->VisibleRowCount()) screenRow = -1;
    }
    // BRefrClick's load, with the entry kept current and on its screen row.
    const bool listWasHidden = GrZozn->isHidden();
    ColourSelector(sourceChoice_.Current());
    const CatalogSession::Reload reload = catalog_.LoadKeeping(current);
    ShowLoad(reload.loaded, nullptr);
    // A list that comes back in place of the banner takes the focus, as after
    // the user's own load; left on the selector, the arrow keys would switch
    // the source. Someone typing a page number keeps typing there, and the
    // preview keeps it while it is shown.
    const QWidget* focused = QApplication::focusWidget();
    if (listWasHidden && GrZozn->isVisible() && focused != EStr1 && focused != EStr2)
        GrZozn->setFocus(Qt::OtherFocusReason);
    if (reload.keptPosition > 0 && screenRow >= 0)
        GrZozn->verticalScrollBar()->setValue(std::max(0, reload.keptPosition - 1 - screenRow));
    return reload.keptPosition > 0 && !GrZozn->isHidden();
}

void TForm1::CatchUpAfterPrint() {
    heldReload_.PrintEnded();
    if (!heldReload_.Pending()) return;
    // After the print handler has returned, so the reload never runs inside it.
    QTimer::singleShot(0, this, [this] {
        if (heldReload_.Due(PStrany->currentWidget() == TabZozn))
            RunGuarded([this] { ReloadKeepingEntry(); });
    });
}
