// The floating mini frame. Sections, in order:
//   creation and destruction
//   panes
//   geometry and layout
//   emptiness
//   the non-client area and the mouse
#include "docking/DockGeometry.h"
#include "docking/ZnPaneFrameWnd.h"

#include "docking/ZnPaneTreeRecord.h"
#include "mfc/CArchive.h"

#include <windows.h>

#include <algorithm>

#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingGesture.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnVisualManager.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "graphics/CRectangle.h"
#include "graphics/OutputDevice.h"

IMPLEMENT_DYNCREATE(ZnPaneFrameWnd, CWnd)

namespace {

int Scaled(int v)
{
    KSData const *data = GetPKSData();
    return data ? data->ScaleY(v) : v;
}

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

bool IsSizingHit(LRESULT hit)
{
    return hit >= HTLEFT && hit <= HTBOTTOMRIGHT;
}

} // namespace

// ------------------------------------------------------------------ creation and destruction

ZnPaneFrameWnd::ZnPaneFrameWnd()
    : m_pDockManager(nullptr), m_pPane(nullptr), m_bKeepIfEmpty(false), m_bLayoutShown(false), m_bAutoDelete(false),
      m_bClosePushed(false)
{
}

ZnPaneFrameWnd::~ZnPaneFrameWnd()
{
    // Only a frame without a window is deleted from outside; one with a
    // window deletes itself once the window is gone.
    if (m_pDockManager)
        m_pDockManager->RemoveMiniFrame(this);
    delete m_pLoadedRecord;
}

bool ZnPaneFrameWnd::Create(ZnDockingManager *pManager, CRect const &rectScreen)
{
    if (!pManager)
        return false;
    m_pDockManager = pManager;
    CSize const min = GetMinFrameSize();
    CRect r = rectScreen;
    r.NormalizeRect();
    r.right = r.left + std::max<int>(r.Width(), min.cx);
    r.bottom = r.top + std::max<int>(r.Height(), min.cy);
    m_rectFrame = r;
    CWnd *site = pManager->GetDockSiteWnd();
    HWND const hSite = site ? site->GetSafeHwnd() : nullptr;
    if (hSite) {
        static char const *const cls = RegisterDockingClass();
        HWND const owner = ::GetAncestor(hSite, GA_ROOT);
        if (!CWnd::CreateEx(WS_EX_TOOLWINDOW, cls, "", WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, r.left, r.top,
                            r.Width(), r.Height(), owner, nullptr))
            return false;
        m_bAutoDelete = true;
    }
    pManager->AddMiniFrame(this);
    return true;
}

char const *ZnPaneFrameWnd::RegisterDockingClass()
{
    return ZnBasePane::RegisterDockingClass("Afx:MiniFrame", nullptr);
}

void ZnPaneFrameWnd::OnDestroy()
{
    // The panes outlive their frame (an owner window that goes takes its
    // owned frames with it): their windows go back to the site, hidden,
    // before this window takes its children down.
    std::vector<ZnDockablePane *> panes;
    GetPanes(panes);
    CWnd *site = m_pDockManager ? m_pDockManager->GetDockSiteWnd() : nullptr;
    for (ZnDockablePane *p : panes) {
        RemovePane(p);
        p->SetPaneVisibleFlag(false);
        if (p->GetSafeHwnd()) {
            p->ShowWindow(SW_HIDE);
            p->RemoveFromMiniframe(site, DM_UNKNOWN);
        }
    }
    if (m_pDockManager)
        m_pDockManager->RemoveMiniFrame(this);
    CWnd::OnDestroy();
}

void ZnPaneFrameWnd::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

// ------------------------------------------------------------------ panes

bool ZnPaneFrameWnd::AddPane(ZnDockablePane *pPane)
{
    if (!pPane || (m_pPane && m_pPane != pPane))
        return false;
    m_pPane = pPane;
    AttachPane(pPane);
    UpdatePaneCaptions();
    return true;
}

bool ZnPaneFrameWnd::RemovePane(ZnDockablePane *pPane)
{
    if (!pPane || pPane != m_pPane)
        return false;
    m_pPane = nullptr;
    DetachPane(pPane);
    return true;
}

void ZnPaneFrameWnd::GetPanes(std::vector<ZnDockablePane *> &panes) const
{
    if (m_pPane)
        panes.push_back(m_pPane);
}

