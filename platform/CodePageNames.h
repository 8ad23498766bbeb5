#pragma once
// The code pages a setting can name, with the plain Slovak names a list shows
// them by, such as "852 – DOS stredoeurópska (Latin 2)".

#include "platform/CodePages.h"

#include <string>
#include <vector>

namespace platform {

struct CodePageChoice {
    int codePage;
    std::string label; // UTF-8
};

// The pages the ANSI or the OEM setting can name on this machine, ascending. A
// page that several numbers name is listed once, under 895 or 620; the other
// numbers are still accepted.
std::vector<CodePageChoice> CodePageChoices(CodePageRole role);

// "1250 – Windows stredoeurópska"; a page without a Slovak name is its number alone.
std::string CodePageLabel(int codePage);

} // namespace platform
