#pragma once
// The kitchen store's movements in a month, shared by every stock report so that
// cards, receipts, issues, balance and inventory agree with each other.

#include "tools/demohost/SampleData.h"

#include <string>
#include <vector>

namespace demohost {

struct StockMove {
    int day;
    bool receipt;       // false: an issue to the kitchen
    long long quantity; // thousandths of the unit
};

struct StockCard {
    std::size_t material;         // index into Materials()
    long long opening;            // thousandths
    std::vector<StockMove> moves; // by day, receipts before issues
    long long closing;
};

std::vector<StockCard> StockLedger(const Month& month);

// "PR-1207" for the receipt of 7 December, "VY-1207" for that day's issue slip.
std::string DocumentNumber(const Month& month, int day, bool receipt);

// Value of a quantity in thousandths at a unit price in hundredths, in hundredths.
long long ValueOf(long long thousandths, long long unitPrice);

} // namespace demohost
