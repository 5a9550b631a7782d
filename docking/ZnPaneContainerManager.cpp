#include "docking/ZnPaneContainerManager.h"

#include <algorithm>
#include <vector>

#include "docking/DockGeometry.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnPane.h"
#include "docking/ZnPaneContainer.h"
#include "docking/ZnPaneDivider.h"
#include "mfc/CObList.h"

IMPLEMENT_DYNCREATE(ZnPaneContainerManager, CObject)

namespace {

// One half's content on its way from one place in a tree to another.
struct Half
{
    ZnDockablePane *pane = nullptr;
    ZnPaneContainer *child = nullptr;
    bool Empty() const { return !pane && !child; }
};

Half TakeHalf(ZnPaneContainer *c, bool bFirst)
{
    Half h{c->GetPane(bFirst), c->GetChild(bFirst)};
    c->SetPane(bFirst, nullptr);
    c->SetChild(bFirst, nullptr);
    if (h.child)
        h.child->SetParentContainer(nullptr);
    return h;
}

void PutHalf(ZnPaneContainer *c, bool bFirst, Half const &h)
{
    if (h.pane)
        c->SetPane(bFirst, h.pane);
    else
        c->SetChild(bFirst, h.child);
}

bool AlignFirst(unsigned long dwAlign)
{
    return dwAlign == 0x1000 || dwAlign == 0x2000;
}

bool AlignSideBySide(unsigned long dwAlign)
{
    return dwAlign == 0x1000 || dwAlign == 0x4000;
}


void CollectDividers(ZnPaneContainer const *c, std::vector<ZnPaneDivider *> &out)
{
    if (!c)
        return;
    if (c->GetPaneDivider())
        out.push_back(c->GetPaneDivider());
    CollectDividers(c->GetChild(true), out);
    CollectDividers(c->GetChild(false), out);
}

ZnPaneContainer *FindByDivider(ZnPaneContainer *c, ZnPaneDivider const *d)
{
    if (!c)
        return nullptr;
    if (c->GetPaneDivider() == d)
        return c;
    if (ZnPaneContainer *f = FindByDivider(c->GetChild(true), d))
        return f;
    return FindByDivider(c->GetChild(false), d);
}

} // namespace

ZnPaneContainerManager::ZnPaneContainerManager()
    : m_pDockSite(nullptr), m_pDefaultDivider(nullptr), m_pRootContainer(new ZnPaneContainer(this))
{
}

ZnPaneContainerManager::~ZnPaneContainerManager()
{
    delete m_pRootContainer;
}

bool ZnPaneContainerManager::Create(CWnd *pDockSite, ZnPaneDivider *pDefaultDivider)
{
    m_pDockSite = pDockSite;
    m_pDefaultDivider = pDefaultDivider;
    return true;
}

ZnPaneDivider *ZnPaneContainerManager::MakeDivider(bool bSideBySide)
{
    ZnPaneDivider *d = ZnPaneDivider::CreateDivider();
    d->Init(false, m_pDockSite);
    d->SetPaneContainerManager(this);
    d->SetDockingManager(m_pDefaultDivider ? m_pDefaultDivider->GetDockingManager() : nullptr);
    unsigned long const style = bSideBySide ? ZnPaneDivider::SS_VERT : ZnPaneDivider::SS_HORZ;
    d->SetPaneDividerStyle(style);
    d->SetPaneVisibleFlag(false);
    if (m_pDockSite && m_pDockSite->GetSafeHwnd())
        d->Create(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, m_pDockSite, CRect(0, 0, 0, 0), 0, style);
    return d;
}

void ZnPaneContainerManager::DestroyDivider(ZnPaneDivider *pDivider)
{
    if (!pDivider)
        return;
    if (pDivider->IsTracking())
        pDivider->StopTracking(false);
    if (pDivider->GetSafeHwnd())
        pDivider->DestroyWindow();
    delete pDivider;
}

