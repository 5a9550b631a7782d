// The DC manager: one cached window DC passed between window devices, paint DCs,
// parking, release by the router and the timer procedure, and its lock.
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "frame/Timer.h"
#include "graphics/DCManager.h"
#include "graphics/OutputDevice.h"
#include "tests/support/LeakCounters.h"
#include "tests/support/LeakLoop.h"
#include "window/WorkWindow.h"

#include <gtest/gtest.h>
#include <thread>
#include <windows.h>

namespace {

// A window device as Window will be one: the HDC comes from the DC manager.
class WindowDevice : public OutputDevice
{
public:
    explicit WindowDevice(HWND hWnd) : m_hWndDev(hWnd) {}
    HWND GetHWND() const override { return m_hWndDev; }
    HDC Held() const { return m_hDC; }

private:
    HWND m_hWndDev;
};

HWND NewWindow() { return CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 30, 0, 0, 0, 0); }

class DCManagerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        KSInit();
        manager = GetPKSData()->m_pDCManager;
        ASSERT_NE(nullptr, manager);
    }
    void TearDown() override
    {
        DestroyWindow(w1);
        DestroyWindow(w2);
        KSExit();
    }
    DCManager *manager = nullptr;
    HWND w1 = NewWindow(), w2 = NewWindow();
};

} // namespace

TEST_F(DCManagerTest, OneWindowDCAtATimePassesToTheLatestDevice)
{
    std::size_t const gdi = kstest::GdiObjectCount();
    {
        WindowDevice a(w1), b(w2);
        HDC ha = a.GethDC();
        EXPECT_EQ(ha, manager->GetCachedDC());
        EXPECT_EQ(w1, WindowFromDC(ha));
        HDC hb = b.GethDC();
        EXPECT_EQ(nullptr, a.Held()) << "the first window's DC was given back";
        EXPECT_EQ(&b, manager->GetCachedHolder());
        EXPECT_EQ(w2, WindowFromDC(hb));

        EXPECT_TRUE(a.DrawPixel(Point(1, 1), Color(0ul))) << "a fresh DC on the next operation";
        EXPECT_EQ(nullptr, b.Held());
        EXPECT_EQ(&a, manager->GetCachedHolder());

        manager->DeleteDC();
        EXPECT_EQ(nullptr, a.Held());
        a.GethDC();
    }
    EXPECT_EQ(nullptr, manager->GetCachedDC()) << "a device that goes gives its DC back";
    EXPECT_EQ(gdi, kstest::GdiObjectCount());
}

TEST_F(DCManagerTest, ARegisteredPaintDCIsUsedAndLeftAloneByOtherRequests)
{
    WindowDevice a(w1), b(w2);
    HDC paint = CreateCompatibleDC(nullptr), paint2 = CreateCompatibleDC(nullptr);
    ASSERT_NE(nullptr, a.GethDC());

    EXPECT_EQ(nullptr, manager->ChangePaintDC(&a, paint));
    EXPECT_EQ(nullptr, manager->GetCachedDC()) << "the window's cached DC is released first";
    EXPECT_EQ(paint, a.GethDC());
    b.GethDC();
    EXPECT_EQ(paint, a.Held()) << "another device's request does not take a paint DC";
    manager->DeleteDC();
    EXPECT_EQ(paint, a.Held());

    EXPECT_EQ(paint, manager->ChangePaintDC(&a, paint2));
    EXPECT_EQ(paint2, a.GethDC());
    EXPECT_EQ(paint2, manager->ChangePaintDC(&a, nullptr));
    EXPECT_EQ(nullptr, manager->ChangePaintDC(&a, nullptr));
    EXPECT_EQ(w1, WindowFromDC(a.GethDC())) << "back to the window's own DC";
    EXPECT_EQ(nullptr, manager->ChangePaintDC(nullptr, paint));
    DeleteDC(paint);
    DeleteDC(paint2);
}

TEST_F(DCManagerTest, AParkedDCSurvivesOtherRequestsUntilUnlocked)
{
    WindowDevice a(w1), b(w2);
    HDC ha = a.GethDC();
    manager->LockDC(ha);
    EXPECT_EQ(nullptr, manager->GetCachedDC());
    HDC hb = b.GethDC();
    ASSERT_NE(nullptr, hb);
    EXPECT_EQ(ha, a.Held()) << "parked: not released by b's request";

    manager->UnlockDC(hb); // not the parked one: nothing
    EXPECT_EQ(hb, b.Held());
    manager->UnlockDC(ha);
    EXPECT_EQ(nullptr, b.Held()) << "the cache of the meantime is released";
    EXPECT_EQ(ha, manager->GetCachedDC());
    EXPECT_EQ(&a, manager->GetCachedHolder());

    manager->LockDC(hb); // not the cached one: nothing
    EXPECT_EQ(ha, manager->GetCachedDC());
}

TEST_F(DCManagerTest, TheRouterAndTheTimerGiveTheCachedDCBack)
{
    WorkWindow routed(static_cast<CWnd *>(nullptr), 0x171);
    ASSERT_NE(nullptr, routed.GetHWND());
    WindowDevice dev(routed.GetHWND());
    ASSERT_NE(nullptr, dev.GethDC());
    SendMessageA(routed.GetHWND(), WM_USER + 7, 0, 0);
    EXPECT_EQ(nullptr, manager->GetCachedDC()) << "released after the dispatch";
    EXPECT_EQ(nullptr, dev.Held());

    // A window the router does not know: only the timer can release its DC.
    WindowDevice plain(w1);
    ASSERT_NE(nullptr, plain.GethDC());
    Timer t;
    t.Start(20);
    for (DWORD const start = GetTickCount(); manager->GetCachedDC() && GetTickCount() - start < 3000;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    EXPECT_EQ(nullptr, manager->GetCachedDC());
    EXPECT_EQ(nullptr, plain.Held());
}

TEST_F(DCManagerTest, TwoThreadsShareTheCacheWithoutLosingADC)
{
    // Both windows belong to the main thread: the threads only draw.
    auto worker = [this](HWND w, int seed, int *failures) {
        HDC paint = CreateCompatibleDC(nullptr);
        {
            WindowDevice dev(w);
            for (int i = 0; i < 10000; ++i) {
                int const op = (i + seed) % 5;
                if (op == 2)
                    manager->DeleteDC();
                else if (op == 4)
                    manager->ChangePaintDC(&dev, nullptr);
                else if (op == 3)
                    manager->ChangePaintDC(&dev, paint);
                if (op < 2 || op == 3)
                    *failures += !manager->GetDC(&dev) || (op == 3 && dev.Held() != paint);
            }
            manager->ChangePaintDC(&dev, nullptr);
        }
        DeleteDC(paint);
    };
    int f1 = 0, f2 = 0;
    auto run = [&] {
        std::thread t1(worker, w1, 0, &f1), t2(worker, w2, 3, &f2);
        t1.join();
        t2.join();
        manager->DeleteDC();
    };
    // The platform's cache of window DCs grows on first use.
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 1}, run)) << "every window DC was released exactly once";
    EXPECT_EQ(0, f1);
    EXPECT_EQ(0, f2);
    EXPECT_EQ(nullptr, manager->GetCachedDC());
}
