// ks-test: dpi=120,144
// The docking engine on real windows: a dock parent window in a top-level
// window, panes that are library Windows, and a frame with a view. No input
// is sent, so this runs beside other tests; the checker judges every
// layout by the windows' own rectangles.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include "docking/DockParentWindow.h"
#include "docking/ZnDockParentWnd.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnDockSite.h"
#include "docking/ZnPaneContainer.h"
#include "docking/ZnPaneDivider.h"
#include "docking/ZnVisualManager.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "mfc/CFrameWnd.h"
#include "tests/support/DockChecker.h"
#include "tests/support/DockOperations.h"
#include "tests/support/LinkCounter.h"
#include "tests/support/DockHost.h"
#include "tests/support/WindowFixture.h"

namespace {

using kstest::CheckDockLayout;


using Host = kstest::DockHost;

class DockParentTest : public kstest::WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        MakeTop();
        top->SetPosSizePixel(Point(0, 0), Size(900, 700));
    }
};

} // namespace

// The resolution the prefix was made with (96 outside the dpi runs).
int PrefixDpi()
{
    char v[16] = "";
    return GetEnvironmentVariableA("KS_WINE_DPI", v, sizeof v) ? atoi(v) : 96;
}

TEST_F(DockParentTest, PanesAreWindowsOfTheDockParentWithTheirContentAsClientArea)
{
    Host h(top, 2);
    ZnDockablePane *p = h.P(0);
    // Dividers and captions follow the screen's resolution.
    int const dpi = PrefixDpi();
    // The docking messages are registered by the library's start.
    EXPECT_EQ(ZnDockingManager::GetWmOnPressCloseButton(), RegisterWindowMessageA("ZN_WM_ON_PRESS_CLOSE_BUTTON"));
    EXPECT_EQ(ZnDockingManager::GetWmCheckEmptyMiniFrame(), RegisterWindowMessageA("MSG_ZNCHECKEMPTYMINIFRAME"));
    EXPECT_EQ(ZnDockingManager::GetWmChangeVisualManager(), RegisterWindowMessageA("AFX_WM_CHANGEVISUALMANAGER"));
    EXPECT_GE(ZnDockingManager::GetWmOnPressCloseButton(), 0xC000u);
    ASSERT_EQ(dpi, GetPKSData()->m_nLogPixelsY);
    EXPECT_EQ(h.panes[0].get(), p->GetPDockedWin());
    EXPECT_EQ(h.host.GetPDockParentWnd(), p->GetPDockParentWnd());
    EXPECT_TRUE(p->IsFloatGripActive());
    EXPECT_EQ(h.host.GetHWND(), ::GetParent(p->GetSafeHwnd()));
    h.Mgr()->DockIntoParent(p, CBRS_ALIGN_LEFT, 200, true);
    ASSERT_EQ("", CheckDockLayout(*h.Mgr()));
    // The caption and border are non-client: the Window's client area is
    // the window less exactly them.
    RECT wr, cr;
    ::GetWindowRect(p->GetSafeHwnd(), &wr);
    ::GetClientRect(p->GetSafeHwnd(), &cr);
    int const border = ZnVisualManager::GetPVisualManager()->GetPaneBorderWidth();
    EXPECT_EQ(MulDiv(20, dpi, 96), p->GetCaptionHeight());
    EXPECT_EQ(MulDiv(6, dpi, 96), p->GetDefaultPaneDivider()->GetWidth());
    EXPECT_EQ(MulDiv(6, dpi, 96), p->GetDefaultPaneDivider()->GetLayoutRect().Width());
    EXPECT_EQ(wr.right - wr.left - 2 * border, cr.right);
    EXPECT_EQ(wr.bottom - wr.top - 2 * border - p->GetCaptionHeight(), cr.bottom);
    EXPECT_EQ(cr.right, h.panes[0]->GetOutputSizePixel().Width());
    // Without its gripper the pane gives the caption's rows to its content.
    p->EnableGripper(false);
    RECT cr2;
    ::GetClientRect(p->GetSafeHwnd(), &cr2);
    EXPECT_EQ(cr.bottom + MulDiv(20, dpi, 96), cr2.bottom);
    EXPECT_EQ(0, p->GetCaptionHeight());
    p->EnableGripper(true);
    // Moving a pane out of the dock parent turns the float grip off.
    h.panes[1]->ChangeParent(top);
    EXPECT_FALSE(h.P(1)->IsFloatGripActive());
    h.panes[1]->ChangeParent(&h.host);
    EXPECT_TRUE(h.P(1)->IsFloatGripActive());
}