bool ZnPaneContainerManager::AddPane(ZnDockablePane *pPane)
{
    if (!pPane || !m_pRootContainer->IsHalfEmpty(true) || !m_pRootContainer->IsHalfEmpty(false))
        return false;
    m_pRootContainer->SetPane(true, pPane);
    return true;
}

bool ZnPaneContainerManager::InsertPane(ZnDockablePane *pPane, ZnDockablePane *pTarget, unsigned long dwAlign)
{
    if (!pPane || pPane == pTarget)
        return false;
    ZnPaneContainerManager holder;
    holder.m_pDockSite = m_pDockSite;
    holder.AddPane(pPane);
    return AddPaneContainer(pTarget, holder, dwAlign);
}

bool ZnPaneContainerManager::AddPaneContainer(ZnDockablePane *pTarget, ZnPaneContainerManager &rSource,
                                              unsigned long dwAlign)
{
    if (&rSource == this || !DockGeometry::IsSide(dwAlign) || rSource.IsEmpty())
        return false;
    ZnPaneContainer *c = nullptr;
    bool targetFirst = true;
    if (pTarget) {
        c = m_pRootContainer->Find(pTarget, targetFirst);
        if (!c)
            return false;
    }
    // What moves: the source's whole tree, or its one filled half.
    ZnPaneContainer *src = rSource.m_pRootContainer;
    Half item;
    if (!src->IsHalfEmpty(true) && !src->IsHalfEmpty(false)) {
        item.child = src;
        rSource.m_pRootContainer = new ZnPaneContainer(&rSource);
    } else {
        item = TakeHalf(src, src->IsHalfEmpty(false));
        if (ZnPaneDivider *d = src->GetPaneDivider()) {
            src->SetPaneDivider(nullptr);
            rSource.DestroyDivider(d);
        }
    }
    if (item.child) {
        item.child->SetContainerManager(this);
        std::vector<ZnPaneDivider *> dividers;
        CollectDividers(item.child, dividers);
        for (ZnPaneDivider *d : dividers) {
            d->SetPaneContainerManager(this);
            d->SetDockingManager(m_pDefaultDivider ? m_pDefaultDivider->GetDockingManager() : nullptr);
        }
    }

    bool const itemFirst = AlignFirst(dwAlign);
    bool const sideBySide = AlignSideBySide(dwAlign);
    if (!pTarget) {
        // Beside everything the tree holds.
        ZnPaneContainer *root = m_pRootContainer;
        if (root->IsHalfEmpty(true) && root->IsHalfEmpty(false)) {
            PutHalf(root, true, item);
            return true;
        }
        auto *newRoot = new ZnPaneContainer(this);
        newRoot->SetChild(!itemFirst, root);
        PutHalf(newRoot, itemFirst, item);
        newRoot->SetPaneDivider(MakeDivider(sideBySide));
        m_pRootContainer = newRoot;
        Normalise(root);
        return true;
    }
    if (c->IsHalfEmpty(!targetFirst)) {
        // Only a root has room of its own: the target and the newcomer share it.
        Half target = TakeHalf(c, targetFirst);
        PutHalf(c, !itemFirst, target);
        PutHalf(c, itemFirst, item);
        if (ZnPaneDivider *d = c->GetPaneDivider())
            d->SetPaneDividerStyle(sideBySide ? ZnPaneDivider::SS_VERT : ZnPaneDivider::SS_HORZ);
        else
            c->SetPaneDivider(MakeDivider(sideBySide));
        c->SetPercent(50.0);
        return true;
    }
    auto *n = new ZnPaneContainer(this);
    c->SetPane(targetFirst, nullptr);
    n->SetPane(!itemFirst, pTarget);
    PutHalf(n, itemFirst, item);
    n->SetPaneDivider(MakeDivider(sideBySide));
    c->SetChild(targetFirst, n);
    return true;
}

