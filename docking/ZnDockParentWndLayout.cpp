// Where the layout model meets the live windows of a dock parent window.
// Sections, in order:
//   helpers (rectangles, groups, the model's panes)
//   capture: SaveState and its clean-up steps
//   apply: LoadState, ImplementLayout, TryDock, the emergency placement
//   positions: FillDockPosition, DockWithPosition, GetDockPositions
//   a pane's lifecycle: RemovePane, HidePane, ShowPane, floating state
//   all panes at once: UndockAllPanes, DockAll
//
// The model's rectangles are the windows' own numbers (right and bottom
// exclusive), so two panes on either side of a divider lie exactly one
// divider width apart, which is what the model's neighbour tests expect.
#include "docking/ZnDockParentWnd.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <map>

#include "docking/DockElement.h"
#include "docking/DockGeometry.h"
#include "docking/DockPaneElement.h"
#include "docking/FloatingPaneElement.h"
#include "docking/FreeSpaceElement.h"
#include "docking/ZnPaneFrameWnd.h"
#include "docking/HiddenPaneElement.h"
#include "docking/HolderElement.h"
#include "docking/ZnBaseTabbedPane.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingGesture.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnPaneContainer.h"
#include "docking/ZnPaneContainerManager.h"
#include "docking/ZnPaneDivider.h"
#include "window/Window.h"

// ------------------------------------------------------------------ helpers

namespace {

CRectangle ToModel(CRect const &r)
{
    return CRectangle(r.left, r.top, r.right, r.bottom);
}

// SetSizeInContainer leaves a pane stacked beside a horizontal divider one
// row more than asked, while a position holds the rows the pane had: asked
// as they are, every hide and show would grow it by one.
int StackedLen(int len, unsigned long align)
{
    return !DockGeometry::IsHorzAxis(align) && len > 1 ? len - 1 : len;
}

// How well the place a pane has now keeps the neighbours a position names:
// each side contact kept counts, each new one counts against.
int NeighbourMatch(DockPosition const &wanted, DockPosition const &got)
{
    auto touches = [](DockPosition const &p, DockNeighbour const &n) {
        for (DockNeighbour const &m : p.GetNeighbourVec())
            if (m.GetContact() != NCT_NONE && m.GetName() == n.GetName() && m.GetAlign() == n.GetAlign())
                return true;
        return false;
    };
    int score = 0;
    for (DockNeighbour const &n : wanted.GetNeighbourVec())
        if (n.GetContact() != NCT_NONE && touches(got, n))
            ++score;
    for (DockNeighbour const &n : got.GetNeighbourVec())
        if (n.GetContact() != NCT_NONE && !touches(wanted, n))
            --score;
    return score;
}

int Extent(CRectangle const &r, bool horz)
{
    if (r.IsEmpty())
        return 0;
    long long const v = horz ? (long long)r.Right() - r.Left() : (long long)r.Bottom() - r.Top();
    return v < 0 ? 0 : v > INT_MAX ? INT_MAX : int(v);
}

ZnPaneContainer *GroupRoot(ZnDockablePane const *pPane)
{
    ZnPaneDivider *d = pPane ? pPane->GetDefaultPaneDivider() : nullptr;
    ZnPaneContainerManager *cm = d ? d->GetPaneContainerManager() : nullptr;
    return cm ? cm->GetRootContainer() : nullptr;
}

// Pane pointers of a model, read without touching the panes: a model may
// outlive a pane, and only pointers that are still registered may be used.
std::vector<ZnDockablePane *> PanesOf(DockElement const *pEl)
{
    std::vector<ZnDockablePane *> panes;
    if (!pEl)
        return panes;
    if (pEl->GetType() == DET_HIDDEN_PANE_ELEMENT || pEl->GetType() == DET_FLOATING_PANE_ELEMENT) {
        if (auto const *p = static_cast<PaneElement const *>(pEl)->GetPane())
            panes.push_back(const_cast<ZnDockablePane *>(p));
        return panes;
    }
    pEl->FillPaneVec(panes);
    return panes;
}

// Whether the side of a group's split halves runs along the holder's split.
bool HalfHolds(ZnPaneContainer const *c, bool first, ZnDockablePane const *pPane)
{
    if (c->GetPane(first) == pPane)
        return true;
    bool b = false;
    ZnPaneContainer const *k = c->GetChild(first);
    return k && k->Find(pPane, b);
}

ZnPaneContainer *LowestCommonContainer(ZnPaneContainer *root, ZnDockablePane const *a, ZnDockablePane const *b)
{
    bool first = false;
    ZnPaneContainer *ca = root ? root->Find(a, first) : nullptr;
    for (ZnPaneContainer *c = ca; c; c = c->GetParentContainer())
        if (HalfHolds(c, true, b) || HalfHolds(c, false, b))
            return c;
    return nullptr;
}

// The splits of a docked tree take the model's fractions, so that a tree
// docked pane by pane ends with the pixels it was captured with.
void RestoreSplits(DockElement const *pEl, ZnPaneContainer *root)
{
    if (!pEl || pEl->GetType() != DET_HOLDER_ELEMENT)
        return;
    auto const *h = static_cast<HolderElement const *>(pEl);
    DockElement const *l = h->GetPLeft(), *r = h->GetPRight();
    if (l && r) {
        std::vector<ZnDockablePane *> pl = PanesOf(l), pr = PanesOf(r);
        ZnPaneContainer *c = pl.empty() || pr.empty() ? nullptr : LowestCommonContainer(root, pl[0], pr[0]);
        bool const horz = h->IsHorizontal();
        if (c && c->GetPaneDivider() && c->IsSplitSideBySide() == horz) {
            bool const leftFirst = HalfHolds(c, true, pl[0]);
            int const avail = Extent(h->GetRect(), horz) - ZnPaneDivider::GetDefaultWidth();
            int const first = Extent((leftFirst ? l : r)->GetRect(), horz);
            c->SetPercent(DockGeometry::PercentOf(first, avail, c->GetPercent()));
        }
    }
    RestoreSplits(l, root);
    RestoreSplits(r, root);
}

// The panes of this manager, by pointer.
std::vector<ZnDockablePane *> RegisteredPanes(ZnDockingManager const *pMgr)
{
    std::vector<ZnDockablePane *> panes;
    if (pMgr)
        pMgr->FillDockablePaneVec(panes);
    return panes;
}

bool Contains(std::vector<ZnDockablePane *> const &panes, ZnDockablePane const *p)
{
    return std::find(panes.begin(), panes.end(), p) != panes.end();
}

// A group docked to the parent lies innermost; the model is applied from
// the free space outwards, so each newly docked group goes outside the
// groups docked before it.
void MoveGroupOutermost(ZnDockingManager *pMgr, ZnDockablePane const *pPane)
{
    ZnPaneDivider *d = pPane ? pPane->GetDefaultPaneDivider() : nullptr;
    if (!pMgr || !d)
        return;
    pMgr->RemoveDefaultDivider(d);
    pMgr->AddDefaultDivider(d, true);
    pMgr->RecalcLayout(true);
}

ZnDockablePane *PaneNamed(ZnDockingManager const *pMgr, SString const &name)
{
    if (name.IsEmpty())
        return nullptr;
    std::vector<ZnDockablePane *> const panes = RegisteredPanes(pMgr);
    for (ZnDockablePane *p : panes)
        if (p->GetInternalName() == name)
            return p;
    // A neighbour that was pinned off when the position was taken is named
    // with the auto-hide mark; it is the same pane, back in its group while
    // positions are applied.
    SString const mark("-AH");
    int const n = name.Len() - mark.Len();
    if (n > 0 && name.Copy(unsigned(n)) == mark) {
        SString const plain = name.Copy(0, unsigned(n));
        for (ZnDockablePane *p : panes)
            if (p->GetInternalName() == plain)
                return p;
    }
    return nullptr;
}

// The pane that holds the place of the pane of that name: its tab group
// when it is a tab (a model names a group by its active tab).
ZnDockablePane *PlacedPaneNamed(ZnDockingManager const *pMgr, SString const &name)
{
    ZnDockablePane *p = PaneNamed(pMgr, name);
    if (ZnBaseTabbedPane *g = p ? p->GetParentTabbedPane() : nullptr)
        return g;
    return p;
}

// --- tab groups in models. The tabbed pane is the library's, unknown to
// the application's table of panes, so a model never names it: a group
// stands as its active tab at the group's place, and every other tab as a
// hidden-pane element whose position names the active tab as its holder
// neighbour on no side (align 0). The contact says where in the strip it
// goes: JUSTIFIED before that tab, EQUAL after it. A hidden pane that comes
// back as a tab names a tab of its group the same way with contact NONE.
// The rest of such a position is the group's own, for when the group is
// gone.

ZnDockablePane *ModelPane(ZnDockablePane *p)
{
    if (auto *g = dynamic_cast<ZnBaseTabbedPane *>(p))
        return g->GetActiveTab();
    return p;
}

void SubstituteTabGroups(DockElement *pEl)
{
    if (!pEl)
        return;
    if (pEl->GetType() == DET_HOLDER_ELEMENT) {
        auto *h = static_cast<HolderElement *>(pEl);
        SubstituteTabGroups(h->GetPLeft());
        SubstituteTabGroups(h->GetPRight());
        return;
    }
    if (pEl->GetType() == DET_DOCK_PANE_ELEMENT || pEl->GetType() == DET_FLOATING_PANE_ELEMENT) {
        auto *pe = static_cast<PaneElement *>(pEl);
        if (ZnDockablePane *p = ModelPane(const_cast<ZnDockablePane *>(pe->GetPane())))
            pe->SetPane(p);
    }
}

DockNeighbour const *TabNeighbour(DockPosition const &position)
{
    for (DockNeighbour const &n : position.GetNeighbourVec())
        if (n.IsHolder() && n.GetAlign() == 0)
            return &n;
    return nullptr;
}

void PositionFromModel(std::vector<DockElement *> const &elements, ZnDockablePane const *pPane,
                       DockPosition &position);

// pPane's position as a tab of g: the group's place, and the tab it goes
// with (the active one, or the next when pPane is the active one).
DockPosition TabPosition(std::vector<DockElement *> const &elements, ZnBaseTabbedPane const *g,
                         ZnDockablePane const *pPane, NeighbourContactType contact)
{
    DockPosition position;
    ZnDockablePane const *active = g->GetActiveTab();
    if (active)
        PositionFromModel(elements, active, position);
    ZnDockablePane const *anchor = active != pPane ? active : g->GetTab(g->FindTab(pPane) == 0 ? 1 : 0);
    position.SetName(pPane->GetInternalName());
    if (anchor && anchor != pPane)
        position.AddNeighbour(anchor->GetInternalName(), 0, contact, true, false);
    return position;
}

} // namespace

