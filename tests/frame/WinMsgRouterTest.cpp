// Messages of real windows under Wine, routed into Window objects.
#include "frame/HdlChain.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "frame/WinMsgRouter.h"
#include "mfc/CWnd.h"
#include "tests/support/LeakCounters.h"
#include "window/KeyEvent.h"
#include "window/MouseEvent.h"
#include "window/Window.h"

#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

// Counts what the router passed on to the platform window.
class CountingWnd : public CWnd
{
public:
    std::map<unsigned, int> seen;
    LRESULT WindowProc(unsigned int msg, WPARAM wp, LPARAM lp) override
    {
        ++seen[msg];
        return CWnd::WindowProc(msg, wp, lp);
    }
    bool Make(HWND parent = nullptr, unsigned long style = WS_OVERLAPPEDWINDOW)
    {
        return CreateEx(0, GetPKSData()->m_aWndClassName.GetString(), "t", style, 0, 0, 200, 150, parent, nullptr);
    }
};

class ProbeWindow : public Window
{
public:
    int paints = 0, keys = 0, commands = 0, moves = 0;
    bool allowKeys = true, allowPaint = true, consumeKeys = false, deleteOnDown = false;
    MouseEvent lastMouse{nullptr};

    void Paint(CRectangle const &) override { ++paints; }
    bool KeyInput(KeyEvent const &) override { return ++keys, consumeKeys; }
    bool ProcessCommandMsg(unsigned long) override { return ++commands, true; }
    void MouseButtonDown(MouseEvent const &e) override
    {
        lastMouse = e;
        if (deleteOnDown)
            delete this;
    }
    void MouseMove(MouseEvent const &e) override { ++moves, lastMouse = e; }

private:
    bool OwnKeyInputAllowed() const override { return allowKeys; }
    bool OwnPaintingAllowed() const override { return allowPaint; }
};

class KeyCounter : public LinkHdl
{
public:
    int calls = 0;
    __int64 lastData = 0;
    __int64 OnKey(void *p)
    {
        ++calls;
        lastData = *static_cast<__int64 *>(p);
        return 0;
    }
    Link GetLink() { return Link(this, &KeyCounter::OnKey); }
};

class RouterTest : public testing::Test
{
protected:
    void SetUp() override
    {
        KSInit();
        ASSERT_TRUE(wnd.Make());
        win = new ProbeWindow;
        win->SetAsWrap(&wnd);
        ASSERT_TRUE(win->IsRegistered());
    }
    void TearDown() override
    {
        delete win;
        wnd.DestroyWindow();
        KSExit();
    }
    HWND H() const { return wnd.m_hWnd; }
    CountingWnd wnd;
    ProbeWindow *win = nullptr;
};

std::vector<int> g_hookOrder;
int g_hookConsumes = 0; // which hook (1 or 2) consumes, 0 none
int HookOne(HWND, unsigned int msg, unsigned __int64, __int64)
{
    if (msg == WM_USER + 7)
        g_hookOrder.push_back(1);
    return msg == WM_USER + 7 && g_hookConsumes == 1;
}
int HookTwo(HWND, unsigned int msg, unsigned __int64, __int64)
{
    if (msg == WM_USER + 7)
        g_hookOrder.push_back(2);
    return msg == WM_USER + 7 && g_hookConsumes == 2;
}

} // namespace

TEST_F(RouterTest, RegistrationSubclassesAndRemovalPutsTheProcedureBack)
{
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&WinMsgRouter::RouterWndProc), GetWindowLongPtrA(H(), GWLP_WNDPROC));
    EXPECT_EQ(win, GlGetPWinMsgRouter()->LookupWindow(H()));
    WNDPROC const prev = win->GetOldWindowProc();
    delete win;
    win = nullptr;
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(prev), GetWindowLongPtrA(H(), GWLP_WNDPROC));
    EXPECT_EQ(nullptr, GlGetPWinMsgRouter()->LookupWindow(H()));
    SendMessageA(H(), WM_KEYUP, 'A', 1);
    EXPECT_EQ(1, wnd.seen[WM_KEYUP]);
}

