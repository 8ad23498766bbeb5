#include "platform/CodePages.h"

#include "platform/BuiltInCodePages.h"
#include "platform/Locale.h"

#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace platform {
namespace {

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// Like the original system's best-fit conversion: the nearest character where one
// exists, else '?'. ICU's own substitute, 0x1A, is a control byte nobody sees.
Converter Prepared(UConverter* c) {
    ucnv_setFallback(c, true);
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setSubstChars(c, "?", 1, &status);
    return Converter(c);
}

// ICU knows the Windows code pages under several alias families.
Converter OpenConverter(int codePage) {
    if (codePage <= 0) return nullptr;
    const std::array<const char*, 4> patterns{"windows-%d", "ibm-%d", "cp%d", "x-mac-%d"};
    for (const char* pattern : patterns) {
        char name[32];
        std::snprintf(name, sizeof name, pattern, codePage);
        UErrorCode status = U_ZERO_ERROR;
        UConverter* c = ucnv_open(name, &status);
        if (U_SUCCESS(status) && status != U_USING_DEFAULT_WARNING) return Prepared(c);
        if (c) ucnv_close(c);
    }
    if (codePage == 10000) {
        UErrorCode status = U_ZERO_ERROR;
        UConverter* c = ucnv_open("macintosh", &status);
        if (U_SUCCESS(status)) return Prepared(c);
    }
    return nullptr;
}

// One converter per code page and thread: a converter keeps state while it
// converts, and the search across print files reads catalogs beside the window.
UConverter* CachedConverter(int codePage) {
    thread_local std::map<int, Converter> cache;
    auto it = cache.find(codePage);
    if (it == cache.end()) it = cache.emplace(codePage, OpenConverter(codePage)).first;
    return it->second.get();
}

// A single-byte code page as tables. ICU's tables for the DOS code pages are
// IBM's, which swap 0x1A, 0x1C and 0x7F among the controls and leave 852's 0xAA
// empty; the PC keeps ASCII as it is and has the not sign there.
struct SingleBytePage {
    std::array<char16_t, 256> toUnicode{};
    // Per BMP character its byte: an exact byte, a best fit or '?' once asked
    // for, kUnknown before.
    std::vector<std::int16_t> fromUnicode;
    // False for the EBCDIC pages, whose low half is not ASCII.
    bool asciiBased = true;
};
constexpr std::int16_t kUnknown = -1;

// Where two bytes share a character, the lower one is written.
void FillFromUnicode(SingleBytePage& page) {
    page.fromUnicode.assign(0x10000, kUnknown);
    for (int b = 255; b >= 0; --b)
        if (page.toUnicode[b] != u'\uFFFD')
            page.fromUnicode[page.toUnicode[b]] = static_cast<std::int16_t>(b);
}

std::unique_ptr<SingleBytePage> BuiltInPage(const char16_t* upperHalf) {
    auto page = std::make_unique<SingleBytePage>();
    for (int b = 0; b < 0x80; ++b)
        page->toUnicode[b] = static_cast<char16_t>(b);
    std::copy(upperHalf, upperHalf + 0x80, page->toUnicode.begin() + 0x80);
    FillFromUnicode(*page);
    return page;
}

// Whether the converter reads ASCII letters, digits and the blank as ASCII; the
// EBCDIC pages do not.
bool KeepsAscii(UConverter* c) {
    static const std::string kAscii =
        " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    std::array<UChar, 128> out;
    UErrorCode status = U_ZERO_ERROR;
    ucnv_reset(c);
    const int32_t n = ucnv_toUChars(c, out.data(), static_cast<int32_t>(out.size()), kAscii.data(),
                                    static_cast<int32_t>(kAscii.size()), &status);
    return U_SUCCESS(status) &&
           std::equal(kAscii.begin(), kAscii.end(), out.begin(), out.begin() + n);
}

// The page as ICU converts it, or nullptr for a multi-byte or unknown page.
std::unique_ptr<SingleBytePage> IcuPage(int codePage) {
    UConverter* c = CachedConverter(codePage);
    if (!c || ucnv_getMaxCharSize(c) != 1) return nullptr;
    auto page = std::make_unique<SingleBytePage>();
    page->asciiBased = KeepsAscii(c);
    for (int b = 0; b < 256; ++b) {
        char16_t u = static_cast<char16_t>(b);
        if (b >= 0x80 || !page->asciiBased) {
            const char byte = static_cast<char>(b);
            UChar out[2];
            UErrorCode status = U_ZERO_ERROR;
            ucnv_reset(c);
            const int32_t n = ucnv_toUChars(c, out, 2, &byte, 1, &status);
            u = U_SUCCESS(status) && n == 1 ? out[0] : u'\uFFFD';
        }
        page->toUnicode[b] = u;
    }
    if (codePage == 852) page->toUnicode[0xAA] = u'\u00AC';
    FillFromUnicode(*page);
    return page;
}

// Per thread, since a table is filled in as characters are asked for.
SingleBytePage* SingleByte(int codePage) {
    thread_local std::map<int, std::unique_ptr<SingleBytePage>> pages;
    auto it = pages.find(codePage);
    if (it != pages.end()) return it->second.get();
    // The built-in tables come first: ICU knows 867 as a Hebrew page, which the
    // language drivers' 867 is not.
    const char16_t* upperHalf = BuiltInUpperHalf(codePage);
    std::unique_ptr<SingleBytePage> page = upperHalf ? BuiltInPage(upperHalf) : IcuPage(codePage);
    return pages.emplace(codePage, std::move(page)).first->second.get();
}

// The built-in pages share 437's ASCII and its graphics half, so 437's best fit
// serves them wherever its byte means the same in both pages.
constexpr int kBuiltInBestFitPage = 437;

// The byte for a character the page has no exact byte for: ICU's best fit when
// it is a visible character, else '?'.
char BestFit(int codePage, const SingleBytePage& page, char16_t u) {
    const bool builtIn = BuiltInUpperHalf(codePage) != nullptr;
    UConverter* c = CachedConverter(builtIn ? kBuiltInBestFitPage : codePage);
    if (!c) return '?';
    char out[4];
    UErrorCode status = U_ZERO_ERROR;
    ucnv_reset(c);
    const int32_t n =
        ucnv_fromUChars(c, out, sizeof out, reinterpret_cast<const UChar*>(&u), 1, &status);
    const auto byte = static_cast<unsigned char>(out[0]);
    if (U_FAILURE(status) || n != 1 || byte < 0x20 || byte == 0x7F) return '?';
    if (builtIn) {
        const SingleBytePage* pc = SingleByte(kBuiltInBestFitPage);
        if (!pc || pc->toUnicode[byte] != page.toUnicode[byte]) return '?';
    }
    return out[0];
}

char SingleByteFor(int codePage, SingleBytePage& page, char16_t u) {
    std::int16_t& known = page.fromUnicode[u];
    if (known == kUnknown)
        known = U16_IS_SURROGATE(u) ? '?' : static_cast<unsigned char>(BestFit(codePage, page, u));
    return static_cast<char>(known);
}

// ICU takes at most 2^31 bytes or characters per call; longer texts go in pieces.
constexpr std::size_t kPiece = std::size_t(1) << 20;

std::optional<std::u16string> MultiByteToUtf16(UConverter* c, std::string_view bytes) {
    ucnv_reset(c);
    std::u16string out;
    out.reserve(bytes.size());
    std::array<UChar, 16384> buffer;
    const char* source = bytes.data();
    const char* const end = source + bytes.size();
    while (true) {
        const char* const limit = end - source > std::ptrdiff_t(kPiece) ? source + kPiece : end;
        UChar* target = buffer.data();
        UErrorCode status = U_ZERO_ERROR;
        ucnv_toUnicode(c, &target, buffer.data() + buffer.size(), &source, limit, nullptr,
                       limit == end, &status);
        out.append(reinterpret_cast<const char16_t*>(buffer.data()),
                   static_cast<std::size_t>(target - buffer.data()));
        if (status == U_BUFFER_OVERFLOW_ERROR) continue;
        if (U_FAILURE(status)) return std::nullopt;
        if (limit == end && source == end) return out;
    }
}

std::optional<std::string> Utf16ToMultiByte(UConverter* c, std::u16string_view text) {
    ucnv_reset(c);
    std::string out;
    out.reserve(text.size());
    std::array<char, 32768> buffer;
    const UChar* source = reinterpret_cast<const UChar*>(text.data());
    const UChar* const end = source + text.size();
    while (true) {
        const UChar* const limit = end - source > std::ptrdiff_t(kPiece) ? source + kPiece : end;
        char* target = buffer.data();
        UErrorCode status = U_ZERO_ERROR;
        ucnv_fromUnicode(c, &target, buffer.data() + buffer.size(), &source, limit, nullptr,
                         limit == end, &status);
        out.append(buffer.data(), static_cast<std::size_t>(target - buffer.data()));
        if (status == U_BUFFER_OVERFLOW_ERROR) continue;
        if (U_FAILURE(status)) return std::nullopt;
        if (limit == end && source == end) return out;
    }
}

struct MachinePages {
    CodePagePair pages;
    bool overridden = false;
};

MachinePages& Machine() {
    static MachinePages machine{CodePagesForLocale(UserLocale()), false};
    return machine;
}

// Single-byte maps between two code pages, built once per pair.
const std::array<char, 256>& ByteMap(int from, int to) {
    thread_local std::map<std::pair<int, int>, std::array<char, 256>> maps;
    auto key = std::make_pair(from, to);
    auto it = maps.find(key);
    if (it != maps.end()) return it->second;
    std::array<char, 256> map{};
    for (int b = 0; b < 256; ++b) {
        map[b] = static_cast<char>(b);
        if (b < 0x80 || from == to) continue;
        char byte = static_cast<char>(b);
        auto wide = CodePageToUtf16(from, std::string_view(&byte, 1));
        if (!wide || wide->size() != 1) {
            map[b] = '?';
            continue;
        }
        auto narrow = Utf16ToCodePage(to, *wide);
        map[b] = narrow && narrow->size() == 1 ? (*narrow)[0] : '?';
    }
    return maps.emplace(key, map).first->second;
}

std::string MapBytes(std::string_view text, int from, int to) {
    const auto& map = ByteMap(from, to);
    std::string out(text);
    for (char& c : out)
        c = map[static_cast<unsigned char>(c)];
    return out;
}

} // namespace