bool ZnDockParentWnd::IsDockedHere(ZnDockablePane const *pPane) const
{
    return pPane && m_pDockingManager && pPane->GetDefaultPaneDivider() && pPane->IsPaneVisible() &&
           pPane->GetDockingManager() == m_pDockingManager;
}

std::set<ZnDockablePane *> ZnDockParentWnd::GetHiddenPanes() const
{
    std::set<ZnDockablePane *> out;
    std::vector<ZnDockablePane *> const panes = RegisteredPanes(m_pDockingManager);
    for (ZnDockablePane *p : m_aHiddenPanes)
        if (Contains(panes, p) && !IsDockedHere(p) && !p->IsAutoHideMode() && !p->IsFloating() &&
            !p->GetParentTabbedPane())
            out.insert(p);
    return out;
}

void ZnDockParentWnd::PruneHiddenPanes()
{
    // A pane destroyed since is compared by address only, never touched; one
    // docked again through the manager is hidden no more.
    m_aHiddenPanes = GetHiddenPanes();
}

// ------------------------------------------------------------------ capture

void ZnDockParentWnd::SaveState()
{
    SaveState(m_aCapturedLayout);
}

void ZnDockParentWnd::SaveState(std::vector<DockElement *> &elements)
{
    DockElement::ClearDockElements(elements);
    if (!m_pDockingManager)
        return;
    PruneHiddenPanes();
    // Pinned panes are captured at the places they hold in their groups,
    // flagged, and pinned again afterwards, all in one gesture: the windows
    // end where they were and move at most once.
    ZnDockingGesture gesture(m_pDockingManager);
    std::vector<ZnDockablePane *> const pinned = UnAutoHideAllPanes();
    std::vector<ZnDockablePane *> const panes = RegisteredPanes(m_pDockingManager);
    if (m_pFreeSpaceWnd) {
        auto *fs = new FreeSpaceElement(m_pFreeSpaceWnd);
        fs->SetRect(ToModel(m_pDockingManager->GetClientAreaBounds()));
        elements.push_back(fs);
    }
    for (ZnDockablePane *p : panes) {
        if (!IsDockedHere(p) || m_aHiddenPanes.count(p) || p->GetParentTabbedPane())
            continue;
        if (p->HasChilds()) {
            auto *h = new HolderElement(GroupRoot(p));
            h->SetNDepth(0);
            if (ProcessDeeperHolderForPane(h, elements))
                elements.push_back(h);
            else
                delete h;
        } else if (!DockElement::FindElementOfPane(elements, p)) {
            auto *e = new DockPaneElement(p);
            e->SetRect(ToModel(p->GetLayoutRect()));
            elements.push_back(e);
        }
    }
    for (DockElement *e : elements)
        SubstituteTabGroups(e);
    RemoveOrphanHolders(elements);
    MergeOrphanPanes(elements);
    MergeParallelNeighbours(elements);
    for (size_t i = 0; i < elements.size(); ++i)
        for (size_t j = i + 1; j < elements.size(); ++j)
            if (!elements[i]->IsFloating() && !elements[j]->IsFloating())
                elements[i]->AddRelation(elements[j], true);
    // Floating panes take no part in the relations: their frames lie
    // anywhere on the screen.
    for (ZnDockablePane *p : panes)
        if (p->IsFloating() && p->IsPaneVisible() && !m_aHiddenPanes.count(p)) {
            auto *f = new FloatingPaneElement(ModelPane(p));
            f->SetRect(CRectangle(p->GetParentMiniFrame()->GetFrameRect()));
            elements.push_back(f);
        }
    // The other tabs of every shown group, in the strip's order.
    std::vector<DockElement *> tabs;
    for (ZnDockablePane *p : panes) {
        auto *g = dynamic_cast<ZnBaseTabbedPane *>(p);
        if (!g || !g->GetActiveTab() || !DockElement::FindElementOfPane(elements, g->GetActiveTab()))
            continue;
        for (int i = 0; i < g->GetTabsNum(); ++i)
            if (i != g->GetActiveTabIndex())
                tabs.push_back(new HiddenPaneElement(
                    g->GetTab(i), TabPosition(elements, g, g->GetTab(i),
                                              i < g->GetActiveTabIndex() ? NCT_JUSTIFIED_SIDE : NCT_EQUAL_SIDE)));
    }
    elements.insert(elements.end(), tabs.begin(), tabs.end());
    for (ZnDockablePane *p : panes)
        if (m_aHiddenPanes.count(p))
            elements.push_back(new HiddenPaneElement(p, p->GetRecentDockPosition()));
    for (ZnDockablePane *p : pinned) {
        for (DockElement *e : elements)
            e->NotifyOfAutoHidePane(ModelPane(p));
        p->AutoHideFromExtern();
    }
}

