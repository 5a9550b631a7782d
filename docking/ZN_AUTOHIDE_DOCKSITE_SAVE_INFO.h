#pragma once
// One pinned-off pane in the docking manager's archive: its control
// identifier, side, visibility, the identifiers of the panes it shared its
// group with, its rectangle (screen coordinates, or where it slides out to
// when its window has none) and three values of its group's divider: style,
// width and the group's length. Read back in the same order; a value no
// pinned pane can have (a side that is none, a count or coordinate beyond
// reason) marks the archive failed.
#include <vector>

#include "frame/Kestrel5Api.h"
#include "mfc/CRect.h"

class CArchive;
class ZnDockablePane;

struct KSAPI ZN_AUTOHIDE_DOCKSITE_SAVE_INFO
{
    int m_nBarID = 0;
    unsigned long m_dwBarAlignment = 0;
    int m_bIsVisible = 1;
    std::vector<int> m_lstRecentSiblingPaneIds;
    CRect m_rectBar;
    unsigned long m_dwDividerStyle = 0;
    int m_nDividerWidth = 0;
    int m_nGroupLength = 0;

    // What pPane (pinned off) tells of itself; false when it is not pinned
    // or has no control identifier.
    bool StoreInfo(ZnDockablePane const *pPane);
    void Write(CArchive &ar) const;
    bool Read(CArchive &ar);

    static constexpr int kMaxSiblings = 511;
};
