#pragma once
// Where the host system's folder is and which code pages it writes. Each comes
// from the command line, else the user's settings file, else the system's, else
// from the executable's folder and the locale, the way the tool worked before
// it could be installed.

#include "app/CommandLine.h"
#include "platform/CodePages.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <string>

struct SettingsFiles {
    QString user;
    QString system;
};

// ~/.config/tlacsub/tlacsub.ini (or under $XDG_CONFIG_HOME) and the first
// tlacsub/tlacsub.ini in $XDG_CONFIG_DIRS, /etc/xdg when unset or none exists.
SettingsFiles DefaultSettingsFiles();

// Where a setting in force comes from.
enum class SettingSource { CommandLine, UserFile, SystemFile, Default };

struct StartupSettings {
    std::string appFolder; // ends in the separator
    int ansiCodePage = 0;
    int oemCodePage = 0;
    SettingSource hostFolderSource = SettingSource::Default;
    SettingSource ansiSource = SettingSource::Default;
    SettingSource oemSource = SettingSource::Default;
    // Nothing names the host folder and the executable's folder is no host:
    // the window asks the user for it.
    bool hostFolderNeeded = false;
    // Slovak notices for the user; the tool still starts.
    QStringList warnings;
    // A Slovak message when the host folder cannot be used; the tool must not start.
    QString error;
};

// The values one settings file gives the tool's keys (HostFolder, AnsiCodePage,
// OemCodePage), trimmed; a file that is there but cannot be used gives none
// and a notice.
QMap<QString, QString> SettingsFileValues(const QString& path, QStringList& warnings);

StartupSettings ResolveStartupSettings(const CommandLineOptions& options,
                                       const SettingsFiles& files,
                                       const std::string& executableFolder,
                                       platform::CodePagePair localePages);
