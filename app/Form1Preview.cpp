// BTlac's print preview and "Poslať e-mailom...": both take the selected entry
// exactly as "Tlač" does (page fields, orientation, the preview page's lines or
// the print file), and what they print goes the one print path.
#include "app/Form1.h"
#include "app/MailFolder.h"
#include "app/MailProgram.h"
#include "app/MailReport.h"
#include "app/PrintOutcome.h"
#include "app/PrintPreviewOpener.h"
#include "app/Printing.h"
#include "app/WindowNotices.h"
#include "viewer/MemoEx.h"

#include <QPushButton>

void TForm1::ShowPrintPreview() {
    if (!BTlac->isEnabled()) return;
    PrintPreview::Actions actions;
    actions.carry = [this](const PrintRequest& shown, TMemoExStrings& lines,
                           const print::Paper& paper) {
        return CarryFromPreview(shown, lines, paper);
    };
    actions.mail = [this](const PrintRequest& shown, TMemoExStrings& lines,
                          const print::Paper& paper) {
        return Mail(shown, lines, LineSource::Store, &paper);
    };
    actions.orientationChanged = [this](bool portrait) {
        if (portrait != Portrait) BOrientClick(nullptr);
    };
    previewOpener_->Open(RequestFor(PrintDestination::DefaultPrinter()), MSubor->Lines(),
                         ShownLines(), std::move(actions));
}

bool TForm1::CarryFromPreview(const PrintRequest& request, TMemoExStrings& lines,
                              const print::Paper& paper) {
    return WhilePrinting([&] { return printing_->CarryAsLaidOut(request, lines, paper); })
        .Succeeded();
}

void TForm1::SendByMail() {
    Mail(RequestFor(PrintDestination::DefaultPrinter()), MSubor->Lines(), ShownLines(), nullptr);
}

bool TForm1::Mail(const PrintRequest& request, TMemoExStrings& lines, LineSource source,
                  const print::Paper* paper) {
    const PrintOutcome written = WhilePrinting(
        [&] { return MailReport(mail_folder::Folder()).WritePdf(request, lines, source, paper); });
    if (!written.Succeeded()) return false;
    auto* program = new MailProgram(this);
    connect(program, &MailProgram::Answered, program, &QObject::deleteLater);
    connect(program, &MailProgram::NoAnswer, this, [this, program, pdf = written.file] {
        program->deleteLater();
        notices_->MailNotAnswered(pdf);
    });
    program->Compose(written.file, QString::fromStdString(MailReport::Subject(request.entry)));
    return true;
}
