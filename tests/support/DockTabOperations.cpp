// The fuzzer's tab operations (see DockOperations.h).
#include <windows.h>

#include "docking/DockPosition.h"
#include "docking/ZnBaseTabbedPane.h"
#include "docking/ZnDockParentWnd.h"
#include "docking/ZnDockingManager.h"
#include "tests/support/DockOperations.h"

namespace kstest {

ZnBaseTabbedPane *DockWorld::AnyTabGroup()
{
    std::vector<ZnDockablePane *> all;
    mgr->FillDockablePaneVec(all);
    std::vector<ZnBaseTabbedPane *> groups;
    for (ZnDockablePane *p : all)
        if (auto *g = dynamic_cast<ZnBaseTabbedPane *>(p))
            groups.push_back(g);
    return groups.empty() ? nullptr : groups[size_t(Rand(0, int(groups.size()) - 1))];
}

ZnDockablePane *DockWorld::AnyTab()
{
    std::vector<ZnDockablePane *> tabs;
    for (ZnDockablePane *p : panes)
        if (p->GetParentTabbedPane())
            tabs.push_back(p);
    return tabs.empty() ? nullptr : tabs[size_t(Rand(0, int(tabs.size()) - 1))];
}

namespace {

// Something to tab onto: a docked pane, a tab (its group), a floating
// pane, a group itself, or now and then a pane that is none of these.
ZnDockablePane *AnyTabTarget(DockWorld &w)
{
    switch (w.Rand(0, 4)) {
    case 0:
        if (ZnDockablePane *t = w.AnyTab())
            return t;
        break;
    case 1:
        if (ZnBaseTabbedPane *g = w.AnyTabGroup())
            return g;
        break;
    case 2:
        return w.AnyPane();
    default:
        break;
    }
    return w.AnyDockedPane();
}

} // namespace

std::vector<DockOperation> TabDockOperations()
{
    return {
        {"tab into pane",
         [](DockWorld &w) {
             if (ZnDockablePane *t = AnyTabTarget(w))
                 w.AnyPane()->AttachToTabWnd(t, DM_UNKNOWN, w.Rand(0, 1) != 0);
         }},
        {"tab group onto pane",
         [](DockWorld &w) {
             ZnBaseTabbedPane *g = w.AnyTabGroup();
             if (ZnDockablePane *t = g ? AnyTabTarget(w) : nullptr)
                 g->AttachToTabWnd(t, DM_UNKNOWN, true);
         }},
        {"activate tab",
         [](DockWorld &w) {
             if (ZnBaseTabbedPane *g = w.AnyTabGroup()) {
                 int const i = w.Rand(-1, g->GetTabsNum());
                 if (w.Rand(0, 1))
                     g->SetActiveTab(i);
                 else if (ZnDockablePane *t = g->GetTab(i))
                     t->ShowPane(true, false, true);
             }
         }},
        {"detach tab",
         [](DockWorld &w) {
             ZnDockablePane *t = w.AnyTab();
             if (!t)
                 return;
             switch (w.Rand(1, 3)) {
             case 1:
                 w.mgr->DockIntoParent(t, w.AnySide(), w.Rand(0, 300), true);
                 break;
             case 2:
                 if (ZnDockablePane *d = w.AnyDockedPane())
                     w.mgr->DockIntoPane(t, d, w.AnySide(), 0);
                 break;
             default:
                 t->LeaveTabbedPane();
                 break;
             }
         }},
        {"float tab",
         [](DockWorld &w) {
             if (ZnDockablePane *t = w.AnyTab())
                 t->FloatPane(t->GetFloatRect(), w.Rand(0, 1) ? DM_MOUSE : DM_DBL_CLICK, true);
         }},
        {"close tab",
         [](DockWorld &w) {
             ZnDockablePane *t = w.AnyTab();
             if (!t)
                 return;
             ZnDockParentWnd *dp = w.mgr->GetDockParentWnd();
             DockPosition position;
             if (dp && w.Rand(0, 1))
                 dp->HidePane(t, position, true);
             else if (w.Rand(0, 1))
                 t->DoClose();
             else
                 t->GetParentTabbedPane()->OnPressCloseButton();
         }},
        {"float tab group",
         [](DockWorld &w) {
             if (ZnBaseTabbedPane *g = w.AnyTabGroup()) {
                 int const x = w.Rand(0, 900), y = w.Rand(0, 700);
                 g->FloatPane(CRect(x, y, x + w.Rand(80, 400), y + w.Rand(80, 400)), DM_UNKNOWN, true);
             }
         }},
        {"pin tab group",
         [](DockWorld &w) {
             if (ZnBaseTabbedPane *g = w.AnyTabGroup())
                 g->ToggleAutoHide();
         }},
    };
}

bool IsFloatingTabOperation(DockOperation const &op)
{
    return std::string(op.name).rfind("float tab", 0) == 0;
}

bool IsPinningTabOperation(DockOperation const &op)
{
    return std::string(op.name) == "pin tab group";
}

bool IsTabOperation(DockOperation const &op)
{
    for (DockOperation const &a : TabDockOperations())
        if (std::string(a.name) == op.name)
            return true;
    return false;
}

} // namespace kstest
