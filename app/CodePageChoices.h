#pragma once
// The code pages the settings offer, each with its number and a plain Slovak
// name: those this machine converts and the tool can use for the purpose.

#include <string>
#include <vector>

struct CodePageChoice {
    int number;
    std::string name; // UTF-8, such as "DOS stredoeurópska (Latin 2)"
    // "852 – DOS stredoeurópska (Latin 2)"
    std::string Label() const;
};

// The pages the setting can name (ASCII-based; as the OEM page, one byte per
// character), each once. In ascending order of their numbers.
std::vector<CodePageChoice> AnsiCodePageChoices();
std::vector<CodePageChoice> OemCodePageChoices();

// The plain name of a code page, or "kódová stránka N" for one without a name.
std::string CodePageName(int number);
