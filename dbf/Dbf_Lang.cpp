#include "dbf/Dbf_Lang.h"

#include "platform/CodePages.h"

#include <algorithm>
#include <array>

namespace dbf {
namespace {

struct DriverCodePage {
    int codePage;
    std::initializer_list<std::uint8_t> drivers;
};

std::array<std::uint16_t, 256> BuildDriverTable() {
    const DriverCodePage rows[] = {
        {437, {0x01, 0x09, 0x0B, 0x0D, 0x0F, 0x11, 0x15, 0x18, 0x19, 0x1B, 0x5E, 0x5F, 0x86}},
        {620, {0x69}},
        {737, {0x6A}},
        {850, {0x02, 0x0A, 0x0C, 0x0E, 0x10, 0x12, 0x14, 0x16, 0x1A, 0x1D, 0x25, 0x37, 0x60, 0x9C}},
        {852, {0x1F, 0x22, 0x23, 0x64, 0x87}},
        {857, {0x6B, 0x88}},
        {860, {0x24}},
        {861, {0x67}},
        {862, {0x85}},
        {863, {0x1C}},
        {865, {0x08, 0x17, 0x66}},
        {866, {0x26, 0x65}},
        {867, {0x20}},
        {868, {0x8E}},
        {874, {0x50, 0x7C}},
        {895, {0x68}},
        {932, {0x13, 0x56, 0x7B}},
        {936, {0x4D, 0x7A}},
        {949, {0x4E, 0x79}},
        {950, {0x4F, 0x78}},
        {1250, {0x9B, 0xC8}},
        {1251, {0xC9}},
        {1252, {0x03, 0x57, 0x58, 0x59, 0x61, 0x62}},
        {1253, {0xCB}},
        {1254, {0xCA}},
        {1255, {0x7D}},
        {1256, {0x7E}},
        {10000, {0x04}},
        {10006, {0x98}},
        {10007, {0x96}},
        {10029, {0x97}},
    };
    std::array<std::uint16_t, 256> table{};
    for (const DriverCodePage& row : rows)
        for (std::uint8_t driver : row.drivers)
            table[driver] = static_cast<std::uint16_t>(row.codePage);
    return table;
}

// A whole decimal number made of the given characters only, or 0.
int WholeNumber(std::string_view digits) {
    if (digits.empty()) return 0;
    int value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

int LangIdToCodePage(std::uint8_t languageDriver) {
    static const std::array<std::uint16_t, 256> table = BuildDriverTable();
    return table[languageDriver];
}

int LangNameToCodePage(std::string_view name) {
    // The name is NUL-padded in the header; only the text before the padding counts.
    name = name.substr(0, name.find('\0'));
    auto at = [&](std::size_t pos, std::size_t len) {
        return pos < name.size() ? name.substr(pos, len) : std::string_view();
    };
    if (name.starts_with("DB")) {
        if (at(2, 3) == "WIN") return 1252;
        if (at(2, 6) == "HEBREW") return 1255;
        int codePage = WholeNumber(at(2, 3));
        if (name.size() >= 6 && name[5] >= '0' && name[5] <= '9')
            codePage = codePage * 10 + (name[5] - '0');
        return codePage;
    }
    if (name.starts_with("FOX")) {
        if (at(5, 3) == "WIN") return 1252;
        return WholeNumber(at(5, 3));
    }
    return 0;
}

bool CodePageSettings::IsInstalled(int codePage) const {
    return std::binary_search(installedCodePages.begin(), installedCodePages.end(), codePage);
}

namespace {

CodePageSettings MachineCodePageSettings() {
    CodePageSettings g;
    g.defaultOpenCodePage = platform::AnsiCodePage();
    g.installedCodePages = platform::InstalledCodePages();
    std::sort(g.installedCodePages.begin(), g.installedCodePages.end());
    return g;
}

CodePageSettings& Globals() {
    static CodePageSettings globals = MachineCodePageSettings();
    return globals;
}

} // namespace

const CodePageSettings& DbfGlobals() {
    return Globals();
}

void RetakeMachineCodePages() {
    Globals() = MachineCodePageSettings();
}

bool NeedsLanguageAction(int useCodePage) {
    return useCodePage != platform::AnsiCodePage() && useCodePage != platform::OemCodePage() &&
           !DbfGlobals().IsInstalled(useCodePage);
}

TextTranslation ChooseTranslationMode(int useCodePage, TDbfLanguageAction unavailableAction) {
    if (useCodePage == platform::AnsiCodePage()) return TextTranslation::Identity;
    if (useCodePage == platform::OemCodePage()) return TextTranslation::OemAnsi;
    if (DbfGlobals().IsInstalled(useCodePage)) return TextTranslation::CodePage;
    switch (unavailableAction) {
    case laForceOEM:
        return TextTranslation::OemAnsi;
    case laForceANSI:
        return TextTranslation::Identity;
    case laEditOnly:
        break;
    }
    return TextTranslation::Unavailable;
}

std::string TranslateToAnsi(std::string_view text, TextTranslation mode, int useCodePage) {
    const int ansi = platform::AnsiCodePage();
    switch (mode) {
    case TextTranslation::Identity:
        return std::string(text);
    case TextTranslation::OemAnsi:
        // Text in OEM mode is OEM text, also when a handler forced the mode for
        // a code page the machine cannot convert.
        return platform::OemToAnsi(text);
    case TextTranslation::Unavailable:
        // The code page is not installed, so the text has nothing to go through,
        // also where a converter for the number happens to exist.
        return std::string(text);
    case TextTranslation::CodePage:
        break;
    }
    if (useCodePage == ansi) return std::string(text);
    auto wide = platform::CodePageToUtf16(useCodePage, text);
    if (!wide) return std::string(text);
    auto narrow = platform::Utf16ToCodePage(ansi, *wide);
    if (!narrow) return std::string(text);
    if (narrow->size() > text.size()) narrow->resize(text.size());
    return *narrow;
}

} // namespace dbf
