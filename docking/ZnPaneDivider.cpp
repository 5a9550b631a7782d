#include "docking/ZnPaneDivider.h"

#include "docking/ZnPaneTreeRecord.h"
#include "mfc/CArchive.h"

#include <algorithm>

#include "docking/DockGeometry.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingGesture.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnPaneContainer.h"
#include "docking/ZnPaneContainerManager.h"
#include "docking/ZnVisualManager.h"
#include "graphics/OutputDevice.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "mfc/AfxWin.h"
#include "mfc/CObList.h"

IMPLEMENT_DYNCREATE(ZnPaneDivider, ZnBasePane)

CRuntimeClass const *ZnPaneDivider::m_pSliderRTC = RUNTIME_CLASS(ZnPaneDivider);
CRuntimeClass const *ZnPaneDivider::m_pContainerManagerRTC = RUNTIME_CLASS(ZnPaneContainerManager);
bool ZnPaneDivider::m_bLiveResize = true;

namespace {

template <class T> T *CreateOf(CRuntimeClass const *pRTC)
{
    CObject *obj = pRTC ? pRTC->CreateObject() : nullptr;
    if (auto *t = dynamic_cast<T *>(obj))
        return t;
    delete obj;
    return new T;
}

} // namespace

ZnPaneDivider *ZnPaneDivider::CreateDivider()
{
    return CreateOf<ZnPaneDivider>(m_pSliderRTC);
}

ZnPaneContainerManager *ZnPaneDivider::CreateContainerManager()
{
    return CreateOf<ZnPaneContainerManager>(m_pContainerManagerRTC);
}

int ZnPaneDivider::GetDefaultWidth()
{
    KSData const *pData = GetPKSData();
    return pData ? pData->ScaleY(6) : 6;
}

ZnPaneDivider::ZnPaneDivider() : ZnPaneDivider(false, nullptr)
{
}

ZnPaneDivider::ZnPaneDivider(bool bDefaultMode, CWnd *pParent)
    : m_dwDividerStyle(0), m_nWidth(GetDefaultWidth()), m_bDefault(false), m_bAutoHideMode(false),
      m_pContainerManager(nullptr), m_pInitWnd(nullptr), m_nGroupLength(0), m_nGroupRoom(0), m_bTracking(false),
      m_nTrackOffset(0), m_nTrackApplied(0), m_bTrackerShown(false)
{
    Init(bDefaultMode, pParent);
}

ZnPaneDivider::~ZnPaneDivider()
{
    if (m_bDefault)
        delete m_pContainerManager;
    delete m_pLoadedRecord;
}

void ZnPaneDivider::Init(bool bDefaultMode, CWnd *pParent)
{
    m_pContainerManager = nullptr;
    m_rectLayout = CRect();
    m_bAutoHideMode = false;
    m_bDefault = bDefaultMode;
    m_pInitWnd = pParent;
}

bool ZnPaneDivider::Create(unsigned long dwStyle, CWnd *pParentWnd, CRect const &rect, unsigned int nID,
                           unsigned long dwDividerStyle)
{
    return CreateEx(0, dwStyle, pParentWnd, rect, nID, dwDividerStyle);
}

bool ZnPaneDivider::CreateEx(unsigned long dwStyleEx, unsigned long dwStyle, CWnd *pParentWnd, CRect const &rect,
                             unsigned int nID, unsigned long dwDividerStyle)
{
    static char const *const cls = RegisterDockingClass("Afx:Slider", nullptr);
    m_dwDividerStyle = dwDividerStyle;
    m_nWidth = GetDefaultWidth();
    return CWnd::CreateEx(dwStyleEx, cls, "", dwStyle | WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rect,
                          pParentWnd, nID);
}

// --- a default divider's panes

void ZnPaneDivider::AddPane(ZnDockablePane *pPane)
{
    if (m_pContainerManager)
        m_pContainerManager->AddPane(pPane);
}