void ZnPaneContainerManager::Normalise(ZnPaneContainer *c)
{
    if (!c)
        return;
    bool const e1 = c->IsHalfEmpty(true), e2 = c->IsHalfEmpty(false);
    if (!e1 && !e2)
        return;
    // A container with at most one filled half splits nothing: its divider goes.
    if (ZnPaneDivider *d = c->GetPaneDivider()) {
        c->SetPaneDivider(nullptr);
        DestroyDivider(d);
    }
    ZnPaneContainer *parent = c->GetParentContainer();
    Half rest = TakeHalf(c, e1 ? false : true);
    if (parent) {
        bool const inFirst = parent->GetChild(true) == c;
        parent->SetChild(inFirst, nullptr);
        delete c;
        if (!rest.Empty())
            PutHalf(parent, inFirst, rest);
        Normalise(parent);
        return;
    }
    // The root: takes over a lone child's halves, or keeps a lone pane first.
    if (rest.child) {
        ZnPaneContainer *k = rest.child;
        Half a = TakeHalf(k, true), b = TakeHalf(k, false);
        ZnPaneDivider *kd = k->GetPaneDivider();
        k->SetPaneDivider(nullptr);
        PutHalf(c, true, a);
        PutHalf(c, false, b);
        c->SetPaneDivider(kd);
        c->SetPercent(k->GetPercent());
        delete k;
        Normalise(c);
    } else if (rest.pane) {
        c->SetPane(true, rest.pane);
    }
}

bool ZnPaneContainerManager::RemovePane(ZnDockablePane *pPane)
{
    bool first = true;
    ZnPaneContainer *c = pPane ? m_pRootContainer->Find(pPane, first) : nullptr;
    if (!c)
        return false;
    c->SetPane(first, nullptr);
    Normalise(c);
    return true;
}

bool ZnPaneContainerManager::ReplacePane(ZnDockablePane *pOld, ZnDockablePane *pNew)
{
    bool first = true;
    ZnPaneContainer *c = pOld && pNew ? m_pRootContainer->Find(pOld, first) : nullptr;
    if (!c || m_pRootContainer->Find(pNew, first))
        return false;
    c->Find(pOld, first);
    c->SetPane(first, pNew);
    return true;
}

ZnPaneContainer *ZnPaneContainerManager::FindPaneContainer(ZnDockablePane const *pPane, int &bLeft) const
{
    bool first = true;
    ZnPaneContainer *c = pPane ? m_pRootContainer->Find(pPane, first) : nullptr;
    bLeft = c && first ? 1 : 0;
    return c;
}

ZnDockablePane *ZnPaneContainerManager::GetFirstPane() const
{
    std::vector<ZnDockablePane *> panes;
    m_pRootContainer->CollectPanes(panes);
    return panes.empty() ? nullptr : panes.front();
}

void ZnPaneContainerManager::GetPanes(CObList &lst) const
{
    std::vector<ZnDockablePane *> panes;
    m_pRootContainer->CollectPanes(panes);
    for (ZnDockablePane *p : panes)
        lst.AddTail(p);
}

void ZnPaneContainerManager::GetPaneDividers(CObList &lst) const
{
    std::vector<ZnPaneDivider *> dividers;
    CollectDividers(m_pRootContainer, dividers);
    for (ZnPaneDivider *d : dividers)
        lst.AddTail(d);
}

int ZnPaneContainerManager::GetPaneCount() const
{
    return m_pRootContainer->CountPanes();
}

bool ZnPaneContainerManager::HasVisiblePane() const
{
    return m_pRootContainer->HasVisiblePane();
}

CSize ZnPaneContainerManager::GetMinSize() const
{
    return m_pRootContainer->GetMinSize(ZnPaneDivider::GetDefaultWidth());
}

