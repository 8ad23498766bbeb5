#include "app/CatalogSession.h"

#include "app/CatalogLoading.h"
#include "memtable/loxMemTable.h"

#include <utility>

CatalogSession::CatalogSession(const SourceChoice& sources, dbf::TDbf& Dbf1,
                               memtable::TloxMemTable& PrnData)
    : sources_(sources), catalogTable_(Dbf1), records_(PrnData) {}

bool CatalogSession::Load() {
    // A relative folder is the application folder's, for the reader as for every other lookup.
    return LoadCatalog(catalogTable_, records_,
                       sources_.Current().ResolvedCatalogFolder(sources_.Host()));
}

CatalogSession::Reload CatalogSession::LoadKeeping(const std::optional<CatalogEntry>& keep) {
    Reload reload;
    reload.loaded = Load();
    if (!reload.loaded || !keep) return reload;
    reload.keptPosition = FindEntry(records_, *keep);
    if (reload.keptPosition > 0) records_.MoveToPosition(reload.keptPosition);
    return reload;
}

CatalogEntry CatalogSession::CurrentEntry() const {
    return CatalogEntry::Current(records_);
}

std::filesystem::path CatalogSession::PrintFileOf(const CatalogEntry& entry) const {
    return sources_.Current().ResolvedPrintFile(sources_.Host(), entry.FilName);
}

PrintRequest CatalogSession::RequestForCurrent(print::PageRange pages, bool Portrait,
                                               PrintDestination destination) const {
    CatalogEntry entry = CurrentEntry();
    std::filesystem::path file = PrintFileOf(entry);
    return {std::move(entry), std::move(file), pages, Portrait, std::move(destination)};
}
