#include "docking/DockPaneElement.h"

#include "docking/ZnDockablePane.h"
#include "docking/ZnPaneFrameWnd.h"

bool DockPaneElement::Float()
{
    auto *pane = const_cast<ZnDockablePane *>(GetPane());
    CRectangle const &r = GetRect();
    if (!pane || r.Right() == RECT_EMPTY || r.Bottom() == RECT_EMPTY)
        return false;
    CRect const rect(r.Left(), r.Top(), r.Right(), r.Bottom());
    if (!pane->FloatPane(rect, DM_UNKNOWN, true))
        return false;
    // The frame takes the rectangle exactly, whatever the float made of it.
    if (ZnPaneFrameWnd *f = pane->GetParentMiniFrame())
        f->SetFrameRect(rect);
    return true;
}