bool ZnDockParentWnd::ProcessDeeperHolderForPane(HolderElement *pHolder,
                                                 std::vector<DockElement *> const &elements) const
{
    // Every pane of a group yields the group's whole tree; the first one
    // that is not yet in the model is kept.
    std::vector<ZnDockablePane *> const panes = PanesOf(pHolder);
    if (panes.empty())
        return false;
    for (ZnDockablePane const *p : panes)
        if (DockElement::FindElementOfPane(elements, p))
            return false;
    return true;
}

void ZnDockParentWnd::RemoveOrphanHolders(std::vector<DockElement *> &elements)
{
    for (auto it = elements.begin(); it != elements.end();) {
        DockElement *e = *it;
        if (e->GetType() != DET_HOLDER_ELEMENT) {
            ++it;
            continue;
        }
        DockElement *answer = e->RemoveOrphanShells();
        if (answer == e) {
            delete e;
            it = elements.erase(it);
            continue;
        }
        if (answer) {
            delete e;
            *it = e = answer;
        }
        // Halves that went take their share with them: rectangles and
        // fractions are those of what is left.
        e->RefreshRect();
        e->SetNDepth(0);
        ++it;
    }
}

void ZnDockParentWnd::MergeOrphanPanes(std::vector<DockElement *> &elements)
{
    // A pane stands in one place only: the first root that holds it wins,
    // a lone element of a pane that a tree holds as well goes.
    std::vector<ZnDockablePane *> seen;
    for (auto it = elements.begin(); it != elements.end();) {
        std::vector<ZnDockablePane *> const panes = PanesOf(*it);
        bool const dup = std::any_of(panes.begin(), panes.end(), [&](ZnDockablePane *p) { return Contains(seen, p); });
        if (dup && (*it)->GetType() != DET_FREE_SPACE_ELEMENT) {
            delete *it;
            it = elements.erase(it);
            continue;
        }
        seen.insert(seen.end(), panes.begin(), panes.end());
        ++it;
    }
}

void ZnDockParentWnd::MergeParallelNeighbours(std::vector<DockElement *> &elements)
{
    // The engine keeps every docked group as one tree, so no two roots ever
    // stand for parallel halves of one group; what is left is to list the
    // roots in one order (free space first, then by top, left and area), so
    // that two captures of one layout list the same elements alike.
    std::stable_sort(elements.begin(), elements.end(), [](DockElement const *a, DockElement const *b) {
        bool const fa = a->GetType() == DET_FREE_SPACE_ELEMENT, fb = b->GetType() == DET_FREE_SPACE_ELEMENT;
        if (fa != fb)
            return fa;
        return *a < *b;
    });
}

// ------------------------------------------------------------------ apply

bool ZnDockParentWnd::LoadState()
{
    return ImplementLayout(m_aCapturedLayout);
}

bool ZnDockParentWnd::LoadState(std::vector<DockElement *> const &elements)
{
    return ImplementLayout(elements);
}

