#include "platform/TextCase.h"

#include "platform/Locale.h"

#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

#include <algorithm>

namespace platform {

std::u16string ComposedText(std::u16string_view text) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    const icu::UnicodeString source(false, text.data(), static_cast<int32_t>(text.size()));
    if (U_FAILURE(status) || nfc == nullptr) return std::u16string(text);
    const icu::UnicodeString composed = nfc->normalize(source, status);
    if (U_FAILURE(status)) return std::u16string(text);
    return std::u16string(composed.getBuffer(), static_cast<std::size_t>(composed.length()));
}

std::u16string CaseBlindKey(char16_t c) {
    const icu::Locale locale(UserLocale().c_str());
    icu::UnicodeString upper(c);
    upper.toUpper(locale);
    // Upper case first, then lower, so that both forms of a letter meet (the
    // Turkish dotted and dotless i, the Greek final sigma); a letter whose upper
    // case is two letters (German sharp s) keeps its own lower case.
    icu::UnicodeString key = upper.length() == 1 ? upper : icu::UnicodeString(c);
    key.toLower(locale);
    return std::u16string(key.getBuffer(), static_cast<std::size_t>(key.length()));
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    const auto capital = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return capital(x) == capital(y);
           });
}

} // namespace platform
