#pragma once
#include "frame/Kestrel5Api.h"
#include "graphics/OutputDevice.h"
#include "graphics/CRectangle.h"
#include "graphics/Point.h"
#include "graphics/Size.h"
#include "mfc/CPoint.h"
#include "mfc/CRect.h"
#include "text/SString.h"

// Handlers receive the platform's message records (DRAWITEMSTRUCT …).
#include <windows.h>

class CImageList;
class CWnd;
class DragDataSource;
class DropData;
class DropEvent;
class KeyEvent;
class Link;
class MouseEvent;
class ToolTip;
class ZnOleDropTarget;
class WinMsgRouter;

// Base of every window and control of the library. A Window owns or wraps one
// CWnd; the router sub-classes its platform window and turns each message
// into a call of one of the virtual handlers below, which applications
// override. It is an output device: Paint draws on it directly.
class KSAPI Window : public OutputDevice
{
public:
    Window();
    Window(CWnd *pParentWnd, int nStyle, int nWinImpType);
    Window(Window *pParent, int nStyle, int nWinImpType);
    ~Window() override;
    Window(Window const &) = delete;
    Window &operator=(Window const &) = delete;

    // --- virtual handlers, in their slot order
    virtual void Paint(CRectangle const &rRect);
    virtual void Resize();
    virtual void Test();
    virtual void Move();
    virtual bool Close();
    virtual void Activate();
    virtual void Deactivate();
    virtual void OnBackgroundErased();
    virtual void OnMoved();
    virtual void OnThemeChanged();
    virtual void OnSetFocus();
    virtual void OnLoseFocus();
    virtual void OnClick();
    virtual void SetText(SString const &rText);
    virtual SString GetText() const;
    virtual void MouseButtonDown(MouseEvent const &rEvt);
    virtual void MouseButtonUp(MouseEvent const &rEvt);
    virtual void MouseMove(MouseEvent const &rEvt);
    virtual void MouseHover(MouseEvent const &rEvt);
    virtual void MouseLeave(MouseEvent const &rEvt);
    virtual bool MouseWheel(MouseEvent const &rEvt);
    virtual void CaptionDClick();
    virtual bool KeyInput(KeyEvent const &rEvt);
    virtual bool ProcessCommandMsg(unsigned long nId);
    virtual bool ProcessNotifyMsg(unsigned __int64 wParam, __int64 lParam);
    virtual bool ProcessMenuSelect(unsigned __int64 wParam);
    virtual void ChangePointer(char const *pResName);
    virtual void ChangePointer(unsigned int nId, bool bSystem);
    virtual void CaptureMouse();
    virtual void ReleaseMouse();
    // Drag and drop: the effect (DROPEFFECT_COPY …) a drop here would have,
    // and the drop itself (true: taken, and this window gets the focus once
    // the drag is over).
    virtual unsigned long QueryDrop(DropEvent const &rEvt);
    virtual bool Drop(DropEvent const &rEvt);
    // Runs the platform's drag loop with the data (or with format rendered
    // through the link when a target asks) until the button is released;
    // the effect the loop answers (DROPEFFECT_NONE after any drop on a
    // library window).
    virtual unsigned long ExecuteDrag(unsigned short nFormat, Link const &rLink);
    virtual unsigned long ExecuteDrag(DropData const &rData);
    virtual void ChangeUpdateMode(bool bUpdate);
    virtual void OnProcessMsg(unsigned int nMsg, unsigned __int64 wParam, __int64 lParam);
    virtual void ActivateApp();
    virtual void DeactivateApp();
    virtual void HandleEnterMenuLoop();
    virtual void HandleExitMenuLoop();
    virtual bool EraseVisualStyleBackground(HDC hDC);
    virtual bool HasVisualStyleBackground() const;
    virtual Window *GetPWindow();
    virtual bool ProcessMenuCommand(unsigned long nId);
    virtual bool ProcessDrawItem(DRAWITEMSTRUCT *pDIS);
    virtual bool ProcessCtlColorMsg(HDC hDC);
    virtual bool ProcessSysKeyUp();
    virtual bool ProcessSysCommand();
    virtual bool ProcessMinMaxInfo(MINMAXINFO *pInfo);
    virtual bool ProcessThemeChanged();
    virtual void ProcessPaint();

