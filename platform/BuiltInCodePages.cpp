#include "platform/BuiltInCodePages.h"

#include <algorithm>
#include <array>

namespace platform {
namespace {

// Bytes 0xB0-0xFF are the PC's own in both pages: box drawing, blocks, Greek
// and mathematical signs, as code page 437 has them.
constexpr std::array<char16_t, 80> kPcGraphics{
    // B0: ░ ▒ ▓ │ ┤ ╡ ╢ ╖
    u'\u2591',
    u'\u2592',
    u'\u2593',
    u'\u2502',
    u'\u2524',
    u'\u2561',
    u'\u2562',
    u'\u2556',
    // B8: ╕ ╣ ║ ╗ ╝ ╜ ╛ ┐
    u'\u2555',
    u'\u2563',
    u'\u2551',
    u'\u2557',
    u'\u255D',
    u'\u255C',
    u'\u255B',
    u'\u2510',
    // C0: └ ┴ ┬ ├ ─ ┼ ╞ ╟
    u'\u2514',
    u'\u2534',
    u'\u252C',
    u'\u251C',
    u'\u2500',
    u'\u253C',
    u'\u255E',
    u'\u255F',
    // C8: ╚ ╔ ╩ ╦ ╠ ═ ╬ ╧
    u'\u255A',
    u'\u2554',
    u'\u2569',
    u'\u2566',
    u'\u2560',
    u'\u2550',
    u'\u256C',
    u'\u2567',
    // D0: ╨ ╤ ╥ ╙ ╘ ╒ ╓ ╫
    u'\u2568',
    u'\u2564',
    u'\u2565',
    u'\u2559',
    u'\u2558',
    u'\u2552',
    u'\u2553',
    u'\u256B',
    // D8: ╪ ┘ ┌ █ ▄ ▌ ▐ ▀
    u'\u256A',
    u'\u2518',
    u'\u250C',
    u'\u2588',
    u'\u2584',
    u'\u258C',
    u'\u2590',
    u'\u2580',
    // E0: α ß Γ π Σ σ µ τ
    u'\u03B1',
    u'\u00DF',
    u'\u0393',
    u'\u03C0',
    u'\u03A3',
    u'\u03C3',
    u'\u00B5',
    u'\u03C4',
    // E8: Φ Θ Ω δ ∞ φ ε ∩
    u'\u03A6',
    u'\u0398',
    u'\u03A9',
    u'\u03B4',
    u'\u221E',
    u'\u03C6',
    u'\u03B5',
    u'\u2229',
    // F0: ≡ ± ≥ ≤ ⌠ ⌡ ÷ ≈
    u'\u2261',
    u'\u00B1',
    u'\u2265',
    u'\u2264',
    u'\u2320',
    u'\u2321',
    u'\u00F7',
    u'\u2248',
    // F8: ° ∙ · √ ⁿ ² ■ (no-break space)
    u'\u00B0',
    u'\u2219',
    u'\u00B7',
    u'\u221A',
    u'\u207F',
    u'\u00B2',
    u'\u25A0',
    u'\u00A0',
};

// Kamenický (KEYBCS2): the Czech and Slovak letters where 437 has its accented Latin.
constexpr std::array<char16_t, 48> kKamenickyLetters{
    // 80: Č ü é ď ä Ď Ť č
    u'\u010C',
    u'\u00FC',
    u'\u00E9',
    u'\u010F',
    u'\u00E4',
    u'\u010E',
    u'\u0164',
    u'\u010D',
    // 88: ě Ě Ĺ Í ľ ĺ Ä Á
    u'\u011B',
    u'\u011A',
    u'\u0139',
    u'\u00CD',
    u'\u013E',
    u'\u013A',
    u'\u00C4',
    u'\u00C1',
    // 90: É ž Ž ô ö Ó ů Ú
    u'\u00C9',
    u'\u017E',
    u'\u017D',
    u'\u00F4',
    u'\u00F6',
    u'\u00D3',
    u'\u016F',
    u'\u00DA',
    // 98: ý Ö Ü Š Ľ Ý Ř ť
    u'\u00FD',
    u'\u00D6',
    u'\u00DC',
    u'\u0160',
    u'\u013D',
    u'\u00DD',
    u'\u0158',
    u'\u0165',
    // A0: á í ó ú ň Ň Ů Ô
    u'\u00E1',
    u'\u00ED',
    u'\u00F3',
    u'\u00FA',
    u'\u0148',
    u'\u0147',
    u'\u016E',
    u'\u00D4',
    // A8: š ř ŕ Ŕ ¼ § « »
    u'\u0161',
    u'\u0159',
    u'\u0155',
    u'\u0154',
    u'\u00BC',
    u'\u00A7',
    u'\u00AB',
    u'\u00BB',
};

// Mazovia: 437 with the Polish letters in place of some of its accented Latin.
constexpr std::array<char16_t, 48> kMazoviaLetters{
    // 80: Ç ü é â ä à ą ç
    u'\u00C7',
    u'\u00FC',
    u'\u00E9',
    u'\u00E2',
    u'\u00E4',
    u'\u00E0',
    u'\u0105',
    u'\u00E7',
    // 88: ê ë è ï î ć Ä Ą
    u'\u00EA',
    u'\u00EB',
    u'\u00E8',
    u'\u00EF',
    u'\u00EE',
    u'\u0107',
    u'\u00C4',
    u'\u0104',
    // 90: Ę ę ł ô ö Ć û ù
    u'\u0118',
    u'\u0119',
    u'\u0142',
    u'\u00F4',
    u'\u00F6',
    u'\u0106',
    u'\u00FB',
    u'\u00F9',
    // 98: Ś Ö Ü ¢ Ł ¥ ś ƒ
    u'\u015A',
    u'\u00D6',
    u'\u00DC',
    u'\u00A2',
    u'\u0141',
    u'\u00A5',
    u'\u015B',
    u'\u0192',
    // A0: Ź Ż ó Ó ń Ń ź ż
    u'\u0179',
    u'\u017B',
    u'\u00F3',
    u'\u00D3',
    u'\u0144',
    u'\u0143',
    u'\u017A',
    u'\u017C',
    // A8: ¿ ⌐ ¬ ½ ¼ ¡ « »
    u'\u00BF',
    u'\u2310',
    u'\u00AC',
    u'\u00BD',
    u'\u00BC',
    u'\u00A1',
    u'\u00AB',
    u'\u00BB',
};

using UpperHalf = std::array<char16_t, 128>;

constexpr UpperHalf Joined(const std::array<char16_t, 48>& letters) {
    UpperHalf half{};
    std::copy(letters.begin(), letters.end(), half.begin());
    std::copy(kPcGraphics.begin(), kPcGraphics.end(), half.begin() + letters.size());
    return half;
}

constexpr UpperHalf kKamenicky = Joined(kKamenickyLetters);
constexpr UpperHalf kMazovia = Joined(kMazoviaLetters);

constexpr int kKamenickyNumber = 895;
constexpr int kMazoviaNumber = 620;

} // namespace

const char16_t* BuiltInUpperHalf(int codePage) {
    switch (ListedCodePageNumber(codePage)) {
    case kKamenickyNumber:
        return kKamenicky.data();
    case kMazoviaNumber:
        return kMazovia.data();
    default:
        return nullptr;
    }
}

const std::vector<int>& BuiltInCodePageNumbers() {
    static const std::vector<int> numbers{620, 667, 790, 867, 895, 991};
    return numbers;
}

int ListedCodePageNumber(int codePage) {
    switch (codePage) {
    case 867:
        return kKamenickyNumber;
    case 667:
    case 790:
    case 991:
        return kMazoviaNumber;
    default:
        return codePage;
    }
}

} // namespace platform
