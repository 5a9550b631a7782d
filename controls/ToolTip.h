#pragma once
#include "graphics/Bitmap.h"
#include "mfc/CWnd.h"
#include "text/SString.h"
#include "window/Control.h"

class ZnToolTipCtrl;

// A window's tool tip: the Window part wraps the platform tool-tip control,
// which this object creates and owns. The owner relays its mouse messages to
// it (Window::OnProcessMsg) and registers itself or rectangles of itself as
// tools (Window::EnableToolTips, Window::SetToolTip).
class KSAPI ToolTip : public Control
{
public:
    // The platform's always-tip style: tips show also while the owner's
    // frame is inactive.
    static constexpr unsigned long DefaultStyle = 0x02;

    explicit ToolTip(Window *pOwner);
    ToolTip(Window *pOwner, unsigned long nStyle);
    ~ToolTip() override;

    ZnToolTipCtrl *GetPCTipCtrl() const { return m_pCTipCtrl; }

    // Tools are named by their window and an identifier; identifier 0
    // without a rectangle is the whole window.
    bool AddTool(CWnd *pWnd, char const *pText, RECT const *pRect, unsigned __int64 nId);
    void DelTool(CWnd *pWnd, unsigned __int64 nId);
    void UpdateTipText(unsigned int nResId, CWnd *pWnd, unsigned __int64 nId);
    void UpdateTipText(CString &rText, CWnd *pWnd, unsigned __int64 nId);
    // The text of the whole-window tool (tool 0) of the owner; of the
    // control's own window when there is no owner.
    void SetText(SString const &rText) override;

    void ActivateToolTips(bool bActivate);
    // nDuration: TTDT_INITIAL, TTDT_AUTOPOP, TTDT_RESHOW or TTDT_AUTOMATIC;
    // a negative time gives back the platform's default.
    void SetDelayTime(int nTime, unsigned long nDuration);
    void RelayEvent(MSG aMsg);
    int GetToolCount();
    void EnableDrawBitmap(bool bOn);
    void Pop();
    void ForceUpdate();
    void Show();
    // nIcon: 0 none, 1 information, 2 warning, 3 error.
    void SetTitle(unsigned int nIcon, SString const &rTitle);
    void SetParams(bool bRoundedCorners);
    void SetBitmap(Bitmap aBitmap, bool bFixedSize);
    void SetScalarX(float fX);
    void SetScalarY(float fY);
    void SetTransparent(bool bOn);
    void ParseLinks(CWnd *pWnd, RECT const *pRect, unsigned __int64 nId);

private:
    void CreateCToolTipCtrl(CWnd *pParent, unsigned long nStyle);
    // The platform control paints itself; the router must not begin and end
    // its paints.
    bool OwnPaintingAllowed() const override;
    bool OwnKeyInputAllowed() const override;

    ZnToolTipCtrl *m_pCTipCtrl;
    RECT m_aPlainMargin;
    RECT m_aBitmapMargin;
};
