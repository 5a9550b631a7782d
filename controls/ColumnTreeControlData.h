#pragma once
#include "controls/TreeControlData.h"

// The model of a ColumnTreeControl: a tree model that also gives the text
// of each item in the columns after the first (the first shows GetText).
class KSAPI ColumnTreeControlData : public TreeControlData
{
public:
    // nColumn is 1 or more; empty by default.
    virtual SString GetColumnText(HTREEITEM hItem, int nColumn);
};