bool ZnPaneFrameWnd::ContainsPane(ZnDockablePane const *pPane) const
{
    std::vector<ZnDockablePane *> panes;
    GetPanes(panes);
    return pPane && std::find(panes.begin(), panes.end(), pPane) != panes.end();
}

ZnDockablePane *ZnPaneFrameWnd::GetPane() const
{
    std::vector<ZnDockablePane *> panes;
    GetPanes(panes);
    return panes.empty() ? nullptr : panes.front();
}

bool ZnPaneFrameWnd::HasVisiblePane() const
{
    return m_pPane && m_pPane->IsPaneVisible();
}

void ZnPaneFrameWnd::AttachPane(ZnDockablePane *pPane)
{
    pPane->SetParentMiniFrame(this);
    if (m_hWnd && pPane->GetSafeHwnd() && ::GetParent(pPane->GetSafeHwnd()) != m_hWnd)
        ::SetParent(pPane->GetSafeHwnd(), m_hWnd);
    if (m_hWnd)
        ::SetWindowTextA(m_hWnd, GetCaptionText().GetStr());
}

void ZnPaneFrameWnd::DetachPane(ZnDockablePane *pPane)
{
    if (pPane->GetParentMiniFrame() == this)
        pPane->SetParentMiniFrame(nullptr);
    UpdatePaneCaptions();
    if (GetPaneCount() == 0) {
        // Empty frames never show; the message decides what becomes of it.
        if (m_hWnd && ::IsWindowVisible(m_hWnd))
            ::ShowWindow(m_hWnd, SW_HIDE);
        m_bLayoutShown = false;
        PostCheckEmpty();
    }
}

void ZnPaneFrameWnd::UpdatePaneCaptions()
{
    std::vector<ZnDockablePane *> panes;
    GetPanes(panes);
    for (ZnDockablePane *p : panes)
        p->HideCaptionForFrame(panes.size() == 1);
    if (m_hWnd)
        ::SetWindowTextA(m_hWnd, GetCaptionText().GetStr());
}

SString ZnPaneFrameWnd::GetCaptionText() const
{
    ZnDockablePane const *p = GetPane();
    return p ? p->GetWindowText() : SString();
}

// ------------------------------------------------------------------ geometry and layout

int ZnPaneFrameWnd::GetBorderSize()
{
    return Scaled(4);
}

int ZnPaneFrameWnd::GetCaptionHeight()
{
    return ZnVisualManager::GetPVisualManager()->GetCaptionHeight();
}

CSize ZnPaneFrameWnd::GetMinFrameSize() const
{
    int const b = GetBorderSize();
    return CSize(2 * b + Scaled(60), 2 * b + GetCaptionHeight() + Scaled(24));
}

CRect ZnPaneFrameWnd::GetFrameRect() const
{
    if (!m_hWnd)
        return m_rectFrame;
    CRect r;
    ::GetWindowRect(m_hWnd, &r);
    return r;
}

void ZnPaneFrameWnd::SetFrameRect(CRect const &rectScreen)
{
    CSize const min = GetMinFrameSize();
    CRect r = rectScreen;
    r.NormalizeRect();
    r.right = r.left + std::max<int>(r.Width(), min.cx);
    r.bottom = r.top + std::max<int>(r.Height(), min.cy);
    m_rectFrame = r;
    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    RememberRect();
    RecalcWithManager();
}

void ZnPaneFrameWnd::MoveFrameTo(CPoint ptTopLeft)
{
    CRect r = GetFrameRect();
    if (r.TopLeft() == ptTopLeft)
        return;
    r.MoveToXY(ptTopLeft.x, ptTopLeft.y);
    m_rectFrame = r;
    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RememberRect();
}

CRect ZnPaneFrameWnd::GetFrameClientRect() const
{
    if (m_hWnd) {
        CRect r;
        ::GetClientRect(m_hWnd, &r);
        return r;
    }
    int const b = GetBorderSize();
    return CRect(0, 0, std::max<int>(0, m_rectFrame.Width() - 2 * b),
                 std::max<int>(0, m_rectFrame.Height() - 2 * b - GetCaptionHeight()));
}

