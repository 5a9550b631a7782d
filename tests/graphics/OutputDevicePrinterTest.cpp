// Printers: units in points, jobs and pages. Run alone, the program sees no
// print queue and a printer on a caller's DC stands in for a real one; the
// PrintQueueTest cases run beside a private print server (tools/with-cupsd,
// which names its queue in KS_PRINT_QUEUE) and print for real.
#include "frame/KSGlobal.h"
#include "graphics/Printer.h"
#include "graphics/VirtualDevice.h"
#include "mfc/CPrintDialog.h"
#include "mfc/CWinApp.h"
#include "tests/support/LeakCounters.h"
#include "tests/support/LeakLoop.h"

#include <cstdio>
#include <cstdlib>
#include <thread>
#include <gtest/gtest.h>
#include <windows.h>

namespace {

class PrinterTest : public testing::Test
{
protected:
    void SetUp() override { KSInit(); }
    void TearDown() override { KSExit(); }
};

} // namespace

TEST_F(PrinterTest, WithoutAPrintQueueNothingIsPrintedAndNothingBreaks)
{
    char name[256];
    DWORD len = sizeof name;
    using Fn = BOOL(WINAPI *)(char *, DWORD *);
    HMODULE spool = LoadLibraryA("winspool.drv");
    auto getDefault = reinterpret_cast<Fn>(reinterpret_cast<void *>(GetProcAddress(spool, "GetDefaultPrinterA")));
    if (getDefault && getDefault(name, &len))
        GTEST_SKIP() << "a print queue exists: " << name;

    Printer p;
    EXPECT_TRUE(p.IsPrinter());
    EXPECT_EQ(OutputDevicePrinter, p.GetDeviceKind());
    EXPECT_FALSE(p.Init());
    EXPECT_EQ(0, p.GetCap(PrinterCapLogPixelsX));
    EXPECT_EQ(Size(), p.GetOutputSizePixel());
    EXPECT_EQ(0, p.GetWidthPixel(72));
    EXPECT_FALSE(p.StartJob(SString("nothing")));
    EXPECT_FALSE(p.IsPrinting());
    EXPECT_FALSE(p.StartPage());
    EXPECT_FALSE(p.EndJob());
    EXPECT_FALSE(p.DrawRect(CRectangle(0, 0, 10, 10)));
    EXPECT_EQ(nullptr, p.GethDC());
}

TEST_F(PrinterTest, PointsBecomePixelsAtTheDevicesResolution)
{
    VirtualDevice page;
    ASSERT_TRUE(page.SetOutputSize(Size(20, 20), true));
    HDC h = page.GethDC();
    int const dpiX = GetDeviceCaps(h, LOGPIXELSX), dpiY = GetDeviceCaps(h, LOGPIXELSY);
    ASSERT_GT(dpiX, 0);
    Printer p(h);
    EXPECT_TRUE(p.Init());
    EXPECT_EQ(dpiX, p.GetCap(PrinterCapLogPixelsX));
    EXPECT_EQ(dpiX, p.GetWidthPixel(72)) << "72 points are an inch";
    EXPECT_EQ(MulDiv(36, dpiY, 72), p.GetHeightPixel(36));
    EXPECT_EQ(Size(MulDiv(144, dpiX, 72), MulDiv(7, dpiY, 72)), p.GetSizePixel(Size(144, 7)));
    EXPECT_EQ(Point(dpiX, MulDiv(-72, dpiY, 72)), p.GetPointPixel(Point(72, -72)));
    EXPECT_EQ(Size(GetDeviceCaps(h, HORZRES), GetDeviceCaps(h, VERTRES)), p.GetOutputSizePixel());
}

TEST_F(PrinterTest, OneJobAtATimeOnTheCallersDC)
{
    VirtualDevice page;
    ASSERT_TRUE(page.SetOutputSize(Size(20, 20), true));
    std::size_t const gdi = kstest::GdiObjectCount();
    {
        Printer p(page.GethDC());
        ASSERT_TRUE(p.StartJob(SString("Report")));
        EXPECT_TRUE(p.IsPrinting());
        EXPECT_EQ(SString("Report"), p.GetDocName());
        EXPECT_FALSE(p.StartJob(SString("Second"))) << "a job is running";
        EXPECT_EQ(SString("Report"), p.GetDocName());
        p.Erase(Color(0x0000FFul), CRectangle(0, 0, 4, 4));
        EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(page.GethDC(), 2, 2)) << "drawing reaches the caller's DC";
        p.EndJob();
        EXPECT_FALSE(p.IsPrinting());
        EXPECT_FALSE(p.EndJob()) << "no job";
        EXPECT_FALSE(p.AbortJob());
        ASSERT_TRUE(p.StartJob(SString("Abandoned")));
    } // the destructor aborts the running job
    EXPECT_EQ(unsigned(OBJ_MEMDC), GetObjectType(page.GethDC())) << "the caller's DC stays";
    EXPECT_EQ(gdi, kstest::GdiObjectCount());
}

