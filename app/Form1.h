#pragma once
// TForm1: the tool's one window. It owns the catalog table object, the memory
// table with the list bound to it, and the preview. Its handlers, each a
// method named after its control and event, hand what the user does to the
// use cases (SourceChoice, CatalogSession, Printing, MailReport) and show
// what comes back.

#include "app/CatalogSession.h"
#include "app/HeldReload.h"
#include "app/PrintRequest.h"
#include "app/SourceChoice.h"
#include "app/Sources.h"
#include "dbf/Dbf.h"
#include "memtable/loxMemTable.h"

#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

class CatalogGrid;
class CatalogModel;
class CatalogWatch;
class FindBar;
class HostSettings;
class PrintPreviewOpener;
class Printing;
class SearchPane;
class TMemoExStrings;
enum class LineSource;
struct PrintOutcome;
class WindowNotices;
struct StartupSettings;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class TMemoEx;
namespace print {
class PrintSurface;
struct Paper;
} // namespace print

class TForm1 : public QWidget {
    Q_OBJECT
  public:
    // appFolder is the host system's program folder, ending in the separator;
    // it is the executable's folder except in tests.
    explicit TForm1(const std::string& appFolder = sources::ApplicationFolder(),
                    QWidget* parent = nullptr);
    ~TForm1() override;

    // Handlers. Sender is the control that caused the call, or nullptr when
    // the window calls a handler itself.
    void FormCreate();
    void BRefrClick(QObject* Sender);
    void BOrderClick(QObject* Sender);
    void BOrientClick(QObject* Sender);
    void BZoznClick(QObject* Sender);
    void BViewClick(QObject* Sender);
    void BMensieClick(QObject* Sender);
    void bVacsieClick(QObject* Sender);
    void BTlacClick(QObject* Sender);
    void bStopClick(QObject* Sender);

    // The second half of BTlac's "save as PDF" choice, once the user has named
    // the file in the dialog: asks before replacing a file and writes the
    // sheets there. Public so the tests can name the file without the dialog.
    void SavePdfTo(QString file);

    // BTlac's "Ukážka pred tlačou..." (Ctrl+Shift+P): the sheets "Tlač" would
    // print now, laid out off the window's thread and shown in their own window.
    void ShowPrintPreview();
    // BTlac's "Poslať e-mailom...": the same sheets as a PDF in the user's
    // cache, attached to a new message of the desktop's mail program.
    void SendByMail();

    // The settings "Nastavenia..." edits, with the command line the tool was
    // started with; without it, those of the desktop alone.
    void UseSettings(const HostSettings& settings);

    // The surface "Tlač" prints on: the default printer unless another is
    // given (the tests' recording surface, which checks the layout exactly).
    void SetPrintSurface(std::unique_ptr<print::PrintSurface> surface);

    // The shown source's catalog changed on disk while the list could not be
    // reloaded (preview shown, print running); it is reloaded on the way back.
    bool ReloadPending() const { return heldReload_.Pending(); }

    // Window state that shows on no control, for the tests: the orientation
    // the next print takes, the list's order, the preview's zoom step, the
    // catalog's records and whether the catalog table was left open.
    bool IsPortrait() const { return Portrait; }
    int CurrentSortState() const { return SortState; }
    int CurrentZoomLevel() const { return ZoomLevel; }
    const memtable::TloxMemTable& CatalogRecords() const { return *PrnData; }
    bool CatalogTableOpen() const { return Dbf1.Active(); }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // The tool tips are set on the controls from their own file.
    friend void SetToolTips(TForm1& form);

    // Controls, under the names the tool has always used for them.
    QTabWidget* PStrany;
    QWidget* TabZozn;
    CatalogGrid* GrZozn;
    QPushButton* BView;
    QPushButton* BOrder;
    QPushButton* BRefr;
    QComboBox* cbMesiac;
    QWidget* TabView;
    TMemoEx* MSubor;
    QPushButton* BZozn;
    QPushButton* BMensie;
    QPushButton* bVacsie;
    QLineEdit* EStr1;
    QLineEdit* EStr2;
    QPushButton* BOrient;
    QPushButton* BTlac;
    QPushButton* bStop;
    QLabel* SText;
    // The preview's find bar (Ctrl+F).
    FindBar* findBar_;
    // The search across print files, over the list (Ctrl+Shift+F).
    SearchPane* searchPane_;

