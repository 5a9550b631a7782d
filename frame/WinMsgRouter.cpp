#include "frame/WinMsgRouter.h"
#include "window/Clipboard.h"
#include "frame/CControlMap.h"
#include "frame/CHWndMap.h"
#include "frame/CScrollBarMap.h"
#include "frame/CWindowMap.h"
#include "frame/KSData.h"
#include "graphics/DCManager.h"
#include "mfc/CWnd.h"
#include "controls/ScrollBar.h"
#include "window/Window.h"

#include <windows.h>

WinMsgRouter::WinMsgRouter()
    : m_pHWndMap(new CHWndMap), m_pWindowMap(new CWindowMap), m_pScrollBarMap(new CScrollBarMap),
      m_pControlMap(new CControlMap), m_aWinProcHooks{}, m_nWinProcHooks(0), m_bPaintEnabled(true),
      m_hNextFocus(nullptr), m_nLastInputTime(GetTickCount())
{
}

WinMsgRouter::~WinMsgRouter()
{
    delete m_pControlMap;
    delete m_pScrollBarMap;
    delete m_pWindowMap;
    delete m_pHWndMap;
}

Window *WinMsgRouter::LookupWindow(HWND hWnd) const
{
    return static_cast<Window *>(m_pWindowMap->GetValueAt(hWnd));
}

Window *WinMsgRouter::LookupControl(HWND hWnd) const
{
    return static_cast<Window *>(m_pControlMap->GetValueAt(hWnd));
}

ScrollBar *WinMsgRouter::LookupScrollBar(HWND hWnd) const
{
    return static_cast<ScrollBar *>(m_pScrollBarMap->GetValueAt(hWnd));
}

HWND WinMsgRouter::HandleOf(Window *pWin) const
{
    HWND h = pWin->GetHWND();
    if (!h)
        h = static_cast<HWND>(m_pHWndMap->GetValueAt(pWin));
    return h;
}

void WinMsgRouter::AddWindow(Window *pWin)
{
    HWND h = pWin ? pWin->GetHWND() : nullptr;
    if (!h)
        return;
    m_pWindowMap->SetAt(h, pWin);
    m_pHWndMap->SetAt(pWin, h);
    auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(h, GWLP_WNDPROC));
    if (current == &RouterWndProc)
        return; // already routed (registered twice): keep the first previous procedure
    pWin->StoreOldWindowProc(current);
    SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RouterWndProc));
}

void WinMsgRouter::RemoveWindow(Window *pWin)
{
    if (!pWin)
        return;
    HWND const live = pWin->GetHWND();
    HWND const h = HandleOf(pWin);
    if (!h) {
        m_pHWndMap->RemoveKey(pWin);
        return;
    }
    void *other = nullptr;
    if (m_pWindowMap->Lookup(h, other) && other != pWin)
        return; // the handle belongs to another Window now
    m_pHWndMap->RemoveKey(pWin);
    bool const existed = m_pWindowMap->RemoveKey(h);
    if (existed && live && IsWindow(live) && pWin->GetOldWindowProc())
        SetWindowLongPtrA(live, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pWin->GetOldWindowProc()));
}

namespace {

// Removes the entry of a control or scroll bar: under its handle when the
// router knows this very object there, or wherever it stands when no handle
// is known at all.
void RemoveEntry(CMapPtrToPtr &map, Window *pObj, HWND h, Window *registered)
{
    if (h) {
        if (registered == pObj)
            map.RemoveKey(h);
        return;
    }
    POSITION pos = map.GetStartPosition();
    while (pos) {
        void *key, *value;
        map.GetNextAssoc(pos, key, value);
        if (value == pObj) {
            map.RemoveKey(key);
            return;
        }
    }
}

} // namespace

void WinMsgRouter::AddControl(Window *pCtrl)
{
    if (HWND h = pCtrl ? pCtrl->GetHWND() : nullptr)
        m_pControlMap->SetAt(h, pCtrl);
}