void ZnPaneFrameWnd::RememberRect()
{
    // Every pane of the frame floats here from now on when it floats again.
    CRectangle const r = Incl(GetFrameRect());
    std::vector<ZnDockablePane *> panes;
    GetPanes(panes);
    for (ZnDockablePane *p : panes)
        p->SetRectRecentFloat(r);
}

void ZnPaneFrameWnd::RecalcWithManager()
{
    if (!m_pDockManager)
        return;
    ZnDockingGesture gesture(m_pDockManager);
    m_pDockManager->RecalcLayout(true);
}

void ZnPaneFrameWnd::CalcLayout()
{
    if (m_pPane)
        m_pPane->SetLayoutRect(GetFrameClientRect());
}

void ZnPaneFrameWnd::ApplyLayout()
{
    if (m_pPane && m_hWnd) {
        HWND const h = m_pPane->GetSafeHwnd();
        if (h && ::GetParent(h) == m_hWnd) {
            CRect const r = m_pPane->GetLayoutRect();
            CRect now;
            ::GetWindowRect(h, &now);
            ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT *>(&now), 2);
            if (now != r)
                ::SetWindowPos(h, nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
            bool const vis = (::GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE) != 0;
            if (vis != m_pPane->IsPaneVisible())
                ::ShowWindow(h, m_pPane->IsPaneVisible() ? SW_SHOWNOACTIVATE : SW_HIDE);
        }
    }
    ApplyVisibility();
}

void ZnPaneFrameWnd::ApplyVisibility()
{
    // Only a change of what the layout wants is applied, so that a frame
    // the manager put on stand-by stays hidden until something changes.
    bool const shown = HasVisiblePane();
    if (shown == m_bLayoutShown)
        return;
    m_bLayoutShown = shown;
    if (m_hWnd)
        ::ShowWindow(m_hWnd, shown ? SW_SHOWNOACTIVATE : SW_HIDE);
}

// ------------------------------------------------------------------ emptiness

void ZnPaneFrameWnd::PostCheckEmpty()
{
    if (m_hWnd)
        ::PostMessageA(m_hWnd, ZnDockingManager::GetWmCheckEmptyMiniFrame(), 0, 0);
}

bool ZnPaneFrameWnd::CheckEmpty()
{
    if (GetPaneCount() > 0)
        return false;
    if (m_bKeepIfEmpty) {
        if (m_hWnd)
            ::ShowWindow(m_hWnd, SW_HIDE);
        m_bLayoutShown = false;
        return false;
    }
    if (m_hWnd) {
        DestroyWindow();
        return true;
    }
    delete this;
    return true;
}

// ------------------------------------------------------------------ the non-client area and the mouse

CRect ZnPaneFrameWnd::GetCloseButtonRect() const
{
    CRect const wr = GetFrameRect();
    int const b = GetBorderSize();
    CRect const caption(b, b, std::max<int>(b, wr.Width() - b), b + GetCaptionHeight());
    unsigned const codes[1] = {ZnVisualManager::CaptionHitClose};
    CRectangle out[1];
    ZnVisualManager::GetPVisualManager()->LayoutCaptionButtons(Incl(caption), codes, 1, out);
    return Excl(out[0]);
}

LRESULT ZnPaneFrameWnd::HitTest(CPoint ptScreen) const
{
    CRect const wr = GetFrameRect();
    CPoint const pt(ptScreen.x - wr.left, ptScreen.y - wr.top);
    int const w = wr.Width(), h = wr.Height(), b = GetBorderSize();
    if (pt.x < 0 || pt.y < 0 || pt.x >= w || pt.y >= h)
        return HTNOWHERE;
    if (GetCloseButtonRect().PtInRect(pt))
        return AFX_HTCLOSE;
    // Corners take a caption's height along each edge, so that they are
    // easy to grab.
    int const corner = GetCaptionHeight();
    bool const left = pt.x < b, right = pt.x >= w - b, top = pt.y < b, bottom = pt.y >= h - b;
    if (left || right || top || bottom) {
        bool const nearLeft = pt.x < corner, nearRight = pt.x >= w - corner;
        bool const nearTop = pt.y < corner, nearBottom = pt.y >= h - corner;
        if ((top && nearLeft) || (left && nearTop))
            return HTTOPLEFT;
        if ((top && nearRight) || (right && nearTop))
            return HTTOPRIGHT;
        if ((bottom && nearLeft) || (left && nearBottom))
            return HTBOTTOMLEFT;
        if ((bottom && nearRight) || (right && nearBottom))
            return HTBOTTOMRIGHT;
        return left ? HTLEFT : right ? HTRIGHT : top ? HTTOP : HTBOTTOM;
    }
    if (pt.y < b + GetCaptionHeight())
        return HTCAPTION;
    return HTCLIENT;
}

