#include "docking/ZnPaneTreeRecord.h"

#include <cmath>
#include <set>

#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnDummyDockablePane.h"
#include "docking/ZnPaneContainer.h"
#include "mfc/AfxDocking.h"
#include "mfc/CArchive.h"

namespace {
// The record's own version: a reader meets no layout it does not know.
constexpr int kFormat = 1;
constexpr unsigned char kPaneNode = 1;
constexpr unsigned char kSplitNode = 2;
// Frame rectangles and lengths beyond this are damage, not screens (and no
// place a pane floats to).
constexpr int kMaxCoord = 1 << 15;

bool IsSide(unsigned long a)
{
    return a == CBRS_ALIGN_LEFT || a == CBRS_ALIGN_TOP || a == CBRS_ALIGN_RIGHT || a == CBRS_ALIGN_BOTTOM;
}
} // namespace

bool ZnPaneTreeRecord::Capture(ZnPaneContainer const *pRoot,
                               std::function<bool(ZnDockablePane *, int &, bool &)> const &idOf)
{
    m_nodes.clear();
    if (!pRoot)
        return false;
    return CaptureContainer(pRoot, idOf, 0) == 0;
}

int ZnPaneTreeRecord::CaptureContainer(ZnPaneContainer const *c,
                                       std::function<bool(ZnDockablePane *, int &, bool &)> const &idOf, int depth)
{
    if (depth > kMaxDepth || int(m_nodes.size()) >= kMaxNodes)
        return -1;
    bool const e1 = c->IsHalfEmpty(true), e2 = c->IsHalfEmpty(false);
    if (e1 && e2)
        return -1;
    // A root with one filled half is that half.
    if (e1 || e2)
        return CaptureNode(c, !e1, idOf, depth);
    int const i = int(m_nodes.size());
    m_nodes.push_back(Node());
    m_nodes[size_t(i)].bPane = false;
    m_nodes[size_t(i)].bSideBySide = c->IsSplitSideBySide();
    m_nodes[size_t(i)].dPercent = c->GetPercent();
    int const a = CaptureNode(c, true, idOf, depth + 1);
    int const b = a < 0 ? -1 : CaptureNode(c, false, idOf, depth + 1);
    if (b < 0)
        return -1;
    m_nodes[size_t(i)].nFirst = a;
    m_nodes[size_t(i)].nSecond = b;
    return i;
}

int ZnPaneTreeRecord::CaptureNode(ZnPaneContainer const *c, bool bFirst,
                                  std::function<bool(ZnDockablePane *, int &, bool &)> const &idOf, int depth)
{
    if (ZnPaneContainer const *child = c->GetChild(bFirst))
        return CaptureContainer(child, idOf, depth);
    Node n;
    if (!idOf(c->GetPane(bFirst), n.nID, n.bVisible) || int(m_nodes.size()) >= kMaxNodes)
        return -1;
    m_nodes.push_back(n);
    return int(m_nodes.size()) - 1;
}

bool ZnPaneTreeRecord::NamePane(ZnDockablePane *pPane, int &nID, bool &bVisible)
{
    if (!pPane)
        return false;
    if (dynamic_cast<ZnDummyDockablePane *>(pPane)) {
        ZnDockingManager *mgr = pPane->GetDockingManager();
        std::vector<ZnDockablePane *> pinned;
        if (mgr)
            mgr->FillAutoHidePaneVec(pinned);
        for (ZnDockablePane *p : pinned)
            if (p->GetAutoHidePlaceholder() == pPane) {
                pPane = p;
                break;
            }
        if (dynamic_cast<ZnDummyDockablePane *>(pPane))
            return false;
        bVisible = true;
    } else {
        bVisible = pPane->IsPaneVisible();
    }
    if (!pPane->GetSafeHwnd())
        return false;
    nID = pPane->GetDlgCtrlID();
    return true;
}

std::vector<int> ZnPaneTreeRecord::PaneIds() const
{
    std::vector<int> ids;
    for (Node const &n : m_nodes)
        if (n.bPane)
            ids.push_back(n.nID);
    return ids;
}

void ZnPaneTreeRecord::Write(CArchive &ar, bool bGroup) const
{
    ar << kFormat;
    if (bGroup)
        ar << m_dwAlignment << m_dwDividerStyle << m_nDividerWidth << m_nGroupLength << m_nOrdinal;
    else
        ar << m_rectFrame;
    ar << int(m_nodes.size());
    if (!m_nodes.empty())
        WriteNode(ar, 0);
}

void ZnPaneTreeRecord::WriteNode(CArchive &ar, int i) const
{
    Node const &n = m_nodes[size_t(i)];
    if (n.bPane) {
        ar << kPaneNode << n.nID << n.bVisible;
        return;
    }
    ar << kSplitNode << n.bSideBySide << n.dPercent;
    WriteNode(ar, n.nFirst);
    WriteNode(ar, n.nSecond);
}

