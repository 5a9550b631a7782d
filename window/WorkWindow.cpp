#include "window/WorkWindow.h"

WorkWindow::WorkWindow(CWnd *pParentWnd, int nStyle) : Window(pParentWnd, nStyle, 2)
{
}

WorkWindow::WorkWindow(Window *pParent, int nStyle) : Window(pParent, nStyle, 2)
{
}
