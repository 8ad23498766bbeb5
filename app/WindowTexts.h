#pragma once
// The window's own texts and colours (UTF-8), and the titles built from catalog texts.

#include "app/Source.h"

#include <string>
#include <string_view>

namespace window_texts {

inline constexpr char kListTitle[] = "Tlač súborov v1.2 - zoznam dostupných súborov";
inline constexpr char kPreviewTitlePrefix[] = "Tlač súborov v1.2 - náhľad na súbor ";
inline constexpr char kLoadFailed[] = "Nepodarilo sa načítať zoznam tlačových súborov";
inline constexpr char kFileMissing[] = "Zvolený súbor neexistuje ...";

// Title of the preview for an entry's description (UTF-8); an empty
// description leaves the prefix alone, its trailing blank included.
std::string PreviewTitle(std::string_view popis);

struct Rgb {
    int red;
    int green;
    int blue;
};

// Background of the month selector: green for the current month and the meal
// calculations, pink for an archived period, so an old month is never taken for
// the current one.
Rgb SelectorColour(const Source& source);

inline constexpr Rgb kListBackground{255, 225, 255};

} // namespace window_texts
