// Date against the platform calendar, a civil-from-days formula, and edge rules.
#include "text/Date.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <windows.h>

// Packed as yyyymmdd, which reads well enough in a failure message.
void PrintTo(Date const &d, std::ostream *os) { *os << d.GetDate(); }

namespace {

// 1600 years are four 400-year cycles of 146,097 days, so 1 January 1601, the
// FILETIME origin, follows day 4 * 146,097 of the count that starts at 1.
constexpr unsigned long kDay1601 = 4 * 146097UL + 1;
constexpr unsigned long long kTicksPerDay = 864000000000ULL;

unsigned long DayNumber(Date const &d) { return d - Date(0UL); }
Date DateOfDayNumber(unsigned long n) { return Date(0UL) + n; }

SYSTEMTIME PlatformDay(unsigned long n)
{
    ULARGE_INTEGER t;
    t.QuadPart = (n - kDay1601) * kTicksPerDay;
    FILETIME ft{t.LowPart, t.HighPart};
    SYSTEMTIME st{};
    FileTimeToSystemTime(&ft, &st);
    return st;
}

// 0 when the platform rejects the date.
unsigned long PlatformDayNumber(unsigned y, unsigned m, unsigned d)
{
    SYSTEMTIME st{WORD(y), WORD(m), 0, WORD(d), 0, 0, 0, 0};
    FILETIME ft;
    if (!SystemTimeToFileTime(&st, &ft))
        return 0;
    ULARGE_INTEGER t{{ft.dwLowDateTime, ft.dwHighDateTime}};
    return static_cast<unsigned long>(t.QuadPart / kTicksPerDay) + kDay1601;
}

// The calendar repeats every 400 years, which carries the platform's month
// lengths back before 1601. The length is read as the day before the next
// month's first: Wine's SystemTimeToFileTime accepts 29 February 2001.
unsigned PlatformMonthLength(unsigned y, unsigned m)
{
    if (y < 1601)
        y += 2000;
    return PlatformDay(PlatformDayNumber(y + m / 12, m % 12 + 1, 1) - 1).wDay;
}

Date FromSystemTime(SYSTEMTIME const &st) { return Date(st.wDay, st.wMonth, st.wYear); }

} // namespace

TEST(DateCalendar, EveryDayAgreesWithThePlatform)
{
    unsigned long const last = PlatformDayNumber(9999, 12, 31);
    Date previous(0UL), d(0UL);
    unsigned yearDays = 0, monthDays = 0, week = 0;
    bool mondayYear = false;
    for (unsigned long n = kDay1601; n <= last + 1 && !HasFailure(); ++n, previous = d) {
        SYSTEMTIME const st = PlatformDay(n);
        if (st.wDay == 1 && n > kDay1601) {
            // The previous day ended its month, and maybe its year.
            EXPECT_EQ(previous.GetDaysInMonth(), monthDays);
            if (st.wMonth == 1) {
                EXPECT_EQ(previous.GetDaysInYear(), yearDays);
                EXPECT_EQ(previous.IsLeapYear(), yearDays == 366);
                yearDays = 0;
            }
            monthDays = 0;
        }
        if (n > last)
            break;
        ++monthDays;
        DayOfWeek const dow = static_cast<DayOfWeek>((st.wDayOfWeek + 6) % 7);
        if (++yearDays == 1) {
            week = 1;
            mondayYear = dow == DayMonday;
        } else if (dow == DayMonday) {
            ++week;
        }

        d = FromSystemTime(st);
        EXPECT_EQ(DateOfDayNumber(n), d);
        EXPECT_LT(previous, d);
        if (st.wYear > 3000) {
            // Beyond the calendar range a date is only packed and compared.
            EXPECT_FALSE(d.IsValid());
            EXPECT_EQ(DayNumber(d), 0UL);
            continue;
        }
        EXPECT_TRUE(d.IsValid());
        EXPECT_EQ(DayNumber(d), n);
        EXPECT_EQ(d.GetDayOfWeek(), dow);
        EXPECT_EQ(d.GetDayOfYear(), yearDays);
        EXPECT_EQ(d.GetWeekOfYear(), week + (mondayYear && dow == DaySunday ? 1 : 0));
        if (n > kDay1601) {
            Date back = d, forward = previous;
            EXPECT_EQ(--back, previous);
            EXPECT_EQ(forward++, previous);
            EXPECT_EQ(forward, d);
        }
    }
    if (HasFailure())
        ADD_FAILURE() << "first disagreement at " << ::testing::PrintToString(d);
}

