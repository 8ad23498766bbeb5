#pragma once
// Where the host system's folder is and which code pages it writes. Each comes
// from the command line, else the user's settings file, else the system's, else
// from the executable's folder and the locale, the way the tool worked before
// it could be installed.

#include "app/CommandLine.h"
#include "platform/CodePages.h"

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

struct StartupSettings {
    std::string appFolder; // ends in the separator
    int ansiCodePage = 0;
    int oemCodePage = 0;
    // Slovak notices for the user; the tool still starts.
    QStringList warnings;
    // A Slovak message when the host folder cannot be used; the tool must not start.
    QString error;
};

StartupSettings ResolveStartupSettings(const CommandLineOptions& options,
                                       const SettingsFiles& files,
                                       const std::string& executableFolder,
                                       platform::CodePagePair localePages);
