#include "app/HostFolderCheck.h"

#include "platform/Files.h"

#include <QFileInfo>
#include <QStringList>

namespace {

bool HoldsFolder(const QString& folder, const char* name) {
    return platform::FolderExists(name, folder.toStdString());
}

bool HoldsFile(const QString& folder, const char* name) {
    return platform::FileExists(name, folder.toStdString());
}

} // namespace

bool IsHostFolder(const QString& folder) {
    if (folder.isEmpty()) return false;
    return HoldsFolder(folder, "Cis") || HoldsFolder(folder, "Zal") ||
           HoldsFile(folder, "oposcis.dbf");
}

QString HostFolderProblem(const QString& folder) {
    if (folder.trimmed().isEmpty())
        return QStringLiteral("Zadajte priečinok hostiteľského systému.");
    const QFileInfo info(folder);
    if (!info.exists()) return QStringLiteral("Priečinok %1 neexistuje.").arg(folder);
    if (!info.isDir()) return QStringLiteral("%1 nie je priečinok.").arg(folder);
    if (!info.isReadable() || !info.isExecutable())
        return QStringLiteral("Priečinok %1 sa nedá čítať.").arg(folder);
    if (IsHostFolder(folder)) return {};
    QStringList folders;
    for (const char* name : {"Cis", "Tla", "Zal"})
        if (!HoldsFolder(folder, name)) folders << QString::fromLatin1(name);
    const QString missing =
        folders.size() == 1
            ? QStringLiteral("priečinok %1").arg(folders.front())
            : QStringLiteral("priečinky %1 a %2")
                  .arg(folders.mid(0, folders.size() - 1).join(QStringLiteral(", ")),
                       folders.back());
    return QStringLiteral("V priečinku %1 chýbajú %2 aj súbor oposcis.dbf, nie je to priečinok "
                          "hostiteľského systému.")
        .arg(folder, missing);
}
