#pragma once
#include "window/Window.h"

// A top-level window with an overlapped frame.
class KSAPI WorkWindow : public Window
{
public:
    WorkWindow(CWnd *pParentWnd, int nStyle);
    WorkWindow(Window *pParent, int nStyle);
};
