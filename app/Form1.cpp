#include "app/Form1.h"

#include "app/AnchorLayout.h"
#include "app/ButtonImages.h"
#include "app/CatalogGrid.h"
#include "app/CatalogLoading.h"
#include "app/CatalogModel.h"
#include "app/CatalogWatch.h"
#include "app/ErrorGuard.h"
#include "app/FindBar.h"
#include "app/FlatComboBox.h"
#include "app/HostSettings.h"
#include "app/MealCalcFolder.h"
#include "app/PreviewZoom.h"
#include "app/SearchPane.h"
#include "app/ToolTips.h"
#include "app/WindowTexts.h"
#include "app/print/JobFollower.h"
#include "app/print/PdfFileSurface.h"
#include "app/print/PrintError.h"
#include "app/print/PrintJob.h"
#include "app/print/PrinterSurface.h"
#include "app/print/Spooler.h"
#include "platform/CodePages.h"
#include "platform/Files.h"
#include "viewer/MemoEx.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>
#include <utility>

namespace {

// The window as it was designed: its client area, which the pages fill, and
// where the page control's frame put the origin of the pages' controls.
constexpr QSize kClientSize(663, 453);
constexpr QPoint kPageOrigin(4, 3);
// The smallest window, frame included, and the frame the design assumed.
constexpr QSize kMinimumWindow(670, 200);
constexpr QSize kFrame(8, 27);

using namespace anchors;
constexpr int kLeftBottom = kLeft | kBottom;
constexpr int kRightBottom = kRight | kBottom;

QColor ToColor(window_texts::Rgb rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

QPushButton* MakeButton(QWidget* parent, const char* caption, const QString& image) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setIcon(ButtonImage(image));
    button->setIconSize(QSize(16, 16));
    return button;
}

// Bold 16 points; where the substitute for "MS Sans Serif" runs wider than the
// original, smaller, so the banner's message is never cut off.
QFont BannerFont(const QString& text, int width) {
    QFont font(QStringLiteral("MS Sans Serif"), 16, QFont::Bold);
    for (int points = 16; points > 8 && QFontMetrics(font).horizontalAdvance(text) > width;)
        font.setPointSize(--points);
    return font;
}

// "MS Sans Serif" is a Windows font. The font system's usual stand-in runs a
// pixel wider per digit, and the list's columns then overflow the window;
// Liberation Sans has the narrow metrics the window was laid out with.
void UseFontSubstitutes() {
    static const bool once = [] {
        QFont::insertSubstitution(QStringLiteral("MS Sans Serif"),
                                  QStringLiteral("Liberation Sans"));
        return true;
    }();
    (void)once;
}

void SetBackground(QWidget* widget, QColor colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Button, colour);
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
}

} // namespace

