// Pens, brushes and fonts: shared descriptions, platform objects made once
// and released with the last copy.
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "graphics/Brush.h"
#include "graphics/Font.h"
#include "graphics/Pen.h"
#include "mfc/CBrush.h"
#include "mfc/CFont.h"
#include "mfc/CPen.h"
#include "tests/support/LeakCounters.h"
#include "tests/support/LeakLoop.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>
#include <windows.h>

namespace {

// An 8 x 8 area filled with the brush.
std::vector<COLORREF> Fill(Brush &brush)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateBitmap(8, 8, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT r{0, 0, 8, 8};
    FillRect(dc, &r, static_cast<HBRUSH>(brush.GetOrCreatePCBrush()->m_hObject));
    std::vector<COLORREF> pixels;
    for (int i = 0; i < 64; ++i)
        pixels.push_back(GetPixel(dc, i % 8, i / 8));
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    return pixels;
}

int PixelsOfColour(Brush &brush, COLORREF colour)
{
    std::vector<COLORREF> const pixels = Fill(brush);
    return int(std::count(pixels.begin(), pixels.end(), colour));
}

COLORREF PixelAt(Brush &brush, int x, int y)
{
    return Fill(brush)[std::size_t(y * 8 + x)];
}

// Named colours come from the table the library makes at start-up, the
// pattern brushes' bitmaps from the main frame.
class LibraryEnvironment : public testing::Environment
{
public:
    void SetUp() override
    {
        KSInit();
        SetKSMainFrame(nullptr, GetModuleHandleA(nullptr));
    }
    void TearDown() override { KSExit(); }
};
testing::Environment *const g_env = testing::AddGlobalTestEnvironment(new LibraryEnvironment);

} // namespace

TEST(Pen, StockPensAndEquality)
{
    EXPECT_FALSE(Pen().IsValid());
    EXPECT_EQ(0xFFFFFFul, Pen().GetColor().GetLong()) << "a null pen reports white";
    EXPECT_EQ(GetStockObject(NULL_PEN), Pen(PS_NULL).GethPen());
    std::size_t const before = kstest::GdiObjectCount();
    {
        Pen black(Color(ColorNameBlack), 1, PS_SOLID);
        EXPECT_EQ(GetStockObject(BLACK_PEN), black.GethPen());
        Pen red(Color(0xFFul), 3, PS_DASH), red2(Color(0xFFul), 3, PS_DASH);
        EXPECT_TRUE(red == red2) << "made apart, equal by value";
        EXPECT_FALSE(red == black);
        EXPECT_FALSE(red == Pen());
        EXPECT_TRUE(Pen() == Pen());
        HPEN h = red.GethPen();
        Pen copy = red;
        EXPECT_EQ(h, copy.GethPen()) << "copies share the platform pen";
        LOGPEN lp{};
        GetObjectA(h, sizeof lp, &lp);
        EXPECT_EQ(3, lp.lopnWidth.x);
        EXPECT_EQ(0x0000FFu, lp.lopnColor);
        EXPECT_EQ(before + 1, kstest::GdiObjectCount());
    }
    EXPECT_EQ(before, kstest::GdiObjectCount()) << "the own pen was deleted";
}

TEST(Brush, StylesFillAsTheySay)
{
    Brush solid(Color(0x00FF00ul), BrushStyleSolid);
    EXPECT_EQ(64, PixelsOfColour(solid, RGB(0, 255, 0)));
    Brush checker(Color(0x0000FFul), BrushStyleChecker);
    EXPECT_EQ(32, PixelsOfColour(checker, RGB(255, 0, 0)));
    EXPECT_EQ(32, PixelsOfColour(checker, RGB(255, 255, 255)));
    Brush dots(Color(0x0000FFul), BrushStyleDots);
    EXPECT_EQ(48, PixelsOfColour(dots, RGB(255, 0, 0))) << "a quarter of the pixels white";
    // White where the pattern's bit is set, the brush colour elsewhere.
    for (auto [brush, rowA, rowB] : {std::tuple{&checker, 0x55, 0xAA}, std::tuple{&dots, 0x88, 0x22}})
        for (int i = 0; i < 64; ++i) {
            int const row = (i / 8) % 2 ? rowB : rowA;
            COLORREF const want = (row >> (7 - i % 8)) & 1 ? RGB(255, 255, 255) : RGB(255, 0, 0);
            EXPECT_EQ(want, PixelAt(*brush, i % 8, i / 8)) << i % 8 << "," << i / 8;
        }
    Brush null;
    EXPECT_EQ(64, PixelsOfColour(null, RGB(255, 255, 255))) << "a null brush becomes solid white";
    LOGBRUSH lb{};
    Brush hollow(Color(0ul), BrushStyleNull);
    hollow.GetOrCreatePCBrush()->GetLogBrush(&lb);
    EXPECT_EQ(unsigned(BS_NULL), lb.lbStyle);
}

