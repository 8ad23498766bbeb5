#include "app/CodePageSample.h"

#include "app/CatalogLoading.h"
#include "app/MachineCodePages.h"
#include "dbf/Dbf.h"
#include "platform/CodePages.h"
#include "platform/Files.h"

#include <fstream>

namespace {

// Enough to find a line with letters in any report's first page.
constexpr std::streamsize kSampleBytes = 64 * 1024;
// Entries looked at for one whose print file is there.
constexpr int kEntriesTried = 50;

// The machine's pages while a sample is read, those before it afterwards.
class MachineCodePagesFor {
  public:
    MachineCodePagesFor(int ansi, int oem)
        : ansi_(platform::AnsiCodePage()), oem_(platform::OemCodePage()) {
        UseMachineCodePages(ansi, oem);
    }
    ~MachineCodePagesFor() { UseMachineCodePages(ansi_, oem_); }
    MachineCodePagesFor(const MachineCodePagesFor&) = delete;
    MachineCodePagesFor& operator=(const MachineCodePagesFor&) = delete;

  private:
    int ansi_;
    int oem_;
};

bool Blank(const std::string& line) {
    return line.find_first_not_of(" \t\f\x1a") == std::string::npos;
}

std::string SampleLine(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(kSampleBytes), '\0');
    in.read(bytes.data(), kSampleBytes);
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    std::string firstNonBlank;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        start = end + 1;
        if (Blank(line)) continue;
        for (const char c : line)
            if (static_cast<unsigned char>(c) >= 0x80) return line;
        if (firstNonBlank.empty()) firstNonBlank = line;
    }
    return firstNonBlank;
}

} // namespace

CodePageSample SampleWithCodePages(int ansi, int oem, const Source& source,
                                   const HostFolders& host) {
    CodePageSample sample;
    const MachineCodePagesFor pages(ansi, oem);
    try {
        const std::filesystem::path catalogFolder = source.ResolvedCatalogFolder(host);
        if (!platform::FileExists("ZOZTLS.DBF", catalogFolder)) return sample;
        dbf::TDbf catalog("Sample");
        ConfigureCatalogTable(catalog);
        catalog.SetFilePath(catalogFolder.string());
        catalog.Open();
        std::string popis;
        std::filesystem::path printFile;
        catalog.First();
        for (int tried = 0; !catalog.Eof() && tried < kEntriesTried; ++tried, catalog.Next()) {
            const std::string text = catalog.FieldByName("Popis")->AsString();
            const std::filesystem::path file = source.ResolvedPrintFile(
                host, platform::AnsiToUtf8(catalog.FieldByName("FilName")->AsString()));
            if (tried == 0) popis = text;
            if (platform::FileExists(file.string())) {
                popis = text;
                printFile = file;
                break;
            }
        }
        catalog.Close();
        sample.popis = platform::AnsiToUtf16(popis);
        if (!printFile.empty()) sample.line = platform::OemToDisplay(SampleLine(printFile));
    } catch (const std::exception&) {
        // A catalog that cannot be read gives no sample; the list shows why.
    }
    return sample;
}
