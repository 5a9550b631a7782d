#include "mfc/CWnd.h"
#include "mfc/AfxWin.h"
#include "mfc/CMapPtrToPtr.h"

#include <windows.h>

IMPLEMENT_DYNAMIC(CWnd, CObject)

namespace {

// Handle → object for every attached CWnd of the process. Windows live on
// one thread each, but a program may run several user-interface threads.
struct PermanentMap
{
    CRITICAL_SECTION cs;
    CMapPtrToPtr map{20};
    PermanentMap()
    {
        InitializeCriticalSection(&cs);
        map.InitHashTable(1259);
    }
    ~PermanentMap() { DeleteCriticalSection(&cs); }
};

PermanentMap &Permanent()
{
    static PermanentMap m;
    return m;
}

struct TempMap
{
    CMapPtrToPtr map{20};
    ~TempMap();
};

// The object whose window is being created on this thread: it is attached
// at the first message the new window receives, before WM_NCCREATE.
thread_local CWnd *t_pWndInit = nullptr;
// The message being handled, for Default().
thread_local MSG t_lastMsg{};

// The temporary objects of a thread hang on a plain platform TLS slot: the
// thread-exit clean-up reads it after the runtime's own thread storage is
// gone, and reading a slot allocates nothing.
DWORD TempSlot()
{
    static DWORD const slot = TlsAlloc();
    return slot;
}

TempMap *GetTempMap()
{
    return static_cast<TempMap *>(TlsGetValue(TempSlot()));
}

void DeleteTemps(CMapPtrToPtr &map)
{
    POSITION pos = map.GetStartPosition();
    while (pos) {
        void *key, *value;
        map.GetNextAssoc(pos, key, value);
        auto *w = static_cast<CWnd *>(value);
        w->m_hWnd = nullptr; // a temporary object never owns its window
        delete w;
    }
    map.RemoveAll();
}

TempMap::~TempMap()
{
    DeleteTemps(map);
}

} // namespace

void AfxDeleteTempMap()
{
    if (TempMap *m = GetTempMap()) {
        TlsSetValue(TempSlot(), nullptr);
        delete m;
    }
}

CWnd::CWnd() : m_hWnd(nullptr), m_pfnSuper(nullptr)
{
}

CWnd::~CWnd()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        if (IsWindow(m_hWnd))
            DestroyWindow(); // ends in OnNcDestroy, which detaches
        if (m_hWnd)
            Detach();
    }
}

CWnd *CWnd::FromHandlePermanent(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    PermanentMap &pm = Permanent();
    EnterCriticalSection(&pm.cs);
    void *v = pm.map.GetValueAt(hWnd);
    LeaveCriticalSection(&pm.cs);
    return static_cast<CWnd *>(v);
}

CWnd *CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    if (CWnd *w = FromHandlePermanent(hWnd))
        return w;
    TempMap *temps = GetTempMap();
    if (!temps) {
        temps = new TempMap;
        TlsSetValue(TempSlot(), temps);
    }
    void *v = nullptr;
    if (temps->map.Lookup(hWnd, v))
        return static_cast<CWnd *>(v);
    auto *w = new CWnd;
    w->m_hWnd = hWnd;
    temps->map[hWnd] = w;
    return w;
}

bool CWnd::Attach(HWND hWnd)
{
    if (!hWnd || m_hWnd)
        return false;
    PermanentMap &pm = Permanent();
    EnterCriticalSection(&pm.cs);
    void *existing = nullptr;
    bool taken = pm.map.Lookup(hWnd, existing);
    if (!taken)
        pm.map[hWnd] = this;
    LeaveCriticalSection(&pm.cs);
    if (taken)
        return false;
    m_hWnd = hWnd;
    return true;
}

HWND CWnd::Detach()
{
    HWND h = m_hWnd;
    if (h) {
        PermanentMap &pm = Permanent();
        EnterCriticalSection(&pm.cs);
        void *v = nullptr;
        if (pm.map.Lookup(h, v) && v == this)
            pm.map.RemoveKey(h);
        LeaveCriticalSection(&pm.cs);
    }
    m_hWnd = nullptr;
    return h;
}

namespace {

HINSTANCE InstanceOfClass(char const *cls)
{
    WNDCLASSA wc;
    if (!cls || IS_INTRESOURCE(cls))
        return AfxGetInstanceHandle();
    if (GetClassInfoA(AfxGetInstanceHandle(), cls, &wc))
        return AfxGetInstanceHandle();
    return GetModuleHandleA(nullptr);
}

} // namespace

