#include "tools/demohost/SampleData.h"

#include <chrono>
#include <cstdio>

namespace demohost {

Month Month::Previous() const {
    return month == 1 ? Month{year - 1, 12} : Month{year, month - 1};
}

int Month::Days() const {
    const std::chrono::year_month_day_last last{std::chrono::year{year} /
                                                std::chrono::month{static_cast<unsigned>(month)} /
                                                std::chrono::last};
    return static_cast<int>(static_cast<unsigned>(last.day()));
}

std::string Month::Name() const {
    static const char* names[] = {"január",    "február", "marec",    "apríl",
                                  "máj",       "jún",     "júl",      "august",
                                  "september", "október", "november", "december"};
    return std::string(names[month - 1]) + " " + std::to_string(year);
}

std::string Month::Short() const {
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%04d", month, year);
    return text;
}

int Weekday(int year, int month, int day) {
    const std::chrono::weekday weekday{std::chrono::sys_days{
        std::chrono::year{year} / std::chrono::month{static_cast<unsigned>(month)} /
        std::chrono::day{static_cast<unsigned>(day)}}};
    return static_cast<int>(weekday.iso_encoding()) - 1; // Monday is 0
}

std::string WeekdayName(int weekday) {
    static const char* names[] = {"pondelok", "utorok", "streda", "štvrtok",
                                  "piatok",   "sobota", "nedeľa"};
    return names[weekday];
}

std::vector<int> Workdays(const Month& month) {
    std::vector<int> days;
    for (int day = 1; day <= month.Days(); ++day)
        if (Weekday(month.year, month.month, day) < 5) days.push_back(day);
    return days;
}

std::string DateText(int year, int month, int day) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", day, month, year);
    return text;
}

Sequence::Sequence(std::uint32_t seed) {
    // Neighbouring seeds must not give neighbouring sequences, so the seed is
    // scrambled first (the finishing steps of a well-known integer hash).
    seed ^= seed >> 16;
    seed *= 0x7feb352du;
    seed ^= seed >> 15;
    seed *= 0x846ca68bu;
    seed ^= seed >> 16;
    state_ = seed;
}

int Sequence::Between(int low, int high) {
    state_ = state_ * 1664525u + 1013904223u;
    const std::uint32_t span = static_cast<std::uint32_t>(high - low) + 1;
    return low + static_cast<int>((state_ >> 8) % span);
}

const std::vector<Employee>& Employees() {
    static const std::vector<Employee> list = {
        {1001, "Horváthová", "Mária", "riaditeľka", 1, 218500},
        {1002, "Kováč", "Ján", "zástupca riaditeľky", 1, 192000},
        {1003, "Šťastný", "Ľubomír", "ekonóm", 1, 148000},
        {1004, "Čierna", "Žofia", "mzdová účtovníčka", 1, 121000},
        {1005, "Ďurica", "Peter", "účtovník", 1, 118500},
        {1006, "Mäsiarová", "Zuzana", "referentka", 1, 104000},
        {1011, "Kôš", "Ivan", "majster odbornej výchovy", 2, 139000},
        {1012, "Nováková", "Katarína", "majsterka odbornej výchovy", 2, 137500},
        {1013, "Baláž", "Tomáš", "učiteľ", 2, 151000},
        {1014, "Lukáčová", "Eva", "učiteľka", 2, 149500},
        {1015, "Šimko", "Martin", "učiteľ", 2, 146000},
        {1016, "Hrušková", "Anna", "učiteľka", 2, 152500},
        {1017, "Vráblová", "Jana", "učiteľka", 2, 144000},
        {1018, "Gajdoš", "Róbert", "učiteľ", 2, 147500},
        {1021, "Ňachajová", "Helena", "vedúca školskej jedálne", 3, 112000},
        {1022, "Zubák", "Milan", "šéfkuchár", 3, 109500},
        {1023, "Pôbišová", "Renáta", "kuchárka", 3, 89000},
        {1024, "Štefánik", "Dušan", "kuchár", 3, 89000},
        {1025, "Žiaková", "Oľga", "pomocná kuchárka", 3, 76500},
        {1026, "Ťažký", "Jozef", "skladník", 3, 81000},
        {1027, "Čech", "Vladimír", "kuchár", 3, 88500},
        {1028, "Hudecová", "Lýdia", "pomocná sila", 3, 74000},
        {1031, "Mikuš", "Štefan", "údržbár", 4, 86000},
        {1032, "Fabová", "Alžbeta", "upratovačka", 4, 71000},
        {1033, "Jurčo", "Ondrej", "kurič", 4, 79500},
        {1034, "Krajčírová", "Viera", "upratovačka", 4, 71000},
        {1035, "Dóczy", "Attila", "vodič", 4, 84000},
        {1036, "Bystrická", "Ľudmila", "vrátnička", 4, 72500},
    };
    return list;
}

