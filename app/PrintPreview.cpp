#include "app/PrintPreview.h"

#include "app/ButtonImages.h"
#include "app/ErrorGuard.h"
#include "app/PdfFileChoice.h"
#include "app/PreviewLayout.h"
#include "app/SheetView.h"
#include "app/ToolTips.h"
#include "app/WindowNotices.h"
#include "app/print/PrintError.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>
#include <utility>

namespace {

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QToolButton* MakeTool(QWidget* parent, const char* name, QStyle::StandardPixmap icon,
                      const char* text, const char* toolTip) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(Text(text));
    if (icon != QStyle::SP_CustomBase) {
        button->setIcon(parent->style()->standardIcon(icon));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    button->setToolTip(Text(toolTip));
    button->setAutoRaise(true);
    return button;
}

QString PreviewTitle(const std::string& popis) {
    const QString text = QString::fromStdString(popis).trimmed();
    return text.isEmpty() ? Text("Ukážka pred tlačou") : Text("Ukážka pred tlačou - ") + text;
}

} // namespace

PrintPreview::PrintPreview(const PrintRequest& request, std::shared_ptr<TMemoExStrings> lines,
                           const print::Paper& paper, const PreviewPages& pages,
                           const std::vector<print::SpoolerPrinter>& printers, Actions actions,
                           QWidget* parent)
    : QDialog(parent), request_(request), lines_(std::move(lines)), paper_(paper),
      pages_(std::make_unique<PreviewPages>(pages)), actions_(std::move(actions)),
      layouter_(new PreviewLayouter(this)), notices_(new WindowNotices(this)) {
    setObjectName("PrintPreview");
    setWindowTitle(PreviewTitle(request.entry.Popis));
    CreateControls(printers);
    layouter_->OnReady = [this](const PreviewPages& laidOut) {
        RunGuarded([&] { ShowPages(laidOut); });
    };
    sheet_->SetSheets(pages_->sheets);
    UpdateControls();

    if (const QScreen* screen = QApplication::primaryScreen()) {
        const QRect desktop = screen->availableGeometry();
        const int height = desktop.height() * 4 / 5;
        resize(std::min(desktop.width() * 4 / 5, height * 5 / 6), height);
    }
}

PrintPreview::~PrintPreview() = default;

