#include "app/print/PdfFileSurface.h"

#include <utility>

#include <QSaveFile>

#include "app/print/PrintError.h"
#include "app/print/Spooler.h"

namespace print {

PdfFileSurface::PdfFileSurface(std::filesystem::path file, std::optional<Paper> paper)
    : file_(std::move(file)), paper_(std::move(paper)) {}

Paper PdfFileSurface::DefaultPaper() {
    try {
        return PrinterPaper(DefaultPrinterName());
    } catch (const EPrintError&) {
        return A4Paper();
    }
}

Paper PdfFileSurface::LoadPaper() {
    return paper_ ? *paper_ : DefaultPaper();
}

void PdfFileSurface::Deliver(const std::vector<Sheet>& sheets) {
    const QString name = QString::fromStdString(file_.string());
    auto failed = [&](const QString& reason) {
        return EPrintError("Súbor „" + file_.string() +
                           "“ sa nedá zapísať: " + reason.toStdString() + ".");
    };
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly)) throw failed(file.errorString());
    WritePdf(file, sheets);
    // Nothing reaches the final name unless every byte was written.
    if (!file.commit()) throw failed(file.errorString());
}

} // namespace print
