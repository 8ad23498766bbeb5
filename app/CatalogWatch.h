#pragma once
// Watches the catalog ZOZTLS.DBF of the source the list shows and tells when
// it has changed and then stayed quiet for half a second, so a catalog the host
// is still writing is not read. Hosts often replace the file rather than
// rewrite it, so the folder is watched as well as the file. Nothing is written.

#include "app/Source.h"

#include <QObject>

#include <cstdint>
#include <filesystem>
#include <optional>

class QFileSystemWatcher;
class QTimer;

class CatalogWatch : public QObject {
    Q_OBJECT
  public:
    explicit CatalogWatch(QObject* parent);

    // From now on watches the catalog of the source on that host as it is
    // now; called after every load, so a change during the load is not lost.
    void Follow(const Source& source, const HostFolders& host);

    static constexpr int kQuietMilliseconds = 500;

  signals:
    void CatalogChanged();

  private:
    // What a folder event may have changed: a catalog that appeared, went, or
    // was replaced by one of another size or time.
    struct Signature {
        bool exists = false;
        std::uintmax_t size = 0;
        std::filesystem::file_time_type written;
        bool operator==(const Signature&) const = default;
    };
    Signature Current() const;
    std::filesystem::path CatalogFile() const;
    // Watches the catalog file again: a replaced file is a new file.
    void WatchFile();
    void Quiet();

    QFileSystemWatcher* watcher_;
    QTimer* quiet_;
    std::filesystem::path folder_;
    Signature seen_;
    bool fileTouched_ = false;
};
