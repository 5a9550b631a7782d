// Day-count conversion through Date, both ways, against the plain
// civil-from-days / days-from-civil formulas on the same 10^6 days.
#include "bench/BenchHarness.h"
#include "text/Date.h"

#include <cstdio>
#include <random>
#include <vector>

namespace {

// Day number of 1 January 1970 in a count where 1 January of year 1 is day 1.
constexpr long long kDay1970 = 719163;

unsigned long CivilFromDays(unsigned long n)
{
    long long const z = static_cast<long long>(n) - kDay1970 + 719468;
    long long const era = (z >= 0 ? z : z - 146096) / 146097;
    unsigned const doe = static_cast<unsigned>(z - era * 146097);
    unsigned const yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    unsigned const doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    unsigned const mp = (5 * doy + 2) / 153;
    unsigned const d = doy - (153 * mp + 2) / 5 + 1;
    unsigned const m = mp < 10 ? mp + 3 : mp - 9;
    long long const y = yoe + era * 400 + (m <= 2);
    return static_cast<unsigned long>(y % 10000 * 10000 + m * 100 + d);
}

unsigned long DaysFromCivil(unsigned long packed)
{
    long long y = packed / 10000;
    unsigned const m = packed / 100 % 100, d = packed % 100;
    y -= m <= 2;
    long long const era = (y >= 0 ? y : y - 399) / 400;
    unsigned const yoe = static_cast<unsigned>(y - era * 400);
    unsigned const doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    unsigned const doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return static_cast<unsigned long>(era * 146097 + doe - 719468 + kDay1970);
}

} // namespace

int main()
{
    // Days of 1601 to 3000, the range where dates have day numbers both ways.
    std::mt19937 rng(1);
    std::uniform_int_distribution<unsigned long> pick(584389, 1095727);
    std::vector<unsigned long> days(1000000), packed(days.size());
    for (std::size_t i = 0; i < days.size(); ++i) {
        days[i] = pick(rng);
        packed[i] = CivilFromDays(days[i]);
        if ((Date(0UL) + days[i]).GetDate() != packed[i] || Date(packed[i]) - Date(0UL) != days[i]) {
            std::printf("DateBench: Date and the formula disagree on day %lu\n", days[i]);
            return 1;
        }
    }

    int const rounds = 11;
    unsigned long sink = 0;
    bench::Compare("day number -> date, 10^6 days", "civil-from-days", rounds,
        [&] { for (unsigned long n : days) sink += CivilFromDays(n); },
        [&] { for (unsigned long n : days) sink += (Date(0UL) + n).GetDate(); });
    bench::Compare("date -> day number, 10^6 dates", "days-from-civil", rounds,
        [&] { for (unsigned long p : packed) sink += DaysFromCivil(p); },
        [&] { for (unsigned long p : packed) sink += Date(p) - Date(0UL); });
    bench::Keep(sink);
    return 0;
}