TForm1::TForm1(const std::string& appFolder, QWidget* parent)
    : QWidget(parent), Dbf1("Dbf1"), PrnData(memtable::MakePrnData()), host_{appFolder, {}},
      printer_(std::make_unique<print::PrinterSurface>()) {
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

void TForm1::CreateControls() {
    UseFontSubstitutes();
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    setPalette(palette);
    resize(kClientSize);
    setMinimumSize(kMinimumWindow - kFrame);
    auto* window = new AnchorLayout(this, kClientSize);

    // The program alone switches pages, so the tabs are kept out of sight.
    PStrany = new QTabWidget(this);
    PStrany->setObjectName("PStrany");
    PStrany->setDocumentMode(true);
    PStrany->tabBar()->hide();
    PStrany->setFocusPolicy(Qt::NoFocus);
    window->Place(PStrany, QRect(QPoint(0, 0), kClientSize), kAll);

    TabZozn = new QWidget;
    TabZozn->setObjectName("TabZozn");
    PStrany->addTab(TabZozn, QStringLiteral("Zoznam"));
    auto* list = new AnchorLayout(TabZozn, kClientSize);
    auto place = [](AnchorLayout* layout, QWidget* child, QRect rect, int anchors) {
        layout->Place(child, rect.translated(kPageOrigin), anchors);
    };

    DataSrc = new CatalogModel(*PrnData, this);
    GrZozn = new CatalogGrid(DataSrc, TabZozn);
    GrZozn->setObjectName("GrZozn");
    QPalette gridPalette = GrZozn->palette();
    gridPalette.setColor(QPalette::Base, ToColor(window_texts::kListBackground));
    // The current row stays highlighted while another control has the focus.
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        gridPalette.setColor(QPalette::Inactive, role, gridPalette.color(QPalette::Active, role));
    GrZozn->setPalette(gridPalette);
    place(list, GrZozn, QRect(0, 0, 656, 418), kAll);

    BView = MakeButton(TabZozn, "Náhľad", "view");
    place(list, BView, QRect(0, 421, 70, 25), kLeftBottom);
    BOrder = MakeButton(TabZozn, "Triedenie", "order");
    place(list, BOrder, QRect(72, 421, 70, 25), kLeftBottom);
    BRefr = MakeButton(TabZozn, "Obnov", "refr");
    place(list, BRefr, QRect(144, 421, 70, 25), kLeftBottom);
    searchPane_ = new SearchPane(TabZozn, host_, [this] { return CurrentSource(); });
    place(list, searchPane_, QRect(0, 0, 656, 418), kAll);
    cbMesiac = new FlatComboBox(TabZozn);
    cbMesiac->setObjectName("cbMesiac");
    cbMesiac->setEditable(false);
    place(list, cbMesiac, QRect(224, 423, 145, 21), kLeftBottom);

    TabView = new QWidget;
    TabView->setObjectName("TabView");
    PStrany->addTab(TabView, QStringLiteral("Náhľad"));
    auto* preview = new AnchorLayout(TabView, kClientSize);
    MSubor = new TMemoEx(TabView);
    MSubor->setObjectName("MSubor");
    ConfigurePreview();
    place(preview, MSubor, QRect(0, 0, 654, 418), kAll);
    findBar_ = new FindBar(MSubor, preview);
    BZozn = MakeButton(TabView, "Zoznam", "zozn");
    place(preview, BZozn, QRect(0, 421, 70, 25), kLeftBottom);
    BMensie = MakeButton(TabView, "Menšie", "mensie");
    place(preview, BMensie, QRect(72, 421, 70, 25), kLeftBottom);
    bVacsie = MakeButton(TabView, "Väčšie", "vacsie");
    place(preview, bVacsie, QRect(144, 421, 70, 25), kLeftBottom);

    // The controls of both pages lie on the window, above the page control.
    for (QLineEdit** edit : {&EStr1, &EStr2}) {
        *edit = new QLineEdit(this);
        (*edit)->setInputMask(QStringLiteral("0000; "));
        (*edit)->setMaxLength(4);
    }
    EStr1->setObjectName("EStr1");
    EStr1->setText(QStringLiteral("   1"));
    window->Place(EStr1, QRect(383, 426, 33, 21), kRightBottom);
    EStr2->setObjectName("EStr2");
    EStr2->setText(QStringLiteral("9999"));
    window->Place(EStr2, QRect(423, 426, 33, 21), kRightBottom);
    BOrient = new QPushButton(this);
    BOrient->setObjectName("BOrient");
    BOrient->setIconSize(QSize(16, 16));
    window->Place(BOrient, QRect(463, 424, 25, 25), kRightBottom);
    BTlac = MakeButton(this, "Tlač", "tlac");
    window->Place(BTlac, QRect(499, 424, 70, 25), kRightBottom);
    bStop = MakeButton(this, "Koniec", "stop");
    window->Place(bStop, QRect(575, 424, 70, 25), kRightBottom);

    SText = new QLabel(QString::fromUtf8(window_texts::kLoadFailed), this);
    SText->setObjectName("SText");
    SText->setAlignment(Qt::AlignCenter);
    SText->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    SText->setFont(BannerFont(SText->text(), 495 - 2 * SText->frameWidth()));
    SText->setAutoFillBackground(true);
    QPalette banner = SText->palette();
    banner.setColor(QPalette::Window, Qt::red);
    banner.setColor(QPalette::WindowText, Qt::black);
    SText->setPalette(banner);
    window->Place(SText, QRect(72, 120, 495, 29), kLeft | kTop);
    SText->hide();

    for (QWidget* control : {static_cast<QWidget*>(EStr1), static_cast<QWidget*>(EStr2),
                             static_cast<QWidget*>(BOrient), static_cast<QWidget*>(BTlac),
                             static_cast<QWidget*>(bStop), static_cast<QWidget*>(SText)})
        control->raise();

    for (auto [button, name] : {std::pair{BView, "BView"},
                                {BOrder, "BOrder"},
                                {BRefr, "BRefr"},
                                {BZozn, "BZozn"},
                                {BMensie, "BMensie"},
                                {bVacsie, "bVacsie"},
                                {BTlac, "BTlac"},
                                {bStop, "bStop"}})
        button->setObjectName(name);
    SetToolTips(*this);

    // Centred on the desktop at start.
    if (const QScreen* screen = QApplication::primaryScreen()) {
        const QRect desktop = screen->availableGeometry();
        move(desktop.center() - QPoint(kClientSize.width() / 2, kClientSize.height() / 2));
    }
}

void TForm1::ConfigurePreview() {
    // Read-only, bold "Courier New" of 13 pixels (10 points), pale blue, tab size 4,
    // no gutter, silver margin line.
    MSubor->UsePreviewSettings();
    MSubor->viewport()->setCursor(Qt::IBeamCursor);
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
    GrZozn->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(GrZozn, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        RunGuarded([&] { ShowListMenu(GrZozn->viewport()->mapToGlobal(pos)); });
    });
    searchPane_->OnOpen = [this](const Source& source, const CatalogEntry& entry, int line,
                                 int column, int length, const QString& text, bool matchCase) {
        RunGuarded([&] { OpenSearchResult(source, entry, line, column, length, text, matchCase); });
    };

    // Right click, and the menu key while the button has the focus.
    BTlac->setContextMenuPolicy(Qt::CustomContextMenu);
    BTlac->installEventFilter(this);
    connect(BTlac, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        RunGuarded([&] { ShowPrintMenu(BTlac->mapToGlobal(pos)); });
    });
    // Ctrl+P is a click on BTlac from either page; a disabled button ignores it.
    auto* printKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this);
    connect(printKey, &QShortcut::activated, BTlac, &QPushButton::click);

    // The settings: from the selector's context menu, like BTlac's, and Ctrl+, .
    cbMesiac->setContextMenuPolicy(Qt::CustomContextMenu);
    cbMesiac->installEventFilter(this);
    connect(cbMesiac, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        RunGuarded([&] { ShowSelectorMenu(cbMesiac->mapToGlobal(pos)); });
    });
    auto* settingsKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma), this);
    connect(settingsKey, &QShortcut::activated, this,
            [this] { RunGuarded([this] { OpenSettings(); }); });
}

