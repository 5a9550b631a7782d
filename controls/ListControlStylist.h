#pragma once
#include "controls/VisualStylist.h"

// The themed look of list views.
class KSAPI ListControlStylist : public VisualStylist
{
public:
    explicit ListControlStylist(HWND hWnd) : VisualStylist(hWnd, SString("ListView"), 5, 0) {}
    ~ListControlStylist() override;
};
