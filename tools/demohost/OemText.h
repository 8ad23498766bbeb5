#pragma once
// Text as the host system writes it: bytes of its DOS code page (852 unless the
// demo is written in another), one byte per character, so widths in characters
// are widths in bytes. Sources are UTF-8.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace demohost {

// The host's DOS code page (Central European).
inline constexpr int kHostCodePage = 852;

// The language-driver byte a catalog in the code page carries: 852, Kamenický
// (895 and 867) and Mazovia (620); 0 for a page a demo cannot be written in.
std::uint8_t LanguageDriverFor(int codePage);

// The page Oem() writes in: kHostCodePage unless a HostCodePageScope names another.
int HostCodePage();

// Writes the demo's texts in another code page while it lives.
class HostCodePageScope {
  public:
    explicit HostCodePageScope(int codePage);
    ~HostCodePageScope();
    HostCodePageScope(const HostCodePageScope&) = delete;
    HostCodePageScope& operator=(const HostCodePageScope&) = delete;

  private:
    int previous_;
};

// The host page's bytes of a UTF-8 text. A Slovak or Czech letter the page
// lacks (Mazovia has no č) goes without its accent, as such hosts typed it.
// Throws std::runtime_error for any other character the page lacks, so a typo
// never turns into a silent '?'.
std::string Oem(std::string_view utf8);

// The text in the host's code page, cut or padded with blanks to exactly `width` characters.
std::string Left(std::string_view utf8, std::size_t width);
std::string Right(std::string_view utf8, std::size_t width);
std::string Centre(std::string_view utf8, std::size_t width);

// `count` copies of one character (e.g. "─").
std::string Repeat(std::string_view utf8Character, std::size_t count);

// An amount in hundredths as the host prints it: "12 345,67", "-0,50".
std::string Money(long long hundredths);
// A whole number with blanks between thousands: "1 234".
std::string Whole(long long value);
// A quantity in thousandths: "12,500".
std::string Quantity(long long thousandths);

// Column layout of a table framed with box-drawing lines.
enum class Align { Left, Right, Centre };
struct Column {
    std::size_t width; // characters inside the cell, without its two blanks
    Align align = Align::Left;
};

// Lines of a table framed with single box-drawing lines, each cell with a blank
// on either side: "┌───┬───┐", "│ a │ b │", "├───┼───┤", "└───┴───┘".
class BoxTable {
  public:
    explicit BoxTable(std::vector<Column> columns);

    std::string Top() const;
    std::string Separator() const;
    std::string Bottom() const;
    // Cells in UTF-8; missing cells are blank. Throws std::length_error when a
    // cell is wider than its column.
    std::string Row(const std::vector<std::string>& cells) const;
    // Width of every line in characters.
    std::size_t Width() const;

  private:
    std::string Rule(std::string_view left, std::string_view middle, std::string_view right) const;
    std::vector<Column> columns_;
};

// A title framed with double lines, `width` characters wide, text centred.
std::vector<std::string> DoubleFrame(const std::vector<std::string>& utf8Lines, std::size_t width);

} // namespace demohost
