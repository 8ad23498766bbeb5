#pragma once
// What became of a print request: the job the spooler accepted, the PDF file
// written, or why nothing was printed. Callers only show it.

#include "app/print/PrintJob.h"

#include <filesystem>
#include <string>

struct PrintOutcome {
    enum class Kind {
        Accepted,             // the spooler took the job: printer and jobId
        Written,              // the PDF file was written: file
        LaidOut,              // the sheets went to a surface of the caller's (a preview, a test)
        FileMissing,          // the entry's print file is not there: file, message
        RangeOutsideDocument, // no page of the document lies in the range: message
        Failed,               // the print system, the file or the disk failed: message
    };
    Kind kind = Kind::Failed;
    std::string printer;
    int jobId = 0;
    std::filesystem::path file;
    // What to tell the user (UTF-8), for every kind but the first three.
    std::string message;
    // The font, page length and sheets the job chose, once it ran to its end.
    print::PrintJobResult layout;

    bool Succeeded() const {
        return kind == Kind::Accepted || kind == Kind::Written || kind == Kind::LaidOut;
    }
    // The user's slip (no file, a range beyond the document) rather than a fault,
    // told as a notice rather than an error.
    bool IsNotice() const {
        return kind == Kind::FileMissing || kind == Kind::RangeOutsideDocument;
    }
};
