// SString and UString objects and buffers used from several threads at once.
// Each case runs for a few seconds so that the interleavings that matter do
// happen.
#include "text/SString.h"
#include "text/UString.h"

#include "tests/support/LeakLoop.h"
#include "tests/text/StdText.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

static constexpr auto kRunTime = std::chrono::seconds(1); // one run; the leak loop makes four or more

using kstest::Raw;

template <class Str> using Plain = decltype(kstest::Text(std::declval<Str>()));

template <class Str>
static Plain<Str> Of(char const *ascii)
{
    return Plain<Str>(ascii, ascii + std::strlen(ascii));
}

// Text k: one letter repeated, its length tied to the letter.
static int LengthOf(int k) { return 16 + 53 * k; }

template <class Str>
static bool IsWholeText(Str const &s)
{
    Plain<Str> const t = kstest::Text(s);
    int k = t.empty() ? -1 : (t[0] | 0x20) - 'a';
    return k >= 0 && k < 8 && int(t.size()) == LengthOf(k) && Raw(s)[t.size()] == 0 &&
           t.find_first_not_of(t[0]) == t.npos;
}

template <class Str>
class StringThreads : public testing::Test
{
};
using StringTypes = testing::Types<SString, UString>;
TYPED_TEST_SUITE(StringThreads, StringTypes);

TYPED_TEST(StringThreads, OneObjectReplacedWhileRead)
{
    using Str = TypeParam;
    constexpr bool wide = std::is_same_v<Str, UString>;
    // Each run ends its threads and its objects: after the platform's own
    // per-thread records have settled, a run leaves nothing.
    auto run = [] {
        std::vector<Str> texts;
        std::vector<Plain<Str>> plain;
        std::vector<std::string> bytes;
        for (int k = 0; k < 8; ++k) {
            bytes.emplace_back(std::size_t(LengthOf(k)), char('a' + k));
            plain.push_back(Of<Str>(bytes.back().c_str()));
            texts.emplace_back(plain.back().c_str());
        }
        Str shared(texts[0]);
        std::atomic<long> torn{0}, reads{0}, writes{0};
        {
            std::jthread writer([&](std::stop_token stop) {
                for (unsigned i = 0; !stop.stop_requested(); ++i, ++writes) {
                    switch (i % 6) {
                    case 0: shared = texts[i % 8]; break;
                    case 1: shared = plain[i % 8].c_str(); break; // may reuse the buffer in place
                    case 2: shared = bytes[i % 8].c_str(); break; // the wide string decodes in place
                    case 3: shared.ToUpper(); break;
                    case 4:
                        if constexpr (wide)
                            shared.SetUTF8(SString(bytes[i % 8].c_str()));
                        else
                            shared.ToLower();
                        break;
                    default: { Str local(plain[i % 8].c_str()); shared = local; }
                    }
                }
            });
            std::jthread reader([&](std::stop_token stop) {
                Plain<Str> const zz = Of<Str>("zz");
                for (; !stop.stop_requested(); ++reads) {
                    Str copy(shared), assigned, part = shared.Copy(0, STR_TO_END);
                    assigned = shared;
                    bool whole = IsWholeText(copy) && IsWholeText(assigned) && IsWholeText(part);
                    if constexpr (wide)
                        whole = whole && IsWholeText(UString(shared.GetUTF8()));
                    if (!whole || shared.Search(zz.c_str()) != STR_NOT_FOUND || shared.GetTokenCount(';') != 1)
                        ++torn;
                    // Both objects locked at once; the answer itself may be either.
                    Str const &other = texts[std::size_t(reads % 8)];
                    (void)(shared == other);
                    (void)shared.NoCaseEqual(other);
                    (void)shared.Compare(other);
                    (void)other.ICompare(shared);
                }
            });
            std::this_thread::sleep_for(kRunTime);
        }
        EXPECT_EQ(0, torn.load());
        EXPECT_GT(reads.load(), 100);
        EXPECT_GT(writes.load(), 100);
        EXPECT_TRUE(IsWholeText(shared));
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 1}, run));
}

TYPED_TEST(StringThreads, ManyThreadsCopyOneBuffer)
{
    using Str = TypeParam;
    using Ch = typename Plain<Str>::value_type;
    auto run = [] {
        Str origin(Plain<Str>(1000, 'q').c_str());
        auto const *where = Raw(origin);
        std::atomic<long> wrong{0}, rounds{0};
        {
            std::vector<std::jthread> ts;
            for (int n = 0; n < 8; ++n)
                ts.emplace_back([&](std::stop_token stop) {
                    for (; !stop.stop_requested(); ++rounds) {
                        Str a(origin), b, c;
                        b = a;
                        std::vector<Str> v(4, b);
                        c += v[2];
                        Str d = c.Copy(0);
                        d.Replace(Ch('r'), 999); // a private copy; the shared one stays
                        if (Raw(c) != where || Raw(d) == where || d[999] != 'r' || c[999] != 'q')
                            ++wrong;
                    }
                });
            std::this_thread::sleep_for(kRunTime);
        }
        EXPECT_EQ(0, wrong.load());
        EXPECT_GT(rounds.load(), 100);
        // Every share was given back: the count is 0 again, so the change
        // happens in place, and the text was never touched.
        origin.Replace(Ch('r'), 0);
        EXPECT_EQ(where, Raw(origin));
        EXPECT_EQ(Of<Str>("r") + Plain<Str>(999, 'q'), Plain<Str>(Raw(origin)));
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 1}, run));
}

TYPED_TEST(StringThreads, ComparingInBothOrdersDoesNotDeadlock)
{
    using Str = TypeParam;
    Str a(Of<Str>("left text").c_str()), b(Of<Str>("right text").c_str());
    std::atomic<long> done{0};
    auto work = [&](std::stop_token stop, Str const &x, Str const &y) {
        for (; !stop.stop_requested(); ++done) {
            (void)x.Compare(y);
            (void)(x == y);
            (void)x.Match(y);
            (void)x.NoCaseEqual(x); // one object twice: the lock is taken once
        }
    };
    {
        std::jthread t1(work, std::cref(a), std::cref(b)), t2(work, std::cref(b), std::cref(a));
        std::this_thread::sleep_for(std::chrono::seconds(1));
    }
    EXPECT_GT(done.load(), 100);
}