bool CWnd::CreateEx(unsigned long dwExStyle, char const *lpszClassName, char const *lpszWindowName,
                    unsigned long dwStyle, int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                    void *lpParam)
{
    if (m_hWnd)
        return false;
    CREATESTRUCTA cs{};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = InstanceOfClass(lpszClassName);
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return false;
    }
    CWnd *outer = t_pWndInit;
    t_pWndInit = this;
    HWND h = CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                             cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    bool const attachedEarly = (t_pWndInit != this);
    t_pWndInit = outer;
    if (!h) {
        if (m_hWnd)
            Detach();
        return false;
    }
    // A system class (BUTTON, SCROLLBAR …) never called our procedure:
    // sub-class it now that it exists.
    if (!attachedEarly)
        SubclassWindow(h);
    return m_hWnd == h;
}

bool CWnd::CreateEx(unsigned long dwExStyle, char const *lpszClassName, char const *lpszWindowName,
                    unsigned long dwStyle, RECT const &rect, CWnd *pParentWnd, unsigned int nID, void *lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

bool CWnd::Create(char const *lpszClassName, char const *lpszWindowName, unsigned long dwStyle, RECT const &rect,
                  CWnd *pParentWnd, unsigned int nID)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

bool CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return false;
    return ::DestroyWindow(m_hWnd) != FALSE;
}

bool CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return false;
    PreSubclassWindow();
    auto old = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StdWndProc)));
    if (old != &CWnd::StdWndProc)
        m_pfnSuper = old;
    return true;
}

HWND CWnd::UnsubclassWindow()
{
    if (m_pfnSuper && m_hWnd)
        SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

LRESULT CALLBACK CWnd::StdWndProc(HWND hWnd, unsigned int message, WPARAM wParam, LPARAM lParam)
{
    CWnd *w = FromHandlePermanent(hWnd);
    if (!w && t_pWndInit) {
        w = t_pWndInit;
        t_pWndInit = nullptr; // tells CreateEx the window came to us
        if (!w->Attach(hWnd))
            w = nullptr;
    }
    if (!w)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    MSG const saved = t_lastMsg;
    t_lastMsg.hwnd = hWnd;
    t_lastMsg.message = message;
    t_lastMsg.wParam = wParam;
    t_lastMsg.lParam = lParam;
    // After WM_NCDESTROY the object may be gone (PostNcDestroy may delete it).
    LRESULT r = w->WindowProc(message, wParam, lParam);
    t_lastMsg = saved;
    return r;
}

LRESULT CWnd::WindowProc(unsigned int message, WPARAM wParam, LPARAM lParam)
{
    return OnWndMsg(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(unsigned int message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(t_lastMsg.message, t_lastMsg.wParam, t_lastMsg.lParam);
}

// Decodes each message once and calls its typed handler.
LRESULT CWnd::OnWndMsg(unsigned int message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<CREATESTRUCTA *>(lParam));
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_NCDESTROY:
        OnNcDestroy();
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam)) ? 1 : 0;
    case WM_SIZE:
        OnSize(static_cast<unsigned int>(wParam), short(LOWORD(lParam)), short(HIWORD(lParam)));
        return 0;
    case WM_MOVE:
        OnMove(short(LOWORD(lParam)), short(HIWORD(lParam)));
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_SETFOCUS:
        OnSetFocus(FromHandle(reinterpret_cast<HWND>(wParam)));
        return 0;
    case WM_KILLFOCUS:
        OnKillFocus(FromHandle(reinterpret_cast<HWND>(wParam)));
        return 0;
    case WM_SHOWWINDOW:
        OnShowWindow(wParam != 0, static_cast<unsigned int>(lParam));
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_COMMAND:
        if (OnCommand(wParam, lParam))
            return 0;
        return Default();
    case WM_NOTIFY: {
        LRESULT result = 0;
        auto const *hdr = reinterpret_cast<NMHDR const *>(lParam);
        if (hdr && hdr->hwndFrom != m_hWnd)
            if (CWnd *child = FromHandlePermanent(hdr->hwndFrom))
                if (child->OnChildNotify(message, wParam, lParam, &result))
                    return result;
        if (OnNotify(wParam, lParam, &result))
            return result;
        return Default();
    }
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        // Reflected, as the other child notifications: a control that keeps
        // a background of its own answers for itself.
        LRESULT result = 0;
        if (lParam && reinterpret_cast<HWND>(lParam) != m_hWnd)
            if (CWnd *child = FromHandlePermanent(reinterpret_cast<HWND>(lParam)))
                if (child->OnChildNotify(message, wParam, lParam, &result))
                    return result;
        return Default();
    }
    case WM_MEASUREITEM: {
        auto const *mis = reinterpret_cast<MEASUREITEMSTRUCT const *>(lParam);
        LRESULT result = 0;
        if (mis && mis->CtlType != ODT_MENU)
            if (HWND item = ::GetDlgItem(m_hWnd, int(mis->CtlID)))
                if (CWnd *child = FromHandlePermanent(item))
                    if (child->OnChildNotify(message, wParam, lParam, &result))
                        return TRUE;
        return Default();
    }
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO *>(lParam));
        return 0;
    case WM_DRAWITEM: {
        auto *dis = reinterpret_cast<DRAWITEMSTRUCT *>(lParam);
        if (dis && dis->CtlType != ODT_MENU)
            if (CWnd *child = FromHandlePermanent(dis->hwndItem))
                if (child->OnChildDrawItem(dis))
                    return TRUE;
        return DefWindowProc(message, wParam, lParam);
    }
    default:
        return DefWindowProc(message, wParam, lParam);
    }
}

