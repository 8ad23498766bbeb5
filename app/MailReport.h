#pragma once
// Sending a report by e-mail, up to the mail program: the request's sheets as
// a PDF named after the entry in a folder only the user may enter, under a
// name no earlier message may still be using, and the message's subject. The
// window hands the file to the mail program (MailProgram) and tells the user
// what stood in the way; tests drive this without either.

#include "app/PrintOutcome.h"
#include "app/PrintRequest.h"
#include "app/Printing.h"

#include <filesystem>
#include <string>

class TMemoExStrings;
namespace print {
struct Paper;
}

class MailReport {
  public:
    // The folder the PDFs wait in: the user's cache's (mail_folder::Folder())
    // in the tool, a folder of their own in tests.
    explicit MailReport(std::filesystem::path folder);

    // Writes the request's sheets as a PDF in the folder, made private first;
    // its destination is ignored. The sheets lie on paper when a preview laid
    // them out there, else on the default printer's. The outcome is Written
    // with the PDF's name, or says why not, a folder that cannot be used too.
    PrintOutcome WritePdf(const PrintRequest& request, TMemoExStrings& lines, LineSource source,
                          const print::Paper* paper = nullptr) const;

    // The message's subject: the entry's Popis without its padding.
    static std::string Subject(const CatalogEntry& entry);

  private:
    std::filesystem::path folder_;
};
