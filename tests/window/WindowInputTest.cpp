// ks-test: serial
#include "graphics/Brush.h"
#include "tests/support/WindowFixture.h"
#include "window/KeyEvent.h"
#include "window/MouseEvent.h"
#include "window/WorkWindow.h"

#include <gtest/gtest.h>
#include <vector>

namespace {
using kstest::Pump;

class InputWindow : public WorkWindow
{
public:
    InputWindow() : WorkWindow(static_cast<CWnd *>(nullptr), 0x121) {}
    std::vector<KeyEvent> keys;
    std::vector<MouseEvent> mouse;
    std::vector<bool> downs;
    bool KeyInput(KeyEvent const &e) override { return keys.push_back(e), true; }
    void MouseButtonDown(MouseEvent const &e) override { mouse.push_back(e), downs.push_back(true); }
    void MouseButtonUp(MouseEvent const &e) override { mouse.push_back(e), downs.push_back(false); }
    bool MouseWheel(MouseEvent const &e) override { return mouse.push_back(e), downs.push_back(false), true; }
};

void Keys(std::vector<WORD> vks) // pressed in order, released in reverse
{
    std::size_t const n = vks.size();
    for (std::size_t i = 0; i < 2 * n; ++i) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = i < n ? vks[i] : vks[2 * n - 1 - i];
        in.ki.dwFlags = i < n ? 0 : KEYEVENTF_KEYUP;
        SendInput(1, &in, sizeof in);
    }
}

class WindowInputTest : public kstest::WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        top = win = new InputWindow;
        ShowTop(Point(100, 100), Size(300, 200));
        win->GrabFocus();
        Pump();
        win->keys.clear();
        win->mouse.clear();
        win->downs.clear();
    }
    InputWindow *win = nullptr;
};

using WindowLeaks = kstest::WindowFixture;
} // namespace

TEST_F(WindowInputTest, KeysWithModifiersAndTheirCharacters)
{
    ASSERT_TRUE(win->HasFocus());
    Keys({VK_SHIFT, 'A'});
    Keys({VK_CONTROL, 'S'});
    Keys({VK_F5});
    Pump();
    ASSERT_EQ(3u, win->keys.size()) << "modifier keys alone produce nothing";
    EXPECT_EQ(0x0200, win->keys[0].GetKeyCode().GetCode());
    EXPECT_TRUE(win->keys[0].GetKeyCode().IsShiftOnly());
    EXPECT_EQ('A', win->keys[0].GetCharCode());
    EXPECT_EQ(0x0212, win->keys[1].GetKeyCode().GetCode());
    EXPECT_TRUE(win->keys[1].GetKeyCode().IsCtrl());
    EXPECT_EQ(0x0304, win->keys[2].GetKeyCode().GetCode());
    EXPECT_TRUE(win->keys[2].GetKeyCode().IsPure());
}

TEST_F(WindowInputTest, ClicksDoubleClicksAndTheWheel)
{
    Point const c = win->OutputToScreenPixel(Point(150, 80));
    SetCursorPos(c.X(), c.Y());
    for (DWORD f : {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP,
                    MOUSEEVENTF_WHEEL}) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = f;
        in.mi.mouseData = f == MOUSEEVENTF_WHEEL ? static_cast<DWORD>(-120) : 0;
        if (f == MOUSEEVENTF_WHEEL)
            Pump();
        SendInput(1, &in, sizeof in);
    }
    Pump();
    ASSERT_GE(win->mouse.size(), 5u);
    EXPECT_TRUE(win->downs[0]);
    EXPECT_EQ(1, win->mouse[0].GetClicks());
    EXPECT_EQ(MOUSE_RIGHT, win->mouse[0].GetButtons());
    EXPECT_EQ(Point(150, 80), win->mouse[0].GetPosPixel());
    EXPECT_FALSE(win->downs[1]);
    EXPECT_EQ(2, win->mouse[2].GetClicks()) << "the second press is a double click";
    EXPECT_EQ(-120, win->mouse.back().GetWheelDelta());
}

TEST_F(WindowLeaks, ThousandCyclesOfWindowsWithChildren)
{
    auto cycle = [] {
        WorkWindow top(static_cast<CWnd *>(nullptr), 0x121);
        top.SetPosSizePixel(Point(0, 0), Size(120, 80));
        Window a(&top, 0, 0), b(&top, 0, 4);
        a.SetPosSizePixel(Point(0, 0), Size(50, 50));
        b.SetPosSizePixel(Point(60, 0), Size(50, 50));
        top.Show();
        a.Show();
        b.Show();
        a.ChangeFillInBrush(Brush(Color(0x00FF00ul), BrushStyleSolid));
        a.DrawRect(CRectangle(0, 0, 9, 9));
        UpdateWindow(top.GetHWND());
        SendMessageA(b.GetHWND(), WM_MOUSEMOVE, 0, 0); // routed: sets the cursor
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 250}, cycle));
}