CodePagePair CodePagesForLocale(std::string_view localeName) {
    std::string name(localeName.substr(0, localeName.find_first_of(".@")));
    std::string language = name.substr(0, name.find_first_of("_-"));
    std::string country = name.size() > language.size() ? name.substr(language.size() + 1) : "";
    // UserLocale names a C or POSIX locale "en_US_POSIX", which splits like a country.
    if (language.empty() || language == "C" || language == "POSIX" || name == "en_US_POSIX")
        return {1252, 437};
    static const std::map<std::string, CodePagePair> byLanguage{
        {"sk", {1250, 852}}, {"cs", {1250, 852}},  {"pl", {1250, 852}}, {"hu", {1250, 852}},
        {"sl", {1250, 852}}, {"hr", {1250, 852}},  {"ro", {1250, 852}}, {"sq", {1250, 852}},
        {"bs", {1250, 852}}, {"ru", {1251, 866}},  {"uk", {1251, 866}}, {"be", {1251, 866}},
        {"bg", {1251, 866}}, {"mk", {1251, 866}},  {"sr", {1251, 855}}, {"el", {1253, 737}},
        {"tr", {1254, 857}}, {"az", {1254, 857}},  {"he", {1255, 862}}, {"ar", {1256, 720}},
        {"fa", {1256, 720}}, {"ur", {1256, 720}},  {"et", {1257, 775}}, {"lv", {1257, 775}},
        {"lt", {1257, 775}}, {"vi", {1258, 1258}}, {"th", {874, 874}},  {"ja", {932, 932}},
        {"ko", {949, 949}},  {"is", {1252, 861}},  {"pt", {1252, 850}}, {"fr", {1252, 850}},
    };
    if (language == "zh")
        return country == "TW" || country == "HK" ? CodePagePair{950, 950} : CodePagePair{936, 936};
    if (language == "en")
        return country == "US" || country.empty() ? CodePagePair{1252, 437}
                                                  : CodePagePair{1252, 850};
    if (language == "pt" && country == "PT") return {1252, 860};
    if (language == "fr" && country == "CA") return {1252, 863};
    if (auto it = byLanguage.find(language); it != byLanguage.end()) return it->second;
    return {1252, 850};
}

