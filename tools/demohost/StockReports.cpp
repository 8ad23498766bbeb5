#include "tools/demohost/OemText.h"
#include "tools/demohost/Reports.h"
#include "tools/demohost/StockLedger.h"

#include <algorithm>
#include <map>

namespace demohost {
namespace {

constexpr int kPortraitWidth = 80;
constexpr int kPortraitLength = 66;
constexpr int kLandscapeWidth = 136;
constexpr int kLandscapeLength = 60;
constexpr const char* kStore = "sklad 01 Školská jedáleň";

// Thousandths as the unit is counted: whole pieces, weights to three places.
std::string Amount(long long thousandths, const Material& material) {
    return material.unit == "ks" ? Whole(thousandths / 1000) : Quantity(thousandths);
}

// Slips of one kind (receipts or issues), one document per day, items in material order.
PrintFileBytes Slips(const Month& month, bool receipts) {
    const std::vector<StockCard> ledger = StockLedger(month);
    std::map<int, std::vector<std::pair<std::size_t, long long>>> byDay;
    for (const StockCard& card : ledger)
        for (const StockMove& move : card.moves)
            if (move.receipt == receipts)
                byDay[move.day].emplace_back(card.material, move.quantity);

    const BoxTable table(
        {{6}, {25}, {2}, {9, Align::Right}, {7, Align::Right}, {10, Align::Right}});
    const std::string title =
        std::string(receipts ? "Príjemky materiálu" : "Výdajky materiálu") + " za " + month.Name();
    PrintFile file(kPortraitWidth, kPortraitLength,
                   [&](int page) { return PageHeading(title, kPortraitWidth, page); });
    long long monthTotal = 0;
    for (const auto& [day, items] : byDay) {
        file.KeepTogether(static_cast<int>(items.size()) + 7);
        file.AddBlank();
        file.Add(Oem(std::string(receipts ? "Príjemka " : "Výdajka ") +
                     DocumentNumber(month, day, receipts) + " zo dňa " +
                     DateText(month.year, month.month, day) + ", " + kStore));
        file.Add(table.Top());
        file.Add(table.Row({"Kód", "Materiál", "MJ", "Množstvo", "Cena/MJ", "Spolu EUR"}));
        file.Add(table.Separator());
        long long total = 0;
        for (const auto& [index, quantity] : items) {
            const Material& material = Materials()[index];
            const long long value = ValueOf(quantity, material.price);
            total += value;
            file.Add(table.Row({material.code, material.name, material.unit,
                                Amount(quantity, material), Money(material.price), Money(value)}));
        }
        file.Add(table.Bottom());
        file.Add(Right("Doklad spolu: " + Money(total) + " EUR", table.Width()));
        monthTotal += total;
    }
    file.AddBlank();
    file.Add(Repeat("═", kPortraitWidth));
    file.Add(Right("Spolu za mesiac: " + Money(monthTotal) + " EUR", kPortraitWidth));
    return file.Finish();
}

} // namespace

PrintFileBytes StockCards(const Month& month) {
    const BoxTable table(
        {{10}, {7}, {16}, {9, Align::Right}, {9, Align::Right}, {9, Align::Right}});
    PrintFile file(kPortraitWidth, kPortraitLength, [&](int page) {
        return PageHeading("Skladová karta materiálu", kPortraitWidth, page);
    });
    const int lastDay = month.Days();
    for (const StockCard& card : StockLedger(month)) {
        const Material& material = Materials()[card.material];
        file.Add(Oem("Materiál: " + material.code + "  " + material.name));
        file.Add(Left("Merná jednotka: " + material.unit, 22) +
                 Left("Cena za MJ: " + Money(material.price) + " EUR", 26) +
                 Oem("Sklad: " + std::string(kStore).substr(6)));
        file.Add(Oem("Obdobie: " + month.Name()));
        file.Add(table.Top());
        file.Add(table.Row({"Dátum", "Doklad", "Text", "Príjem", "Výdaj", "Zostatok"}));
        file.Add(table.Separator());
        file.Add(table.Row({DateText(month.year, month.month, 1), "", "Počiatočný stav", "", "",
                            Amount(card.opening, material)}));
        long long balance = card.opening;
        for (const StockMove& move : card.moves) {
            balance += move.receipt ? move.quantity : -move.quantity;
            file.Add(table.Row({DateText(month.year, month.month, move.day),
                                DocumentNumber(month, move.day, move.receipt),
                                move.receipt ? "príjem od dodáv." : "výdaj do kuchyne",
                                move.receipt ? Amount(move.quantity, material) : "",
                                move.receipt ? "" : Amount(move.quantity, material),
                                Amount(balance, material)}));
        }
        file.Add(table.Separator());
        file.Add(table.Row({DateText(month.year, month.month, lastDay), "", "Konečný stav", "", "",
                            Amount(card.closing, material)}));
        file.Add(table.Bottom());
        file.Add(Right("Hodnota zásoby: " + Money(ValueOf(card.closing, material.price)) + " EUR",
                       table.Width()));
        file.NewPage();
    }
    return file.Finish();
}

PrintFileBytes StockReceipts(const Month& month) {
    return Slips(month, true);
}
PrintFileBytes StockIssues(const Month& month) {
    return Slips(month, false);
}

PrintFileBytes StockBalance(const Month& month) {
    const BoxTable table(
        {{6}, {25}, {2}, {10, Align::Right}, {7, Align::Right}, {11, Align::Right}});
    const std::string title = "Stav zásob k " + DateText(month.year, month.month, month.Days());
    PrintFile file(kPortraitWidth, kPortraitLength, [&](int page) {
        std::vector<std::string> lines = PageHeading(title, kPortraitWidth, page);
        lines.push_back(table.Top());
        lines.push_back(table.Row({"Kód", "Materiál", "MJ", "Zostatok", "Cena/MJ", "Hodnota EUR"}));
        lines.push_back(table.Separator());
        return lines;
    });
    long long total = 0;
    for (const StockCard& card : StockLedger(month)) {
        const Material& material = Materials()[card.material];
        const long long value = ValueOf(card.closing, material.price);
        total += value;
        file.Add(table.Row({material.code, material.name, material.unit,
                            Amount(card.closing, material), Money(material.price), Money(value)}));
    }
    file.Add(table.Separator());
    file.Add(table.Row({"", "Zásoby spolu", "", "", "", Money(total)}));
    file.Add(table.Bottom());
    return file.Finish();
}

PrintFileBytes StockInventory(const Month& month) {
    const BoxTable table({{6},
                          {26},
                          {2},
                          {8, Align::Right},
                          {10, Align::Right},
                          {12, Align::Right},
                          {10, Align::Right},
                          {9, Align::Right},
                          {11, Align::Right},
                          {8}});
    const std::string date = DateText(month.year, month.month, month.Days());
    const std::string title = "Inventúrny súpis zásob materiálu k " + date;
    PrintFile file(kLandscapeWidth, kLandscapeLength, [&](int page) {
        std::vector<std::string> lines = PageHeading(title, kLandscapeWidth, page);
        lines.push_back(Oem("Inventarizačná komisia: " + FullName(Employees()[2]) + ", " +
                            FullName(Employees()[19]) + ", " + FullName(Employees()[14])));
        lines.push_back(table.Top());
        lines.push_back(
            table.Row({"Kód", "Názov materiálu", "MJ", "Cena/MJ", "Účt. stav", "Účt. hodnota",
                       "Skut. stav", "Rozdiel", "Hodn. rozd.", "Poznámka"}));
        lines.push_back(table.Separator());
        return lines;
    });
    long long bookTotal = 0, differenceTotal = 0;
    for (const StockCard& card : StockLedger(month)) {
        const Material& material = Materials()[card.material];
        Sequence sequence(static_cast<std::uint32_t>(card.material + 31 * month.month));
        // A few items are found short or over by a little, as a real count finds them.
        const int roll = sequence.Between(0, 9);
        const long long unit = material.unit == "ks" ? 1000 : 10;
        const long long difference = roll == 0   ? -unit * sequence.Between(1, 20)
                                     : roll == 1 ? unit * sequence.Between(1, 5)
                                                 : 0;
        const long long counted = std::max(0LL, card.closing + difference);
        const long long bookValue = ValueOf(card.closing, material.price);
        const long long differenceValue = ValueOf(counted, material.price) - bookValue;
        bookTotal += bookValue;
        differenceTotal += differenceValue;
        file.Add(
            table.Row({material.code, material.name, material.unit, Money(material.price),
                       Amount(card.closing, material), Money(bookValue), Amount(counted, material),
                       Amount(counted - card.closing, material), Money(differenceValue),
                       counted < card.closing   ? "manko"
                       : counted > card.closing ? "prebytok"
                                                : ""}));
    }
    file.Add(table.Separator());
    file.Add(
        table.Row({"", "Spolu", "", "", "", Money(bookTotal), "", "", Money(differenceTotal), ""}));
    file.Add(table.Bottom());
    file.AddBlank(2);
    file.Add(Oem("Inventúra vykonaná dňa " + date + ".   Podpisy členov komisie: " +
                 "......................   ......................   ......................"));
    return file.Finish();
}

} // namespace demohost
