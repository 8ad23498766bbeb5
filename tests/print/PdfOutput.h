#pragma once
// What a PDF printer wrote, read back with poppler's command-line tools.

#include <filesystem>
#include <string>
#include <utility>

namespace testing_cups {

// Pages of the file as pdfinfo counts them, -1 when it names none.
int PdfPages(const std::filesystem::path& pdf);
// Text of one page (from 1), laid out as on the page.
std::string PdfPageText(const std::filesystem::path& pdf, int page);
// Width and height of the first page in points, as pdfinfo gives them; 0 x 0 when it names none.
std::pair<double, double> PdfPageSize(const std::filesystem::path& pdf);
// Dark pixels of one page (from 1) rendered in grey at a low resolution: ink on the sheet.
int PdfDarkPixels(const std::filesystem::path& pdf, int page);

} // namespace testing_cups
