#include "app/Form1.h"

#include "app/ButtonImages.h"
#include "app/CatalogGrid.h"
#include "app/CatalogLoading.h"
#include "app/CatalogModel.h"
#include "app/CatalogWatch.h"
#include "app/ContextMenuOpener.h"
#include "app/ErrorGuard.h"
#include "app/FindBar.h"
#include "app/HostSettings.h"
#include "app/PdfFileChoice.h"
#include "app/PreviewZoom.h"
#include "app/PrintMenu.h"
#include "app/PrintOutcome.h"
#include "app/PrintPreviewOpener.h"
#include "app/Printing.h"
#include "app/SearchPane.h"
#include "app/ToolTips.h"
#include "app/WindowNotices.h"
#include "app/WindowTexts.h"
#include "app/print/PageRange.h"
#include "platform/Files.h"
#include "viewer/MemoEx.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QShortcut>
#include <QTabWidget>

#include <algorithm>
#include <utility>

TForm1::TForm1(const std::string& appFolder, QWidget* parent)
    : QWidget(parent), Dbf1("Dbf1"), PrnData(memtable::MakePrnData()), sourceChoice_(appFolder),
      catalog_(sourceChoice_, Dbf1, *PrnData), printing_(std::make_unique<Printing>()),
      notices_(new WindowNotices(this)), previewOpener_(new PrintPreviewOpener(this, *notices_)) {
    ConfigureCatalogTable(Dbf1);
    CreateControls();
    BindEvents();
    WatchCatalogs();
    FormCreate();
}

TForm1::~TForm1() {
    // A search beside the window reads the preview's lines: it ends before they go.
    findBar_->CancelSearch();
    searchPane_->StopSearch();
    // The list and its data source read PrnData to the end, so they go before it does.
    delete PStrany;
    delete DataSrc;
}

void TForm1::SetPreviewFontSize(int points) {
    QFont font = MSubor->font();
    font.setPointSize(points);
    MSubor->setFont(font);
}

void TForm1::BindEvents() {
    auto bind = [this](QPushButton* button, void (TForm1::*handler)(QObject*)) {
        connect(button, &QPushButton::clicked, this,
                [this, button, handler] { RunGuarded([&] { (this->*handler)(button); }); });
    };
    bind(BView, &TForm1::BViewClick);
    bind(BOrder, &TForm1::BOrderClick);
    bind(BRefr, &TForm1::BRefrClick);
    bind(BZozn, &TForm1::BZoznClick);
    bind(BMensie, &TForm1::BMensieClick);
    bind(bVacsie, &TForm1::bVacsieClick);
    bind(BOrient, &TForm1::BOrientClick);
    bind(BTlac, &TForm1::BTlacClick);
    bind(bStop, &TForm1::bStopClick);
    connect(cbMesiac, &QComboBox::activated, this,
            [this] { RunGuarded([this] { BRefrClick(cbMesiac); }); });
    connect(GrZozn, &CatalogGrid::RowDoubleClicked, this,
            [this] { RunGuarded([this] { BViewClick(GrZozn); }); });
    MSubor->OnDblClick = [this](QObject*) { RunGuarded([this] { BZoznClick(MSubor); }); };
    BindKeys();

    // The list's context menu offers the search across print files.
    new ContextMenuOpener(GrZozn, [this](const QPoint& at) { ShowListMenu(at); });
    searchPane_->OnOpen = [this](const Source& source, const CatalogEntry& entry, int line,
                                 int column, int length, const QString& text, bool matchCase) {
        RunGuarded([&] { OpenSearchResult(source, entry, line, column, length, text, matchCase); });
    };

    auto* printMenu = new PrintMenu(BTlac);
    connect(printMenu, &PrintMenu::PrintOnChosen, this, [this](const QString& printer) {
        RunGuarded([&] { Print(PrintDestination::Queue(printer.toStdString())); });
    });
    connect(printMenu, &PrintMenu::PreviewChosen, this,
            [this] { RunGuarded([this] { ShowPrintPreview(); }); });
    connect(printMenu, &PrintMenu::SavePdfChosen, this,
            [this] { RunGuarded([this] { SaveAsPdf(); }); });
    connect(printMenu, &PrintMenu::MailChosen, this,
            [this] { RunGuarded([this] { SendByMail(); }); });
    // Ctrl+P is a click on BTlac from either page; a disabled button ignores it.
    auto* printKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this);
    connect(printKey, &QShortcut::activated, BTlac, &QPushButton::click);

    // The settings: from the selector's context menu, like BTlac's, and Ctrl+, .
    new ContextMenuOpener(cbMesiac, [this](const QPoint& at) { ShowSelectorMenu(at); });
    auto* settingsKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma), this);
    connect(settingsKey, &QShortcut::activated, this,
            [this] { RunGuarded([this] { OpenSettings(); }); });
}

