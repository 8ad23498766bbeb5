#include "app/print/PdfFileSurface.h"

#include <utility>

#include <QSaveFile>

#include "app/print/PrintError.h"
#include "app/print/Spooler.h"
#include "platform/DiskSync.h"

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

void PdfFileSurface::Deliver(std::vector<Sheet> sheets) {
    const QString name = QString::fromStdString(file_.string());
    auto failed = [&](const QString& reason) {
        return EPrintError("Súbor „" + file_.string() +
                           "“ sa nedá zapísať: " + reason.toStdString() + ".");
    };
    // The PDF writer does not look at how its writes fare, so the document is
    // rendered first and then written here, every write checked; and the file
    // takes its name only once every byte is on the disk.
    const QByteArray bytes = PdfDocument(sheets);
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) throw failed(file.errorString());
    for (qint64 at = 0; at < bytes.size();) {
        // A write the system cuts short is tried again for the rest, which then says why.
        const qint64 written = file.write(bytes.constData() + at, bytes.size() - at);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            throw failed(reason);
        }
        at += written;
    }
    const std::string unsynced = platform::SyncToDisk(file.handle());
    if (!unsynced.empty()) {
        file.cancelWriting();
        throw failed(QString::fromStdString(unsynced));
    }
    if (!file.commit()) throw failed(file.errorString());
}

} // namespace print