TEST_F(DockParentTest, AThousandFuzzedOperationsOnRealWindows)
{
    Host h(top, 6);
    EXPECT_EQ("", kstest::FuzzDocking(h.world, 4242, 1000));
}

TEST_F(DockParentTest, LayoutChangeLinksFireOncePerReportedChange)
{
    Host h(top, 3);
    ZnDockingManager *m = h.Mgr();
    auto count = [&h](auto op) {
        h.layout.calls = 0;
        op();
        return h.layout.calls;
    };
    EXPECT_EQ(1, count([&] { m->DockIntoParent(h.P(0), CBRS_ALIGN_LEFT, 250, true); }));
    EXPECT_EQ(0, count([&] { m->DockIntoPane(h.P(1), h.P(0), CBRS_ALIGN_BOTTOM, 0); }));
    EXPECT_EQ(1, count([&] { m->DockIntoPane(h.P(2), h.P(1), CBRS_ALIGN_RIGHT, 90); }));
    h.begin.calls = 0;
    EXPECT_EQ(1, count([&] { h.P(0)->SetSizeInContainer(120); }));
    EXPECT_EQ(1, h.begin.calls);
    EXPECT_EQ(1, count([&] {
        ZnDockingGesture g(m); // one user gesture, many steps
        for (int i = 0; i < 5; ++i)
            h.P(0)->SetSizeInContainer(100 + 10 * i);
    }));
    EXPECT_EQ(2, h.begin.calls);
    EXPECT_EQ(0, count([&] { h.world.resize(700, 500); }));
    EXPECT_EQ("", CheckDockLayout(*m));
}

