#include "window/ToolWindow.h"

ToolWindow::ToolWindow(CWnd *pParentWnd, int nStyle) : Window(pParentWnd, nStyle, 0x8000)
{
}

ToolWindow::ToolWindow(Window *pParent, int nStyle) : Window(pParent, nStyle, 0x8000)
{
}
