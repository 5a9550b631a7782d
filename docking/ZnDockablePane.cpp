#include "docking/ZnDockablePane.h"

#include <algorithm>

#include "docking/DockGeometry.h"
#include "docking/ZnBaseTabbedPane.h"
#include "docking/ZnDockParentWnd.h"
#include "docking/ZnDockingGesture.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnPaneContainer.h"
#include "docking/ZnPaneContainerManager.h"
#include "docking/ZnPaneDivider.h"
#include "docking/ZnVisualManager.h"
#include "graphics/OutputDevice.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "mfc/CObList.h"

IMPLEMENT_DYNAMIC(ZnDockablePane, ZnPane)

int ZnDockablePane::m_nTimeOutBeforeAutoHide = 700;
int ZnDockablePane::m_nSlideSteps = 12;
int ZnDockablePane::m_nSlideDefaultTimeOut = 1;
int ZnDockablePane::m_bHideDisabledButtons = 1;
int ZnDockablePane::m_bCaptionText = 0;
int ZnDockablePane::m_bHideInAutoHideMode = 0;
int ZnDockablePane::m_bDisableAnimation = 0;
CSize ZnDockablePane::m_sizeDragSensitivity(::GetSystemMetrics(SM_CXDRAG), ::GetSystemMetrics(SM_CYDRAG));

namespace {

int Scaled(int v)
{
    KSData const *data = GetPKSData();
    return data ? data->ScaleY(v) : v;
}

int BorderWidth()
{
    return ZnVisualManager::GetPVisualManager()->GetPaneBorderWidth();
}

// The painter speaks inclusive rectangles, the windows exclusive ones.
CRectangle Incl(CRect const &r)
{
    return CRectangle(r.left, r.top, r.right - 1, r.bottom - 1);
}

CRect Excl(CRectangle const &r)
{
    if (r.Right() == RECT_EMPTY || r.Bottom() == RECT_EMPTY)
        return CRect();
    return CRect(r.Left(), r.Top(), r.Right() + 1, r.Bottom() + 1);
}




} // namespace

ZnDockablePane::ZnDockablePane(ZnDockParentWnd *pDockParentWnd)
    : m_pDockParentWnd(pDockParentWnd), m_pDockedWin(nullptr), m_nSizeInContainer(0),
      m_nLastPercentInPaneContainer(50), m_bActive(false), m_bHasGripper(true), m_bFloatGripActive(true),
      m_bResizeMode(false), m_pDefaultDivider(nullptr), m_pRestoredDefaultDivider(nullptr), m_pHotButton(nullptr)
{
    m_dwControlBarStyle = AFX_DEFAULT_DOCKING_PANE_STYLE;
    if (pDockParentWnd)
        m_pDockManager = pDockParentWnd->GetPDockingManager();
    SetCaptionButtons();
}

ZnDockablePane::~ZnDockablePane()
{
    LeaveTabbedPane();
    ReleaseAutoHide();
    if (m_pDockManager) {
        ZnDockingGesture gesture(m_pDockManager);
        RemoveFromDefaultPaneDivider();
        m_pDockManager->RemovePaneFromDockManager(this, false, false);
    }
    RemoveCaptionButtons();
}

bool ZnDockablePane::Create(char const *lpszCaption, CWnd *pParentWnd, CRect const &rect, bool bHasGripper,
                            unsigned int nID, unsigned long dwStyle, unsigned long dwTabbedStyle,
                            unsigned long dwControlBarStyle)
{
    m_dwTabbedStyle = dwTabbedStyle;
    static char const *const cls = RegisterDockingClass("Afx:DockablePane", nullptr);
    // The low word carries the pane's own style bits (its side among them),
    // not the window's.
    m_dwStyle = dwStyle & 0xFFFF;
    if (!(m_dwStyle & CBRS_ALIGN_ANY))
        m_dwStyle |= CBRS_ALIGN_TOP;
    m_dwControlBarStyle = dwControlBarStyle;
    m_bHasGripper = bHasGripper;
    if (lpszCaption)
        m_sWindowText = lpszCaption;
    unsigned long const wndStyle = (dwStyle & 0xFFFF0000) | WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (!CWnd::CreateEx(0, cls, lpszCaption ? lpszCaption : "", wndStyle, rect, pParentWnd, nID))
        return false;
    m_bPaneVisible = (wndStyle & WS_VISIBLE) != 0;
    if (!m_pDockManager)
        m_pDockManager = ZnDockingManager::GetPDockingManager(pParentWnd);
    if (m_pDockManager)
        m_pDockManager->AddPane(this);
    LayoutCaptionButtons();
    return true;
}

