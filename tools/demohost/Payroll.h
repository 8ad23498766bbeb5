#pragma once
// One employee's pay for a month, worked out the way the payroll reports print it.

#include "tools/demohost/SampleData.h"

namespace demohost {

struct Pay {
    int workdays = 0; // Monday to Friday in the month
    int workedDays = 0;
    int holidayDays = 0;
    int overtimeHours = 0;
    long long basePay = 0; // amounts in hundredths
    long long bonus = 0;
    long long overtimePay = 0;
    long long holidayPay = 0;
    long long gross = 0;
    long long health = 0; // employee's share, 4 %
    long long social = 0; // employee's share, 9.4 %
    long long allowance = 0;
    long long taxBase = 0;
    long long tax = 0; // 19 % advance
    long long net = 0;
    long long meals = 0; // the employee's part of the canteen meals
    long long payout = 0;
    long long employerHealth = 0; // 10 %
    long long employerSocial = 0; // 25.2 %
};

Pay PayFor(const Employee& employee, const Month& month);

// "SK31 1100 0000 0026 1234 5678": a made-up account, fixed per employee.
std::string AccountOf(const Employee& employee);

} // namespace demohost
