#pragma once
#include "mfc/CWnd.h"

#include <commctrl.h>

// The platform tool-tip control as a window object: thin calls of its
// messages. A tool is named by its window and an identifier; identifier 0
// without a rectangle names the whole window (the platform's window-handle
// tools).
class KSAPI CToolTipCtrl : public CWnd
{
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    CToolTipCtrl();
    ~CToolTipCtrl() override;

    // A pop-up owned by pParentWnd's window (the platform hands ownership on
    // to its top-level window).
    virtual bool Create(CWnd *pParentWnd, unsigned long dwStyle = 0);

    // The text is copied by the control; LPSTR_TEXTCALLBACKA asks for it
    // when shown. Adding a tool that exists replaces it: the platform would
    // otherwise keep both.
    bool AddTool(CWnd *pWnd, char const *lpszText = LPSTR_TEXTCALLBACKA, RECT const *lpRectTool = nullptr,
                 UINT_PTR nIDTool = 0);
    void DelTool(CWnd *pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(char const *lpszText, CWnd *pWnd, UINT_PTR nIDTool = 0);
    // The text of a string resource of the application's resource module.
    void UpdateTipText(unsigned int nIDText, CWnd *pWnd, UINT_PTR nIDTool = 0);
    // The tool's text (asked for when it comes by callback); empty for a
    // tool that does not exist.
    void GetText(CString &rString, CWnd *pWnd, UINT_PTR nIDTool = 0) const;
    bool GetToolInfo(TTTOOLINFOA &rInfo, CWnd *pWnd, UINT_PTR nIDTool = 0) const;
    int GetToolCount() const;

    void Activate(bool bActivate);
    void SetDelayTime(unsigned long dwDuration, int iTime);
    int GetDelayTime(unsigned long dwDuration) const;
    void RelayEvent(MSG *pMsg);
    void SetMargin(RECT const *lpRect);
    void GetMargin(RECT *lpRect) const;
    void SetTipBkColor(COLORREF clr);
    COLORREF GetTipBkColor() const;
    void SetTipTextColor(COLORREF clr);
    COLORREF GetTipTextColor() const;
    bool SetTitle(unsigned int uIcon, char const *lpszTitle);
    void Pop();
    void Update();

    // Answers the text callback of a whole-window tool with the window's
    // own text when its window left the question open.
    bool OnChildNotify(unsigned int message, WPARAM wParam, LPARAM lParam, LRESULT *pResult) override;

protected:
    void FillInToolInfo(TTTOOLINFOA &rInfo, CWnd *pWnd, UINT_PTR nIDTool) const;

private:
    // A callback answer longer than the notification's own buffer lives here
    // until the control has copied it.
    CString m_strCallback;
};
