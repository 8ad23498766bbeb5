#include "memtable/loxDisplay.h"

#include "platform/CodePages.h"
#include "platform/Locale.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

namespace memtable {
namespace {

// 1 January 1970 as a day number; the civil-date arithmetic below counts from it.
constexpr std::int64_t kDayNumberOf1970 = 719163;

} // namespace

// Proleptic Gregorian conversion in whole 400-year eras, so it holds for every year.
TCivilDate DayNumberToDate(std::int32_t dayNumber) {
    std::int64_t z = dayNumber - kDayNumberOf1970 + 719468;
    std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    std::int64_t doe = z - era * 146097;
    std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    std::int64_t mp = (5 * doy + 2) / 153;
    int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

std::int32_t DateToDayNumber(int year, int month, int day) {
    std::int64_t y = year - (month <= 2 ? 1 : 0);
    std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    std::int64_t yoe = y - era * 400;
    std::int64_t doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return static_cast<std::int32_t>(era * 146097 + doe - 719468 + kDayNumberOf1970);
}

// Formatting a date takes a fresh formatter each time, and a list repaints the same
// few dates over and over, so the texts are kept until the regional settings change.
std::string DayNumberText(std::int32_t dayNumber) {
    static std::mutex lock;
    static std::string cachedLocale;
    static int cachedCodePage = 0;
    static std::unordered_map<std::int32_t, std::string> cache;
    std::lock_guard guard(lock);
    std::string locale = platform::TimeLocale();
    int codePage = platform::AnsiCodePage();
    if (locale != cachedLocale || codePage != cachedCodePage || cache.size() > 4096) {
        cache.clear();
        cachedLocale = locale;
        cachedCodePage = codePage;
    }
    auto found = cache.find(dayNumber);
    if (found != cache.end()) return found->second;
    TCivilDate date = DayNumberToDate(dayNumber);
    return cache[dayNumber] = platform::ShortDateText(date.Year, date.Month, date.Day);
}

TAlignment CellAlignment(const TField& field) {
    return field.DataType() == ftInteger ? taRightJustify : taLeftJustify;
}

int ColumnWidthPixels(int displayWidth, int zeroWidth, int overhang, int titleWidth) {
    int width = displayWidth * (zeroWidth - overhang) + overhang + 4;
    return std::max(width, titleWidth + 4);
}

int DataRowHeight(int textHeight) {
    // The text, the grid line below it, then the spacing.
    return textHeight + 1 + 3;
}

int TitleRowHeight(int titleTextHeight) {
    return titleTextHeight + 4;
}

} // namespace memtable