    // --- the platform window
    int GetWinImpType() const { return m_nWinImpType; }
    CWnd *GetPCWnd() const { return m_pCWnd; }
    HWND GetHWND() const override;
    Window *GetParent() const { return m_pParent; }
    ToolTip *GetPToolTip() const { return m_pToolTip; }
    WNDPROC GetOldWindowProc() const { return m_pOldWndProc; }
    void StoreOldWindowProc(WNDPROC p) { m_pOldWndProc = p; }
    bool IsRegistered() const { return m_bRegistered; }

    // Wrapping a window made elsewhere; the Window does not own it.
    void SetAsWrap(CWnd *pWnd);
    void SetAsParentWrap(CWnd *pWnd, bool bRegister);

    // --- position and size, in pixels
    Point GetPosPixel() const;
    Size GetSizePixel() const;
    Size GetOutputSizePixel() const override;
    CRectangle GetClientRect() const;
    CRectangle GetWindowRect() const;
    Point GetScreenPixel() const;
    Point GetMousePos() const;
    void ChangePosPixel(Point const &rPos);
    void ChangeSizePixel(Size const &rSize);
    void SetPosSizePixel(Point const &rPos, Size const &rSize);
    void ChangeOutputSizePixel(Size const &rSize);
    Point OutputToScreenPixel(Point const &rPos) const;
    Point ScreenToOutputPixel(Point const &rPos) const;
    bool ScreenPosIsInside(Point const &rScreenPos) const;
    void Maximize();
    void Minimize();
    void Restore();

    // --- visibility, focus, state
    void Show();
    void Hide();
    bool IsVisible() const { return m_bVisible; }
    void Enable(bool bEnable);
    void ToTop();
    void Update();
    void Invalidate();
    void Invalidate(CRectangle const &rRect);
    void Scroll(short nDx, short nDy);
    void GrabFocus();
    bool HasFocus() const;
    void ParentGrabFocus();
    void ChangeParent(Window *pNewParent);
    void SetResizeMarker() { m_bResizeMarker = true; }
    void ClearResizeMarker() { m_bResizeMarker = false; }
    bool GetResizeMarker() const { return m_bResizeMarker; }
    void SetGrabFocusOnMBDown(bool b) { m_bGrabFocusOnMBDown = b; }
    bool GetGrabFocusOnMBDown() const { return m_bGrabFocusOnMBDown; }
    void SetAlignBGBMP(bool b) { m_bAlignBGBMP = b; }
    // The window becomes a drop target (true) or stops being one.
    void EnableDrop(bool bEnable);
    bool IsDropEnabled() const { return m_bDropEnabled; }
    // On: the window gets its ToolTip (nDelay the initial delay in ms, a
    // negative one keeps the platform's) and is (re-)registered as a tool
    // over its whole area whose text is asked for when shown: the window's
    // ProcessNotifyMsg may answer TTN_GETDISPINFO, else its own text is
    // shown. Off: the ToolTip and its tools are gone.
    void EnableToolTips(bool bOn, int nDelay);
    // The whole window's tip text, enabling tool tips when they are off.
    void SetToolTip(SString const &rText);
    // A rectangle of the client area (exclusive right and bottom) as tool
    // nId with its own text; the same nId again replaces it.
    void SetToolTip(SString const &rText, CRect aRect, int nId);
    HICON ChangeCursor(HICON hCursor);
    void ResetArrowPointer();
    bool IsAParentWin(Window *pWin) const;
    void InitMouseTracking(unsigned long nFlags);
    bool IsUpdateMode() const { return !m_bNoUpdate; }
    int GetShowCmd() const { return m_nShowCmd; }

    // Adds the platform style bits of the library style bits in nStyle.
    static unsigned long TranslateWinStyles(unsigned long dwStyle, int nStyle);

    // --- class-wide
    static int GetControlIdCnt();
    static void ShowHourGlass(bool bShow);
    static bool IsHourGlass();
    static int GetNWait();
    // Drag state: the image list whose drag image follows the cursor over
    // drop targets (borrowed), the window a drag started in, and the one a
    // drop gives the focus to when the drag ends.
    static void SetDragImageList(CImageList *pImageList) { pDragImageList = pImageList; }
    static CImageList *GetDragImageList() { return pDragImageList; }
    static CWnd *GetPCWndBeginDrag() { return pCWndBeginDrag; }
    static CWnd *GetPCWndFocusAfterDrag() { return pCWndFocusAfterDrag; }
    static void ImpSetFocusAfterDrag(CWnd *pWnd) { pCWndFocusAfterDrag = pWnd; }