std::string FullName(const Employee& employee) {
    return employee.surname + " " + employee.firstName;
}

const std::vector<CostCentre>& CostCentres() {
    static const std::vector<CostCentre> list = {
        {1, "Správa školy"},
        {2, "Teoretické vyučovanie"},
        {3, "Školská jedáleň"},
        {4, "Prevádzka a údržba"},
    };
    return list;
}

const std::vector<Material>& Materials() {
    static const std::vector<Material> list = {
        {"100101", "Múka hladká špeciálna 00", "kg", 72},
        {"100102", "Múka polohrubá", "kg", 75},
        {"100110", "Cukor kryštálový", "kg", 98},
        {"100120", "Soľ jedlá jódovaná", "kg", 45},
        {"100130", "Ryža dlhozrnná", "kg", 189},
        {"100131", "Šošovica hnedá", "kg", 245},
        {"100132", "Fazuľa biela", "kg", 268},
        {"100140", "Cestoviny - kolienka", "kg", 154},
        {"200201", "Olej slnečnicový", "l", 215},
        {"200202", "Maslo 82 %", "kg", 878},
        {"200210", "Mlieko polotučné 1,5 %", "l", 89},
        {"200211", "Smotana na šľahanie 33 %", "l", 512},
        {"200212", "Tvaroh mäkký", "kg", 498},
        {"200213", "Bryndza", "kg", 1190},
        {"200214", "Syr eidam 30 %", "kg", 765},
        {"200220", "Vajcia čerstvé L", "ks", 22},
        {"300301", "Bravčové stehno", "kg", 689},
        {"300302", "Hovädzie zadné", "kg", 1045},
        {"300303", "Kuracie prsné rezne", "kg", 745},
        {"300304", "Údená slanina", "kg", 812},
        {"400401", "Zemiaky konzumné", "kg", 62},
        {"400402", "Cibuľa žltá", "kg", 85},
        {"400403", "Cesnak", "kg", 520},
        {"400404", "Mrkva", "kg", 78},
        {"400405", "Kapusta kyslá", "kg", 135},
        {"400406", "Paradajkový pretlak", "kg", 398},
        {"500501", "Paprika sladká mletá", "kg", 1580},
        {"500502", "Rasca celá", "kg", 1240},
        {"500503", "Bobkový list", "kg", 2890},
        {"500504", "Čierne korenie mleté", "kg", 2450},
        {"600601", "Chlieb konzumný", "ks", 145},
        {"600602", "Knedľa parená", "ks", 118},
    };
    return list;
}

const std::vector<Dish>& Dishes() {
    // Quantities are per portion, in thousandths of the material's unit.
    static const std::vector<Dish> list = {
        {"Segedínsky guláš, knedľa", {{16, 120}, {24, 80}, {21, 30}, {8, 8}, {26, 2}, {31, 250}}},
        {"Bryndzové halušky so slaninou", {{20, 180}, {1, 90}, {13, 60}, {19, 25}, {3, 3}}},
        {"Kurací rezeň, ryža, kompót", {{18, 130}, {0, 15}, {15, 250}, {4, 70}, {8, 12}}},
        {"Šošovicový prívarok, vajce, chlieb",
         {{5, 70}, {21, 15}, {0, 10}, {8, 10}, {15, 1000}, {30, 125}}},
        {"Sviečková na smotane, knedľa",
         {{17, 110}, {23, 40}, {11, 50}, {21, 20}, {2, 5}, {31, 250}}},
        {"Vyprážaný syr, zemiaky, tatárska omáčka",
         {{14, 100}, {0, 20}, {15, 500}, {8, 25}, {20, 200}}},
        {"Fazuľový prívarok s údeným mäsom", {{6, 40}, {19, 15}, {21, 10}, {26, 1}, {3, 2}}},
        {"Kapustové fliačky so slaninou", {{24, 120}, {19, 20}, {21, 10}, {26, 2}, {27, 1}}},
        {"Rizoto s kuracím mäsom, uhorka", {{4, 80}, {18, 90}, {23, 30}, {9, 10}, {3, 2}}},
        {"Tvarohové pirohy so smotanou", {{12, 90}, {1, 80}, {15, 250}, {11, 20}, {2, 15}}},
    };
    return list;
}

} // namespace demohost
