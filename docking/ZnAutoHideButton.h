#pragma once
// One button of an auto-hide bar: it stands for one pinned-off pane and
// shows the pane's text, written downwards on the bars of the left and right
// edges. The bar owns its buttons, places them (rectangles in the bar's
// client coordinates) and asks them to draw themselves.
#include <windef.h>

#include "frame/Kestrel5Api.h"
#include "mfc/CObject.h"
#include "mfc/CRect.h"

class ZnAutoHideBar;
class ZnDockablePane;

class KSAPI ZnAutoHideButton : public CObject
{
    DECLARE_DYNCREATE(ZnAutoHideButton)
public:
    ZnAutoHideButton() = default;

    // Binds the button to its bar and pane; dwAlignment is the bar's edge.
    virtual bool Create(ZnAutoHideBar *pParentBar, ZnDockablePane *pAutoHideWnd, unsigned long dwAlignment);

    ZnDockablePane *GetAutoHideWindow() const { return m_pAutoHideWindow; }
    ZnAutoHideBar *GetParentToolBar() const { return m_pParentBar; }
    unsigned long GetAlignment() const { return m_dwAlignment; }
    bool IsHorizontal() const { return (m_dwAlignment & 0xA000) != 0; }

    // The length along the bar that the pane's text needs, with padding,
    // and the depth across it; measured on dc (a screen DC when null).
    virtual CSize GetSize(HDC hDC = nullptr) const;
    CRect GetRect() const { return m_rect; }
    void SetRect(CRect const &rect) { m_rect = rect; }

    bool IsHighlighted() const { return m_bHighlighted; }
    void HighlightButton(bool bHighlight) { m_bHighlighted = bHighlight; }
    // Pressed look while its pane is slid out.
    bool IsActive() const;
    // A pane hidden in auto-hide mode (m_bHideInAutoHideMode) keeps its
    // button, hidden: it takes no room on the bar.
    bool IsVisible() const;

    virtual void OnDraw(HDC hDC) const;

private:
    ZnAutoHideBar *m_pParentBar = nullptr;
    ZnDockablePane *m_pAutoHideWindow = nullptr;
    unsigned long m_dwAlignment = 0;
    CRect m_rect;
    bool m_bHighlighted = false;
};
