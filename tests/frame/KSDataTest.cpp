// The global data block, the global functions around it and the loaders.
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "frame/Kernel32Loader.h"
#include "frame/LibraryLoader.h"
#include "graphics/Bitmap.h"
#include "graphics/ImageList.h"
#include "mfc/AfxWin.h"
#include "mfc/CFrameWnd.h"
#include "tests/support/LeakCounters.h"
#include "tests/support/WindowFixture.h"

#include <gtest/gtest.h>
#include <windows.h>

class KSDataTest : public kstest::WindowFixture
{
protected:
    KSData &D() { return *GetPKSData(); }
};

TEST_F(KSDataTest, ColourTableKeepsEightBitValuesInTheHighByte)
{
    KSColorEntry const *t = D().m_pColorTable;
    ASSERT_NE(nullptr, t);
    EXPECT_EQ(0xFFFF, t[15].nRed) << "255 is kept as 0xFFFF";
    COLORREF const window = GetSysColor(COLOR_WINDOW); // read at start-up
    EXPECT_EQ(GetRValue(window), t[21].nRed >> 8);
    EXPECT_EQ(GetBValue(window), t[21].nBlue >> 8);
}

TEST_F(KSDataTest, RegisteredMessagesAndKeyCodes)
{
    EXPECT_EQ(RegisterWindowMessageA("KSMFCDragRender"), D().GetUserMessageCode(UserMessageDragRender));
    EXPECT_EQ(RegisterWindowMessageA("KSMFCDrop"), D().GetUserMessageCode(UserMessageDrop));
    EXPECT_EQ(0u, D().GetUserMessageCode(static_cast<UserMessageCode>(3)));
    EXPECT_EQ(static_cast<unsigned>(static_cast<unsigned short>(VkKeyScanA('='))), D().m_aKeyCharCodes[8]);
}

TEST_F(KSDataTest, ScalingRoundsToNearestAtAnyResolution)
{
    D().m_nLogPixelsX = 144;
    D().m_nLogPixelsY = 120;
    EXPECT_EQ(15, D().ScaleX(10));
    EXPECT_EQ(10, D().UnScaleX(15));
    EXPECT_EQ(13, D().ScaleY(10)) << "12.5 rounds up";
    EXPECT_EQ(-15, D().ScaleX(-10));
    D().m_nLogPixelsX = 96;
    EXPECT_EQ(2147483647, D().ScaleX(2147483647)) << "64-bit intermediate";
}

TEST_F(KSDataTest, CounterTestRestoresTheAffinityItChanged)
{
    DWORD_PTR before = 0, sys = 0, after = 0;
    GetProcessAffinityMask(GetCurrentProcess(), &before, &sys);
    KSData::TestHiResCounter();
    GetProcessAffinityMask(GetCurrentProcess(), &after, &sys);
    EXPECT_EQ(before, after);
}

TEST_F(KSDataTest, MainWindowAndFrame)
{
    auto *frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "main"));
    HINSTANCE const kernel = GetModuleHandleA("kernel32.dll");
    SetKSMainWnd(frame);
    EXPECT_EQ(frame, D().m_pMainWnd);
    EXPECT_EQ(nullptr, D().m_pBrushBitmap50) << "a main window brings no pattern bitmaps";
    EXPECT_EQ(GetModuleHandleA(nullptr), ImageList::aResHandle);
    SetKSMainFrame(frame, kernel);
    EXPECT_EQ(frame, D().m_pMainWnd);
    EXPECT_EQ(kernel, ImageList::aResHandle) << "the frame names the resource module";
    SetKSMainWnd(nullptr);
    EXPECT_EQ(nullptr, D().m_pMainWnd);
    EXPECT_EQ(kernel, ImageList::aResHandle);
    SetKSMainFrame(nullptr, GetModuleHandleA(nullptr));
    EXPECT_EQ(GetModuleHandleA(nullptr), ImageList::aResHandle);
    frame->DestroyWindow(); // deletes itself
}