void TForm1::FormCreate() {
    Portrait = false;
    SortState = 1;
    ZoomLevel = preview_zoom::kStartLevel;

    // The archived periods and the meal-calculation folder, once.
    sourceChoice_.FindSources();
    FillSelector();

    BOrientClick(nullptr);
    BRefrClick(nullptr);
    BOrderClick(nullptr);
    BZoznClick(nullptr);
}

void TForm1::FillSelector() {
    cbMesiac->clear();
    for (const Source& source : sourceChoice_.Offered())
        cbMesiac->addItem(QString::fromStdString(source.Label()));
    cbMesiac->setCurrentIndex(sourceChoice_.CurrentIndex());
}

void TForm1::BRefrClick(QObject* Sender) {
    sourceChoice_.Choose(cbMesiac->currentIndex());
    ColourSelector(sourceChoice_.Current());
    ShowLoad(catalog_.Load(), Sender);
}

void TForm1::ShowLoad(bool loaded, QObject* Sender) {
    GrZozn->setVisible(loaded);
    BTlac->setEnabled(loaded);
    BView->setEnabled(loaded);
    BOrder->setEnabled(loaded);
    SText->setVisible(!loaded);
    if (Sender != nullptr && !GrZozn->isHidden()) GrZozn->setFocus();
    catalogWatch_->Follow(sourceChoice_.Current(), sourceChoice_.Host());
}

void TForm1::BOrderClick(QObject* /*Sender*/) {
    try {
        if (SortState == 1) {
            PrnData->SetIndexName("RPrintD");
            SortState = 2;
        } else if (SortState == 2) {
            PrnData->SetIndexName("RPrintN");
            SortState = 1;
        }
    } catch (const std::exception&) {
        // A failed switch leaves the order and the toggle as they were.
    }
}

void TForm1::BOrientClick(QObject* /*Sender*/) {
    Portrait = !Portrait;
    BOrient->setIcon(QIcon(OrientationImage(Portrait)));
    BOrient->setToolTip(OrientationToolTip(Portrait));
}

void TForm1::ShowPage(QWidget* page, QWidget* firstControl) {
    QWidget* left = PStrany->currentWidget();
    const QWidget* focused = QApplication::focusWidget();
    const bool focusLeftBehind =
        left != nullptr && left != page && focused != nullptr && left->isAncestorOf(focused);
    PStrany->setCurrentWidget(page);
    if (focusLeftBehind && firstControl->isVisibleTo(page) && firstControl->isEnabled())
        firstControl->setFocus(Qt::OtherFocusReason);
}

void TForm1::BZoznClick(QObject* /*Sender*/) {
    findBar_->CancelSearch();
    ShowPage(TabZozn, GrZozn);
    setWindowTitle(QString::fromUtf8(window_texts::kListTitle));
    if (heldReload_.Due(true)) ReloadKeepingEntry();
}

bool TForm1::SelectedFileExists(const std::filesystem::path& fileName) {
    if (platform::FileExists(fileName.string())) return true;
    notices_->Notice(QString::fromUtf8(window_texts::kFileMissing));
    return false;
}

void TForm1::BViewClick(QObject* /*Sender*/) {
    const CatalogEntry entry = catalog_.CurrentEntry();
    const std::filesystem::path fileName = catalog_.PrintFileOf(entry);
    if (!SelectedFileExists(fileName)) return;
    // A search still running reads the lines this load replaces.
    findBar_->CancelSearch();
    MSubor->Lines().LoadFile(fileName.string());
    ShowPage(TabView, MSubor);
    setWindowTitle(QString::fromStdString(window_texts::PreviewTitle(entry.Popis)));
    MSubor->SetSelectionStart(0);
    MSubor->SetSelectionLength(0);
}

