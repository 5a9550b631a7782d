#include "docking/ZnDockablePane.h"

ZnDockablePane::ZnDockablePane(ZnDockParentWnd *pDockParentWnd)
    : m_pDockParentWnd(pDockParentWnd), m_pDockedWin(nullptr), m_nSizeInContainer(0),
      m_nLastPercentInPaneContainer(50)
{
}

ZnDockablePane::~ZnDockablePane()
{
}

void ZnDockablePane::SetRecentDockPosition(DockPosition const &position)
{
    m_recentDockPosition = position;
    m_recentDockPosition.SetName(m_sInternalName);
}

bool ZnDockablePane::SetSizeInContainer(int len)
{
    m_nSizeInContainer = len;
    // The pane containers come with the docking engine; until a pane sits in
    // one there is no divider to move.
    return false;
}

SString ZnDockablePane::GetWindowText() const
{
    if (!m_hWnd)
        return m_sWindowText;
    CString text;
    CWnd::GetWindowText(text);
    return SString(text);
}

void ZnDockablePane::SetWindowText(char const *text)
{
    m_sWindowText = text ? text : "";
    if (m_hWnd)
        CWnd::SetWindowText(text);
}
