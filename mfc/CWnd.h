#pragma once
#include "frame/Kestrel5Api.h"
#include "mfc/CObject.h"
#include "mfc/CStringT.h"

// Window objects speak the platform's message types in their handlers.
#include <windows.h>

using CString = CStringA;

// A platform window as an object. The object is attached to its handle before
// the window's first message and receives the messages as calls of typed
// virtual handlers; whatever a handler leaves to Default() goes to the
// previous window procedure (a system class's own) or DefWindowProc.
class KSAPI CWnd : public CObject
{
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd();
    ~CWnd() override;
    CWnd(CWnd const &) = delete;
    CWnd &operator=(CWnd const &) = delete;

    HWND m_hWnd;

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object attached to the handle, or a temporary one owned by the
    // calling thread (released by AfxDeleteTempMap and at thread end).
    static CWnd *FromHandle(HWND hWnd);
    static CWnd *FromHandlePermanent(HWND hWnd);
    bool Attach(HWND hWnd);
    HWND Detach();

    virtual bool CreateEx(unsigned long dwExStyle, char const *lpszClassName, char const *lpszWindowName,
                          unsigned long dwStyle, RECT const &rect, CWnd *pParentWnd, unsigned int nID,
                          void *lpParam = nullptr);
    bool CreateEx(unsigned long dwExStyle, char const *lpszClassName, char const *lpszWindowName,
                  unsigned long dwStyle, int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                  void *lpParam = nullptr);
    virtual bool Create(char const *lpszClassName, char const *lpszWindowName, unsigned long dwStyle,
                        RECT const &rect, CWnd *pParentWnd, unsigned int nID);
    virtual bool DestroyWindow();

    // Sub-classing a window that was created elsewhere.
    bool SubclassWindow(HWND hWnd);
    HWND UnsubclassWindow();

    // The typed handlers. Each default hands the message on unchanged.
    virtual LRESULT WindowProc(unsigned int message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(unsigned int message, WPARAM wParam, LPARAM lParam);
    virtual bool PreCreateWindow(CREATESTRUCTA &cs);
    virtual void PreSubclassWindow();
    virtual void PostNcDestroy();
    virtual int OnCreate(CREATESTRUCTA *lpCreateStruct);
    virtual void OnDestroy();
    virtual void OnNcDestroy();
    virtual void OnPaint();
    virtual bool OnEraseBkgnd(HDC hDC);
    virtual void OnSize(unsigned int nType, int cx, int cy);
    virtual void OnMove(int x, int y);
    virtual void OnClose();
    virtual void OnSetFocus(CWnd *pOldWnd);
    virtual void OnKillFocus(CWnd *pNewWnd);
    virtual void OnShowWindow(bool bShow, unsigned int nStatus);
    virtual void OnTimer(UINT_PTR nIDEvent);
    virtual bool OnCommand(WPARAM wParam, LPARAM lParam);
    virtual bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT *pResult);
    virtual void OnGetMinMaxInfo(MINMAXINFO *lpMMI);
    // An owner-drawn child's WM_DRAWITEM is handed back to the child's own
    // object first; true when it painted.
    virtual bool OnChildDrawItem(DRAWITEMSTRUCT *lpDrawItemStruct);
    // A child's WM_NOTIFY and an owner-drawn child's WM_MEASUREITEM are
    // handed back to the child's own object first; true when it answered
    // (its answer in *pResult).
    virtual bool OnChildNotify(unsigned int message, WPARAM wParam, LPARAM lParam, LRESULT *pResult);
    // The current message to its default handling.
    LRESULT Default();

    // Thin helpers over the platform calls.
    CWnd *GetParent() const;
    CWnd *SetParent(CWnd *pWndNewParent);
    bool ShowWindow(int nCmdShow);
    bool IsWindowVisible() const;
    bool IsIconic() const;
    bool IsZoomed() const;
    bool EnableWindow(bool bEnable = true);
    bool IsWindowEnabled() const;
    void MoveWindow(int x, int y, int nWidth, int nHeight, bool bRepaint = true);
    void MoveWindow(RECT const &rect, bool bRepaint = true);
    bool SetWindowPos(CWnd const *pWndInsertAfter, int x, int y, int cx, int cy, unsigned int nFlags);
    void GetClientRect(RECT *lpRect) const;
    void GetWindowRect(RECT *lpRect) const;
    void ClientToScreen(POINT *lpPoint) const;
    void ScreenToClient(POINT *lpPoint) const;
    void ClientToScreen(RECT *lpRect) const;
    void ScreenToClient(RECT *lpRect) const;
    // Turns a client rectangle into the window rectangle that surrounds it.
    virtual void CalcWindowRect(RECT *lpClientRect, unsigned int nAdjustType = 0);
    void SetWindowText(char const *lpszString);
    int GetWindowText(char *lpszStringBuf, int nMaxCount) const;
    void GetWindowText(CString &rString) const;
    int GetWindowTextLength() const;
    CWnd *SetFocus();
    static CWnd *GetFocus();
    void Invalidate(bool bErase = true);
    void UpdateWindow();
    LRESULT SendMessage(unsigned int message, WPARAM wParam = 0, LPARAM lParam = 0);
    bool PostMessage(unsigned int message, WPARAM wParam = 0, LPARAM lParam = 0);
    int GetDlgCtrlID() const;
    unsigned long GetStyle() const;
    unsigned long GetExStyle() const;
    bool ModifyStyle(unsigned long dwRemove, unsigned long dwAdd, unsigned int nFlags = 0);
    bool ModifyStyleEx(unsigned long dwRemove, unsigned long dwAdd, unsigned int nFlags = 0);
    CWnd *SetCapture();
    static CWnd *GetCapture();
    HDC GetDC();
    int ReleaseDC(HDC hDC);

    // The previous window procedure of a sub-classed window, or null.
    WNDPROC m_pfnSuper;

    // The procedure of every window whose object is a CWnd.
    static LRESULT CALLBACK StdWndProc(HWND hWnd, unsigned int message, WPARAM wParam, LPARAM lParam);

protected:
    LRESULT OnWndMsg(unsigned int message, WPARAM wParam, LPARAM lParam);

private:
    friend struct CWndCreationHook;
};

// Releases the temporary CWnd objects FromHandle made for the calling thread.
KSAPI void AfxDeleteTempMap();
