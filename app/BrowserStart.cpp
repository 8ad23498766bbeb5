#include "app/BrowserStart.h"

#include "app/ErrorGuard.h"
#include "app/FirstStartDialog.h"
#include "app/Form1.h"
#include "app/HostSettings.h"
#include "app/MachineCodePages.h"
#include "app/MailFolder.h"
#include "app/Sources.h"
#include "platform/Locale.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>

#include <cstdio>

namespace {

// Launched from the desktop's menu, nobody reads standard error, so every
// notice is shown in a box as well.
void Report(QMessageBox::Icon icon, const QString& text) {
    std::fprintf(stderr, "tlacsub: %s\n", text.toLocal8Bit().constData());
    QMessageBox box(icon, QApplication::applicationName(), text, QMessageBox::Ok);
    box.exec();
}

// What a start with these options has in force: the desktop's settings
// files, the executable's folder and the locale's code pages.
HostSettings SettingsFor(const CommandLineOptions& options) {
    return HostSettings(options, DefaultSettingsFiles(), sources::ApplicationFolder(),
                        platform::CodePagesForLocale(platform::UserLocale()));
}

} // namespace

std::optional<StartupSettings> PrepareBrowser(const CommandLineOptions& options) {
    const StartupSettings settings = SettingsFor(options).InForce();
    if (!settings.error.isEmpty()) {
        Report(QMessageBox::Critical, settings.error);
        return std::nullopt;
    }
    for (const QString& warning : settings.warnings)
        Report(QMessageBox::Warning, warning);
    // Before the window exists: the first table object takes the machine's code pages.
    UseMachineCodePages(settings.ansiCodePage, settings.oemCodePage);
    return settings;
}

int ReportNoDisplay(const CommandLineOptions& options) {
    const StartupSettings settings = SettingsFor(options).InForce();
    auto tell = [](const QString& text) {
        std::fprintf(stderr, "tlacsub: %s\n", text.toLocal8Bit().constData());
    };
    for (const QString& warning : settings.warnings)
        tell(warning);
    if (!settings.error.isEmpty()) {
        tell(settings.error);
        return 1;
    }
    if (settings.hostFolderNeeded)
        tell(QStringLiteral("Priečinok hostiteľského systému nie je zadaný: uveďte ho voľbou "
                            "--host-folder alebo ako HostFolder v súbore nastavení."));
    tell(QStringLiteral("Okno sa nedá otvoriť: nie je k dispozícii obrazovka (nie je nastavená "
                        "premenná DISPLAY ani WAYLAND_DISPLAY)."));
    return 1;
}

int RunBrowser(const CommandLineOptions& options) {
    auto settings = PrepareBrowser(options);
    if (!settings) return 1;
    // Reports mailed more than a week ago have long left with their messages.
    mail_folder::RemoveOldFiles();
    QGuiApplication::setDesktopFileName(QStringLiteral("tlacsub"));
    const HostSettings hostSettings = SettingsFor(options);
    if (settings->hostFolderNeeded) {
        // Nothing names the host and the tool does not lie in one: the user
        // says where it is, once, instead of facing an empty list.
        FirstStartDialog firstStart(hostSettings);
        if (firstStart.exec() != QDialog::Accepted) return 0;
        settings->appFolder = firstStart.ChosenFolder().toStdString();
        if (!settings->appFolder.ends_with('/')) settings->appFolder += '/';
    }
    TForm1 Form1(settings->appFolder);
    Form1.UseSettings(hostSettings);
    Form1.setWindowIcon(QIcon::fromTheme(QStringLiteral("tlacsub")));
    Form1.show();
    return QApplication::exec();
}