void ZnDockablePane::SetRecentDockPosition(DockPosition const &position)
{
    m_recentDockPosition = position;
    m_recentDockPosition.SetName(m_sInternalName);
}

// --- docking

ZnPaneDivider *ZnDockablePane::CreateDefaultPaneDivider(unsigned long dwAlign, CWnd *pDockSite)
{
    ZnPaneDivider *d = ZnPaneDivider::CreateDivider();
    d->Init(true, pDockSite);
    d->SetPaneAlignment(dwAlign);
    d->SetDockingManager(m_pDockManager);
    unsigned long const style = DockGeometry::IsHorzAxis(dwAlign) ? ZnPaneDivider::SS_VERT : ZnPaneDivider::SS_HORZ;
    d->SetPaneDividerStyle(style);
    d->SetPaneVisibleFlag(false);
    ZnPaneContainerManager *cm = ZnPaneDivider::CreateContainerManager();
    cm->Create(pDockSite, d);
    d->SetPaneContainerManager(cm);
    if (pDockSite && pDockSite->GetSafeHwnd() &&
        !d->Create(WS_CHILD, pDockSite, CRect(0, 0, 0, 0), 0, style)) {
        delete d;
        return nullptr;
    }
    return d;
}

bool ZnDockablePane::DockToDockParentWindow(unsigned long dwAlign, RECT const *lpRect, unsigned long,
                                            ZnBasePane *, int, bool bAddToManager)
{
    ZnDockingManager *mgr = m_pDockManager;
    dwAlign &= CBRS_ALIGN_ANY;
    if (!mgr || !DockGeometry::IsSide(dwAlign))
        return false;
    ZnDockingGesture gesture(mgr);
    LeaveTabbedPane();
    // Docked anew, a pinned-off pane gives up its bar and its old place.
    ReleaseAutoHide();
    CWnd *site = mgr->GetDockSiteWnd();
    ZnPaneDivider *d = CreateDefaultPaneDivider(dwAlign, site);
    if (!d)
        return false;
    // The length the group starts with: the rectangle asked for, else what
    // the pane measures now.
    bool const horz = DockGeometry::IsHorzAxis(dwAlign);
    int len;
    if (lpRect) {
        CRect rect(*lpRect);
        mgr->AdjustRectToClientArea(rect, dwAlign);
        len = DockGeometry::Extent(rect, horz);
    } else {
        len = DockGeometry::Extent(CurrentRect(), horz);
        if (len <= 0)
            len = Scaled(200);
    }
    RemoveFromMiniframe(site, DM_UNKNOWN);
    if (m_pDefaultDivider)
        RemoveFromDefaultPaneDivider();
    m_bPaneVisible = true;
    if (m_hWnd && !IsWindowVisible())
        ShowWindow(SW_SHOWNOACTIVATE);
    d->AddPane(this);
    d->SetGroupLength(len);
    SetDefaultPaneDivider(d);
    mgr->AddDefaultDivider(d, false);
    if (bAddToManager) {
        mgr->AddPane(d);
        mgr->AddPane(this);
    }
    SetPaneAlignment(dwAlign);
    OnAfterDock(site, lpRect, DM_UNKNOWN);
    d->SetPaneVisibleFlag(true);
    mgr->RecalcLayout(true);
    return true;
}

