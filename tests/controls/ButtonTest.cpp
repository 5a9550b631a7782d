// ks-test: serial
#include "controls/DrawButton.h"
#include "controls/PushButton.h"
#include "frame/WinMsgRouter.h"
#include "tests/support/LinkCounter.h"
#include "tests/support/WindowFixture.h"

#include <gtest/gtest.h>
#include <vector>

namespace {
// Text-coloured pixels of a face (4-pixel margin), by halves and outer sixths.
struct Faces
{
    int left = 0, right = 0, farLeft = 0, farRight = 0;
    std::vector<bool> mask;
};
Faces Ink(HWND h)
{
    RECT r;
    GetClientRect(h, &r);
    Faces f;
    int const mid = r.right / 2, sixth = r.right / 6;
    kstest::ScanClient(
        h,
        [&](int x, int, COLORREF c) {
            bool const on = c == GetSysColor(COLOR_BTNTEXT);
            f.mask.push_back(on);
            if (on) {
                (x < mid ? f.left : f.right)++;
                f.farLeft += x < mid - sixth;
                f.farRight += x > mid + sixth;
            }
        },
        4);
    return f;
}

class ButtonTest : public kstest::WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        MakeTop();
    }
    void Click(Button &b, DWORD holdMs = 0, bool holdLink = true)
    {
        b.ChangeClickHdl(clicks.GetLink());
        if (holdLink)
            b.ChangeHoldHdl(holds.GetLink());
        SendMessageA(b.GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        kstest::PumpFor(holdMs);
        SendMessageA(b.GetHWND(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    kstest::LinkCounter clicks, holds;
};
} // namespace

TEST_F(ButtonTest, QuickPressClicksOnceAndHoldingWithoutAHoldLinkStillClicks)
{
    PushButton b(top, 0);
    Click(b, 100);
    EXPECT_EQ(1, clicks.calls);
    EXPECT_EQ(0, holds.calls);
    PushButton c(top, 0);
    Click(c, 700, false);
    EXPECT_EQ(2, clicks.calls);
}

TEST_F(ButtonTest, HoldingRepeatsAndSwallowsTheClick)
{
    PushButton b(top, 0);
    Click(b, 1050);
    EXPECT_GE(holds.calls, 2) << "about 400, 600, 800, 1000 ms; timers are coarse";
    EXPECT_LE(holds.calls, 5);
    EXPECT_EQ(0, clicks.calls);
    EXPECT_FALSE(b.HeldDown());
    PushButton off(top, 0);
    off.AllowClick(false);
    Click(off, 500);
    Click(off);
    EXPECT_EQ(0, clicks.calls) << "disallowed clicks call nothing";
}

TEST_F(ButtonTest, OwnerDrawnFaceIsPaintedThroughTheButton)
{
    class Face : public PushButton
    {
    public:
        using PushButton::PushButton;
        int faces = 0;
        void DrawButtonFace(DRAWITEMSTRUCT *dis) override
        {
            ++faces;
            PushButton::DrawButtonFace(dis);
        }
    };
    ShowTop(Point(0, 0), Size(200, 100));
    static int drawItems;
    drawItems = 0;
    GlPushWinProcHook([](HWND, unsigned int m, unsigned __int64, __int64) { return drawItems += m == WM_DRAWITEM, 0; });
    Face f(top, 0);
    f.SetText(SString("OK"));
    f.Show();
    Faces const ink = Ink(f.GetHWND());
    EXPECT_GE(drawItems, 1) << "the platform asked the parent to draw";
    EXPECT_GE(f.faces, 1);
    EXPECT_GT(ink.left + ink.right, 10);
}

TEST_F(ButtonTest, DrawButtonsShowTheirSymbols)
{
    ShowTop(Point(0, 0), Size(400, 100));
    std::vector<Faces> faces;
    for (int t = DrawButtonCancel; t <= DrawButtonRightStop; ++t) {
        DrawButton b(top, static_cast<DrawButtonType>(t));
        b.SetPosSizePixel(Point(10, 10), Size(48, 48));
        b.Show();
        faces.push_back(Ink(b.GetHWND()));
        EXPECT_GT(faces.back().left + faces.back().right, 30) << "symbol " << t;
    }
    EXPECT_GT(faces[DrawButtonLeft].right, faces[DrawButtonLeft].left) << "a left triangle is wide on the right";
    EXPECT_GT(faces[DrawButtonRight].left, faces[DrawButtonRight].right);
    EXPECT_GT(faces[DrawButtonLeftStop].farLeft, faces[DrawButtonLeft].farLeft) << "the bar stands left";
    EXPECT_GT(faces[DrawButtonRightStop].farRight, faces[DrawButtonRight].farRight);
    for (std::size_t a = 0; a < faces.size(); ++a)
        for (std::size_t b = a + 1; b < faces.size(); ++b)
            EXPECT_NE(faces[a].mask, faces[b].mask) << a << " and " << b << " look alike";
}