// Past 9999 the year wraps mod 10,000; the civil-from-days formula on days
// since 1970 is the reference.
TEST(DateCalendar, LargeDayNumbersAgreeWithCivilFromDays)
{
    unsigned long const day1970 = PlatformDayNumber(1970, 1, 1);
    std::mt19937 rng(7);
    std::uniform_int_distribution<unsigned long> pick(PlatformDayNumber(9999, 12, 31), 0xFFFFFFFFUL);
    for (int i = 0; i < 100000; ++i) {
        unsigned long const n = i == 0 ? 0xFFFFFFFFUL : pick(rng);
        long long const z = static_cast<long long>(n) - day1970 + 719468, era = z / 146097;
        unsigned const doe = static_cast<unsigned>(z - era * 146097);
        unsigned const yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
        unsigned const doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
        unsigned const mp = (5 * doy + 2) / 153;
        unsigned const m = mp < 10 ? mp + 3 : mp - 9;
        long long const y = yoe + era * 400 + (m <= 2);
        ASSERT_EQ(DateOfDayNumber(n), Date(WORD(doy - (153 * mp + 2) / 5 + 1), WORD(m), WORD(y % 10000))) << n;
    }
}

// Before 1601 the platform has no calendar; the rest of these examples are
// covered day by day above and below.
TEST(DateCalendar, BeforeThePlatformsCalendarAndBetween)
{
    EXPECT_EQ(Date(1, 1, 1).GetDayOfWeek(), DayMonday);
    EXPECT_EQ(Date(15, 10, 1582).GetDayOfWeek(), DayFriday);
    EXPECT_EQ(Date(1, 3, 1600) - Date(1, 2, 1600), 29UL);
    EXPECT_TRUE(Date(1, 3, 2024).IsBetween(Date(1, 3, 2024), Date(1, 3, 2024)));
    EXPECT_FALSE(Date(2, 3, 2024).IsBetween(Date(1, 2, 2024), Date(1, 3, 2024)));
}

TEST(DateValidity, FieldCombinations)
{
    for (unsigned y : {0u, 1u, 4u, 100u, 400u, 1600u, 1900u, 2000u, 2023u, 2024u, 3000u, 3001u, 9999u}) {
        for (unsigned m = 0; m < 100; ++m) {
            unsigned const len = m >= 1 && m <= 12 ? PlatformMonthLength(y, m) : 0;
            // Day 0 of a month and month 0 count on from the day before.
            unsigned long const before =
                y >= 1601 && y <= 3000 && m <= 12 ? PlatformDayNumber(y, m ? m : 1, 1) - 1 : 0;
            for (unsigned d = 0; d < 100; ++d) {
                Date date{WORD(d), WORD(m), WORD(y)};
                SCOPED_TRACE(::testing::PrintToString(date));
                ASSERT_EQ(date.IsValid(), y <= 3000 && m <= 12 && (m == 0 ? d == 0 : d <= len));
                ASSERT_EQ(date.GetDaysInMonth(), len);
                // A month beyond December has the whole year before it.
                if (m > 12) {
                    ASSERT_EQ(date.GetDayOfYear(), date.GetDaysInYear() + d);
                }
                if (y == 0 || y > 3000 || m > 12 || d > 31) {
                    ASSERT_EQ(DayNumber(date), 0UL);
                } else if (before) {
                    ASSERT_EQ(DayNumber(date), before + d);
                    ASSERT_EQ(date + 0UL, FromSystemTime(PlatformDay(before + d)));
                }
            }
        }
    }
}

