#include "app/CatalogWatch.h"

#include "platform/Files.h"

#include <QFileSystemWatcher>
#include <QTimer>

namespace {
constexpr char kCatalogName[] = "ZOZTLS.DBF";
}

CatalogWatch::CatalogWatch(QObject* parent)
    : QObject(parent), watcher_(new QFileSystemWatcher(this)), quiet_(new QTimer(this)) {
    quiet_->setSingleShot(true);
    quiet_->setInterval(kQuietMilliseconds);
    connect(quiet_, &QTimer::timeout, this, &CatalogWatch::Quiet);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this] {
        fileTouched_ = true;
        quiet_->start();
    });
    // Every further event within the half second starts it again.
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { quiet_->start(); });
}

std::filesystem::path CatalogWatch::CatalogFile() const {
    return platform::ResolveHostPath(kCatalogName, folder_);
}

CatalogWatch::Signature CatalogWatch::Current() const {
    std::error_code error;
    const std::filesystem::path file = CatalogFile();
    Signature signature;
    if (!std::filesystem::is_regular_file(file, error)) return signature;
    signature.size = std::filesystem::file_size(file, error);
    signature.written = std::filesystem::last_write_time(file, error);
    signature.exists = !error;
    return signature;
}

void CatalogWatch::Follow(const Source& source, const HostFolders& host) {
    const std::filesystem::path folder = source.ResolvedCatalogFolder(host);
    if (folder != folder_) {
        if (!watcher_->files().isEmpty()) watcher_->removePaths(watcher_->files());
        if (!watcher_->directories().isEmpty()) watcher_->removePaths(watcher_->directories());
        folder_ = folder;
    }
    const QString watchedFolder = QString::fromStdString(folder_.string());
    std::error_code error;
    if (std::filesystem::is_directory(folder_, error) &&
        !watcher_->directories().contains(watchedFolder))
        watcher_->addPath(watchedFolder);
    quiet_->stop();
    fileTouched_ = false;
    WatchFile();
    seen_ = Current();
}

void CatalogWatch::WatchFile() {
    const QString file = QString::fromStdString(CatalogFile().string());
    for (const QString& watched : watcher_->files())
        if (watched != file) watcher_->removePath(watched);
    std::error_code error;
    if (std::filesystem::is_regular_file(CatalogFile(), error) && !watcher_->files().contains(file))
        watcher_->addPath(file);
}

void CatalogWatch::Quiet() {
    WatchFile();
    const Signature now = Current();
    // Other files come and go in the folder (print files, the host's temporary
    // files); only a change of the catalog itself counts.
    if (!fileTouched_ && now == seen_) return;
    fileTouched_ = false;
    seen_ = now;
    emit CatalogChanged();
}