void ZnPaneDivider::AddPaneContainer(ZnPaneContainerManager &rManager, bool bOuterEdge)
{
    // The newcomer goes beside the whole group, on the outer side for
    // bOuterEdge, on the inner one otherwise.
    if (!m_pContainerManager)
        return;
    unsigned long const align = GetCurrentAlignment();
    bool const sideBySide = (align & CBRS_ORIENT_HORZ) != 0;
    bool const nearFirst = (align == CBRS_ALIGN_LEFT || align == CBRS_ALIGN_TOP) == bOuterEdge;
    unsigned long const side = sideBySide ? (nearFirst ? CBRS_ALIGN_LEFT : CBRS_ALIGN_RIGHT)
                                          : (nearFirst ? CBRS_ALIGN_TOP : CBRS_ALIGN_BOTTOM);
    m_pContainerManager->AddPaneContainer(nullptr, rManager, side);
}

bool ZnPaneDivider::AddPaneContainer(ZnDockablePane *pTarget, ZnPaneContainerManager &rManager,
                                     unsigned long dwAlign)
{
    return m_pContainerManager && m_pContainerManager->AddPaneContainer(pTarget, rManager, dwAlign);
}

bool ZnPaneDivider::InsertPane(ZnDockablePane *pPane, ZnDockablePane *pTarget, unsigned long dwAlign)
{
    return m_pContainerManager && m_pContainerManager->InsertPane(pPane, pTarget, dwAlign);
}

bool ZnPaneDivider::RemovePane(ZnDockablePane *pPane)
{
    return m_pContainerManager && m_pContainerManager->RemovePane(pPane);
}

bool ZnPaneDivider::ReplacePane(ZnDockablePane *pOld, ZnDockablePane *pNew)
{
    return m_pContainerManager && m_pContainerManager->ReplacePane(pOld, pNew);
}

ZnPaneContainer *ZnPaneDivider::FindPaneContainer(ZnDockablePane const *pPane, int &bLeft) const
{
    bLeft = 0;
    return m_pContainerManager ? m_pContainerManager->FindPaneContainer(pPane, bLeft) : nullptr;
}

ZnDockablePane *ZnPaneDivider::GetFirstPane() const
{
    return m_pContainerManager ? m_pContainerManager->GetFirstPane() : nullptr;
}

void ZnPaneDivider::GetPanes(CObList &lst) const
{
    if (m_pContainerManager)
        m_pContainerManager->GetPanes(lst);
}

void ZnPaneDivider::GetPaneDividers(CObList &lst) const
{
    if (m_pContainerManager)
        m_pContainerManager->GetPaneDividers(lst);
}

CRect ZnPaneDivider::GetRootContainerRect() const
{
    return m_pContainerManager ? m_pContainerManager->GetRootContainerRect() : CRect();
}

bool ZnPaneDivider::DoesAllowDynInsertBefore() const
{
    return m_bDefault;
}

void ZnPaneDivider::ReleaseEmptyPaneContainers()
{
    if (m_pContainerManager)
        m_pContainerManager->ReleaseEmptyPaneContainers();
}

void ZnPaneDivider::RepositionPanes(CRect &rect, void *&)
{
    if (m_pContainerManager)
        m_pContainerManager->Layout(rect);
}

// --- moving

void ZnPaneDivider::TrackLimits(int &lo, int &hi) const
{
    lo = hi = 0;
    if (!m_bDefault) {
        if (m_pContainerManager)
            m_pContainerManager->GetDividerDragLimits(this, lo, hi);
        return;
    }
    if (!m_pContainerManager)
        return;
    unsigned long const align = GetCurrentAlignment();
    bool const horz = DockGeometry::IsHorzAxis(align);
    int const shown = std::max(0, DockGeometry::Extent(GetRootContainerRect(), horz));
    CSize const min = m_pContainerManager->GetMinSize();
    int const groupMin = horz ? min.cx : min.cy;
    ZnDockingManager *mgr = GetDockingManager();
    int const minClient = mgr ? (horz ? mgr->GetMinClientAreaWidth() : mgr->GetMinClientAreaHeight()) : 0;
    int const most = m_nGroupRoom - m_nWidth - minClient;
    // Growth the group may take, never forcing a jump from where it is.
    int const growLo = std::min(groupMin, shown) - shown;
    int const growHi = std::max(shown, most) - shown;
    bool const nearSide = align == CBRS_ALIGN_LEFT || align == CBRS_ALIGN_TOP;
    lo = nearSide ? growLo : -growHi;
    hi = nearSide ? growHi : -growLo;
}