void TForm1::FormCreate() {
    host_.mealCalcFolder.clear();
    Portrait = false;
    SortState = 1;
    ZoomLevel = preview_zoom::kStartLevel;

    FindSources();

    BOrientClick(nullptr);
    BRefrClick(nullptr);
    BOrderClick(nullptr);
    BZoznClick(nullptr);
}

void TForm1::FindSources() {
    cbMesiac->clear();
    sources_ = sources::OfferedSources(host_.appFolder);
    for (const Source& source : sources_)
        cbMesiac->addItem(QString::fromStdString(source.Label()));
    cbMesiac->setCurrentIndex(0);

    host_.mealCalcFolder = ReadMealCalcFolder(host_.appFolder);
}

const Source& TForm1::CurrentSource() const {
    return sources_.at(static_cast<size_t>(cbMesiac->currentIndex()));
}

void TForm1::BRefrClick(QObject* Sender) {
    SetBackground(cbMesiac, ToColor(window_texts::SelectorColour(CurrentSource())));
    // A relative folder is the application folder's, for the reader as for every other lookup.
    const std::filesystem::path folder = CurrentSource().ResolvedCatalogFolder(host_);
    const bool failed = !LoadCatalog(Dbf1, *PrnData, folder);

    GrZozn->setVisible(!failed);
    BTlac->setEnabled(!failed);
    BView->setEnabled(!failed);
    BOrder->setEnabled(!failed);
    SText->setVisible(failed);
    if (Sender != nullptr && !GrZozn->isHidden()) GrZozn->setFocus();
    catalogWatch_->Follow(CurrentSource(), host_);
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
    if (reloadPending_) ReloadKeepingEntry();
}

