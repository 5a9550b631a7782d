#pragma once
#include "frame/Kestrel5Api.h"
#include "frame/Link.h"
#include "window/Control.h"

class CButton;
class CFont;
class Timer;
class ZnButton;

// A push-button behaviour: Click when pressed and released, Hold repeated
// while held (first after 400 ms, then every 200 ms) when a hold link is set.
class KSAPI Button : public Control
{
public:
    Button();
    Button(Window *pParent, int nStyle);
    ~Button() override;

    virtual void Click();
    virtual void Hold();
    void AllowClick(bool bAllow) { bAllowClick = bAllow; }
    void Check(bool bCheck);
    bool IsChecked() const;
    bool HeldDown() const { return bHeld; }
    void ChangeClickHdl(Link const &rLink) { aClickHdl = rLink; }
    Link GetClickHdl() const { return aClickHdl; }
    void ChangeHoldHdl(Link const &rLink) { aHoldHdl = rLink; }
    CButton *GetPCButton() const;

    void MouseButtonDown(MouseEvent const &rEvt) override;
    void MouseButtonUp(MouseEvent const &rEvt) override;
    // Space presses the focused button, Return a push button too: as one
    // click of the mouse, so that check boxes and radio buttons change as
    // they would under the mouse. The key's release never reaches the
    // platform control, which would otherwise stay pressed in.
    bool KeyInput(KeyEvent const &rEvt) override;

    // Paints an owner-drawn face; the default draws a plain push button.
    virtual void DrawButtonFace(DRAWITEMSTRUCT *pDIS);

protected:
    // Type: 32 push, 256 check box, 512 radio, 1024 group box, 16384 bitmap
    // push, 0x40000 owner-drawn bitmap, 0x80000 owner-drawn.
    void InitButton(Window *pParent, int nStyle, int nType, int nId);
    // An owner-drawn face begins with the push-button frame, pressed in when
    // the button is: its device context, rectangle and state.
    struct Face
    {
        HDC hDC;
        RECT aRect;
        bool bPushed;
        bool bDisabled;
    };
    static Face DrawPushFrame(DRAWITEMSTRUCT const *pDIS);
    void ImpEndPress();

    bool bPressed;
    bool bHeld;

private:
    // The platform control paints itself (an owner-drawn face comes through
    // WM_DRAWITEM): a paint of our own would take its update region away.
    bool OwnPaintingAllowed() const override;
    bool ProcessFocusMsg(unsigned int nMsg, unsigned __int64 wParam, __int64 lParam) override;
    void CreateButton(CWnd *pParent, int nStyle, int nType, int nId);
    __int64 HoldTimeout(void *);

    Link aClickHdl;
    Link aHoldHdl;
    ZnButton *pButton;
    CFont *pFont;
    HWND hFocusBack;
    Timer *pHoldTimer;
    bool bAllowClick;
};
