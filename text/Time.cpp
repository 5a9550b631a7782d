#include "text/Time.h"

#include <windows.h>

namespace {

// Packs a magnitude of hundredths as HHMMSShh; 64 bits so that long
// durations wrap in one place (SetMagnitude) rather than midway.
unsigned long long PackSec100(unsigned long long sec100)
{
    unsigned long long const hours = sec100 / 360000;
    unsigned long long rest = sec100 % 360000;
    unsigned long long const minutes = rest / 6000;
    rest %= 6000;
    return hours * 1000000 + minutes * 10000 + rest / 100 * 100 + rest % 100;
}

} // namespace

Time::Time()
{
    SYSTEMTIME st;
    GetLocalTime(&st);
    m_nTime = st.wHour * 1000000L + st.wMinute * 10000L + st.wSecond * 100L;
}

Time::Time(unsigned short hour, unsigned short min, unsigned short sec, unsigned short sec100)
    : m_nTime(0)
{
    unsigned long long const total = ((static_cast<unsigned long long>(hour) * 60 + min) * 60 + sec) * 100 + sec100;
    SetMagnitude(PackSec100(total), false);
}

long Time::ChangeTime(long time)
{
    long const old = m_nTime;
    m_nTime = time;
    return old;
}

// The magnitude is unsigned: the most negative value has no positive
// counterpart in a long.
unsigned long Time::Magnitude() const
{
    unsigned long const raw = static_cast<unsigned long>(m_nTime);
    return m_nTime < 0 ? 0UL - raw : raw;
}

void Time::SetMagnitude(unsigned long long magnitude, bool negative)
{
    unsigned long const raw = static_cast<unsigned long>(magnitude);
    m_nTime = static_cast<long>(negative ? 0UL - raw : raw);
}

long Time::ToSec100() const
{
    unsigned long const m = Magnitude();
    long const sec100 = ((static_cast<long>(m / 1000000) * 60 + static_cast<long>(m / 10000 % 100)) * 60 +
                            static_cast<long>(m / 100 % 100)) * 100 + static_cast<long>(m % 100);
    return m_nTime < 0 ? -sec100 : sec100;
}

unsigned short Time::GetHour() const { return static_cast<unsigned short>(Magnitude() / 1000000); }
unsigned short Time::GetMin() const { return static_cast<unsigned short>(Magnitude() / 10000 % 100); }
unsigned short Time::GetSec() const { return static_cast<unsigned short>(Magnitude() / 100 % 100); }
unsigned short Time::Get100Sec() const { return static_cast<unsigned short>(Magnitude() % 100); }

unsigned short Time::ChangeHour(unsigned short hour)
{
    unsigned short const old = GetHour();
    SetMagnitude(hour * 1000000ULL + Magnitude() % 1000000, m_nTime < 0);
    return old;
}

unsigned short Time::ChangeMin(unsigned short min)
{
    unsigned short const old = GetMin();
    unsigned long long const m = Magnitude();
    SetMagnitude(m - old * 10000ULL + min % 60 * 10000ULL, m_nTime < 0);
    return old;
}

unsigned short Time::ChangeSec(unsigned short sec)
{
    unsigned short const old = GetSec();
    unsigned long long const m = Magnitude();
    SetMagnitude(m - old * 100ULL + sec % 60 * 100ULL, m_nTime < 0);
    return old;
}

unsigned short Time::Change100Sec(unsigned short sec100)
{
    unsigned short const old = Get100Sec();
    unsigned long long const m = Magnitude();
    SetMagnitude(m - old + sec100 % 100, m_nTime < 0);
    return old;
}

Time Time::operator-()
{
    Time r(*this);
    r.SetMagnitude(Magnitude(), m_nTime > 0);
    return r;
}

Time &Time::operator+=(Time const &other)
{
    long long const sum = static_cast<long long>(ToSec100()) + other.ToSec100();
    SetMagnitude(PackSec100(static_cast<unsigned long long>(sum < 0 ? -sum : sum)), sum < 0);
    return *this;
}

Time &Time::operator-=(Time const &other)
{
    long long const diff = static_cast<long long>(ToSec100()) - other.ToSec100();
    SetMagnitude(PackSec100(static_cast<unsigned long long>(diff < 0 ? -diff : diff)), diff < 0);
    return *this;
}

Time Time::Sec100ToTime(long sec100)
{
    long long const v = sec100;
    Time r(0L);
    r.SetMagnitude(PackSec100(static_cast<unsigned long long>(v < 0 ? -v : v)), v < 0);
    return r;
}

Time operator+(Time const &a, Time const &b)
{
    Time r(a);
    r += b;
    return r;
}

Time operator-(Time const &a, Time const &b)
{
    Time r(a);
    r -= b;
    return r;
}