TEST_F(DockParentTest, TheCloseButtonAsksTheOwnerOrHidesAFramePane)
{
    Host h(top, 2);
    h.Mgr()->DockIntoParent(h.P(0), CBRS_ALIGN_RIGHT, 200, true);
    h.Mgr()->DockIntoPane(h.P(1), h.P(0), CBRS_ALIGN_TOP, 0);
    h.layout.calls = 0;
    h.P(0)->OnPressButtons(AFX_HTCLOSE);
    EXPECT_EQ(1, h.close.calls);
    EXPECT_EQ(h.panes[0].get(), h.close.last);
    EXPECT_TRUE(h.P(0)->IsPaneVisible()) << "the owner closes, not the pane";
    EXPECT_EQ(0, h.layout.calls);
    h.P(1)->SetDockedWindow(nullptr);
    h.P(1)->OnPressButtons(AFX_HTCLOSE);
    EXPECT_EQ(1, h.close.calls) << "no docked window, nothing to ask about";
    EXPECT_TRUE(h.P(1)->IsPaneVisible());
    h.P(1)->SetDockedWindow(h.panes[1].get());

    // A pane of a plain frame hides itself.
    CFrameWnd *frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "frame"));
    CWnd view;
    view.CreateEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), frame, AFX_IDW_PANE_FIRST);
    ZnDockingManager mgr;
    mgr.Create(frame);
    EXPECT_TRUE(frame->EnableDocking(CBRS_ALIGN_ANY));
    ZnDockablePane pane;
    ASSERT_TRUE(pane.Create("Output", frame, CRect(0, 0, 200, 150), true, 101, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_BOTTOM));
    mgr.DockPane(&pane, ZnDockingManager::AFX_IDW_DOCKBAR_BOTTOM);
    frame->RecalcLayout();
    ASSERT_EQ("", CheckDockLayout(mgr));
    RECT v, c;
    ::GetWindowRect(view.GetSafeHwnd(), &v);
    ::MapWindowPoints(nullptr, frame->GetSafeHwnd(), reinterpret_cast<POINT *>(&v), 2);
    c = mgr.GetClientAreaBounds();
    EXPECT_TRUE(::EqualRect(&v, &c)) << "the view takes what the panes leave";
    // A second pane left of the first, in its group; the dividers show
    // resize cursors.
    ZnDockablePane second;
    ASSERT_TRUE(second.Create("Find", frame, CRect(0, 0, 200, 150), true, 102, WS_CHILD | WS_VISIBLE));
    EXPECT_TRUE(mgr.DockPaneLeftOf(&second, &pane));
    unsigned long side = 0;
    EXPECT_EQ(&pane, second.GetDirectNeighbour(side));
    EXPECT_EQ(CBRS_ALIGN_RIGHT, side);
    EXPECT_EQ("", CheckDockLayout(mgr));
    int isLeft;
    HWND inner = pane.GetDefaultPaneDivider()->FindPaneContainer(&pane, isLeft)->GetPaneDivider()->GetSafeHwnd();
    SendMessageA(inner, WM_SETCURSOR, WPARAM(inner), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(LoadCursorA(nullptr, IDC_SIZEWE), GetCursor());
    HWND group = pane.GetDefaultPaneDivider()->GetSafeHwnd();
    SendMessageA(group, WM_SETCURSOR, WPARAM(group), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(LoadCursorA(nullptr, IDC_SIZENS), GetCursor());
    pane.OnPressButtons(AFX_HTCLOSE);
    EXPECT_FALSE(pane.IsPaneVisible());
    EXPECT_EQ("", CheckDockLayout(mgr));
    frame->DestroyWindow();
}

TEST_F(DockParentTest, TheDockParentLeavesNothingBehind)
{
    // A dock parent with ten docked panes, re-laid out and destroyed.
    auto cycle = [this] {
        Host h(top, 10);
        ZnDockingManager *m = h.Mgr();
        for (int i = 0; i < 10; ++i) {
            if (i % 3 == 0)
                m->DockIntoParent(h.P(i), 0x1000u << (i % 4), 100 + i, true);
            else
                m->DockIntoPane(h.P(i), h.P(i - 1), 0x1000u << (i % 4), 0);
        }
        h.world.resize(640, 480);
        h.P(4)->SetSizeInContainer(60);
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 50}, cycle));
}

TEST_F(DockParentTest, ThePanesMenuShowsAndHidesPanes)
{
    Host h(top, 3);
    ZnDockingManager *m = h.Mgr();
    m->DockIntoParent(h.P(0), CBRS_ALIGN_LEFT, 200, true);
    m->DockIntoPane(h.P(1), h.P(0), CBRS_ALIGN_BOTTOM, 0);
    m->DockIntoParent(h.P(2), CBRS_ALIGN_RIGHT, 150, true);
    h.P(1)->DoClose();
    HMENU menu = m->BuildPanesMenu();
    ASSERT_NE(nullptr, menu);
    ASSERT_EQ(3, GetMenuItemCount(menu));
    for (int i = 0; i < 3; ++i) {
        char text[64] = "";
        UINT const id = GetMenuItemID(menu, i);
        GetMenuStringA(menu, UINT(i), text, sizeof text, MF_BYPOSITION);
        auto *p = static_cast<ZnDockablePane *>(m->FindPaneByID(id));
        ASSERT_NE(nullptr, p);
        EXPECT_EQ(std::string(p->GetWindowText().GetStr()), text);
        EXPECT_EQ(p->IsPaneVisible(), (GetMenuState(menu, UINT(i), MF_BYPOSITION) & MF_CHECKED) != 0);
    }
    DestroyMenu(menu);
    h.layout.calls = 0;
    EXPECT_TRUE(m->ProcessPaneContextMenuCommand(unsigned(h.P(1)->GetDlgCtrlID())));
    EXPECT_TRUE(h.P(1)->IsPaneVisible());
    EXPECT_TRUE(m->ProcessPaneContextMenuCommand(unsigned(h.P(2)->GetDlgCtrlID())));
    EXPECT_FALSE(h.P(2)->IsPaneVisible());
    EXPECT_EQ(2, h.layout.calls);
    EXPECT_FALSE(m->ProcessPaneContextMenuCommand(0xFFFF));
    EXPECT_EQ("", CheckDockLayout(*m));
    // Without the menu enabled nothing pops up.
    EXPECT_FALSE(m->OnPaneContextMenu(CPoint(10, 10)));
}