bool ZnDockablePane::DockPaneContainer(ZnPaneContainerManager &rManager, unsigned long dwAlign, AFX_DOCK_METHOD)
{
    ZnPaneDivider *d = m_pDefaultDivider;
    if (!d || !m_pDockManager || !DockGeometry::IsSide(dwAlign & CBRS_ALIGN_ANY))
        return false;
    ZnDockingGesture gesture(m_pDockManager);
    CObList incoming;
    rManager.GetPanes(incoming);
    if (!d->AddPaneContainer(this, rManager, dwAlign & CBRS_ALIGN_ANY))
        return false;
    CWnd *site = m_pDockManager->GetDockSiteWnd();
    for (POSITION pos = incoming.GetHeadPosition(); pos;) {
        auto *p = static_cast<ZnDockablePane *>(incoming.GetNext(pos));
        p->SetDockingManager(m_pDockManager);
        p->SetDefaultPaneDivider(d);
        p->SetPaneAlignment(GetCurrentAlignment());
        p->RemoveFromMiniframe(site, DM_UNKNOWN);
        p->SetPaneVisibleFlag(true);
        if (p->m_hWnd && !p->IsWindowVisible())
            p->ShowWindow(SW_SHOWNOACTIVATE);
        p->OnAfterDock(site, nullptr, DM_UNKNOWN);
    }
    m_pDockManager->RecalcLayout(true);
    return true;
}

void ZnDockablePane::OnAfterDock(CWnd *, RECT const *, AFX_DOCK_METHOD)
{
}

void ZnDockablePane::RemoveFromDefaultPaneDivider()
{
    ZnPaneDivider *d = m_pDefaultDivider;
    if (!d)
        return;
    ZnDockingGesture gesture(m_pDockManager);
    d->RemovePane(this);
    m_pDefaultDivider = nullptr;
    d->ReleaseEmptyPaneContainers();
    ZnPaneContainerManager *cm = d->GetPaneContainerManager();
    if (!cm || cm->IsEmpty()) {
        if (m_pDockManager) {
            m_pDockManager->RemoveDefaultDivider(d);
            m_pDockManager->RemovePaneFromDockManager(d, false, false);
        }
        if (m_pRestoredDefaultDivider == d)
            m_pRestoredDefaultDivider = nullptr;
        if (d->GetSafeHwnd())
            d->DestroyWindow();
        delete d;
    }
    if (m_pDockManager)
        m_pDockManager->RecalcLayout(true);
}

void ZnDockablePane::RestoreDefaultPaneDivider()
{
    if (m_pRestoredDefaultDivider)
        m_pDefaultDivider = m_pRestoredDefaultDivider;
    m_pRestoredDefaultDivider = nullptr;
}

bool ZnDockablePane::SetSizeInContainer(int len)
{
    m_nSizeInContainer = len;
    int isLeft = 0;
    ZnPaneContainer *c = m_pDefaultDivider ? m_pDefaultDivider->FindPaneContainer(this, isLeft) : nullptr;
    ZnPaneDivider *div = c ? c->GetPaneDivider() : nullptr;
    if (!c || !div || c->GetPane(isLeft != 0) != this)
        return false;
    CRect const pane = m_rectLayout;
    CPoint offset;
    if (div->IsHorizontal())
        offset.y = pane.bottom - len - pane.top - 1;
    else
        offset.x = pane.right - len - pane.left;
    // The offset shrinks a pane beyond the divider; one before it needs the
    // opposite direction.
    if (isLeft) {
        offset.x = -offset.x;
        offset.y = -offset.y;
    }
    div->Move(offset, true);
    return true;
}

int ZnDockablePane::GetNestedDockDepth() const
{
    int isLeft = 0;
    ZnPaneContainer const *c = m_pDefaultDivider ? m_pDefaultDivider->FindPaneContainer(this, isLeft) : nullptr;
    int depth = 0;
    for (; c; c = c->GetParentContainer()) {
        ZnPaneContainer const *parent = c->GetParentContainer();
        if (!parent)
            break;
        // A parent holding nothing beside this container does not nest it.
        bool const first = parent->GetChild(true) == c;
        if (parent->IsHalfEmpty(!first))
            break;
        ++depth;
    }
    return depth;
}

