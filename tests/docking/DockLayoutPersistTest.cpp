// A dock parent window's layout captured into a model and applied again,
// panes hidden and shown by their remembered positions, and models written
// to and read from buffers. Layouts come from the fuzzer; the checker judges
// every one of them and the model comparison says whether two are the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <set>
#include <string>

#include "docking/DataBuffer.h"
#include "docking/DockElement.h"
#include "docking/DockParentWindow.h"
#include "docking/ZnDockParentWnd.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnPaneDivider.h"
#include "tests/docking/RecordBytes.h"
#include "tests/support/DockChecker.h"
#include "tests/support/DockModelCompare.h"
#include "tests/support/DockOperations.h"
#include "tests/support/LeakLoop.h"
#include "tests/support/LinkCounter.h"
#include "tests/support/DockHost.h"
#include "tests/support/WindowFixture.h"

namespace {

using kstest::CheckDockLayout;
using kstest::CompareDockModels;
using Model = std::vector<DockElement *>;

using kstest::OwnedModel;

struct Host : kstest::DockHost
{
    using DockHost::DockHost;
    // A fuzzed layout at the host's usual size, every pane docked somewhere
    // at first so that the fuzzer has groups to work on.
    // Without floating panes: a layout with floating panes does not yet come
    // back exactly (the checker holds, but pins and neighbours may differ).
    // Without tab groups when asked: their tabs are not docked panes of
    // their own, and the layouts that tests compare pane by pane would hold
    // few (DockTabTest covers groups).
    void Fuzz(unsigned seed, int n, bool withTabs = true)
    {
        if (seed % 2)
            for (ZnDockablePane *p : world.panes)
                world.mgr->DockIntoParent(p, world.AnySide(), world.Rand(40, 160), true);
        ASSERT_EQ("", kstest::FuzzDocking(world, seed, n,
                                          withTabs ? +[](kstest::DockOperation const &op) {
                                              return !kstest::IsFloatingOperation(op);
                                          }
                                                   : +[](kstest::DockOperation const &op) {
                                                         return !kstest::IsFloatingOperation(op) &&
                                                                !kstest::IsTabOperation(op);
                                                     }));
        world.resize(800, 600);
    }
    std::vector<ZnDockablePane *> Docked()
    {
        std::vector<ZnDockablePane *> out;
        for (ZnDockablePane *p : world.panes)
            if (Dp()->IsDockedHere(p))
                out.push_back(p);
        return out;
    }
};

class DockLayoutPersistTest : public kstest::WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        MakeTop();
        top->SetPosSizePixel(Point(0, 0), Size(900, 700));
    }
};

// The panes beside a pane, by name and side: what "back where it was"
// means to a user.
std::set<std::pair<std::string, unsigned long>> Beside(Host &h, ZnDockablePane *p)
{
    DockPosition position;
    h.Dp()->FillDockPosition(p, position, false);
    std::set<std::pair<std::string, unsigned long>> out;
    for (DockNeighbour const &n : position.GetNeighbourVec())
        if (n.GetContact() != NCT_NONE)
            out.insert({n.GetName().GetStr(), n.GetAlign()});
    return out;
}

// The window table of a stored layout: panes by their place in the host.
// A damaged index names no pane, or (past the end) a pane of another window.
struct PaneTable : LinkHdl
{
    std::vector<ZnDockablePane *> panes;
    ZnDockablePane *foreign = nullptr;
    __int64 ToIndex(void *p)
    {
        auto it = std::find(panes.begin(), panes.end(), static_cast<ZnDockablePane *>(p));
        return it == panes.end() ? -1 : it - panes.begin();
    }
    __int64 ToWindow(void *i)
    {
        auto const n = reinterpret_cast<intptr_t>(i);
        if (n >= 0 && size_t(n) < panes.size())
            return reinterpret_cast<intptr_t>(panes[size_t(n)]);
        return n % 2 ? reinterpret_cast<intptr_t>(foreign) : 0;
    }
};

kstest::Bytes Written(Model const &model)
{
    DataBuffer b;
    b.WriteInt32(int(model.size()));
    for (DockElement const *e : model)
        e->WriteToDataBuffer(b);
    return kstest::Contents(b);
}

// Elements until the count or the first one that does not read.
void Read(kstest::Bytes const &bytes, Model &out)
{
    DataBuffer b = kstest::FromBytes(bytes);
    int const n = std::min(b.ReadInt32(), 64);
    for (int i = 0; i < n; ++i) {
        DockElement *e = DockElement::CreateFromDataBuffer(b);
        if (!e)
            break;
        out.push_back(e);
    }
}

} // namespace

// Rectangles may differ by one pixel: a split is stored as a fraction and
// laid out again by rounding, and a share of an odd number of pixels comes
// back either way. Structure, sides and hidden panes must match exactly.
constexpr int kTol = 1;

