#pragma once
#include "mfc/CMFCToolTipInfo.h"
#include "mfc/CRect.h"
#include "mfc/CSize.h"
#include "mfc/CToolTipCtrl.h"

class CDC;

// A tool tip that can show an image beside its text. While a tip is shown
// with an image, the window grows by GetIconSize() on the left, the
// platform's background and text move right by as much, and OnDrawIcon paints
// the strip that was left free.
class KSAPI CMFCToolTipCtrl : public CToolTipCtrl
{
    DECLARE_DYNAMIC(CMFCToolTipCtrl)
public:
    explicit CMFCToolTipCtrl(CMFCToolTipInfo *pParams = nullptr);
    ~CMFCToolTipCtrl() override;

    bool Create(CWnd *pParentWnd, unsigned long dwStyle = 0) override;

    // Takes a copy of the record (the defaults for null) and applies its
    // colours to the control.
    void SetParams(CMFCToolTipInfo *pParams);
    CMFCToolTipInfo const &GetParams() const { return m_Params; }

    // The area the image needs, its padding included; (0, 0) for none.
    virtual CSize GetIconSize();
    // Paints the image with its top-left at rectImage's; true when it drew.
    virtual bool OnDrawIcon(CDC *pDC, CRect rectImage);

    // The image strip of the tip being shown, (0, 0) without one.
    CSize GetShownIconSize() const { return m_sizeShownIcon; }

    bool OnChildNotify(unsigned int message, WPARAM wParam, LPARAM lParam, LRESULT *pResult) override;
    LRESULT WindowProc(unsigned int message, WPARAM wParam, LPARAM lParam) override;

private:
    void ApplyColours();
    LRESULT OnCustomDraw(NMTTCUSTOMDRAW *pDraw);
    // The window size for a text window size, with the image strip.
    SIZE Widened(SIZE aText) const;

    CMFCToolTipInfo m_Params;
    // Taken when the tip is about to show, so that the size, the moved text
    // and the painted strip agree even if the image changes meanwhile.
    CSize m_sizeShownIcon;
    POINT m_ptSavedOrigin;
    bool m_bOwnResize;
};
