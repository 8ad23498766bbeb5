#pragma once
// The files the benchmarks measure on, made the way the host makes them.

#include <filesystem>
#include <string>

namespace bench {

// When the catalog's print files were made.
enum class CatalogDates {
    RisingThroughDecember, // arrival order within December 2007, as the host appends
    AnyDayOf2007,          // in no order, so every order has work to do
};

// A catalog (ZOZTLS.DBF layout, code page 852 or Kamenický 895, which its
// language driver names) of `entries` print files whose names repeat from a
// few hundred reports; every `deletedEvery`-th record is marked deleted (0: none).
void WriteCatalog(const std::filesystem::path& file, int entries, CatalogDates dates,
                  int deletedEvery = 0, int codePage = 852);

// The text of a print file of at least `megabytes` MB: 132-column report lines
// in code page 852 (or another DOS page), CR LF line ends, a form feed every 60 lines.
std::string PrintFileText(int megabytes, int codePage = 852);

} // namespace bench