std::filesystem::path TForm1::SelectedFileName() const {
    return CurrentSource().ResolvedPrintFile(host_, CatalogEntry::Current(*PrnData).FilName);
}

bool TForm1::SelectedFileExists(const std::filesystem::path& fileName) {
    if (platform::FileExists(fileName.string())) return true;
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(),
                    QString::fromUtf8(window_texts::kFileMissing), QMessageBox::Ok, this);
    box.exec();
    return false;
}

void TForm1::BViewClick(QObject* /*Sender*/) {
    const std::filesystem::path fileName = SelectedFileName();
    if (!SelectedFileExists(fileName)) return;
    // A search still running reads the lines this load replaces.
    findBar_->CancelSearch();
    MSubor->Lines().LoadFile(fileName.string());
    ShowPage(TabView, MSubor);
    setWindowTitle(
        QString::fromStdString(window_texts::PreviewTitle(CatalogEntry::Current(*PrnData).Popis)));
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
    printer_ = std::move(surface);
}

bool TForm1::RunJobOn(print::PrintSurface& surface) {
    // A catalog change seen while the job runs is taken up once it is done.
    printing_ = true;
    const auto printed = qScopeGuard([this] { CatchUpAfterPrint(); });
    const std::filesystem::path fileName = SelectedFileName();
    if (!SelectedFileExists(fileName)) return false;
    const CatalogEntry entry = CatalogEntry::Current(*PrnData);
    print::PrintJobInput input;
    input.Dlzka = entry.Dlzka;
    input.Sirka = entry.Sirka;
    // The fields' text as shown, blanks included; the job reads the numbers from it.
    const std::string firstPage = EStr1->displayText().toStdString();
    const std::string lastPage = EStr2->displayText().toStdString();
    input.firstPageText = firstPage;
    input.lastPageText = lastPage;
    input.Portrait = Portrait;
    // On the preview page the lines shown are printed; from the list the file is read first.
    if (PStrany->currentWidget() != TabView) MSubor->Lines().LoadFile(fileName.string());
    try {
        print::RunPrintJob(surface, MSubor->Lines(), input);
        return true;
    } catch (const print::ERangeOutsideDocument& notice) {
        // A range that misses the document is the user's slip, told like a missing file.
        QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(),
                        QString::fromUtf8(notice.what()), QMessageBox::Ok, this);
        box.exec();
        return false;
    }
}

