#include "memtable/loxDisplay.h"

#include "platform/CodePages.h"
#include "platform/Locale.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <unordered_map>

namespace memtable {
namespace {

// 1 January 1970, where the system clock's calendar counts from, as a day number.
constexpr std::int32_t kDayNumberOf1970 = 719163;

} // namespace

TCivilDate DayNumberToDate(std::int32_t dayNumber) {
    const std::chrono::year_month_day date{
        std::chrono::sys_days{std::chrono::days{dayNumber - kDayNumberOf1970}}};
    return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day()))};
}

std::int32_t DateToDayNumber(int year, int month, int day) {
    const std::chrono::sys_days date{std::chrono::year{year} /
                                     std::chrono::month{static_cast<unsigned>(month)} /
                                     std::chrono::day{static_cast<unsigned>(day)}};
    return static_cast<std::int32_t>(date.time_since_epoch().count()) + kDayNumberOf1970;
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