void WinMsgRouter::RemoveControl(Window *pCtrl)
{
    if (pCtrl) {
        HWND h = HandleOf(pCtrl);
        RemoveEntry(*m_pControlMap, pCtrl, h, h ? LookupWindow(h) : nullptr);
    }
}

void WinMsgRouter::AddScrollBar(ScrollBar *pScrollBar)
{
    if (HWND h = pScrollBar ? pScrollBar->GetHWND() : nullptr)
        m_pScrollBarMap->SetAt(h, pScrollBar);
}

void WinMsgRouter::RemoveScrollBar(ScrollBar *pScrollBar)
{
    if (pScrollBar) {
        HWND h = HandleOf(pScrollBar);
        RemoveEntry(*m_pScrollBarMap, pScrollBar, h, h ? LookupWindow(h) : nullptr);
    }
}

LRESULT CALLBACK WinMsgRouter::RouterWndProc(HWND hWnd, unsigned int nMsg, WPARAM wParam, LPARAM lParam)
{
    WinMsgRouter *router = GlGetPWinMsgRouter();
    if (!router)
        return 1; // the library has ended; the window outlived it
    if (!router->Route(hWnd, nMsg, wParam, lParam))
        return 1;
    Window *win = router->LookupWindow(hWnd);
    if (!win)
        return 1;
    if (nMsg == 0x02CC) // WM_TABLET_QUERYSYSTEMGESTURESTATUS
        return 0;
    WNDPROC prev = win->GetOldWindowProc();
    if (!prev)
        return 1;
    return CallWindowProcA(prev, hWnd, nMsg, wParam, lParam);
}

bool WinMsgRouter::Route(HWND hWnd, unsigned int nMsg, WPARAM wParam, LPARAM lParam)
{
    for (int i = 0; i < m_nWinProcHooks; ++i) {
        KSWinProcHook hook = m_aWinProcHooks[i];
        if (hook && hook(hWnd, nMsg, wParam, lParam) != 0)
            return false;
    }
    Window *win = LookupWindow(hWnd);
    if (!win)
        return true;
    win->OnProcessMsg(nMsg, wParam, lParam);
    if (m_hNextFocus && IsWindow(m_hNextFocus)) {
        HWND next = m_hNextFocus;
        SetFocus(next);
        m_hNextFocus = nullptr;
    }

    bool const result = Dispatch(win, nMsg, wParam, lParam);
    if (GlGetPWinMsgRouter() != this)
        return false; // a handler ended the library

    KSData *data = GetPKSData();
    if (nMsg != WM_CREATE && nMsg != WM_DESTROY && data && data->m_pDCManager)
        data->m_pDCManager->DeleteDC();
    // While data is rendered on request the clipboard is open for whoever
    // asked (this program, too, from inside a paste): it must stay open.
    if (nMsg != WM_DESTROYCLIPBOARD && nMsg != WM_RENDERFORMAT && nMsg != WM_RENDERALLFORMATS && data &&
        data->m_bClipboardOpen) {
        CloseClipboard();
        data->m_bClipboardOpen = false;
    }
    // A handler may have destroyed the window: then nothing is passed on.
    return result && LookupWindow(hWnd) != nullptr;
}

