#include "app/HostSettings.h"

#include "app/HostFolderCheck.h"
#include "app/SettingsFileEdit.h"
#include "app/SettingsFileText.h"
#include "app/Sources.h"
#include "platform/CodePageNames.h"
#include "platform/Locale.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace {

const QString kHostFolder = QStringLiteral("HostFolder");
const QString kAnsiCodePage = QStringLiteral("AnsiCodePage");
const QString kOemCodePage = QStringLiteral("OemCodePage");

QString CodePageText(int page) {
    return QString::fromStdString(platform::CodePageLabel(page));
}

QString FolderText(const std::string& folder) {
    QString text = QString::fromStdString(folder);
    if (text.size() > 1 && text.endsWith(QLatin1Char('/'))) text.chop(1);
    return text;
}

std::optional<QString> PageValue(std::optional<int> page) {
    if (!page) return std::nullopt;
    return QString::number(*page);
}

} // namespace

HostSettings::HostSettings(CommandLineOptions commandLine, SettingsFiles files,
                           std::string executableFolder, platform::CodePagePair localePages)
    : commandLine_(std::move(commandLine)), files_(std::move(files)),
      executableFolder_(std::move(executableFolder)), localePages_(localePages) {}

HostSettings HostSettings::ForThisUser() {
    return HostSettings({}, DefaultSettingsFiles(), sources::ApplicationFolder(),
                        platform::CodePagesForLocale(platform::UserLocale()));
}

StartupSettings HostSettings::InForce() const {
    return ResolveStartupSettings(commandLine_, files_, executableFolder_, localePages_);
}

QMap<QString, QString> HostSettings::UserValues() const {
    QStringList ignored;
    return SettingsFileValues(files_.user, ignored);
}

SettingState HostSettings::Describe(const QString& key, const QString& inForce,
                                    SettingSource source, const QString& option) const {
    SettingState state{UserValues().value(key), inForce, source, {}};
    if (source == SettingSource::CommandLine)
        state.note = QStringLiteral("Platí %1 z príkazového riadka (voľba %2), kým sa program "
                                    "neukončí.")
                         .arg(inForce, option);
    else if (source == SettingSource::SystemFile)
        state.note = QStringLiteral("Platí %1 zo systémového súboru nastavení %2, kým tu "
                                    "nezvolíte inú hodnotu.")
                         .arg(inForce, files_.system);
    return state;
}

SettingState HostSettings::HostFolder() const {
    const StartupSettings settings = InForce();
    return Describe(kHostFolder, FolderText(settings.appFolder), settings.hostFolderSource,
                    QStringLiteral("--host-folder"));
}

SettingState HostSettings::AnsiCodePage() const {
    const StartupSettings settings = InForce();
    return Describe(kAnsiCodePage, CodePageText(settings.ansiCodePage), settings.ansiSource,
                    QStringLiteral("--ansi-codepage"));
}

SettingState HostSettings::OemCodePage() const {
    const StartupSettings settings = InForce();
    return Describe(kOemCodePage, CodePageText(settings.oemCodePage), settings.oemSource,
                    QStringLiteral("--oem-codepage"));
}

int HostSettings::AnsiCodePageWithoutUserFile() const {
    return ResolveStartupSettings({}, {QString(), files_.system}, executableFolder_, localePages_)
        .ansiCodePage;
}

int HostSettings::OemCodePageWithoutUserFile() const {
    return ResolveStartupSettings({}, {QString(), files_.system}, executableFolder_, localePages_)
        .oemCodePage;
}

UserSettings HostSettings::UserChoices() const {
    const QMap<QString, QString> values = UserValues();
    const auto page = [&](const QString& key) -> std::optional<int> {
        bool number = false;
        const int value = values.value(key).toInt(&number);
        return number ? std::optional<int>(value) : std::nullopt;
    };
    return {values.value(kHostFolder), page(kAnsiCodePage), page(kOemCodePage)};
}

QString HostSettings::AbsoluteHostFolder(const QString& folder) const {
    if (folder.isEmpty()) return folder;
    return QDir::cleanPath(QFileInfo(files_.user).absoluteDir().absoluteFilePath(folder));
}

QString HostSettings::HostFolderProblem(const QString& folder) const {
    return ::HostFolderProblem(AbsoluteHostFolder(folder));
}

QString HostSettings::Save(const UserSettings& chosen) const {
    const SettingsFileText file = ReadSettingsFileText(files_.user);
    // What the user wrote is never overwritten with what the tool could not read.
    if (file.state == SettingsFileState::Unusable)
        return QStringLiteral("Súbor nastavení %1 sa nedá prečítať, nastavenia sa doň neuložia. "
                              "Opravte ho alebo ho odstráňte.")
            .arg(files_.user);
    const UserSettings now = UserChoices();
    const QString folder = chosen.hostFolder.trimmed();
    QString text = file.text;
    bool changed = false;
    const auto set = [&](const QString& key, const std::optional<QString>& value) {
        text = WithSettingValue(text, key, value);
        changed = true;
    };
    if (folder != now.hostFolder.trimmed())
        set(kHostFolder, folder.isEmpty() ? std::nullopt : std::optional<QString>(folder));
    if (chosen.ansiCodePage != now.ansiCodePage) set(kAnsiCodePage, PageValue(chosen.ansiCodePage));
    if (chosen.oemCodePage != now.oemCodePage) set(kOemCodePage, PageValue(chosen.oemCodePage));
    if (!changed) return {};
    return SaveSettingsFile(files_.user, text);
}
