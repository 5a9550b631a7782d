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
    std::wstring t(s.GetUStr(), std::size_t(s.Len()));
    int k = t.empty() ? -1 : (t[0] | 0x20) - L'a';
    return k >= 0 && k < 8 && int(t.size()) == LengthOf(k) && s.GetUStr()[t.size()] == L'\0' &&
           t.find_first_not_of(t[0]) == std::wstring::npos;
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
        std::atomic<long> torn{0}, reads{0}, writes{0};
        {
            std::jthread writer([&](std::stop_token stop) {
                for (unsigned i = 0; !stop.stop_requested(); ++i, ++writes) {
                    switch (i % 6) {
                    case 0: shared = texts[i % 8]; break;
                    case 1: shared = plain[i % 8].c_str(); break; // may reuse the array in place
                    case 2: shared = bytes[i % 8].c_str(); break; // decoded in place
                    case 3: shared.ToUpper(); break;
                    case 4: shared.SetUTF8(SString(bytes[i % 8].c_str())); break;
                    default: { UString local(plain[i % 8].c_str()); shared = local; }
                    }
                }
            });
            std::jthread reader([&](std::stop_token stop) {
                for (; !stop.stop_requested(); ++reads) {
                    UString copy(shared), assigned, part = shared.Copy(0, STR_TO_END);
                    assigned = shared;
                    SString utf8 = shared.GetUTF8();
                    if (!IsWholeText(copy) || !IsWholeText(assigned) || !IsWholeText(part) ||
                        !IsWholeText(UString(utf8)) || shared.Search(L"zz") != STR_NOT_FOUND ||
                        shared.GetTokenCount(L';') != 1)
                        ++torn;
                    // Both objects locked at once; the answer itself may be either.
                    UString const &other = texts[std::size_t(reads % 8)];
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
    }
    EXPECT_EQ(before.blocks + cost, kstest::CurrentHeapUsage().blocks);
}

TEST(UStringThreads, ManyThreadsCopyOneBuffer)
{
    std::size_t cost = ThreadCost(8);
    kstest::HeapUsage before = kstest::CurrentHeapUsage();
    {
        UString origin(std::wstring(1000, L'q').c_str());
        wchar_t const *where = origin.GetUStr();
        std::atomic<long> wrong{0}, rounds{0};
        {
            std::vector<std::jthread> ts;
            for (int n = 0; n < 8; ++n)
                ts.emplace_back([&](std::stop_token stop) {
                    for (; !stop.stop_requested(); ++rounds) {
                        UString a(origin), b, c;
                        b = a;
                        std::vector<UString> v(4, b);
                        c += v[2];
                        UString d = c.Copy(0);
                        d.Replace(L'r', 999); // a private copy; the shared one stays
                        if (c.GetUStr() != where || d.GetUStr() == where || d[999] != L'r' || c[999] != L'q')
                            ++wrong;
                    }
                });
            std::this_thread::sleep_for(kRunTime);
        }
        EXPECT_EQ(0, wrong.load());
        EXPECT_GT(rounds.load(), 100);
        // Every share was given back: the count is 0 again, so the change
        // happens in place, and the text was never touched.
        origin.Replace(L'r', 0);
        EXPECT_EQ(where, origin.GetUStr());
        EXPECT_EQ(L"r" + std::wstring(999, L'q'), std::wstring(origin.GetUStr()));
    }
    EXPECT_EQ(before.blocks + cost, kstest::CurrentHeapUsage().blocks);
}