bool ZnDockParentWnd::HasAllNeighbours(DockElement const *pEl, std::set<SString> const &docked,
                                       NeighbourType type) const
{
    std::vector<ZnDockablePane *> const panes = RegisteredPanes(m_pDockingManager);
    CRectangle const &e = pEl->GetRect();
    bool const vert = type == NT_LEFT || type == NT_RIGHT;
    long long const w = ZnPaneDivider::GetDefaultWidth();
    long long sum = 0;
    int k = 0;
    for (DockElement const *n : pEl->GetNeighbours()) {
        // A neighbour copy of a pane that is gone names nothing docked.
        std::vector<ZnDockablePane *> const np = PanesOf(n);
        if (!std::all_of(np.begin(), np.end(), [&](ZnDockablePane *p) { return Contains(panes, p); }))
            continue;
        // A copy records one side, the first its facing edges matched, and
        // a group squeezed to nothing matches on both of its sides. The side
        // is taken from the rectangles here (one divider apart), and only a
        // neighbour that really lies along it counts: such a one must be
        // docked before the side does, even when it adds nothing to the
        // length.
        CRectangle const &r = n->GetRect();
        long long gap;
        switch (type) {
        case NT_LEFT:
            gap = (long long)e.Left() - r.Right();
            break;
        case NT_RIGHT:
            gap = (long long)r.Left() - e.Right();
            break;
        case NT_TOP:
            gap = (long long)e.Top() - r.Bottom();
            break;
        default:
            gap = (long long)r.Top() - e.Bottom();
            break;
        }
        if (std::llabs(gap - w) > 1)
            continue;
        long long const lo = vert ? std::max(e.Top(), r.Top()) : std::max(e.Left(), r.Left());
        long long const hi = vert ? std::min(e.Bottom(), r.Bottom()) : std::min(e.Right(), r.Right());
        bool const flat = vert ? (e.Top() == e.Bottom() || r.Top() == r.Bottom())
                               : (e.Left() == e.Right() || r.Left() == r.Right());
        if (!(lo < hi || (lo == hi && flat)))
            continue;
        if (!docked.count(n->GetIdentifier()))
            return false;
        sum += vert ? (long long)r.Bottom() - r.Top() : (long long)r.Right() - r.Left();
        ++k;
    }
    if (k == 0)
        return false;
    sum += (long long)(k - 1) * w;
    long long const own = vert ? (long long)e.Bottom() - e.Top() : (long long)e.Right() - e.Left();
    return std::llabs(sum - own) <= w;
}

bool ZnDockParentWnd::TryDock(DockElement *pEl, std::set<SString> &docked)
{
    // Docked neighbours on one side put the element on the opposite margin
    // of what is docked so far.
    static struct
    {
        NeighbourType side;
        unsigned long align;
    } const order[] = {{NT_LEFT, DockAlignRight}, {NT_RIGHT, DockAlignLeft}, {NT_TOP, DockAlignBottom},
                       {NT_BOTTOM, DockAlignTop}};
    for (auto const &o : order) {
        if (!HasAllNeighbours(pEl, docked, o.side))
            continue;
        if (!pEl->DockDepthFirst(m_pDockingManager, docked, int(o.align), 0))
            continue;
        std::vector<ZnDockablePane *> const panes = PanesOf(pEl);
        if (!panes.empty())
            MoveGroupOutermost(m_pDockingManager, panes.front());
        docked.insert(pEl->GetIdentifier());
        return true;
    }
    return false;
}

