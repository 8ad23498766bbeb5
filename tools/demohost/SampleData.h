#pragma once
// The made-up firm behind the demo: its people, stock and kitchen. Everything is
// fixed or drawn from a seeded sequence, so the same month gives the same files.

#include <cstdint>
#include <string>
#include <vector>

namespace demohost {

struct Month {
    int year;
    int month; // 1-12

    Month Previous() const;
    int Days() const;
    // "december 2026"
    std::string Name() const;
    // "12/2026"
    std::string Short() const;
};

// 0 for Monday up to 6 for Sunday.
int Weekday(int year, int month, int day);
// "pondelok" ... "nedeľa"
std::string WeekdayName(int weekday);
// Days of the month from Monday to Friday.
std::vector<int> Workdays(const Month& month);

// "08.12.2026"
std::string DateText(int year, int month, int day);

// A small deterministic sequence (a linear congruential generator): the demo's
// numbers look varied but never change between runs.
class Sequence {
  public:
    explicit Sequence(std::uint32_t seed);
    // A number from `low` to `high`, both included.
    int Between(int low, int high);

  private:
    std::uint32_t state_;
};

inline constexpr const char* kFirmName = "Stredná odborná škola hotelová, Žilina";
inline constexpr const char* kFirmShort = "SOŠ hotelová Žilina";
inline constexpr const char* kFirmIco = "00158542";

struct Employee {
    int number;
    std::string surname;
    std::string firstName;
    std::string position;
    int centre;     // cost centre (stredisko)
    long long wage; // monthly base wage in hundredths
};
const std::vector<Employee>& Employees();
// "Horváthová Mária"
std::string FullName(const Employee& employee);

struct CostCentre {
    int number;
    std::string name;
};
const std::vector<CostCentre>& CostCentres();

struct Material {
    std::string code;
    std::string name;
    std::string unit;
    long long price; // per unit, in hundredths
};
const std::vector<Material>& Materials();

struct Ingredient {
    std::size_t material; // index into Materials()
    long long perPortion; // thousandths of the material's unit
};
struct Dish {
    std::string name;
    std::vector<Ingredient> ingredients;
};
const std::vector<Dish>& Dishes();

} // namespace demohost
