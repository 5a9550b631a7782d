// Locale formatting against the platform's own formatting functions on the
// same values, with the same separators. Both sides must write the same
// texts, so that a wrong result cannot pass for a fast one.
#include "bench/BenchHarness.h"
#include "frame/KSGlobal.h"
#include "text/International.h"

#include <cstdio>
#include <random>
#include <string>
#include <vector>
#include <windows.h>

int main()
{
    KSInit();
    int failures = 0;
    {
        International intl(CountryUSA, LanguageEnglishUS);
        std::mt19937 rng(5);
        std::vector<long> values(100000);
        for (long &v : values)
            v = static_cast<long>(rng() % 2000000000u) - 1000000000;
        char decimal[] = ".", thousand[] = ",";
        NUMBERFMTA format{2, 1, 3, decimal, thousand, 1};
        std::string lastPlatform, lastOurs;
        bench::Compare("10^5 numbers with 2 decimals", "GetNumberFormat", 5,
            [&] {
                char in[32], out[64];
                for (long v : values) {
                    long const whole = v / 100, cents = v < 0 ? -(v % 100) : v % 100;
                    std::snprintf(in, sizeof in, "%s%ld.%02ld", v < 0 && whole == 0 ? "-" : "", whole, cents);
                    GetNumberFormatA(LOCALE_USER_DEFAULT, 0, in, &format, out, sizeof out);
                }
                lastPlatform = out;
            },
            [&] {
                SString s;
                for (long v : values)
                    s = intl.GetNum(v, 2);
                lastOurs = s.GetStr();
            });
        if (lastPlatform != lastOurs) {
            std::printf("LocaleBench: numbers differ: %s / %s\n", lastPlatform.c_str(), lastOurs.c_str());
            ++failures;
        }

        std::vector<SYSTEMTIME> days(100000);
        for (SYSTEMTIME &d : days) {
            d = SYSTEMTIME{};
            d.wYear = WORD(1900 + rng() % 200);
            d.wMonth = WORD(1 + rng() % 12);
            d.wDay = WORD(1 + rng() % 28);
        }
        bench::Compare("10^5 short dates", "GetDateFormat", 5,
            [&] {
                char out[64];
                for (SYSTEMTIME const &d : days)
                    GetDateFormatA(LOCALE_USER_DEFAULT, 0, &d, "MM'/'dd'/'yyyy", out, sizeof out);
                lastPlatform = out;
            },
            [&] {
                SString s;
                for (SYSTEMTIME const &d : days)
                    s = intl.GetDate(Date(d.wDay, d.wMonth, d.wYear));
                lastOurs = s.GetStr();
            });
        if (lastPlatform != lastOurs) {
            std::printf("LocaleBench: dates differ: %s / %s\n", lastPlatform.c_str(), lastOurs.c_str());
            ++failures;
        }
    }
    KSExit();
    return failures ? 1 : 0;
}