TEST_F(RouterTest, HandlerDeletingItsWindowConsumesTheMessage)
{
    win->deleteOnDown = true;
    LRESULT r = SendMessageA(H(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
    win = nullptr; // deleted by its handler
    EXPECT_EQ(1, r);
    EXPECT_EQ(0, wnd.seen[WM_LBUTTONDOWN]) << "the previous procedure must not see it";
}

TEST_F(RouterTest, KeyUpIsNeverPassedOnKeyDownChainOnlyForUnconsumedOwnInput)
{
    KeyCounter up, down;
    GlAddOnKeyUpHdl(up.GetLink());
    SendMessageA(H(), WM_KEYUP, 'B', 0x00300001);
    EXPECT_EQ(0, wnd.seen[WM_KEYUP]);
    EXPECT_EQ(0x00300001, up.lastData) << "the chain gets the key data of lParam";

    GlAddOnKeyDownHdl(down.GetLink());

    SendMessageA(H(), WM_KEYDOWN, 'A', 1);
    EXPECT_EQ(1, win->keys);
    EXPECT_EQ(1, down.calls);
    EXPECT_EQ(1, wnd.seen[WM_KEYDOWN]) << "unconsumed: passed on";

    win->consumeKeys = true;
    SendMessageA(H(), WM_KEYDOWN, 'A', 1);
    EXPECT_EQ(2, win->keys);
    EXPECT_EQ(1, down.calls) << "consumed keys skip the chain";
    EXPECT_EQ(1, wnd.seen[WM_KEYDOWN]);

    win->consumeKeys = false;
    win->allowKeys = false;
    SendMessageA(H(), WM_KEYDOWN, 'A', 1);
    EXPECT_EQ(2, win->keys) << "no own key input: the handler is not asked";
    EXPECT_EQ(1, down.calls) << "nor the chain";
    EXPECT_EQ(2, wnd.seen[WM_KEYDOWN]);
}

TEST_F(RouterTest, PaintIsAlwaysPassedOn)
{
    SendMessageA(H(), WM_PAINT, 0, 0);
    EXPECT_EQ(1, win->paints);
    EXPECT_EQ(1, wnd.seen[WM_PAINT]);
    win->allowPaint = false;
    SendMessageA(H(), WM_PAINT, 0, 0);
    EXPECT_EQ(1, win->paints);
    EXPECT_EQ(2, wnd.seen[WM_PAINT]);
}

TEST_F(RouterTest, RawHooksRunInOrderAndMayConsume)
{
    g_hookOrder.clear();
    g_hookConsumes = 0;
    GlPushWinProcHook(HookOne);
    GlPushWinProcHook(HookTwo);
    SendMessageA(H(), WM_USER + 7, 0, 0);
    EXPECT_EQ((std::vector<int>{1, 2}), g_hookOrder);
    EXPECT_EQ(1, wnd.seen[WM_USER + 7]);

    g_hookOrder.clear();
    g_hookConsumes = 1;
    EXPECT_EQ(1, SendMessageA(H(), WM_USER + 7, 0, 0));
    EXPECT_EQ((std::vector<int>{1}), g_hookOrder) << "a consuming hook ends the routing";
    EXPECT_EQ(1, wnd.seen[WM_USER + 7]) << "the previous procedure does not see it";

    g_hookOrder.clear();
    g_hookConsumes = 0;
    GlPullWinProcHook(HookOne);
    GlPullWinProcHook(HookOne); // gone already: nothing changes
    SendMessageA(H(), WM_USER + 7, 0, 0);
    EXPECT_EQ((std::vector<int>{2}), g_hookOrder);
    GlPullWinProcHook(HookTwo);
    for (int i = 0; i < 21; ++i)
        GlPushWinProcHook(i % 2 ? HookOne : HookTwo);
    EXPECT_EQ(20, GlGetPWinMsgRouter()->m_nWinProcHooks) << "twenty hooks at most";
}

TEST_F(RouterTest, PushedKeyLinksComeBackOnPop)
{
    KeyCounter a, x;
    GlAddOnKeyDownHdl(a.GetLink());
    GlPushKeyLinks();
    GlAddOnKeyDownHdl(x.GetLink());
    GlPopKeyLinks();
    SendMessageA(H(), WM_KEYDOWN, 'Q', 1);
    EXPECT_EQ(1, a.calls);
    EXPECT_EQ(0, x.calls) << "links added while pushed are gone";
}

TEST_F(RouterTest, CommandsFromRegisteredControlsGoToTheControl)
{
    CountingWnd child;
    ASSERT_TRUE(child.Make(H(), WS_CHILD));
    ProbeWindow control;
    control.SetAsWrap(&child);
    GlGetPWinMsgRouter()->AddControl(&control);

    SendMessageA(H(), WM_COMMAND, MAKEWPARAM(10001, BN_CLICKED), reinterpret_cast<LPARAM>(child.m_hWnd));
    EXPECT_EQ(1, control.commands);
    EXPECT_EQ(0, win->commands);
    SendMessageA(H(), WM_COMMAND, 40001, 0); // a menu command
    EXPECT_EQ(1, win->commands);
    GlGetPWinMsgRouter()->RemoveControl(&control);
}

TEST_F(RouterTest, MouseMessagesBecomeEvents)
{
    KeyCounter mm;
    GlGetPWinMsgRouter()->m_aMouseMoveHdl = mm.GetLink();
    SendMessageA(H(), WM_MOUSEMOVE, MK_RBUTTON | MK_LBUTTON | MK_SHIFT, MAKELPARAM(-3, 40));
    EXPECT_EQ(1, mm.calls);
    EXPECT_EQ(1, win->moves);
    EXPECT_EQ(Point(-3, 40), win->lastMouse.GetPosPixel());
    EXPECT_EQ(MOUSE_LEFT, win->lastMouse.GetButtons()) << "one button per event, left first";

    SendMessageA(H(), WM_RBUTTONDBLCLK, MK_RBUTTON, MAKELPARAM(7, 8));
    EXPECT_EQ(2, win->lastMouse.GetClicks());
    EXPECT_EQ(MOUSE_RIGHT, win->lastMouse.GetButtons());
}

TEST(RouterLifecycle, InitExitInitAndWindowsOutlivingTheLibrary)
{
    KSInit();
    CountingWnd w;
    ASSERT_TRUE(w.Make());
    auto *win = new Window;
    win->SetAsWrap(&w);
    KSExit();
    EXPECT_EQ(1, SendMessageA(w.m_hWnd, WM_USER + 3, 0, 0));
    EXPECT_EQ(1, SendMessageA(w.m_hWnd, WM_KEYDOWN, 'A', 1));
    delete win;
    w.DestroyWindow();

    KSInit();
    CountingWnd again;
    ASSERT_TRUE(again.Make());
    Window routed;
    routed.SetAsWrap(&again);
    SendMessageA(again.m_hWnd, WM_USER + 3, 0, 0);
    EXPECT_EQ(1, again.seen[WM_USER + 3]);
    KSExit();
    again.DestroyWindow();
}

TEST(RouterLifecycle, OwnedWindowsLeaveNothingBehind)
{
    KSInit();
    delete new Window(static_cast<CWnd *>(nullptr), 0, 2); // warm up
    kstest::HeapUsage const heapBefore = kstest::CurrentHeapUsage();
    std::size_t const windowsBefore = kstest::ThreadWindowCount();
    for (int i = 0; i < 100; ++i) {
        auto *top = new Window(static_cast<CWnd *>(nullptr), 0x21, 2);
        auto *child = new Window(top, 0, 0);
        ASSERT_NE(nullptr, child->GetHWND());
        SendMessageA(child->GetHWND(), WM_MOUSEMOVE, 0, 0);
        delete child;
        delete top;
    }
    EXPECT_EQ(windowsBefore, kstest::ThreadWindowCount());
    EXPECT_EQ(heapBefore.blocks, kstest::CurrentHeapUsage().blocks);
    KSExit();
}
