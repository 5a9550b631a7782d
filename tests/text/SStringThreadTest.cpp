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
    int len = s.Len();
    char const *t = s.GetStr();
    if (len == 0 || t[len] != '\0')
        return false;
    char first = t[0];
    int k = (first >= 'a' ? first - 'a' : first - 'A');
    if (k < 0 || k >= 8 || len != LengthOf(k))
        return false;
    for (int i = 1; i < len; ++i)
        if (t[i] != first)
            return false;
    return true;
}

static void RunUntil(std::chrono::steady_clock::time_point end, std::atomic<bool> &stop)
{
    while (std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    stop = true;
}

// Heap blocks that starting and ending n threads leaves by itself (the first
// threads of a process also leave blocks once, paid for before measuring).
static std::size_t ThreadCost(int n)
{
    std::size_t blocks[2];
    for (std::size_t &b : blocks) {
        std::vector<std::thread> ts;
        for (int i = 0; i < n; ++i)
            ts.emplace_back([] {});
        for (auto &t : ts)
            t.join();
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
        std::atomic<bool> stop{false};
        std::atomic<long> torn{0}, reads{0}, writes{0};

        std::thread writer([&] {
            for (unsigned i = 0; !stop; ++i) {
                int k = int(i % 8);
                switch (i % 5) {
                case 0: shared = texts[k]; break;
                case 1: shared = plain[k].c_str(); break; // may reuse the buffer in place
                case 2: shared.ToUpper(); break;
                case 3: shared.ToLower(); break;
                default: {
                    SString local(plain[k].c_str());
                    shared = local;
                }
                }
                ++writes;
            }
        });
        std::thread reader([&] {
            while (!stop) {
                SString copy(shared);
                SString assigned;
                assigned = shared;
                SString part = shared.Copy(0, STR_TO_END);
                if (!IsWholeText(copy) || !IsWholeText(assigned) || !IsWholeText(part))
                    ++torn;
                if (shared.Search(SString("zz")) != STR_NOT_FOUND || shared.GetTokenCount(';') != 1)
                    ++torn;
                // Both objects locked at once; the answer itself may be either.
                int k = int(reads % 8);
                (void)(shared == texts[k]);
                (void)shared.NoCaseEqual(texts[k]);
                (void)shared.Compare(texts[k]);
                ++reads;
            }
        });
        RunUntil(std::chrono::steady_clock::now() + kRunTime, stop);
        writer.join();
        reader.join();
        EXPECT_EQ(0, torn.load());
        EXPECT_GT(reads.load(), 100);
        EXPECT_GT(writes.load(), 100);
        EXPECT_TRUE(IsWholeText(shared));
    }
    kstest::HeapUsage after = kstest::CurrentHeapUsage();
    EXPECT_EQ(before.blocks + cost, after.blocks);
}

TEST(SStringThreads, ManyThreadsCopyOneBuffer)
{
    std::size_t cost = ThreadCost(8);
    kstest::HeapUsage before = kstest::CurrentHeapUsage();
    {
        SString origin(std::string(1000, 'q').c_str());
        char const *where = origin.GetStr();
        std::atomic<bool> stop{false};
        std::atomic<long> wrong{0}, rounds{0};
        std::vector<std::thread> ts;
        for (int n = 0; n < 8; ++n) {
            ts.emplace_back([&] {
                while (!stop) {
                    SString a(origin);
                    SString b;
                    b = a;
                    std::vector<SString> v(4, b);
                    SString c;
                    c += v[2];
                    SString d = c.Copy(0);
                    d.Replace('r', 999); // a private copy; the shared one stays
                    if (c.GetStr() != where || d.GetStr() == where || d[999] != 'r' || c[999] != 'q')
                        ++wrong;
                    ++rounds;
                }
            });
        }
        RunUntil(std::chrono::steady_clock::now() + kRunTime, stop);
        for (auto &t : ts)
            t.join();
        EXPECT_EQ(0, wrong.load());
        EXPECT_GT(rounds.load(), 100);
        // Every share was given back: the count is 0 again, so the change
        // happens in place, and the text was never touched.
        origin.Replace('r', 0);
        EXPECT_EQ(where, origin.GetStr());
        EXPECT_EQ(std::string(1, 'r') + std::string(999, 'q'), std::string(origin.GetStr()));
    }
    kstest::HeapUsage after = kstest::CurrentHeapUsage();
    EXPECT_EQ(before.blocks + cost, after.blocks);
}

TEST(SStringThreads, ComparingInBothOrdersDoesNotDeadlock)
{
    SString a("left text"), b("right text");
    std::atomic<bool> stop{false};
    std::atomic<long> done{0};
    auto work = [&](SString const &x, SString const &y) {
        while (!stop) {
            (void)x.Compare(y);
            (void)(x == y);
            (void)x.Match(y);
            (void)x.NoCaseEqual(x); // one object twice: the lock is taken once
            ++done;
        }
    };
    std::thread t1(work, std::cref(a), std::cref(b));
    std::thread t2(work, std::cref(b), std::cref(a));
    RunUntil(std::chrono::steady_clock::now() + std::chrono::seconds(1), stop);
    t1.join();
    t2.join();
    EXPECT_GT(done.load(), 100);
}
