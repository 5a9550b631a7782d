// Printers: units in points, jobs and pages. The suite's Wine has no print
// queue, so the default printer is absent here; a printer on a caller's DC
// stands in for a real one.
#include "frame/KSGlobal.h"
#include "graphics/Printer.h"
#include "graphics/VirtualDevice.h"
#include "tests/support/LeakCounters.h"

#include <cstdio>
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

// Runs when a print queue exists (a private cupsd started before the Wine
// process, see the platform notes); the suite's own run has none.
TEST_F(PrinterTest, ATwoPageJobOnTheDefaultQueue)
{
    Printer p;
    if (p.GetPrinterName().Len() == 0)
        GTEST_SKIP() << "no print queue";
    EXPECT_GT(p.GetCap(PrinterCapLogPixelsX), 0);
    EXPECT_GT(p.GetCap(PrinterCapHorzRes), 0);
    EXPECT_GE(p.GetCap(PrinterCapPhysicalWidth), p.GetCap(PrinterCapHorzRes));
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
    std::printf("printed on %s: %d x %d pixels at %d dpi\n", p.GetPrinterName().GetStr(), p.GetCap(PrinterCapHorzRes),
                p.GetCap(PrinterCapVertRes), p.GetCap(PrinterCapLogPixelsX));
}