TEST_F(DockParentTest, TheManagerIsFoundFromAnyWindowInsideAndAnswersForItsSite)
{
    Host h(top, 2);
    ZnDockingManager *m = h.Mgr();
    m->DockIntoParent(h.P(0), CBRS_ALIGN_TOP, 120, true);
    Window inside(h.panes[0].get(), 0, 0); // content of a pane's content
    EXPECT_EQ(m, ZnDockingManager::GetPDockingManager(inside.GetPCWnd()));
    EXPECT_EQ(m, ZnDockingManager::GetPDockingManager(h.canvas.GetPCWnd()));
    EXPECT_EQ(m, ZnDockingManager::GetPDockingManager(h.P(0)));
    EXPECT_EQ(nullptr, ZnDockingManager::GetPDockingManager(top->GetPCWnd()));

    // Near an edge: the site's own edges are outer, the client area's inner.
    POINT o{0, 0};
    ClientToScreen(h.host.GetHWND(), &o);
    unsigned long align = 0;
    bool outer = false;
    EXPECT_TRUE(m->IsPointNearDockSite(CPoint(o.x + 3, o.y + 300), align, outer));
    EXPECT_EQ(CBRS_ALIGN_LEFT, align);
    EXPECT_TRUE(outer);
    CRect const ca = m->GetClientAreaBounds();
    EXPECT_TRUE(m->IsPointNearDockSite(CPoint(o.x + 300, o.y + ca.top + 2), align, outer));
    EXPECT_EQ(CBRS_ALIGN_TOP, align);
    EXPECT_FALSE(outer);
    EXPECT_FALSE(m->IsPointNearDockSite(CPoint(o.x + 300, o.y + 300), align, outer));

    // Replacing a docked pane puts the newcomer in its place.
    CRect const was = h.P(0)->GetLayoutRect();
    EXPECT_TRUE(m->ReplacePane(h.P(0), h.P(1)));
    EXPECT_EQ(was, h.P(1)->GetLayoutRect());
    EXPECT_FALSE(h.P(0)->IsPaneVisible());
    EXPECT_EQ("", CheckDockLayout(*m));

    // Locked, the site and its panes stop drawing until unlocked.
    m->LockUpdate(true);
    EXPECT_TRUE(m->IsUpdateLocked());
    m->LockUpdate(false);
    EXPECT_FALSE(m->IsUpdateLocked());
    m->ForceAdjustLayout(true, true);
    EXPECT_EQ("", CheckDockLayout(*m));
}