// Dates without a day number take part in arithmetic as day 0.
TEST(DateValidity, InvalidDatesCountAsDayZero)
{
    for (Date bad : {Date(15, 13, 2024), Date(32, 1, 2024), Date(1, 1, 3001), Date(5, 1, 0)}) {
        EXPECT_EQ(Date(1, 1, 2000) - bad, PlatformDayNumber(2000, 1, 1));
        EXPECT_EQ(bad - 1UL, Date(0UL));
        EXPECT_EQ(bad + 1UL, Date(1, 1, 0));
        EXPECT_EQ(bad.GetDayOfWeek(), DayThursday);
    }
}

TEST(DateValidity, ArbitraryPackedValues)
{
    std::mt19937 rng(3);
    for (int i = 0; i < 200000 && !HasFailure(); ++i) {
        Date d(static_cast<unsigned long>(rng()));
        EXPECT_LE(unsigned(d.GetDayOfWeek()), 6u);
        EXPECT_LE(d.GetDaysInMonth(), 31u);
        EXPECT_LE(d.GetWeekOfYear(), 68u);
        d += static_cast<unsigned long>(rng());
        d -= static_cast<unsigned long>(rng());
        EXPECT_TRUE(d.GetDate() == 0 || (d.GetMonth() >= 1 && d.GetMonth() <= 12 && d.GetDay() <= 31))
            << d.GetDate();
    }
}

// The empty date is day 0; day numbers up to 364 land in year 0, counted as a
// common year; below day 0 and beyond 32 bits there is only the empty date.
TEST(DateArithmetic, EmptyDateYearZeroAndClamping)
{
    Date e(0UL);
    EXPECT_EQ(++e, Date(0UL));
    EXPECT_EQ(--e, Date(0UL));
    EXPECT_EQ(e - 5UL, Date(0UL));
    EXPECT_EQ(e - Date(1, 1, 2024), 0UL);
    EXPECT_EQ(Date(1, 1, 2024) - e, PlatformDayNumber(2024, 1, 1));
    EXPECT_EQ(e + PlatformDayNumber(2024, 2, 29), Date(29, 2, 2024));
    EXPECT_EQ(e + 0UL, Date(0, 1, 0));
    EXPECT_EQ(e + 364UL, Date(30, 12, 0));
    EXPECT_EQ(e + 365UL, Date(31, 12, 1));
    EXPECT_EQ(e += 366UL, Date(1, 1, 2));
    EXPECT_EQ(Date(5, 1, 1) - 5UL, Date(0, 1, 0));
    EXPECT_EQ(Date(5, 1, 1) - 10UL, Date(0UL));
    Date d(5, 1, 1), z(1, 1, 0);
    EXPECT_EQ(d -= 10UL, Date(0UL));
    EXPECT_EQ(--z, Date(0UL));

    unsigned long const n = DayNumber(Date(31, 12, 3000));
    EXPECT_EQ(Date(31, 12, 3000) + (0xFFFFFFFFUL - n), DateOfDayNumber(0xFFFFFFFFUL));
    EXPECT_EQ(Date(31, 12, 3000) + (0x100000000ULL - n), Date(0UL));
    Date last(31, 12, 3000);
    EXPECT_EQ(last += 0xFFFFFFFFUL, Date(0UL));
}

TEST(DateFields, PackingAndChanges)
{
    Date d(123, 245, 12345);
    EXPECT_EQ(d.GetDate(), 23454523UL);
    EXPECT_EQ(d.ChangeDay(131), 23);
    EXPECT_EQ(d.ChangeMonth(112), 45);
    EXPECT_EQ(d.ChangeYear(20240), 2345);
    EXPECT_EQ(d.GetDate(), 2401231UL);
    EXPECT_EQ(d.ChangeDate(20240229UL), 2401231UL);
    EXPECT_EQ(d, Date(29, 2, 2024));
}

TEST(DateClock, TodayIsTheLocalDate)
{
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    Date const today;
    GetLocalTime(&after); // midnight may pass in between
    EXPECT_TRUE(today == FromSystemTime(before) || today == FromSystemTime(after)) << ::testing::PrintToString(today);
}
