#include "tools/demohost/OemText.h"
#include "tools/demohost/Reports.h"

#include <algorithm>
#include <string>

namespace demohost {
namespace {

constexpr int kPortraitWidth = 80;
constexpr int kPortraitLength = 66;

struct OrderLine {
    const char* goods;
    const char* unit;
    long long thousandths;
};

} // namespace

PrintFileBytes SupplierOrder(const Month& month) {
    const OrderLine lines[] = {
        {"Kiełbasa śląska", "kg", 25000}, {"Żurek w słoiku", "szt", 40000},
        {"Pierogi ruskie", "kg", 30000},  {"Gęś pieczona", "szt", 6000},
        {"Mąka pszenna", "kg", 50000},    {"Ser żółty", "kg", 12500},
        {"Jabłka", "kg", 80000},
    };
    PrintFile file(kPortraitWidth, kPortraitLength, [](int page) {
        return PageHeading("Zamówienie u dostawcy", kPortraitWidth, page);
    });
    file.AddBlank();
    file.Add(Oem("Dostawca: Zakłady Mięsne Łódź sp. z o.o., ul. Piotrkowska 12, 90-001 Łódź"));
    file.Add(Oem("Zamówienie nr " + std::to_string(month.month) + "/" + std::to_string(month.year) +
                 " z dnia " + DateText(month.year, month.month, std::min(20, month.Days()))));
    file.AddBlank();
    const BoxTable table({{3, Align::Right}, {28}, {4}, {10, Align::Right}});
    file.Add(table.Top());
    file.Add(table.Row({"Lp.", "Towar", "J.m.", "Ilość"}));
    file.Add(table.Separator());
    int number = 0;
    for (const OrderLine& line : lines)
        file.Add(table.Row({std::to_string(++number) + ".", line.goods, line.unit,
                            std::string(line.unit) == "kg" ? Quantity(line.thousandths)
                                                           : Whole(line.thousandths / 1000)}));
    file.Add(table.Bottom());
    file.AddBlank();
    file.Add(Oem("Prosimy o dostawę na adres stołówki szkolnej do końca miesiąca."));
    file.Add(Oem("Fakturę prosimy wystawić na szkołę; płatność przelewem w ciągu 14 dni."));
    return file.Finish();
}

} // namespace demohost