void ZnPaneDivider::Move(CPoint &offset, int bAdjustLayout)
{
    if (m_bAutoHideMode)
        return;
    int delta;
    if (IsVertical()) {
        delta = offset.x;
        CWnd *parent = GetParent();
        if (parent && (parent->GetExStyle() & WS_EX_LAYOUTRTL))
            delta = -delta;
    } else if (IsHorizontal()) {
        delta = offset.y;
    } else {
        return;
    }
    ZnDockingManager *mgr = GetDockingManager();
    ZnDockingGesture gesture(mgr);
    if (mgr)
        mgr->NotifyBeginResizes();
    int lo, hi;
    TrackLimits(lo, hi);
    delta = std::clamp(delta, lo, hi);
    if (m_bDefault) {
        unsigned long const align = GetCurrentAlignment();
        bool const horz = DockGeometry::IsHorzAxis(align);
        int const shown = std::max(0, DockGeometry::Extent(GetRootContainerRect(), horz));
        bool const nearSide = align == CBRS_ALIGN_LEFT || align == CBRS_ALIGN_TOP;
        SetGroupLength(shown + (nearSide ? delta : -delta));
    } else if (m_pContainerManager) {
        m_pContainerManager->OnPaneDividerMove(this, delta);
    }
    if (mgr) {
        if (bAdjustLayout)
            mgr->RecalcLayout(true);
        mgr->OnLayoutChange();
    }
}

// --- the mouse

void ZnPaneDivider::BeginTracking(CPoint ptScreen)
{
    ZnDockingManager *mgr = GetDockingManager();
    if (m_bAutoHideMode || !mgr)
        return;
    m_bTracking = true;
    m_ptTrackStart = ptScreen;
    m_nTrackOffset = m_nTrackApplied = 0;
    m_rectTracker = m_rectLayout;
    mgr->BeginGesture();
    SetCapture();
    if (!m_bLiveResize)
        DrawTracker();
}

void ZnPaneDivider::TrackTo(CPoint ptScreen)
{
    int raw = IsVertical() ? ptScreen.x - m_ptTrackStart.x : ptScreen.y - m_ptTrackStart.y;
    if (IsVertical()) {
        CWnd *parent = GetParent();
        if (parent && (parent->GetExStyle() & WS_EX_LAYOUTRTL))
            raw = -raw;
    }
    // Limits as seen from where the drag started.
    int lo, hi;
    TrackLimits(lo, hi);
    lo += m_nTrackApplied;
    hi += m_nTrackApplied;
    int const want = std::clamp(raw, lo, hi);
    if (want == m_nTrackOffset)
        return;
    m_nTrackOffset = want;
    if (m_bLiveResize) {
        CPoint step(IsVertical() ? want - m_nTrackApplied : 0, IsVertical() ? 0 : want - m_nTrackApplied);
        m_nTrackApplied = want;
        Move(step, true);
        if (ZnDockingManager *mgr = GetDockingManager())
            mgr->ApplyPendingLayout();
        return;
    }
    DrawTracker();
    m_rectTracker = m_rectLayout;
    if (IsVertical())
        m_rectTracker.OffsetRect(want, 0);
    else
        m_rectTracker.OffsetRect(0, want);
    DrawTracker();
}

void ZnPaneDivider::DrawTracker()
{
    CWnd *parent = GetParent();
    if (!parent || !parent->GetSafeHwnd())
        return;
    // An inverted band on the site: drawn twice at the same place it is gone.
    HDC dc = ::GetDCEx(parent->GetSafeHwnd(), nullptr, DCX_CACHE | DCX_LOCKWINDOWUPDATE | DCX_PARENTCLIP);
    if (!dc)
        dc = ::GetDC(parent->GetSafeHwnd());
    if (!dc)
        return;
    if (!m_rectTracker.IsRectEmpty()) {
        OutputDevice dev(dc);
        ZnVisualManager::GetPVisualManager()->DrawDividerTracker(
            dev, CRectangle(m_rectTracker.left, m_rectTracker.top, m_rectTracker.right - 1, m_rectTracker.bottom - 1));
    }
    ::ReleaseDC(parent->GetSafeHwnd(), dc);
    m_bTrackerShown = !m_bTrackerShown;
}

