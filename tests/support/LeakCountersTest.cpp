// The counters every leak test relies on must see a leak when there is one;
// each case below leaks on purpose and checks that the counter moves.
#include "tests/support/LeakCounters.h"

#include <gtest/gtest.h>
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