void PrintPreview::CreateControls(const std::vector<print::SpoolerPrinter>& printers) {
    auto* tools = new QHBoxLayout;
    first_ =
        MakeTool(this, "PreviewFirst", QStyle::SP_MediaSkipBackward, "Prvý", "Prvý hárok (Home)");
    previous_ = MakeTool(this, "PreviewPrevious", QStyle::SP_MediaSeekBackward, "Predchádzajúci",
                         "Predchádzajúci hárok (Page Up)");
    pageLabel_ = new QLabel(this);
    pageLabel_->setObjectName("PreviewPageLabel");
    next_ = MakeTool(this, "PreviewNext", QStyle::SP_MediaSeekForward, "Ďalší",
                     "Ďalší hárok (Page Down)");
    last_ = MakeTool(this, "PreviewLast", QStyle::SP_MediaSkipForward, "Posledný",
                     "Posledný hárok (End)");
    for (QWidget* widget : {static_cast<QWidget*>(first_), static_cast<QWidget*>(previous_),
                            static_cast<QWidget*>(pageLabel_), static_cast<QWidget*>(next_),
                            static_cast<QWidget*>(last_)})
        tools->addWidget(widget);
    tools->addSpacing(16);

    wholePage_ = MakeTool(this, "PreviewWholePage", QStyle::SP_CustomBase, "Celá strana",
                          "Celý hárok v okne");
    pageWidth_ = MakeTool(this, "PreviewPageWidth", QStyle::SP_CustomBase, "Šírka strany",
                          "Šírka hárku cez celé okno");
    wholePage_->setCheckable(true);
    pageWidth_->setCheckable(true);
    zoomOut_ = MakeTool(this, "PreviewZoomOut", QStyle::SP_CustomBase, "−", "Zmenšiť (Ctrl+-)");
    zoomLabel_ = new QLabel(this);
    zoomLabel_->setObjectName("PreviewZoomLabel");
    zoomIn_ = MakeTool(this, "PreviewZoomIn", QStyle::SP_CustomBase, "+", "Zväčšiť (Ctrl++)");
    for (QWidget* widget : {static_cast<QWidget*>(wholePage_), static_cast<QWidget*>(pageWidth_),
                            static_cast<QWidget*>(zoomOut_), static_cast<QWidget*>(zoomLabel_),
                            static_cast<QWidget*>(zoomIn_)})
        tools->addWidget(widget);
    tools->addSpacing(16);

    orientation_ = new QToolButton(this);
    orientation_->setObjectName("PreviewOrient");
    orientation_->setIconSize(QSize(16, 16));
    orientation_->setAutoRaise(true);
    tools->addWidget(orientation_);
    tools->addStretch();
    auto* printerLabel = new QLabel(Text("Tlačiareň:"), this);
    printer_ = new QComboBox(this);
    printer_->setObjectName("PreviewPrinter");
    printerLabel->setBuddy(printer_);
    for (const print::SpoolerPrinter& printer : printers) {
        const QString name = QString::fromStdString(printer.name);
        printer_->addItem(printer.isDefault ? name + Text(" (predvolená)") : name, name);
        if (printer.isDefault) chosenIndex_ = printer_->count() - 1;
    }
    if (printers.empty()) {
        printer_->addItem(Text("Žiadna tlačiareň"));
        printer_->setEnabled(false);
    } else if (chosenIndex_ < 0) {
        chosenIndex_ = 0;
    }
    printer_->setCurrentIndex(std::max(0, chosenIndex_));
    tools->addWidget(printerLabel);
    tools->addWidget(printer_);

    sheet_ = new SheetView(this);
    sheet_->setObjectName("PreviewSheet");

    auto* buttons = new QHBoxLayout;
    status_ = new QLabel(this);
    status_->setObjectName("PreviewStatus");
    buttons->addWidget(status_, 1);
    mail_ = new QPushButton(Text("Poslať e-mailom..."), this);
    mail_->setObjectName("PreviewMail");
    savePdf_ = new QPushButton(Text("Uložiť do PDF..."), this);
    savePdf_->setObjectName("PreviewSavePdf");
    print_ = new QPushButton(ButtonImage(QStringLiteral("tlac")), Text("Tlačiť"), this);
    print_->setObjectName("PreviewPrint");
    print_->setToolTip(Text("Tlačiť na zvolenej tlačiarni (Ctrl+P)"));
    auto* close = new QPushButton(Text("Zavrieť"), this);
    close->setObjectName("PreviewClose");
    for (QPushButton* button : {mail_, savePdf_, print_, close}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(sheet_, 1);
    layout->addLayout(buttons);

    connect(first_, &QToolButton::clicked, this, [this] { sheet_->ShowSheet(0); });
    connect(previous_, &QToolButton::clicked, this,
            [this] { sheet_->ShowSheet(sheet_->CurrentSheet() - 1); });
    connect(next_, &QToolButton::clicked, this,
            [this] { sheet_->ShowSheet(sheet_->CurrentSheet() + 1); });
    connect(last_, &QToolButton::clicked, this,
            [this] { sheet_->ShowSheet(sheet_->SheetCount() - 1); });
    connect(wholePage_, &QToolButton::clicked, sheet_, &SheetView::FitWholePage);
    connect(pageWidth_, &QToolButton::clicked, sheet_, &SheetView::FitPageWidth);
    connect(zoomOut_, &QToolButton::clicked, sheet_, &SheetView::ZoomOut);
    connect(zoomIn_, &QToolButton::clicked, sheet_, &SheetView::ZoomIn);
    connect(sheet_, &SheetView::ViewChanged, this, &PrintPreview::UpdateControls);
    connect(orientation_, &QToolButton::clicked, this,
            [this] { RunGuarded([this] { SwitchOrientation(); }); });
    connect(printer_, &QComboBox::activated, this,
            [this](int index) { RunGuarded([&] { PrinterChosen(index); }); });
    connect(print_, &QPushButton::clicked, this, [this] {
        const std::string printer = ChosenPrinter();
        Run(actions_.carry,
            printer.empty() ? PrintDestination::DefaultPrinter() : PrintDestination::Queue(printer),
            true);
    });
    connect(savePdf_, &QPushButton::clicked, this, [this] { RunGuarded([this] { SavePdf(); }); });
    connect(mail_, &QPushButton::clicked, this,
            [this] { Run(actions_.mail, PrintDestination::DefaultPrinter(), false); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto key = [this](QKeySequence sequence, auto action) {
        connect(new QShortcut(sequence, this), &QShortcut::activated, this, action);
    };
    key(QKeySequence(Qt::CTRL | Qt::Key_P), [this] { print_->click(); });
    key(QKeySequence(QKeySequence::ZoomIn), [this] { sheet_->ZoomIn(); });
    key(QKeySequence(QKeySequence::ZoomOut), [this] { sheet_->ZoomOut(); });
    sheet_->setFocus();
}

std::string PrintPreview::ChosenPrinter() const {
    if (chosenIndex_ < 0) return {};
    return printer_->itemData(chosenIndex_).toString().toStdString();
}

bool PrintPreview::Relaying() const {
    return layouter_->Running();
}

void PrintPreview::UpdateControls() {
    const int sheets = sheet_->SheetCount();
    const int shown = sheet_->CurrentSheet();
    pageLabel_->setText(sheets == 0 ? QString()
                                    : Text("Strana %1 z %2, hárok %3 z %4")
                                          .arg(pages_->DocumentPage(shown))
                                          .arg(pages_->outcome.layout.documentPages)
                                          .arg(shown + 1)
                                          .arg(sheets));
    first_->setEnabled(shown > 0);
    previous_->setEnabled(shown > 0);
    next_->setEnabled(shown + 1 < sheets);
    last_->setEnabled(shown + 1 < sheets);
    zoomLabel_->setText(QStringLiteral("%1 %").arg(std::lround(sheet_->ShownScale() * 100)));
    wholePage_->setChecked(sheet_->Zoom().CurrentMode() == SheetZoom::Mode::WholePage);
    pageWidth_->setChecked(sheet_->Zoom().CurrentMode() == SheetZoom::Mode::PageWidth);
    orientation_->setIcon(QIcon(OrientationImage(request_.Portrait)));
    orientation_->setToolTip(OrientationToolTip(request_.Portrait));

    const bool relaying = Relaying();
    status_->setText(relaying ? Text("Pripravujem hárky ...") : QString());
    for (QWidget* action : {static_cast<QWidget*>(print_), static_cast<QWidget*>(savePdf_),
                            static_cast<QWidget*>(mail_), static_cast<QWidget*>(orientation_),
                            static_cast<QWidget*>(printer_)})
        action->setEnabled(!relaying);
    if (chosenIndex_ < 0) printer_->setEnabled(false);
}

void PrintPreview::ShowPages(const PreviewPages& pages) {
    const bool portrait = pending_.portrait;
    if (!pages.outcome.Succeeded()) {
        // The sheets shown stay, and with them the printer and orientation they were laid out for.
        printer_->setCurrentIndex(std::max(0, chosenIndex_));
        UpdateControls();
        notices_->Show(pages.outcome);
        return;
    }
    const bool orientationChanged = portrait != request_.Portrait;
    paper_ = pending_.paper;
    chosenIndex_ = pending_.index;
    request_.Portrait = portrait;
    *pages_ = pages;
    sheet_->SetSheets(pages_->sheets, sheet_->CurrentSheet());
    UpdateControls();
    if (orientationChanged && actions_.orientationChanged) actions_.orientationChanged(portrait);
}

void PrintPreview::PrinterChosen(int index) {
    if (index == chosenIndex_ || Relaying()) return;
    const std::string printer = printer_->itemData(index).toString().toStdString();
    try {
        pending_ = {print::PrinterPaper(printer), request_.Portrait, index};
    } catch (const print::EPrintError&) {
        printer_->setCurrentIndex(std::max(0, chosenIndex_));
        throw;
    }
    Relay();
}

void PrintPreview::SwitchOrientation() {
    if (Relaying()) return;
    pending_ = {paper_, !request_.Portrait, chosenIndex_};
    Relay();
}

void PrintPreview::Relay() {
    PrintRequest request = request_;
    request.Portrait = pending_.portrait;
    // The lines shown are laid out again; the print file is not read a second time.
    layouter_->Start(request, pending_.paper, lines_, LineSource::Store);
    UpdateControls();
}

void PrintPreview::Run(const Action& action, PrintDestination destination, bool closeAfter) {
    if (!action || Relaying()) return;
    PrintRequest request = request_;
    request.destination = std::move(destination);
    bool done = false;
    RunGuarded([&] { done = action(request, *lines_, paper_); });
    if (done && closeAfter) accept();
}

void PrintPreview::SavePdf() {
    if (Relaying()) return;
    QString file = AskPdfFile(this, request_.entry.Nazov);
    if (!file.isEmpty()) file = ConfirmPdfFile(this, file);
    if (file.isEmpty()) return;
    Run(actions_.carry, PrintDestination::PdfFile(file.toStdString()), false);
}
