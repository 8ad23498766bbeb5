#pragma once
// The list's use cases on the chosen source's catalog: loading it into
// PrnData, loading it again with the entry the user was on kept current, the
// entry the user is on, its print file, and the request to print it. The
// window wires its controls to these; tests drive them without a window.

#include "app/CatalogEntry.h"
#include "app/PrintRequest.h"
#include "app/SourceChoice.h"

#include <filesystem>
#include <optional>

namespace dbf {
class TDbf;
}
namespace memtable {
class TloxMemTable;
}

class CatalogSession {
  public:
    // Works on the window's catalog table object and memory table, for the
    // source chosen in `sources`; all three outlive the session.
    CatalogSession(const SourceChoice& sources, dbf::TDbf& Dbf1, memtable::TloxMemTable& PrnData);

    // Loads the chosen source's catalog into PrnData. False when it cannot be
    // read; PrnData then keeps what it held, or the entries copied before the
    // error. Loading keeps the active order; the first entry of it is current.
    bool Load();

    // Loads the catalog again. When `keep` is given and the catalog still
    // holds that entry (by name, date, time and file), it is made current.
    struct Reload {
        bool loaded = false;
        int keptPosition = 0; // where the kept entry is now, 0 when it is gone
    };
    Reload LoadKeeping(const std::optional<CatalogEntry>& keep);

    // The entry the user is on; an empty entry when the list is empty.
    CatalogEntry CurrentEntry() const;
    // An entry's print file in the chosen source, found on disk.
    std::filesystem::path PrintFileOf(const CatalogEntry& entry) const;
    // The request to print the current entry.
    PrintRequest RequestForCurrent(print::PageRange pages, bool Portrait,
                                   PrintDestination destination) const;

  private:
    const SourceChoice& sources_;
    dbf::TDbf& catalogTable_;
    memtable::TloxMemTable& records_;
};
