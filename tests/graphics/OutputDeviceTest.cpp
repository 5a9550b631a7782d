// The output device on GDI: kept tools and the HDC's own ones, rectangles,
// lines, frames, shapes, text, erasing, clipping and copies, checked pixel by
// pixel on off-screen devices.
#include "frame/KSData.h"
#include "graphics/OutputDevice.h"
#include "tests/support/DeviceFixture.h"

#include <numeric>

using OutputDeviceTest = kstest::DeviceFixture;

TEST(OutputDeviceWithoutDC, DoesNothingAndAnswersNothing)
{
    OutputDevice none(static_cast<HDC>(nullptr));
    EXPECT_FALSE(none.InitDevice());
    EXPECT_FALSE(none.IsExternal());
    EXPECT_FALSE(none.DrawRect(CRectangle(0, 0, 5, 5)));
    EXPECT_FALSE(none.DrawLine(Point(0, 0), Point(5, 5)));
    EXPECT_FALSE(none.Erase(Color(0ul), CRectangle(0, 0, 5, 5)));
    EXPECT_FALSE(none.DrawPixel(Point(1, 1), Color(0ul)));
    EXPECT_EQ(0, none.DrawRectHQ(FRectangle(0, 0, 5, 5)));
    EXPECT_EQ(Size(), none.GetTextSize(SString("abc")));
    TEXTMETRICW tm{};
    GLYPHMETRICS gm{};
    EXPECT_FALSE(none.GetFontMetric(tm));
    EXPECT_FALSE(none.GetGlyphMetric(L'W', gm));
    EXPECT_EQ(0, none.FillKernArr(UString(L"ab")));

    // A window device that is no window: the DC manager gives it nothing.
    KSInit();
    {
        struct NoWindow : OutputDevice
        {
        } window;
        EXPECT_FALSE(window.InitDevice());
        EXPECT_FALSE(window.DrawRect(CRectangle(0, 0, 5, 5)));
        EXPECT_EQ(1, window.GetDeviceKind());
    }
    KSExit();
}

TEST_F(OutputDeviceTest, KeptToolsOutliveTheCallersAndTheHDCGetsItsOwnBack)
{
    HDC h = dev->GethDC();
    HGDIOBJ ownPen = GetCurrentObject(h, OBJ_PEN), ownBrush = GetCurrentObject(h, OBJ_BRUSH);

    ASSERT_TRUE(dev->GetPen().IsValid()) << "read from the HDC's selected pen";

    HPEN red;
    {
        Pen p(Color(RED), 1, PS_SOLID);
        dev->ChangePen(p);
        red = p.GethPen();
        Brush b(Color(BLUE), BrushStyleSolid);
        dev->ChangeFillInBrush(b);
    }
    EXPECT_EQ(red, GetCurrentObject(h, OBJ_PEN));
    EXPECT_EQ(unsigned(OBJ_PEN), GetObjectType(red)) << "the device's copy keeps the pen alive";

    ASSERT_TRUE(dev->DrawRect(CRectangle(2, 2, 9, 9)));
    EXPECT_EQ(RED, At(2, 2));
    EXPECT_EQ(BLUE, At(5, 5));

    // Changing again keeps the first initial objects.
    dev->ChangePen(Pen(Color(GREEN), 1, PS_SOLID));
    dev->DeleteDrawingTools();
    EXPECT_EQ(ownPen, GetCurrentObject(h, OBJ_PEN));
    EXPECT_EQ(ownBrush, GetCurrentObject(h, OBJ_BRUSH));
    EXPECT_EQ(0u, GetObjectType(red)) << "deleted with the last copy once deselected";
    EXPECT_TRUE(dev->GetFont().IsEmpty());
}

TEST_F(OutputDeviceTest, RectanglesIncludeTheirRightAndBottomEdgeWithAndWithoutPen)
{
    dev->ChangePen(Pen(Color(RED), 1, PS_SOLID));
    dev->ChangeFillInBrush(Brush(Color(BLUE), BrushStyleSolid));
    ASSERT_TRUE(dev->DrawRect(CRectangle(10, 10, 19, 19)));
    EXPECT_EQ(CRectangle(10, 10, 19, 19), BoundsOf(RED));
    EXPECT_EQ(CRectangle(11, 11, 18, 18), BoundsOf(BLUE));

    Clear();
    dev->ChangePen(Pen(PS_NULL));
    ASSERT_TRUE(dev->DrawRect(CRectangle(10, 10, 19, 19)));
    EXPECT_EQ(CRectangle(10, 10, 19, 19), BoundsOf(BLUE)) << "a pen-less rectangle covers the same pixels";
    EXPECT_FALSE(dev->DrawRect(CRectangle(Point(3, 3), Size(0, 4)))) << "empty";

    Clear();
    ASSERT_TRUE(dev->DrawRect(CRectangle(0, 0, 20, 20), CSize(8, 8)));
    EXPECT_EQ(WHITE, At(0, 0)) << "round corner";
    EXPECT_EQ(BLUE, At(10, 0));
    EXPECT_EQ(CRectangle(0, 0, 20, 20), BoundsOf(BLUE));
}

