// The figures behind the reports must add up, or the demo shows payslips and
// stock cards that no office would accept.

#include "tools/demohost/SampleData.h"
#include "tools/demohost/HostFolder.h"
#include "tools/demohost/Payroll.h"
#include "tools/demohost/StockLedger.h"

#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace demohost {
namespace {

const std::vector<Month> kMonths = {{2006, 11}, {2007, 1}, {2024, 2}, {2026, 12}};

TEST(DemoCalendar, MonthsAndWeekdaysCrossYearsAndLeapDays) {
    EXPECT_EQ((Month{2007, 1}.Previous().year), 2006);
    EXPECT_EQ((Month{2007, 1}.Previous().month), 12);
    EXPECT_EQ((Month{2024, 2}.Days()), 29);
    EXPECT_EQ((Month{2100, 2}.Days()), 28);
    EXPECT_EQ((Month{2000, 2}.Days()), 29);
    EXPECT_EQ(Weekday(2026, 12, 8), 1); // a Tuesday
    EXPECT_EQ(Weekday(2000, 1, 1), 5);  // a Saturday
    EXPECT_EQ(Weekday(2024, 3, 1), 4);  // the Friday after a leap day
    EXPECT_EQ(Workdays({2026, 2}).size(), 20u);
    EXPECT_EQ((Month{2026, 12}.Name()), "december 2026");
    EXPECT_EQ(DateText(2007, 1, 5), "05.01.2007");
}

TEST(DemoPayroll, EveryPayslipAddsUp) {
    for (const Month& month : kMonths)
        for (const Employee& employee : Employees()) {
            const Pay pay = PayFor(employee, month);
            SCOPED_TRACE(employee.number);
            EXPECT_EQ(pay.workedDays + pay.holidayDays, pay.workdays);
            EXPECT_EQ(pay.gross, pay.basePay + pay.bonus + pay.overtimePay + pay.holidayPay);
            EXPECT_GE(pay.taxBase, 0);
            EXPECT_EQ(pay.taxBase, pay.gross - pay.health - pay.social - pay.allowance);
            EXPECT_EQ(pay.net, pay.gross - pay.health - pay.social - pay.tax);
            EXPECT_EQ(pay.payout, pay.net - pay.meals);
            EXPECT_GT(pay.payout, 0);
        }
}

TEST(DemoStock, NoCardGoesBelowZeroAndEveryCardBalances) {
    for (const Month& month : kMonths)
        for (const StockCard& card : StockLedger(month)) {
            SCOPED_TRACE(Materials()[card.material].name);
            long long balance = card.opening;
            int lastDay = 0;
            for (const StockMove& move : card.moves) {
                EXPECT_GT(move.quantity, 0);
                EXPECT_GE(move.day, lastDay);
                lastDay = move.day;
                balance += move.receipt ? move.quantity : -move.quantity;
                EXPECT_GE(balance, 0);
            }
            EXPECT_EQ(balance, card.closing);
        }
}

TEST(DemoHostFolder, AFolderThatCannotBeMadeIsAnErrorNotASilentSuccess) {
    const std::filesystem::path blocker =
        std::filesystem::temp_directory_path() / ("demohost-blocker-" + std::to_string(getpid()));
    std::ofstream(blocker) << "a plain file where the folder should go";
    EXPECT_THROW(WriteHostFolder(blocker, {2007, 1}), std::runtime_error);
    EXPECT_THROW(WriteHostFolder(blocker / "demo", {2007, 1}), std::runtime_error);
    std::filesystem::remove(blocker);
}

} // namespace
} // namespace demohost
