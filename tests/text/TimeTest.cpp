// Time: packing with carries, arithmetic against a plain count of hundredths,
// the sign rules of the field changes, and the clock.
#include "text/Time.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <windows.h>

namespace {

// The duration a Time stands for, read from its fields and sign alone.
long long Sec100(Time const &t)
{
    long long const v = ((t.GetHour() * 60LL + t.GetMin()) * 60 + t.GetSec()) * 100 + t.Get100Sec();
    return t.GetTime() < 0 ? -v : v;
}

bool Normalised(Time const &t) { return t.GetMin() < 60 && t.GetSec() < 60 && t.Get100Sec() < 100; }

// About 1,000 hours either way: sums and differences stay below the 2,147
// hours the packing holds.
constexpr long kRange = 1000L * 360000;

} // namespace

// Ordinary values are covered by the random comparisons below; the most
// negative value has no positive counterpart in 32 bits.
TEST(TimePacking, MostNegativeValue)
{
    Time const t(LONG_MIN);
    EXPECT_EQ(t.GetHour(), 2147);
    EXPECT_EQ(t.GetMin(), 48);
    EXPECT_EQ(t.GetSec(), 36);
    EXPECT_EQ(t.Get100Sec(), 48);
}

TEST(TimePacking, ConstructorCarries)
{
    std::mt19937 rng(5);
    std::uniform_int_distribution<unsigned> hour(0, 999), field(0, 65535);
    for (int i = 0; i < 100000; ++i) {
        unsigned const h = hour(rng), m = field(rng) % (i % 2 ? 60 : 65536), s = field(rng), c = field(rng);
        Time const t{WORD(h), WORD(m), WORD(s), WORD(c)};
        ASSERT_GE(t.GetTime(), 0L);
        ASSERT_TRUE(Normalised(t)) << t.GetTime();
        ASSERT_EQ(Sec100(t), ((h * 60LL + m) * 60 + s) * 100 + c) << h << ' ' << m << ' ' << s << ' ' << c;
    }
}

TEST(TimeArithmetic, AgreesWithHundredthsCounts)
{
    std::mt19937 rng(13);
    std::uniform_int_distribution<long> pick(-kRange, kRange);
    for (int i = 0; i < 100000; ++i) {
        long const a = i < 201 ? i - 100 : pick(rng), b = pick(rng);
        Time const ta = Time::Sec100ToTime(a), tb = Time::Sec100ToTime(b);
        ASSERT_TRUE(Normalised(ta)) << a;
        ASSERT_EQ(Sec100(ta), a);
        ASSERT_EQ(Sec100(ta + tb), a + b);
        ASSERT_EQ(Sec100(ta - tb), a - b);
        Time acc = ta, neg = ta;
        ASSERT_EQ((acc += tb).GetTime(), (ta + tb).GetTime());
        ASSERT_EQ((acc -= tb).GetTime(), ta.GetTime());
        ASSERT_EQ(Sec100(-neg), -a);
        // For normalised values the packed order is the order of durations.
        Time const lo = a < b ? ta : tb, hi = a < b ? tb : ta;
        ASSERT_TRUE(Time::Sec100ToTime((a + b) / 2).IsBetween(lo, hi));
        ASSERT_EQ(ta.IsBetween(tb, tb), a == b);
        ASSERT_EQ(Time::Sec100ToTime(std::max(a, b) + 1).IsBetween(lo, hi), false);
    }
}

// Fields stored out of range count by their value and come back normalised.
TEST(TimeArithmetic, NormalisesStoredFields)
{
    EXPECT_EQ((Time(9900L) + Time(0L)).GetTime(), 13900L);
    EXPECT_EQ((Time(995099L) + Time(0L)).GetTime(), 1395099L);
    EXPECT_EQ((Time(-995099L) - Time(0L)).GetTime(), -1395099L);
    EXPECT_EQ((Time(999999L) - Time(-1L)).GetTime(), 1404000L);
}

TEST(TimeFields, ChangesKeepTheSign)
{
    Time t(-1234567L); // -01:23:45.67
    EXPECT_EQ(t.ChangeMin(75), 23);
    EXPECT_EQ(t.GetTime(), -1154567L);
    EXPECT_EQ(t.ChangeSec(61), 45);
    EXPECT_EQ(t.GetTime(), -1150167L);
    EXPECT_EQ(t.Change100Sec(250), 67);
    EXPECT_EQ(t.GetTime(), -1150150L);
    EXPECT_EQ(t.ChangeHour(300), 1);
    EXPECT_EQ(t.GetTime(), -300150150L);
    EXPECT_EQ(t.ChangeTime(42L), -300150150L);
    EXPECT_EQ(t.GetTime(), 42L);

    Time z(0L);
    EXPECT_EQ(z.ChangeHour(25), 0);
    EXPECT_EQ(z.GetTime(), 25000000L);
    Time n(-5L);
    EXPECT_EQ(n.Change100Sec(0), 5);
    EXPECT_EQ(n.GetTime(), 0L);
    EXPECT_EQ(n.ChangeSec(7), 0);
    EXPECT_EQ(n.GetTime(), 700L);
}

TEST(TimeClock, NowIsTheLocalTimeOfDay)
{
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    Time const now;
    GetLocalTime(&after);
    long const lo = before.wHour * 360000L + before.wMinute * 6000L + before.wSecond * 100L;
    long const hi = after.wHour * 360000L + after.wMinute * 6000L + after.wSecond * 100L;
    EXPECT_EQ(now.Get100Sec(), 0);
    EXPECT_TRUE(Normalised(now));
    EXPECT_LT(now.GetHour(), 24);
    if (lo <= hi) { // not across midnight
        EXPECT_GE(Sec100(now), lo);
        EXPECT_LE(Sec100(now), hi);
    }
}
