#include "docking/ZnDragFrameImpl.h"

#include <windows.h>

#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "mfc/AfxWin.h"
#include "mfc/CWnd.h"

namespace {

LRESULT CALLBACK OutlineProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_NCHITTEST:
        // The mouse belongs to whatever lies below the ring.
        return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ERASEBKGND: {
        RECT r;
        ::GetClientRect(h, &r);
        ::FillRect(reinterpret_cast<HDC>(wParam), &r, ::GetSysColorBrush(COLOR_HIGHLIGHT));
        return 1;
    }
    default:
        return ::DefWindowProcA(h, msg, wParam, lParam);
    }
}

} // namespace

char const *ZnDragFrameImpl::GetWindowClassName()
{
    return "Afx:DragFrame";
}

int ZnDragFrameImpl::GetThickness()
{
    KSData const *data = GetPKSData();
    return data ? data->ScaleY(4) : 4;
}

ZnDragFrameImpl::ZnDragFrameImpl() : m_hOwner(nullptr), m_hWnd(nullptr), m_bShown(false)
{
}

ZnDragFrameImpl::~ZnDragFrameImpl()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
}

void ZnDragFrameImpl::Init(CWnd *pOwner)
{
    HWND const h = pOwner ? pOwner->GetSafeHwnd() : nullptr;
    m_hOwner = h ? ::GetAncestor(h, GA_ROOT) : nullptr;
}

bool ZnDragFrameImpl::EnsureWindow()
{
    if (m_hWnd)
        return true;
    HINSTANCE const inst = AfxGetInstanceHandle();
    WNDCLASSA wc{};
    if (!::GetClassInfoA(inst, GetWindowClassName(), &wc)) {
        wc.lpfnWndProc = &OutlineProc;
        wc.hInstance = inst;
        wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = GetWindowClassName();
        if (!::RegisterClassA(&wc))
            return false;
    }
    m_hWnd = ::CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT,
                               GetWindowClassName(), "", WS_POPUP, 0, 0, 0, 0, m_hOwner, nullptr, inst, nullptr);
    return m_hWnd != nullptr;
}

void ZnDragFrameImpl::MoveDragFrame(CRect const &rectScreen)
{
    if (rectScreen.IsRectEmpty()) {
        EndDrawDragFrame();
        return;
    }
    if (m_bShown && rectScreen == m_rect)
        return;
    if (!EnsureWindow())
        return;
    bool const resized = !m_bShown || rectScreen.Size() != m_rect.Size();
    m_rect = rectScreen;
    int const w = rectScreen.Width(), h = rectScreen.Height();
    if (resized) {
        // The ring: the whole rectangle less its inside.
        int const t = GetThickness();
        HRGN ring = ::CreateRectRgn(0, 0, w, h);
        if (w > 2 * t && h > 2 * t) {
            HRGN inside = ::CreateRectRgn(t, t, w - t, h - t);
            ::CombineRgn(ring, ring, inside, RGN_DIFF);
            ::DeleteObject(inside);
        }
        // The window owns the region from here on.
        if (!::SetWindowRgn(m_hWnd, ring, FALSE))
            ::DeleteObject(ring);
    }
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, rectScreen.left, rectScreen.top, w, h,
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
    m_bShown = true;
}

void ZnDragFrameImpl::EndDrawDragFrame()
{
    if (m_hWnd && m_bShown)
        ::ShowWindow(m_hWnd, SW_HIDE);
    m_bShown = false;
    m_rect = CRect();
}
