// A report sent by e-mail, up to the mail program, without a window: the PDF
// waits in a private folder under the entry's name, never over an earlier
// message's file and never outside the folder, and what stands in the way is
// told rather than thrown.
#include "HostFolder.h"
#include "PrintReports.h"

#include "app/MailReport.h"
#include "app/Source.h"
#include "app/print/Paper.h"
#include "tests/print/PdfOutput.h"
#include "tests/print/PrivateCups.h"
#include "viewer/MemoExStrings.h"

#include <QPageLayout>
#include <QPageSize>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

using Kind = PrintOutcome::Kind;
using testing_cups::PdfPages;
using testing_cups::PdfPageSize;
using testing_cups::PdfPageText;

class MailReportTest : public ::testing::Test {
  protected:
    MailReportTest() {
        // Without a printer of its own the PDF is laid out on A4; the machine's
        // print system is never asked.
        testing_cups::PrivateCups::ForThisProcess();
        host_.WriteFile("Tla/PASKY.TXT", ThreePageReport());
    }

    PrintRequest Request(const std::string& nazov, const std::string& filName = "PASKY.TXT",
                         print::PageRange pages = {}) const {
        const CatalogEntry entry{nazov, "Pásky", {2007, 12, 5}, "10:15", filName, 80, 60};
        const HostFolders folders{host_.AppFolder(), ""};
        return {entry, Source::CurrentMonth().ResolvedPrintFile(folders, filName), pages, true,
                PrintDestination::PdfFile(host_.Path("never.pdf"))};
    }
    PrintOutcome Write(const fs::path& folder, const PrintRequest& request,
                       const print::Paper* paper = nullptr) {
        TMemoExStrings lines;
        return MailReport(folder).WritePdf(request, lines, LineSource::PrintFile, paper);
    }

    HostFolder host_;
};

TEST_F(MailReportTest, EachMessageGetsAFileOfItsOwnInAPrivateFolder) {
    const fs::path folder = host_.Path("cache/tlacsub");
    const PrintOutcome first = Write(folder, Request("PASKY   "));
    ASSERT_EQ(first.kind, Kind::Written) << first.message;
    EXPECT_EQ(first.file, folder / "PASKY.pdf");
    EXPECT_EQ(PdfPages(first.file), 3);
    EXPECT_NEAR(PdfPageSize(first.file).first, 595.3, 1.0); // A4's width
    struct stat mode {};
    ASSERT_EQ(::stat(folder.c_str(), &mode), 0);
    EXPECT_EQ(mode.st_mode & 0777, 0700u);
    EXPECT_FALSE(fs::exists(host_.Path("never.pdf")));

    // The first message may still be using its file: pages 2 to 3 go to a new
    // one, on the paper a preview laid them out on.
    const print::Paper a5{QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Portrait, QMarginsF()),
                          600};
    const PrintOutcome second = Write(folder, Request("PASKY", "PASKY.TXT", {2, 3}), &a5);
    ASSERT_EQ(second.kind, Kind::Written) << second.message;
    EXPECT_EQ(second.file, folder / "PASKY_2.pdf");
    EXPECT_EQ(PdfPages(second.file), 2);
    EXPECT_NE(PdfPageText(second.file, 1).find("STRANA 2"), std::string::npos);
    EXPECT_NEAR(PdfPageSize(second.file).first, 419.5, 1.0); // A5's width
    EXPECT_EQ(PdfPages(first.file), 3);

    // A name that could lead out of the folder stays in it.
    for (const char* nazov : {"../PASKY", "a/../../b", "..", ".", "", "\x01\x1f"}) {
        SCOPED_TRACE(nazov);
        const PrintOutcome written = Write(folder, Request(nazov));
        ASSERT_EQ(written.kind, Kind::Written) << written.message;
        EXPECT_EQ(written.file.parent_path(), folder);
        EXPECT_EQ(written.file.extension(), ".pdf");
        EXPECT_TRUE(fs::is_regular_file(written.file));
    }
    EXPECT_FALSE(fs::exists(host_.Path("PASKY.pdf")));
}

TEST_F(MailReportTest, WhatStandsInTheWayIsToldAndNoFileIsLeft) {
    host_.WriteFile("plain-file", "a file, not a folder");
    struct Case {
        const char* name;
        fs::path folder;
        std::string filName;
        Kind kind;
        std::string inMessage;
    };
    const Case cases[] = {
        {"a file where the folder belongs", host_.Path("plain-file"), "PASKY.TXT", Kind::Failed,
         host_.Path("plain-file").string()},
        {"no home folder", fs::path(), "PASKY.TXT", Kind::Failed, "domovský"},
        {"no print file", host_.Path("mail"), "NIEJE.TXT", Kind::FileMissing,
         "Zvolený súbor neexistuje"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PrintOutcome outcome = Write(c.folder, Request("PASKY", c.filName));
        EXPECT_EQ(outcome.kind, c.kind);
        EXPECT_NE(outcome.message.find(c.inMessage), std::string::npos) << outcome.message;
        EXPECT_FALSE(fs::exists(c.folder / "PASKY.pdf"));
    }
}

TEST_F(MailReportTest, TheSubjectIsThePopisWithoutItsPadding) {
    const std::pair<std::string, std::string> cases[] = {
        {"Výplatné pásky 12/2007 & prémie    ", "Výplatné pásky 12/2007 & prémie"},
        {"  Zoznam ", "Zoznam"},
        {"      ", ""},
        {"", ""},
    };
    for (const auto& [popis, subject] : cases) {
        CatalogEntry entry;
        entry.Popis = popis;
        EXPECT_EQ(MailReport::Subject(entry), subject) << popis;
    }
}

} // namespace
