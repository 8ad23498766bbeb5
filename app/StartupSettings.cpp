#include "app/StartupSettings.h"

#include "app/HostFolderCheck.h"
#include "app/SettingsFileText.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QSettings>
#include <QStandardPaths>

#include <vector>

namespace {

const QString kSettingsFile = QStringLiteral("tlacsub/tlacsub.ini");

// The keys this tool reads from one settings file, those with a value.
struct SettingsFile {
    QString path;
    QMap<QString, QString> values;
    SettingSource source;
};

// Reads a settings file; a file that is there but cannot be read, or is no
// settings file at all, is reported and gives nothing, rather than part of
// what it holds.
SettingsFile ReadSettingsFile(const QString& path, SettingSource source, QStringList& warnings) {
    SettingsFile file{path, {}, source};
    const SettingsFileState state = ReadSettingsFileText(path).state;
    if (state == SettingsFileState::Missing) return file;
    const auto unreadable = [&] {
        warnings << QStringLiteral("Súbor nastavení %1 sa nedá prečítať, jeho nastavenia sa "
                                   "nepoužijú.")
                        .arg(path);
        return file;
    };
    // Never handed to QSettings unchecked: it would wait on a pipe for ever.
    if (state == SettingsFileState::Unusable) return unreadable();
    const QSettings settings(path, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) return unreadable();
    for (const char* name : {"HostFolder", "AnsiCodePage", "OemCodePage"}) {
        const QString key = QString::fromLatin1(name);
        const QVariant value = settings.value(key);
        // An unquoted value holding commas reads as a list; a path may hold commas.
        const QString text = value.typeId() == QMetaType::QStringList
                                 ? value.toStringList().join(QLatin1Char(','))
                                 : value.toString();
        if (!text.trimmed().isEmpty()) file.values.insert(key, text.trimmed());
    }
    return file;
}

QString FromFile(const QString& key, const QString& file) {
    return QStringLiteral("%1 v súbore %2").arg(key, file);
}

// Why a folder cannot serve as the host's folder, or nothing when it can.
QString FolderProblem(const QString& folder, const QString& where) {
    const QFileInfo info(folder);
    if (!info.exists())
        return QStringLiteral("Priečinok hostiteľského systému %1 (%2) neexistuje.")
            .arg(folder, where);
    if (!info.isDir())
        return QStringLiteral("%1 (%2) nie je priečinok, hostiteľský systém v ňom byť nemôže.")
            .arg(folder, where);
    if (!info.isReadable() || !info.isExecutable())
        return QStringLiteral("Priečinok hostiteľského systému %1 (%2) sa nedá čítať.")
            .arg(folder, where);
    return {};
}

std::string WithSeparator(QString folder) {
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder.toStdString();
}

struct CodePageCandidate {
    QString text;
    QString where;
    SettingSource source;
};

// Why the tool cannot take a code page for the role, in the words of a notice.
QString Refusal(const CodePageCandidate& candidate, platform::CodePageRole role, int chosen) {
    bool number = false;
    const int page = candidate.text.toInt(&number);
    QString why = QStringLiteral("nie je na tomto počítači nainštalovaná");
    if (number && platform::IsCodePageInstalled(page)) {
        why = platform::IsUsableCodePage(page, platform::CodePageRole::Ansi) &&
                      role == platform::CodePageRole::Oem
                  ? QStringLiteral("je viacbajtová a náhľad tlačového súboru ukazuje jeden bajt "
                                   "na znak")
                  : QStringLiteral("nie je založená na ASCII a tento program ju nevie použiť");
    }
    return QStringLiteral("Kódová stránka %1 (%2) %3, použije sa kódová stránka %4.")
        .arg(candidate.text, candidate.where, why, QString::number(chosen));
}

// The first code page among the candidates that the role can use, else the
// locale's; every candidate passed over gets a notice naming it and the page
// used instead. A locale whose page does not serve (a multibyte OEM page)
// gives way to the C locale's.
int ChooseCodePage(const std::vector<CodePageCandidate>& candidates, int localePage,
                   platform::CodePageRole role, QStringList& warnings, SettingSource& source) {
    int chosen = localePage;
    source = SettingSource::Default;
    if (!platform::IsUsableCodePage(localePage, role))
        chosen = role == platform::CodePageRole::Oem ? 437 : 1252;
    std::vector<const CodePageCandidate*> rejected;
    for (const CodePageCandidate& candidate : candidates) {
        bool number = false;
        const int page = candidate.text.toInt(&number);
        if (number && platform::IsUsableCodePage(page, role)) {
            chosen = page;
            source = candidate.source;
            break;
        }
        rejected.push_back(&candidate);
    }
    for (const CodePageCandidate* candidate : rejected)
        warnings << Refusal(*candidate, role, chosen);
    return chosen;
}

std::vector<CodePageCandidate> CodePageCandidates(std::optional<int> commandLine,
                                                  const QString& option, const QString& key,
                                                  const std::vector<SettingsFile>& files) {
    std::vector<CodePageCandidate> candidates;
    if (commandLine)
        candidates.push_back({QString::number(*commandLine), QStringLiteral("voľba ") + option,
                              SettingSource::CommandLine});
    for (const SettingsFile& file : files)
        if (file.values.contains(key))
            candidates.push_back({file.values.value(key), FromFile(key, file.path), file.source});
    return candidates;
}

} // namespace

