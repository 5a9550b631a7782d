// The counters every leak test relies on must see a leak when there is one;
// each case below leaks on purpose and checks that the counter moves, and
// the leak loop fails on every kind of planted leak yet lets a cache settle.
#include "tests/support/LeakCounters.h"
#include "tests/support/LeakLoop.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <set>
#include <vector>
#include <windows.h>

TEST(LeakCounters, GdiTableSeesEveryPen)
{
    std::size_t const before = kstest::GdiObjectCount();
    std::vector<HPEN> pens;
    for (int i = 0; i < 100; ++i)
        pens.push_back(CreatePen(PS_SOLID, 1, RGB(i, 0, 0)));
    EXPECT_EQ(before + 100, kstest::GdiObjectCount());
    for (HPEN p : pens)
        DeleteObject(p);
    EXPECT_EQ(before, kstest::GdiObjectCount());
}

TEST(LeakCounters, CommittedBytesSeeACommitNeverTouched)
{
    std::size_t const before = kstest::CommittedBytes();
    void *p = VirtualAlloc(nullptr, 64 << 20, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    ASSERT_NE(nullptr, p);
    EXPECT_GE(kstest::CommittedBytes(), before + (64 << 20));
    VirtualFree(p, 0, MEM_RELEASE);
    EXPECT_LT(kstest::CommittedBytes(), before + (64 << 20));
}

TEST(LeakCounters, HeapWalkSeesBlocks)
{
    std::vector<void *> blocks;
    blocks.reserve(50); // the list itself must not count as a leak
    kstest::HeapUsage const before = kstest::CurrentHeapUsage();
    for (int i = 0; i < 50; ++i)
        blocks.push_back(HeapAlloc(GetProcessHeap(), 0, 1000));
    kstest::HeapUsage const during = kstest::CurrentHeapUsage();
    EXPECT_GE(during.blocks, before.blocks + 50);
    EXPECT_GE(during.bytes, before.bytes + 50 * 1000);
    for (void *b : blocks)
        HeapFree(GetProcessHeap(), 0, b);
    kstest::HeapUsage const after = kstest::CurrentHeapUsage();
    EXPECT_EQ(before.blocks, after.blocks);
    EXPECT_EQ(before.bytes, after.bytes);
}

TEST(LeakCounters, ThreadWindowsAreCounted)
{
    std::size_t const before = kstest::ThreadWindowCount();
    HWND top = CreateWindowA("STATIC", "top", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, top);
    HWND child = CreateWindowA("STATIC", "child", WS_CHILD, 0, 0, 10, 10, top, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, child);
    EXPECT_EQ(before + 2, kstest::ThreadWindowCount());
    DestroyWindow(top);
    EXPECT_EQ(before, kstest::ThreadWindowCount());
}

TEST(LeakCounters, HeapBlocksListsEveryBlockButItsOwn)
{
    std::vector<void *> blocks;
    blocks.reserve(10);
    auto const before = kstest::HeapBlocks();
    for (int i = 0; i < 10; ++i)
        blocks.push_back(HeapAlloc(GetProcessHeap(), 0, 1000));
    auto const after = kstest::HeapBlocks();
    std::set<void const *> added;
    for (auto const &b : after)
        if (b.address != before.data())
            added.insert(b.address);
    for (auto const &b : before)
        EXPECT_EQ(1u, added.erase(b.address)) << "a block that was there is listed again";
    EXPECT_EQ(std::set<void const *>(blocks.begin(), blocks.end()), added);
    for (auto const &b : after)
        EXPECT_TRUE(!added.count(b.address) || b.size == 1000u) << b.size;
    for (void *b : blocks)
        HeapFree(GetProcessHeap(), 0, b);
}

// The leak loop itself, against leaks and caches planted on purpose.
class LeakLoop : public testing::Test
{
protected:
    void TearDown() override
    {
        for (void *b : blocks)
            HeapFree(GetProcessHeap(), 0, b);
        for (HPEN p : pens)
            DeleteObject(p);
        for (HDC dc : dcs)
            ReleaseDC(dcWindow, dc);
        for (HWND w : windows)
            DestroyWindow(w);
    }
    // Room for everything a case keeps, made before the loop counts.
    std::vector<void *> blocks = Reserved<void *>();
    std::vector<HPEN> pens = Reserved<HPEN>();
    std::vector<HWND> windows = Reserved<HWND>();
    std::vector<HDC> dcs = Reserved<HDC>();
    HWND dcWindow = nullptr;

private:
    template <class T> static std::vector<T> Reserved()
    {
        std::vector<T> v;
        v.reserve(10000);
        return v;
    }
};

using testing::HasSubstr;

TEST_F(LeakLoop, ABlockKeptEveryCycleNeverSettles)
{
    auto const r = kstest::NoGrowthOnceSettled({.batch = 50}, [&] { blocks.push_back(HeapAlloc(GetProcessHeap(), 0, 24)); });
    EXPECT_FALSE(r);
    EXPECT_THAT(r.message(), HasSubstr("did not settle in 10 batches of 50"));
    EXPECT_THAT(r.message(), HasSubstr("heap blocks +50"));
    EXPECT_THAT(r.message(), HasSubstr("24 B x50"));
}

TEST_F(LeakLoop, ABlockKeptEveryFortyCyclesNeverSettles)
{
    auto const r = kstest::NoGrowthOnceSettled({.batch = 100}, [&](int i) {
        if (i % 40 == 39)
            blocks.push_back(HeapAlloc(GetProcessHeap(), 0, 24));
    });
    EXPECT_FALSE(r);
    EXPECT_THAT(r.message(), HasSubstr("did not settle"));
}

TEST_F(LeakLoop, ALeakThatStartsOnceSettledFailsTheMeasuredBatches)
{
    // Quiet for the first batches, so the loop settles; then one block a
    // cycle, from whichever batch is being measured by then.
    auto const r = kstest::NoGrowthOnceSettled({.batch = 100, .measured = 3}, [&](int i) {
        if (i >= 300)
            blocks.push_back(HeapAlloc(GetProcessHeap(), 0, 40));
    });
    EXPECT_FALSE(r);
    EXPECT_THAT(r.message(), HasSubstr("grew: heap blocks +100"));
    EXPECT_THAT(r.message(), HasSubstr("40 B x100"));
}

TEST_F(LeakLoop, ACacheThatFillsOverSeveralBatchesIsTolerated)
{
    // 150 blocks over the first cycle and a half batches, then no more: what
    // a platform cache does, and what one warm-up cycle would call a leak.
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 100}, [&](int i) {
        if (i < 150)
            blocks.push_back(HeapAlloc(GetProcessHeap(), 0, 32));
    }));
    EXPECT_EQ(150u, blocks.size());
}