void ZnPaneFrameWnd::PaintNonClient()
{
    HDC dc = ::GetWindowDC(m_hWnd);
    if (!dc)
        return;
    CRect wr;
    ::GetWindowRect(m_hWnd, &wr);
    int const b = GetBorderSize(), cap = GetCaptionHeight();
    CRect const all(0, 0, wr.Width(), wr.Height());
    CRect const client(b, b + cap, std::max<int>(b, wr.Width() - b), std::max<int>(b + cap, wr.Height() - b));
    ::ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    ::FillRect(dc, &all, ::GetSysColorBrush(COLOR_BTNFACE));
    {
        OutputDevice dev(dc);
        ZnVisualManager *vm = ZnVisualManager::GetPVisualManager();
        vm->DrawPaneBorder(dev, Incl(all));
        unsigned const codes[1] = {ZnVisualManager::CaptionHitClose};
        CRect const caption(b, b, std::max<int>(b, wr.Width() - b), b + cap);
        vm->DrawPaneCaption(dev, Incl(caption), GetCaptionText(), true, codes, 1);
        CRect const btn = GetCloseButtonRect();
        if (!btn.IsRectEmpty())
            vm->DrawCaptionButton(dev, Incl(btn), AFX_HTCLOSE,
                                  m_bClosePushed ? ZnVisualManager::ButtonPressed : ZnVisualManager::ButtonNormal, true);
    }
    ::ReleaseDC(m_hWnd, dc);
}