bool CWnd::PreCreateWindow(CREATESTRUCTA &)
{
    return true;
}

void CWnd::PreSubclassWindow()
{
}

void CWnd::PostNcDestroy()
{
}

int CWnd::OnCreate(CREATESTRUCTA *)
{
    return static_cast<int>(Default());
}

void CWnd::OnDestroy()
{
    Default();
}

void CWnd::OnNcDestroy()
{
    Default();
    // The window is gone: put a system class's procedure back so that
    // nothing reaches this object any more, then let go of the handle.
    if (m_pfnSuper && m_hWnd)
        SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    Detach();
    PostNcDestroy();
}

void CWnd::OnPaint()
{
    Default();
}

bool CWnd::OnEraseBkgnd(HDC)
{
    return Default() != 0;
}

void CWnd::OnSize(unsigned int, int, int)
{
    Default();
}

void CWnd::OnMove(int, int)
{
    Default();
}

void CWnd::OnClose()
{
    Default();
}

void CWnd::OnSetFocus(CWnd *)
{
    Default();
}

void CWnd::OnKillFocus(CWnd *)
{
    Default();
}

void CWnd::OnShowWindow(bool, unsigned int)
{
    Default();
}

void CWnd::OnTimer(UINT_PTR)
{
    Default();
}

bool CWnd::OnCommand(WPARAM, LPARAM)
{
    return false;
}

bool CWnd::OnNotify(WPARAM, LPARAM, LRESULT *)
{
    return false;
}

void CWnd::OnGetMinMaxInfo(MINMAXINFO *)
{
    Default();
}

bool CWnd::OnChildDrawItem(DRAWITEMSTRUCT *)
{
    return false;
}

bool CWnd::OnChildNotify(unsigned int, WPARAM, LPARAM, LRESULT *)
{
    return false;
}

CWnd *CWnd::GetParent() const
{
    return FromHandle(::GetParent(m_hWnd));
}

CWnd *CWnd::SetParent(CWnd *pWndNewParent)
{
    return FromHandle(::SetParent(m_hWnd, pWndNewParent ? pWndNewParent->m_hWnd : nullptr));
}

bool CWnd::ShowWindow(int nCmdShow)
{
    return ::ShowWindow(m_hWnd, nCmdShow) != FALSE;
}

bool CWnd::IsWindowVisible() const
{
    return ::IsWindowVisible(m_hWnd) != FALSE;
}

bool CWnd::IsIconic() const
{
    return ::IsIconic(m_hWnd) != FALSE;
}

bool CWnd::IsZoomed() const
{
    return ::IsZoomed(m_hWnd) != FALSE;
}

bool CWnd::EnableWindow(bool bEnable)
{
    return ::EnableWindow(m_hWnd, bEnable) != FALSE;
}

bool CWnd::IsWindowEnabled() const
{
    return ::IsWindowEnabled(m_hWnd) != FALSE;
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, bool bRepaint)
{
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}

void CWnd::MoveWindow(RECT const &rect, bool bRepaint)
{
    MoveWindow(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, bRepaint);
}

