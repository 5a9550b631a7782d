#pragma once
// Date: a calendar day packed into one number that reads as YYYYMMDD, so that
// dates copy as integers and sort by plain comparison. 0 is the empty date.
//
// Arithmetic runs on day numbers: 1 January of year 1 is day 1 of the
// proleptic Gregorian calendar. Only years 1 to 3000 with month <= 12 and
// day <= 31 have a day number; everything else counts as day 0, so that a
// broken date can never move arithmetic somewhere plausible. A day beyond the
// month's end (31 April) is not rejected by the arithmetic: it counts on into
// the next month, and any arithmetic result is a normalised date.
#include "frame/Kestrel5Api.h"

enum DayOfWeek
{
    DayMonday = 0,
    DayTuesday = 1,
    DayWednesday = 2,
    DayThursday = 3,
    DayFriday = 4,
    DaySaturday = 5,
    DaySunday = 6
};

class KSAPI Date
{
public:
    // Today, from the local time of the system clock.
    Date();
    // Packs the fields as given (day and month mod 100, year mod 10,000);
    // nothing is validated.
    Date(unsigned short day, unsigned short month, unsigned short year);
    Date(unsigned long date) : m_nDate(date) {}
    Date(Date const &other) : m_nDate(other.m_nDate) {}
    Date &operator=(Date const &other)
    {
        m_nDate = other.m_nDate;
        return *this;
    }

    unsigned long GetDate() const { return m_nDate; }
    unsigned long ChangeDate(unsigned long date);

    unsigned short GetDay() const { return static_cast<unsigned short>(m_nDate % 100); }
    unsigned short GetMonth() const { return static_cast<unsigned short>(m_nDate / 100 % 100); }
    unsigned short GetYear() const { return static_cast<unsigned short>(m_nDate / 10000); }
    // Each returns the previous field.
    unsigned short ChangeDay(unsigned short day);
    unsigned short ChangeMonth(unsigned short month);
    unsigned short ChangeYear(unsigned short year);

    // Counted in unsigned 32 bits, so a date without a day number answers
    // (2^32 - 1) mod 7 = DayThursday rather than something out of range.
    DayOfWeek GetDayOfWeek();
    unsigned short GetDayOfYear() const;
    // 0 for month 0 or above 12.
    unsigned short GetDaysInMonth() const;
    unsigned short GetDaysInYear() const;
    // Weeks begin on Monday and the partial week of 1 January is week 1; in a
    // year that begins on a Monday each Sunday already counts to the next week.
    unsigned short GetWeekOfYear() const;
    bool IsLeapYear() const;
    // Year <= 3000, month <= 12, day within the month; day 0 is accepted, and
    // month 0 only together with day 0.
    bool IsValid() const;
    bool IsBetween(Date const &a, Date const &b) const { return a.m_nDate <= m_nDate && m_nDate <= b.m_nDate; }

    // One day later or earlier; the empty date stays empty.
    Date operator++(int);
    Date &operator++();
    Date operator--(int);
    Date &operator--();
    // n days later; the empty date becomes the date of day number n. A sum
    // beyond 32 bits gives the empty date.
    Date &operator+=(unsigned long n);
    // n days earlier; the empty date stays empty, and going below day 0 gives
    // the empty date.
    Date &operator-=(unsigned long n);

private:
    unsigned long m_nDate;
};

KSAPI Date operator+(Date const &date, unsigned long n);
KSAPI Date operator-(Date const &date, unsigned long n);
// Days from b to a, 0 when b is later. An empty b counts as day 0, so
// "a - Date(0UL)" is the day number of a.
KSAPI unsigned long operator-(Date const &a, Date const &b);

KSAPI bool operator==(Date const &a, Date const &b);
KSAPI bool operator!=(Date const &a, Date const &b);
KSAPI bool operator<(Date const &a, Date const &b);
KSAPI bool operator<=(Date const &a, Date const &b);
KSAPI bool operator>(Date const &a, Date const &b);
KSAPI bool operator>=(Date const &a, Date const &b);