    // --- routed messages (the router calls these)
    void ProcessMove();
    void ProcessActivateMsg(unsigned __int64 wParam, __int64 lParam);
    void ProcessActivateApp(unsigned __int64 wParam, __int64 lParam);
    bool ProcessEraseBackground(HDC hDC);
    void ProcessNonClientDClick(unsigned __int64 wParam, __int64 lParam);
    bool ProcessKeyMsg(unsigned int nMsg, unsigned __int64 wParam, __int64 lParam);
    void ProcessButtonDown(unsigned int nMsg, unsigned __int64 wParam, __int64 lParam);
    void ProcessButtonUp(unsigned int nMsg, unsigned __int64 wParam, __int64 lParam);
    void ProcessDoubleClick(unsigned int nMsg, unsigned __int64 wParam, __int64 lParam);
    void ProcessMouseMove(unsigned __int64 wParam, __int64 lParam);
    void ProcessMouseHover(unsigned __int64 wParam, __int64 lParam);
    void ProcessMouseLeave(unsigned __int64 wParam, __int64 lParam);
    bool ProcessMouseWheel(unsigned __int64 wParam, __int64 lParam);
    void ProcessEnterMenuLoop(unsigned __int64 wParam);
    void ProcessExitMenuLoop(unsigned __int64 wParam);
    void SetVisibleFlag(bool b) { m_bVisible = b; }

protected:
    // Controls create their platform window themselves, between these two.
    void InitWindowBeforeCreate();
    void ImpSetParent(Window *pParent) { m_pParent = pParent; }
    void ImpSetWinImpType(int nType) { m_nWinImpType = nType; }
    void InitWindowAfterCreate(CWnd *pWnd, bool bOwnsCWnd);
    // The window object becomes someone else's (a control that outlives its
    // Window briefly): this Window neither destroys nor deletes it.
    void GiveUpCWnd()
    {
        m_pCWnd = nullptr;
        m_bOwnsCWnd = false;
    }
    void SetMouseCode(unsigned __int64 wParam, __int64 lParam);

private:
    friend class WinMsgRouter;
    friend class ZnOleDropTarget;

    virtual void CreateNewWindow(int nWinImpType);
    virtual void InitWindow(CWnd *pParentWnd, int nStyle, int nWinImpType);
    virtual void CreateWin(CWnd *pParentWnd, int nStyle, int nWinImpType);
    virtual bool ProcessFocusMsg(unsigned int nMsg, unsigned __int64 wParam, __int64 lParam);
    virtual void OnDragLeavesWindow();
    virtual unsigned long OnDragScroll(unsigned long nKeyState, CPoint aPoint);
    virtual bool OwnPaintingAllowed() const;
    virtual bool OwnKeyInputAllowed() const;

    void ImpRestoreForChange();
    void ImpApplyShowState(int nCmd);
    void ImpSetPosSize(Point const *pPos, Size const *pSize);
    bool ImpDeliverKey(KeyEvent const &rEvt);
    // The destructor: the drop target is revoked while the platform window
    // still exists, and the drag state forgets this window.
    void ImpEndDrop();
    unsigned long ImpRunDrag(DragDataSource &rSource, unsigned long nEffects);

    int m_nWinImpType;
    CWnd *m_pCWnd;
    Window *m_pParent;
    ToolTip *m_pToolTip;
    int m_nShowCmd;
    bool m_bOwnsCWnd;
    bool m_bResizeMarker;
    bool m_bNoUpdate;
    bool m_bGrabFocusOnMBDown;
    HANDLE m_hTheme;
    Point m_aPos;
    Point m_aScreenPos;
    WNDPROC m_pOldWndProc;
    HICON m_hCursor;
    MouseEvent *m_pMouseEvent;
    ZnOleDropTarget *m_pDropTarget;
    bool m_bDropEnabled;
    bool m_bRegistered;
    bool m_bVisible;
    bool m_bAlignBGBMP;
    bool m_bInitialised;

    static int m_nCtrlId;
    static int nWait;
    static HCURSOR hNonWaitCursor;
    static CImageList *pDragImageList;
    static CWnd *pCWndBeginDrag;
    static CWnd *pCWndFocusAfterDrag;
};
