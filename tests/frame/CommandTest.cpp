// Command maps against a model, command tables, and the tool bar that the
// command-update requests address.
#include "controls/ToolBar.h"
#include "frame/CommandIds.h"
#include "frame/CommandMap.h"
#include "frame/CustomToolCmdUI.h"
#include "graphics/Bitmap.h"
#include "mfc/CToolBarCtrl.h"
#include "tests/support/ImageSamples.h"
#include "tests/support/WindowFixture.h"

#include <gtest/gtest.h>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

// Handler k answers (k << 32) | (k + 7): the map must cut it to k + 7.
class Handler : public LinkHdl
{
public:
    int k = 0;
    std::vector<int> *calls = nullptr;
    __int64 OnCall(void *)
    {
        calls->push_back(k);
        return (static_cast<__int64>(k) << 32) | (k + 7);
    }
};

struct Model
{
    std::map<int, std::pair<int, bool>> entries; // number -> handler, one-shot

    void Add(int n, int h, bool once) { entries.emplace(n, std::make_pair(h, once)); }
    long Call(int n, std::vector<int> &calls)
    {
        auto it = entries.find(n);
        if (it == entries.end())
            return 0;
        int const h = it->second.first;
        if (it->second.second)
            entries.erase(it);
        calls.push_back(h);
        return h + 7;
    }
    bool Remove(int n) { return entries.erase(n) != 0; }
};

TEST(CommandMap, FollowsAModelThroughRandomOperationsAndCopies)
{
    std::vector<int> calls, expected;
    std::vector<Handler> handlers(6);
    for (int k = 0; k < 6; ++k) {
        handlers[std::size_t(k)].k = k;
        handlers[std::size_t(k)].calls = &calls;
    }
    std::mt19937 rng(11);
    for (int run = 0; run < 20; ++run) {
        CommandMap map;
        Model model;
        for (int step = 0; step < 400; ++step) {
            int const n = int(rng() % 9) - 2; // negative numbers are numbers too
            switch (rng() % 6) {
            case 0:
            case 1: {
                int const h = int(rng() % 6);
                bool const once = rng() % 2;
                map.Add(n, Link(&handlers[std::size_t(h)], &Handler::OnCall), once);
                model.Add(n, h, once);
                break;
            }
            case 2:
            case 3:
                ASSERT_EQ(model.Call(n, expected), map.Call(n, &calls)) << "step " << step;
                break;
            case 4:
                ASSERT_EQ(model.Remove(n), map.Remove(n));
                break;
            case 5: {
                // A copy is a value of its own; a moved-to map carries on.
                CommandMap copy(map);
                copy.Add(100, Link(&handlers[0], &Handler::OnCall), false);
                CommandMap moved(std::move(copy));
                EXPECT_EQ(7, moved.Call(100, &calls));
                calls.pop_back();
                map = std::move(moved);
                map.Remove(100);
                break;
            }
            }
            ASSERT_EQ(model.entries.empty(), map.IsEmpty());
            ASSERT_EQ(expected, calls);
        }
    }
}

// A one-shot handler that changes the map while it runs.
class Rebinder : public LinkHdl
{
public:
    CommandMap *map = nullptr;
    int runs = 0;
    __int64 OnCall(void *)
    {
        ++runs;
        map->Remove(1);
        map->Add(2, Link(this, &Rebinder::OnCall), false);
        return runs;
    }
};

TEST(CommandMap, AHandlerMayRebindWhileItRuns)
{
    CommandMap map;
    Rebinder r;
    r.map = &map;
    map.Add(1, Link(&r, &Rebinder::OnCall), true);
    EXPECT_EQ(1, map.Call(1, nullptr));
    EXPECT_EQ(0, map.Call(1, nullptr));
    EXPECT_EQ(2, map.Call(2, nullptr));
    EXPECT_EQ(3, map.Call(2, nullptr)) << "a lasting binding stays";
    map.Add(3, Link(), true);
    EXPECT_EQ(0, map.Call(3, nullptr)) << "an empty link answers 0";
    EXPECT_FALSE(map.Remove(3)) << "and a one-shot one still goes";
}

TEST(CommandIds, EntriesTextsImagesAndTheStringList)
{
    KSInit();
    {
        CommandIds ids(4);
        HBITMAP h = kstest::MakeHBitmap(16, 16, kstest::Pattern(16, 16));
        Bitmap const image(h);
        DeleteObject(h);
        ids.Add(10, SString("A"), image, SString());
        ids.AddSeparator();
        ids.Add(11, SString("BC"), Bitmap(), SString("tip"));
        ids.Add(12, SString(), image, SString());
        ids.Add(13, SString("full"), image, SString()); // past the capacity
        ASSERT_EQ(4, ids.Count());
        EXPECT_EQ(2, ids.GetImageList().Count());
        unsigned const none = CommandIds::NONE;
        EXPECT_EQ((std::vector<unsigned>{10, none, 11, 12, none}),
                  (std::vector<unsigned>{ids[0], ids[1], ids[2], ids[3], ids.GetCommandId(4)}));
        EXPECT_EQ((std::vector<unsigned>{0, none, none, 1, none}),
                  (std::vector<unsigned>{ids.GetBitmapId(0), ids.GetBitmapId(1), ids.GetBitmapId(2),
                                         ids.GetBitmapId(3), ids.GetBitmapId(4)}));
        EXPECT_STREQ("A", ids.GetToolTipText(0).GetStr()) << "the text stands in for a missing tip";
        EXPECT_STREQ("tip", ids.GetToolTipText(2).GetStr());
        EXPECT_EQ(0, ids.GetString(4).Len());
        EXPECT_TRUE(ids.HasTexts());
        EXPECT_TRUE(ids.HasToolTips());
        ids.EnableToolTips(false);
        EXPECT_FALSE(ids.HasToolTips());

        // The list stops at the first empty text, as the platform reads it.
        char const *list = ids.GetPWinStringList();
        EXPECT_EQ(std::string("A\0$sep$\0BC\0\0", 13), std::string(list, 13));

        CommandIds copy(ids);
        copy.SetString(0, SString("Z"));
        copy.SetString(9, SString("ignored"));
        EXPECT_STREQ("A", ids.GetString(0).GetStr());
        EXPECT_STREQ("Z", copy.GetString(0).GetStr());
        EXPECT_EQ(2, copy.GetImageList().Count());
        ids = copy;
        EXPECT_EQ(std::string("Z\0$sep$\0BC\0\0", 13), std::string(ids.GetPWinStringList(), 13));
        EXPECT_FALSE(CommandIds().HasTexts());
    }
    KSExit();
}

