#include "text/Date.h"

#include <windows.h>

namespace {

// Days before each month, common and leap year; the last entry is the year.
constexpr unsigned short s_aDaysBefore[2][13] = {
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366}};

// Day numbers past 32 bits reach years in the millions; everything on years
// runs in 64 bits so that no intermediate wraps.
using Year = unsigned long long;

bool LeapYear(Year year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Day number of 31 December of the year before (0 for year 1).
unsigned long long DaysBeforeYear(Year year)
{
    Year const y = year - 1;
    return y * 365 + y / 4 - y / 100 + y / 400;
}

unsigned long DayNumber(unsigned long date)
{
    unsigned long const year = date / 10000;
    unsigned long const month = date / 100 % 100;
    unsigned long const day = date % 100;
    if (year == 0 || year > 3000 || month > 12 || day > 31)
        return 0;
    unsigned long n = static_cast<unsigned long>(DaysBeforeYear(year)) + day;
    if (month)
        n += s_aDaysBefore[LeapYear(year)][month - 1];
    return n;
}

unsigned long DateOfDayNumber(unsigned long n)
{
    Year year = 0;
    unsigned long dayOfYear = n;
    bool leap = false;
    // The first 364 days fall into year 0 as a common year; dates made that
    // way have no day number of their own, as year 0 is outside the range.
    if (n > 364) {
        // The mean Gregorian year is 146,097 / 400 days; the estimate is off
        // by at most one year, and the steps put it right.
        year = static_cast<unsigned long long>(n) * 400 / 146097 + 1;
        unsigned long long before = DaysBeforeYear(year);
        while (n <= before)
            before = DaysBeforeYear(--year);
        for (unsigned long long next; n > (next = DaysBeforeYear(year + 1)); ++year)
            before = next;
        dayOfYear = static_cast<unsigned long>(n - before);
        leap = LeapYear(year);
    }
    unsigned long month = 1;
    unsigned long day = 0;
    if (dayOfYear) {
        // No month is longer than 31 days, so this guess is the month or the
        // one before it.
        unsigned long index = (dayOfYear - 1) / 31;
        if (dayOfYear > s_aDaysBefore[leap][index + 1])
            ++index;
        month = index + 1;
        day = dayOfYear - s_aDaysBefore[leap][index];
    }
    return static_cast<unsigned long>(year % 10000) * 10000 + month % 100 * 100 + day % 100;
}

} // namespace

Date::Date()
{
    SYSTEMTIME st;
    GetLocalTime(&st);
    m_nDate = static_cast<unsigned long>(st.wYear) * 10000 + st.wMonth * 100UL + st.wDay;
}

Date::Date(unsigned short day, unsigned short month, unsigned short year)
    : m_nDate(year % 10000UL * 10000 + month % 100UL * 100 + day % 100UL)
{
}

unsigned long Date::ChangeDate(unsigned long date)
{
    unsigned long const old = m_nDate;
    m_nDate = date;
    return old;
}

unsigned short Date::ChangeDay(unsigned short day)
{
    unsigned short const old = GetDay();
    m_nDate = m_nDate / 100 * 100 + day % 100UL;
    return old;
}

unsigned short Date::ChangeMonth(unsigned short month)
{
    unsigned short const old = GetMonth();
    m_nDate = m_nDate / 10000 * 10000 + month % 100UL * 100 + m_nDate % 100;
    return old;
}

unsigned short Date::ChangeYear(unsigned short year)
{
    unsigned short const old = GetYear();
    m_nDate = year % 10000UL * 10000 + m_nDate % 10000;
    return old;
}

DayOfWeek Date::GetDayOfWeek()
{
    return static_cast<DayOfWeek>((DayNumber(m_nDate) - 1) % 7);
}

unsigned short Date::GetDayOfYear() const
{
    unsigned long const month = m_nDate / 100 % 100;
    // A month beyond December has all twelve before it.
    unsigned long const before = month ? (month > 12 ? 12 : month - 1) : 0;
    return static_cast<unsigned short>(GetDay() + s_aDaysBefore[IsLeapYear()][before]);
}

unsigned short Date::GetDaysInMonth() const
{
    unsigned long const month = m_nDate / 100 % 100;
    if (month == 0 || month > 12)
        return 0;
    bool const leap = IsLeapYear();
    return static_cast<unsigned short>(s_aDaysBefore[leap][month] - s_aDaysBefore[leap][month - 1]);
}

unsigned short Date::GetDaysInYear() const
{
    return IsLeapYear() ? 366 : 365;
}

unsigned short Date::GetWeekOfYear() const
{
    unsigned long const d = GetDayOfYear();
    unsigned long const w = (DayNumber(m_nDate / 10000 * 10000 + 101) - 1) % 7;
    return static_cast<unsigned short>(d / 7 + 1 + (d % 7 > 7 - w ? 1 : 0));
}

bool Date::IsLeapYear() const
{
    return LeapYear(m_nDate / 10000);
}

bool Date::IsValid() const
{
    if (m_nDate / 10000 > 3000)
        return false;
    unsigned long const month = m_nDate / 100 % 100;
    if (month > 12)
        return false;
    unsigned long const day = m_nDate % 100;
    return month == 0 ? day == 0 : day <= GetDaysInMonth();
}

Date Date::operator++(int)
{
    Date const old(*this);
    ++*this;
    return old;
}

Date &Date::operator++()
{
    if (m_nDate)
        *this += 1;
    return *this;
}

Date Date::operator--(int)
{
    Date const old(*this);
    --*this;
    return old;
}

Date &Date::operator--()
{
    // -= already leaves the empty date alone.
    return *this -= 1;
}

Date &Date::operator+=(unsigned long n)
{
    unsigned long long const sum = static_cast<unsigned long long>(DayNumber(m_nDate)) + n;
    m_nDate = sum > 0xFFFFFFFFULL ? 0 : DateOfDayNumber(static_cast<unsigned long>(sum));
    return *this;
}

Date &Date::operator-=(unsigned long n)
{
    if (m_nDate) {
        unsigned long const day = DayNumber(m_nDate);
        m_nDate = n > day ? 0 : DateOfDayNumber(day - n);
    }
    return *this;
}

Date operator+(Date const &date, unsigned long n)
{
    Date r(date);
    r += n;
    return r;
}

Date operator-(Date const &date, unsigned long n)
{
    Date r(date);
    r -= n;
    return r;
}

unsigned long operator-(Date const &a, Date const &b)
{
    unsigned long const da = DayNumber(a.GetDate());
    unsigned long const db = DayNumber(b.GetDate());
    return da > db ? da - db : 0;
}

bool operator==(Date const &a, Date const &b) { return a.GetDate() == b.GetDate(); }
bool operator!=(Date const &a, Date const &b) { return a.GetDate() != b.GetDate(); }
bool operator<(Date const &a, Date const &b) { return a.GetDate() < b.GetDate(); }
bool operator<=(Date const &a, Date const &b) { return a.GetDate() <= b.GetDate(); }
bool operator>(Date const &a, Date const &b) { return a.GetDate() > b.GetDate(); }
bool operator>=(Date const &a, Date const &b) { return a.GetDate() >= b.GetDate(); }
