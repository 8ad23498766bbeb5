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
#include <cstdint>
#include <optional>
#include <string>

namespace {

// What makes an entry the same entry after a reload.
struct EntryKey {
    std::string nazov;
    std::int32_t datum = 0;
    std::string cas;
    std::string filName;
    bool operator==(const EntryKey&) const = default;
};

EntryKey KeyAt(const memtable::TloxMemTable& table, int position) {
    return {table.ValueTextAt(position, table.FieldNamed("Nazov")),
            table.ValueDayNumberAt(position, table.FieldNamed("Datum")),
            table.ValueTextAt(position, table.FieldNamed("Cas")),
            table.ValueTextAt(position, table.FieldNamed("FilName"))};
}

} // namespace

void TForm1::WatchCatalogs() {
    catalogWatch_ = new CatalogWatch(AppFolder, this);
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

void TForm1::ReloadKeepingEntry() {
    reloadPending_ = false;
    std::optional<EntryKey> current;
    int screenRow = -1;
    const int row = GrZozn->CurrentRow();
    if (!GrZozn->isHidden() && row >= 0) {
        current = KeyAt(*PrnData, row + 1);
        screenRow = row - GrZozn->TopRow();
        if (screenRow >= GrZozn->VisibleRowCount()) screenRow = -1;
    }
    const bool listWasHidden = GrZozn->isHidden();
    BRefrClick(nullptr);
    // A list that comes back in place of the banner takes the focus, as after
    // the user's own load; left on the selector, the arrow keys would switch
    // the source. Someone typing a page number keeps typing there.
    const QWidget* focused = QApplication::focusWidget();
    if (listWasHidden && !GrZozn->isHidden() && focused != EStr1 && focused != EStr2)
        GrZozn->setFocus(Qt::OtherFocusReason);
    if (!current || GrZozn->isHidden()) return;
    const int total = PrnData->RecordTotal();
    for (int position = 1; position <= total; ++position) {
        if (!(KeyAt(*PrnData, position) == *current)) continue;
        PrnData->MoveToPosition(position);
        if (screenRow >= 0)
            GrZozn->verticalScrollBar()->setValue(std::max(0, position - 1 - screenRow));
        return;
    }
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