namespace {

// A dock site whose window cannot be made.
class BrokenDockSite : public ZnDockSite
{
public:
    static CObject *Make() { return new BrokenDockSite; }
    static CRuntimeClass const rtc;
    bool Create(unsigned long, CRect const &, CWnd *, unsigned long) override { return false; }
};
CRuntimeClass const BrokenDockSite::rtc = {"BrokenDockSite", int(sizeof(BrokenDockSite)), 0xFFFF,
                                           &BrokenDockSite::Make, RUNTIME_CLASS(ZnDockSite)};

// Closes the first message box of this process and keeps its text.
struct BoxCloser
{
    std::string text;
    std::thread t;
    BoxCloser()
        : t([this] {
              for (int i = 0; i < 300; ++i, Sleep(10)) {
                  HWND box = FindWindowA("#32770", nullptr);
                  DWORD pid = 0;
                  if (!box || (GetWindowThreadProcessId(box, &pid), pid != GetCurrentProcessId()))
                      continue;
                  char buf[128] = "";
                  // The box may be found before its text is in place.
                  if (!GetDlgItemTextA(box, 0xFFFF, buf, sizeof buf))
                      continue;
                  text = buf;
                  PostMessageA(box, WM_COMMAND, IDOK, 0);
                  return;
              }
          })
    {
    }
    ~BoxCloser() { t.join(); }
};

} // namespace

TEST_F(DockParentTest, ADockSiteThatCannotBeMadeSaysSo)
{
    Host h(top, 1);
    ZnDockingManager *m = h.Mgr();
    ASSERT_EQ(4, m->GetDockSiteList().GetCount()) << "a dock parent docks on every side";
    ZnDockSite *made = reinterpret_cast<ZnDockSite *>(1);
    std::string said;
    {
        BoxCloser closer;
        EXPECT_FALSE(m->AddDockSite(AFX_DOCKSITE_INFO{CBRS_ALIGN_LEFT, &BrokenDockSite::rtc}, &made));
        closer.t.join();
        said = closer.text;
        closer.t = std::thread([] {});
    }
    EXPECT_EQ("DockBar Create FAILED", said);
    EXPECT_EQ(nullptr, made);
    EXPECT_EQ(4, m->GetDockSiteList().GetCount());
    // A second site on the left goes after the first one, inside it.
    ASSERT_TRUE(m->InsertDockSite(AFX_DOCKSITE_INFO{CBRS_ALIGN_LEFT, RUNTIME_CLASS(ZnDockSite)}, CBRS_ALIGN_LEFT, &made));
    EXPECT_EQ(made, m->FindDockSite(CBRS_ALIGN_LEFT, false));
    EXPECT_NE(made, m->FindDockSite(CBRS_ALIGN_LEFT, true));
    m->DockIntoParent(h.P(0), CBRS_ALIGN_LEFT, 100, true);
    EXPECT_EQ("", CheckDockLayout(*m));
}

namespace {

// Fills the text a docking message asks for.
struct MessageTexts : LinkHdl
{
    __int64 Msg(void *p)
    {
        auto *req = static_cast<DockingMsgRequest *>(p);
        *req->pText = SString("message ") + char('0' + req->nCode);
        return 0;
    }
};

} // namespace