bool ZnDockParentWnd::ImplementLayout(std::vector<DockElement *> const &elements)
{
    if (!m_pDockingManager)
        return false;
    ZnDockingGesture gesture(m_pDockingManager);
    ZnDockingManager::RestoringScope restoring;
    UndockAllPanes(); // pinned panes leave auto-hide first
    // The model says which panes are hidden: the ones it does not name stay
    // closed, not hidden.
    m_aHiddenPanes.clear();
    std::vector<ZnDockablePane *> const panes = RegisteredPanes(m_pDockingManager);
    bool ok = true;
    auto allMine = [&](DockElement const *e) {
        std::vector<ZnDockablePane *> const p = PanesOf(e);
        return !p.empty() && std::all_of(p.begin(), p.end(), [&](ZnDockablePane *x) { return Contains(panes, x); });
    };

    std::vector<DockElement *> pending, floating, tabs;
    bool freeSpace = false;
    std::vector<ZnDockablePane *> claimed;
    for (DockElement *e : elements) {
        if (!e)
            continue;
        switch (e->GetType()) {
        case DET_FREE_SPACE_ELEMENT:
            freeSpace = true;
            break;
        case DET_HIDDEN_PANE_ELEMENT:
            if (!allMine(e)) {
                ok = false;
                break;
            }
            if (DockNeighbour const *t = TabNeighbour(static_cast<HiddenPaneElement *>(e)->GetDockPosition());
                t && t->GetContact() != NCT_NONE) {
                // A tab of a group: placed once the group's tab is.
                if (auto *p = PanesOf(e).front(); !Contains(claimed, p)) {
                    claimed.push_back(p);
                    tabs.push_back(e);
                }
                break;
            }
            if (auto *p = PanesOf(e).front(); !Contains(claimed, p)) {
                claimed.push_back(p);
                p->SetRecentDockPosition(static_cast<HiddenPaneElement *>(e)->GetDockPosition());
                if (Window *w = p->GetPDockedWin())
                    w->Hide();
                m_aHiddenPanes.insert(p);
                m_aCallBacks.aRemovePaneHdl.Call(p);
            }
            break;
        case DET_DOCK_PANE_ELEMENT:
        case DET_HOLDER_ELEMENT:
            if (allMine(e)) {
                pending.push_back(e);
                std::vector<ZnDockablePane *> const p = PanesOf(e);
                claimed.insert(claimed.end(), p.begin(), p.end());
            } else {
                ok = false;
            }
            break;
        default:
            if (e->IsFloating())
                floating.push_back(e);
            break;
        }
    }

    for (DockElement *e : floating)
        e->Float();
    std::set<SString> docked;
    if (freeSpace)
        docked.insert("GFS");
    std::vector<DockElement *> placed;
    for (bool progress = true; progress && !pending.empty();) {
        progress = false;
        for (auto it = pending.begin(); it != pending.end();) {
            if (TryDock(*it, docked)) {
                placed.push_back(*it);
                it = pending.erase(it);
                progress = true;
            } else {
                ++it;
            }
        }
    }
    for (DockElement *e : pending)
        for (ZnDockablePane *p : PanesOf(e))
            if (!p->GetDefaultPaneDivider()) {
                DockEmergency(p);
                ok = false;
            }
    for (DockElement const *e : placed) {
        std::vector<ZnDockablePane *> const p = PanesOf(e);
        ZnPaneDivider *g = p.front()->GetDefaultPaneDivider();
        // A tree that did not end in one group keeps what docking gave it.
        if (!g || !std::all_of(p.begin(), p.end(), [g](ZnDockablePane *x) { return x->GetDefaultPaneDivider() == g; }))
            continue;
        g->SetGroupLength(Extent(e->GetRect(), DockGeometry::IsHorzAxis(g->GetCurrentAlignment())));
        RestoreSplits(e, GroupRoot(p.front()));
    }
    for (DockElement *e : tabs) {
        auto *p = PanesOf(e).front();
        DockPosition const &position = static_cast<HiddenPaneElement *>(e)->GetDockPosition();
        DockNeighbour const *t = TabNeighbour(position);
        ZnDockablePane *anchor = PaneNamed(m_pDockingManager, t->GetName());
        bool tabbed = false;
        if (anchor && anchor != p &&
            (anchor->GetParentTabbedPane() || IsDockedHere(anchor) || anchor->IsFloating()) &&
            p->AttachToTabWnd(anchor, DM_UNKNOWN, false)) {
            tabbed = true;
            ZnBaseTabbedPane *g = p->GetParentTabbedPane();
            if (g && t->GetContact() == NCT_JUSTIFIED_SIDE)
                g->InsertTab(p, g->FindTab(anchor), false);
        }
        if (!tabbed) {
            // Its group is not in the model: the tab waits, hidden, for a show.
            ok = false;
            p->SetRecentDockPosition(position);
            if (Window *w = p->GetPDockedWin())
                w->Hide();
            m_aHiddenPanes.insert(p);
        }
    }
    for (ZnDockablePane *p : panes)
        if (p->GetDefaultPaneDivider() || p->GetParentTabbedPane())
            m_aHiddenPanes.erase(p);
    // Panes that were pinned off when the model was captured are pinned
    // again, from the places the model gave them.
    std::vector<DockPaneElement *> paneElements;
    std::set<SString> seen;
    for (DockElement *e : elements)
        e->FillDockPaneElementVec(paneElements, seen);
    for (DockPaneElement *e : paneElements)
        if (e->IsAutoHide() && e->GetPane()) {
            auto *p = const_cast<ZnDockablePane *>(e->GetPane());
            if (ZnBaseTabbedPane *g = p->GetParentTabbedPane())
                p = g; // a group pins as a whole
            if (p->GetDefaultPaneDivider())
                p->AutoHideFromExtern();
        }
    m_pDockingManager->RecalcLayout(true);
    m_pDockingManager->OnLayoutChange();
    return ok;
}

void ZnDockParentWnd::DockEmergency(ZnDockablePane *pPane)
{
    DockPosition position;
    position.SetDefaults(pPane->GetInternalName());
    DockEmergencyRequest req{pPane, &position};
    m_aCallBacks.aDockEmergencyHdl.Call(&req);
    pPane->SetRecentDockPosition(position);
    if (DockHeuristic(pPane, position))
        return;
    CRect const r = pPane->GetLayoutRect();
    bool const wide = r.Width() > r.Height();
    m_pDockingManager->DockIntoParent(pPane, wide ? DockAlignBottom : DockAlignRight,
                                      std::max(0, wide ? int(r.Height()) : int(r.Width())), true);
}

double ZnDockParentWnd::GetAspectError(Size const &wanted, Size const &got)
{
    if (wanted.Width() <= 0 || wanted.Height() <= 0 || got.Width() <= 0 || got.Height() <= 0)
        return -1.0;
    double const a = double(wanted.Width()) / wanted.Height();
    double const b = double(got.Width()) / got.Height();
    return std::fabs(std::log(b / a));
}

double ZnDockParentWnd::EvaluateDockTry(DockPosition const &position, unsigned long align, int len) const
{
    CRect const client = m_pDockingManager->GetClientAreaBounds();
    bool const horz = DockGeometry::IsHorzAxis(align);
    int const minClient = horz ? m_pDockingManager->GetMinClientAreaWidth() : m_pDockingManager->GetMinClientAreaHeight();
    int const room = DockGeometry::Extent(client, horz) - ZnPaneDivider::GetDefaultWidth() - minClient;
    if (len <= 0 || room <= 0)
        return -1.0;
    int const got = std::min(len, room);
    Size const size = horz ? Size(got, client.Height()) : Size(client.Width(), got);
    double const aspect = GetAspectError(position.GetSize(), size);
    if (aspect < 0)
        return -1.0;
    // A side that cannot give the length asked for is worse by the share
    // it falls short.
    return aspect + double(len - got) / len;
}

