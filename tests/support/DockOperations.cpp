#include "tests/support/DockOperations.h"

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
    for (DockOperation const &op : FloatingDockOperations())
        t.push_back(op);
    return t;
    }();
    return table;
}

std::string FuzzDocking(DockWorld &world, unsigned seed, int n)
{
    world.rng.seed(seed);
    DockCheckScope scope;
    auto const &table = DockOperationTable();
    for (int i = 0; i < n; ++i) {
        DockOperation const &op = table[size_t(world.Rand(0, int(table.size()) - 1))];
        op.apply(world);
        std::string e = scope.FirstFailure();
        if (e.empty())
            e = CheckDockLayout(*world.mgr);
        if (!e.empty())
            return "seed " + std::to_string(seed) + ", operation #" + std::to_string(i) + " '" + op.name + "': " + e;
    }
    return {};
}

} // namespace kstest