bool ZnPaneTreeRecord::Read(CArchive &ar, bool bGroup)
{
    m_nodes.clear();
    int format = 0, count = 0;
    ar >> format;
    bool ok = format == kFormat;
    if (ok && bGroup) {
        ar >> m_dwAlignment >> m_dwDividerStyle >> m_nDividerWidth >> m_nGroupLength >> m_nOrdinal;
        ok = IsSide(m_dwAlignment) && m_nDividerWidth >= 0 && m_nDividerWidth < 100 && m_nGroupLength >= 0 &&
             m_nGroupLength < kMaxCoord && m_nOrdinal >= 0 && m_nOrdinal < kMaxNodes;
    } else if (ok) {
        ar >> m_rectFrame;
        ok = std::abs(m_rectFrame.left) < kMaxCoord && std::abs(m_rectFrame.top) < kMaxCoord &&
             std::abs(m_rectFrame.right) < kMaxCoord && std::abs(m_rectFrame.bottom) < kMaxCoord &&
             m_rectFrame.right > m_rectFrame.left && m_rectFrame.bottom > m_rectFrame.top &&
             m_rectFrame.right - m_rectFrame.left <= kMaxCoord && m_rectFrame.bottom - m_rectFrame.top <= kMaxCoord;
    }
    if (ok) {
        ar >> count;
        ok = count > 0 && count <= kMaxNodes && !ar.IsFailed();
    }
    if (ok) {
        m_nodes.reserve(size_t(count));
        ok = ReadNode(ar, 0) == 0 && int(m_nodes.size()) == count;
    }
    if (ok) {
        std::vector<int> const ids = PaneIds();
        ok = std::set<int>(ids.begin(), ids.end()).size() == ids.size();
    }
    if (!ok || ar.IsFailed()) {
        ar.SetFailed();
        m_nodes.clear();
        return false;
    }
    return true;
}

int ZnPaneTreeRecord::ReadNode(CArchive &ar, int depth)
{
    if (depth > kMaxDepth || int(m_nodes.size()) >= kMaxNodes || ar.IsFailed())
        return -1;
    unsigned char kind = 0;
    ar >> kind;
    Node n;
    if (kind == kPaneNode) {
        ar >> n.nID >> n.bVisible;
        if (ar.IsFailed())
            return -1;
        m_nodes.push_back(n);
        return int(m_nodes.size()) - 1;
    }
    if (kind != kSplitNode)
        return -1;
    n.bPane = false;
    ar >> n.bSideBySide >> n.dPercent;
    if (ar.IsFailed() || !std::isfinite(n.dPercent) || n.dPercent <= 0.0 || n.dPercent >= 100.0)
        return -1;
    int const i = int(m_nodes.size());
    m_nodes.push_back(n);
    int const a = ReadNode(ar, depth + 1);
    int const b = a < 0 ? -1 : ReadNode(ar, depth + 1);
    if (b < 0)
        return -1;
    m_nodes[size_t(i)].nFirst = a;
    m_nodes[size_t(i)].nSecond = b;
    return i;
}

int ZnPaneTreeRecord::FirstLeaf(int i) const
{
    while (!m_nodes[size_t(i)].bPane)
        i = m_nodes[size_t(i)].nFirst;
    return i;
}

bool ZnPaneTreeRecord::Build(std::map<int, ZnDockablePane *> const &panes, PlaceFirst const &first,
                             Insert const &insert, ContainerOf const &containerOf) const
{
    if (m_nodes.empty())
        return false;
    for (int id : PaneIds())
        if (!panes.count(id))
            return false;
    if (!first(panes.at(m_nodes[size_t(FirstLeaf(0))].nID)))
        return false;
    return Expand(0, panes, insert, containerOf);
}

// A split grows out of the pane that stands for it (its first leaf): the
// first leaf of its second half goes beside that pane, which makes the
// split's container, and then each half grows out of its own first leaf.
bool ZnPaneTreeRecord::Expand(int i, std::map<int, ZnDockablePane *> const &panes, Insert const &insert,
                              ContainerOf const &containerOf) const
{
    Node const &n = m_nodes[size_t(i)];
    if (n.bPane)
        return true;
    ZnDockablePane *a = panes.at(m_nodes[size_t(FirstLeaf(n.nFirst))].nID);
    ZnDockablePane *b = panes.at(m_nodes[size_t(FirstLeaf(n.nSecond))].nID);
    if (!insert(b, a, n.bSideBySide ? CBRS_ALIGN_RIGHT : CBRS_ALIGN_BOTTOM))
        return false;
    if (ZnPaneContainer *c = containerOf(b))
        c->SetPercent(n.dPercent);
    return Expand(n.nFirst, panes, insert, containerOf) && Expand(n.nSecond, panes, insert, containerOf);
}
