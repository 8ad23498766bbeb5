// The window's controls as they were designed: their places and anchors on
// the two pages and below them, their captions, fonts and colours.
#include "app/AnchorLayout.h"
#include "app/ButtonImages.h"
#include "app/CatalogGrid.h"
#include "app/CatalogModel.h"
#include "app/FindBar.h"
#include "app/FlatComboBox.h"
#include "app/Form1.h"
#include "app/SearchPane.h"
#include "app/ToolTips.h"
#include "app/WindowTexts.h"
#include "viewer/MemoEx.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>

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
    // The search across print files lies over the list while it is open.
    searchPane_ =
        new SearchPane(TabZozn, sourceChoice_.Host(), [this] { return sourceChoice_.Current(); });
    place(list, searchPane_, QRect(0, 0, 656, 418), kAll);

    BView = MakeButton(TabZozn, "Náhľad", "view");
    place(list, BView, QRect(0, 421, 70, 25), kLeftBottom);
    BOrder = MakeButton(TabZozn, "Triedenie", "order");
    place(list, BOrder, QRect(72, 421, 70, 25), kLeftBottom);
    BRefr = MakeButton(TabZozn, "Obnov", "refr");
    place(list, BRefr, QRect(144, 421, 70, 25), kLeftBottom);
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

void TForm1::ColourSelector(const Source& source) {
    SetBackground(cbMesiac, ToColor(window_texts::SelectorColour(source)));
}
