#pragma once
// The outline shown while a pane is dragged: a ring of a few pixels around
// the rectangle (screen coordinates) where the pane will dock if the mouse
// is released there. It is a window of its own, shaped to the ring and kept
// above the others, not an inverted pattern drawn into the windows below:
// while the live frame moves over the site those windows repaint, and an
// inverted outline would then be erased twice or not at all. A window is
// drawn and taken away by the window system, so nothing is ever left
// behind.
//
//     ZnDragFrameImpl outline;
//     outline.Init(pSiteWnd);           // the site whose top window owns it
//     outline.MoveDragFrame(rectDock);  // shows it there (an empty rect hides it)
//     outline.EndDrawDragFrame();       // hides it; the destructor destroys it
#include <windef.h>

#include "frame/Kestrel5Api.h"
#include "mfc/CRect.h"

class CWnd;

class KSAPI ZnDragFrameImpl
{
public:
    ZnDragFrameImpl();
    ~ZnDragFrameImpl();
    ZnDragFrameImpl(ZnDragFrameImpl const &) = delete;
    ZnDragFrameImpl &operator=(ZnDragFrameImpl const &) = delete;

    // The window whose top-level ancestor owns the outline.
    void Init(CWnd *pOwner);
    void MoveDragFrame(CRect const &rectScreen);
    void EndDrawDragFrame();

    bool IsShown() const { return m_bShown; }
    CRect GetRect() const { return m_rect; }
    HWND GetSafeHwnd() const { return m_hWnd; }
    // The ring's width: 4 pixels at 96 dots per inch.
    static int GetThickness();
    // The outline window's class.
    static char const *GetWindowClassName();

private:
    bool EnsureWindow();

    HWND m_hOwner;
    HWND m_hWnd;
    CRect m_rect;
    bool m_bShown;
};