    // The catalog table object, the memory table and the list's data source.
    dbf::TDbf Dbf1;
    std::unique_ptr<memtable::TloxMemTable> PrnData;
    CatalogModel* DataSrc;

    // The sources, the selector's items in its order; the host's folders in
    // it hold AppFolder and MealCalcFolder.
    SourceChoice sourceChoice_;
    // The list's use cases on the chosen source's catalog.
    CatalogSession catalog_;

    // Window state.
    bool Portrait = false;
    int SortState = 1;
    int ZoomLevel = 3;

    // BTlac's context menu's choice to keep the sheets as a PDF file.
    void SaveAsPdf();

    // True when a plain file of that name exists; otherwise tells the user so.
    bool SelectedFileExists(const std::filesystem::path& fileName);

    // Shows how a load of the chosen source's catalog went: the list, or the
    // banner with the buttons that need an entry disabled.
    void ShowLoad(bool loaded, QObject* Sender);
    // The month selector in the colour of its source.
    void ColourSelector(const Source& source);
    void CreateControls();
    void BindEvents();
    // Keys beside the buttons: Enter in the list, Esc and find on the preview.
    void BindKeys();
    // The list follows the host: the shown source's catalog is reloaded when it
    // changes on disk, keeping the current entry on its screen row.
    void HostCatalogChanged();
    // True when the entry the user was on is there again and current.
    bool ReloadKeepingEntry();
    void WatchCatalogs();
    // A print has ended: a reload held back meanwhile runs now.
    void CatchUpAfterPrint();
    void ConfigurePreview();
    void SetPreviewFontSize(int points);
    // Makes a page the active one; when the focus was on the page left behind,
    // it moves to the new page's first control, so keys act there at once.
    void ShowPage(QWidget* page, QWidget* firstControl);
    // The selected entry with the page fields and the orientation shown, as
    // "Tlač" and every choice of its menu print it.
    PrintRequest RequestFor(PrintDestination destination) const;
    // Where those choices take the lines from: the preview page's, or the print file.
    LineSource ShownLines() const;
    // The list's context menu at a point of the screen.
    void ShowListMenu(const QPoint& globalPos);
    // A result of the search pane, opened as the user would reach it: its
    // source chosen in the selector, its entry current, the preview open with
    // the match selected, and the find bar set to go on with F3.
    void OpenSearchResult(const Source& source, const CatalogEntry& entry, int line, int column,
                          int length, const QString& text, bool matchCase);
    // Prints the selected entry with the page fields and the orientation shown.
    void Print(const PrintDestination& destination);
    // Runs a print, holding back a catalog reload meanwhile, and shows its outcome.
    PrintOutcome WhilePrinting(const std::function<PrintOutcome()>& print);
    // What the print preview's buttons do with the request and lines it shows.
    bool CarryFromPreview(const PrintRequest& request, TMemoExStrings& lines,
                          const print::Paper& paper);
    // Mails a request's sheets, on paper when a preview laid them out there;
    // false when no PDF was written.
    bool Mail(const PrintRequest& request, TMemoExStrings& lines, LineSource source,
              const print::Paper* paper);
    // The selector's items from the sources found, the chosen one current.
    void FillSelector();
    // cbMesiac's context menu: "Nastavenia...".
    void ShowSelectorMenu(const QPoint& globalPos);
    // "Nastavenia...": the dialog, and on OK what changed applied at once.
    void OpenSettings();
    void ApplySettings(const StartupSettings& before, const StartupSettings& after);

    // Every print goes through here; it keeps the application's printer.
    std::unique_ptr<Printing> printing_;
    // What the window tells the user.
    WindowNotices* notices_;
    // Lays out the print preview's first sheets and opens it.
    PrintPreviewOpener* previewOpener_;

    // Made the first time "Nastavenia..." opens unless UseSettings named them.
    std::unique_ptr<HostSettings> settings_;

    CatalogWatch* catalogWatch_ = nullptr;
    HeldReload heldReload_;
};