bool ZnDockablePane::HasChilds() const
{
    int isLeft = 0;
    ZnPaneContainer const *c = m_pDefaultDivider ? m_pDefaultDivider->FindPaneContainer(this, isLeft) : nullptr;
    return c && c->CountPanes() > 1;
}

ZnDockablePane *ZnDockablePane::GetDirectNeighbour(unsigned long &dwAlign) const
{
    int isLeft = 0;
    ZnPaneContainer const *c = m_pDefaultDivider ? m_pDefaultDivider->FindPaneContainer(this, isLeft) : nullptr;
    if (!c)
        return nullptr;
    ZnDockablePane *other = c->GetPane(isLeft == 0);
    if (!other)
        return nullptr;
    bool const sbs = c->IsSplitSideBySide();
    // The neighbour lies in the other half: after this pane when this one is first.
    dwAlign = sbs ? (isLeft ? CBRS_ALIGN_RIGHT : CBRS_ALIGN_LEFT) : (isLeft ? CBRS_ALIGN_BOTTOM : CBRS_ALIGN_TOP);
    return other;
}

CRect ZnDockablePane::CurrentRect() const
{
    CRect r;
    if (m_hWnd)
        GetWindowRect(&r);
    else
        r = m_rectLayout;
    return r;
}

CRectangle ZnDockablePane::CalcFloatRect() const
{
    return Incl(CurrentRect());
}

// --- closing

void ZnDockablePane::OnPressCloseButton()
{
    if (m_pDockParentWnd) {
        m_pDockParentWnd->PostClose(this);
        return;
    }
    DoClose();
}

void ZnDockablePane::DoClose()
{
    ZnDockingGesture gesture(m_pDockManager);
    LeaveTabbedPane();
    UnSetAutoHideMode(nullptr);
    ShowPane(false, false, false);
    if (m_pDockManager)
        m_pDockManager->OnLayoutChange();
}

void ZnDockablePane::ShowPane(bool bShow, bool bDelay, bool bActivate)
{
    ZnDockingGesture gesture(m_pDockManager);
    // A tab shows by becoming the active one; hidden, it leaves its group.
    if (ZnBaseTabbedPane *group = m_pParentTabbedPane) {
        if (bShow) {
            group->SetActiveTab(group->FindTab(this));
            return;
        }
        LeaveTabbedPane();
    }
    if (ShowPaneInAutoHide(bShow))
        return;
    ZnPane::ShowPane(bShow, bDelay, bActivate);
    if (!bShow && m_bActive)
        SetIsActive(false);
}

void ZnDockablePane::OnDestroy()
{
    LeaveTabbedPane();
    if (m_pDockManager) {
        ZnDockingGesture gesture(m_pDockManager);
        ReleaseAutoHide();
        RemoveFromDefaultPaneDivider();
        m_pDockManager->RemovePaneFromDockManager(this, false, false);
        m_pDockManager = nullptr;
    }
    ZnPane::OnDestroy();
}

// --- caption and buttons

void ZnDockablePane::SetCaptionStyle(int bDrawText, int, int bHideDisabledButtons)
{
    m_bCaptionText = bDrawText;
    m_bHideDisabledButtons = bHideDisabledButtons;
}

void ZnDockablePane::SetCaptionButtons()
{
    RemoveCaptionButtons();
    // Close, the panes menu, the pin and the maximise-in-container button.
    // Maximising is off until it is built.
    for (unsigned int hit : {AFX_HTCLOSE, AFX_HTMENU, unsigned(HTMAXBUTTON), unsigned(HTMINBUTTON)}) {
        auto *b = new CMFCCaptionButton(hit);
        b->Enable(hit == AFX_HTCLOSE || hit == AFX_HTMENU ||
                  (hit == HTMAXBUTTON && (m_dwControlBarStyle & AFX_CBRS_AUTOHIDE)));
        m_arrButtons.push_back(b);
    }
    EnableButton(AFX_HTCLOSE, CanBeClosed());
}

