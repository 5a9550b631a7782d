#pragma once
#include "controls/TreeControl.h"

class ZnColumnTreeCtrl;

// A tree with columns: a header over the tree names the columns, the tree
// shows each item's text (GetText) in the first column and, when its model
// is a ColumnTreeControlData, the item's column texts (GetColumnText) in
// the others, each cut to its column. The columns keep their place when the
// tree scrolls sideways.
class KSAPI ColumnTreeControl : public TreeControl
{
public:
    ColumnTreeControl();

    // The column's index, or -1 (nCol past the end, or no tree yet). A
    // width below 0 takes 100 pixels.
    int InsertColumn(int nCol, SString const &rTitle, int nWidth);
    int GetNColumns() const;
    // The column's left and right edges in the tree's client coordinates;
    // false for a column that does not exist.
    bool GetColumnExtent(int nCol, int &rLeft, int &rRight) const;
    // The header control's window.
    HWND GetHeaderHWND() const;

protected:
    ZnTreeCtrl *NewPZnTreeCtrl() override;

private:
    ZnColumnTreeCtrl *Columns() const;
};
