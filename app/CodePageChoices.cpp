#include "app/CodePageChoices.h"

#include "platform/BuiltInCodePages.h"
#include "platform/CodePages.h"

#include <map>

namespace {

const std::map<int, const char*>& Names() {
    static const std::map<int, const char*> names{
        {437, "DOS americká"},
        {620, "DOS poľská (Mazovia)"},
        {708, "arabská (ASMO 708)"},
        {720, "DOS arabská"},
        {737, "DOS grécka"},
        {775, "DOS pobaltská"},
        {850, "DOS západoeurópska (Latin 1)"},
        {852, "DOS stredoeurópska (Latin 2)"},
        {855, "DOS cyrilika"},
        {857, "DOS turecká"},
        {858, "DOS západoeurópska s eurom"},
        {860, "DOS portugalská"},
        {861, "DOS islandská"},
        {862, "DOS hebrejská"},
        {863, "DOS francúzska kanadská"},
        {864, "DOS arabská (864)"},
        {865, "DOS severská"},
        {866, "DOS ruská"},
        {869, "DOS grécka (869)"},
        {874, "Windows thajská"},
        {895, "DOS česká a slovenská (Kamenický)"},
        {932, "japonská (Shift-JIS)"},
        {936, "čínska zjednodušená (GBK)"},
        {949, "kórejská"},
        {950, "čínska tradičná (Big5)"},
        {1250, "Windows stredoeurópska"},
        {1251, "Windows cyrilika"},
        {1252, "Windows západoeurópska"},
        {1253, "Windows grécka"},
        {1254, "Windows turecká"},
        {1255, "Windows hebrejská"},
        {1256, "Windows arabská"},
        {1257, "Windows pobaltská"},
        {1258, "Windows vietnamská"},
        {1361, "kórejská (Johab)"},
        {10000, "Mac západoeurópska"},
        {10001, "Mac japonská"},
        {10004, "Mac arabská"},
        {10005, "Mac hebrejská"},
        {10006, "Mac grécka"},
        {10007, "Mac cyrilika"},
        {10021, "Mac thajská"},
        {10029, "Mac stredoeurópska"},
        {10079, "Mac islandská"},
        {10081, "Mac turecká"},
        {10082, "Mac chorvátska"},
        {20127, "US-ASCII"},
        {20866, "KOI8-R (ruská)"},
        {21866, "KOI8-U (ukrajinská)"},
        {28591, "ISO 8859-1 (Latin 1)"},
        {28592, "ISO 8859-2 (Latin 2)"},
        {28593, "ISO 8859-3 (Latin 3)"},
        {28594, "ISO 8859-4 (pobaltská)"},
        {28595, "ISO 8859-5 (cyrilika)"},
        {28596, "ISO 8859-6 (arabská)"},
        {28597, "ISO 8859-7 (grécka)"},
        {28598, "ISO 8859-8 (hebrejská)"},
        {28599, "ISO 8859-9 (turecká)"},
        {28603, "ISO 8859-13 (pobaltská)"},
        {28605, "ISO 8859-15 (Latin 9)"},
    };
    return names;
}

std::vector<CodePageChoice> Choices(platform::CodePageRole role) {
    std::vector<CodePageChoice> choices;
    for (int page : platform::InstalledCodePages()) {
        // A page known under several numbers is offered under the one it is listed as.
        if (platform::ListedCodePageNumber(page) != page) continue;
        if (platform::IsUsableCodePage(page, role)) choices.push_back({page, CodePageName(page)});
    }
    return choices;
}

} // namespace

std::string CodePageChoice::Label() const {
    return std::to_string(number) + " – " + name;
}

std::vector<CodePageChoice> AnsiCodePageChoices() {
    return Choices(platform::CodePageRole::Ansi);
}

std::vector<CodePageChoice> OemCodePageChoices() {
    return Choices(platform::CodePageRole::Oem);
}

std::string CodePageName(int number) {
    const auto named = Names().find(number);
    return named != Names().end() ? named->second : "kódová stránka " + std::to_string(number);
}
