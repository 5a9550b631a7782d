// UString objects and buffers used from several threads at once. Each case
// runs for a few seconds so that the interleavings that matter do happen.
#include "text/UString.h"

#include "tests/support/LeakCounters.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

static constexpr auto kRunTime = std::chrono::seconds(3);

// Text k: one unit repeated, its length tied to the unit.
static int LengthOf(int k) { return 16 + 53 * k; }

static bool IsWholeText(UString const &s)
{
    int len = s.Len();
    wchar_t const *t = s.GetUStr();
    if (len == 0 || t[len] != L'\0')
        return false;
    wchar_t first = t[0];
    int k = first >= L'a' ? first - L'a' : first - L'A';
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

TEST(UStringThreads, OneObjectReplacedWhileRead)
{
    std::size_t cost = ThreadCost(2);
    kstest::HeapUsage before = kstest::CurrentHeapUsage();
    {
        std::vector<UString> texts;
        std::vector<std::wstring> plain;
        std::vector<std::string> bytes;
        for (int k = 0; k < 8; ++k) {
            plain.emplace_back(std::size_t(LengthOf(k)), wchar_t(L'a' + k));
            bytes.emplace_back(std::size_t(LengthOf(k)), char('a' + k));
            texts.emplace_back(plain.back().c_str());
        }
        UString shared(texts[0]);
        std::atomic<bool> stop{false};
        std::atomic<long> torn{0}, reads{0}, writes{0};

        std::thread writer([&] {
            for (unsigned i = 0; !stop; ++i) {
                int k = int(i % 8);
                switch (i % 6) {
                case 0: shared = texts[k]; break;
                case 1: shared = plain[k].c_str(); break; // may reuse the array in place
                case 2: shared = bytes[k].c_str(); break; // decoded in place
                case 3: shared.ToUpper(); break;
                case 4: shared.SetUTF8(SString(bytes[k].c_str())); break;
                default: {
                    UString local(plain[k].c_str());
                    shared = local;
                }
                }
                ++writes;
            }
        });
        std::thread reader([&] {
            while (!stop) {
                UString copy(shared);
                UString assigned;
                assigned = shared;
                UString part = shared.Copy(0, STR_TO_END);
                SString utf8 = shared.GetUTF8();
                if (!IsWholeText(copy) || !IsWholeText(assigned) || !IsWholeText(part) ||
                    !IsWholeText(UString(utf8)))
                    ++torn;
                if (shared.Search(L"zz") != STR_NOT_FOUND || shared.GetTokenCount(L';') != 1)
                    ++torn;
                // Both objects locked at once; the answer itself may be either.
                int k = int(reads % 8);
                (void)(shared == texts[k]);
                (void)shared.NoCaseEqual(texts[k]);
                (void)shared.Compare(texts[k]);
                (void)texts[k].ICompare(shared);
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

TEST(UStringThreads, ManyThreadsCopyOneBuffer)
{
    std::size_t cost = ThreadCost(8);
    kstest::HeapUsage before = kstest::CurrentHeapUsage();
    {
        UString origin(std::wstring(1000, L'q').c_str());
        wchar_t const *where = origin.GetUStr();
        std::atomic<bool> stop{false};
        std::atomic<long> wrong{0}, rounds{0};
        std::vector<std::thread> ts;
        for (int n = 0; n < 8; ++n) {
            ts.emplace_back([&] {
                while (!stop) {
                    UString a(origin);
                    UString b;
                    b = a;
                    std::vector<UString> v(4, b);
                    UString c;
                    c += v[2];
                    UString d = c.Copy(0);
                    d.Replace(L'r', 999); // a private copy; the shared one stays
                    if (c.GetUStr() != where || d.GetUStr() == where || d[999] != L'r' ||
                        c[999] != L'q')
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
        origin.Replace(L'r', 0);
        EXPECT_EQ(where, origin.GetUStr());
        EXPECT_EQ(L"r" + std::wstring(999, L'q'), std::wstring(origin.GetUStr()));
    }
    kstest::HeapUsage after = kstest::CurrentHeapUsage();
    EXPECT_EQ(before.blocks + cost, after.blocks);
}
