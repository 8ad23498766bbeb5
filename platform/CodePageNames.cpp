#include "platform/CodePageNames.h"

#include "platform/BuiltInCodePages.h"

#include <map>

namespace platform {
namespace {

const std::map<int, const char*>& Names() {
    static const std::map<int, const char*> names{
        {437, "DOS USA"},
        {620, "DOS Mazovia"},
        {667, "DOS Mazovia"},
        {720, "DOS arabská"},
        {737, "DOS grécka"},
        {775, "DOS pobaltská"},
        {790, "DOS Mazovia"},
        {850, "DOS západoeurópska (Latin 1)"},
        {852, "DOS stredoeurópska (Latin 2)"},
        {855, "DOS cyrilika"},
        {857, "DOS turecká"},
        {858, "DOS západoeurópska s eurom"},
        {860, "DOS portugalská"},
        {861, "DOS islandská"},
        {862, "DOS hebrejská"},
        {863, "DOS kanadská francúzska"},
        {864, "DOS arabská (864)"},
        {865, "DOS severská"},
        {866, "DOS ruská"},
        {867, "DOS Kamenický (KEYBCS2)"},
        {869, "DOS grécka (869)"},
        {874, "Windows thajská"},
        {895, "DOS Kamenický (KEYBCS2)"},
        {932, "Windows japonská (Shift-JIS)"},
        {936, "Windows čínska zjednodušená (GBK)"},
        {949, "Windows kórejská"},
        {950, "Windows čínska tradičná (Big5)"},
        {991, "DOS Mazovia"},
        {1250, "Windows stredoeurópska"},
        {1251, "Windows cyrilika"},
        {1252, "Windows západoeurópska"},
        {1253, "Windows grécka"},
        {1254, "Windows turecká"},
        {1255, "Windows hebrejská"},
        {1256, "Windows arabská"},
        {1257, "Windows pobaltská"},
        {1258, "Windows vietnamská"},
        {10000, "Mac západoeurópska (Roman)"},
        {10006, "Mac grécka"},
        {10007, "Mac cyrilika"},
        {10029, "Mac stredoeurópska"},
        {10081, "Mac turecká"},
        {20127, "US-ASCII"},
        {20866, "KOI8-R ruská"},
        {21866, "KOI8-U ukrajinská"},
        {28591, "ISO 8859-1 západoeurópska"},
        {28592, "ISO 8859-2 stredoeurópska"},
        {28593, "ISO 8859-3 juhoeurópska"},
        {28594, "ISO 8859-4 pobaltská"},
        {28595, "ISO 8859-5 cyrilika"},
        {28596, "ISO 8859-6 arabská"},
        {28597, "ISO 8859-7 grécka"},
        {28598, "ISO 8859-8 hebrejská"},
        {28599, "ISO 8859-9 turecká"},
        {28603, "ISO 8859-13 pobaltská"},
        {28605, "ISO 8859-15 západoeurópska s eurom"},
    };
    return names;
}

} // namespace

std::string CodePageLabel(int codePage) {
    std::string label = std::to_string(codePage);
    const auto found = Names().find(codePage);
    if (found != Names().end()) label += std::string(" – ") + found->second;
    return label;
}

std::vector<CodePageChoice> CodePageChoices(CodePageRole role) {
    std::vector<CodePageChoice> choices;
    for (int codePage : InstalledCodePages())
        if (ListedCodePageNumber(codePage) == codePage && IsUsableCodePage(codePage, role))
            choices.push_back({codePage, CodePageLabel(codePage)});
    return choices;
}

} // namespace platform
