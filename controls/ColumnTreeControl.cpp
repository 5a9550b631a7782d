#include "controls/ColumnTreeControl.h"

#include "controls/ZnColumnTreeCtrl.h"

ColumnTreeControl::ColumnTreeControl() = default;

ZnTreeCtrl *ColumnTreeControl::NewPZnTreeCtrl()
{
    return new ZnColumnTreeCtrl(this);
}

ZnColumnTreeCtrl *ColumnTreeControl::Columns() const
{
    return static_cast<ZnColumnTreeCtrl *>(GetPCTreeCtrl());
}

int ColumnTreeControl::InsertColumn(int nCol, SString const &rTitle, int nWidth)
{
    return Columns() ? Columns()->InsertColumn(nCol, rTitle.GetStr(), nWidth < 0 ? 100 : nWidth) : -1;
}

int ColumnTreeControl::GetNColumns() const
{
    return Columns() ? Columns()->GetColumnCount() : 0;
}

bool ColumnTreeControl::GetColumnExtent(int nCol, int &rLeft, int &rRight) const
{
    return Columns() && Columns()->GetColumnExtent(nCol, rLeft, rRight);
}

HWND ColumnTreeControl::GetHeaderHWND() const
{
    return Columns() ? Columns()->GetHeader() : nullptr;
}