void TForm1::BMensieClick(QObject* /*Sender*/) {
    --ZoomLevel;
    SetPreviewFontSize(preview_zoom::FontSize(ZoomLevel));
    BMensie->setEnabled(preview_zoom::SmallerEnabled(ZoomLevel));
    bVacsie->setEnabled(preview_zoom::LargerEnabled(ZoomLevel));
}

void TForm1::bVacsieClick(QObject* /*Sender*/) {
    ++ZoomLevel;
    SetPreviewFontSize(preview_zoom::FontSize(ZoomLevel));
    BMensie->setEnabled(preview_zoom::SmallerEnabled(ZoomLevel));
    bVacsie->setEnabled(preview_zoom::LargerEnabled(ZoomLevel));
}

void TForm1::SetPrintSurface(std::unique_ptr<print::PrintSurface> surface) {
    printing_->SetDefaultPrinter(std::move(surface));
}

PrintRequest TForm1::RequestFor(PrintDestination destination) const {
    // The fields' text as shown, blanks included; the range is read from it.
    return catalog_.RequestForCurrent(print::ReadPageRange(EStr1->displayText().toStdString(),
                                                           EStr2->displayText().toStdString()),
                                      Portrait, std::move(destination));
}

LineSource TForm1::ShownLines() const {
    // On the preview page the lines shown are printed; from the list the file
    // is read into the viewer first.
    return PStrany->currentWidget() == TabView ? LineSource::Store : LineSource::PrintFile;
}

PrintOutcome TForm1::WhilePrinting(const std::function<PrintOutcome()>& print) {
    // A catalog change seen while the job runs is taken up once it is done.
    heldReload_.PrintStarted();
    const auto printed = qScopeGuard([this] { CatchUpAfterPrint(); });
    const PrintOutcome outcome = print();
    notices_->Show(outcome);
    return outcome;
}

void TForm1::Print(const PrintDestination& destination) {
    WhilePrinting(
        [&] { return printing_->Carry(RequestFor(destination), MSubor->Lines(), ShownLines()); });
}

void TForm1::BTlacClick(QObject* /*Sender*/) {
    Print(PrintDestination::DefaultPrinter());
}

void TForm1::SaveAsPdf() {
    const CatalogEntry entry = catalog_.CurrentEntry();
    if (!SelectedFileExists(catalog_.PrintFileOf(entry))) return;
    const QString file = AskPdfFile(this, entry.Nazov);
    if (!file.isEmpty()) SavePdfTo(file);
}

void TForm1::SavePdfTo(QString file) {
    file = ConfirmPdfFile(this, file);
    if (file.isEmpty()) return;
    Print(PrintDestination::PdfFile(file.toStdString()));
}

void TForm1::bStopClick(QObject* /*Sender*/) {
    close();
}

void TForm1::closeEvent(QCloseEvent* event) {
    // FormClose: the catalog is open only during a load, but never leave it open.
    if (Dbf1.Active()) Dbf1.Close();
    event->accept();
}

void TForm1::ShowListMenu(const QPoint& globalPos) {
    QMenu menu(this);
    menu.addAction(QString::fromUtf8("Hľadať vo všetkých súboroch..."), this,
                   [this] { searchPane_->Open(); });
    menu.exec(globalPos);
}

void TForm1::OpenSearchResult(const Source& source, const CatalogEntry& entry, int line, int column,
                              int length, const QString& text, bool matchCase) {
    const std::vector<Source>& sources = sourceChoice_.Offered();
    const auto offered = std::find(sources.begin(), sources.end(), source);
    if (offered == sources.end()) return;
    searchPane_->Close();
    // The source as the user chooses it in the selector, with its loading and colours.
    cbMesiac->setCurrentIndex(static_cast<int>(offered - sources.begin()));
    BRefrClick(cbMesiac);
    if (GrZozn->isHidden()) return; // the banner tells that the catalog cannot be read
    const int position = FindEntry(*PrnData, entry);
    if (position == 0) return; // the catalog no longer has it
    PrnData->MoveToPosition(position);
    BViewClick(nullptr);
    if (PStrany->currentWidget() != TabView) return;
    findBar_->UseText(text, matchCase);
    MSubor->SelectCells(CellPos{column, line}, CellPos{column + length, line});
}