void ZnPaneFrameWnd::TrackCloseButton()
{
    m_bClosePushed = true;
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
    ::SetCapture(m_hWnd);
    bool pressed = false;
    while (::GetCapture() == m_hWnd) {
        MSG msg;
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage(int(msg.wParam));
            break;
        }
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
            bool const over = HitTest(CPoint(msg.pt)) == LRESULT(AFX_HTCLOSE);
            if (over != m_bClosePushed) {
                m_bClosePushed = over;
                ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
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
    m_bClosePushed = false;
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
    if (pressed)
        OnPressCloseButton();
}

void ZnPaneFrameWnd::TrackResize(unsigned int nHit, CPoint ptScreen)
{
    CRect const start = GetFrameRect();
    CSize const min = GetMinFrameSize();
    bool const l = nHit == HTLEFT || nHit == HTTOPLEFT || nHit == HTBOTTOMLEFT;
    bool const r = nHit == HTRIGHT || nHit == HTTOPRIGHT || nHit == HTBOTTOMRIGHT;
    bool const t = nHit == HTTOP || nHit == HTTOPLEFT || nHit == HTTOPRIGHT;
    bool const b = nHit == HTBOTTOM || nHit == HTBOTTOMLEFT || nHit == HTBOTTOMRIGHT;
    auto sizeTo = [&](CPoint pt) {
        CRect n = start;
        int const dx = pt.x - ptScreen.x, dy = pt.y - ptScreen.y;
        // The edge that moves stops where the frame would get too small.
        if (l)
            n.left = std::min<int>(start.left + dx, start.right - min.cx);
        if (r)
            n.right = std::max<int>(start.right + dx, start.left + min.cx);
        if (t)
            n.top = std::min<int>(start.top + dy, start.bottom - min.cy);
        if (b)
            n.bottom = std::max<int>(start.bottom + dy, start.top + min.cy);
        if (n != GetFrameRect())
            SetFrameRect(n);
    };
    ::SetCapture(m_hWnd);
    while (::GetCapture() == m_hWnd) {
        MSG msg;
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage(int(msg.wParam));
            break;
        }
        if (msg.message == WM_MOUSEMOVE) {
            sizeTo(CPoint(msg.pt));
            continue;
        }
        if (msg.message == WM_LBUTTONUP) {
            sizeTo(CPoint(msg.pt));
            break;
        }
        if ((msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) || msg.message == WM_RBUTTONDOWN ||
            msg.message == WM_CANCELMODE) {
            SetFrameRect(start);
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

void ZnPaneFrameWnd::OnCaptionPress(CPoint ptScreen)
{
    if (!m_pDockManager)
        return;
    CRect const start = GetFrameRect();
    ZnDockingManager::DropTarget target;
    ZnDockingManager *mgr = m_pDockManager;
    switch (mgr->TrackMiniFrameDrag(this, ptScreen, CPoint(ptScreen.x - start.left, ptScreen.y - start.top), target,
                                    false)) {
    case ZnDockingManager::DragDropped:
        mgr->DropMiniFrame(this, target);
        break;
    case ZnDockingManager::DragCancelled:
        SetFrameRect(start);
        break;
    default:
        break;
    }
}

void ZnPaneFrameWnd::OnPressCloseButton()
{
    // Each pane closes as its own close button would close it; the frame
    // hides once none of them shows.
    std::vector<ZnDockablePane *> panes;
    GetPanes(panes);
    for (ZnDockablePane *p : panes)
        if (ContainsPane(p))
            p->OnPressCloseButton();
}

void ZnPaneFrameWnd::OnCaptionDoubleClick()
{
    std::vector<ZnDockablePane *> panes;
    GetPanes(panes);
    if (!m_pDockManager || panes.empty())
        return;
    ZnDockingGesture gesture(m_pDockManager);
    for (ZnDockablePane *p : panes)
        if (ContainsPane(p))
            p->DockToRecentDockSite();
}

LRESULT ZnPaneFrameWnd::WindowProc(unsigned int message, WPARAM wParam, LPARAM lParam)
{
    if (message == ZnDockingManager::GetWmCheckEmptyMiniFrame()) {
        CheckEmpty();
        return 0;
    }
    switch (message) {
    case WM_NCCALCSIZE:
        DockGeometry::InsetClientArea(*reinterpret_cast<RECT *>(lParam), GetBorderSize(), GetCaptionHeight());
        return 0;
    case WM_NCPAINT:
        PaintNonClient();
        return 0;
    case WM_NCACTIVATE:
        PaintNonClient();
        return TRUE;
    case WM_NCHITTEST:
        return HitTest(CPoint(lParam));
    case WM_SETTEXT: {
        LRESULT const r = CWnd::WindowProc(message, wParam, lParam);
        PaintNonClient();
        return r;
    }
    case WM_NCLBUTTONDOWN:
        if (wParam == AFX_HTCLOSE)
            TrackCloseButton();
        else if (wParam == HTCAPTION)
            OnCaptionPress(CPoint(lParam));
        else if (IsSizingHit(LRESULT(wParam)))
            TrackResize(static_cast<unsigned int>(wParam), CPoint(lParam));
        // Never the platform's own move and size loops: the frame moves
        // and docks under the manager's drag.
        return 0;
    case WM_NCLBUTTONDBLCLK:
        if (wParam == HTCAPTION)
            OnCaptionDoubleClick();
        else if (wParam == AFX_HTCLOSE)
            TrackCloseButton();
        return 0;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) {
            LRESULT const r = CWnd::WindowProc(message, wParam, lParam);
            RecalcWithManager();
            return r;
        }
        break;
    case WM_CLOSE:
        // Alt+F4 on the frame closes its panes like the close button; an
        // empty frame just checks itself.
        if (GetPaneCount() > 0)
            OnPressCloseButton();
        else
            CheckEmpty();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void ZnPaneFrameWnd::Serialize(CArchive &ar)
{
    if (ar.IsStoring()) {
        ZnPaneTreeRecord record;
        record.m_rectFrame = GetFrameRect();
        bool ok;
        if (ZnPaneContainer const *root = GetTreeRoot()) {
            ok = record.Capture(root, &ZnPaneTreeRecord::NamePane);
        } else {
            ZnPaneTreeRecord::Node n;
            ok = ZnPaneTreeRecord::NamePane(m_pPane, n.nID, n.bVisible);
            record.m_nodes.push_back(n);
        }
        if (!ok) {
            ar.SetFailed();
            return;
        }
        record.Write(ar, false);
        return;
    }
    delete m_pLoadedRecord;
    m_pLoadedRecord = new ZnPaneTreeRecord;
    if (!m_pLoadedRecord->Read(ar, false)) {
        delete m_pLoadedRecord;
        m_pLoadedRecord = nullptr;
    }
}
