#include "tools/demohost/StockLedger.h"

#include <algorithm>
#include <cstdio>

namespace demohost {

std::vector<StockCard> StockLedger(const Month& month) {
    const std::vector<int> workdays = Workdays(month);
    std::vector<StockCard> cards;
    for (std::size_t m = 0; m < Materials().size(); ++m) {
        Sequence sequence(static_cast<std::uint32_t>(m * 7919 + month.year * 12 + month.month));
        // Piece goods move in whole pieces; the rest is weighed to the gram.
        const bool pieces = Materials()[m].unit == "ks";
        const long long step = pieces ? 1000 : 10;
        const long long typicalIssue =
            step * (pieces ? sequence.Between(20, 120) : sequence.Between(150, 2500));
        StockCard card{m, typicalIssue * sequence.Between(2, 8), {}, 0};
        long long balance = card.opening;
        for (int day : workdays) {
            if (balance < typicalIssue * 2 || sequence.Between(0, 9) == 0) {
                const long long received = typicalIssue * sequence.Between(5, 10);
                card.moves.push_back({day, true, received});
                balance += received;
            }
            if (sequence.Between(0, 2) != 0) {
                long long issued = typicalIssue * sequence.Between(50, 150) / 100 / step * step;
                issued = std::min(std::max(issued, step), balance);
                if (issued > 0) {
                    card.moves.push_back({day, false, issued});
                    balance -= issued;
                }
            }
        }
        card.closing = balance;
        cards.push_back(std::move(card));
    }
    return cards;
}

std::string DocumentNumber(const Month& month, int day, bool receipt) {
    char text[16];
    std::snprintf(text, sizeof text, "%s-%02d%02d", receipt ? "PR" : "VY", month.month, day);
    return text;
}

long long ValueOf(long long thousandths, long long unitPrice) {
    return (thousandths * unitPrice + 500) / 1000;
}

} // namespace demohost