int AnsiCodePage() {
    return Machine().pages.ansi;
}
int OemCodePage() {
    return Machine().pages.oem;
}

void SetMachineCodePages(int ansi, int oem) {
    Machine() = {{ansi, oem}, true};
}

const std::vector<int>& InstalledCodePages() {
    static const std::vector<int> installed = [] {
        // The code pages a Windows machine may list; ICU decides which of them convert.
        const int candidates[] = {
            37,    437,   500,   708,   720,   737,   775,   850,   852,   855,   857,
            858,   860,   861,   862,   863,   864,   865,   866,   869,   870,   874,
            875,   932,   936,   949,   950,   1026,  1047,  1140,  1141,  1142,  1143,
            1144,  1145,  1146,  1147,  1148,  1149,  1250,  1251,  1252,  1253,  1254,
            1255,  1256,  1257,  1258,  1361,  10000, 10001, 10004, 10005, 10006, 10007,
            10021, 10029, 10079, 10081, 10082, 20127, 20866, 21866, 28591, 28592, 28593,
            28594, 28595, 28596, 28597, 28598, 28599, 28603, 28605};
        std::vector<int> found = BuiltInCodePageNumbers();
        for (int cp : candidates)
            if (OpenConverter(cp)) found.push_back(cp);
        std::sort(found.begin(), found.end());
        return found;
    }();
    return installed;
}

