// The global data block, the global functions around it and the loaders.
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "frame/Kernel32Loader.h"
#include "frame/LibraryLoader.h"
#include "mfc/AfxWin.h"
#include "mfc/CFrameWnd.h"
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
    SetKSMainFrame(frame, GetModuleHandleA(nullptr));
    EXPECT_EQ(frame, D().m_pMainWnd);
    SetKSMainWnd(nullptr);
    EXPECT_EQ(nullptr, D().m_pMainWnd);
    frame->DestroyWindow(); // deletes itself
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
