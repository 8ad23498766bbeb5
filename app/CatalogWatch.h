#pragma once
// Watches the catalog ZOZTLS.DBF of the source the list shows and tells when
// it has changed and then stayed quiet for half a second, so a catalog the host
// is still writing is not read. Hosts often replace the file rather than
// rewrite it, and now and then delete, re-create or swap a whole folder, so the
// watch follows the catalog's path: the file and every folder from the host
// folder down to it, each watched anew when its name comes to stand for another
// file or folder. Nothing is written.

#include "app/Source.h"
#include "platform/FileIdentity.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <vector>

class QFileSystemWatcher;
class QTimer;

class CatalogWatch : public QObject {
    Q_OBJECT
  public:
    explicit CatalogWatch(QObject* parent);

    // From now on watches the catalog of the source on that host as it is
    // now; called after every load, so a change during the load is not lost.
    // The host's application folder is the highest folder watched for a
    // catalog inside it; for one outside it (a meal-calculation folder
    // elsewhere) that is the folder above the catalog's folder.
    void Follow(const Source& source, const HostFolders& host);

    static constexpr int kQuietMilliseconds = 500;

  signals:
    void CatalogChanged();

  private:
    // What a folder event may have changed: a catalog that appeared, went, or
    // was replaced by another file or by one of another size or time.
    struct Signature {
        bool exists = false;
        std::optional<platform::FileIdentity> identity;
        std::uintmax_t size = 0;
        std::filesystem::file_time_type written;
        bool operator==(const Signature&) const = default;
    };
    void FollowFolder(const std::filesystem::path& folder, const std::filesystem::path& top);
    Signature Current() const;
    std::filesystem::path CatalogFile() const;
    // The folders from the highest watched one down to the catalog's, then the catalog.
    std::vector<std::filesystem::path> PathsToWatch() const;
    // Watches each of those paths that exists as the file or folder it names
    // now. True when that changed anything since the last look.
    bool Rewatch();
    void StopWatching();
    void SomethingChanged();
    void Quiet();

    QFileSystemWatcher* watcher_;
    QTimer* quiet_;
    std::filesystem::path top_;
    std::filesystem::path folder_;
    // What each watched path named when its watch was set.
    std::map<QString, platform::FileIdentity> watched_;
    Signature seen_;
    bool fileTouched_ = false;
};