bool IsCodePageInstalled(int codePage) {
    const auto& installed = InstalledCodePages();
    return std::binary_search(installed.begin(), installed.end(), codePage);
}

bool IsUsableCodePage(int codePage, CodePageRole role) {
    if (!IsCodePageInstalled(codePage)) return false;
    if (BuiltInUpperHalf(codePage) != nullptr) return true;
    // Asked of the converter alone: a list of every page would otherwise build,
    // and keep, each page's conversion tables.
    UConverter* c = CachedConverter(codePage);
    if (!c || !KeepsAscii(c)) return false;
    return role == CodePageRole::Ansi || ucnv_getMaxCharSize(c) == 1;
}

std::string OemToAnsi(std::string_view oem) {
    return MapBytes(oem, OemCodePage(), AnsiCodePage());
}
std::string AnsiToOem(std::string_view ansi) {
    return MapBytes(ansi, AnsiCodePage(), OemCodePage());
}

const char16_t* SingleByteTable(int codePage) {
    const SingleBytePage* page = SingleByte(codePage);
    return page ? page->toUnicode.data() : nullptr;
}

std::optional<std::u16string> CodePageToUtf16(int codePage, std::string_view bytes) {
    if (const SingleBytePage* page = SingleByte(codePage)) {
        std::u16string out(bytes.size(), u'\0');
        for (std::size_t i = 0; i < bytes.size(); ++i)
            out[i] = page->toUnicode[static_cast<unsigned char>(bytes[i])];
        return out;
    }
    UConverter* c = CachedConverter(codePage);
    if (!c) return std::nullopt;
    return MultiByteToUtf16(c, bytes);
}