TEST_F(KSDataTest, MainFrameMakesThePatternBitmapsAgainAndExitFreesThem)
{
    SetKSMainFrame(nullptr, GetModuleHandleA(nullptr));
    struct
    {
        Bitmap *pBitmap;
        unsigned char rowA, rowB;
    } const patterns[] = {{D().m_pBrushBitmap50, 0x55, 0xAA}, {D().m_pBrushBitmap25, 0x88, 0x22}};
    for (auto const &p : patterns) {
        ASSERT_NE(nullptr, p.pBitmap);
        BITMAP bm{};
        ASSERT_TRUE(GetObjectA(static_cast<HBITMAP>(*p.pBitmap), sizeof bm, &bm));
        EXPECT_EQ(8, bm.bmWidth);
        EXPECT_EQ(8, bm.bmHeight);
        EXPECT_EQ(1, bm.bmBitsPixel * bm.bmPlanes);
        unsigned char rows[16] = {};
        ASSERT_EQ(16, GetBitmapBits(static_cast<HBITMAP>(*p.pBitmap), sizeof rows, rows));
        for (int y = 0; y < 8; ++y)
            EXPECT_EQ(y % 2 ? p.rowB : p.rowA, rows[2 * y]) << "row " << y;
    }
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 20},
                                            [] { SetKSMainFrame(nullptr, GetModuleHandleA(nullptr)); }))
        << "a new pair replaces the old one";
    auto exitFrees = [] {
        std::size_t const before = kstest::GdiObjectCount();
        KSExit();
        std::size_t const after = kstest::GdiObjectCount();
        KSInit();
        return long(before) - long(after);
    };
    long const withBitmaps = exitFrees(); // this data holds the pair
    long const without = exitFrees();     // a fresh one holds none
    EXPECT_EQ(without + 2, withBitmaps) << "both bitmaps go with the global data";
}

TEST(GlobalsWithoutInit, AnswerNullAndDoNothing)
{
    EXPECT_EQ(nullptr, GetPKSData());
    GlPushWinProcHook(nullptr);
    GlPopKeyLinks();
    KSSetCWndNextFocus(nullptr);
    SetKSMainWnd(nullptr);
    EXPECT_EQ(nullptr, GetPKSData());
}

TEST(LibraryLoader, LoadsQueriesAndVersions)
{
    int const loadedBefore = AfxGetLoadedLibraryCount();
    {
        LibraryLoader comctl(SString("comctl32.dll"));
        ASSERT_TRUE(comctl.IsLoaded());
        EXPECT_EQ(loadedBefore + 1, AfxGetLoadedLibraryCount());
        EXPECT_GE(comctl.GetMajorVersion(), 5);
        EXPECT_NE(nullptr, comctl.GetProcAddress(SString("InitCommonControlsEx")));
        EXPECT_EQ(nullptr, comctl.GetProcAddress(SString("NoSuchExport")));
    }
    EXPECT_EQ(loadedBefore, AfxGetLoadedLibraryCount()) << "the destructor frees the library";

    LibraryLoader missing(SString("no-such-library-here.dll"));
    EXPECT_FALSE(missing.IsLoaded());
    EXPECT_EQ(nullptr, missing.GetProcAddress(SString("x")));
    EXPECT_FALSE(missing.BOOLFunc(SString("x")));
    EXPECT_EQ(-1, missing.GetMajorVersion());

    Kernel32Loader kernel;
    ASSERT_TRUE(kernel.IsLoaded());
    EXPECT_EQ(GetModuleHandleA("kernel32.dll"), kernel.GetModule());
    EXPECT_NE(nullptr, kernel.GetProcAddress(SString("GetTickCount")));
    EXPECT_EQ(AreFileApisANSI() != 0, kernel.BOOLFunc(SString("AreFileApisANSI")));
}
