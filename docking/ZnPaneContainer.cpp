#include "docking/ZnPaneContainer.h"

#include <algorithm>

#include "docking/DockGeometry.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnPaneContainerManager.h"
#include "docking/ZnPaneDivider.h"

ZnPaneContainer::ZnPaneContainer(ZnPaneContainerManager *pManager, ZnDockablePane *pPane1, ZnDockablePane *pPane2,
                                 ZnPaneDivider *pDivider)
    : m_nSavedPaneId{-1, -1}, m_pPane1(pPane1), m_pPane2(pPane2), m_pDivider(pDivider), m_pContainer1(nullptr),
      m_pContainer2(nullptr), m_pParent(nullptr), m_pContainerManager(pManager), m_dPercent(50.0)
{
}

ZnPaneContainer::~ZnPaneContainer()
{
    delete m_pContainer1;
    delete m_pContainer2;
    if (m_pDivider && m_pContainerManager)
        m_pContainerManager->DestroyDivider(m_pDivider);
}

void ZnPaneContainer::SetPane(bool bFirst, ZnDockablePane *pPane)
{
    (bFirst ? m_pPane1 : m_pPane2) = pPane;
    if (pPane)
        (bFirst ? m_pContainer1 : m_pContainer2) = nullptr;
}

void ZnPaneContainer::SetChild(bool bFirst, ZnPaneContainer *pChild)
{
    (bFirst ? m_pContainer1 : m_pContainer2) = pChild;
    if (pChild) {
        (bFirst ? m_pPane1 : m_pPane2) = nullptr;
        pChild->m_pParent = this;
    }
}

void ZnPaneContainer::SetContainerManager(ZnPaneContainerManager *pManager)
{
    m_pContainerManager = pManager;
    if (m_pContainer1)
        m_pContainer1->SetContainerManager(pManager);
    if (m_pContainer2)
        m_pContainer2->SetContainerManager(pManager);
}

bool ZnPaneContainer::IsSplitSideBySide() const
{
    return m_pDivider && m_pDivider->IsVertical();
}

void ZnPaneContainer::CollectPanes(std::vector<ZnDockablePane *> &out) const
{
    for (bool first : {true, false}) {
        if (ZnDockablePane *p = GetPane(first))
            out.push_back(p);
        else if (ZnPaneContainer *c = GetChild(first))
            c->CollectPanes(out);
    }
}

int ZnPaneContainer::CountPanes() const
{
    int n = 0;
    for (bool first : {true, false}) {
        if (GetPane(first))
            ++n;
        else if (ZnPaneContainer *c = GetChild(first))
            n += c->CountPanes();
    }
    return n;
}

bool ZnPaneContainer::HasVisiblePane(bool bFirst) const
{
    if (ZnDockablePane *p = GetPane(bFirst))
        return p->IsPaneVisible();
    ZnPaneContainer *c = GetChild(bFirst);
    return c && c->HasVisiblePane();
}

ZnPaneContainer *ZnPaneContainer::Find(ZnDockablePane const *pPane, bool &bFirst) const
{
    for (bool first : {true, false}) {
        if (GetPane(first) == pPane && pPane) {
            bFirst = first;
            return const_cast<ZnPaneContainer *>(this);
        }
        if (ZnPaneContainer *c = GetChild(first))
            if (ZnPaneContainer *found = c->Find(pPane, bFirst))
                return found;
    }
    return nullptr;
}

CSize ZnPaneContainer::GetHalfMinSize(bool bFirst, int nDividerWidth) const
{
    CSize size;
    if (ZnDockablePane *p = GetPane(bFirst)) {
        if (p->IsPaneVisible())
            p->GetMinSize(size);
    } else if (ZnPaneContainer *c = GetChild(bFirst)) {
        size = c->GetMinSize(nDividerWidth);
    }
    return size;
}

CSize ZnPaneContainer::GetMinSize(int nDividerWidth) const
{
    bool const v1 = HasVisiblePane(true), v2 = HasVisiblePane(false);
    CSize const a = GetHalfMinSize(true, nDividerWidth), b = GetHalfMinSize(false, nDividerWidth);
    if (!(v1 && v2))
        return v1 ? a : b;
    if (IsSplitSideBySide())
        return CSize(a.cx + nDividerWidth + b.cx, std::max(a.cy, b.cy));
    return CSize(std::max(a.cx, b.cx), a.cy + nDividerWidth + b.cy);
}

namespace {

void LayoutHalf(ZnPaneContainer *c, bool bFirst, CRect const &r, int w, bool bHonourMin)
{
    if (ZnDockablePane *p = c->GetPane(bFirst))
        p->SetLayoutRect(r);
    else if (ZnPaneContainer *child = c->GetChild(bFirst))
        child->Layout(r, w, bHonourMin);
}

} // namespace

void ZnPaneContainer::Layout(CRect const &rect, int nDividerWidth, bool bHonourMin)
{
    m_rect = rect;
    bool const v1 = HasVisiblePane(true), v2 = HasVisiblePane(false);
    if (!(v1 && v2)) {
        // The half without a visible pane takes no room; its hidden panes
        // keep a rectangle of no extent at the near edge.
        CRect none(rect.left, rect.top, rect.left, rect.top);
        m_rectHalf1 = v1 ? rect : none;
        m_rectHalf2 = v1 ? none : rect;
        if (m_pDivider) {
            m_pDivider->SetPaneVisibleFlag(false);
            m_pDivider->SetLayoutRect(none);
        }
        LayoutHalf(this, true, m_rectHalf1, nDividerWidth, bHonourMin);
        LayoutHalf(this, false, m_rectHalf2, nDividerWidth, bHonourMin);
        return;
    }
    bool const sideBySide = IsSplitSideBySide();
    unsigned long const nearSide = sideBySide ? 0x1000 : 0x2000;
    CRect rest = rect;
    int const ext = std::max(0, DockGeometry::Extent(rect, sideBySide));
    int const w = std::min(nDividerWidth, ext);
    int const avail = ext - w;
    CSize const min1 = GetHalfMinSize(true, nDividerWidth), min2 = GetHalfMinSize(false, nDividerWidth);
    int const first = DockGeometry::SplitFirst(avail, m_dPercent, sideBySide ? min1.cx : min1.cy,
                                               sideBySide ? min2.cx : min2.cy, bHonourMin);
    m_rectHalf1 = DockGeometry::CutSide(rest, nearSide, first);
    CRect const div = DockGeometry::CutSide(rest, nearSide, w);
    m_rectHalf2 = rest;
    if (m_pDivider) {
        m_pDivider->SetPaneVisibleFlag(true);
        m_pDivider->SetLayoutRect(div);
    }
    LayoutHalf(this, true, m_rectHalf1, nDividerWidth, bHonourMin);
    LayoutHalf(this, false, m_rectHalf2, nDividerWidth, bHonourMin);
}
