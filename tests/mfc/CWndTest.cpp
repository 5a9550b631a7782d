// The stand-in window objects: attached before their first message, typed
// handlers, sub-classed system controls, temporary objects.
#include "mfc/AfxWin.h"
#include "mfc/CFrameWnd.h"
#include "mfc/CWnd.h"
#include "tests/support/LeakLoop.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

class RecordingWnd : public CWnd
{
public:
    std::vector<unsigned> order;
    bool attachedAtFirst = false;
    int creates = 0, ncdestroys = 0, posts = 0;
    int lastCx = 0, lastCy = 0;

    LRESULT WindowProc(unsigned int msg, WPARAM wp, LPARAM lp) override
    {
        if (order.empty())
            attachedAtFirst = (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this);
        order.push_back(msg);
        return CWnd::WindowProc(msg, wp, lp);
    }
    int OnCreate(CREATESTRUCTA *cs) override { return ++creates, CWnd::OnCreate(cs); }
    void OnSize(unsigned int, int cx, int cy) override { lastCx = cx, lastCy = cy; }
    void OnNcDestroy() override { ++ncdestroys, CWnd::OnNcDestroy(); }
    void PostNcDestroy() override { ++posts; }
};

char const *WindowClass()
{
    return AfxRegisterWndClass(CS_DBLCLKS, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
}

class SelfDeletingFrame : public CFrameWnd
{
public:
    static int alive;
    SelfDeletingFrame() { ++alive; }
    ~SelfDeletingFrame() override { --alive; }
};
int SelfDeletingFrame::alive = 0;

} // namespace

TEST(CWnd, AttachedBeforeItsFirstMessageDetachedAfterItsLastAndNothingLeft)
{
    RecordingWnd w;
    ASSERT_TRUE(w.CreateEx(0, WindowClass(), "x", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
    EXPECT_TRUE(w.attachedAtFirst);
    EXPECT_EQ(1, w.creates);

    w.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER); // zero size: WM_SIZE 0 x 0
    w.MoveWindow(0, 0, 320, 240);
    RECT rc;
    w.GetClientRect(&rc);
    EXPECT_EQ(rc.right, w.lastCx);
    EXPECT_EQ(rc.bottom, w.lastCy);

    HWND h = w.m_hWnd;
    EXPECT_TRUE(w.DestroyWindow());
    EXPECT_EQ(1, w.ncdestroys);
    EXPECT_EQ(1, w.posts);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(h));

    auto cycle = [] {
        RecordingWnd r;
        EXPECT_TRUE(r.CreateEx(0, WindowClass(), "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
        r.order.shrink_to_fit();
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 100}, cycle));
}

TEST(CWnd, SystemControlsAreSubclassedAfterCreation)
{
    RecordingWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, WindowClass(), "p", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
    RecordingWnd button;
    RECT r{10, 10, 90, 40};
    ASSERT_TRUE(button.Create("BUTTON", "OK", WS_VISIBLE | BS_PUSHBUTTON, r, &parent, 1001));
    EXPECT_NE(nullptr, button.m_pfnSuper) << "the button's own procedure is kept";
    button.order.clear();
    button.SetWindowText("Cancel");
    CString text;
    button.GetWindowText(text);
    EXPECT_STREQ("Cancel", text.GetString());
    EXPECT_FALSE(button.order.empty()) << "messages now reach the object";
    parent.DestroyWindow(); // takes the child along
    EXPECT_EQ(nullptr, button.m_hWnd);
    EXPECT_EQ(1, button.ncdestroys);
}

TEST(CWnd, TemporaryObjectsAndAttachForForeignWindows)
{
    HWND raw = CreateWindowA("STATIC", "raw", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, raw);
    CWnd *temp = CWnd::FromHandle(raw);
    ASSERT_NE(nullptr, temp);
    EXPECT_EQ(temp, CWnd::FromHandle(raw)) << "one temporary object per handle";
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(raw));
    AfxDeleteTempMap();
    EXPECT_TRUE(IsWindow(raw)) << "a temporary object never destroys its window";
    CWnd a, b;
    EXPECT_TRUE(a.Attach(raw));
    EXPECT_FALSE(b.Attach(raw));
    EXPECT_FALSE(a.Attach(raw)) << "already attached";
    EXPECT_EQ(raw, a.Detach());
    EXPECT_TRUE(b.Attach(raw));
    b.Detach();
    DestroyWindow(raw);
}

TEST(CFrameWnd, DeletesItselfWithItsWindow)
{
    auto *f = new SelfDeletingFrame;
    ASSERT_TRUE(f->Create(nullptr, "frame"));
    EXPECT_EQ(1, SelfDeletingFrame::alive);
    SendMessageA(f->m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, SelfDeletingFrame::alive);
}

TEST(CWnd, ThreadsLeaveNoTemporaryObjectsBehind)
{
    auto worker = [](LPVOID) -> DWORD {
        HWND raw = CreateWindowA("STATIC", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        CWnd::FromHandle(raw); // a temporary object, owned by this thread
        DestroyWindow(raw);
        return 0;
    };
    auto oneThread = [&] {
        HANDLE t = CreateThread(nullptr, 0, worker, nullptr, 0, nullptr);
        WaitForSingleObject(t, INFINITE);
        CloseHandle(t);
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 10}, oneThread)) << "a thread's temporary objects must die with it";
}