TEST_F(OutputDeviceTest, LinesIncludeBothEndsAndFramesTheirCorners)
{
    dev->ChangePen(Pen(Color(RED), 1, PS_SOLID));
    ASSERT_TRUE(dev->DrawLine(Point(0, 0), Point(5, 0)));
    EXPECT_EQ(CRectangle(0, 0, 5, 0), BoundsOf(RED));
    Clear();
    ASSERT_TRUE(dev->DrawLine(Point(10, 10), Point(10, 2)));
    EXPECT_EQ(CRectangle(10, 2, 10, 10), BoundsOf(RED));

    Clear();
    ASSERT_TRUE(dev->DrawFrame(CRectangle(4, 5, 13, 9)));
    EXPECT_EQ(CRectangle(4, 5, 13, 9), BoundsOf(RED));
    EXPECT_EQ(2 * 10 + 2 * 3, CountOf(RED));

    dev->ChangePen(Pen(PS_NULL));
    Clear();
    dev->DrawLine(Point(0, 0), Point(5, 0));
    EXPECT_EQ(64 * 48, CountOf(WHITE)) << "a null pen draws no end point either";
}

TEST_F(OutputDeviceTest, EllipsesPolygonsAndRegionsStayInTheirBounds)
{
    dev->ChangePen(Pen(Color(RED), 1, PS_SOLID));
    dev->ChangeFillInBrush(Brush(Color(BLUE), BrushStyleSolid));
    ASSERT_TRUE(dev->DrawEllipse(CRectangle(4, 4, 23, 15)));
    EXPECT_EQ(CRectangle(4, 4, 23, 15), BoundsOf(RED));
    EXPECT_EQ(BLUE, At(13, 9));
    EXPECT_EQ(WHITE, At(4, 4)) << "corner of the bounding box";

    Clear();
    Point tri[3] = {Point(30, 5), Point(50, 25), Point(30, 25)};
    ASSERT_TRUE(dev->DrawPolygon(CPolygon(3, tri)));
    EXPECT_EQ(CRectangle(30, 5, 50, 25), BoundsOf(RED));
    EXPECT_EQ(BLUE, At(33, 20));
    EXPECT_EQ(WHITE, At(48, 8)) << "beyond the slanted side";
    EXPECT_FALSE(dev->DrawPolygon(CPolygon(1, tri)));

    Clear();
    Brush green(Color(GREEN), BrushStyleSolid);
    // A region's rectangle reaches the platform with its numbers unchanged.
    ASSERT_TRUE(dev->FillRgn(Region(CRectangle(5, 6, 14, 10)), green));
    EXPECT_EQ(CRectangle(5, 6, 13, 9), BoundsOf(GREEN));
    EXPECT_FALSE(dev->FillRgn(Region(), green));
}

TEST_F(OutputDeviceTest, TextInkLiesInsideItsMeasuredSizeAndOpaqueTextFillsIt)
{
    Font f(SString("Arial"), 16);
    f.ChangeColor(Color(BLUE));
    dev->ChangeFont(f);
    int const bkMode = GetBkMode(dev->GethDC());
    Size s = dev->GetTextSize(SString("Hxg"));
    ASSERT_TRUE(dev->DrawTextA(Point(5, 5), SString("Hxg")));
    CRectangle ink = BoundsOf(BLUE);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_TRUE(CRectangle(Point(5, 5), s).IsInside(ink)) << ink.GetStr().GetStr();
    EXPECT_EQ(WHITE, At(4, 10));
    EXPECT_EQ(bkMode, GetBkMode(dev->GethDC())) << "restored after the text";

    Clear();
    f.ChangeFillColor(Color(GREEN));
    dev->ChangeFont(f);
    ASSERT_TRUE(dev->DrawTextW(Point(5, 5), UString(L"xxHxg"), 2));
    CRectangle cell = BoundsOf(GREEN).GetUnion(BoundsOf(BLUE));
    EXPECT_EQ(CRectangle(Point(5, 5), s), cell) << "the opaque cell is exactly the measured size";
    EXPECT_EQ(WHITE, At(5 + s.Width(), 6));
    EXPECT_EQ(0x000000u, GetTextColor(dev->GethDC())) << "the text colour is restored too";
}

