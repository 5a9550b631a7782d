#pragma once
// The tab strip a tabbed pane creates: a child window of its own class
// ("Afx:TabWnd") with the tabs at the top or at the bottom of the pane.
#include "frame/Kestrel5Api.h"
#include "mfc/CMFCBaseTabCtrl.h"

class KSAPI CMFCTabCtrl : public CMFCBaseTabCtrl
{
    DECLARE_DYNAMIC(CMFCTabCtrl)
public:
    enum Style { STYLE_3D = 0, STYLE_FLAT = 1 };

    CMFCTabCtrl() = default;
    bool Create(Style style, RECT const &rect, CWnd *pParentWnd, unsigned int nID,
                Location location = LOCATION_BOTTOM, bool bCloseBtn = false);
    Style GetStyle() const { return m_style; }

private:
    Style m_style = STYLE_3D;
};
