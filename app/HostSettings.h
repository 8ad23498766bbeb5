#pragma once
// The settings as the user edits them from the window: what the user's file
// holds, what is in force and where it comes from, checking a host folder and
// saving the user's choices. The first-start dialog and the settings dialog
// only show what this decides.

#include "app/CommandLine.h"
#include "app/StartupSettings.h"
#include "platform/CodePages.h"

#include <QString>

#include <optional>
#include <string>

// One setting as the dialog shows it.
struct SettingState {
    QString userValue; // in the user's file; empty when it names none
    QString inForce;   // what the tool uses now
    SettingSource source = SettingSource::Default;
    // Set when the system's file or the command line decides the value: says
    // so and names the value in force.
    QString note;
};

// What the user chose: an empty folder or no code page leaves the key out of
// the user's file (the code pages then follow the locale).
struct UserSettings {
    QString hostFolder;
    std::optional<int> ansiCodePage;
    std::optional<int> oemCodePage;
};

class HostSettings {
  public:
    HostSettings(CommandLineOptions commandLine, SettingsFiles files, std::string executableFolder,
                 platform::CodePagePair localePages);
    // The settings files of the desktop, no command line, the executable's
    // folder and the locale's pages: what a window started without options has.
    static HostSettings ForThisUser();

    const SettingsFiles& Files() const { return files_; }
    StartupSettings InForce() const;

    SettingState HostFolder() const;
    SettingState AnsiCodePage() const;
    SettingState OemCodePage() const;

    // The code pages used when the user's file names none.
    int AnsiCodePageWithoutUserFile() const;
    int OemCodePageWithoutUserFile() const;

    // What the user's file holds now; a code page it names that is no number
    // counts as none.
    UserSettings UserChoices() const;

    // A host folder as the user's file would take it: a relative one belongs
    // to the folder of that file.
    QString AbsoluteHostFolder(const QString& folder) const;
    // Why the folder cannot be the host's, or empty when it can.
    QString HostFolderProblem(const QString& folder) const;

    // Keys whose value differs from UserChoices are written to the user's file,
    // the rest of it kept; a Slovak error, or empty when saved.
    QString Save(const UserSettings& chosen) const;

  private:
    QMap<QString, QString> UserValues() const;
    SettingState Describe(const QString& key, const QString& inForce, SettingSource source,
                          const QString& option) const;

    CommandLineOptions commandLine_;
    SettingsFiles files_;
    std::string executableFolder_;
    platform::CodePagePair localePages_;
};