bool CWnd::SetWindowPos(CWnd const *pWndInsertAfter, int x, int y, int cx, int cy, unsigned int nFlags)
{
    return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx, cy, nFlags) !=
           FALSE;
}

void CWnd::GetClientRect(RECT *lpRect) const
{
    if (!::GetClientRect(m_hWnd, lpRect))
        SetRectEmpty(lpRect);
}

void CWnd::GetWindowRect(RECT *lpRect) const
{
    if (!::GetWindowRect(m_hWnd, lpRect))
        SetRectEmpty(lpRect);
}

void CWnd::ClientToScreen(POINT *lpPoint) const
{
    ::ClientToScreen(m_hWnd, lpPoint);
}

void CWnd::ScreenToClient(POINT *lpPoint) const
{
    ::ScreenToClient(m_hWnd, lpPoint);
}

void CWnd::ClientToScreen(RECT *lpRect) const
{
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT *>(lpRect), 2);
}

void CWnd::ScreenToClient(RECT *lpRect) const
{
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT *>(lpRect), 2);
}

void CWnd::CalcWindowRect(RECT *lpClientRect, unsigned int)
{
    AdjustWindowRectEx(lpClientRect, GetStyle(), GetMenu(m_hWnd) != nullptr && !(GetStyle() & WS_CHILD),
                       GetExStyle());
}

void CWnd::SetWindowText(char const *lpszString)
{
    ::SetWindowTextA(m_hWnd, lpszString ? lpszString : "");
}

int CWnd::GetWindowText(char *lpszStringBuf, int nMaxCount) const
{
    return ::GetWindowTextA(m_hWnd, lpszStringBuf, nMaxCount);
}

void CWnd::GetWindowText(CString &rString) const
{
    int n = ::GetWindowTextLengthA(m_hWnd);
    if (n <= 0) {
        rString = CString();
        return;
    }
    char *buf = new char[std::size_t(n) + 1];
    int got = ::GetWindowTextA(m_hWnd, buf, n + 1);
    rString = CString(buf, got);
    delete[] buf;
}

int CWnd::GetWindowTextLength() const
{
    return ::GetWindowTextLengthA(m_hWnd);
}

CWnd *CWnd::SetFocus()
{
    return FromHandle(::SetFocus(m_hWnd));
}

CWnd *CWnd::GetFocus()
{
    return FromHandle(::GetFocus());
}

void CWnd::Invalidate(bool bErase)
{
    ::InvalidateRect(m_hWnd, nullptr, bErase);
}

void CWnd::UpdateWindow()
{
    ::UpdateWindow(m_hWnd);
}

LRESULT CWnd::SendMessage(unsigned int message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

bool CWnd::PostMessage(unsigned int message, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageA(m_hWnd, message, wParam, lParam) != FALSE;
}

int CWnd::GetDlgCtrlID() const
{
    return ::GetDlgCtrlID(m_hWnd);
}

unsigned long CWnd::GetStyle() const
{
    return static_cast<unsigned long>(::GetWindowLongA(m_hWnd, GWL_STYLE));
}

unsigned long CWnd::GetExStyle() const
{
    return static_cast<unsigned long>(::GetWindowLongA(m_hWnd, GWL_EXSTYLE));
}

namespace {
bool ModifyLong(HWND h, int index, unsigned long remove, unsigned long add, unsigned int flags)
{
    unsigned long const old = static_cast<unsigned long>(::GetWindowLongA(h, index));
    unsigned long const now = (old & ~remove) | add;
    if (now == old)
        return false;
    ::SetWindowLongA(h, index, static_cast<LONG>(now));
    if (flags)
        ::SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return true;
}
} // namespace

bool CWnd::ModifyStyle(unsigned long dwRemove, unsigned long dwAdd, unsigned int nFlags)
{
    return ModifyLong(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}

bool CWnd::ModifyStyleEx(unsigned long dwRemove, unsigned long dwAdd, unsigned int nFlags)
{
    return ModifyLong(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

CWnd *CWnd::SetCapture()
{
    return FromHandle(::SetCapture(m_hWnd));
}

CWnd *CWnd::GetCapture()
{
    return FromHandle(::GetCapture());
}

HDC CWnd::GetDC()
{
    return ::GetDC(m_hWnd);
}

int CWnd::ReleaseDC(HDC hDC)
{
    return ::ReleaseDC(m_hWnd, hDC);
}