TEST_F(DockLayoutPersistTest, ASavedLayoutComesBackAfterAnyFuzzedOperations)
{
    for (int n : {3, 5, 8})
        for (unsigned seed = 1; seed <= 10; ++seed) {
            SCOPED_TRACE("panes " + std::to_string(n) + ", seed " + std::to_string(seed));
            Host h(top, n);
            h.Fuzz(seed, 40);
            OwnedModel saved, now;
            // Shown pinned panes: a closed one is not part of a layout.
            auto pinned = [&h] {
                std::set<ZnDockablePane *> out;
                for (ZnDockablePane *p : h.world.panes)
                    if (p->IsAutoHideMode() && p->IsPaneVisible())
                        out.insert(p);
                return out;
            };
            std::set<ZnDockablePane *> const pinnedAtSave = pinned();
            h.Dp()->SaveState(saved.v);
            EXPECT_EQ(pinnedAtSave, pinned()) << "a capture leaves pinned panes pinned";
            ASSERT_EQ("", kstest::FuzzDocking(h.world, seed + 100, 40, +[](kstest::DockOperation const &op) {
                          return !kstest::IsFloatingOperation(op);
                      }));
            h.world.resize(800, 600);
            int const notices = h.layout.calls;
            kstest::DockCheckScope scope;
            EXPECT_TRUE(h.Dp()->LoadState(saved.v));
            EXPECT_EQ("", scope.FirstFailure());
            EXPECT_EQ(1, scope.Checks()) << "the apply is one gesture";
            EXPECT_EQ(notices + 1, h.layout.calls);
            ASSERT_EQ("", CheckDockLayout(*h.world.mgr));
            EXPECT_EQ(pinnedAtSave, pinned()) << "the panes pinned when it was saved are pinned again";
            h.Dp()->SaveState(now.v);
            EXPECT_EQ("", CompareDockModels(saved.v, now.v, kTol)) << kstest::DockModelStr(saved.v) << "--\n"
                                                                  << kstest::DockModelStr(now.v);
        }
}

TEST_F(DockLayoutPersistTest, TheWindowsOwnModelSurvivesDockAll)
{
    Host h(top, 6);
    h.Fuzz(7, 60);
    OwnedModel before, after;
    h.Dp()->SaveState();
    h.Dp()->SaveState(before.v);
    h.Dp()->DockAll();
    ASSERT_EQ("", CheckDockLayout(*h.world.mgr));
    EXPECT_TRUE(h.Dp()->LoadState());
    ASSERT_EQ("", CheckDockLayout(*h.world.mgr));
    h.Dp()->SaveState(after.v);
    EXPECT_EQ("", CompareDockModels(before.v, after.v, kTol)) << kstest::DockModelStr(before.v) << "--\n"
                                                              << kstest::DockModelStr(after.v);
}

TEST_F(DockLayoutPersistTest, AHiddenPaneComesBackBesideTheSameNeighbours)
{
    int compared = 0, layouts = 0;
    for (unsigned seed = 1; seed <= 30; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Host h(top, 6);
        h.Fuzz(seed, 50, false);
        // Where a group has no room left (the free space at its minimum) a
        // pane's neighbours change with the order the groups give way in;
        // such layouts are only checked, not compared.
        std::vector<ZnDockablePane *> const docked = h.Docked();
        bool const roomy = std::none_of(docked.begin(), docked.end(),
                                        [](ZnDockablePane *p) { return p->GetLayoutRect().IsRectEmpty(); });
        layouts += roomy;
        kstest::DockCheckScope scope;
        for (ZnDockablePane *p : docked) {
            SCOPED_TRACE(p->GetInternalName().GetStr());
            SCOPED_TRACE(h.Dp()->DumpPane(p).GetStr());
            auto const beside = Beside(h, p);
            std::set<ZnDockablePane *> hidden = h.Dp()->GetHiddenPanes();
            int const removed = h.removed.calls, shown = h.shown.calls;
            DockPosition position;
            ASSERT_TRUE(h.Dp()->HidePane(p, position, true));
            std::set<ZnDockablePane *> const before = hidden;
            hidden.insert(p);
            EXPECT_EQ(hidden, h.Dp()->GetHiddenPanes());
            EXPECT_EQ(removed + 1, h.removed.calls);
            EXPECT_FALSE(h.Dp()->HidePane(p, position, true)) << "hidden already";
            h.Dp()->ShowPane(p, p->GetRecentDockPosition());
            EXPECT_TRUE(h.Dp()->IsDockedHere(p));
            EXPECT_EQ(before, h.Dp()->GetHiddenPanes());
            EXPECT_EQ(shown + 1, h.shown.calls);
            EXPECT_EQ(removed + 1, h.removed.calls);
            if (roomy) {
                EXPECT_EQ(beside, Beside(h, p));
                ++compared;
            }
            ASSERT_EQ("", scope.FirstFailure());
        }
    }
    // Most fuzzed layouts leave every group room.
    EXPECT_GE(layouts, 12);
    EXPECT_GE(compared, 30);
}