void ZnDockablePane::RemoveCaptionButtons()
{
    m_pHotButton = nullptr;
    for (CMFCCaptionButton *b : m_arrButtons)
        delete b;
    m_arrButtons.clear();
}

CMFCCaptionButton *ZnDockablePane::FindButtonByHit(unsigned int nHit) const
{
    for (CMFCCaptionButton *b : m_arrButtons)
        if (b->GetHit() == nHit)
            return b;
    return nullptr;
}

CMFCCaptionButton *ZnDockablePane::FindButton(CPoint point) const
{
    for (CMFCCaptionButton *b : m_arrButtons)
        if (!b->IsHidden() && b->GetRect().PtInRect(point))
            return b;
    return nullptr;
}

void ZnDockablePane::EnableButton(unsigned int nHit, int bEnable)
{
    if (CMFCCaptionButton *b = FindButtonByHit(nHit)) {
        b->Enable(bEnable != 0);
        LayoutCaptionButtons();
        RedrawGripper(m_bActive);
    }
}

bool ZnDockablePane::IsButtonEnabled(unsigned int nHit) const
{
    CMFCCaptionButton const *b = FindButtonByHit(nHit);
    return b && b->IsEnabled();
}

void ZnDockablePane::RedrawButton(CMFCCaptionButton const *)
{
    RedrawGripper(m_bActive);
}

void ZnDockablePane::OnPressButtons(unsigned int nHit)
{
    if (nHit == AFX_HTCLOSE) {
        OnPressCloseButton();
    } else if (nHit == HTMAXBUTTON) {
        ToggleAutoHide();
    } else if (nHit == AFX_HTMENU) {
        CMFCCaptionButton const *b = FindButtonByHit(nHit);
        CPoint pt = b ? CPoint(b->GetRect().left, b->GetRect().bottom) : CPoint();
        CRect wr;
        if (m_hWnd) {
            GetWindowRect(&wr);
            pt.Offset(wr.left, wr.top);
        }
        if (m_pDockParentWnd)
            m_pDockParentWnd->OnPaneMenuClick(this, Point(pt.x, pt.y));
        else if (m_pDockManager)
            m_pDockManager->OnPaneContextMenu(pt);
    }
}

void ZnDockablePane::UpdateTooltips()
{
}

void ZnDockablePane::SetButtonTipText(int nTip, SString const &rText)
{
    if (nTip == 1 || nTip == 2)
        m_sTipText[nTip - 1] = rText;
}

bool ZnDockablePane::OnNeedTipText(int nTip, SString &rText) const
{
    switch (nTip) {
    case 1:
        rText = m_sTipText[0].Len() ? m_sTipText[0] : SString("Close");
        return true;
    case 2:
        rText = m_sTipText[1].Len() ? m_sTipText[1] : SString("Panes Menu");
        return true;
    case 3:
        rText = "Auto Hide";
        return true;
    default:
        return false;
    }
}

