#include "tools/demohost/OemText.h"
#include "tools/demohost/Reports.h"
#include "tools/demohost/StockLedger.h"

#include <stdexcept>

namespace demohost {
namespace {

constexpr int kPortraitWidth = 80;
constexpr int kPortraitLength = 66;
constexpr long long kPupilAllowance = 170; // what a pupil's lunch may cost in food
constexpr long long kEmployeeAllowance = 210;

struct Diners {
    int pupils;
    int employees;
};

Diners DinersOn(const Month& month, int day) {
    Sequence sequence(static_cast<std::uint32_t>(month.year * 400 + month.month * 32 + day));
    return {sequence.Between(180, 245), sequence.Between(22, 31)};
}

const Dish& DishOn(const Month& month, int day) {
    const std::vector<Dish>& dishes = Dishes();
    return dishes[static_cast<std::size_t>(day + month.month * 3) % dishes.size()];
}

// Workdays of the month grouped into its weeks; a week is counted from Monday.
std::vector<std::vector<int>> Weeks(const Month& month) {
    std::vector<std::vector<int>> weeks;
    int lastDay = -1;
    for (int day : Workdays(month)) {
        if (weeks.empty() || day - lastDay > 1) weeks.emplace_back();
        weeks.back().push_back(day);
        lastDay = day;
    }
    return weeks;
}

} // namespace

int MealWeeks(const Month& month) {
    return static_cast<int>(Weeks(month).size());
}

PrintFileBytes MealCalculation(const Month& month, int week) {
    const std::vector<std::vector<int>> weeks = Weeks(month);
    if (week < 1 || week > static_cast<int>(weeks.size()))
        throw std::out_of_range("the month has no such week");
    const std::vector<int>& days = weeks[static_cast<std::size_t>(week - 1)];

    const BoxTable table(
        {{24}, {2}, {9, Align::Right}, {10, Align::Right}, {7, Align::Right}, {9, Align::Right}});
    const std::string title = "Kalkulácia jedál, " + std::to_string(week) +
                              ". týždeň: " + DateText(month.year, month.month, days.front()) +
                              " - " + DateText(month.year, month.month, days.back());
    PrintFile file(kPortraitWidth, kPortraitLength,
                   [&](int page) { return PageHeading(title, kPortraitWidth, page); });
    for (int day : days) {
        const Dish& dish = DishOn(month, day);
        const Diners diners = DinersOn(month, day);
        const int portions = diners.pupils + diners.employees;
        file.KeepTogether(static_cast<int>(dish.ingredients.size()) + 11);
        file.AddBlank();
        file.Add(Oem(WeekdayName(Weekday(month.year, month.month, day)) + " " +
                     DateText(month.year, month.month, day) + " - " + dish.name));
        file.Add(Oem("Počet porcií: " + std::to_string(portions) + " (žiaci " +
                     std::to_string(diners.pupils) + ", zamestnanci " +
                     std::to_string(diners.employees) + ")"));
        file.Add(table.Top());
        file.Add(table.Row({"Surovina", "MJ", "Na porciu", "Spolu", "Cena/MJ", "Hodnota"}));
        file.Add(table.Separator());
        long long cost = 0;
        for (const Ingredient& ingredient : dish.ingredients) {
            const Material& material = Materials()[ingredient.material];
            const long long total = ingredient.perPortion * portions;
            const long long value = ValueOf(total, material.price);
            cost += value;
            file.Add(table.Row({material.name, material.unit, Quantity(ingredient.perPortion),
                                Quantity(total), Money(material.price), Money(value)}));
        }
        file.Add(table.Bottom());
        const long long perPortion = (cost + portions / 2) / portions;
        const long long allowance =
            diners.pupils * kPupilAllowance + diners.employees * kEmployeeAllowance;
        file.Add(Oem("Náklady na suroviny: " + Money(cost) + " EUR, na porciu " +
                     Money(perPortion) + " EUR"));
        file.Add(Oem("Finančný limit: " + Money(allowance) + " EUR, " +
                     (allowance >= cost ? "úspora " : "prekročenie ") +
                     Money(allowance >= cost ? allowance - cost : cost - allowance) + " EUR"));
    }
    return file.Finish();
}

PrintFileBytes MealMenu(const Month& month) {
    const std::string title = "Jedálny lístok na " + month.Name();
    PrintFile file(kPortraitWidth, kPortraitLength,
                   [&](int page) { return PageHeading(title, kPortraitWidth, page); });
    static const char* soups[] = {"Hovädzí vývar s rezancami",    "Zeleninová polievka",
                                  "Paradajková polievka s ryžou", "Hrachová polievka",
                                  "Cesnačka so syrom a krutónmi", "Šampiňónový krém"};
    int week = 0;
    for (const std::vector<int>& days : Weeks(month)) {
        file.KeepTogether(static_cast<int>(days.size()) * 3 + 4);
        file.AddBlank();
        file.Add(DoubleFrame({std::to_string(++week) + ". týždeň"}, 30));
        for (int day : days) {
            const int weekday = Weekday(month.year, month.month, day);
            file.Add(Left(WeekdayName(weekday), 10) +
                     Oem(DateText(month.year, month.month, day) +
                         "   polievka: " + soups[static_cast<std::size_t>(day) % 6]));
            file.Add(Oem(std::string(23, ' ') + "hlavné jedlo: " + DishOn(month, day).name));
        }
    }
    file.AddBlank();
    file.Add(Oem("Zmena jedálneho lístka vyhradená. Alergény sú vyznačené v jedálni."));
    file.Add(Oem("Vedúca ŠJ: " + FullName(Employees()[14]) +
                 "      Šéfkuchár: " + FullName(Employees()[15])));
    return file.Finish();
}

PrintFileBytes MealCounts(const Month& month) {
    const BoxTable table(
        {{10}, {10}, {7, Align::Right}, {11, Align::Right}, {7, Align::Right}, {10, Align::Right}});
    const std::string title = "Počty stravníkov za " + month.Name();
    PrintFile file(kPortraitWidth, kPortraitLength, [&](int page) {
        std::vector<std::string> lines = PageHeading(title, kPortraitWidth, page);
        lines.push_back(table.Top());
        lines.push_back(table.Row({"Deň", "Dátum", "Žiaci", "Zamestnanci", "Spolu", "Limit EUR"}));
        lines.push_back(table.Separator());
        return lines;
    });
    int pupils = 0, employees = 0;
    long long allowance = 0;
    for (int day : Workdays(month)) {
        const Diners diners = DinersOn(month, day);
        const long long limit =
            diners.pupils * kPupilAllowance + diners.employees * kEmployeeAllowance;
        pupils += diners.pupils;
        employees += diners.employees;
        allowance += limit;
        file.Add(table.Row({WeekdayName(Weekday(month.year, month.month, day)),
                            DateText(month.year, month.month, day), std::to_string(diners.pupils),
                            std::to_string(diners.employees),
                            std::to_string(diners.pupils + diners.employees), Money(limit)}));
    }
    file.Add(table.Separator());
    file.Add(table.Row({"Spolu", "", Whole(pupils), Whole(employees), Whole(pupils + employees),
                        Money(allowance)}));
    file.Add(table.Bottom());
    return file.Finish();
}

} // namespace demohost
