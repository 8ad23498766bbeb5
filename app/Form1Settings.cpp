// "Nastavenia...": the user's settings edited from the window and applied at
// once, so a desk is set up without leaving it.
#include "app/CatalogGrid.h"
#include "app/CodePageSample.h"
#include "app/FindBar.h"
#include "app/Form1.h"
#include "app/HostSettings.h"
#include "app/MachineCodePages.h"
#include "app/PrintPreviewOpener.h"
#include "app/SearchPane.h"
#include "app/SettingsDialog.h"
#include "app/WindowTexts.h"
#include "platform/Files.h"
#include "viewer/MemoEx.h"

#include <QComboBox>
#include <QMenu>
#include <QTabWidget>

void TForm1::UseSettings(const HostSettings& settings) {
    settings_ = std::make_unique<HostSettings>(settings);
}

void TForm1::ShowSelectorMenu(const QPoint& globalPos) {
    QMenu menu(this);
    menu.setObjectName("cbMesiacMenu");
    QAction* settings = menu.addAction(QStringLiteral("Nastavenia..."));
    settings->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    if (menu.exec(globalPos) == settings) OpenSettings();
}

void TForm1::OpenSettings() {
    // The dialog's sample sets other code pages for the whole program for a
    // moment, and what it applies reloads the lines shown: nothing may read
    // through them beside the window meanwhile. A preview still being laid
    // out opens in a moment; the settings wait for it.
    if (previewOpener_->Opening()) return;
    findBar_->StopSearch();
    searchPane_->StopSearch();
    if (!settings_) settings_ = std::make_unique<HostSettings>(HostSettings::ForThisUser());
    const StartupSettings before = settings_->InForce();
    // The sample comes from the catalog the list shows now.
    const Source source = sourceChoice_.Current();
    const HostFolders host = sourceChoice_.Host();
    SettingsDialog dialog(
        *settings_, [&](int ansi, int oem) { return SampleWithCodePages(ansi, oem, source, host); },
        this);
    if (dialog.exec() != QDialog::Accepted) return;
    ApplySettings(before, settings_->InForce());
}

void TForm1::ApplySettings(const StartupSettings& before, const StartupSettings& after) {
    const bool pages =
        before.ansiCodePage != after.ansiCodePage || before.oemCodePage != after.oemCodePage;
    const bool host = before.appFolder != after.appFolder;
    if (!pages && !host) return;
    if (pages) UseMachineCodePages(after.ansiCodePage, after.oemCodePage);
    if (host) {
        // Another host has other archived months and its own meal calculations;
        // the source shown stays when the new host has it too.
        sourceChoice_.MoveTo(after.appFolder);
        FillSelector();
    }
    const bool previewShown = PStrany->currentWidget() == TabView;
    const bool kept = ReloadKeepingEntry();
    if (!previewShown) return;
    // The preview shows the entry it showed, read again with the new pages;
    // where that entry is gone, the list is shown instead.
    const CatalogEntry entry = catalog_.CurrentEntry();
    const std::filesystem::path file = catalog_.PrintFileOf(entry);
    if (!kept || !platform::FileExists(file.string())) {
        BZoznClick(nullptr);
        return;
    }
    MSubor->Lines().LoadFile(file.string());
    setWindowTitle(QString::fromStdString(window_texts::PreviewTitle(entry.Popis)));
    MSubor->viewport()->update();
}
