// ks-test: serial
// Real input through SendInput reaches Window handlers as the right events;
// windows with children come and go without leaving anything behind.
#include "frame/HdlChain.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "graphics/Brush.h"
#include "graphics/Pen.h"
#include "tests/support/LeakCounters.h"
#include "window/KeyEvent.h"
#include "window/MouseEvent.h"
#include "window/WorkWindow.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

struct MouseRecord
{
    bool down;
    unsigned short clicks, buttons, modifier;
    int wheel;
    Point pos;
};

class InputWindow : public WorkWindow
{
public:
    InputWindow() : WorkWindow(static_cast<CWnd *>(nullptr), 0x121) {}
    std::vector<KeyEvent> keys;
    std::vector<MouseRecord> mouse;
    bool consumeKeys = true;
    bool KeyInput(KeyEvent const &e) override
    {
        keys.push_back(e);
        return consumeKeys;
    }
    void MouseButtonDown(MouseEvent const &e) override { Record(true, e); }
    void MouseButtonUp(MouseEvent const &e) override { Record(false, e); }
    bool MouseWheel(MouseEvent const &e) override
    {
        Record(false, e);
        return true;
    }

private:
    void Record(bool down, MouseEvent const &e)
    {
        mouse.push_back({down, e.GetClicks(), e.GetButtons(), e.GetModifier(), e.GetWheelDelta(), e.GetPosPixel()});
    }
};

class ChainCounter : public LinkHdl
{
public:
    int n = 0;
    __int64 On(void *)
    {
        ++n;
        return 0;
    }
};

// Input travels through the window server before it reaches the queue:
// pump until nothing has arrived for 60 ms (at most 3 s), so that no event
// spills into the next check.
void Pump(int = 0)
{
    MSG m;
    int quiet = 0;
    for (int i = 0; i < 300 && quiet < 6; ++i) {
        bool any = false;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
            any = true;
        }
        quiet = any || GetQueueStatus(QS_ALLINPUT) ? 0 : quiet + 1;
        Sleep(10);
    }
}

void Key(WORD vk, bool up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

void MouseAt(int x, int y, DWORD flags, DWORD data = 0)
{
    SetCursorPos(x, y);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    in.mi.mouseData = data;
    SendInput(1, &in, sizeof in);
}

class WindowInputTest : public testing::Test
{
protected:
    void SetUp() override
    {
        KSInit();
        win = new InputWindow;
        win->SetPosSizePixel(Point(100, 100), Size(300, 200));
        win->Show();
        SetForegroundWindow(win->GetHWND());
        win->GrabFocus();
        Pump();
        win->keys.clear(); // whatever the window saw while it came up
        win->mouse.clear();
    }
    void TearDown() override
    {
        delete win;
        KSExit();
    }
    Point ScreenCentre() { return win->OutputToScreenPixel(Point(150, 80)); }
    InputWindow *win = nullptr;
};

} // namespace

TEST_F(WindowInputTest, KeysWithModifiersAndTheirCharacters)
{
    ASSERT_TRUE(win->HasFocus());
    Key(VK_SHIFT, false);
    Key('A', false);
    Key('A', true);
    Key(VK_SHIFT, true);
    Key(VK_CONTROL, false);
    Key('S', false);
    Key('S', true);
    Key(VK_CONTROL, true);
    Key(VK_F5, false);
    Key(VK_F5, true);
    Pump();
    ASSERT_EQ(3u, win->keys.size()) << "modifier keys alone produce nothing";
    EXPECT_EQ(0x0200, win->keys[0].GetKeyCode().GetCode());
    EXPECT_TRUE(win->keys[0].GetKeyCode().IsShiftOnly());
    EXPECT_EQ('A', win->keys[0].GetCharCode()) << "the character came with its key-down";
    EXPECT_EQ(0x0212, win->keys[1].GetKeyCode().GetCode());
    EXPECT_TRUE(win->keys[1].GetKeyCode().IsCtrl());
    EXPECT_EQ(0x0304, win->keys[2].GetKeyCode().GetCode());
    EXPECT_TRUE(win->keys[2].GetKeyCode().IsPure());
}

TEST_F(WindowInputTest, UnconsumedKeysReachTheGlobalChain)
{
    ChainCounter chain;
    GlAddOnKeyDownHdl(Link(&chain, &ChainCounter::On));
    Key(VK_F2, false);
    Key(VK_F2, true);
    Pump();
    EXPECT_EQ(0, chain.n) << "consumed by the window";
    win->consumeKeys = false;
    Key(VK_F3, false);
    Key(VK_F3, true);
    Pump();
    EXPECT_EQ(1, chain.n);
}

TEST_F(WindowInputTest, ClicksDoubleClicksAndTheWheel)
{
    Point const c = ScreenCentre();
    MouseAt(c.X(), c.Y(), MOUSEEVENTF_RIGHTDOWN);
    MouseAt(c.X(), c.Y(), MOUSEEVENTF_RIGHTUP);
    MouseAt(c.X(), c.Y(), MOUSEEVENTF_RIGHTDOWN);
    MouseAt(c.X(), c.Y(), MOUSEEVENTF_RIGHTUP);
    Pump();
    MouseAt(c.X(), c.Y(), MOUSEEVENTF_WHEEL, static_cast<DWORD>(-120));
    Pump();
    ASSERT_GE(win->mouse.size(), 5u);
    EXPECT_TRUE(win->mouse[0].down);
    EXPECT_EQ(1, win->mouse[0].clicks);
    EXPECT_EQ(MOUSE_RIGHT, win->mouse[0].buttons);
    EXPECT_EQ(Point(150, 80), win->mouse[0].pos);
    EXPECT_FALSE(win->mouse[1].down);
    EXPECT_EQ(2, win->mouse[2].clicks) << "the second press is a double click";
    EXPECT_EQ(MOUSE_RIGHT, win->mouse[2].buttons);
    EXPECT_EQ(-120, win->mouse.back().wheel);
}

TEST(WindowLeaks, ThousandCyclesOfWindowsWithChildren)
{
    KSInit();
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
    };
    for (int i = 0; i < 5; ++i)
        cycle(); // the platform's first-window bookkeeping
    auto const heap = kstest::CurrentHeapUsage();
    std::size_t const gdi = kstest::GdiObjectCount();
    std::size_t const windows = kstest::ThreadWindowCount();
    for (int i = 0; i < 1000; ++i)
        cycle();
    EXPECT_EQ(windows, kstest::ThreadWindowCount());
    EXPECT_EQ(gdi, kstest::GdiObjectCount());
    EXPECT_EQ(heap.blocks, kstest::CurrentHeapUsage().blocks);
    KSExit();
}