void ZnPaneContainerManager::ReleaseEmptyPaneContainers()
{
    // Bottom-up: empty subtrees go, then every container that kept only one
    // filled half collapses into its parent.
    struct Pruner
    {
        ZnPaneContainerManager *self;
        void Prune(ZnPaneContainer *c)
        {
            for (bool first : {true, false}) {
                ZnPaneContainer *k = c->GetChild(first);
                if (!k)
                    continue;
                if (k->CountPanes() == 0) {
                    c->SetChild(first, nullptr);
                    delete k;
                } else {
                    Prune(k);
                }
            }
        }
    } pruner{this};
    pruner.Prune(m_pRootContainer);
    std::vector<ZnPaneContainer *> all;
    struct Walk
    {
        static void Collect(ZnPaneContainer *c, std::vector<ZnPaneContainer *> &out)
        {
            if (!c)
                return;
            Collect(c->GetChild(true), out);
            Collect(c->GetChild(false), out);
            out.push_back(c);
        }
    };
    Walk::Collect(m_pRootContainer, all);
    // Normalising a container may delete it and its parent's shape changes,
    // so each pass starts again from the root until nothing moves.
    for (bool changed = true; changed;) {
        changed = false;
        all.clear();
        Walk::Collect(m_pRootContainer, all);
        for (ZnPaneContainer *c : all) {
            bool const split = !c->IsHalfEmpty(true) && !c->IsHalfEmpty(false);
            bool const lonePaneFirst = c == m_pRootContainer && c->GetPane(true) && c->IsHalfEmpty(false) &&
                                       !c->GetPaneDivider();
            bool const empty = c == m_pRootContainer && c->IsHalfEmpty(true) && c->IsHalfEmpty(false) &&
                               !c->GetPaneDivider();
            if (!split && !lonePaneFirst && !empty) {
                Normalise(c);
                changed = true;
                break;
            }
        }
    }
}

void ZnPaneContainerManager::Layout(CRect const &rect)
{
    m_pRootContainer->Layout(rect, ZnPaneDivider::GetDefaultWidth(), ZnPane::m_bHandleMinSize != 0);
}

CRect ZnPaneContainerManager::GetRootContainerRect() const
{
    return m_pRootContainer->GetRect();
}

namespace {

// Where a container's split stands and how far a drag may take it.
struct Split
{
    int avail = 0; // the extent less the divider
    int first = 0; // the first half's length now
    int lo = 0, hi = 0;
};

Split SplitOf(ZnPaneContainer const *c)
{
    Split s;
    bool const sbs = c->IsSplitSideBySide();
    int const w = ZnPaneDivider::GetDefaultWidth();
    int const ext = std::max(0, DockGeometry::Extent(c->GetRect(), sbs));
    s.avail = std::max(0, ext - std::min(w, ext));
    s.first = std::max(0, DockGeometry::Extent(c->GetHalfRect(true), sbs));
    CSize const m1 = c->GetHalfMinSize(true, w), m2 = c->GetHalfMinSize(false, w);
    int a, b;
    DockGeometry::DragLimits(s.avail, sbs ? m1.cx : m1.cy, sbs ? m2.cx : m2.cy, a, b);
    // A drag never has to jump: where the split is now is always reachable.
    s.lo = std::min(a, s.first);
    s.hi = std::max(b, s.first);
    return s;
}

} // namespace

bool ZnPaneContainerManager::GetDividerDragLimits(ZnPaneDivider const *pDivider, int &lo, int &hi) const
{
    ZnPaneContainer *c = FindByDivider(m_pRootContainer, pDivider);
    if (!c)
        return false;
    Split const s = SplitOf(c);
    lo = s.lo - s.first;
    hi = s.hi - s.first;
    return true;
}

bool ZnPaneContainerManager::OnPaneDividerMove(ZnPaneDivider *pDivider, int nOffset)
{
    ZnPaneContainer *c = FindByDivider(m_pRootContainer, pDivider);
    if (!c)
        return false;
    Split const s = SplitOf(c);
    int const target = std::clamp(s.first + nOffset, s.lo, s.hi);
    c->SetPercent(DockGeometry::PercentOf(target, s.avail, c->GetPercent()));
    c->Layout(c->GetRect(), ZnPaneDivider::GetDefaultWidth(), ZnPane::m_bHandleMinSize != 0);
    return true;
}
