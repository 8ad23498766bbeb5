#include "tests/print/PdfOutput.h"

#include "tests/print/PrivateCups.h"

namespace testing_cups {

int PdfPages(const std::filesystem::path& pdf) {
    const std::string info = RunCommand("pdfinfo " + ShellQuote(pdf.string()));
    const auto at = info.find("Pages:");
    if (at == std::string::npos) return -1;
    return std::stoi(info.substr(at + 6));
}

std::pair<double, double> PdfPageSize(const std::filesystem::path& pdf) {
    // "Page size:      595.276 x 841.89 pts (A4)"
    const std::string info = RunCommand("LC_ALL=C pdfinfo " + ShellQuote(pdf.string()));
    const auto at = info.find("Page size:");
    if (at == std::string::npos) return {0, 0};
    std::size_t used = 0;
    const std::string rest = info.substr(at + 10);
    const double width = std::stod(rest, &used);
    const double height = std::stod(rest.substr(rest.find('x', used) + 1));
    return {width, height};
}

std::string PdfPageText(const std::filesystem::path& pdf, int page) {
    const std::string p = std::to_string(page);
    return RunCommand("pdftotext -layout -f " + p + " -l " + p + " " + ShellQuote(pdf.string()) +
                      " -");
}

int PdfDarkPixels(const std::filesystem::path& pdf, int page) {
    const std::string p = std::to_string(page);
    const std::string pgm =
        RunCommand("pdftoppm -gray -r 20 -f " + p + " -l " + p + " " + ShellQuote(pdf.string()));
    // A binary PGM: "P5\n<width> <height>\n255\n" and then one byte per pixel.
    size_t at = 0;
    for (int fields = 0; fields < 4; ++fields) {
        at = pgm.find_first_not_of(" \n", at);
        at = pgm.find_first_of(" \n", at);
    }
    if (at == std::string::npos) return 0;
    int dark = 0;
    for (size_t i = at + 1; i < pgm.size(); ++i)
        if (static_cast<unsigned char>(pgm[i]) < 128) ++dark;
    return dark;
}

} // namespace testing_cups
