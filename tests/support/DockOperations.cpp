#include "tests/support/DockOperations.h"

#include <cstdio>
#include <cstdlib>

#include "docking/DockPosition.h"
#include "docking/ZnDockParentWnd.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnPaneDivider.h"
#include "mfc/CObList.h"
#include "tests/support/DockChecker.h"

namespace kstest {

ZnDockablePane *DockWorld::AnyDockedPane()
{
    std::vector<ZnDockablePane *> docked;
    for (ZnDockablePane *p : panes)
        if (p->GetDefaultPaneDivider())
            docked.push_back(p);
    return docked.empty() ? nullptr : docked[size_t(Rand(0, int(docked.size()) - 1))];
}

unsigned long DockWorld::AnySide()
{
    static unsigned long const sides[] = {0x1000, 0x2000, 0x4000, 0x8000};
    return sides[Rand(0, 3)];
}

namespace {

int AnyLength(DockWorld &w)
{
    // Zero (no explicit size) now and then, small and over-long lengths too.
    switch (w.Rand(0, 5)) {
    case 0:
        return 0;
    case 1:
        return w.Rand(1, 10);
    case 2:
        return w.Rand(500, 5000);
    default:
        return w.Rand(20, 300);
    }
}

std::vector<ZnPaneDivider *> AllDividers(DockWorld &w)
{
    std::vector<ZnPaneDivider *> out;
    for (ZnPaneDivider *g : w.mgr->GetDefaultDividers()) {
        out.push_back(g);
        CObList inner;
        g->GetPaneDividers(inner);
        for (POSITION pos = inner.GetHeadPosition(); pos;)
            out.push_back(static_cast<ZnPaneDivider *>(inner.GetNext(pos)));
    }
    return out;
}

// --- auto-hide operations

ZnDockablePane *AnyPinnedPane(DockWorld &w, bool bOutOnly = false)
{
    std::vector<ZnDockablePane *> pinned;
    for (ZnDockablePane *p : w.panes)
        if (p->IsAutoHideMode() && (!bOutOnly || p->IsSlidOut()))
            pinned.push_back(p);
    return pinned.empty() ? nullptr : pinned[size_t(w.Rand(0, int(pinned.size()) - 1))];
}

std::vector<DockOperation> AutoHideOperations()
{
    return {
        {"pin",
         [](DockWorld &w) {
             if (ZnDockablePane *p = w.AnyDockedPane())
                 p->SetAutoHideMode(true, w.Rand(0, 1) ? 0 : w.AnySide());
         }},
        {"pin group",
         [](DockWorld &w) {
             if (ZnDockablePane *p = w.AnyDockedPane()) {
                 p->EnableAutohideAll(true);
                 p->ToggleAutoHide();
                 p->EnableAutohideAll(w.Rand(0, 1) != 0);
             }
         }},
        {"unpin",
         [](DockWorld &w) {
             if (ZnDockablePane *p = AnyPinnedPane(w)) {
                 bool const all = p->IsAutohideAllEnabled();
                 p->EnableAutohideAll(w.Rand(0, 1) != 0);
                 p->ToggleAutoHide();
                 p->EnableAutohideAll(all);
             }
         }},
        {"slide out",
         [](DockWorld &w) {
             if (ZnDockablePane *p = AnyPinnedPane(w))
                 p->Slide(true, false);
         }},
        {"slide in",
         [](DockWorld &w) {
             if (ZnDockablePane *p = AnyPinnedPane(w, true))
                 p->Slide(false, false);
         }},
        {"close pinned",
         [](DockWorld &w) {
             if (ZnDockablePane *p = AnyPinnedPane(w))
                 p->DoClose();
         }},
        {"hide pinned",
         [](DockWorld &w) {
             if (ZnDockablePane *p = AnyPinnedPane(w)) {
                 ZnDockablePane::m_bHideInAutoHideMode = w.Rand(0, 1);
                 p->ShowPane(false, false, false);
                 ZnDockablePane::m_bHideInAutoHideMode = 0;
             }
         }},
        {"show pinned",
         [](DockWorld &w) {
             if (ZnDockablePane *p = AnyPinnedPane(w))
                 p->ShowPane(true, false, true);
         }},
        {"resize slid-out pane",
         [](DockWorld &w) {
             if (ZnDockablePane *p = AnyPinnedPane(w, true))
                 p->SetAutoHideSize(AnyLength(w));
         }},
    };
}

std::vector<DockOperation> WithAutoHide(std::vector<DockOperation> table)
{
    for (DockOperation const &op : AutoHideOperations())
        table.push_back(op);
    return table;
}

// --- Hiding and showing panes, saving and loading layouts: the dock parent
// window's own operations (a world without one skips them).
void AddLayoutPersistOperations(std::vector<DockOperation> &table)
{
    table.push_back({"hide pane", [](DockWorld &w) {
                         ZnDockParentWnd *dp = w.mgr->GetDockParentWnd();
                         ZnDockablePane *p = w.AnyDockedPane();
                         DockPosition position;
                         if (dp && p)
                             dp->HidePane(p, position, true);
                     }});
    table.push_back({"show hidden pane", [](DockWorld &w) {
                         ZnDockParentWnd *dp = w.mgr->GetDockParentWnd();
                         if (!dp)
                             return;
                         // In the world's order, not the set's (addresses differ from run to run).
                         std::vector<ZnDockablePane *> hidden;
                         for (ZnDockablePane *p : w.panes)
                             if (dp->GetHiddenPanes().count(p))
                                 hidden.push_back(p);
                         if (!hidden.empty()) {
                             ZnDockablePane *p = hidden[size_t(w.Rand(0, int(hidden.size()) - 1))];
                             dp->ShowPane(p, p->GetRecentDockPosition());
                         }
                     }});
    table.push_back({"dock all", [](DockWorld &w) {
                         if (ZnDockParentWnd *dp = w.mgr->GetDockParentWnd())
                             dp->DockAll();
                     }});
    table.push_back({"save layout", [](DockWorld &w) {
                         if (ZnDockParentWnd *dp = w.mgr->GetDockParentWnd())
                             dp->SaveState();
                     }});
    table.push_back({"load layout", [](DockWorld &w) {
                         ZnDockParentWnd *dp = w.mgr->GetDockParentWnd();
                         if (dp && !dp->GetCapturedLayout().empty())
                             dp->LoadState();
                     }});
}

} // namespace

std::vector<DockOperation> const &DockOperationTable()
{
    static std::vector<DockOperation> const table = [] {
    std::vector<DockOperation> t = {
        {"dock into parent",
         [](DockWorld &w) { w.mgr->DockIntoParent(w.AnyPane(), w.AnySide(), AnyLength(w), true); }},
        {"dock into pane",
         [](DockWorld &w) {
             if (ZnDockablePane *t = w.AnyDockedPane())
                 w.mgr->DockIntoPane(w.AnyPane(), t, w.AnySide(), w.Rand(0, 2) ? 0 : AnyLength(w));
         }},
        {"close",
         [](DockWorld &w) {
             if (ZnDockablePane *p = w.AnyDockedPane())
                 p->DoClose();
         }},
        {"show",
         [](DockWorld &w) {
             if (ZnDockablePane *p = w.AnyDockedPane())
                 p->ShowPane(true, false, true);
         }},
        {"set size in container",
         [](DockWorld &w) {
             if (ZnDockablePane *p = w.AnyDockedPane())
                 p->SetSizeInContainer(AnyLength(w));
         }},
        {"move divider",
         [](DockWorld &w) {
             std::vector<ZnPaneDivider *> const all = AllDividers(w);
             if (all.empty())
                 return;
             CPoint offset(w.Rand(-300, 300), w.Rand(-300, 300));
             all[size_t(w.Rand(0, int(all.size()) - 1))]->Move(offset, true);
         }},
        {"resize site",
         [](DockWorld &w) {
             if (w.Rand(0, 3) == 0)
                 w.resize(w.Rand(0, 40), w.Rand(0, 40));
             else
                 w.resize(w.Rand(100, 1000), w.Rand(80, 800));
         }},
    };
    AddLayoutPersistOperations(t);
    for (DockOperation const &op : FloatingDockOperations())
        t.push_back(op);
    for (DockOperation const &op : TabDockOperations())
        t.push_back(op);
    return WithAutoHide(t);
    }();
    return table;
}

bool IsAutoHideOperation(DockOperation const &op)
{
    if (IsPinningTabOperation(op))
        return true;
    for (DockOperation const &a : AutoHideOperations())
        if (std::string(a.name) == op.name)
            return true;
    return false;
}

bool IsFloatingOperation(DockOperation const &op)
{
    if (IsFloatingTabOperation(op))
        return true;
    for (DockOperation const &a : FloatingDockOperations())
        if (std::string(a.name) == op.name)
            return true;
    return false;
}

std::string FuzzDocking(DockWorld &world, unsigned seed, int n)
{
    return FuzzDocking(world, seed, n, nullptr);
}

std::string FuzzDocking(DockWorld &world, unsigned seed, int n, bool (*keep)(DockOperation const &))
{
    world.rng.seed(seed);
    std::srand(seed); // the library's own random choices (DockAll) replay too
    DockCheckScope scope;
    std::vector<DockOperation> table;
    for (DockOperation const &op : DockOperationTable())
        if (!keep || keep(op))
            table.push_back(op);
    // KS_FUZZ_TRACE=1 names every operation as it runs, for replaying a
    // failing seed by hand.
    bool const trace = std::getenv("KS_FUZZ_TRACE") != nullptr;
    for (int i = 0; i < n; ++i) {
        DockOperation const &op = table[size_t(world.Rand(0, int(table.size()) - 1))];
        if (trace)
            std::fprintf(stderr, "#%d %s\n", i, op.name);
        op.apply(world);
        if (trace) {
            ZnDockParentWnd *dp = world.mgr->GetDockParentWnd();
            for (ZnDockablePane *p : world.panes)
                std::fprintf(stderr, "  %s%s%s%s%s%s", p->GetInternalName().GetStr(),
                             dp && dp->GetHiddenPanes().count(p) ? " hidden" : "",
                             p->IsPaneVisible() ? " shown" : "", p->IsAutoHideMode() ? " pinned" : "",
                             p->GetDefaultPaneDivider() ? " docked" : "", p->GetParentTabbedPane() ? " tab" : "");
            std::fprintf(stderr, "\n");
        }
        std::string e = scope.FirstFailure();
        if (e.empty())
            e = CheckDockLayout(*world.mgr);
        if (!e.empty())
            return "seed " + std::to_string(seed) + ", operation #" + std::to_string(i) + " '" + op.name + "': " + e;
    }
    return {};
}

} // namespace kstest
