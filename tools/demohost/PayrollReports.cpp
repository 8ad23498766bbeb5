#include "tools/demohost/OemText.h"
#include "tools/demohost/Payroll.h"
#include "tools/demohost/Reports.h"

namespace demohost {
namespace {

constexpr int kPortraitWidth = 80;
constexpr int kPortraitLength = 66;
constexpr int kLandscapeWidth = 136;
constexpr int kLandscapeLength = 60;

std::string CentreName(int number) {
    for (const CostCentre& centre : CostCentres())
        if (centre.number == number) return std::to_string(number) + " " + centre.name;
    return std::to_string(number);
}

std::string ForMonth(std::string_view title, const Month& month) {
    return std::string(title) + " za " + month.Name();
}

std::vector<std::string> Slip(const Employee& employee, const Month& month) {
    const Pay pay = PayFor(employee, month);
    const BoxTable table({{21}, {11, Align::Right}, {24}, {11, Align::Right}});
    std::vector<std::string> lines =
        DoubleFrame({"VÝPLATNÁ PÁSKA za " + month.Name()}, kPortraitWidth);
    lines.push_back(Left(std::string(" ") + kFirmName, 56) +
                    Oem("Os. číslo: " + std::to_string(employee.number)));
    lines.push_back(Left(" Meno: " + FullName(employee), 40) +
                    Oem("Stredisko: " + CentreName(employee.centre)));
    lines.push_back(Oem(" Funkcia: " + employee.position));
    lines.push_back(table.Top());
    lines.push_back(table.Row(
        {"Pracovné dni", std::to_string(pay.workdays), "Základná mzda", Money(pay.basePay)}));
    lines.push_back(table.Row(
        {"Odpracované dni", std::to_string(pay.workedDays), "Osobný príplatok", Money(pay.bonus)}));
    lines.push_back(table.Row({"Dovolenka (dni)", std::to_string(pay.holidayDays),
                               "Náhrada za dovolenku", Money(pay.holidayPay)}));
    lines.push_back(table.Row({"Nadčas (hodiny)", std::to_string(pay.overtimeHours),
                               "Mzda za nadčas", Money(pay.overtimePay)}));
    lines.push_back(table.Separator());
    lines.push_back(
        table.Row({"Hrubá mzda", Money(pay.gross), "Zdravotné poistenie 4 %", Money(pay.health)}));
    lines.push_back(table.Row({"Nezdaniteľná časť", Money(pay.allowance),
                               "Sociálne poistenie 9,4 %", Money(pay.social)}));
    lines.push_back(
        table.Row({"Základ dane", Money(pay.taxBase), "Preddavok na daň 19 %", Money(pay.tax)}));
    lines.push_back(table.Separator());
    lines.push_back(
        table.Row({"Čistá mzda", Money(pay.net), "Zrážka za stravu", Money(pay.meals)}));
    lines.push_back(table.Bottom());
    lines.push_back(Oem(" K výplate na účet " + AccountOf(employee) + ":") +
                    Right(Money(pay.payout) + " EUR", 24));
    return lines;
}

} // namespace

PrintFileBytes PayrollSlips(const Month& month, int costCentre) {
    PrintFile file(kPortraitWidth, kPortraitLength);
    bool first = true;
    for (const Employee& employee : Employees()) {
        if (costCentre != 0 && employee.centre != costCentre) continue;
        const std::vector<std::string> slip = Slip(employee, month);
        if (!first) {
            file.KeepTogether(static_cast<int>(slip.size()) + 2);
            file.AddBlank();
            // A line of dashes to cut along, the way the slips are separated by hand.
            file.Add(Repeat("-", kPortraitWidth));
        }
        first = false;
        file.Add(slip);
    }
    return file.Finish();
}

PrintFileBytes PayrollSummary(const Month& month) {
    const BoxTable table({{5, Align::Right},
                          {18},
                          {9, Align::Right},
                          {9, Align::Right},
                          {10, Align::Right},
                          {8, Align::Right},
                          {8, Align::Right},
                          {9, Align::Right},
                          {10, Align::Right},
                          {7, Align::Right},
                          {9, Align::Right}});
    const std::string title = ForMonth("Rekapitulácia miezd podľa stredísk", month);
    PrintFile file(kLandscapeWidth, kLandscapeLength, [&](int page) {
        std::vector<std::string> lines = PageHeading(title, kLandscapeWidth, page);
        lines.push_back(table.Top());
        lines.push_back(
            table.Row({"Os.č.", "Priezvisko a meno", "Zákl.mzda", "Príplatky", "Hrubá mzda",
                       "ZP 4 %", "SP 9,4 %", "Daň", "Čistá mzda", "Strava", "K výplate"}));
        lines.push_back(table.Separator());
        return lines;
    });

    Pay total;
    for (const CostCentre& centre : CostCentres()) {
        Pay sum;
        for (const Employee& employee : Employees()) {
            if (employee.centre != centre.number) continue;
            const Pay pay = PayFor(employee, month);
            file.Add(
                table.Row({std::to_string(employee.number), FullName(employee), Money(pay.basePay),
                           Money(pay.bonus + pay.overtimePay + pay.holidayPay), Money(pay.gross),
                           Money(pay.health), Money(pay.social), Money(pay.tax), Money(pay.net),
                           Money(pay.meals), Money(pay.payout)}));
            for (Pay* s : {&sum, &total}) {
                s->basePay += pay.basePay;
                s->bonus += pay.bonus + pay.overtimePay + pay.holidayPay;
                s->gross += pay.gross;
                s->health += pay.health;
                s->social += pay.social;
                s->tax += pay.tax;
                s->net += pay.net;
                s->meals += pay.meals;
                s->payout += pay.payout;
            }
        }
        file.Add(table.Separator());
        file.Add(
            table.Row({"", "Spolu stredisko " + std::to_string(centre.number), Money(sum.basePay),
                       Money(sum.bonus), Money(sum.gross), Money(sum.health), Money(sum.social),
                       Money(sum.tax), Money(sum.net), Money(sum.meals), Money(sum.payout)}));
        file.Add(table.Separator());
    }
    file.Add(
        table.Row({"", "SPOLU ORGANIZÁCIA", Money(total.basePay), Money(total.bonus),
                   Money(total.gross), Money(total.health), Money(total.social), Money(total.tax),
                   Money(total.net), Money(total.meals), Money(total.payout)}));
    file.Add(table.Bottom());
    file.AddBlank();
    file.Add(Oem("Vypracovala: " + FullName(Employees()[3]) +
                 "          Schválil: " + FullName(Employees()[2])));
    return file.Finish();
}

PrintFileBytes ContributionsOverview(const Month& month) {
    long long gross = 0, health = 0, social = 0, tax = 0, employerHealth = 0, employerSocial = 0;
    int people = 0;
    for (const Employee& employee : Employees()) {
        const Pay pay = PayFor(employee, month);
        gross += pay.gross;
        health += pay.health;
        social += pay.social;
        tax += pay.tax;
        employerHealth += pay.employerHealth;
        employerSocial += pay.employerSocial;
        ++people;
    }
    // The host indents this overview with TAB characters rather than blanks.
    auto item = [](int depth, const std::string& label, long long amount) {
        return std::string(depth, '\t') + Left(label, 44 - 4 * depth) + Right(Money(amount), 14);
    };
    const std::string title = ForMonth("Prehľad odvodov poistného a dane", month);
    PrintFile file(kPortraitWidth, kPortraitLength,
                   [&](int page) { return PageHeading(title, kPortraitWidth, page); });
    file.AddBlank();
    file.Add(Oem("Počet zamestnancov: " + std::to_string(people)));
    file.Add(item(0, "Úhrn hrubých miezd", gross));
    file.AddBlank();
    file.Add(Oem("Zdravotné poistenie"));
    file.Add(item(1, "zamestnanci 4 %", health));
    file.Add(item(1, "zamestnávateľ 10 %", employerHealth));
    file.Add(item(2, "spolu na účet poisťovne", health + employerHealth));
    file.AddBlank();
    file.Add(Oem("Sociálne poistenie"));
    const long long sickness = gross * 14 / 1000, pension = gross * 40 / 1000;
    file.Add(item(1, "nemocenské 1,4 % (zamestnanci)", sickness));
    file.Add(item(1, "starobné 4 % (zamestnanci)", pension));
    file.Add(item(1, "invalidné a v nezam. (zamestnanci)", social - sickness - pension));
    file.Add(item(1, "zamestnávateľ 25,2 %", employerSocial));
    file.Add(item(2, "spolu Sociálna poisťovňa", social + employerSocial));
    file.AddBlank();
    file.Add(Oem("Daň z príjmov zo závislej činnosti"));
    file.Add(item(1, "preddavky na daň 19 %", tax));
    file.AddBlank();
    file.Add(Repeat("─", kPortraitWidth));
    file.Add(item(0, "Odvody spolu", health + employerHealth + social + employerSocial + tax));
    file.AddBlank();
    file.Add(Oem("Splatné do 8. dňa nasledujúceho mesiaca."));
    return file.Finish();
}

PrintFileBytes EmployeeList(const Month& month) {
    const BoxTable table({{5, Align::Right}, {20}, {26}, {4, Align::Centre}, {8, Align::Right}});
    const std::string title =
        "Zoznam zamestnancov k " + DateText(month.year, month.month, month.Days());
    PrintFile file(kPortraitWidth, kPortraitLength, [&](int page) {
        std::vector<std::string> lines = PageHeading(title, kPortraitWidth, page);
        lines.push_back(table.Top());
        lines.push_back(table.Row({"Os.č.", "Priezvisko a meno", "Funkcia", "Str.", "Mzda"}));
        lines.push_back(table.Separator());
        return lines;
    });
    for (const Employee& employee : Employees())
        file.Add(table.Row({std::to_string(employee.number), FullName(employee), employee.position,
                            std::to_string(employee.centre), Money(employee.wage)}));
    file.Add(table.Bottom());
    // This report has always come out without a closing form feed.
    return file.Finish(false);
}

PrintFileBytes BankTransfers(const Month& month) {
    const Month next =
        month.month == 12 ? Month{month.year + 1, 1} : Month{month.year, month.month + 1};
    const BoxTable table({{3, Align::Right}, {20}, {29}, {13, Align::Right}});
    const std::string title = "Hromadný príkaz na úhradu miezd za " + month.Name();
    PrintFile file(kPortraitWidth, kPortraitLength, [&](int page) {
        std::vector<std::string> lines = PageHeading(title, kPortraitWidth, page);
        lines.push_back(Oem("Platiteľ: " + std::string(kFirmName)));
        lines.push_back(Oem("Účet platiteľa: SK46 8180 0000 0070 0012 3456   Splatnosť: " +
                            DateText(next.year, next.month, 10)));
        lines.push_back(table.Top());
        lines.push_back(table.Row({"P.č", "Príjemca", "IBAN", "Suma EUR"}));
        lines.push_back(table.Separator());
        return lines;
    });
    long long total = 0;
    int row = 0;
    for (const Employee& employee : Employees()) {
        const Pay pay = PayFor(employee, month);
        total += pay.payout;
        file.Add(table.Row(
            {std::to_string(++row), FullName(employee), AccountOf(employee), Money(pay.payout)}));
    }
    file.Add(table.Separator());
    file.Add(table.Row({"", "Spolu", std::to_string(row) + " položiek", Money(total)}));
    file.Add(table.Bottom());
    file.AddBlank(2);
    file.Add(Oem("Pečiatka a podpis: ...................................."));
    return file.Finish();
}

} // namespace demohost
