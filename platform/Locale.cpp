#include "platform/Locale.h"

#include "platform/CodePages.h"

#include <unicode/coll.h>
#include <unicode/datefmt.h>
#include <unicode/decimfmt.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <chrono>
#include <clocale>
#include <cstdlib>
#include <ctime>
#include <langinfo.h>
#include <locale.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {
namespace {

std::string LocaleFromEnvironment() {
    for (const char* variable : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) {
            std::string name(value);
            name = name.substr(0, name.find_first_of(".@"));
            if (name == "C" || name == "POSIX") return "en_US_POSIX";
            return name;
        }
    }
    return "en_US_POSIX";
}

std::optional<std::string>& LocaleOverride() {
    static std::optional<std::string> name;
    return name;
}

std::string TimeLocaleFromEnvironment() {
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return value;
    }
    return "C";
}

// The C library's locale for dates, opened once per name; null when the system
// has not got it. A name without a character set is tried in UTF-8 first.
locale_t DateLocale(const std::string& name) {
    // Per thread, as every cache here: catalogs are also read beside the window.
    struct Opened {
        std::string name;
        locale_t locale = nullptr;
        ~Opened() {
            if (locale) freelocale(locale);
        }
    };
    thread_local Opened cached;
    std::string& openedFor = cached.name;
    locale_t& opened = cached.locale;
    if (opened && openedFor == name) return opened;
    if (opened) freelocale(opened);
    opened = nullptr;
    openedFor = name;
    std::vector<std::string> candidates;
    if (name == "en_US_POSIX" || name == "POSIX") candidates.push_back("C");
    if (name.find('.') == std::string::npos) {
        const std::size_t at = name.find('@');
        const std::string base = name.substr(0, at);
        const std::string modifier = at == std::string::npos ? "" : name.substr(at);
        candidates.push_back(base + ".UTF-8" + modifier);
        candidates.push_back(base + ".utf8" + modifier);
    }
    candidates.push_back(name);
    for (const std::string& candidate : candidates) {
        opened = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, candidate.c_str(), nullptr);
        if (opened) break;
    }
    return opened;
}

std::optional<std::u16string> SystemShortDate(int year, int month, int day) {
    locale_t locale = DateLocale(TimeLocale());
    if (!locale) return std::nullopt;
    std::tm when{};
    when.tm_year = year - 1900;
    when.tm_mon = month - 1;
    when.tm_mday = day;
    const std::chrono::year_month_day date{std::chrono::year{year},
                                           std::chrono::month{static_cast<unsigned>(month)},
                                           std::chrono::day{static_cast<unsigned>(day)}};
    const std::chrono::sys_days days{date};
    when.tm_wday = static_cast<int>(std::chrono::weekday{days}.c_encoding());
    when.tm_yday = static_cast<int>(
        (days - std::chrono::sys_days{date.year() / std::chrono::January / 1}).count());
    char text[128];
    const std::size_t length = strftime_l(text, sizeof text, "%x", &when, locale);
    if (length == 0) return std::nullopt;
    const icu::UnicodeString unicode(text, static_cast<int32_t>(length),
                                     nl_langinfo_l(CODESET, locale));
    return std::u16string(reinterpret_cast<const char16_t*>(unicode.getBuffer()),
                          static_cast<std::size_t>(unicode.length()));
}

std::u16string IcuShortDate(int year, int month, int day) {
    UErrorCode status = U_ZERO_ERROR;
    std::string name = TimeLocale();
    name = name.substr(0, name.find_first_of(".@"));
    if (name == "C" || name == "POSIX") name = "en_US_POSIX";
    icu::Locale locale(name.c_str());
    std::unique_ptr<icu::DateFormat> format(
        icu::DateFormat::createDateInstance(icu::DateFormat::kShort, locale));
    // Proleptic Gregorian in UTC, so old dates and time zones never shift the day.
    auto calendar = std::make_unique<icu::GregorianCalendar>(*icu::TimeZone::getGMT(), status);
    if (!format || U_FAILURE(status)) return {};
    calendar->setGregorianChange(-8.64e15, status);
    calendar->clear();
    calendar->set(year, month - 1, day);
    UDate when = calendar->getTime(status);
    format->setCalendar(*calendar);
    icu::UnicodeString text;
    format->format(when, text);
    return std::u16string(reinterpret_cast<const char16_t*>(text.getBuffer()),
                          static_cast<std::size_t>(text.length()));
}

struct Collators {
    std::string locale;
    std::unique_ptr<icu::Collator> caseSensitive;
    std::unique_ptr<icu::Collator> ignoreCase;
};

