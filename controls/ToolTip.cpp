#include "controls/ToolTip.h"

#include "controls/ZnToolTipCtrl.h"
#include "mfc/CMFCToolTipInfo.h"

#include <commctrl.h>

ToolTip::ToolTip(Window *pOwner) : ToolTip(pOwner, DefaultStyle) {}

ToolTip::ToolTip(Window *pOwner, unsigned long nStyle)
    : m_pCTipCtrl(nullptr), m_aPlainMargin{0, 0, 0, 0}, m_aBitmapMargin{5, 5, 5, 5}
{
    ImpSetParent(pOwner);
    InitWindowBeforeCreate();
    CreateCToolTipCtrl(pOwner ? pOwner->GetPCWnd() : nullptr, nStyle);
}

ToolTip::~ToolTip() = default;

void ToolTip::CreateCToolTipCtrl(CWnd *pParent, unsigned long nStyle)
{
    m_pCTipCtrl = new ZnToolTipCtrl;
    m_pCTipCtrl->Create(pParent, nStyle);
    InitWindowAfterCreate(m_pCTipCtrl, true);
}

bool ToolTip::OwnPaintingAllowed() const
{
    return false;
}

bool ToolTip::OwnKeyInputAllowed() const
{
    return false;
}

bool ToolTip::AddTool(CWnd *pWnd, char const *pText, RECT const *pRect, unsigned __int64 nId)
{
    return m_pCTipCtrl && m_pCTipCtrl->AddTool(pWnd, pText, pRect, UINT_PTR(nId));
}

void ToolTip::DelTool(CWnd *pWnd, unsigned __int64 nId)
{
    if (m_pCTipCtrl)
        m_pCTipCtrl->DelTool(pWnd, UINT_PTR(nId));
}

void ToolTip::UpdateTipText(unsigned int nResId, CWnd *pWnd, unsigned __int64 nId)
{
    if (m_pCTipCtrl)
        m_pCTipCtrl->UpdateTipText(nResId, pWnd, UINT_PTR(nId));
}

void ToolTip::UpdateTipText(CString &rText, CWnd *pWnd, unsigned __int64 nId)
{
    if (m_pCTipCtrl)
        m_pCTipCtrl->UpdateTipText(rText.GetString(), pWnd, UINT_PTR(nId));
}

void ToolTip::SetText(SString const &rText)
{
    Window *owner = GetParent();
    CWnd *target = owner && owner->GetPCWnd() ? owner->GetPCWnd() : m_pCTipCtrl;
    if (m_pCTipCtrl)
        m_pCTipCtrl->UpdateTipText(rText.GetStr(), target, 0);
}

void ToolTip::ActivateToolTips(bool bActivate)
{
    if (m_pCTipCtrl)
        m_pCTipCtrl->Activate(bActivate);
}

void ToolTip::SetDelayTime(int nTime, unsigned long nDuration)
{
    if (m_pCTipCtrl)
        m_pCTipCtrl->SetDelayTime(nDuration, nTime);
}

void ToolTip::RelayEvent(MSG aMsg)
{
    if (m_pCTipCtrl)
        m_pCTipCtrl->RelayEvent(&aMsg);
}

int ToolTip::GetToolCount()
{
    return m_pCTipCtrl ? m_pCTipCtrl->GetToolCount() : 0;
}

void ToolTip::EnableDrawBitmap(bool bOn)
{
    if (!m_pCTipCtrl)
        return;
    m_pCTipCtrl->SetMargin(bOn ? &m_aBitmapMargin : &m_aPlainMargin);
    m_pCTipCtrl->EnableDrawBitmap(bOn);
}

void ToolTip::Pop()
{
    if (m_pCTipCtrl)
        m_pCTipCtrl->Pop();
}

void ToolTip::ForceUpdate()
{
    if (m_pCTipCtrl)
        m_pCTipCtrl->Update();
}

void ToolTip::Show()
{
    if (HWND h = GetHWND())
        ::ShowWindow(h, SW_SHOW);
}

void ToolTip::SetTitle(unsigned int nIcon, SString const &rTitle)
{
    if (m_pCTipCtrl)
        m_pCTipCtrl->SetTitle(nIcon, rTitle.GetStr());
}

void ToolTip::SetParams(bool bRoundedCorners)
{
    if (!m_pCTipCtrl)
        return;
    CMFCToolTipInfo params(false, true, true, bRoundedCorners, true, true, 0, 200, COLORREF(-1), COLORREF(-1),
                           COLORREF(-1), COLORREF(-1));
    m_pCTipCtrl->SetParams(&params);
}

void ToolTip::SetBitmap(Bitmap aBitmap, bool bFixedSize)
{
    if (m_pCTipCtrl)
        m_pCTipCtrl->SetBitmap(aBitmap, bFixedSize);
}

void ToolTip::SetScalarX(float fX)
{
    if (m_pCTipCtrl)
        m_pCTipCtrl->SetScalarX(fX);
}

void ToolTip::SetScalarY(float fY)
{
    if (m_pCTipCtrl)
        m_pCTipCtrl->SetScalarY(fY);
}

void ToolTip::SetTransparent(bool bOn)
{
    if (m_pCTipCtrl)
        m_pCTipCtrl->SetTransparent(bOn);
}

void ToolTip::ParseLinks(CWnd *, RECT const *, unsigned __int64)
{
    // Tips carry no links in this library.
}
