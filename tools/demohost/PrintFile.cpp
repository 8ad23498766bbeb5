#include "tools/demohost/PrintFile.h"

#include <stdexcept>

namespace demohost {
namespace {

constexpr char kFormFeed = '\x0C';
constexpr int kPreviewTabWidth = 4;

std::size_t ShownWidth(const std::string& line) {
    std::size_t width = 0;
    for (char c : line)
        width += c == '\t' ? kPreviewTabWidth : 1;
    return width;
}

} // namespace

PrintFile::PrintFile(int width, int length, PageHeader header)
    : width_(width), length_(length), header_(std::move(header)) {
    if (width <= 0 || length <= 0)
        throw std::invalid_argument("a print file needs a positive page width and length");
}

void PrintFile::StartPage() {
    pageOpen_ = true;
    linesOnPage_ = 0;
    ++pages_;
    if (!header_) return;
    const std::vector<std::string> lines = header_(pages_);
    // A header that fills the page would make every line start yet another page.
    if (static_cast<int>(lines.size()) >= length_)
        throw std::length_error("page header leaves no room for the report");
    for (const std::string& line : lines)
        Add(line);
}

void PrintFile::Add(const std::string& oemLine) {
    if (ShownWidth(oemLine) > static_cast<std::size_t>(width_))
        throw std::length_error("line wider than the page: " + oemLine);
    if (oemLine.find_first_of(std::string("\r\n\f\0", 4)) != std::string::npos)
        throw std::invalid_argument("line holds a line or page break");
    if (pageOpen_ && linesOnPage_ >= length_) NewPage();
    if (!pageOpen_) StartPage();
    bytes_ += oemLine;
    bytes_ += "\r\n";
    ++linesOnPage_;
}

void PrintFile::Add(const std::vector<std::string>& oemLines) {
    for (const std::string& line : oemLines)
        Add(line);
}

void PrintFile::AddBlank(int count) {
    for (int i = 0; i < count; ++i)
        Add(std::string());
}

void PrintFile::KeepTogether(int lines) {
    if (pageOpen_ && linesOnPage_ + lines > length_) NewPage();
}

void PrintFile::NewPage() {
    if (!pageOpen_) return;
    bytes_ += kFormFeed;
    bytes_ += "\r\n";
    pageOpen_ = false;
}

PrintFileBytes PrintFile::Finish(bool formFeedAtEnd) {
    if (formFeedAtEnd) NewPage();
    PrintFileBytes result{std::move(bytes_), width_, length_, pages_};
    bytes_.clear();
    pages_ = 0;
    linesOnPage_ = 0;
    pageOpen_ = false;
    return result;
}

} // namespace demohost
