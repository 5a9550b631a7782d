// The fuzzer's floating operations (see DockOperations.h).
#include <windows.h>

#include "docking/ZnDockParentWnd.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnMultiPaneFrameWnd.h"
#include "docking/ZnPaneDivider.h"
#include "docking/ZnPaneFrameWnd.h"
#include "mfc/CObList.h"
#include "tests/support/DockOperations.h"

namespace kstest {

namespace {

ZnDockablePane *AnyFloatingPane(DockWorld &w)
{
    std::vector<ZnDockablePane *> floating;
    for (ZnDockablePane *p : w.panes)
        if (p->IsFloating())
            floating.push_back(p);
    return floating.empty() ? nullptr : floating[size_t(w.Rand(0, int(floating.size()) - 1))];
}

ZnPaneFrameWnd *AnyFrame(DockWorld &w)
{
    std::vector<ZnPaneFrameWnd *> frames;
    w.mgr->FillMiniFrameVec(frames);
    return frames.empty() ? nullptr : frames[size_t(w.Rand(0, int(frames.size()) - 1))];
}

// Anywhere on a large screen, now and then tiny, far away or absurd.
CRect AnyFloatRect(DockWorld &w)
{
    int const x = w.Rand(-100, 1200), y = w.Rand(-100, 900);
    switch (w.Rand(0, 7)) {
    case 0:
        return CRect(x, y, x + w.Rand(0, 12), y + w.Rand(0, 12));
    case 1:
        return CRect(x, y, x - w.Rand(50, 300), y - w.Rand(50, 300));
    case 2:
        return CRect(x, y, x + 200000, y + 200000);
    default:
        return CRect(x, y, x + w.Rand(60, 600), y + w.Rand(60, 500));
    }
}

int AnyLen(DockWorld &w)
{
    return w.Rand(0, 2) ? 0 : w.Rand(1, 700);
}

} // namespace

std::vector<DockOperation> FloatingDockOperations()
{
    return {
        {"float",
         [](DockWorld &w) {
             static AFX_DOCK_METHOD const methods[] = {DM_UNKNOWN, DM_MOUSE, DM_DBL_CLICK, DM_RECT};
             w.AnyPane()->FloatPane(AnyFloatRect(w), methods[w.Rand(0, 3)], w.Rand(0, 5) != 0);
         }},
        {"dock back",
         [](DockWorld &w) {
             if (ZnDockablePane *p = AnyFloatingPane(w))
                 p->DockToRecentDockSite();
         }},
        {"dock floating at a side",
         [](DockWorld &w) {
             if (ZnDockablePane *p = AnyFloatingPane(w))
                 w.mgr->DockIntoParent(p, w.AnySide(), AnyLen(w), true);
         }},
        {"dock into a floating pane",
         [](DockWorld &w) {
             if (ZnDockablePane *t = AnyFloatingPane(w))
                 w.mgr->DockIntoPane(w.AnyPane(), t, w.AnySide(), AnyLen(w));
         }},
        {"dock floating into a docked pane",
         [](DockWorld &w) {
             ZnDockablePane *p = AnyFloatingPane(w);
             ZnDockablePane *t = w.AnyDockedPane();
             if (p && t)
                 w.mgr->DockIntoPane(p, t, w.AnySide(), AnyLen(w));
         }},
        {"dock a frame at a side",
         [](DockWorld &w) {
             if (ZnPaneFrameWnd *f = AnyFrame(w))
                 w.mgr->DockMiniFrameToSide(f, w.AnySide(), w.Rand(0, 1) != 0, AnyLen(w));
         }},
        {"close or show a floating pane",
         [](DockWorld &w) {
             if (ZnDockablePane *p = AnyFloatingPane(w)) {
                 if (p->IsPaneVisible())
                     p->DoClose();
                 else
                     p->ShowPane(true, false, true);
             }
         }},
        {"move or size a frame",
         [](DockWorld &w) {
             if (ZnPaneFrameWnd *f = AnyFrame(w))
                 f->SetFrameRect(AnyFloatRect(w));
         }},
        {"move a frame's divider",
         [](DockWorld &w) {
             auto *m = dynamic_cast<ZnMultiPaneFrameWnd *>(AnyFrame(w));
             if (!m)
                 return;
             CObList lst;
             m->GetPaneContainerManager().GetPaneDividers(lst);
             std::vector<ZnPaneDivider *> all;
             for (POSITION pos = lst.GetHeadPosition(); pos;)
                 all.push_back(static_cast<ZnPaneDivider *>(lst.GetNext(pos)));
             if (all.empty())
                 return;
             CPoint offset(w.Rand(-300, 300), w.Rand(-300, 300));
             all[size_t(w.Rand(0, int(all.size()) - 1))]->Move(offset, true);
         }},
        {"float all",
         [](DockWorld &w) {
             if (ZnDockParentWnd *dp = w.mgr->GetDockParentWnd())
                 dp->FloatAll();
         }},
        {"deliver posted messages",
         [](DockWorld &) {
             // Emptied frames check themselves on the message they posted.
             for (MSG m; PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);)
                 DispatchMessageA(&m);
         }},
    };
}

} // namespace kstest