bool WinMsgRouter::Dispatch(Window *win, unsigned int nMsg, WPARAM wParam, LPARAM lParam)
{
    auto inputTime = [this] { m_nLastInputTime = static_cast<unsigned int>(GetMessageTime()); };
    switch (nMsg) {
    case WM_MOVE:
        win->ProcessMove();
        return true;
    case WM_SIZE:
        if (lParam != 0) {
            win->Resize();
            win->ClearResizeMarker();
        }
        return true;
    case WM_ACTIVATE:
        win->ProcessActivateMsg(wParam, lParam);
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        return !win->ProcessFocusMsg(nMsg, wParam, lParam);
    case WM_PAINT:
        if (win->OwnPaintingAllowed() && m_bPaintEnabled)
            win->ProcessPaint();
        return true;
    case WM_CLOSE:
        return win->Close();
    case WM_RENDERFORMAT:
        // Another program asks for data that was only announced.
        Clipboard::ImpRender(static_cast<unsigned int>(wParam));
        return false;
    case WM_ERASEBKGND:
        return !win->ProcessEraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_SHOWWINDOW:
        win->SetVisibleFlag(wParam != 0);
        return true;
    case WM_ACTIVATEAPP:
        win->ProcessActivateApp(wParam, lParam);
        return true;
    case WM_DRAWITEM:
        return !win->ProcessDrawItem(reinterpret_cast<DRAWITEMSTRUCT *>(lParam));
    case WM_NOTIFY:
        return !win->ProcessNotifyMsg(wParam, lParam);
    case WM_NCLBUTTONDBLCLK:
        win->ProcessNonClientDClick(wParam, lParam);
        return true;
    case WM_KEYDOWN: {
        bool result = true;
        if (win->OwnKeyInputAllowed()) {
            // Copied first: the handler may end the window and its router.
            __int64 keyData = lParam;
            result = !win->ProcessKeyMsg(nMsg, wParam, lParam);
            WinMsgRouter *router = GlGetPWinMsgRouter();
            if (result && router == this && !m_aKeyDownChain.IsEmpty())
                m_aKeyDownChain.Call(&keyData);
        }
        inputTime();
        return result;
    }
    case WM_KEYUP:
        if (!m_aKeyUpChain.IsEmpty()) {
            __int64 keyData = lParam;
            m_aKeyUpChain.Call(&keyData);
        }
        return false;
    case WM_CHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSCHAR: {
        bool result = true;
        if (win->OwnKeyInputAllowed())
            result = !win->ProcessKeyMsg(nMsg, wParam, lParam);
        inputTime();
        return result;
    }
    case WM_SYSKEYUP:
        return !win->ProcessSysKeyUp();
    case WM_COMMAND: {
        unsigned long const id = static_cast<unsigned long>(wParam & 0xFFFFFFFF);
        if (lParam)
            if (Window *ctrl = LookupControl(reinterpret_cast<HWND>(lParam)))
                return !ctrl->ProcessCommandMsg(id);
        return !win->ProcessCommandMsg(id);
    }
    case WM_SYSCOMMAND:
        return !win->ProcessSysCommand();
    case WM_HSCROLL:
    case WM_VSCROLL: {
        bool result = true;
        if (lParam)
            if (ScrollBar *bar = LookupScrollBar(reinterpret_cast<HWND>(lParam)))
                result = !bar->ProcessScroll(nMsg, wParam, lParam);
        inputTime();
        return result;
    }
    case WM_MENUSELECT:
        return !win->ProcessMenuSelect(wParam);
    case WM_MOUSEMOVE: {
        __int64 pos = lParam;
        m_aMouseMoveHdl.Call(&pos);
        win->ProcessMouseMove(wParam, lParam);
        inputTime();
        return true;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        win->ProcessButtonDown(nMsg, wParam, lParam);
        return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        win->ProcessButtonUp(nMsg, wParam, lParam);
        return true;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        win->ProcessDoubleClick(nMsg, wParam, lParam);
        return true;
    case WM_MOUSEWHEEL: {
        bool result = !win->ProcessMouseWheel(wParam, lParam);
        inputTime();
        return result;
    }
    case WM_ENTERMENULOOP:
        win->ProcessEnterMenuLoop(wParam);
        return true;
    case WM_EXITMENULOOP:
        win->ProcessExitMenuLoop(wParam);
        return true;
    case WM_MOUSEHOVER:
        win->ProcessMouseHover(wParam, lParam);
        return true;
    case WM_MOUSELEAVE:
        win->ProcessMouseLeave(wParam, lParam);
        return true;
    case WM_THEMECHANGED:
        return !win->ProcessThemeChanged();
    default:
        return true;
    }
}