bool ZnDockParentWnd::DockHeuristic(ZnDockablePane *pPane, DockPosition const &position)
{
    if (!pPane || !m_pDockingManager)
        return false;
    ZnDockingManager *mgr = m_pDockingManager;
    // The pane comes back as a group of its own, just inside the innermost
    // group that its neighbours say lay outside it: a neighbour on the
    // pane's side that faces the neighbour's own margin is outside the pane.
    std::vector<ZnPaneDivider *> groups = mgr->GetDefaultDividers();
    auto indexOf = [&](ZnPaneDivider const *d) {
        return int(std::find(groups.begin(), groups.end(), d) - groups.begin());
    };
    int lo = 0;
    unsigned long side = 0;
    bool any = false;
    for (DockNeighbour const &n : position.GetNeighbourVec()) {
        if (n.GetContact() == NCT_NONE)
            continue;
        if (n.IsFreeSpace()) {
            side = DockElement::InvertAlign(n.GetAlign());
            continue;
        }
        ZnDockablePane *np = PlacedPaneNamed(mgr, n.GetName());
        if (!np || np == pPane || !IsDockedHere(np))
            continue;
        int const k = indexOf(np->GetDefaultPaneDivider());
        unsigned long const a = np->GetCurrentAlignment();
        if (k >= int(groups.size()))
            continue;
        if (n.GetAlign() == a)
            lo = std::max(lo, k + 1);
        any = true;
    }
    if (!DockGeometry::IsSide(side))
        side = pPane->GetCurrentAlignment();
    Size const want = position.GetSize();
    if (any && DockGeometry::IsSide(side)) {
        // A pane that shared a group with a nested split (its partner was no
        // single pane, so the position names no holder neighbour) belongs
        // beside one of the panes it touched rather than in a group of its
        // own: each such place is tried, and the one that keeps the most
        // neighbours wins over the group of its own unless that keeps as many.
        auto scoreNow = [&] {
            DockPosition now;
            FillDockPosition(pPane, now, false);
            return NeighbourMatch(position, now);
        };
        ZnDockablePane *bestPane = nullptr;
        unsigned long bestAlign = 0;
        int bestLen = 0, bestScore = 0;
        for (DockNeighbour const &n : position.GetNeighbourVec()) {
            ZnDockablePane *np = n.GetContact() == NCT_NONE || n.IsFreeSpace() ? nullptr : PaneNamed(mgr, n.GetName());
            if (!np || np == pPane || !IsDockedHere(np) || np->IsAutoHideMode())
                continue;
            unsigned long const a = DockElement::InvertAlign(n.GetAlign());
            int const len = StackedLen(DockElement::GetAlignSideLen(want, a), a);
            if (!mgr->DockIntoPane(pPane, np, a, len))
                continue;
            int const score = scoreNow();
            pPane->RemoveFromDefaultPaneDivider();
            mgr->RecalcLayout(true);
            if (!bestPane || score > bestScore) {
                bestPane = np;
                bestAlign = a;
                bestLen = len;
                bestScore = score;
            }
        }
        int const len = DockElement::GetAlignSideLen(want, side);
        if (!mgr->DockIntoParent(pPane, side, std::max(0, len), true))
            return bestPane && mgr->DockIntoPane(pPane, bestPane, bestAlign, bestLen);
        // The new group lies innermost: the groups from the place it belongs
        // at go inside it again, in their order.
        int const at = std::min(lo, int(groups.size()));
        for (size_t i = size_t(at); i < groups.size(); ++i) {
            mgr->RemoveDefaultDivider(groups[i]);
            mgr->AddDefaultDivider(groups[i], false);
        }
        mgr->RecalcLayout(true);
        if (bestPane && bestScore > scoreNow()) {
            // Leaving puts the other groups back in their old order.
            pPane->RemoveFromDefaultPaneDivider();
            mgr->RecalcLayout(true);
            return mgr->DockIntoPane(pPane, bestPane, bestAlign, bestLen);
        }
        return true;
    }
    // Nothing to go by but the size: the side whose strip comes closest to it.
    double best = -1.0;
    unsigned long bestAlign = 0;
    int bestLen = 0;
    for (unsigned long align : {side, (unsigned long)DockAlignLeft, (unsigned long)DockAlignTop,
                                (unsigned long)DockAlignRight, (unsigned long)DockAlignBottom}) {
        if (!DockGeometry::IsSide(align))
            continue;
        int const len = DockGeometry::IsHorzAxis(align) ? want.Width() : want.Height();
        double const score = EvaluateDockTry(position, align, len);
        if (score >= 0 && (best < 0 || score < best)) {
            best = score;
            bestAlign = align;
            bestLen = len;
        }
    }
    if (!bestAlign)
        return false;
    return mgr->DockIntoParent(pPane, bestAlign, bestLen, true);
}

// ------------------------------------------------------------------ positions

namespace {

// The position computation looks at panes at the top level of the model:
// every pane of a tree is listed there as well (same ids, so that the tree
// still names each pane's partner).
std::vector<DockElement *> FlatLeaves(std::vector<DockElement *> const &elements)
{
    std::vector<DockElement *> extra;
    for (DockElement *e : elements) {
        if (e->GetType() != DET_HOLDER_ELEMENT)
            continue;
        std::vector<DockPaneElement *> leaves;
        std::set<SString> seen;
        e->FillDockPaneElementVec(leaves, seen);
        for (DockPaneElement *l : leaves)
            extra.push_back(l->Duplicate(false));
    }
    return extra;
}

void PositionFromModel(std::vector<DockElement *> const &elements, ZnDockablePane const *pPane,
                       DockPosition &position)
{
    std::vector<DockElement *> extra = FlatLeaves(elements);
    std::vector<DockElement *> all = elements;
    all.insert(all.end(), extra.begin(), extra.end());
    DockElement::FillDockPosition(all, pPane, position);
    DockElement::ClearDockElements(extra);
}

} // namespace

void ZnDockParentWnd::FillDockPosition(ZnDockablePane *pPane, DockPosition &position, bool bIncludePane)
{
    if (!pPane)
        return;
    std::vector<DockElement *> elements;
    SaveState(elements);
    if (ZnBaseTabbedPane const *g = pPane->GetParentTabbedPane()) {
        // A tab comes back as a tab of its group while the group lasts.
        position = TabPosition(elements, g, pPane, NCT_NONE);
        DockElement::ClearDockElements(elements);
        return;
    }
    if (bIncludePane && !DockElement::FindElementOfPane(elements, pPane)) {
        auto *e = new DockPaneElement(pPane);
        e->SetRect(ToModel(pPane->GetLayoutRect()));
        elements.push_back(e);
    }
    PositionFromModel(elements, pPane, position);
    DockElement::ClearDockElements(elements);
    if (position.GetName().IsEmpty())
        position.SetName(pPane->GetInternalName());
}

std::vector<DockPosition> ZnDockParentWnd::GetDockPositions()
{
    std::vector<DockPosition> out;
    std::vector<DockElement *> elements;
    SaveState(elements);
    for (ZnDockablePane *p : RegisteredPanes(m_pDockingManager)) {
        if (!IsDockedHere(p) || dynamic_cast<ZnBaseTabbedPane *>(p))
            continue;
        DockPosition position;
        PositionFromModel(elements, p, position);
        p->SetRecentDockPosition(position);
        out.push_back(p->GetRecentDockPosition());
    }
    DockElement::ClearDockElements(elements);
    return out;
}

