#include "frame/CustomToolCmdUI.h"

#include "controls/ToolBar.h"
#include "frame/KSGlobal.h"
#include "frame/WinMsgRouter.h"
#include "mfc/CWnd.h"

ToolBar *CustomToolCmdUI::ImpToolBar() const
{
    WinMsgRouter *router = GlGetPWinMsgRouter();
    if (!router || !m_pOther || !m_pOther->m_hWnd)
        return nullptr;
    return dynamic_cast<ToolBar *>(router->LookupControl(m_pOther->m_hWnd));
}

void CustomToolCmdUI::Enable(int bOn)
{
    m_bEnableChanged = 1;
    if (ToolBar *bar = ImpToolBar())
        bar->EnableButton(m_nID, bOn != 0);
}

void CustomToolCmdUI::SetCheck(int nCheck)
{
    ToolBar *bar = ImpToolBar();
    if (!bar)
        return;
    // The old mark goes first, so that a check can also be taken back.
    unsigned int style = bar->GetButtonStyle(m_nID) & ~(ToolBar::STATE_CHECKED | ToolBar::STATE_INDETERMINATE);
    style |= ToolBar::STYLE_CHECKBOX;
    if (nCheck == 1)
        style |= ToolBar::STATE_CHECKED;
    else if (nCheck == 2)
        style |= ToolBar::STATE_INDETERMINATE;
    bar->SetButtonStyle(m_nID, style);
}
