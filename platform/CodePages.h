#pragma once
// The machine's code pages and every conversion between them. Text in the core
// stays as bytes; it becomes Unicode only at the screen, printer and clipboard.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The machine's ANSI and OEM code pages, as the user's locale assigns them.
int AnsiCodePage();
int OemCodePage();

// Overrides both code pages for the rest of the process (tests, dbfdump --ansi/--oem).
void SetMachineCodePages(int ansi, int oem);

// The ANSI and OEM code pages the original operating system gives a locale such
// as "sk_SK.UTF-8"; a C or POSIX locale gets 1252 and 437.
struct CodePagePair {
    int ansi;
    int oem;
};
CodePagePair CodePagesForLocale(std::string_view localeName);

// Code pages this machine can convert, in ascending order.
const std::vector<int>& InstalledCodePages();
bool IsCodePageInstalled(int codePage);

// What a setting of the machine's code page is for: catalog texts (ANSI) or
// print files (OEM).
enum class CodePageRole { Ansi, Oem };
// Whether the setting can name the code page: it converts, keeps ASCII letters
// and digits at their bytes (the EBCDIC pages do not), and as the OEM page has
// one byte per character, since the preview shows one byte per cell. A table's
// own code page needs none of this, only to convert.
bool IsUsableCodePage(int codePage, CodePageRole role);

// Byte-for-byte conversions between the machine's OEM and ANSI code pages; a
// character the target lacks becomes its nearest fit or '?'. The length is kept.
std::string OemToAnsi(std::string_view oem);
std::string AnsiToOem(std::string_view ansi);

// Code page <-> UTF-16, for texts of any length. nullopt when the code page
// cannot be converted. The DOS code pages read as the PC's own tables: ASCII
// and the control bytes stay themselves, 0xAA of 852 is the not sign.
std::optional<std::u16string> CodePageToUtf16(int codePage, std::string_view bytes);
// A character the code page lacks becomes its best-fit look-alike or '?',
// never a control byte.
std::optional<std::string> Utf16ToCodePage(int codePage, std::u16string_view text);

// The 256 characters of a single-byte code page, for converting long texts
// without a copy between; nullptr for a multi-byte or unknown code page.
const char16_t* SingleByteTable(int codePage);

// ANSI bytes (catalog texts) as UTF-16 and UTF-8, e.g. for file names and titles.
std::u16string AnsiToUtf16(std::string_view ansi);
std::string AnsiToUtf8(std::string_view ansi);
std::string Utf16ToUtf8(std::u16string_view text);

// ANSI bytes upper-cased by the ANSI code page's letter rules (0xE1 becomes 0xC1 in 1250);
// the length is kept. A letter whose capital the code page lacks (µ, ß) stays as it is.
std::string AnsiUpperCase(std::string_view ansi);

// Bytes of a print file as the PC's OEM font shows them: one UTF-16 unit per
// byte, with 0x01-0x1F and 0x7F as their glyphs (smileys, card suits, the
// form feed as the female sign, the house for 0x7F). NUL shows as a blank.
std::u16string OemToDisplay(std::string_view oem);
// The table behind OemToDisplay, for painting code that converts row by row.
const char16_t* OemDisplayTable();

} // namespace platform
