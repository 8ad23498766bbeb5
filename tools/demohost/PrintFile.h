#pragma once
// A print file as the host system writes it: lines in its DOS code page ended by CR LF,
// pages of at most `length` lines, each page closed by a line holding a form feed.

#include <functional>
#include <string>
#include <vector>

namespace demohost {

// What a finished print file gives the catalog: its bytes and its page format.
struct PrintFileBytes {
    std::string bytes;
    int width = 0;  // Sirka: characters across the page
    int length = 0; // Dlzka: lines down the page
    int pages = 0;
};

class PrintFile {
  public:
    // Lines put at the top of every page; gets the page number (from 1).
    using PageHeader = std::function<std::vector<std::string>(int page)>;

    // Throws std::invalid_argument unless width and length are positive.
    PrintFile(int width, int length, PageHeader header = {});

    // Adds one line of the host page's bytes, starting a new page when the current
    // one is full. Throws std::length_error when the line is wider than the page
    // (a TAB counts as the four blanks the preview makes of it).
    void Add(const std::string& oemLine);
    void Add(const std::vector<std::string>& oemLines);
    void AddBlank(int count = 1);
    // Starts a new page unless `lines` more lines fit on the current one.
    void KeepTogether(int lines);
    // Ends the current page with a form feed; the next line starts a new page.
    void NewPage();

    // Ends the last page (with a form feed unless told otherwise) and hands out
    // the bytes. The file is empty afterwards.
    PrintFileBytes Finish(bool formFeedAtEnd = true);

    int Width() const { return width_; }
    int Length() const { return length_; }

  private:
    void StartPage();

    int width_;
    int length_;
    PageHeader header_;
    std::string bytes_;
    int linesOnPage_ = 0;
    int pages_ = 0;
    bool pageOpen_ = false;
};

} // namespace demohost