TEST_F(DockParentTest, CaptionButtonsAnswerHitTestsAndTheOwnerIsAsked)
{
    Host h(top, 2);
    ZnDockingManager *m = h.Mgr();
    m->DockIntoParent(h.P(0), CBRS_ALIGN_LEFT, 240, true);
    ZnDockablePane *p = h.P(0);
    auto hit = [p](unsigned code) {
        RECT wr;
        GetWindowRect(p->GetSafeHwnd(), &wr);
        CRect b = p->FindButtonByHit(code)->GetRect();
        return SendMessageA(p->GetSafeHwnd(), WM_NCHITTEST, 0,
                            MAKELPARAM(wr.left + (b.left + b.right) / 2, wr.top + (b.top + b.bottom) / 2));
    };
    EXPECT_EQ(LRESULT(AFX_HTCLOSE), hit(AFX_HTCLOSE));
    EXPECT_EQ(LRESULT(AFX_HTMENU), hit(AFX_HTMENU));
    CRectangle const fr = p->CalcFloatRect();
    EXPECT_EQ(HTCAPTION, SendMessageA(p->GetSafeHwnd(), WM_NCHITTEST, 0, MAKELPARAM(fr.Left() + 5, fr.Top() + 5)));
    EXPECT_EQ(HTCLIENT, SendMessageA(p->GetSafeHwnd(), WM_NCHITTEST, 0,
                                     MAKELPARAM(fr.Left() + 20, fr.Top() + p->GetCaptionHeight() + 20)));

    // Disabled buttons hide unless the caption style keeps them.
    EXPECT_EQ(LRESULT(HTMAXBUTTON), hit(HTMAXBUTTON)) << "the pin shows";
    EXPECT_TRUE(p->FindButtonByHit(HTMINBUTTON)->IsHidden()) << "maximising is off until it is built";
    ZnDockablePane::SetCaptionStyle(1, 7, 0);
    p->EnableButton(HTMINBUTTON, 0);
    EXPECT_FALSE(p->FindButtonByHit(HTMINBUTTON)->IsHidden());
    EXPECT_EQ(LRESULT(HTMINBUTTON), hit(HTMINBUTTON));
    ZnDockablePane::SetCaptionStyle(0, 0, 1);
    p->EnableButton(AFX_HTCLOSE, 0);
    EXPECT_TRUE(p->FindButtonByHit(AFX_HTCLOSE)->IsHidden());
    EXPECT_FALSE(p->IsButtonEnabled(AFX_HTCLOSE));
    p->EnableButton(AFX_HTCLOSE, 1);
    SString tip;
    EXPECT_TRUE(p->OnNeedTipText(2, tip));
    EXPECT_EQ(std::string("Panes Menu"), tip.GetStr());
    p->SetButtonTipText(1, SString("Shut"));
    EXPECT_TRUE(p->OnNeedTipText(1, tip));
    EXPECT_EQ(std::string("Shut"), tip.GetStr());

    // The owner's links: may close, may toggle, menu clicks, caption focus, texts.
    kstest::LinkRecorder mayClose, mayToggle, menu, focus;
    MessageTexts msg;
    DockParentCallBacks cb = h.host.GetPDockParentWnd()->GetCallBacks();
    cb.aCanCloseHdl = mayClose.GetLink();
    cb.aUserMayToggleHdl = mayToggle.GetLink();
    cb.aPaneMenuClickHdl = menu.GetLink();
    cb.aCaptionSetFocusHdl = focus.GetLink();
    cb.aGetDockingMsgHdl = Link(&msg, &MessageTexts::Msg);
    ZnDockParentWnd *dp = h.host.GetPDockParentWnd();
    dp->SetCallBacks(cb);
    EXPECT_FALSE(dp->CanClose(p));
    mayClose.answer = 1;
    EXPECT_TRUE(dp->CanClose(p));
    EXPECT_EQ(h.panes[0].get(), mayClose.last);
    EXPECT_FALSE(dp->UserMayToggle(p));
    EXPECT_TRUE(dp->CanClose(nullptr));
    p->SetDockedWindow(nullptr);
    EXPECT_TRUE(dp->UserMayToggle(p)) << "no window, nothing to ask";
    p->SetDockedWindow(h.panes[0].get());
    p->OnPressButtons(AFX_HTMENU);
    EXPECT_EQ(1, menu.calls);
    h.P(1)->SetIsActive(true);
    p->SetIsActive(true);
    EXPECT_EQ(p, focus.last);
    EXPECT_FALSE(h.P(1)->IsActive());
    EXPECT_EQ(std::string("message 7"), dp->GetDockingMsg(7).GetStr());

    // Depth and neighbours.
    EXPECT_EQ(0, h.P(1)->GetNestedDockDepth()) << "not docked";
    EXPECT_FALSE(p->HasChilds());
    m->DockIntoPane(h.P(1), p, CBRS_ALIGN_TOP, 0);
    EXPECT_TRUE(p->HasChilds());
    unsigned long side = 0;
    EXPECT_EQ(h.P(1), p->GetDirectNeighbour(side));
    EXPECT_EQ(CBRS_ALIGN_TOP, side);
    EXPECT_EQ("", CheckDockLayout(*m));
}
