#pragma once
#include "frame/HdlChain.h"
#include "frame/KSGlobal.h"
#include "frame/Kestrel5Api.h"
#include "frame/Link.h"

#include <deque>
#include <windef.h>

class CHWndMap;
class CWindowMap;
class CScrollBarMap;
class CControlMap;
class Window;
class ScrollBar;

// Routes the messages of every registered window into its Window object:
// raw hooks first, then the Window's handlers, then — unless consumed — the
// window's previous procedure.
class KSAPI WinMsgRouter
{
public:
    static constexpr int MAX_WINPROC_HOOKS = 20;

    WinMsgRouter();
    ~WinMsgRouter();
    WinMsgRouter(WinMsgRouter const &) = delete;
    WinMsgRouter &operator=(WinMsgRouter const &) = delete;

    // Enters the window under its handle and sub-classes it.
    void AddWindow(Window *pWin);
    void RemoveWindow(Window *pWin);
    void AddControl(Window *pCtrl);
    void RemoveControl(Window *pCtrl);
    void AddScrollBar(ScrollBar *pScrollBar);
    void RemoveScrollBar(ScrollBar *pScrollBar);
    Window *LookupWindow(HWND hWnd) const;
    Window *LookupControl(HWND hWnd) const;
    ScrollBar *LookupScrollBar(HWND hWnd) const;

    // The procedure installed on every registered window.
    static LRESULT CALLBACK RouterWndProc(HWND hWnd, unsigned int nMsg, WPARAM wParam, LPARAM lParam);

    CHWndMap *m_pHWndMap;
    CWindowMap *m_pWindowMap;
    CScrollBarMap *m_pScrollBarMap;
    CControlMap *m_pControlMap;
    KSWinProcHook m_aWinProcHooks[MAX_WINPROC_HOOKS];
    int m_nWinProcHooks;
    bool m_bPaintEnabled;
    HWND m_hNextFocus;
    unsigned int m_nLastInputTime;
    Link m_aMouseMoveHdl;
    HdlChain m_aKeyDownChain;
    HdlChain m_aKeyUpChain;
    std::deque<HdlChain> m_aKeyDownStack;
    std::deque<HdlChain> m_aKeyUpStack;

private:
    // True passes the message on to the previous procedure.
    bool Route(HWND hWnd, unsigned int nMsg, WPARAM wParam, LPARAM lParam);
    bool Dispatch(Window *pWin, unsigned int nMsg, WPARAM wParam, LPARAM lParam);
    HWND HandleOf(Window *pWin) const;
};