TEST(Brush, PatternsFillSolidUntilTheMainFrameMadeTheirBitmaps)
{
    KSExit();
    KSInit();
    SetKSMainWnd(nullptr);
    Brush early(Color(0x0000FFul), BrushStyleDots);
    EXPECT_EQ(64, PixelsOfColour(early, RGB(255, 0, 0)));
    Brush checker(Color(0x0000FFul), BrushStyleChecker);
    EXPECT_EQ(64, PixelsOfColour(checker, RGB(255, 0, 0)));
    SetKSMainFrame(nullptr, GetModuleHandleA(nullptr));
    Brush late(Color(0x0000FFul), BrushStyleDots);
    EXPECT_EQ(48, PixelsOfColour(late, RGB(255, 0, 0)));
    EXPECT_EQ(64, PixelsOfColour(early, RGB(255, 0, 0))) << "a platform brush is made once";
}

TEST(DrawingTools, CopiesShareThePlatformObjectAndLeaveNothingBehind)
{
    auto cycle = [](int i) {
        Brush a(Color(0x123456ul), BrushStyleChecker);
        Brush b = a;
        EXPECT_EQ(a.GetOrCreatePCBrush(), b.GetOrCreatePCBrush());
        CBrush platform(RGB(7, 8, 9));
        Brush fromPlatform(&platform);
        EXPECT_EQ(RGB(7, 8, 9), fromPlatform.GetColor().GetLong());
        EXPECT_EQ(BrushStyleSolid, fromPlatform.GetStyle());
        EXPECT_NE(platform.m_hObject, fromPlatform.GetOrCreatePCBrush()->m_hObject) << "not kept";
        b = Brush();
        b = a;
        b = b; // self-assignment keeps the shared body
        EXPECT_EQ(a.GetOrCreatePCBrush(), b.GetOrCreatePCBrush());
        Font f(SString("Tahoma"), 12), &same = f;
        f = same;
        EXPECT_EQ(12, f.GetHeight());
        Pen p(Color(0x10ul), 2, PS_DOT), &alias = p;
        p = alias;
        EXPECT_EQ(2, p.GetWidth());

        Pen solid(Color(static_cast<unsigned long>(i)), 2, PS_SOLID);
        Pen q = solid;
        q.GethPen();
        Font t(SString("Tahoma"), 10 + i % 5);
        Font g = t;
        g.ChangeUnderline(true);
        t.GethFont();
        g.GethFont();
        Brush c(Color(static_cast<unsigned long>(i)), i % 2 ? BrushStyleDots : BrushStyleSolid);
        c.GetOrCreatePCBrush();
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 50}, cycle));
}

TEST(Font, DefaultsAndCopyOnWrite)
{
    Font f;
    EXPECT_TRUE(f.IsEmpty());
    EXPECT_EQ(0, f.GetHeight());
    EXPECT_STREQ("Arial", f.GetName().GetStr());
    EXPECT_FALSE(f.IsEmpty()) << "asking for the name made the default description";
    EXPECT_EQ(14, f.GetHeight());

    Font a(SString("Tahoma"), 20);
    Font b = a;
    HFONT ha = a.GethFont();
    EXPECT_EQ(ha, b.GethFont());
    b.ChangeHeight(30);
    EXPECT_EQ(20, a.GetHeight());
    EXPECT_EQ(ha, a.GethFont()) << "the other copy keeps its handle";
    EXPECT_NE(ha, b.GethFont());

    a.ChangeFillColor(a.GetFillColor());
    EXPECT_FALSE(a.IsTransparent()) << "the same fill colour still makes the font opaque";

    Font c(SString("Tahoma"), 20), d(SString("Tahoma"), 20);
    d.ChangeStrikeout(true);
    EXPECT_FALSE(c != d) << "strikeout is not compared";
    d.ChangeItalic(true);
    EXPECT_TRUE(c != d);
}
