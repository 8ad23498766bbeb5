#pragma once
// Language drivers: which code page a table's text is in, and how that text
// becomes the machine's ANSI text.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dbf {

enum class TextTranslation { Unavailable, Identity, OemAnsi, CodePage };

// What to do with a table whose code page this machine cannot convert.
enum TDbfLanguageAction { laEditOnly, laForceOEM, laForceANSI };

// Code page named by the language-driver byte of a level 3, 4 or 25 table; 0 for none.
int LangIdToCodePage(std::uint8_t languageDriver);
// Code page named by a level-7 table's language-driver name; 0 for none.
int LangNameToCodePage(std::string_view driverName);

// The engine's code-page settings, taken once when the first table object is
// made and shared by every table after it.
struct CodePageSettings {
    int defaultOpenCodePage = 0;
    std::vector<int> installedCodePages;
    bool IsInstalled(int codePage) const;
};
const CodePageSettings& DbfGlobals();
// Takes the machine's code pages again, after the user changed them while the
// tool runs; tables opened from now on use them.
void RetakeMachineCodePages();

// Translation mode for a table whose text is in `useCodePage`, on this machine;
// `ask` is consulted only when the code page cannot be converted.
TextTranslation ChooseTranslationMode(int useCodePage, TDbfLanguageAction unavailableAction);
bool NeedsLanguageAction(int useCodePage);

// Table text to ANSI text: bytes the conversion cannot handle stay as they are,
// and the result never grows longer than the source.
std::string TranslateToAnsi(std::string_view text, TextTranslation mode, int useCodePage);

} // namespace dbf
