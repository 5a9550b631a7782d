// ks-test: serial
// Controls driven by real input through SendInput.
#include "controls/CheckBox.h"
#include "controls/FixedLinkText.h"
#include "controls/PushButton.h"
#include "controls/RadioButton.h"
#include "controls/ScrollBar.h"
#include "frame/KSGlobal.h"
#include "tests/support/LeakCounters.h"
#include "window/WorkWindow.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

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

void ClickAt(Window &w, int x, int y, int times = 1)
{
    Point p = w.OutputToScreenPixel(Point(x, y));
    SetCursorPos(p.X(), p.Y());
    for (int i = 0; i < times; ++i) {
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_MOUSE;
        in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, in, sizeof in[0]);
    }
    Pump();
}

class Recorder : public LinkHdl
{
public:
    int clicks = 0;
    std::vector<bool> checks;
    std::vector<std::pair<ScrollType, int>> steps;
    int ends = 0;
    Window *toDelete = nullptr;
    __int64 OnClick(void *p)
    {
        ++clicks;
        if (auto *box = dynamic_cast<CheckBox *>(static_cast<Window *>(static_cast<Button *>(p))))
            checks.push_back(box->GetCheck());
        if (toDelete) {
            Window *w = toDelete;
            toDelete = nullptr;
            delete w; // the control that is calling
        }
        return 0;
    }
    __int64 OnScroll(void *p)
    {
        auto *bar = static_cast<ScrollBar *>(p);
        steps.push_back({bar->GetType(), bar->GetDelta()});
        return 0;
    }
    __int64 OnEnd(void *)
    {
        ++ends;
        return 0;
    }
};

class ControlInputTest : public testing::Test
{
protected:
    void SetUp() override
    {
        KSInit();
        top = new WorkWindow(static_cast<CWnd *>(nullptr), 0x121);
        top->SetPosSizePixel(Point(100, 100), Size(400, 300));
        top->Show();
        SetForegroundWindow(top->GetHWND());
        Pump();
    }
    void TearDown() override
    {
        delete top;
        KSExit();
    }
    WorkWindow *top = nullptr;
    Recorder rec;
};

} // namespace

TEST_F(ControlInputTest, ClicksAndDoubleClicksOnAPushButton)
{
    PushButton b(top, 0);
    b.SetPosSizePixel(Point(10, 10), Size(80, 24));
    b.Show();
    b.ChangeClickHdl(Link(&rec, &Recorder::OnClick));
    ClickAt(b, 20, 10);
    EXPECT_EQ(1, rec.clicks);
    ClickAt(b, 20, 10, 2); // a double click: press, release, press again, release
    EXPECT_EQ(3, rec.clicks);
}

TEST_F(ControlInputTest, CheckBoxesAndRadioButtonsChangeState)
{
    CheckBox box(top, 0);
    box.SetPosSizePixel(Point(10, 50), Size(120, 20));
    box.SetText(SString("box"));
    box.Show();
    box.ChangeClickHdl(Link(&rec, &Recorder::OnClick));
    ClickAt(box, 6, 10);
    ClickAt(box, 6, 10);
    ASSERT_EQ(2u, rec.checks.size());
    EXPECT_TRUE(rec.checks[0]);
    EXPECT_FALSE(rec.checks[1]);
    EXPECT_FALSE(box.IsChecked());

    RadioButton r1(top, 0x20), r2(top, 0);
    r1.SetPosSizePixel(Point(10, 80), Size(100, 20));
    r2.SetPosSizePixel(Point(10, 100), Size(100, 20));
    r1.Show();
    r2.Show();
    r1.Check(true);
    ClickAt(r2, 6, 10);
    EXPECT_TRUE(r2.IsChecked());
    EXPECT_FALSE(r1.IsChecked()) << "one of a group";
}

TEST_F(ControlInputTest, ScrollBarArrowsStepAndEnd)
{
    ScrollBar bar(top, 0);
    bar.SetPosSizePixel(Point(10, 150), Size(200, 18));
    bar.Show();
    bar.ChangeScrollHdl(Link(&rec, &Recorder::OnScroll));
    bar.ChangeEndScrollHdl(Link(&rec, &Recorder::OnEnd));
    int const before = bar.GetThumbPos();
    ClickAt(bar, 194, 9); // the right arrow
    ASSERT_FALSE(rec.steps.empty());
    EXPECT_EQ(ScrollTypeLineDown, rec.steps[0].first);
    EXPECT_EQ(1, rec.steps[0].second);
    EXPECT_EQ(before + 1, bar.GetThumbPos());
    EXPECT_EQ(1, rec.ends);
}

TEST_F(ControlInputTest, AControlMayDeleteItselfFromItsClickLink)
{
    auto *b = new PushButton(top, 0);
    b->SetPosSizePixel(Point(10, 10), Size(80, 24));
    b->Show();
    b->ChangeClickHdl(Link(&rec, &Recorder::OnClick));
    rec.toDelete = b;
    ClickAt(*b, 20, 10);
    EXPECT_EQ(1, rec.clicks);
    EXPECT_EQ(nullptr, rec.toDelete);
    SendMessageA(top->GetHWND(), WM_USER, 0, 0); // the router still works
}

TEST_F(ControlInputTest, ThousandControlCyclesLeaveNothing)
{
    auto cycle = [this] {
        PushButton p(top, 0);
        CheckBox c(top, 0);
        ScrollBar s(top, 0);
        FixedLinkText t(top, 0);
        t.SetText(SString("link"));
        p.Show();
        t.Show();
        UpdateWindow(top->GetHWND());
    };
    for (int i = 0; i < 5; ++i)
        cycle();
    auto const heap = kstest::CurrentHeapUsage();
    std::size_t const gdi = kstest::GdiObjectCount();
    std::size_t const windows = kstest::ThreadWindowCount();
    for (int i = 0; i < 1000; ++i)
        cycle();
    EXPECT_EQ(windows, kstest::ThreadWindowCount());
    EXPECT_EQ(gdi, kstest::GdiObjectCount());
    EXPECT_EQ(heap.blocks, kstest::CurrentHeapUsage().blocks);
}
