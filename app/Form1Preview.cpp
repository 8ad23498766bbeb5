// BTlac's print preview and "Poslať e-mailom...": both take the selected entry
// exactly as "Tlač" does (page fields, orientation, the preview's lines or the
// print file) and hand it to the one print path.
#include "app/ErrorGuard.h"
#include "app/Form1.h"
#include "app/MailFolder.h"
#include "app/MailProgram.h"
#include "app/PdfFileChoice.h"
#include "app/PreviewLayout.h"
#include "app/PrintOutcome.h"
#include "app/PrintPreview.h"
#include "app/Printing.h"
#include "app/print/PdfFileSurface.h"
#include "app/print/PrintError.h"
#include "app/print/Spooler.h"
#include "viewer/MemoEx.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QUrl>

#include <utility>

namespace {

// The print system's printers for the preview's choice; none when it cannot be asked.
std::vector<print::SpoolerPrinter> PrintersOrNone() {
    try {
        return print::ListPrinters();
    } catch (const print::EPrintError&) {
        return {};
    }
}

} // namespace

void TForm1::ShowPrintPreview() {
    if (!BTlac->isEnabled() || previewLayouter_ != nullptr) return;
    // The preview's own copy of the lines: the viewer may load another file
    // while the sheets are laid out, and the preview prints what it shows.
    auto lines = std::make_shared<TMemoExStrings>();
    const LineSource source = CurrentLineSource();
    if (source == LineSource::Store) lines->SetFullText(MSubor->Lines().FullText());
    const PrintRequest request = CurrentRequest(PrintDestination::DefaultPrinter());
    const print::Paper paper = print::PdfFileSurface::DefaultPaper();

    previewLayouter_ = new PreviewLayouter(this);
    previewLayouter_->OnReady = [this, request, lines, paper](const PreviewPages& pages) {
        previewLayouter_->deleteLater();
        previewLayouter_ = nullptr;
        QApplication::restoreOverrideCursor();
        RunGuarded([&] { OpenPreview(pages, request, lines, paper); });
    };
    QApplication::setOverrideCursor(Qt::BusyCursor);
    previewLayouter_->Start(request, paper, lines, source);
}

void TForm1::OpenPreview(const PreviewPages& pages, const PrintRequest& request,
                         const std::shared_ptr<TMemoExStrings>& lines, const print::Paper& paper) {
    // A missing file or a range outside the document is told as "Tlač" tells
    // it, and no window opens.
    if (!pages.outcome.Succeeded()) {
        ShowOutcome(pages.outcome);
        return;
    }
    PrintPreview::Actions actions;
    actions.print = [this](const PrintRequest& shown, TMemoExStrings& shownLines,
                           const print::Paper& shownPaper) {
        return CarryFromPreview(shown, shownLines, &shownPaper);
    };
    actions.savePdf = [this](const PrintRequest& shown, TMemoExStrings& shownLines,
                             const print::Paper& shownPaper) {
        QWidget* preview = QApplication::activeModalWidget();
        QString file = AskPdfFile(preview, shown.entry.Nazov);
        if (!file.isEmpty()) file = ConfirmPdfFile(preview, file);
        if (file.isEmpty()) return false;
        PrintRequest toFile = shown;
        toFile.destination = PrintDestination::PdfFile(file.toStdString());
        return CarryFromPreview(toFile, shownLines, &shownPaper);
    };
    actions.mail = [this](const PrintRequest& shown, TMemoExStrings& shownLines,
                          const print::Paper& shownPaper) {
        return Mail(shown, shownLines, LineSource::Store, &shownPaper);
    };
    actions.orientationChanged = [this](bool portrait) {
        if (portrait != Portrait) BOrientClick(nullptr);
    };
    auto* preview =
        new PrintPreview(request, lines, paper, pages, PrintersOrNone(), std::move(actions), this);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->setWindowModality(Qt::WindowModal);
    preview->show();
}

bool TForm1::CarryFromPreview(const PrintRequest& request, TMemoExStrings& lines,
                              const print::Paper* paper) {
    printRunning_ = true;
    const auto printed = qScopeGuard([this] { CatchUpAfterPrint(); });
    PrintOutcome outcome;
    if (request.destination.kind == PrintDestination::Kind::PdfFile && paper != nullptr) {
        // The PDF holds the sheets the preview shows, on the paper they were laid out on.
        Printing toFile;
        toFile.SetPdfPaper(*paper);
        outcome = toFile.Carry(request, lines, LineSource::Store);
    } else {
        outcome = printing_->Carry(request, lines, LineSource::Store);
    }
    ShowOutcome(outcome);
    return outcome.Succeeded();
}

void TForm1::SendByMail() {
    const PrintRequest request = CurrentRequest(PrintDestination::DefaultPrinter());
    Mail(request, MSubor->Lines(), CurrentLineSource(), nullptr);
}

bool TForm1::Mail(const PrintRequest& request, TMemoExStrings& lines, LineSource source,
                  const print::Paper* paper) {
    printRunning_ = true;
    const auto printed = qScopeGuard([this] { CatchUpAfterPrint(); });
    const std::filesystem::path folder = mail_folder::PreparedFolder();
    PrintRequest toMail = request;
    toMail.destination =
        PrintDestination::PdfFile(mail_folder::FreePdfName(folder, request.entry.TrimmedNazov()));
    Printing toFile;
    if (paper != nullptr) toFile.SetPdfPaper(*paper);
    const PrintOutcome outcome = toFile.Carry(toMail, lines, source);
    if (!outcome.Succeeded()) {
        ShowOutcome(outcome);
        return false;
    }
    auto* program = new MailProgram(this);
    const std::filesystem::path pdf = toMail.destination.pdfFile;
    connect(program, &MailProgram::Answered, program, &QObject::deleteLater);
    connect(program, &MailProgram::NoAnswer, this, [this, program, pdf] {
        program->deleteLater();
        MailNotAnswered(pdf);
    });
    program->Compose(pdf, QString::fromStdString(request.entry.Popis));
    return true;
}

void TForm1::MailNotAnswered(const std::filesystem::path& pdf) {
    // The answer comes while the user may be doing something else: a box that
    // does not stop the window.
    auto* box = new QMessageBox(
        QMessageBox::Warning, QApplication::applicationName(),
        QStringLiteral("Poštový program sa nepodarilo otvoriť.\nZostava je uložená v súbore „%1“.")
            .arg(QString::fromStdString(pdf.string())),
        QMessageBox::Close, this);
    box->setObjectName("MailNotAnswered");
    box->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton* open =
        box->addButton(QStringLiteral("Otvoriť priečinok"), QMessageBox::ActionRole);
    const QString folder = QString::fromStdString(pdf.parent_path().string());
    connect(open, &QPushButton::clicked, this, [this, folder] {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
            ShowLater(QStringLiteral("Priečinok „%1“ sa nepodarilo otvoriť.").arg(folder), true);
    });
    box->open();
}
