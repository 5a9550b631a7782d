// The GDI wrappers own their handles: nothing leaks, nothing is freed twice.
#include "mfc/CBitmap.h"
#include "mfc/CBrush.h"
#include "mfc/CDC.h"
#include "mfc/CFont.h"
#include "mfc/CPen.h"
#include "tests/support/LeakCounters.h"

#include <gtest/gtest.h>

TEST(CGdiObject, WrappersDeleteWhatTheyOwn)
{
    CFont().CreatePointFont(100, "Tahoma"); // the platform's font tables stay
    std::size_t const before = kstest::GdiObjectCount();
    {
        CPen pen(PS_DASH, 1, RGB(1, 2, 3));
        CBrush brush(RGB(9, 8, 7));
        CFont font;
        ASSERT_TRUE(font.CreatePointFont(100, "Tahoma"));
        CBitmap bmp;
        ASSERT_TRUE(bmp.CreateBitmap(8, 8, 1, 1, nullptr));
        CDC dc;
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        EXPECT_GE(kstest::GdiObjectCount(), before + 5);
        EXPECT_FALSE(pen.CreatePen(PS_SOLID, 1, 0)) << "one object per wrapper";
    }
    EXPECT_EQ(before, kstest::GdiObjectCount());
}

TEST(CGdiObject, DetachHandsOwnershipBack)
{
    std::size_t const before = kstest::GdiObjectCount();
    HPEN raw;
    {
        CPen pen(PS_SOLID, 3, RGB(200, 0, 0));
        raw = static_cast<HPEN>(pen.Detach());
        EXPECT_EQ(nullptr, pen.m_hObject);
    }
    EXPECT_EQ(before + 1, kstest::GdiObjectCount());
    LOGPEN lp{};
    {
        CPen again;
        ASSERT_TRUE(again.Attach(raw));
        EXPECT_FALSE(again.Attach(raw));
        ASSERT_EQ(int(sizeof lp), again.GetLogPen(&lp));
    }
    EXPECT_EQ(3, lp.lopnWidth.x);
    EXPECT_EQ(RGB(200, 0, 0), lp.lopnColor);
    EXPECT_EQ(before, kstest::GdiObjectCount());
}

TEST(CDC, DrawsThroughSelectedTools)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateBitmap(16, 16, 1, 32, nullptr));
    HGDIOBJ oldBmp = dc.SelectObject(&bmp);
    dc.FillSolidRect(0, 0, 16, 16, RGB(10, 20, 30));
    CBrush red(RGB(255, 0, 0));
    CPen none;
    none.CreateStockObject(NULL_PEN);
    HGDIOBJ oldBrush = dc.SelectObject(&red);
    HGDIOBJ oldPen = dc.SelectObject(&none);
    dc.Rectangle(4, 4, 12, 12);
    EXPECT_EQ(RGB(10, 20, 30), GetPixel(dc.GetSafeHdc(), 0, 0));
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc.GetSafeHdc(), 6, 6));
    dc.SelectObject(oldPen);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldBmp);
    none.Detach(); // stock objects are nobody's to delete
}
