// SString objects and buffers used from several threads at once. Each case
// runs for a few seconds so that the interleavings that matter do happen.
#include "text/SString.h"

#include "tests/support/LeakCounters.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

static constexpr auto kRunTime = std::chrono::seconds(3);

// Text k: one letter repeated, its length tied to the letter.
static int LengthOf(int k) { return 16 + 53 * k; }

static bool IsWholeText(SString const &s)
{
    std::string t(s.GetStr(), std::size_t(s.Len()));
    int k = t.empty() ? -1 : (t[0] | 0x20) - 'a';
    return k >= 0 && k < 8 && int(t.size()) == LengthOf(k) && s.GetStr()[t.size()] == '\0' &&
           t.find_first_not_of(t[0]) == std::string::npos;
}

// Heap blocks that starting and ending n threads leaves by itself (the first
// threads of a process also leave blocks once, paid for before measuring).
static std::size_t ThreadCost(int n)
{
    std::size_t blocks[2];
    for (std::size_t &b : blocks) {
        {
            std::vector<std::jthread> ts;
            for (int i = 0; i < n; ++i)
                ts.emplace_back([] {});
        }
        b = kstest::CurrentHeapUsage().blocks;
    }
    return blocks[1] - blocks[0];
}

TEST(SStringThreads, OneObjectReplacedWhileRead)
{
    std::size_t cost = ThreadCost(2);
    kstest::HeapUsage before = kstest::CurrentHeapUsage();
    {
        std::vector<SString> texts;
        std::vector<std::string> plain;
        for (int k = 0; k < 8; ++k) {
            plain.emplace_back(std::size_t(LengthOf(k)), char('a' + k));
            texts.emplace_back(plain.back().c_str());
        }
        SString shared(texts[0]);
        std::atomic<long> torn{0}, reads{0}, writes{0};
        {
            std::jthread writer([&](std::stop_token stop) {
                for (unsigned i = 0; !stop.stop_requested(); ++i, ++writes) {
                    switch (i % 5) {
                    case 0: shared = texts[i % 8]; break;
                    case 1: shared = plain[i % 8].c_str(); break; // may reuse the buffer in place
                    case 2: shared.ToUpper(); break;
                    case 3: shared.ToLower(); break;
                    default: { SString local(plain[i % 8].c_str()); shared = local; }
                    }
                }
            });
            std::jthread reader([&](std::stop_token stop) {
                for (; !stop.stop_requested(); ++reads) {
                    SString copy(shared), assigned, part = shared.Copy(0, STR_TO_END);
                    assigned = shared;
                    if (!IsWholeText(copy) || !IsWholeText(assigned) || !IsWholeText(part) ||
                        shared.Search(SString("zz")) != STR_NOT_FOUND || shared.GetTokenCount(';') != 1)
                        ++torn;
                    // Both objects locked at once; the answer itself may be either.
                    SString const &other = texts[std::size_t(reads % 8)];
                    (void)(shared == other);
                    (void)shared.NoCaseEqual(other);
                    (void)shared.Compare(other);
                }
            });
            std::this_thread::sleep_for(kRunTime);
        }
        EXPECT_EQ(0, torn.load());
        EXPECT_GT(reads.load(), 100);
        EXPECT_GT(writes.load(), 100);
        EXPECT_TRUE(IsWholeText(shared));
    }
    EXPECT_EQ(before.blocks + cost, kstest::CurrentHeapUsage().blocks);
}

TEST(SStringThreads, ManyThreadsCopyOneBuffer)
{
    std::size_t cost = ThreadCost(8);
    kstest::HeapUsage before = kstest::CurrentHeapUsage();
    {
        SString origin(std::string(1000, 'q').c_str());
        char const *where = origin.GetStr();
        std::atomic<long> wrong{0}, rounds{0};
        {
            std::vector<std::jthread> ts;
            for (int n = 0; n < 8; ++n)
                ts.emplace_back([&](std::stop_token stop) {
                    for (; !stop.stop_requested(); ++rounds) {
                        SString a(origin), b, c;
                        b = a;
                        std::vector<SString> v(4, b);
                        c += v[2];
                        SString d = c.Copy(0);
                        d.Replace('r', 999); // a private copy; the shared one stays
                        if (c.GetStr() != where || d.GetStr() == where || d[999] != 'r' || c[999] != 'q')
                            ++wrong;
                    }
                });
            std::this_thread::sleep_for(kRunTime);
        }
        EXPECT_EQ(0, wrong.load());
        EXPECT_GT(rounds.load(), 100);
        // Every share was given back: the count is 0 again, so the change
        // happens in place, and the text was never touched.
        origin.Replace('r', 0);
        EXPECT_EQ(where, origin.GetStr());
        EXPECT_EQ("r" + std::string(999, 'q'), std::string(origin.GetStr()));
    }
    EXPECT_EQ(before.blocks + cost, kstest::CurrentHeapUsage().blocks);
}

TEST(SStringThreads, ComparingInBothOrdersDoesNotDeadlock)
{
    SString a("left text"), b("right text");
    std::atomic<long> done{0};
    auto work = [&](std::stop_token stop, SString const &x, SString const &y) {
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
