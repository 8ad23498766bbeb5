// PDF files whose writing fails below the PDF writer: on a full disk and past
// a limit on the size of files. The file is complete or absent, and the
// failure names the file and the system's reason.

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

#include "app/print/PdfFileSurface.h"
#include "app/print/PrintError.h"
#include "app/print/PrintJob.h"
#include "platform/CodePages.h"
#include "tests/print/PdfOutput.h"
#include "tests/print/SmallFileSystem.h"
#include "viewer/MemoExStrings.h"

namespace {

using testing_cups::PdfPages;
using testing_cups::SmallFileSystem;

std::string Report(int pages) {
    std::string text;
    for (int page = 1; page <= pages; ++page) {
        text += "STRANA " + std::to_string(page) + "\r\n";
        for (int row = 1; row <= 40; ++row)
            text += "  " + std::to_string(page * 1000 + row) + "  Novak Jan   1234,50\r\n";
        text += "\f\r\n";
    }
    return text;
}

// Files this process writes may not grow past a size while it lives: a write
// beyond fails with the system's "file too large", its signal ignored.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, saved_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

class PdfFileTest : public ::testing::Test {
  protected:
    void SetUp() override { platform::SetMachineCodePages(1250, 852); }

    // A small file, written by the PDF writer in one piece at its end, and a
    // large one, written piece by piece as it grows.
    struct Size {
        const char* what;
        int pages;
    };
    static constexpr Size kSizes[] = {{"one page", 1}, {"sixty pages", 60}};

    // Writes each size into folder while what failWrites returns lives; an
    // older file of the same name stays as it was, and nothing else is left.
    static void ExpectCompleteOrAbsent(const std::filesystem::path& folder,
                                       const std::function<std::shared_ptr<void>()>& failWrites,
                                       const std::string& reason) {
        for (const Size& size : kSizes) {
            SCOPED_TRACE(size.what);
            for (const bool older : {false, true}) {
                SCOPED_TRACE(older ? "over an older file" : "a new file");
                const std::filesystem::path file = folder / "report.pdf";
                std::filesystem::remove(file);
                if (older) std::ofstream(file) << "older";
                TMemoExStrings lines;
                lines.SetFullText(Report(size.pages));
                print::PdfFileSurface pdf(file, print::A4Paper());
                try {
                    const std::shared_ptr<void> failing = failWrites();
                    print::RunPrintJob(pdf, lines, {"1", "9999", 80, 60, true});
                    ADD_FAILURE() << "reported as written";
                } catch (const print::EPrintError& error) {
                    const std::string message = error.what();
                    EXPECT_NE(message.find(file.string()), std::string::npos) << message;
                    EXPECT_NE(message.find(reason), std::string::npos) << message;
                }
                if (older) {
                    std::ifstream kept(file);
                    const std::string content(std::istreambuf_iterator<char>(kept), {});
                    EXPECT_TRUE(content == "older") << "replaced by " << content.size() << " bytes";
                } else {
                    EXPECT_FALSE(std::filesystem::exists(file));
                }
                int files = 0;
                for (const auto& entry : std::filesystem::directory_iterator(folder))
                    if (entry.path().filename().string()[0] != '.') ++files;
                EXPECT_EQ(files, older ? 1 : 0);
            }
        }
    }
};

TEST_F(PdfFileTest, AWriteRefusedBelowTheWriterLeavesTheFileCompleteOrAbsent) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tlacsub-pdf-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    {
        // Without the limit both sizes are written whole.
        for (const Size& size : kSizes) {
            TMemoExStrings lines;
            lines.SetFullText(Report(size.pages));
            print::PdfFileSurface pdf(folder / "whole.pdf", print::A4Paper());
            print::RunPrintJob(pdf, lines, {"1", "9999", 80, 60, true});
            EXPECT_EQ(PdfPages(folder / "whole.pdf"), size.pages);
        }
        std::filesystem::remove(folder / "whole.pdf");
    }
    ExpectCompleteOrAbsent(
        folder, [] { return std::make_shared<FileSizeLimit>(2048); }, std::strerror(EFBIG));
    std::filesystem::remove_all(folder);
}

TEST_F(PdfFileTest, AFullDiskLeavesTheFileCompleteOrAbsent) {
    if (!SmallFileSystem::CanMount()) GTEST_SKIP() << "mounting a small file system needs root";
    SmallFileSystem disk(4096);
    ExpectCompleteOrAbsent(
        disk.Folder(), [] { return std::shared_ptr<void>(); }, std::strerror(ENOSPC));
}

} // namespace