class Parent : public WorkWindow
{
public:
    Parent() : WorkWindow(static_cast<CWnd *>(nullptr), 0) {}
    std::vector<unsigned long> commands;
    bool ProcessMenuCommand(unsigned long id) override
    {
        commands.push_back(id);
        return true;
    }
};

class ToolBarTest : public testing::Test
{
protected:
    void SetUp() override
    {
        KSInit();
        parent = new Parent;
        HBITMAP h = kstest::MakeHBitmap(16, 16, kstest::Pattern(16, 16));
        Bitmap const image(h);
        DeleteObject(h);
        ids.Add(21, SString(), image, SString("Open"));
        ids.AddSeparator();
        ids.Add(22, SString(), image, SString("Save"));
    }
    void TearDown() override
    {
        delete parent;
        KSExit();
    }
    Parent *parent = nullptr;
    CommandIds ids;
};

TEST_F(ToolBarTest, UpdateRequestsEnableAndCheckButtonsByNumber)
{
    ToolBar bar(parent, ids);
    ASSERT_NE(nullptr, bar.GetHWND());
    EXPECT_EQ(3, bar.GetButtonCount());
    HWND const h = bar.GetHWND();
    // It starts wide enough for its last button.
    RECT last{}, client{};
    SendMessageA(h, TB_GETITEMRECT, 2, LPARAM(&last));
    GetClientRect(h, &client);
    EXPECT_GE(client.right, last.right);
    EXPECT_GE(client.bottom, last.bottom);
    EXPECT_GT(last.right, 16);

    CustomToolCmdUI ui;
    ui.m_pOther = bar.GetPCWnd();
    ui.m_nID = 22;
    ui.Enable(0);
    EXPECT_TRUE(ui.m_bEnableChanged);
    EXPECT_FALSE(bar.IsButtonEnabled(22));
    EXPECT_TRUE(bar.IsButtonEnabled(21));
    EXPECT_TRUE(IsWindowEnabled(h)) << "the bar itself stays enabled";
    ui.Enable(1);
    EXPECT_TRUE(SendMessageA(h, TB_ISBUTTONENABLED, 22, 0));

    // Each mark replaces the one before; the platform's own reading decides.
    for (int mark : {1, 2, 0, 1, 0}) {
        ui.SetCheck(mark);
        EXPECT_EQ(mark == 1, SendMessageA(h, TB_ISBUTTONCHECKED, 22, 0) != 0) << mark;
        EXPECT_EQ(mark == 2, SendMessageA(h, TB_ISBUTTONINDETERMINATE, 22, 0) != 0) << mark;
        EXPECT_TRUE(bar.GetButtonStyle(22) & ToolBar::STYLE_CHECKBOX);
        EXPECT_TRUE(bar.IsButtonEnabled(22)) << "a mark keeps the button enabled";
    }
    EXPECT_EQ(0u, bar.GetButtonStyle(99));
    EXPECT_FALSE(bar.EnableButton(99, false));

    // Addressed at another window, the request only records itself.
    CustomToolCmdUI other;
    other.m_pOther = parent->GetPCWnd();
    other.m_nID = 22;
    other.Enable(0);
    other.SetCheck(1);
    EXPECT_TRUE(other.m_bEnableChanged);
    EXPECT_TRUE(IsWindowEnabled(parent->GetHWND()));
    EXPECT_FALSE(SendMessageA(h, TB_ISBUTTONCHECKED, 22, 0));
}

TEST_F(ToolBarTest, AClickReachesTheParentAsItsCommandAndBarsLeaveNothing)
{
    parent->SetPosSizePixel(Point(40, 40), Size(300, 120));
    parent->Show();
    {
        ToolBar bar(parent, ids);
        RECT r{};
        ASSERT_TRUE(SendMessageA(bar.GetHWND(), TB_GETITEMRECT, 2, LPARAM(&r)));
        LPARAM const at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageA(bar.GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(bar.GetHWND(), WM_LBUTTONUP, 0, at);
        kstest::PumpFor(50);
        EXPECT_EQ(std::vector<unsigned long>{22}, parent->commands);
    }
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 10}, [&] {
        ToolBar bar(parent, ids);
        bar.EnableButton(21, false);
    }));
}

} // namespace