void TForm1::ShowLater(const QString& text, bool error) {
    // The job's fate arrives while the user does something else: a box that
    // waits for OK without stopping the window.
    auto* box = new QMessageBox(error ? QMessageBox::Critical : QMessageBox::NoIcon,
                                QApplication::applicationName(), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void TForm1::FollowLastJob(const print::PrinterSurface& printer) {
    auto* follower = new print::JobFollower(printer.PrinterName(), printer.LastJobId(), this);
    connect(follower, &print::JobFollower::Waiting, this,
            [this](const QString& notice) { ShowLater(notice, false); });
    connect(follower, &print::JobFollower::Failed, this,
            [this](const QString& message) { ShowLater(message, true); });
}

void TForm1::BTlacClick(QObject* /*Sender*/) {
    if (!RunJobOn(*printer_)) return;
    if (const auto* printer = dynamic_cast<const print::PrinterSurface*>(printer_.get()))
        FollowLastJob(*printer);
}

void TForm1::PrintOn(const std::string& printer) {
    print::PrinterSurface once(printer);
    if (RunJobOn(once)) FollowLastJob(once);
}

void TForm1::SaveAsPdf() {
    if (!SelectedFileExists(SelectedFileName())) return;
    QFileDialog dialog(this, QStringLiteral("Uložiť do PDF"));
    dialog.setObjectName("PdfFileDialog");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("PDF (*.pdf)"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    // Replacing a file is asked below, the same way whichever dialog the desktop offers.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const CatalogEntry entry = CatalogEntry::Current(*PrnData);
    dialog.selectFile(QString::fromStdString(entry.Nazov).trimmed() + ".pdf");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    SavePdfTo(dialog.selectedFiles().constFirst());
}

void TForm1::SavePdfTo(QString file) {
    if (!file.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) file += ".pdf";
    if (QFileInfo::exists(file)) {
        QMessageBox ask(QMessageBox::Question, QApplication::applicationName(),
                        QStringLiteral("Súbor „%1“ už existuje. Nahradiť ho?").arg(file),
                        QMessageBox::Yes | QMessageBox::No, this);
        ask.setDefaultButton(QMessageBox::No);
        if (ask.exec() != QMessageBox::Yes) return;
    }
    print::PdfFileSurface pdf(file.toStdString());
    RunJobOn(pdf);
}

void TForm1::ShowPrintMenu(const QPoint& globalPos) {
    if (!BTlac->isEnabled()) return;
    QMenu menu(this);
    menu.setObjectName("BTlacMenu");
    std::vector<print::SpoolerPrinter> printers;
    QString unavailable = QStringLiteral("Žiadna tlačiareň");
    try {
        printers = print::ListPrinters();
    } catch (const print::EPrintError& error) {
        unavailable = QString::fromUtf8(error.what());
    }
    for (const print::SpoolerPrinter& printer : printers) {
        const QString name = QString::fromStdString(printer.name);
        QAction* action = menu.addAction(printer.isDefault ? name + " (predvolená)" : name);
        action->setData(name);
        if (printer.isDefault) {
            QFont bold = action->font();
            bold.setBold(true);
            action->setFont(bold);
        }
    }
    if (printers.empty()) menu.addAction(unavailable)->setEnabled(false);
    menu.addSeparator();
    QAction* savePdf = menu.addAction(QStringLiteral("Uložiť do PDF..."));
    QAction* chosen = menu.exec(globalPos);
    if (chosen == nullptr) return;
    if (chosen == savePdf)
        SaveAsPdf();
    else
        PrintOn(chosen->data().toString().toStdString());
}

void TForm1::bStopClick(QObject* /*Sender*/) {
    close();
}

bool TForm1::MenuKeyEvent(QWidget* control, QEvent* event,
                          const std::function<void(const QPoint&)>& showMenu) {
    if (event->type() == QEvent::KeyPress) {
        // Not every platform turns the menu key into a context-menu event.
        menuKeyHandled_ = static_cast<QKeyEvent*>(event)->key() == Qt::Key_Menu;
        if (menuKeyHandled_) {
            RunGuarded([&] { showMenu(control->mapToGlobal(control->rect().center())); });
            return true;
        }
    } else if (event->type() == QEvent::ContextMenu &&
               static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard &&
               std::exchange(menuKeyHandled_, false)) {
        return true;
    }
    return false;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == BTlac &&
        MenuKeyEvent(BTlac, event, [this](const QPoint& at) { ShowPrintMenu(at); }))
        return true;
    if (watched == cbMesiac &&
        MenuKeyEvent(cbMesiac, event, [this](const QPoint& at) { ShowSelectorMenu(at); }))
        return true;
    return QWidget::eventFilter(watched, event);
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
    const auto offered = std::find(sources_.begin(), sources_.end(), source);
    if (offered == sources_.end()) return;
    searchPane_->Close();
    // The source as the user chooses it in the selector, with its loading and colours.
    cbMesiac->setCurrentIndex(static_cast<int>(offered - sources_.begin()));
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
