// ks-test: serial
#include "controls/CheckBox.h"
#include "controls/FixedLinkText.h"
#include "controls/PushButton.h"
#include "controls/RadioButton.h"
#include "controls/ScrollBar.h"
#include "tests/support/LinkCounter.h"
#include "tests/support/WindowFixture.h"

#include <gtest/gtest.h>
#include <vector>

namespace {
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
    kstest::Pump();
}

class Recorder : public LinkHdl
{
public:
    int clicks = 0;
    std::vector<bool> checks;
    std::vector<std::pair<ScrollType, int>> steps;
    Window *toDelete = nullptr;
    __int64 OnClick(void *p)
    {
        ++clicks;
        if (auto *box = dynamic_cast<CheckBox *>(static_cast<Window *>(static_cast<Button *>(p))))
            checks.push_back(box->GetCheck());
        if (Window *w = toDelete) {
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
};

class ControlInputTest : public kstest::WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        MakeTop(0x121);
        ShowTop(Point(100, 100), Size(400, 300));
    }
    template <class C> void Place(C &c, int y, int w, int h)
    {
        c.SetPosSizePixel(Point(10, y), Size(w, h));
        c.Show();
    }
    Recorder rec;
    kstest::LinkCounter ends;
};
} // namespace

TEST_F(ControlInputTest, ClicksOnEveryKindOfControl)
{
    auto *b = new PushButton(top, 0);
    Place(*b, 10, 80, 24);
    b->ChangeClickHdl(Link(&rec, &Recorder::OnClick));
    ClickAt(*b, 20, 10);
    EXPECT_EQ(1, rec.clicks);
    ClickAt(*b, 20, 10, 2); // a double click counts as two
    EXPECT_EQ(3, rec.clicks);
    rec.toDelete = b; // a control may delete itself from its click link
    ClickAt(*b, 20, 10);
    EXPECT_EQ(4, rec.clicks);
    EXPECT_EQ(nullptr, rec.toDelete);

    CheckBox box(top, 0);
    Place(box, 50, 120, 20);
    box.ChangeClickHdl(Link(&rec, &Recorder::OnClick));
    ClickAt(box, 6, 10);
    ClickAt(box, 6, 10);
    ASSERT_EQ(2u, rec.checks.size());
    EXPECT_TRUE(rec.checks[0]);
    EXPECT_FALSE(rec.checks[1]);

    RadioButton r1(top, 0x20), r2(top, 0);
    Place(r1, 80, 100, 20);
    Place(r2, 100, 100, 20);
    r1.Check(true);
    ClickAt(r2, 6, 10);
    EXPECT_TRUE(r2.IsChecked());
    EXPECT_FALSE(r1.IsChecked()) << "one of a group";

    ScrollBar bar(top, 0);
    Place(bar, 150, 200, 18);
    bar.ChangeScrollHdl(Link(&rec, &Recorder::OnScroll));
    bar.ChangeEndScrollHdl(ends.GetLink());
    int const before = bar.GetThumbPos();
    ClickAt(bar, 194, 9); // the right arrow
    ASSERT_FALSE(rec.steps.empty());
    EXPECT_EQ(ScrollTypeLineDown, rec.steps[0].first);
    EXPECT_EQ(1, rec.steps[0].second);
    EXPECT_EQ(before + 1, bar.GetThumbPos());
    EXPECT_EQ(1, ends.calls);
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
        SendMessageA(p.GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); // starts the hold timer
        SendMessageA(p.GetHWND(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    };
    // The timer engine, started by the first cycle, lives until KSExit.
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 250}, cycle));
}
