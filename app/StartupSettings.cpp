#include "app/StartupSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <vector>

namespace {

const QString kSettingsFile = QStringLiteral("tlacsub/tlacsub.ini");

// One place a setting can come from, in the order of precedence.
struct Source {
    QString file;  // empty for the command line
    QString where; // how the message names it
};

// A setting's text in one settings file. QSettings reads an unquoted value
// holding commas as a list; a path may hold commas, so the list is joined back.
std::optional<QString> ReadKey(const QString& file, const QString& key) {
    if (file.isEmpty() || !QFileInfo(file).isFile()) return std::nullopt;
    const QSettings settings(file, QSettings::IniFormat);
    const QVariant value = settings.value(key);
    if (!value.isValid()) return std::nullopt;
    const QString text = value.typeId() == QMetaType::QStringList
                             ? value.toStringList().join(QLatin1Char(','))
                             : value.toString();
    if (text.trimmed().isEmpty()) return std::nullopt;
    return text.trimmed();
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
};

// The first installed code page among the candidates, else the locale's; every
// candidate passed over gets a notice naming it and the page used instead.
int ChooseCodePage(const std::vector<CodePageCandidate>& candidates, int localePage,
                   QStringList& warnings) {
    int chosen = localePage;
    std::vector<const CodePageCandidate*> rejected;
    for (const CodePageCandidate& candidate : candidates) {
        bool number = false;
        const int page = candidate.text.toInt(&number);
        if (number && platform::IsCodePageInstalled(page)) {
            chosen = page;
            break;
        }
        rejected.push_back(&candidate);
    }
    for (const CodePageCandidate* candidate : rejected)
        warnings << QStringLiteral("Kódová stránka %1 (%2) nie je na tomto počítači "
                                   "nainštalovaná, použije sa kódová stránka %3.")
                        .arg(candidate->text, candidate->where, QString::number(chosen));
    return chosen;
}

std::vector<CodePageCandidate> CodePageCandidates(std::optional<int> commandLine,
                                                  const QString& option, const QString& key,
                                                  const SettingsFiles& files) {
    std::vector<CodePageCandidate> candidates;
    if (commandLine)
        candidates.push_back({QString::number(*commandLine), QStringLiteral("voľba ") + option});
    for (const QString& file : {files.user, files.system})
        if (auto text = ReadKey(file, key)) candidates.push_back({*text, FromFile(key, file)});
    return candidates;
}

} // namespace

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
        if (QFileInfo(file).isFile()) {
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

    std::optional<QString> folder;
    QString where;
    if (options.hostFolder) {
        folder = QDir::cleanPath(QDir::current().absoluteFilePath(*options.hostFolder));
        where = QStringLiteral("voľba --host-folder");
    } else {
        for (const QString& file : {files.user, files.system}) {
            const auto value = ReadKey(file, QStringLiteral("HostFolder"));
            if (!value) continue;
            // A relative folder belongs to the settings file that names it.
            folder = QDir::cleanPath(QFileInfo(file).absoluteDir().absoluteFilePath(*value));
            where = FromFile(QStringLiteral("HostFolder"), file);
            break;
        }
    }
    if (folder) {
        settings.error = FolderProblem(*folder, where);
        settings.appFolder = WithSeparator(*folder);
    } else {
        settings.appFolder = executableFolder;
    }

    settings.ansiCodePage =
        ChooseCodePage(CodePageCandidates(options.ansiCodePage, QStringLiteral("--ansi-codepage"),
                                          QStringLiteral("AnsiCodePage"), files),
                       localePages.ansi, settings.warnings);
    settings.oemCodePage =
        ChooseCodePage(CodePageCandidates(options.oemCodePage, QStringLiteral("--oem-codepage"),
                                          QStringLiteral("OemCodePage"), files),
                       localePages.oem, settings.warnings);
    return settings;
}