QMap<QString, QString> SettingsFileValues(const QString& path, QStringList& warnings) {
    return ReadSettingsFile(path, SettingSource::UserFile, warnings).values;
}

SettingsFiles DefaultSettingsFiles() {
    SettingsFiles files;
    files.user = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                 QLatin1Char('/') + kSettingsFile;
    // The system's folders follow the user's in the list of configuration folders.
    QStringList system = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    if (!system.isEmpty()) system.removeFirst();
    files.system = QStringLiteral("/etc/xdg/") + kSettingsFile;
    for (const QString& folder : system) {
        const QString file = folder + QLatin1Char('/') + kSettingsFile;
        // Whatever is there is the system's file, also one that cannot be used.
        if (const QFileInfo info(file); info.exists() || info.isSymLink()) {
            files.system = file;
            break;
        }
    }
    return files;
}

StartupSettings ResolveStartupSettings(const CommandLineOptions& options,
                                       const SettingsFiles& files,
                                       const std::string& executableFolder,
                                       platform::CodePagePair localePages) {
    StartupSettings settings;
    // In the order of precedence.
    const std::vector<SettingsFile> read{
        ReadSettingsFile(files.user, SettingSource::UserFile, settings.warnings),
        ReadSettingsFile(files.system, SettingSource::SystemFile, settings.warnings)};

    std::optional<QString> folder;
    QString where;
    if (options.hostFolder) {
        folder = QDir::cleanPath(QDir::current().absoluteFilePath(*options.hostFolder));
        where = QStringLiteral("voľba --host-folder");
        settings.hostFolderSource = SettingSource::CommandLine;
    } else {
        for (const SettingsFile& file : read) {
            const QString key = QStringLiteral("HostFolder");
            if (!file.values.contains(key)) continue;
            // A relative folder belongs to the settings file that names it.
            folder = QDir::cleanPath(
                QFileInfo(file.path).absoluteDir().absoluteFilePath(file.values.value(key)));
            where = FromFile(key, file.path);
            settings.hostFolderSource = file.source;
            break;
        }
    }
    if (folder) {
        settings.error = FolderProblem(*folder, where);
        settings.appFolder = WithSeparator(*folder);
    } else {
        settings.appFolder = executableFolder;
        settings.hostFolderNeeded = !IsHostFolder(QString::fromStdString(executableFolder));
    }

    settings.ansiCodePage = ChooseCodePage(
        CodePageCandidates(options.ansiCodePage, QStringLiteral("--ansi-codepage"),
                           QStringLiteral("AnsiCodePage"), read),
        localePages.ansi, platform::CodePageRole::Ansi, settings.warnings, settings.ansiSource);
    settings.oemCodePage = ChooseCodePage(
        CodePageCandidates(options.oemCodePage, QStringLiteral("--oem-codepage"),
                           QStringLiteral("OemCodePage"), read),
        localePages.oem, platform::CodePageRole::Oem, settings.warnings, settings.oemSource);
    return settings;
}