void ZnDockablePane::EnableGripper(bool bEnable)
{
    m_bHasGripper = bEnable;
    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void ZnDockablePane::RedrawGripper(bool)
{
    if (m_hWnd)
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
}

void ZnDockablePane::SetIsActive(bool bActive)
{
    if (bActive == m_bActive)
        return;
    m_bActive = bActive;
    if (bActive && m_pDockManager) {
        // One active pane per site.
        std::vector<ZnDockablePane *> panes;
        m_pDockManager->FillDockablePaneVec(panes);
        for (ZnDockablePane *p : panes)
            if (p != this)
                p->SetIsActive(false);
    }
    RedrawGripper(bActive);
    if (bActive && m_pDockParentWnd)
        m_pDockParentWnd->OnCaptionSetFocus(this);
}

int ZnDockablePane::GetCaptionHeight() const
{
    return m_bHasGripper ? ZnVisualManager::GetPVisualManager()->GetCaptionHeight() : 0;
}

CRect ZnDockablePane::GetCaptionRect() const
{
    CRect const wr = CurrentRect();
    int const b = BorderWidth();
    return CRect(b, b, std::max(b, wr.Width() - b), b + GetCaptionHeight());
}

int ZnDockablePane::ShownHitCodes(unsigned (&codes)[8]) const
{
    // The painter takes 0 for a hidden button.
    int const n = std::min<int>(8, int(m_arrButtons.size()));
    for (int i = 0; i < n; ++i)
        codes[i] = m_arrButtons[size_t(i)]->IsHidden() ? 0 : m_arrButtons[size_t(i)]->GetHit();
    return n;
}

void ZnDockablePane::LayoutCaptionButtons()
{
    // The painter places the buttons, so that hit tests match what it draws.
    for (CMFCCaptionButton *b : m_arrButtons)
        b->Hide(!m_bHasGripper || (!b->IsEnabled() && m_bHideDisabledButtons));
    unsigned codes[8] = {};
    CRectangle out[8];
    int const n = ShownHitCodes(codes);
    ZnVisualManager::GetPVisualManager()->LayoutCaptionButtons(Incl(GetCaptionRect()), codes, n, out);
    for (int i = 0; i < n; ++i)
        m_arrButtons[size_t(i)]->SetRect(codes[i] ? Excl(out[i]) : CRect());
}

void ZnDockablePane::GetMinSize(CSize &size) const
{
    int const b = 2 * BorderWidth();
    size = CSize(Scaled(24) + b, GetCaptionHeight() + Scaled(4) + b);
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
    if (m_hWnd) {
        CWnd::SetWindowText(text);
        RedrawGripper(m_bActive);
    }
}

// --- the non-client area

LRESULT ZnDockablePane::HitTest(CPoint ptScreen)
{
    CRect wr;
    GetWindowRect(&wr);
    CPoint const pt(ptScreen.x - wr.left, ptScreen.y - wr.top);
    if (!CRect(0, 0, wr.Width(), wr.Height()).PtInRect(pt))
        return HTNOWHERE;
    if (CMFCCaptionButton *b = FindButton(pt))
        return b->GetHit();
    if (unsigned int const edge = AutoHideEdgeHit(pt))
        return edge;
    if (GetCaptionRect().PtInRect(pt) && m_bHasGripper)
        return HTCAPTION;
    CRect client;
    GetClientRect(&client);
    POINT c = ptScreen;
    ScreenToClient(&c);
    return client.PtInRect(c) ? HTCLIENT : HTBORDER;
}

void ZnDockablePane::SetHotButton(CMFCCaptionButton *pBtn)
{
    if (pBtn == m_pHotButton)
        return;
    if (m_pHotButton)
        m_pHotButton->m_bFocused = false;
    m_pHotButton = pBtn;
    if (pBtn) {
        pBtn->m_bFocused = true;
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE | TME_NONCLIENT, m_hWnd, 0};
        ::TrackMouseEvent(&tme);
    }
    RedrawGripper(m_bActive);
}

void ZnDockablePane::TrackCaptionButton(CMFCCaptionButton *pBtn)
{
    // The button is pressed while the mouse is over it; releasing it there
    // presses it for real.
    pBtn->m_bPushed = true;
    RedrawGripper(m_bActive);
    SetCapture();
    bool pressed = false;
    unsigned int const hit = pBtn->GetHit();
    while (::GetCapture() == m_hWnd) {
        MSG msg;
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage(int(msg.wParam));
            break;
        }
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
            CPoint p(msg.lParam);
            ::ClientToScreen(msg.hwnd, &p);
            bool const over = HitTest(p) == LRESULT(hit);
            if (over != pBtn->m_bPushed) {
                pBtn->m_bPushed = over;
                RedrawGripper(m_bActive);
            }
            if (msg.message == WM_LBUTTONUP) {
                pressed = over;
                break;
            }
            continue;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
            break;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    // The press may close or delete things: the button is looked up again.
    if (CMFCCaptionButton *b = FindButtonByHit(hit))
        b->m_bPushed = false;
    RedrawGripper(m_bActive);
    if (pressed)
        OnPressButtons(hit);
}

