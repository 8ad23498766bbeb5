#pragma once
// The host system's reports for one month, each as a finished print file.

#include "tools/demohost/PrintFile.h"
#include "tools/demohost/SampleData.h"

#include <string>
#include <vector>

namespace demohost {

// Payroll (80 columns unless said otherwise).
PrintFileBytes PayrollSlips(const Month& month, int costCentre = 0); // 0: everyone
PrintFileBytes PayrollSummary(const Month& month);                   // 136 columns
PrintFileBytes ContributionsOverview(const Month& month);            // indented with TABs
PrintFileBytes EmployeeList(const Month& month);
PrintFileBytes BankTransfers(const Month& month);

// Stock.
PrintFileBytes StockCards(const Month& month); // one page per material
PrintFileBytes StockReceipts(const Month& month);
PrintFileBytes StockIssues(const Month& month);
PrintFileBytes StockBalance(const Month& month);
PrintFileBytes StockInventory(const Month& month); // 136 columns

// School kitchen.
// Weeks of the month with workdays in them (a week runs from Monday).
int MealWeeks(const Month& month);
PrintFileBytes MealCalculation(const Month& month, int week); // week of the month, from 1
PrintFileBytes MealMenu(const Month& month);
PrintFileBytes MealCounts(const Month& month);

// Supplies.
// An order to a Polish supplier, in Polish: a host writing Mazovia prints its letters.
PrintFileBytes SupplierOrder(const Month& month);

// Lines every report starts its pages with: firm, title, page number, a rule.
std::vector<std::string> PageHeading(const std::string& title, int width, int page);

} // namespace demohost