namespace {

CRect WindowRectIn(CWnd const *pSite, ZnDockablePane const *pPane)
{
    CRect r = pPane->GetLayoutRect();
    if (pSite && pSite->GetSafeHwnd() && pPane->GetSafeHwnd()) {
        ::GetWindowRect(pPane->GetSafeHwnd(), &r);
        ::MapWindowPoints(nullptr, pSite->GetSafeHwnd(), reinterpret_cast<POINT *>(&r), 2);
    }
    return r;
}

} // namespace

void ZnDockParentWnd::DockWithPosition(ZnDockablePane *pPane, DockPosition const &position)
{
    if (!pPane || !m_pDockingManager)
        return;
    ZnDockingManager *mgr = m_pDockingManager;
    // One gesture: whatever the steps dock and re-dock, the windows move
    // once, in one batch, when it ends.
    ZnDockingGesture gesture(mgr);
    auto found = [&](DockNeighbour const *n) -> ZnDockablePane * {
        ZnDockablePane *p = n ? PlacedPaneNamed(mgr, n->GetName()) : nullptr;
        return p && p != pPane && IsDockedHere(p) ? p : nullptr;
    };
    bool docked = false;
    // 0. A tab goes back to its group, or as a tab onto the pane it named.
    if (DockNeighbour const *t = TabNeighbour(position)) {
        ZnDockablePane *np = PaneNamed(mgr, t->GetName());
        if (np && np != pPane &&
            (np->GetParentTabbedPane() || IsDockedHere(np) || np->IsFloating() || np->IsAutoHideMode()) &&
            pPane->AttachToTabWnd(np, DM_UNKNOWN, true))
            return;
    }
    // 1. Back into the split it shared with its partner.
    if (DockNeighbour const *h = position.GetHolderNeighbour())
        if (ZnDockablePane *np = found(h))
            docked = mgr->DockIntoPane(pPane, np, DockElement::InvertAlign(h->GetAlign()),
                                       StackedLen(h->GetAlignSideLen(position.GetSize()), h->GetAlign()));
    // 2. Along a whole margin: outside everything docked.
    if (!docked && position.GetMarginAlign()) {
        docked = mgr->DockIntoParent(pPane, position.GetMarginAlign(), position.GetAlignSideLen(), true);
        if (docked)
            MoveGroupOutermost(mgr, pPane);
    }
    // 3. Flush with a neighbour group and the free space on one side: the
    //    pane goes inside, between them, and the neighbour docks again inside it.
    if (!docked) {
        DockNeighbour const *j = position.GetJustifiedNeighbour();
        DockNeighbour const *fs = position.GetFreeSpaceDockNeighbour(NCT_JUSTIFIED_SIDE);
        ZnDockablePane *np = found(j);
        if (np && fs && fs->GetAlign() == j->GetAlign() &&
            DockElement::GetNeighbourType(ToModel(WindowRectIn(this, np)), ToModel(mgr->GetClientAreaBounds())) != 0) {
            unsigned long const nAlign = np->GetCurrentAlignment();
            int const nLen = DockGeometry::Extent(WindowRectIn(this, np), DockGeometry::IsHorzAxis(nAlign));
            np->RemoveFromDefaultPaneDivider();
            docked = mgr->DockIntoParent(pPane, DockElement::InvertAlign(fs->GetAlign()),
                                         fs->GetAlignSideLen(position.GetSize()), true);
            mgr->DockIntoParent(np, nAlign, nLen, true);
        }
    }
    // 4. Along a row of neighbours: beside the first, then the others of the
    //    row beside each other again, in the row's order, so that the pane
    //    spans them all.
    if (!docked) {
        std::vector<DockNeighbour> row;
        unsigned long align = 0;
        position.FillAlignedNeighbours(row, align);
        std::vector<ZnDockablePane *> rowPanes;
        for (DockNeighbour const &n : row)
            if (ZnDockablePane *p = found(&n))
                rowPanes.push_back(p);
        if (row.size() >= 2 && rowPanes.size() == row.size() && DockGeometry::IsSide(align)) {
            bool const acrossX = !DockGeometry::IsHorzAxis(align); // the row runs left to right
            std::sort(rowPanes.begin(), rowPanes.end(), [&](ZnDockablePane *a, ZnDockablePane *b) {
                CRect const ra = a->GetLayoutRect(), rb = b->GetLayoutRect();
                return acrossX ? ra.left < rb.left : ra.top < rb.top;
            });
            unsigned long const along = acrossX ? DockAlignRight : DockAlignBottom;
            docked = mgr->DockIntoPane(pPane, rowPanes.front(), DockElement::InvertAlign(align),
                                       StackedLen(DockElement::GetAlignSideLen(position.GetSize(), align), align));
            for (size_t i = 1; docked && i < rowPanes.size(); ++i)
                mgr->DockIntoPane(rowPanes[i], rowPanes[i - 1], along, 0);
        }
    }
    // 5. A floating position floats the pane at its recent floating
    //    rectangle; a pane placed nowhere else goes where it fits best.
    CRectangle const &floatAt = position.GetRectRecentFloat();
    if (position.IsFloating() && floatAt.Right() != RECT_EMPTY && floatAt.Bottom() != RECT_EMPTY &&
        pPane->FloatPane(CRect(floatAt.Left(), floatAt.Top(), floatAt.Right(), floatAt.Bottom()), DM_UNKNOWN, true))
        return;
    if (!docked && !DockHeuristic(pPane, position)) {
        CRect const r = WindowRectIn(this, pPane);
        bool const wide = r.Width() > r.Height();
        mgr->DockIntoParent(pPane, wide ? DockAlignBottom : DockAlignRight,
                            std::max(0, wide ? int(r.Height()) : int(r.Width())), true);
    }
}

// ------------------------------------------------------------------ a pane's lifecycle

namespace {

// An owner who set no veto lets every pane go.
bool Allows(Link const &link, void *arg)
{
    return !link.IsSet() || link.Call(arg) != 0;
}

} // namespace

