#pragma once
// Letter case: of Unicode text by the user's locale, for finding typed text in
// what the screen shows, and of the ASCII names that files and indexes carry.

#include <string>
#include <string_view>

namespace platform {

// The text in its composed form, so a letter typed as base letter plus accent
// is the same as the single character a code page holds.
std::u16string ComposedText(std::u16string_view text);

// A character's key for comparing without regard to letter case under the
// user's locale: two characters are the same letter when their keys are equal.
// Accents stay significant ('o' and 'ô' differ).
std::u16string CaseBlindKey(char16_t c);

// Whether two byte strings are the same when ASCII letters are compared without
// regard to case; every other byte must match exactly, whatever its code page.
bool SameIgnoringAsciiCase(std::string_view a, std::string_view b);

} // namespace platform
