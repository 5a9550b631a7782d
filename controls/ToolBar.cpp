#include "controls/ToolBar.h"

#include "frame/CommandIds.h"
#include "frame/KSGlobal.h"
#include "frame/WinMsgRouter.h"
#include "mfc/CImageList.h"
#include "mfc/CToolBarCtrl.h"

#include <vector>
#include <windows.h>

ToolBar::ToolBar(Window *pParent, CommandIds &rIds) : pToolBar(nullptr)
{
    ImpSetParent(pParent);
    InitWindowBeforeCreate();
    CreateToolBar(pParent ? pParent->GetPCWnd() : nullptr, rIds);
    InitWindowAfterCreate(pToolBar, true);
    if (WinMsgRouter *router = GlGetPWinMsgRouter())
        router->AddControl(this);
}

ToolBar::~ToolBar()
{
    if (WinMsgRouter *router = GlGetPWinMsgRouter())
        router->RemoveControl(this);
    if (HWND h = GetHWND())
        DestroyWindow(h);
}

void ToolBar::CreateToolBar(CWnd *pParent, CommandIds &rIds)
{
    bool const labels = rIds.HasTexts();
    bool const tips = !labels && rIds.HasToolTips();
    // Placed and sized like any other control, not glued to the parent's top.
    unsigned long style = WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_NORESIZE;
    if (tips)
        style |= TBSTYLE_TOOLTIPS;
    pToolBar = new CToolBarCtrl;
    RECT const rect{0, 0, 100, 30};
    if (!pToolBar->Create(style, rect, pParent, pParent ? static_cast<unsigned int>(GetControlIdCnt()) : 0))
        return;
    if (CImageList *images = rIds.GetImageList().GetPCImageList())
        pToolBar->SetImageList(images->GetSafeHandle());

    // The strings the buttons show: labels, or tool tips when the control
    // is told to show no text rows.
    int const count = rIds.Count();
    std::vector<SString> shown(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        shown[std::size_t(i)] = labels ? rIds.GetString(unsigned(i)) : rIds.GetToolTipText(unsigned(i));
    std::vector<TBBUTTON> buttons;
    for (int i = 0; i < count; ++i) {
        unsigned int const id = rIds.GetCommandId(unsigned(i));
        TBBUTTON b{};
        if (id == CommandIds::NONE) {
            b.fsStyle = BTNS_SEP;
        } else {
            unsigned int const image = rIds.GetBitmapId(unsigned(i));
            b.iBitmap = image == CommandIds::NONE ? I_IMAGENONE : int(image);
            b.idCommand = int(id);
            b.fsState = TBSTATE_ENABLED;
            b.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE;
            if ((labels || tips) && shown[std::size_t(i)].Len())
                b.iString = reinterpret_cast<INT_PTR>(shown[std::size_t(i)].GetStr());
            else
                b.iString = -1;
        }
        buttons.push_back(b);
    }
    if (!buttons.empty())
        pToolBar->AddButtons(int(buttons.size()), buttons.data());
    if (tips)
        SendMessageA(pToolBar->m_hWnd, TB_SETMAXTEXTROWS, 0, 0);
    pToolBar->AutoSize();
    // Starts at the size that shows every button.
    RECT all{};
    for (int i = 0, n = pToolBar->GetButtonCount(); i < n; ++i) {
        RECT r{};
        if (SendMessageA(pToolBar->m_hWnd, TB_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r)))
            UnionRect(&all, &all, &r);
    }
    if (all.right > 0)
        SetWindowPos(pToolBar->m_hWnd, nullptr, 0, 0, all.right, all.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int ToolBar::GetButtonCount() const
{
    return pToolBar ? pToolBar->GetButtonCount() : 0;
}

bool ToolBar::EnableButton(unsigned int nId, bool bEnable)
{
    if (!pToolBar || pToolBar->CommandToIndex(nId) < 0)
        return false;
    return pToolBar->EnableButton(int(nId), bEnable);
}

bool ToolBar::IsButtonEnabled(unsigned int nId) const
{
    return pToolBar && pToolBar->CommandToIndex(nId) >= 0 && pToolBar->IsButtonEnabled(int(nId));
}

unsigned int ToolBar::GetButtonStyle(unsigned int nId) const
{
    TBBUTTONINFOA info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_STYLE | TBIF_STATE;
    if (!pToolBar || pToolBar->CommandToIndex(nId) < 0 || !pToolBar->GetButtonInfo(int(nId), &info))
        return 0;
    return unsigned(info.fsStyle) | unsigned(info.fsState) << 16;
}

bool ToolBar::SetButtonStyle(unsigned int nId, unsigned int nStyle)
{
    if (!pToolBar || pToolBar->CommandToIndex(nId) < 0)
        return false;
    TBBUTTONINFOA info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_STYLE | TBIF_STATE;
    info.fsStyle = BYTE(nStyle & 0xFF);
    info.fsState = BYTE((nStyle >> 16) & 0xFF);
    return pToolBar->SetButtonInfo(int(nId), &info);
}

bool ToolBar::ProcessCommandMsg(unsigned long nId)
{
    // The buttons' commands belong to the window the bar serves.
    Window *parent = GetParent();
    return parent && parent->ProcessCommandMsg(nId);
}