bool ZnDockParentWnd::RemovePane(ZnDockablePane *pPane, DockPosition &position, bool bFill)
{
    if (!pPane || !m_pDockingManager)
        return false;
    if (Window *w = pPane->GetPDockedWin())
        if (!Allows(m_aCallBacks.aCanCloseHdl, w))
            return false;
    PruneHiddenPanes();
    // A pane of another window, or one that is hidden already (its position
    // is kept, not computed again from a layout it is no longer part of).
    if (pPane->GetDockingManager() != m_pDockingManager || m_aHiddenPanes.count(pPane) ||
        !Contains(RegisteredPanes(m_pDockingManager), pPane))
        return false;
    ZnDockingGesture gesture(m_pDockingManager);
    if (bFill)
        FillDockPosition(pPane, position, false);
    pPane->SetRecentDockPosition(position);
    // A mini frame holding only this pane closes here once panes can float.
    if (pPane->GetDefaultPaneDivider())
        pPane->RemoveFromDefaultPaneDivider();
    pPane->DoClose();
    if (Window *w = pPane->GetPDockedWin())
        w->Hide();
    m_aCallBacks.aRemovePaneHdl.Call(pPane);
    return true;
}

bool ZnDockParentWnd::HidePane(ZnDockablePane *pPane, DockPosition &position, bool bFill)
{
    if (!pPane || !m_pDockingManager)
        return false;
    ZnDockingGesture gesture(m_pDockingManager);
    // The owner hears of the removal once, from RemovePane; a refused hide
    // leaves the pane as it was.
    if (!RemovePane(pPane, position, bFill))
        return false;
    // The window stays a child of this one (so that it goes with it), out of
    // every group and hidden.
    m_aHiddenPanes.insert(pPane);
    return true;
}

void ZnDockParentWnd::ShowPane(ZnDockablePane *pPane, DockPosition const &position)
{
    if (!pPane || !m_pDockingManager || pPane->GetDockingManager() != m_pDockingManager)
        return;
    if (ShowAutoHiddenPane(pPane) || IsDockedHere(pPane) || pPane->GetParentTabbedPane())
        return;
    ZnDockingGesture gesture(m_pDockingManager);
    PruneHiddenPanes();
    m_aHiddenPanes.erase(pPane);
    // Positions are taken with every pinned pane in its group (a capture
    // unpins them): the pane goes back among them likewise, and they are
    // pinned again after.
    std::vector<ZnDockablePane *> const pinned = UnAutoHideAllPanes();
    DockWithPosition(pPane, position);
    for (ZnDockablePane *p : pinned)
        p->AutoHideFromExtern();
    if (Window *w = pPane->GetPDockedWin())
        w->Show();
    m_aCallBacks.aShowPaneHdl.Call(pPane);
}

void ZnDockParentWnd::SaveRecentFloatingState(ZnDockablePane *pPane, CRectangle const &rect)
{
    if (!pPane)
        return;
    DockPosition position;
    position.SetDefaults(SString());
    position.SetName(pPane->GetInternalName());
    position.SetRectRecentFloat(rect);
    m_aCallBacks.aSaveFloatingStateHdl.Call(&position);
    pPane->GetRRecentDockPosition().SetRectRecentFloat(rect);
}

// ------------------------------------------------------------------ all panes at once

std::vector<ZnDockablePane *> ZnDockParentWnd::UndockAllPanes()
{
    std::vector<ZnDockablePane *> out;
    if (!m_pDockingManager)
        return out;
    ZnDockingGesture gesture(m_pDockingManager);
    // Pinned panes first go back to their groups, to leave them with the rest;
    // tab groups dissolve, their panes taken out like the others.
    UnAutoHideAllPanes();
    std::vector<ZnDockablePane *> tabs;
    for (ZnDockablePane *p : RegisteredPanes(m_pDockingManager))
        if (auto *g = dynamic_cast<ZnBaseTabbedPane *>(p))
            tabs.insert(tabs.end(), g->GetTabs().begin(), g->GetTabs().end());
    for (ZnDockablePane *t : tabs)
        if (t->LeaveTabbedPane() && !t->GetDefaultPaneDivider() && !t->IsFloating())
            out.push_back(t);
    for (ZnDockablePane *p : RegisteredPanes(m_pDockingManager)) {
        if (p->GetDefaultPaneDivider()) {
            p->RemoveFromDefaultPaneDivider();
            out.push_back(p);
        } else if (p->IsFloating()) {
            p->RemoveFromMiniframe(this, DM_UNKNOWN);
            out.push_back(p);
        }
        if (p->IsPaneVisible() || (p->GetSafeHwnd() && (p->GetStyle() & WS_VISIBLE)))
            p->ShowPane(false, true, false);
    }
    m_pDockingManager->RecalcLayout(true);
    return out;
}

void ZnDockParentWnd::DockAll()
{
    if (!m_pDockingManager)
        return;
    ZnDockingGesture gesture(m_pDockingManager);
    // Each pane keeps the size it had, across its new side, but no more
    // than a quarter of the site, so that the free space keeps its room.
    std::map<ZnDockablePane *, CRect> sizes;
    for (ZnDockablePane *p : RegisteredPanes(m_pDockingManager))
        sizes[p] = p->GetLayoutRect();
    CRect const site = m_pDockingManager->GetDockSiteRect();
    std::vector<ZnDockablePane *> const panes = UndockAllPanes();
    static unsigned long const sides[] = {DockAlignTop, DockAlignRight, DockAlignBottom, DockAlignLeft};
    // The panes a side got so far: the next one of that side stacks beside
    // the last, across the side.
    std::map<unsigned long, ZnDockablePane *> last;
    for (ZnDockablePane *p : panes) {
        if (m_aHiddenPanes.count(p))
            continue;
        unsigned long const side = sides[std::rand() % 4];
        ZnDockablePane *prev = last[side];
        bool ok = false;
        if (prev)
            ok = m_pDockingManager->DockIntoPane(p, prev, DockGeometry::IsHorzAxis(side) ? DockAlignBottom : DockAlignRight, 0);
        if (!ok) {
            bool const horz = DockGeometry::IsHorzAxis(side);
            int const room = DockGeometry::Extent(site, horz) / 4;
            int const had = DockGeometry::Extent(sizes[p], horz);
            ok = m_pDockingManager->DockIntoParent(p, side, std::max(1, had > 0 ? std::min(had, room) : room), true);
        }
        if (ok)
            last[side] = p;
    }
    m_pDockingManager->OnLayoutChange();
    GetDockPositions();
}
