#include "app/CatalogWatch.h"

#include "platform/Files.h"

#include <QFileSystemWatcher>
#include <QTimer>

namespace {

constexpr char kCatalogName[] = "ZOZTLS.DBF";

// The folder without a trailing separator, so it compares and splits plainly.
std::filesystem::path Normalized(const std::filesystem::path& folder) {
    std::filesystem::path normal = folder.lexically_normal();
    if (!normal.has_filename() && normal.has_parent_path() && normal != normal.root_path())
        normal = normal.parent_path();
    return normal;
}

QString Text(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

} // namespace

CatalogWatch::CatalogWatch(QObject* parent)
    : QObject(parent), watcher_(new QFileSystemWatcher(this)), quiet_(new QTimer(this)) {
    quiet_->setSingleShot(true);
    quiet_->setInterval(kQuietMilliseconds);
    connect(quiet_, &QTimer::timeout, this, &CatalogWatch::Quiet);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this] {
        fileTouched_ = true;
        SomethingChanged();
    });
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &CatalogWatch::SomethingChanged);
}

std::filesystem::path CatalogWatch::CatalogFile() const {
    return platform::ResolveHostPath(kCatalogName, folder_);
}

CatalogWatch::Signature CatalogWatch::Current() const {
    std::error_code error;
    const std::filesystem::path file = CatalogFile();
    Signature signature;
    if (!std::filesystem::is_regular_file(file, error)) return signature;
    signature.identity = platform::IdentityOf(file);
    signature.size = std::filesystem::file_size(file, error);
    signature.written = std::filesystem::last_write_time(file, error);
    signature.exists = !error;
    return signature;
}

std::vector<std::filesystem::path> CatalogWatch::PathsToWatch() const {
    std::filesystem::path top = top_;
    std::filesystem::path below = folder_.lexically_relative(top);
    if (below.empty() || *below.begin() == "..") {
        top = folder_.parent_path();
        below = folder_.filename();
    }
    std::vector<std::filesystem::path> paths{top};
    std::filesystem::path path = top;
    for (const std::filesystem::path& part : below) {
        if (part.empty() || part == ".") continue;
        path /= part;
        paths.push_back(path);
    }
    paths.push_back(CatalogFile());
    return paths;
}

bool CatalogWatch::Rewatch() {
    // Each identity is taken before its watch is set: a swap in between then
    // shows at the next look, which the swap's own event brings.
    std::map<QString, platform::FileIdentity> wanted;
    for (const std::filesystem::path& path : PathsToWatch())
        if (const std::optional<platform::FileIdentity> identity = platform::IdentityOf(path))
            wanted.emplace(Text(path), *identity);

    const QStringList files = watcher_->files();
    const QStringList folders = watcher_->directories();
    const auto before = watched_;
    for (auto it = watched_.begin(); it != watched_.end();) {
        // The watcher drops a watch by itself when its folder is deleted.
        const bool stillWatched = files.contains(it->first) || folders.contains(it->first);
        const auto want = wanted.find(it->first);
        if (stillWatched && want != wanted.end() && want->second == it->second) {
            ++it;
            continue;
        }
        if (stillWatched) watcher_->removePath(it->first);
        it = watched_.erase(it);
    }
    for (const auto& [path, identity] : wanted)
        if (!watched_.contains(path) && watcher_->addPath(path)) watched_.emplace(path, identity);
    return watched_ != before;
}

void CatalogWatch::StopWatching() {
    if (!watcher_->files().isEmpty()) watcher_->removePaths(watcher_->files());
    if (!watcher_->directories().isEmpty()) watcher_->removePaths(watcher_->directories());
    watched_.clear();
}

void CatalogWatch::Follow(const Source& source, const HostFolders& host) {
    FollowFolder(source.ResolvedCatalogFolder(host), host.appFolder);
}

void CatalogWatch::FollowFolder(const std::filesystem::path& folder,
                                const std::filesystem::path& top) {
    const std::filesystem::path normal = Normalized(folder);
    const bool sameFolder = normal == folder_ && Normalized(top) == top_;
    if (!sameFolder) {
        StopWatching();
        folder_ = normal;
        top_ = Normalized(top);
    }
    // On the same folder, a path that names another file or folder than at the
    // last look was replaced during the load or just after it, and its event
    // may not have come yet: the catalog is looked at again once all is quiet.
    const bool replaced = Rewatch() && sameFolder;
    fileTouched_ = replaced;
    if (replaced)
        quiet_->start();
    else
        quiet_->stop();
    seen_ = Current();
}

void CatalogWatch::SomethingChanged() {
    // A folder on the way that was re-created or swapped is watched at once, so
    // the catalog written into it next is heard of.
    Rewatch();
    // Every further event within the half second starts it again.
    quiet_->start();
}

void CatalogWatch::Quiet() {
    Rewatch();
    const Signature now = Current();
    // Other files come and go in the folders (print files, the host's temporary
    // files); only a change of the catalog itself counts.
    if (!fileTouched_ && now == seen_) return;
    fileTouched_ = false;
    seen_ = now;
    emit CatalogChanged();
}