TEST_F(DockLayoutPersistTest, SeveralHiddenPanesShownInAnyOrderAllComeBack)
{
    for (unsigned seed = 1; seed <= 24; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Host h(top, 7);
        h.Fuzz(seed, 50);
        std::vector<ZnDockablePane *> victims = h.Docked();
        std::shuffle(victims.begin(), victims.end(), h.world.rng);
        victims.resize(std::min<size_t>(victims.size(), 1 + seed % 4));
        kstest::DockCheckScope scope;
        std::set<ZnDockablePane *> const before = h.Dp()->GetHiddenPanes();
        std::set<ZnDockablePane *> hidden = before;
        hidden.insert(victims.begin(), victims.end());
        int const removed = h.removed.calls, shown = h.shown.calls;
        for (ZnDockablePane *p : victims) {
            DockPosition position;
            ASSERT_TRUE(h.Dp()->HidePane(p, position, true));
        }
        EXPECT_EQ(hidden, h.Dp()->GetHiddenPanes());
        EXPECT_EQ(removed + int(victims.size()), h.removed.calls);
        std::shuffle(victims.begin(), victims.end(), h.world.rng);
        for (ZnDockablePane *p : victims)
            h.Dp()->ShowPane(p, p->GetRecentDockPosition());
        EXPECT_EQ("", scope.FirstFailure());
        EXPECT_EQ(before, h.Dp()->GetHiddenPanes());
        EXPECT_EQ(shown + int(victims.size()), h.shown.calls);
        for (ZnDockablePane *p : victims)
            EXPECT_TRUE(h.Dp()->IsDockedHere(p));
    }
}

TEST_F(DockLayoutPersistTest, ALayoutReadFromABufferComesBackAndADamagedOneDoesNoHarm)
{
    // Three layouts with something to damage: at least three docked panes.
    int rich = 0;
    for (unsigned seed = 1; rich < 3 && seed <= 20; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Host h(top, 6), other(top, 1);
        h.Fuzz(seed, 50, false);
        if (h.Docked().size() < 3)
            continue;
        ++rich;
        other.world.mgr->DockIntoParent(other.P(0), DockAlignLeft, 100, true);
        PaneTable table;
        table.panes = h.world.panes;
        table.foreign = other.P(0);
        Link const toIndex(&table, &PaneTable::ToIndex), toWindow(&table, &PaneTable::ToWindow);
        OwnedModel saved, stored;
        h.Dp()->SaveState(saved.v);
        h.Dp()->SaveState(stored.v);
        for (DockElement *e : stored.v)
            e->WindowToIndex(toIndex);
        kstest::Bytes const bytes = Written(stored.v);

        h.Dp()->DockAll();
        OwnedModel read, now;
        Read(bytes, read.v);
        for (DockElement *e : read.v)
            e->IndexToWindow(toWindow);
        EXPECT_TRUE(h.Dp()->LoadState(read.v));
        ASSERT_EQ("", CheckDockLayout(*h.world.mgr));
        h.Dp()->SaveState(now.v);
        EXPECT_EQ("", CompareDockModels(saved.v, now.v, kTol));

        std::mt19937 rng(seed);
        int failed = 0;
        for (int i = 0; i < 150; ++i) {
            OwnedModel damaged;
            Read(kstest::Mutate(bytes, rng, {bytes}), damaged.v);
            for (DockElement *e : damaged.v)
                e->IndexToWindow(toWindow);
            failed += !h.Dp()->LoadState(damaged.v);
            ASSERT_EQ("", CheckDockLayout(*h.world.mgr)) << "mutation " << i;
            ASSERT_EQ("", CheckDockLayout(*other.world.mgr)) << "mutation " << i;
        }
        // Damage must be seen now and then, or the mutations missed the records.
        EXPECT_GT(failed, 0);
    }
    EXPECT_EQ(3, rich);
}

TEST_F(DockLayoutPersistTest, SavingLoadingHidingAndShowingLeaveNothingBehind)
{
    Host h(top, 5);
    ZnDockingManager *m = h.world.mgr;
    // Two split groups and a lone one, so that trees are captured, walked
    // and positions taken from them in every cycle.
    m->DockIntoParent(h.P(0), DockAlignLeft, 150, true);
    m->DockIntoPane(h.P(1), h.P(0), DockAlignBottom, 0);
    m->DockIntoParent(h.P(2), DockAlignTop, 100, true);
    m->DockIntoPane(h.P(3), h.P(2), DockAlignRight, 0);
    m->DockIntoParent(h.P(4), DockAlignRight, 120, true);
    h.Dp()->SaveState();
    auto cycle = [&](int i) {
        ZnDockablePane *p = h.P(i % 5);
        DockPosition position;
        h.Dp()->HidePane(p, position, true);
        h.Dp()->DockAll();
        h.Dp()->ShowPane(p, p->GetRecentDockPosition());
        h.Dp()->LoadState();
        h.Dp()->SaveState();
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 20}, cycle));
    EXPECT_EQ("", CheckDockLayout(*m));
}
