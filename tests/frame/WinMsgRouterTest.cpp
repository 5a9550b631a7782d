// Messages of real windows under Wine, routed into Window objects.
#include "frame/HdlChain.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "frame/WinMsgRouter.h"
#include "mfc/CWnd.h"
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
    int paints = 0, keys = 0, commands = 0;
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
    void MouseMove(MouseEvent const &e) override { lastMouse = e; }

private:
    bool OwnKeyInputAllowed() const override { return allowKeys; }
    bool OwnPaintingAllowed() const override { return allowPaint; }
};

class KeyCounter : public LinkHdl
{
public:
    int calls = 0;
    __int64 lastData = 0;
    __int64 OnKey(void *p) { return ++calls, lastData = *static_cast<__int64 *>(p), 0; }
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
template <int N> int Hook(HWND, unsigned int msg, unsigned __int64, __int64)
{
    if (msg == WM_USER + 7)
        g_hookOrder.push_back(N);
    return msg == WM_USER + 7 && g_hookConsumes == N;
}

} // namespace

TEST_F(RouterTest, RegistrationSubclassesAndAHandlerDeletingItsWindowPutsTheProcedureBack)
{
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&WinMsgRouter::RouterWndProc), GetWindowLongPtrA(H(), GWLP_WNDPROC));
    EXPECT_EQ(win, GlGetPWinMsgRouter()->LookupWindow(H()));
    WNDPROC const prev = win->GetOldWindowProc();
    win->deleteOnDown = true;
    EXPECT_EQ(1, SendMessageA(H(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6)));
    win = nullptr; // deleted by its handler
    EXPECT_EQ(0, wnd.seen[WM_LBUTTONDOWN]) << "consumed: the previous procedure must not see it";
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(prev), GetWindowLongPtrA(H(), GWLP_WNDPROC));
    EXPECT_EQ(nullptr, GlGetPWinMsgRouter()->LookupWindow(H()));
    SendMessageA(H(), WM_KEYUP, 'A', 1);
    EXPECT_EQ(1, wnd.seen[WM_KEYUP]);
}

TEST_F(RouterTest, KeyUpIsNeverPassedOnKeyDownChainOnlyForUnconsumedOwnInputPaintAlways)
{
    KeyCounter up, down, pushed;
    GlAddOnKeyUpHdl(up.GetLink());
    SendMessageA(H(), WM_KEYUP, 'B', 0x00300001);
    EXPECT_EQ(0, wnd.seen[WM_KEYUP]);
    EXPECT_EQ(0x00300001, up.lastData) << "the chain gets the key data of lParam";

    GlAddOnKeyDownHdl(down.GetLink());
    GlPushKeyLinks();
    GlAddOnKeyDownHdl(pushed.GetLink());
    GlPopKeyLinks(); // links added while pushed are gone
    SendMessageA(H(), WM_KEYDOWN, 'A', 1);
    EXPECT_EQ(1, win->keys);
    EXPECT_EQ(1, down.calls);
    EXPECT_EQ(0, pushed.calls);
    EXPECT_EQ(1, wnd.seen[WM_KEYDOWN]) << "unconsumed: passed on";

    win->consumeKeys = true;
    SendMessageA(H(), WM_KEYDOWN, 'A', 1);
    EXPECT_EQ(2, win->keys);
    EXPECT_EQ(1, down.calls) << "consumed keys skip the chain";
    EXPECT_EQ(1, wnd.seen[WM_KEYDOWN]);

    win->consumeKeys = false;
    win->allowKeys = false;
    SendMessageA(H(), WM_KEYDOWN, 'A', 1);
    EXPECT_EQ(2, win->keys) << "no own key input: neither the handler nor the chain is asked";
    EXPECT_EQ(1, down.calls);
    EXPECT_EQ(2, wnd.seen[WM_KEYDOWN]);

    for (bool allow : {true, false}) { // paint is passed on, allowed or not
        win->allowPaint = allow;
        SendMessageA(H(), WM_PAINT, 0, 0);
    }
    EXPECT_EQ(1, win->paints);
    EXPECT_EQ(2, wnd.seen[WM_PAINT]);
}

TEST_F(RouterTest, RawHooksRunInOrderAndMayConsume)
{
    auto route = [&](int consumer) {
        g_hookOrder.clear();
        g_hookConsumes = consumer;
        return SendMessageA(H(), WM_USER + 7, 0, 0);
    };
    GlPushWinProcHook(Hook<1>);
    GlPushWinProcHook(Hook<2>);
    route(0);
    EXPECT_EQ((std::vector<int>{1, 2}), g_hookOrder);
    EXPECT_EQ(1, wnd.seen[WM_USER + 7]);
    EXPECT_EQ(1, route(1));
    EXPECT_EQ((std::vector<int>{1}), g_hookOrder) << "a consuming hook ends the routing";
    EXPECT_EQ(1, wnd.seen[WM_USER + 7]) << "the previous procedure does not see it";
    GlPullWinProcHook(Hook<1>);
    GlPullWinProcHook(Hook<1>); // gone already: nothing changes
    route(0);
    EXPECT_EQ((std::vector<int>{2}), g_hookOrder);
    GlPullWinProcHook(Hook<2>);
    for (int i = 0; i < 21; ++i)
        GlPushWinProcHook(i % 2 ? Hook<1> : Hook<2>);
    EXPECT_EQ(20, GlGetPWinMsgRouter()->m_nWinProcHooks) << "twenty hooks at most";
}

TEST_F(RouterTest, CommandsGoToTheirControlAndMouseMessagesBecomeEvents)
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

    KeyCounter mm;
    GlGetPWinMsgRouter()->m_aMouseMoveHdl = mm.GetLink();
    SendMessageA(H(), WM_MOUSEMOVE, MK_RBUTTON | MK_LBUTTON | MK_SHIFT, MAKELPARAM(-3, 40));
    EXPECT_EQ(1, mm.calls);
    EXPECT_EQ(Point(-3, 40), win->lastMouse.GetPosPixel());
    EXPECT_EQ(MOUSE_LEFT, win->lastMouse.GetButtons()) << "one button per event, left first";

    SendMessageA(H(), WM_RBUTTONDBLCLK, MK_RBUTTON, MAKELPARAM(7, 8));
    EXPECT_EQ(2, win->lastMouse.GetClicks());
    EXPECT_EQ(MOUSE_RIGHT, win->lastMouse.GetButtons());
}

// Routing after KSExit and a new KSInit is what every RouterTest case after the first does.
TEST(RouterLifecycle, WindowsOutliveTheLibrary)
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
}
