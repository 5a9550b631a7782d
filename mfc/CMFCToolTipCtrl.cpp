#include "mfc/CMFCToolTipCtrl.h"

#include "mfc/CDC.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CMFCToolTipCtrl, CToolTipCtrl)

CMFCToolTipCtrl::CMFCToolTipCtrl(CMFCToolTipInfo *pParams) : m_ptSavedOrigin{0, 0}, m_bOwnResize(false)
{
    if (pParams)
        m_Params = *pParams;
}

CMFCToolTipCtrl::~CMFCToolTipCtrl() = default;

bool CMFCToolTipCtrl::Create(CWnd *pParentWnd, unsigned long dwStyle)
{
    if (!CToolTipCtrl::Create(pParentWnd, dwStyle))
        return false;
    ApplyColours();
    return true;
}

void CMFCToolTipCtrl::SetParams(CMFCToolTipInfo *pParams)
{
    m_Params = pParams ? *pParams : CMFCToolTipInfo();
    ApplyColours();
}

void CMFCToolTipCtrl::ApplyColours()
{
    if (!m_hWnd)
        return;
    // "None" means the system's tip colours, also after a record with its own.
    COLORREF const none = COLORREF(-1);
    SetTipBkColor(m_Params.m_clrFill != none ? m_Params.m_clrFill : ::GetSysColor(COLOR_INFOBK));
    SetTipTextColor(m_Params.m_clrText != none ? m_Params.m_clrText : ::GetSysColor(COLOR_INFOTEXT));
}

SIZE CMFCToolTipCtrl::Widened(SIZE aText) const
{
    RECT frame{0, 0, 0, 0};
    ::AdjustWindowRectEx(&frame, GetStyle(), FALSE, GetExStyle());
    return SIZE{aText.cx + m_sizeShownIcon.cx, std::max<LONG>(aText.cy, m_sizeShownIcon.cy + (frame.bottom - frame.top))};
}

CSize CMFCToolTipCtrl::GetIconSize()
{
    return CSize(0, 0);
}

bool CMFCToolTipCtrl::OnDrawIcon(CDC *, CRect)
{
    return false;
}

bool CMFCToolTipCtrl::OnChildNotify(unsigned int message, WPARAM wParam, LPARAM lParam, LRESULT *pResult)
{
    auto *hdr = reinterpret_cast<NMHDR *>(lParam);
    if (message != WM_NOTIFY || !hdr || hdr->hwndFrom != m_hWnd)
        return false;
    if (hdr->code == TTN_SHOW) {
        CSize icon = m_Params.m_bDrawIcon ? GetIconSize() : CSize(0, 0);
        m_sizeShownIcon = icon.cx > 0 && icon.cy > 0 ? icon : CSize(0, 0);
        if (m_sizeShownIcon.cx > 0) {
            // Some platforms size the tip for its text before they announce
            // it, others after: widened now, and again by WindowProc should
            // the platform size it once more.
            RECT r;
            ::GetWindowRect(m_hWnd, &r);
            SIZE const want = Widened(SIZE{r.right - r.left, r.bottom - r.top});
            m_bOwnResize = true;
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, want.cx, want.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            m_bOwnResize = false;
        }
        *pResult = FALSE; // the platform places and shows it
        return true;
    }
    if (hdr->code == NM_CUSTOMDRAW) {
        *pResult = OnCustomDraw(reinterpret_cast<NMTTCUSTOMDRAW *>(hdr));
        return true;
    }
    return CToolTipCtrl::OnChildNotify(message, wParam, lParam, pResult);
}

LRESULT CMFCToolTipCtrl::OnCustomDraw(NMTTCUSTOMDRAW *pDraw)
{
    if (m_sizeShownIcon.cx <= 0)
        return CDRF_DODEFAULT;
    HDC dc = pDraw->nmcd.hdc;
    if (pDraw->nmcd.dwDrawStage == CDDS_PREPAINT) {
        // The platform paints its background and text through this context:
        // moved right, they leave the image strip free.
        ::GetViewportOrgEx(dc, &m_ptSavedOrigin);
        ::SetViewportOrgEx(dc, m_ptSavedOrigin.x + m_sizeShownIcon.cx, m_ptSavedOrigin.y, nullptr);
        return CDRF_NOTIFYPOSTPAINT;
    }
    if (pDraw->nmcd.dwDrawStage != CDDS_POSTPAINT)
        return CDRF_DODEFAULT;
    ::SetViewportOrgEx(dc, m_ptSavedOrigin.x, m_ptSavedOrigin.y, nullptr);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    RECT strip{0, 0, m_sizeShownIcon.cx, client.bottom};
    HBRUSH back = ::CreateSolidBrush(GetTipBkColor());
    if (back) {
        ::FillRect(dc, &strip, back);
        ::DeleteObject(back);
    }
    // The padding is half the extra the icon size holds on each side.
    int const top = std::max(0L, (client.bottom - m_sizeShownIcon.cy) / 2);
    CDC on;
    on.Attach(dc);
    OnDrawIcon(&on, CRect(5, top + 5, m_sizeShownIcon.cx - 5, top + m_sizeShownIcon.cy - 5));
    on.Detach();
    return CDRF_DODEFAULT;
}

LRESULT CMFCToolTipCtrl::WindowProc(unsigned int message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_WINDOWPOSCHANGING && lParam &&
        (reinterpret_cast<WINDOWPOS const *>(lParam)->flags & SWP_HIDEWINDOW)) {
        // Only a tip announced by its show notification has a strip.
        m_sizeShownIcon = CSize(0, 0);
    } else if (message == WM_WINDOWPOSCHANGING && m_sizeShownIcon.cx > 0) {
        // The platform sizes the tip for its text each time it shows it:
        // the image strip is added to that.
        auto *pos = reinterpret_cast<WINDOWPOS *>(lParam);
        if (!m_bOwnResize && pos && !(pos->flags & (SWP_NOSIZE | SWP_HIDEWINDOW)) && pos->cx > 0 && pos->cy > 0) {
            SIZE const want = Widened(SIZE{pos->cx, pos->cy});
            pos->cx = want.cx;
            pos->cy = want.cy;
        }
    }
    return CToolTipCtrl::WindowProc(message, wParam, lParam);
}