// Made once per locale, so every comparison of a run uses the same order.
Collators& CurrentCollators() {
    thread_local Collators collators;
    std::string locale = UserLocale();
    if (collators.locale == locale && collators.caseSensitive) return collators;
    collators = Collators{locale, nullptr, nullptr};
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale icuLocale(locale.c_str());
    std::unique_ptr<icu::Collator> sensitive(icu::Collator::createInstance(icuLocale, status));
    if (U_FAILURE(status) || !sensitive) return collators;
    sensitive->setStrength(icu::Collator::TERTIARY);
    std::unique_ptr<icu::Collator> insensitive(sensitive->clone());
    insensitive->setStrength(icu::Collator::SECONDARY);
    collators.caseSensitive = std::move(sensitive);
    collators.ignoreCase = std::move(insensitive);
    return collators;
}

icu::UnicodeString FromAnsi(std::string_view ansi) {
    std::u16string wide = AnsiToUtf16(ansi);
    return icu::UnicodeString(reinterpret_cast<const UChar*>(wide.data()),
                              static_cast<int32_t>(wide.size()));
}

int Compare(icu::Collator* collator, std::string_view a, std::string_view b) {
    if (!collator) return a < b ? -1 : (a > b ? 1 : 0);
    UErrorCode status = U_ZERO_ERROR;
    UCollationResult r = collator->compare(FromAnsi(a), FromAnsi(b), status);
    return r == UCOL_LESS ? -1 : (r == UCOL_GREATER ? 1 : 0);
}

} // namespace

std::string UserLocale() {
    if (LocaleOverride()) return *LocaleOverride();
    // The environment is read once: the program never changes it, and collation
    // asks for the locale for every key it makes.
    static const std::string fromEnvironment = LocaleFromEnvironment();
    return fromEnvironment;
}

void SetUserLocale(std::string_view localeName) {
    if (localeName.empty())
        LocaleOverride().reset();
    else
        LocaleOverride() = std::string(localeName);
}

std::string TimeLocale() {
    return LocaleOverride().value_or(TimeLocaleFromEnvironment());
}

int CompareTextCaseSensitive(std::string_view a, std::string_view b) {
    return Compare(CurrentCollators().caseSensitive.get(), a, b);
}

int CompareTextIgnoreCase(std::string_view a, std::string_view b) {
    return Compare(CurrentCollators().ignoreCase.get(), a, b);
}

std::string CollationKey(std::string_view ansi) {
    std::string key;
    AppendCollationKey(key, ansi);
    return key;
}

void AppendCollationKey(std::string& key, std::string_view ansi) {
    icu::Collator* collator = CurrentCollators().caseSensitive.get();
    if (!collator) {
        key.append(ansi);
        return;
    }
    const icu::UnicodeString text = FromAnsi(ansi);
    uint8_t stack[256];
    int32_t length = collator->getSortKey(text, stack, sizeof stack);
    if (length <= 0) return;
    // The key ends in a zero byte that the comparisons do not need.
    if (length <= static_cast<int32_t>(sizeof stack)) {
        key.append(reinterpret_cast<const char*>(stack), static_cast<size_t>(length - 1));
        return;
    }
    const std::size_t start = key.size();
    key.resize(start + static_cast<size_t>(length));
    collator->getSortKey(text, reinterpret_cast<uint8_t*>(key.data() + start), length);
    key.resize(start + static_cast<size_t>(length - 1));
}

bool CollationAvailable() {
    return CurrentCollators().caseSensitive != nullptr;
}

std::string ShortDateText(int year, int month, int day) {
    std::u16string wide =
        SystemShortDate(year, month, day).value_or(IcuShortDate(year, month, day));
    // Some formats hold no-break spaces; the ANSI code pages want a blank.
    for (char16_t& c : wide)
        if (c == u'\u202F' || c == u'\u00A0') c = u' ';
    return Utf16ToCodePage(AnsiCodePage(), wide).value_or(std::string());
}

char DecimalSeparator() {
    // Asked once per numeric value by the table reader: looked up once per locale.
    thread_local std::string cachedLocale;
    thread_local char cached = '.';
    std::string locale = UserLocale();
    if (locale == cachedLocale) return cached;
    UErrorCode status = U_ZERO_ERROR;
    icu::DecimalFormatSymbols symbols(icu::Locale(locale.c_str()), status);
    char separator = '.';
    if (U_SUCCESS(status)) {
        icu::UnicodeString sep =
            symbols.getSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol);
        if (sep.length() == 1 && sep[0] < 0x80) separator = static_cast<char>(sep[0]);
    }
    cachedLocale = locale;
    cached = separator;
    return separator;
}

} // namespace platform