void ZnDockablePane::PaintNonClient()
{
    HDC dc = ::GetWindowDC(m_hWnd);
    if (!dc)
        return;
    CRect wr;
    GetWindowRect(&wr);
    CRect client;
    GetClientRect(&client);
    POINT org{0, 0};
    ClientToScreen(&org);
    client.OffsetRect(org.x - wr.left, org.y - wr.top);
    ::ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    {
        OutputDevice dev(dc);
        ZnVisualManager *vm = ZnVisualManager::GetPVisualManager();
        vm->DrawPaneBorder(dev, Incl(CRect(0, 0, wr.Width(), wr.Height())));
        if (m_bHasGripper) {
            unsigned codes[8] = {};
            int const n = ShownHitCodes(codes);
            vm->DrawPaneCaption(dev, Incl(GetCaptionRect()), IsDrawCaption() ? GetWindowText() : SString(), m_bActive,
                                codes, n);
            for (CMFCCaptionButton *b : m_arrButtons) {
                if (b->IsHidden())
                    continue;
                auto const state = !b->IsEnabled() ? ZnVisualManager::ButtonDisabled
                                   : b->m_bPushed  ? ZnVisualManager::ButtonPressed
                                   : b->m_bFocused ? ZnVisualManager::ButtonHot
                                                   : ZnVisualManager::ButtonNormal;
                unsigned const glyph = b->GetHit() == HTMAXBUTTON && IsAutoHideMode() ? ZnVisualManager::CaptionHitPinOff
                                                                                       : b->GetHit();
                vm->DrawCaptionButton(dev, Incl(b->GetRect()), glyph, state, m_bActive);
            }
        }
    }
    ::ReleaseDC(m_hWnd, dc);
}

LRESULT ZnDockablePane::WindowProc(unsigned int message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCALCSIZE:
        DockGeometry::InsetClientArea(*reinterpret_cast<RECT *>(lParam), BorderWidth(), GetCaptionHeight());
        return 0;
    case WM_SIZE:
        LayoutCaptionButtons();
        break;
    case WM_NCPAINT:
        PaintNonClient();
        return 0;
    case WM_NCACTIVATE:
        return TRUE;
    case WM_SETTEXT: {
        LRESULT r = ZnPane::WindowProc(message, wParam, lParam);
        RedrawGripper(m_bActive);
        return r;
    }
    case WM_NCHITTEST:
        return HitTest(CPoint(lParam));
    case WM_NCMOUSEMOVE: {
        CRect wr;
        GetWindowRect(&wr);
        CPoint pt(lParam);
        pt.Offset(-wr.left, -wr.top);
        SetHotButton(FindButton(pt));
        return 0;
    }
    case WM_NCMOUSELEAVE:
        SetHotButton(nullptr);
        return 0;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
        if ((wParam == HTLEFT || wParam == HTRIGHT || wParam == HTTOP || wParam == HTBOTTOM) && IsSlidOut()) {
            TrackAutoHideEdge(CPoint(lParam));
            return 0;
        }
        SetIsActive(true);
        if (CMFCCaptionButton *b = FindButtonByHit(static_cast<unsigned int>(wParam)))
            if (!b->IsHidden() && b->IsEnabled())
                TrackCaptionButton(b);
        if (wParam == HTCAPTION && message == WM_NCLBUTTONDOWN)
            OnCaptionPress(CPoint(lParam));
        else if (wParam == HTCAPTION)
            OnCaptionDoubleClick();
        // A caption press never reaches the platform, which would move the
        // child window itself.
        return 0;
    }
    case WM_MOUSEACTIVATE:
        // Any press inside the pane, its content's children included,
        // activates the caption.
        SetIsActive(true);
        break;
    default:
        break;
    }
    return ZnPane::WindowProc(message, wParam, lParam);
}
