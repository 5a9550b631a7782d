// Scroll bars under a routed parent: platform scroll codes become steps.
#include "controls/ScrollBar.h"
#include "frame/WinMsgRouter.h"
#include "mfc/AfxWin.h"
#include "mfc/CWnd.h"
#include "tests/support/LinkCounter.h"
#include "tests/support/WindowFixture.h"

#include <gtest/gtest.h>
#include <vector>

namespace {
struct Step
{
    ScrollType type;
    int delta, thumb;
};

class Listener : public LinkHdl
{
public:
    std::vector<Step> steps;
    __int64 OnScroll(void *p)
    {
        auto *bar = static_cast<ScrollBar *>(p);
        steps.push_back({bar->GetType(), bar->GetDelta(), bar->GetThumbPos()});
        return 0;
    }
};

class ParentWnd : public CWnd
{
public:
    int passedOn = 0;
    LRESULT WindowProc(unsigned int msg, WPARAM wp, LPARAM lp) override
    {
        passedOn += msg == WM_VSCROLL || msg == WM_HSCROLL;
        return CWnd::WindowProc(msg, wp, lp);
    }
};

class ScrollBarTest : public kstest::WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        bar = new ScrollBar(MakeTop(), 0x2000);
        bar->ChangeScrollHdl(Link(&listener, &Listener::OnScroll));
        bar->ChangeEndScrollHdl(ends.GetLink());
    }
    void TearDown() override
    {
        delete bar;
        WindowFixture::TearDown();
    }
    void Send(unsigned code, int pos = 0)
    {
        SendMessageA(top->GetHWND(), WM_VSCROLL, MAKEWPARAM(code, static_cast<unsigned short>(pos)),
                     reinterpret_cast<LPARAM>(bar->GetHWND()));
    }
    int PlatformPos() { return GetScrollPos(bar->GetHWND(), SB_CTL); }
    ScrollBar *bar = nullptr;
    Listener listener;
    kstest::LinkCounter ends;
};

using ScrollBarRouting = kstest::WindowFixture;
} // namespace

TEST_F(ScrollBarTest, StepsStopAtTheEndsOfTheRange)
{
    bar->ChangeRange(Range(0, 100));
    bar->ChangePageSize(30);
    bar->ChangeLineSize(7);
    bar->ChangeThumbPos(80);
    Send(SB_PAGEDOWN);
    Send(SB_LINEDOWN);
    bar->ChangeThumbPos(3);
    Send(SB_LINEUP);
    Send(SB_PAGEDOWN);
    Send(SB_PAGEUP);
    ASSERT_EQ(5u, listener.steps.size());
    EXPECT_EQ(ScrollTypePageDown, listener.steps[0].type);
    EXPECT_EQ(ScrollTypeLineUp, listener.steps[2].type);
    EXPECT_EQ(100, listener.steps[0].thumb);
    int const deltas[] = {20, 0, -3, 30, -30}; // never beyond either end of the range
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(deltas[i], listener.steps[i].delta) << "step " << i;
    EXPECT_EQ(0, PlatformPos());
    EXPECT_EQ(ScrollTypeNone, bar->GetType()) << "outside the link";
}

TEST_F(ScrollBarTest, DraggingReportsWithoutMovingTheControl)
{
    bar->ChangeThumbPos(10);
    Send(SB_THUMBTRACK, 25);
    ASSERT_EQ(1u, listener.steps.size());
    EXPECT_EQ(ScrollTypeDrag, listener.steps[0].type);
    EXPECT_EQ(15, listener.steps[0].delta);
    EXPECT_EQ(10, PlatformPos()) << "the platform control was not moved";
    Send(SB_THUMBTRACK, 31);
    EXPECT_EQ(6, listener.steps[1].delta);
    Send(SB_ENDSCROLL);
    EXPECT_EQ(1, ends.calls);
    EXPECT_EQ(10, bar->GetThumbPos()) << "after the end: the control's own position";
    Send(SB_THUMBPOSITION, 60);
    EXPECT_EQ(50, listener.steps.back().delta);
    EXPECT_EQ(60, PlatformPos());
}

TEST_F(ScrollBarRouting, TopAndBottomCodesReachTheParent)
{
    ParentWnd *host = new ParentWnd;
    ASSERT_TRUE(host->CreateEx(0, AfxRegisterWndClass(0), "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr,
                               nullptr));
    Window parent;
    parent.SetAsWrap(host);
    HWND hbar = nullptr;
    {
        ScrollBar bar(&parent, 0);
        Listener l;
        bar.ChangeScrollHdl(Link(&l, &Listener::OnScroll));
        hbar = bar.GetHWND();
        for (WPARAM code : {SB_TOP, SB_BOTTOM, SB_LINEDOWN})
            SendMessageA(host->m_hWnd, WM_HSCROLL, code, reinterpret_cast<LPARAM>(hbar));
        EXPECT_EQ(2, host->passedOn) << "only top and bottom";
        EXPECT_EQ(1u, l.steps.size());
    }
    EXPECT_EQ(nullptr, GlGetPWinMsgRouter()->LookupScrollBar(hbar)) << "the destructor left the map";
    host->DestroyWindow();
    delete host;
}
