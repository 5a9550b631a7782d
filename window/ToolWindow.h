#pragma once
#include "window/Window.h"

// A tool window: caption and the thin tool-window frame.
class KSAPI ToolWindow : public Window
{
public:
    ToolWindow(CWnd *pParentWnd, int nStyle);
    ToolWindow(Window *pParent, int nStyle);
};
