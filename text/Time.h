#pragma once
// Time: a time of day or a duration packed into one signed number that reads
// as HHMMSShh (hundredths last); a negative value is a negative duration.
// Hours are not limited to 23. Arithmetic converts to a count of hundredths
// and packs the result again, which also normalises fields a caller stored
// out of range. The packing holds up to 2,147 hours; beyond that the value
// wraps in 32 bits instead of failing.
#include "frame/Kestrel5Api.h"

class KSAPI Time
{
public:
    // The current local time of day, hundredths 0.
    Time();
    // Overflowing fields carry: 100 hundredths to a second, 60 seconds to a
    // minute, 60 minutes to an hour.
    Time(unsigned short hour, unsigned short min, unsigned short sec, unsigned short sec100);
    Time(long time) : m_nTime(time) {}
    Time(Time const &other) : m_nTime(other.m_nTime) {}
    Time &operator=(Time const &other)
    {
        m_nTime = other.m_nTime;
        return *this;
    }

    long GetTime() const { return m_nTime; }
    long ChangeTime(long time);

    // Fields of the absolute value.
    unsigned short GetHour() const;
    unsigned short GetMin() const;
    unsigned short GetSec() const;
    unsigned short Get100Sec() const;
    // Each keeps the sign and returns the previous field. Minutes and seconds
    // are taken mod 60, hundredths mod 100; the hour is not limited.
    unsigned short ChangeHour(unsigned short hour);
    unsigned short ChangeMin(unsigned short min);
    unsigned short ChangeSec(unsigned short sec);
    unsigned short Change100Sec(unsigned short sec100);

    Time operator-();
    Time &operator+=(Time const &other);
    Time &operator-=(Time const &other);

    // Packs a count of hundredths, keeping its sign.
    static Time Sec100ToTime(long sec100);

    bool IsBetween(Time const &a, Time const &b) const { return a.m_nTime <= m_nTime && m_nTime <= b.m_nTime; }

private:
    unsigned long Magnitude() const;
    long ToSec100() const;
    void SetMagnitude(unsigned long long magnitude, bool negative);

    long m_nTime;
};

KSAPI Time operator+(Time const &a, Time const &b);
KSAPI Time operator-(Time const &a, Time const &b);
