#pragma once
// The user's locale: text collation and the short date format.

#include <string>
#include <string_view>

namespace platform {

// The user's locale name ("sk_SK"), from LC_ALL, LC_COLLATE or LANG; "en_US_POSIX" for C/POSIX.
std::string UserLocale();
// Overrides the user's locale for the rest of the process (tests, the demo).
void SetUserLocale(std::string_view localeName);

// Collation of two ANSI-code-page texts under the user's locale: -1, 0 or +1.
// Case-sensitive: letter case is significant but weighs less than the letters.
int CompareTextCaseSensitive(std::string_view a, std::string_view b);
int CompareTextIgnoreCase(std::string_view a, std::string_view b);
// A key for an ANSI text whose bytes compare (as unsigned bytes, shorter first
// on a tie) the way CompareTextCaseSensitive compares the texts.
std::string CollationKey(std::string_view ansi);
// The same key appended to `key`, whose buffer is reused.
void AppendCollationKey(std::string& key, std::string_view ansi);
// False when no collator can be made for the user's locale.
bool CollationAvailable();

// A calendar date (proleptic Gregorian) in the user's short date format, as ANSI bytes.
std::string ShortDateText(int year, int month, int day);

// The user's decimal separator ('.' or ',').
char DecimalSeparator();

} // namespace platform