class PrintQueueTest : public PrinterTest
{
protected:
    void SetUp() override
    {
        char const *queue = std::getenv("KS_PRINT_QUEUE");
        if (!queue)
            GTEST_SKIP() << "no print server in this run";
        m_aQueue = queue;
        PrinterTest::SetUp();
    }
    void TearDown() override
    {
        AfxGetApp()->SelectPrinter(nullptr, nullptr); // the next test starts from the default
        PrinterTest::TearDown();
    }
    // What the platform itself says of the queue.
    int RawCap(int nIndex)
    {
        HDC h = ::CreateDCA(nullptr, m_aQueue.c_str(), nullptr, nullptr);
        int v = h ? GetDeviceCaps(h, nIndex) : -1;
        if (h)
            ::DeleteDC(h);
        return v;
    }
    std::string m_aQueue;
};

TEST_F(PrintQueueTest, ATwoPageJobOnTheDefaultQueue)
{
    auto job = [this] {
        Printer p;
        ASSERT_EQ(SString(m_aQueue.c_str()), p.GetPrinterName()) << "the server's queue is the default printer";
        int const idx[] = {HORZRES, VERTRES, PHYSICALWIDTH, PHYSICALHEIGHT, LOGPIXELSX, LOGPIXELSY, PHYSICALOFFSETX,
                           PHYSICALOFFSETY};
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(RawCap(idx[i]), p.GetCap(PrinterCap(i))) << "capability " << i;
        EXPECT_EQ(p.GetCap(PrinterCapLogPixelsX), p.GetWidthPixel(72));
        ASSERT_TRUE(p.StartJob(SString("Kestrel5 two pages")));
        for (int page = 0; page < 2; ++page) {
            ASSERT_TRUE(p.StartPage());
            p.ChangePen(Pen(Color(0ul), 4, PS_SOLID));
            EXPECT_TRUE(p.DrawRect(CRectangle(Point(p.GetWidthPixel(72), p.GetHeightPixel(72)),
                                              p.GetSizePixel(Size(144, 72)))));
            EXPECT_TRUE(p.DrawTextA(p.GetPointPixel(Point(72, 180)), SString(page ? "Page two" : "Page one")));
            ASSERT_TRUE(p.EndPage());
        }
        EXPECT_EQ(2u, p.GetPageCount());
        EXPECT_TRUE(p.EndJob());
    };
    // The first job loads the driver and its fonts for good. The PDF the
    // queue keeps is the last job's: print-check reads it.
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 1}, job)) << "the printer DC and the job's tools are gone";
}

TEST_F(PrintQueueTest, ThePrinterChosenInTheDialogWithItsSettings)
{
    CPrintDialog dlg(false);
    EXPECT_EQ(0x14000Cul, dlg.m_pd.Flags);
    ASSERT_TRUE(dlg.GetDefaults());
    EXPECT_STREQ(m_aQueue.c_str(), dlg.GetDeviceName());
    DEVMODEA *mode = dlg.GetDevMode();
    ASSERT_NE(nullptr, mode);
    mode->dmOrientation = DMORIENT_LANDSCAPE;
    mode->dmFields |= DM_ORIENTATION;

    Printer p;
    ASSERT_TRUE(p.Init(dlg));
    EXPECT_EQ(RawCap(VERTRES), p.GetCap(PrinterCapHorzRes)) << "landscape: the page turned";
    EXPECT_EQ(RawCap(HORZRES), p.GetCap(PrinterCapVertRes));
    HDC h = dlg.CreatePrinterDC();
    ASSERT_NE(nullptr, h);
    EXPECT_EQ(GetDeviceCaps(h, HORZRES), p.GetCap(PrinterCapHorzRes));

    CPrintDialog none(false);
    EXPECT_FALSE(p.Init(none)) << "a dialog that chose nothing";
}

TEST_F(PrintQueueTest, TheDialogShownAnswersWithTheButtonPressed)
{
    for (int button : {IDCANCEL, IDOK}) {
        bool seen = false;
        std::thread user([&] {
            for (int i = 0; i < 500 && !seen; ++i, Sleep(10))
                if (HWND dlg = FindWindowA("#32770", "Print")) {
                    seen = true;
                    PostMessageA(dlg, WM_COMMAND, WPARAM(button), 0);
                }
        });
        CPrintDialog dlg(false);
        INT_PTR const answer = dlg.DoModal();
        user.join();
        EXPECT_TRUE(seen);
        EXPECT_EQ(button, answer);
        if (button == IDOK) {
            EXPECT_STREQ(m_aQueue.c_str(), dlg.GetDeviceName());
        }
    }
}
