// ks-test: serial
#include "controls/FixedLinkText.h"
#include "controls/FixedText.h"
#include "tests/support/LinkCounter.h"
#include "tests/support/WindowFixture.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {
struct Ink
{
    int count = 0, minX = 1 << 30, maxX = -1;
};

Ink Scan(HWND h, COLORREF colour)
{
    Ink ink;
    kstest::ScanClient(h, [&](int x, int, COLORREF c) {
        if (c == colour) {
            ++ink.count;
            ink.minX = std::min(ink.minX, x);
            ink.maxX = std::max(ink.maxX, x);
        }
    });
    return ink;
}

class StaticTest : public kstest::WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        MakeTop();
        ShowTop(Point(0, 0), Size(400, 200));
    }
};
} // namespace

TEST_F(StaticTest, TextIsPaintedWhereTheStylesPutIt)
{
    FixedText t(top, 0);
    t.SetPosSizePixel(Point(10, 10), Size(300, 24));
    t.SetText(SString("Kestrel"));
    t.Show();
    COLORREF const ink = GetSysColor(COLOR_BTNTEXT);
    Ink left = Scan(t.GetHWND(), ink);
    ASSERT_GT(left.count, 20);
    EXPECT_LT(left.minX, 20);
    EXPECT_GT(Scan(t.GetHWND(), GetSysColor(COLOR_BTNFACE)).count, 300 * 24 / 2) << "face colour behind";
    t.SetStyles(FIXEDTEXT_RIGHT | FIXEDTEXT_VCENTER);
    Ink right = Scan(t.GetHWND(), ink);
    EXPECT_GT(right.maxX, 280);
    EXPECT_GT(right.minX, left.minX + 100);
    t.SetStyles(FIXEDTEXT_CENTER | FIXEDTEXT_VCENTER);
    t.SetPadding(0, 0);
    Ink centre = Scan(t.GetHWND(), ink);
    EXPECT_NEAR(150, (centre.minX + centre.maxX) / 2, 6);
}

TEST_F(StaticTest, LinksAreBlueAndClickable)
{
    FixedLinkText link(top, 0);
    link.SetPosSizePixel(Point(10, 40), Size(200, 24));
    link.SetText(SString("open the docs"));
    link.Show();
    kstest::LinkCounter clicks;
    link.SetLink(clicks.GetLink());
    EXPECT_GT(Scan(link.GetHWND(), RGB(0, 0, 204)).count, 20);
    HWND const h = link.GetHWND();
    SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5)); // no press before: no click
    EXPECT_EQ(1, clicks.calls);
    SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)), GetCursor());
}
