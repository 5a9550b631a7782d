#pragma once
#include "controls/VisualStylist.h"

// The themed background of dialogs: the window class's dialog part.
class KSAPI DialogStylist : public VisualStylist
{
public:
    explicit DialogStylist(HWND hWnd) : VisualStylist(hWnd, SString("Window"), 29, 0) {}
    ~DialogStylist() override;
};