TEST_F(OutputDeviceTest, FontAndGlyphMetricsAndKerningWidthsAgreeWithTheMeasuredText)
{
    dev->ChangeFont(Font(SString("Arial"), 20));
    TEXTMETRICW tm{};
    ASSERT_TRUE(dev->GetFontMetric(tm));
    EXPECT_EQ(dev->GetTextSizeW(UString(L"Hg")).Height(), tm.tmHeight);
    GLYPHMETRICS wide{}, narrow{};
    ASSERT_TRUE(dev->GetGlyphMetric(L'W', wide));
    ASSERT_TRUE(dev->GetGlyphMetric(L'i', narrow));
    EXPECT_GT(wide.gmBlackBoxX, 2 * narrow.gmBlackBoxX);
    EXPECT_FALSE(dev->GetGlyphMetric(wchar_t(0xE000), wide)) << "a character the font has no glyph for";

    UString const text(L"AVATAR Wolf, tiny");
    auto sum = [this] { return std::accumulate(dev->GetKernArr(), dev->GetKernArr() + dev->GetKernArrLen(), 0); };
    ASSERT_EQ(int(text.Len()), dev->FillKernArr(text));
    ASSERT_EQ(text.Len(), dev->GetKernArrLen());
    EXPECT_EQ(dev->GetTextSizeW(text).Width(), sum());
    EXPECT_GT(dev->GetKernArr()[0], dev->GetKernArr()[text.Len() - 1]) << "'A' is wider than 'y'";
    ASSERT_EQ(4, dev->FillKernArr(text, 7, 4)) << "the substring replaces the array";
    EXPECT_EQ(dev->GetTextSizeW(text, 7, 4).Width(), sum());
    EXPECT_EQ(2, dev->FillKernArr(text, text.Len() - 2, 100)) << "clipped at the end";
    EXPECT_EQ(0, dev->FillKernArr(text, text.Len()));
    EXPECT_EQ(nullptr, dev->GetKernArr());
    EXPECT_EQ(0u, dev->GetKernArrLen());
    dev->FillKernArr(text);
    dev->DeleteDrawingTools();
    EXPECT_EQ(nullptr, dev->GetKernArr());
}

TEST_F(OutputDeviceTest, ErasingUsesTheBackgroundAndClippingLimitsIt)
{
    EXPECT_FALSE(dev->Erase(CRectangle(0, 0, 5, 5))) << "no background";
    dev->ChangeBackgroundBrush(Brush(Color(GREEN), BrushStyleSolid));
    ASSERT_TRUE(dev->Erase(CRectangle(1, 2, 3, 4)));
    EXPECT_EQ(CRectangle(1, 2, 3, 4), BoundsOf(GREEN));

    dev->ChangeClipRegion(Region(CRectangle(10, 10, 19, 14)));
    EXPECT_EQ(CRectangle(10, 10, 19, 14), dev->GetClipRegion().GetBoundRect()) << "the clip box's numbers, taken unchanged";
    ASSERT_TRUE(dev->DrawBackground());
    EXPECT_EQ(CRectangle(1, 2, 18, 13), BoundsOf(GREEN));
    EXPECT_EQ(9 + 36, CountOf(GREEN));

    dev->ChangeClipRegion();
    Color blue(BLUE);
    dev->SetBackgroundAndFontCol(blue);
    ASSERT_TRUE(dev->Erase());
    EXPECT_EQ(64 * 48, CountOf(BLUE));
    EXPECT_FALSE(dev->Erase(Color(0ul), CRectangle()));
}

TEST_F(OutputDeviceTest, CopiesFromAnotherDeviceWithAndWithoutKeyColour)
{
    VirtualDevice src(*dev);
    ASSERT_TRUE(src.SetOutputSize(Size(8, 8), false));
    src.Erase(Color(RGB(255, 0, 255)), CRectangle(0, 0, 7, 7));
    src.Erase(Color(BLUE), CRectangle(2, 2, 5, 5));

    Clear(GREEN);
    ASSERT_TRUE(dev->DrawOutDev(Point(10, 10), Size(8, 8), Point(0, 0), Size(8, 8), src, Color(0xFF00FFul)));
    EXPECT_EQ(CRectangle(12, 12, 15, 15), BoundsOf(BLUE));
    EXPECT_EQ(0, CountOf(RGB(255, 0, 255))) << "the key colour stays out";

    Clear(GREEN);
    ASSERT_TRUE(dev->DrawOutDev(Point(30, 10), Size(16, 16), Point(0, 0), Size(8, 8), src));
    EXPECT_EQ(CRectangle(34, 14, 41, 21), BoundsOf(BLUE)) << "stretched to twice the size";
    EXPECT_EQ(256 - 64, CountOf(RGB(255, 0, 255)));
    EXPECT_FALSE(dev->DrawOutDev(Point(0, 0), Size(0, 8), Point(0, 0), Size(8, 8), src));
}

TEST_F(OutputDeviceTest, NoGdiObjectOrHeapLeftAfterManyToolChanges)
{
    // Every tenth cycle gives the tools up, the last of each batch too.
    auto cycle = [this](int i) {
        dev->ChangePen(Pen(Color(static_cast<unsigned long>(i)), short(1 + i % 3), PS_SOLID));
        dev->ChangeFillInBrush(Brush(Color(static_cast<unsigned long>(i * 7)), BrushStyle(i % 2 ? 1 : 9)));
        dev->ChangeFont(Font(SString("Arial"), 10 + i % 5));
        dev->DrawRect(CRectangle(1, 1, 6, 6));
        dev->DrawTextA(Point(0, 0), SString("a"));
        dev->Erase(Color(0ul), CRectangle(0, 0, 1, 1));
        dev->FillKernArr(UString(L"kerning pairs"), unsigned(i % 7));
        if (i % 10 == 9)
            dev->DeleteDrawingTools();
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 5000}, cycle));
}