std::optional<std::string> Utf16ToCodePage(int codePage, std::u16string_view text) {
    if (SingleBytePage* page = SingleByte(codePage)) {
        std::string out;
        out.reserve(text.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            // A character beyond the BMP is one character, and one '?'.
            if (U16_IS_LEAD(text[i]) && i + 1 < text.size() && U16_IS_TRAIL(text[i + 1])) ++i;
            out += SingleByteFor(codePage, *page, text[i]);
        }
        return out;
    }
    UConverter* c = CachedConverter(codePage);
    if (!c) return std::nullopt;
    return Utf16ToMultiByte(c, text);
}

std::string AnsiUpperCase(std::string_view ansi) {
    std::string out(ansi);
    SingleBytePage* page = SingleByte(AnsiCodePage());
    for (char& c : out) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 'a' && byte <= 'z') {
            c = static_cast<char>(byte - 'a' + 'A');
        } else if (byte >= 0x80 && page) {
            // A letter keeps its byte unless its capital is itself in the code page.
            const auto upper = static_cast<char16_t>(u_toupper(page->toUnicode[byte]));
            const std::int16_t capital = page->fromUnicode[upper];
            if (upper != page->toUnicode[byte] && capital >= 0 &&
                page->toUnicode[static_cast<unsigned char>(capital)] == upper)
                c = static_cast<char>(capital);
        }
    }
    return out;
}

std::u16string AnsiToUtf16(std::string_view ansi) {
    auto wide = CodePageToUtf16(AnsiCodePage(), ansi);
    if (wide) return *wide;
    return std::u16string(ansi.begin(), ansi.end()); // Latin-1 as a last resort
}

std::string Utf16ToUtf8(std::u16string_view text) {
    // ICU takes a length of 32 bits; longer text goes through in pieces that
    // never split a surrogate pair.
    constexpr std::size_t kPiece = std::size_t{1} << 30;
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        std::size_t length = std::min(text.size(), kPiece);
        if (length < text.size() && U16_IS_LEAD(text[length - 1])) --length;
        icu::UnicodeString(false, text.data(), static_cast<int32_t>(length)).toUTF8String(out);
        text.remove_prefix(length);
    }
    return out;
}

std::string AnsiToUtf8(std::string_view ansi) {
    return Utf16ToUtf8(AnsiToUtf16(ansi));
}

const char16_t* OemDisplayTable() {
    // Rebuilt when the OEM code page changes (tests switch it).
    static int builtFor = -1;
    static std::array<char16_t, 256> table{};
    if (builtFor == OemCodePage()) return table.data();
    static const char16_t controlGlyphs[32] = {
        u' ',      u'\u263A', u'\u263B', u'\u2665', u'\u2666', u'\u2663', u'\u2660', u'\u2022',
        u'\u25D8', u'\u25CB', u'\u25D9', u'\u2642', u'\u2640', u'\u266A', u'\u266B', u'\u263C',
        u'\u25BA', u'\u25C4', u'\u2195', u'\u203C', u'\u00B6', u'\u00A7', u'\u25AC', u'\u21A8',
        u'\u2191', u'\u2193', u'\u2192', u'\u2190', u'\u221F', u'\u2194', u'\u25B2', u'\u25BC'};
    for (int b = 0; b < 256; ++b) {
        if (b < 0x20) {
            table[b] = controlGlyphs[b];
        } else if (b == 0x7F) {
            table[b] = u'\u2302';
        } else if (b < 0x80) {
            table[b] = static_cast<char16_t>(b);
        } else {
            char byte = static_cast<char>(b);
            auto wide = CodePageToUtf16(OemCodePage(), std::string_view(&byte, 1));
            table[b] = wide && wide->size() == 1 ? (*wide)[0] : u'\uFFFD';
        }
    }
    builtFor = OemCodePage();
    return table.data();
}

std::u16string OemToDisplay(std::string_view oem) {
    const char16_t* table = OemDisplayTable();
    std::u16string out(oem.size(), u' ');
    for (size_t i = 0; i < oem.size(); ++i)
        out[i] = table[static_cast<unsigned char>(oem[i])];
    return out;
}

} // namespace platform