void ZnPaneDivider::StopTracking(bool bMove)
{
    if (!m_bTracking)
        return;
    m_bTracking = false;
    if (m_bTrackerShown)
        DrawTracker();
    ZnDockingManager *mgr = GetDockingManager();
    if (bMove && !m_bLiveResize && m_nTrackOffset != 0) {
        CPoint step(IsVertical() ? m_nTrackOffset : 0, IsVertical() ? 0 : m_nTrackOffset);
        Move(step, true);
    } else if (!bMove && m_bLiveResize && m_nTrackApplied != 0) {
        // Cancelled: back to where the drag started.
        CPoint back(IsVertical() ? -m_nTrackApplied : 0, IsVertical() ? 0 : -m_nTrackApplied);
        Move(back, true);
    }
    m_nTrackOffset = m_nTrackApplied = 0;
    if (m_hWnd && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (mgr)
        mgr->EndGesture();
}

LRESULT ZnPaneDivider::WindowProc(unsigned int message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && !m_bAutoHideMode) {
            ::SetCursor(::LoadCursorA(nullptr, IsVertical() ? IDC_SIZEWE : IDC_SIZENS));
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: { // a quick second press is a press too
        CPoint pt(lParam);
        ClientToScreen(&pt);
        BeginTracking(pt);
        // The drag runs here, so that Escape reaches it wherever the focus is.
        while (m_bTracking) {
            MSG msg;
            if (!::GetMessageA(&msg, nullptr, 0, 0)) {
                StopTracking(false);
                ::PostQuitMessage(int(msg.wParam));
                break;
            }
            if (::GetCapture() != m_hWnd) {
                StopTracking(false);
                ::DispatchMessageA(&msg);
                break;
            }
            switch (msg.message) {
            case WM_MOUSEMOVE: {
                CPoint p(msg.lParam);
                ::ClientToScreen(msg.hwnd, &p);
                TrackTo(p);
                break;
            }
            case WM_LBUTTONUP: {
                CPoint p(msg.lParam);
                ::ClientToScreen(msg.hwnd, &p);
                TrackTo(p);
                StopTracking(true);
                break;
            }
            case WM_KEYDOWN:
                if (msg.wParam == VK_ESCAPE)
                    StopTracking(false);
                break;
            case WM_RBUTTONDOWN:
            case WM_CANCELMODE:
                StopTracking(false);
                break;
            default:
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
                break;
            }
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (m_bTracking && reinterpret_cast<HWND>(lParam) != m_hWnd)
            StopTracking(false);
        return 0;
    default:
        break;
    }
    return ZnBasePane::WindowProc(message, wParam, lParam);
}

void ZnPaneDivider::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    CRect r;
    GetClientRect(&r);
    if (dc && !r.IsRectEmpty()) {
        OutputDevice dev(dc);
        ZnVisualManager::GetPVisualManager()->DrawDivider(dev, CRectangle(0, 0, r.right - 1, r.bottom - 1),
                                                          IsHorizontal(), m_bDefault);
    }
    ::EndPaint(m_hWnd, &ps);
}

void ZnPaneDivider::Serialize(CArchive &ar)
{
    if (ar.IsStoring()) {
        ZnPaneTreeRecord record;
        record.m_dwAlignment = GetCurrentAlignment();
        record.m_dwDividerStyle = m_dwDividerStyle;
        record.m_nDividerWidth = m_nWidth;
        record.m_nGroupLength = m_nGroupLength;
        if (ZnDockingManager *mgr = GetDockingManager()) {
            std::vector<ZnPaneDivider *> const groups = mgr->GetDefaultDividers();
            record.m_nOrdinal = int(std::find(groups.begin(), groups.end(), this) - groups.begin());
        }
        if (!m_bDefault || !m_pContainerManager ||
            !record.Capture(m_pContainerManager->GetRootContainer(), &ZnPaneTreeRecord::NamePane)) {
            ar.SetFailed();
            return;
        }
        record.Write(ar, true);
        return;
    }
    delete m_pLoadedRecord;
    m_pLoadedRecord = new ZnPaneTreeRecord;
    if (!m_pLoadedRecord->Read(ar, true)) {
        delete m_pLoadedRecord;
        m_pLoadedRecord = nullptr;
    }
}
