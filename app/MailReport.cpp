#include "app/MailReport.h"

#include "app/MailFolder.h"
#include "app/print/Paper.h"
#include "platform/PrivateFolder.h"

#include <utility>

namespace {

// Why the PDF cannot wait in the folder; empty when it can, the folder then private.
std::string FolderTrouble(const std::filesystem::path& folder) {
    try {
        platform::EnsurePrivateFolder(folder);
    } catch (const platform::EPrivateFolder& error) {
        return error.what();
    }
    return {};
}

} // namespace

MailReport::MailReport(std::filesystem::path folder) : folder_(std::move(folder)) {}

PrintOutcome MailReport::WritePdf(const PrintRequest& request, TMemoExStrings& lines,
                                  LineSource source, const print::Paper* paper) const {
    if (std::string trouble = FolderTrouble(folder_); !trouble.empty()) {
        PrintOutcome refused;
        refused.message = std::move(trouble);
        return refused;
    }
    PrintRequest toMail = request;
    toMail.destination =
        PrintDestination::PdfFile(mail_folder::FreePdfName(folder_, request.entry.TrimmedNazov()));
    Printing toFile;
    if (paper != nullptr) toFile.SetPdfPaper(*paper);
    return toFile.Carry(toMail, lines, source);
}

std::string MailReport::Subject(const CatalogEntry& entry) {
    return TrimBlanks(entry.Popis);
}
