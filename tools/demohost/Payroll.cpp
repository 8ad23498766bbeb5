#include "tools/demohost/Payroll.h"

#include <algorithm>
#include <cstdio>

namespace demohost {
namespace {

constexpr long long kTaxAllowance = 47954; // monthly non-taxable part of the base
constexpr long long kMealPrice = 120;      // the employee pays this per meal

// Rounds value × numerator / denominator to the nearest hundredth.
long long Share(long long value, long long numerator, long long denominator) {
    return (value * numerator * 2 + denominator) / (denominator * 2);
}

} // namespace

Pay PayFor(const Employee& employee, const Month& month) {
    Sequence sequence(
        static_cast<std::uint32_t>(employee.number * 1000 + month.year * 12 + month.month));
    Pay pay;
    pay.workdays = static_cast<int>(Workdays(month).size());
    pay.holidayDays = std::max(0, sequence.Between(-2, 3)); // about half take no leave
    pay.workedDays = pay.workdays - pay.holidayDays;
    pay.overtimeHours = employee.centre >= 3 ? sequence.Between(0, 8) : 0;

    const long long hourly = Share(employee.wage, 1, pay.workdays * 8);
    pay.basePay = Share(employee.wage, pay.workedDays, pay.workdays);
    pay.bonus = employee.wage * sequence.Between(0, 12) / 100 / 100 * 100;
    pay.overtimePay = Share(hourly * pay.overtimeHours, 125, 100);
    pay.holidayPay = hourly * 8 * pay.holidayDays;
    pay.gross = pay.basePay + pay.bonus + pay.overtimePay + pay.holidayPay;

    pay.health = Share(pay.gross, 4, 100);
    pay.social = Share(pay.gross, 94, 1000);
    pay.allowance = std::min(kTaxAllowance, pay.gross - pay.health - pay.social);
    pay.taxBase = pay.gross - pay.health - pay.social - pay.allowance;
    pay.tax = Share(pay.taxBase, 19, 100);
    pay.net = pay.gross - pay.health - pay.social - pay.tax;
    pay.meals = kMealPrice * pay.workedDays;
    pay.payout = pay.net - pay.meals;
    pay.employerHealth = Share(pay.gross, 10, 100);
    pay.employerSocial = Share(pay.gross, 252, 1000);
    return pay;
}

std::string AccountOf(const Employee& employee) {
    Sequence sequence(static_cast<std::uint32_t>(employee.number));
    static const char* banks[] = {"0900", "1100", "0200", "7500", "5600"};
    char text[40];
    std::snprintf(text, sizeof text, "SK%02d %s 0000 00%02d %04d %04d", sequence.Between(10, 99),
                  banks[sequence.Between(0, 4)], sequence.Between(10, 99),
                  sequence.Between(1000, 9999), sequence.Between(1000, 9999));
    return text;
}

} // namespace demohost
