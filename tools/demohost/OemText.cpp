#include "tools/demohost/OemText.h"

#include "platform/CodePages.h"

#include <cstdio>
#include <optional>
#include <stdexcept>

namespace demohost {
namespace {

constexpr int kUtf8CodePage = 65001;

int hostCodePage = kHostCodePage;

// The host page's own byte for a character; none where the page would write a
// look-alike or '?' instead, which the round trip tells.
std::optional<char> ByteOf(char16_t character) {
    const std::u16string one(1, character);
    const auto byte = platform::Utf16ToCodePage(hostCodePage, one);
    if (!byte || byte->size() != 1) return std::nullopt;
    if (platform::CodePageToUtf16(hostCodePage, *byte) != one) return std::nullopt;
    return byte->front();
}

// The Slovak and Czech letters with their accents taken off; others stay.
char16_t WithoutAccent(char16_t letter) {
    static const std::u16string accented = u"áäčďéěíĺľňóôŕřšťúůýžÁÄČĎÉĚÍĹĽŇÓÔŔŘŠŤÚŮÝŽ";
    static const std::u16string plain = u"aacdeeillnoorrstuuyzAACDEEILLNOORRSTUUYZ";
    const std::size_t at = accented.find(letter);
    return at == std::u16string::npos ? letter : plain[at];
}

std::string Fit(std::string oem, std::size_t width, Align align) {
    if (oem.size() >= width) return oem.substr(0, width);
    const std::size_t gap = width - oem.size();
    switch (align) {
    case Align::Left:
        return oem + std::string(gap, ' ');
    case Align::Right:
        return std::string(gap, ' ') + oem;
    case Align::Centre:
        return std::string(gap / 2, ' ') + oem + std::string(gap - gap / 2, ' ');
    }
    return oem;
}

// Digits of a non-negative number with a blank before every group of three.
std::string Grouped(unsigned long long value) {
    std::string digits = std::to_string(value);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ' ';
        out += digits[i];
    }
    return out;
}

std::string Fixed(long long value, unsigned long long scale, int decimals) {
    const bool negative = value < 0;
    const unsigned long long magnitude =
        negative ? 0ULL - static_cast<unsigned long long>(value) : value;
    char fraction[32];
    std::snprintf(fraction, sizeof fraction, "%0*llu", decimals, magnitude % scale);
    return (negative ? "-" : "") + Grouped(magnitude / scale) + "," + fraction;
}

} // namespace

std::uint8_t LanguageDriverFor(int codePage) {
    switch (codePage) {
    case 852:
        return 0x64;
    case 895:
        return 0x68;
    case 867:
        return 0x20;
    case 620:
        return 0x69;
    default:
        return 0;
    }
}

int HostCodePage() {
    return hostCodePage;
}

HostCodePageScope::HostCodePageScope(int codePage) : previous_(hostCodePage) {
    if (LanguageDriverFor(codePage) == 0)
        throw std::invalid_argument("a demo cannot be written in code page " +
                                    std::to_string(codePage));
    hostCodePage = codePage;
}

HostCodePageScope::~HostCodePageScope() {
    hostCodePage = previous_;
}

std::string Oem(std::string_view utf8) {
    const auto utf16 = platform::CodePageToUtf16(kUtf8CodePage, utf8);
    if (!utf16) throw std::runtime_error("UTF-8 cannot be converted on this machine");
    std::string oem;
    for (const char16_t character : *utf16) {
        auto byte = ByteOf(character);
        if (!byte) byte = ByteOf(WithoutAccent(character));
        if (!byte)
            throw std::runtime_error("text has characters outside code page " +
                                     std::to_string(hostCodePage) + ": " + std::string(utf8));
        oem += *byte;
    }
    return oem;
}

std::string Left(std::string_view utf8, std::size_t width) {
    return Fit(Oem(utf8), width, Align::Left);
}
std::string Right(std::string_view utf8, std::size_t width) {
    return Fit(Oem(utf8), width, Align::Right);
}
std::string Centre(std::string_view utf8, std::size_t width) {
    return Fit(Oem(utf8), width, Align::Centre);
}

std::string Repeat(std::string_view utf8Character, std::size_t count) {
    const std::string one = Oem(utf8Character);
    std::string out;
    for (std::size_t i = 0; i < count; ++i)
        out += one;
    return out;
}

std::string Money(long long hundredths) {
    return Fixed(hundredths, 100, 2);
}
std::string Quantity(long long thousandths) {
    return Fixed(thousandths, 1000, 3);
}
std::string Whole(long long value) {
    return value < 0 ? "-" + Grouped(0ULL - static_cast<unsigned long long>(value))
                     : Grouped(value);
}

BoxTable::BoxTable(std::vector<Column> columns) : columns_(std::move(columns)) {}

std::string BoxTable::Rule(std::string_view left, std::string_view middle,
                           std::string_view right) const {
    std::string line = Oem(left);
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (i > 0) line += Oem(middle);
        line += Repeat("─", columns_[i].width + 2);
    }
    return line + Oem(right);
}

std::string BoxTable::Top() const {
    return Rule("┌", "┬", "┐");
}
std::string BoxTable::Separator() const {
    return Rule("├", "┼", "┤");
}
std::string BoxTable::Bottom() const {
    return Rule("└", "┴", "┘");
}

std::string BoxTable::Row(const std::vector<std::string>& cells) const {
    const std::string bar = Oem("│");
    std::string line = bar;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        const std::string cell = i < cells.size() ? cells[i] : std::string();
        const std::string text = Oem(cell);
        // A cut value would print a wrong figure without anyone noticing.
        if (text.size() > columns_[i].width)
            throw std::length_error("value wider than its column: " + cell);
        line += ' ' + Fit(text, columns_[i].width, columns_[i].align) + ' ' + bar;
    }
    return line;
}

std::size_t BoxTable::Width() const {
    std::size_t width = 1;
    for (const Column& column : columns_)
        width += column.width + 3;
    return width;
}

std::vector<std::string> DoubleFrame(const std::vector<std::string>& utf8Lines, std::size_t width) {
    std::vector<std::string> lines;
    lines.push_back(Oem("╔") + Repeat("═", width - 2) + Oem("╗"));
    for (const std::string& text : utf8Lines)
        lines.push_back(Oem("║") + Centre(text, width - 2) + Oem("║"));
    lines.push_back(Oem("╚") + Repeat("═", width - 2) + Oem("╝"));
    return lines;
}

} // namespace demohost