TEST_F(LeakLoop, ACacheThatGivesBackAndRefillsIsTolerated)
{
    // Twenty blocks, dropped at the end of every third batch and taken again
    // at the start of the next: never more than the level it settled at.
    auto cycle = [&](int i) {
        if (i % 300 == 299) {
            for (void *b : blocks)
                HeapFree(GetProcessHeap(), 0, b);
            blocks.clear();
        } else if (blocks.empty()) {
            for (int k = 0; k < 20; ++k)
                blocks.push_back(HeapAlloc(GetProcessHeap(), 0, 56));
        }
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 100, .measured = 4}, cycle));
}

TEST_F(LeakLoop, AGdiObjectKeptEveryCycleFails)
{
    auto const r = kstest::NoGrowthOnceSettled({.batch = 20}, [&] { pens.push_back(CreatePen(PS_SOLID, 1, 0)); });
    EXPECT_FALSE(r);
    EXPECT_THAT(r.message(), HasSubstr("GDI objects +20"));
}

// The loop fills the platform's cache of window DCs before it counts: one
// that the work never gives back must still show.
TEST_F(LeakLoop, AWindowDcKeptEveryCycleFails)
{
    dcWindow = CreateWindowA("STATIC", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, dcWindow);
    windows.push_back(dcWindow);
    auto const r = kstest::NoGrowthOnceSettled({.batch = 10}, [&] { dcs.push_back(GetDC(dcWindow)); });
    EXPECT_FALSE(r);
    EXPECT_THAT(r.message(), HasSubstr("GDI objects +"));
}

TEST_F(LeakLoop, AWindowKeptEveryCycleFails)
{
    auto const r = kstest::NoGrowthOnceSettled({.batch = 10}, [&] {
        windows.push_back(CreateWindowA("STATIC", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
    });
    EXPECT_FALSE(r);
    EXPECT_THAT(r.message(), HasSubstr("windows +10"));
}

TEST_F(LeakLoop, ABufferThatOnlyGrowsFailsWhenBytesCount)
{
    blocks.push_back(HeapAlloc(GetProcessHeap(), 0, 16));
    SIZE_T size = 16;
    auto grow = [&] { blocks[0] = HeapReAlloc(GetProcessHeap(), 0, blocks[0], size += 64); };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 10}, grow)) << "the block count stays";
    auto const r = kstest::NoGrowthOnceSettled({.batch = 10, .bytes = true}, grow);
    EXPECT_FALSE(r);
    EXPECT_THAT(r.message(), HasSubstr("heap bytes +640"));
}
