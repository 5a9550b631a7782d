#include "docking/ZN_AUTOHIDE_DOCKSITE_SAVE_INFO.h"

#include <cstdlib>

#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnPaneDivider.h"
#include "mfc/AfxDocking.h"
#include "mfc/CArchive.h"
#include "mfc/CObList.h"

namespace {
constexpr int kMaxCoord = 1000000;

bool Sane(CRect const &r)
{
    return std::abs(r.left) < kMaxCoord && std::abs(r.top) < kMaxCoord && std::abs(r.right) < kMaxCoord &&
           std::abs(r.bottom) < kMaxCoord;
}
} // namespace

bool ZN_AUTOHIDE_DOCKSITE_SAVE_INFO::StoreInfo(ZnDockablePane const *pPane)
{
    if (!pPane || !pPane->IsAutoHideMode() || !pPane->GetSafeHwnd())
        return false;
    *this = ZN_AUTOHIDE_DOCKSITE_SAVE_INFO();
    m_nBarID = pPane->GetDlgCtrlID();
    m_dwBarAlignment = pPane->GetCurrentAlignment();
    m_bIsVisible = ZnDockablePane::m_bHideInAutoHideMode ? (pPane->IsPaneVisible() ? 1 : 0) : 1;
    // The group the pane keeps its place in: its placeholder's, if it still
    // stands among the manager's groups.
    ZnPaneDivider *group = nullptr;
    if (ZnDockingManager *mgr = pPane->GetDockingManager())
        for (ZnPaneDivider *g : mgr->GetDefaultDividers()) {
            int isLeft = 0;
            if (pPane->GetAutoHidePlaceholder() && g->FindPaneContainer(pPane->GetAutoHidePlaceholder(), isLeft)) {
                group = g;
                break;
            }
        }
    if (group) {
        CObList panes;
        group->GetPanes(panes);
        for (POSITION pos = panes.GetHeadPosition(); pos;) {
            auto *p = static_cast<ZnDockablePane *>(panes.GetNext(pos));
            if (p != pPane->GetAutoHidePlaceholder() && p->GetSafeHwnd())
                m_lstRecentSiblingPaneIds.push_back(p->GetDlgCtrlID());
        }
        m_dwDividerStyle = group->GetPaneDividerStyle();
        m_nDividerWidth = group->GetWidth();
        m_nGroupLength = group->GetGroupLength();
    }
    CRect r;
    pPane->GetWindowRect(&r);
    m_rectBar = r.IsRectEmpty() ? pPane->GetAHRestoredRect() : r;
    return true;
}

void ZN_AUTOHIDE_DOCKSITE_SAVE_INFO::Write(CArchive &ar) const
{
    ar << m_nBarID << int(m_dwBarAlignment & CBRS_ALIGN_ANY) << m_bIsVisible
       << int(m_lstRecentSiblingPaneIds.size());
    for (int id : m_lstRecentSiblingPaneIds)
        ar << id;
    ar.Write(static_cast<RECT const *>(&m_rectBar), sizeof(RECT));
    ar << int(m_dwDividerStyle) << m_nDividerWidth << m_nGroupLength;
}

bool ZN_AUTOHIDE_DOCKSITE_SAVE_INFO::Read(CArchive &ar)
{
    *this = ZN_AUTOHIDE_DOCKSITE_SAVE_INFO();
    int align = 0, count = 0, style = 0;
    ar >> m_nBarID >> align >> m_bIsVisible >> count;
    bool ok = (align == int(CBRS_ALIGN_LEFT) || align == int(CBRS_ALIGN_TOP) || align == int(CBRS_ALIGN_RIGHT) ||
               align == int(CBRS_ALIGN_BOTTOM)) &&
              (m_bIsVisible == 0 || m_bIsVisible == 1) && count >= 0 && count <= kMaxSiblings && !ar.IsFailed();
    for (int i = 0; ok && i < count; ++i) {
        int id = 0;
        ar >> id;
        m_lstRecentSiblingPaneIds.push_back(id);
        ok = !ar.IsFailed();
    }
    if (ok) {
        RECT r{};
        ar.Read(&r, sizeof r);
        m_rectBar = r;
        ar >> style >> m_nDividerWidth >> m_nGroupLength;
        ok = !ar.IsFailed() && Sane(m_rectBar) && style >= 0 && style <= 3 && m_nDividerWidth >= 0 &&
             m_nDividerWidth < 100 && m_nGroupLength >= 0 && m_nGroupLength < kMaxCoord;
    }
    m_dwBarAlignment = unsigned(align);
    m_dwDividerStyle = unsigned(style);
    if (!ok)
        ar.SetFailed();
    return ok;
}
