#pragma once
// How the catalog list shows the memory table: cell text, alignment and sizes.
// The widget measures its fonts; these rules turn the measures into pixels.

#include "memtable/loxFields.h"

#include <cstdint>
#include <string>

namespace memtable {

struct CivilDate {
    int year;
    int month;
    int day;
};
// Day numbers count from 1 January of year 1 (day 1), proleptic Gregorian.
CivilDate DayNumberToDate(std::int32_t dayNumber);
std::int32_t DateToDayNumber(int year, int month, int day);
// The date part of a date-time (days since 30 December 1899) as a day number.
inline constexpr std::int32_t kDayNumberOf30Dec1899 = 693594;

// A day number in the user's short date format, ANSI bytes.
std::string DayNumberText(std::int32_t dayNumber);

enum TAlignment { taLeftJustify, taRightJustify };
// Integers are right-aligned, everything else left; titles always left.
TAlignment CellAlignment(const TField& field);

// Pixels between the cell's edges and its text.
inline constexpr int kCellTextLeft = 2;  // left-aligned text starts here
inline constexpr int kCellTextRight = 3; // right-aligned text ends this far from the right
inline constexpr int kCellTextTop = 2;

// Column width from DisplayWidth, the width of "0" and the overhang of the list's
// font, raised to the title's width (in the title font) plus 4 when wider.
int ColumnWidthPixels(int displayWidth, int zeroWidth, int overhang, int titleWidth);
// Row heights from the height of "Wg" in the list's font and in the title font.
int DataRowHeight(int textHeight);
int TitleRowHeight(int titleTextHeight);

} // namespace memtable
