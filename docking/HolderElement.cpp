#include "docking/HolderElement.h"
#include "base/LocalSizedWrite.h"
#include "base/LocalSizedRead.h"
#include "docking/DataBuffer.h"

#include <climits>

#include "docking/DockPaneElement.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnPaneContainer.h"

namespace {

inline long long Abs64(long long v) { return v < 0 ? -v : v; }

// Rounds as the divider arithmetic does: half up, then truncated.
inline int RoundLen(double v)
{
    v += 0.5;
    return v >= double(INT_MAX) ? INT_MAX : v <= double(INT_MIN) ? INT_MIN : int(v);
}

// The fraction rule: the left (top) child's share of the extent that is left
// once the divider is taken off.
double FractOf(CRectangle const &holder, CRectangle const &l, CRectangle const &r, bool horizontal, int w)
{
    if (l.IsEmpty() || r.IsEmpty())
        return 0.5;
    long long width = (long long)holder.Right() - holder.Left();
    if (holder.Right() == RECT_EMPTY || width <= 0)
        return 0.5;
    long long avail, part;
    if (horizontal) {
        avail = width - w;
        part = (long long)l.Right() - l.Left();
    } else {
        if (holder.Bottom() == RECT_EMPTY)
            return 0.5;
        avail = (long long)holder.Bottom() - holder.Top() - w;
        part = (long long)l.Bottom() - l.Top();
    }
    // A holder no wider than its divider has no share to give.
    return avail > 0 ? double(part) / double(avail) : 0.5;
}

} // namespace

HolderElement::HolderElement() : m_pLeft(nullptr), m_pRight(nullptr), m_fLeftFract(0.5)
{
}

HolderElement::HolderElement(ZnPaneContainer const *pContainer) : m_pLeft(nullptr), m_pRight(nullptr), m_fLeftFract(0.5)
{
    if (!pContainer)
        return;
    DockElement *halves[2] = {nullptr, nullptr};
    for (int i = 0; i < 2; ++i) {
        bool const first = i == 0;
        if (ZnDockablePane const *p = pContainer->GetPane(first)) {
            if (!p->IsPaneVisible())
                continue;
            CRect const r = p->GetLayoutRect();
            halves[i] = new DockPaneElement(p);
            halves[i]->SetRect(CRectangle(r.left, r.top, r.right, r.bottom));
        } else if (ZnPaneContainer const *c = pContainer->GetChild(first)) {
            halves[i] = new HolderElement(c);
        }
    }
    CRect const r = pContainer->GetRect();
    m_rect = CRectangle(r.left, r.top, r.right, r.bottom);
    SetChilds(halves[0], halves[1]);
    CalcRect();
}

HolderElement::HolderElement(HolderElement const &src, bool withNeighbours)
    : DockElement(src, withNeighbours), m_pLeft(nullptr), m_pRight(nullptr), m_fLeftFract(src.m_fLeftFract)
{
    SetChilds(src.m_pLeft ? src.m_pLeft->Duplicate(false) : nullptr,
              src.m_pRight ? src.m_pRight->Duplicate(false) : nullptr);
}

HolderElement::~HolderElement()
{
    delete m_pLeft;
    delete m_pRight;
}

void HolderElement::SetChilds(DockElement *pLeft, DockElement *pRight)
{
    // One element in both slots, or the holder inside itself, would be
    // deleted twice or never; such a child is not taken.
    if (pLeft == this)
        pLeft = nullptr;
    if (pRight == this || pRight == pLeft)
        pRight = nullptr;
    m_pLeft = pLeft;
    m_pRight = pRight;
    if (m_pLeft)
        m_pLeft->SetParent(this);
    if (m_pRight)
        m_pRight->SetParent(this);
}

SString HolderElement::GetStr() const
{
    SString s = DockElement::GetStr();
    s += SString::F(", LeftFract=%2.3f", m_fLeftFract);
    s += IsHorizontal() ? "Hor" : "Ver";
    int n = m_nDepth * 4 + 4;
    SString indent;
    for (int i = 0; i < n; ++i)
        indent += ' ';
    if (m_pLeft)
        s += SString::F("\n%s L = %s", indent.GetStr(), m_pLeft->GetStr().GetStr());
    else
        s += "\n L=NULL";
    if (m_pRight)
        s += SString::F("\n%s R = %s", indent.GetStr(), m_pRight->GetStr().GetStr());
    else
        s += "\n R = NULL";
    return s;
}

SString HolderElement::GetTitle() const
{
    return "Holder";
}

SString HolderElement::GetIdentifier() const
{
    SString s("Holder: ");
    SString l = m_pLeft ? m_pLeft->GetIdentifier() : SString();
    SString r = m_pRight ? m_pRight->GetIdentifier() : SString();
    if (!l.IsEmpty())
        s += "L(" + l + ")";
    if (!r.IsEmpty())
        s += " R(" + r + ")";
    return s;
}

DockElement *HolderElement::Duplicate(bool withNeighbours) const
{
    return new HolderElement(*this, withNeighbours);
}

// The first pane of the tree docks (to the margin, or beside a pane docked
// before), then every other pane beside its closest docked one, so that
// each split is made inside the half it belongs to.
bool HolderElement::DockDepthFirst(ZnDockingManager *pMgr, std::set<SString> &docked, int align, int)
{
    if (!pMgr || !m_pLeft || !m_pRight)
        return false;
    int const lenL = GetSideLenInPixel(m_pLeft);
    int const lenR = GetSideLenInPixel(m_pRight);
    m_pLeft->DockLeftMost(pMgr, docked, align, lenL);
    m_pRight->DockLeftMost(pMgr, docked, align, lenR);
    m_pLeft->DockDepthFirst(pMgr, docked, align, lenL);
    m_pRight->DockDepthFirst(pMgr, docked, align, lenR);
    // Done when every pane of the tree found its place.
    std::vector<DockPaneElement *> leaves;
    std::set<SString> seen;
    FillDockPaneElementVec(leaves, seen);
    for (DockPaneElement const *e : leaves)
        if (!docked.count(e->GetIdentifier()))
            return false;
    return !leaves.empty();
}

bool HolderElement::DockLeftMost(ZnDockingManager *pMgr, std::set<SString> &docked, int align, int sideLen)
{
    DockElement *pFirst = m_pLeft ? m_pLeft : m_pRight;
    return pFirst && pFirst->DockLeftMost(pMgr, docked, align, pFirst == m_pLeft ? GetSideLenInPixel(pFirst) : sideLen);
}

DockPaneElement *HolderElement::FindClosestDockPane(std::set<SString> const &docked, std::set<SString> &visited) const
{
    if (!visited.insert(GetIdentifier()).second)
        return nullptr;
    if (m_pLeft)
        if (DockPaneElement *p = m_pLeft->FindClosestDockPane(docked, visited))
            return p;
    if (m_pRight)
        if (DockPaneElement *p = m_pRight->FindClosestDockPane(docked, visited))
            return p;
    return m_pParent ? m_pParent->FindClosestDockPane(docked, visited) : nullptr;
}

DockElement *HolderElement::FindElementOfPane(ZnDockablePane const *pPane) const
{
    if (!pPane)
        return nullptr;
    if (m_pLeft)
        if (DockElement *e = m_pLeft->FindElementOfPane(pPane))
            return e;
    return m_pRight ? m_pRight->FindElementOfPane(pPane) : nullptr;
}

DockPaneElement *HolderElement::FindNeighbourInHolder(DockPaneElement const *pEl) const
{
    if (!pEl)
        return nullptr;
    auto asPane = [](DockElement *e) {
        return e && e->GetType() == DET_DOCK_PANE_ELEMENT ? static_cast<DockPaneElement *>(e) : nullptr;
    };
    if (m_pLeft && *m_pLeft == *pEl)
        return asPane(m_pRight);
    if (m_pRight && *m_pRight == *pEl)
        return asPane(m_pLeft);
    if (m_pLeft)
        if (DockPaneElement *p = m_pLeft->FindNeighbourInHolder(pEl))
            return p;
    return m_pRight ? m_pRight->FindNeighbourInHolder(pEl) : nullptr;
}

void HolderElement::ScaleChildsToFract()
{
    bool hor = IsHorizontal();
    long long extent = hor ? (long long)m_rect.Right() - m_rect.Left() : (long long)m_rect.Bottom() - m_rect.Top();
    int w = ImpW();
    auto setLen = [hor](DockElement *e, long long len) {
        if (!e)
            return;
        CRectangle &r = e->GetRect();
        long long v = hor ? (long long)r.Left() + len : (long long)r.Top() + len;
        int edge = CRectangle::ImpEdge(v);
        (hor ? r.Right() : r.Bottom()) = edge;
    };
    DockElement *pFirst = nullptr, *pOther = nullptr;
    if (m_pLeft && m_pLeft->GetType() == DET_DOCK_PANE_ELEMENT) {
        pFirst = m_pLeft;
        pOther = m_pRight;
    } else if (m_pRight && m_pRight->GetType() == DET_DOCK_PANE_ELEMENT) {
        pFirst = m_pRight;
        pOther = m_pLeft;
    }
    if (pFirst) {
        int len = GetSideLenInPixel(pFirst);
        static_cast<DockPaneElement *>(pFirst)->SetSideLenInContainer(len);
        setLen(pFirst, len);
        setLen(pOther, extent - len - w);
    }
    if (m_pLeft && m_pLeft->GetType() == DET_HOLDER_ELEMENT)
        m_pLeft->ScaleChildsToFract();
    if (m_pRight && m_pRight->GetType() == DET_HOLDER_ELEMENT)
        m_pRight->ScaleChildsToFract();
}

void HolderElement::ScaleRect(double fx, double fy)
{
    DockElement::ScaleRect(fx, fy);
    if (m_pLeft)
        m_pLeft->ScaleRect(fx, fy);
    if (m_pRight)
        m_pRight->ScaleRect(fx, fy);
}

NeighbourType HolderElement::CheckIfOuterNeighbourOfEl(DockElement const *pEl, std::vector<DockElement *> const &all)
{
    return ImpOuterNeighbourOfEl(pEl, all);
}

void HolderElement::RefreshRect()
{
    if (m_pLeft)
        m_pLeft->RefreshRect();
    if (m_pRight)
        m_pRight->RefreshRect();
    CalcRect();
}

void HolderElement::RefreshRectStatic()
{
    if (m_pLeft)
        m_pLeft->RefreshRectStatic();
    if (m_pRight)
        m_pRight->RefreshRectStatic();
    CalcRect();
}

void HolderElement::WindowToIndex(Link const &link)
{
    DockElement::WindowToIndex(link);
    if (m_pLeft)
        m_pLeft->WindowToIndex(link);
    if (m_pRight)
        m_pRight->WindowToIndex(link);
}

void HolderElement::IndexToWindow(Link const &link)
{
    DockElement::IndexToWindow(link);
    if (m_pLeft)
        m_pLeft->IndexToWindow(link);
    if (m_pRight)
        m_pRight->IndexToWindow(link);
}

int HolderElement::CountWindows(std::set<SString> &counted) const
{
    return (m_pLeft ? m_pLeft->CountWindows(counted) : 0) + (m_pRight ? m_pRight->CountWindows(counted) : 0);
}

bool HolderElement::WindowsExist() const
{
    if (!HasChilds())
        return false;
    return (!m_pLeft || m_pLeft->WindowsExist()) && (!m_pRight || m_pRight->WindowsExist());
}

bool HolderElement::CheckPaneExists(ZnDockablePane const *pPane) const
{
    return (m_pLeft && m_pLeft->CheckPaneExists(pPane)) || (m_pRight && m_pRight->CheckPaneExists(pPane));
}

int HolderElement::GetDepthForPane(ZnDockablePane const *pPane) const
{
    for (DockElement const *c : {m_pLeft, m_pRight}) {
        if (!c)
            continue;
        int d = c->GetDepthForPane(pPane);
        if (d >= 0)
            return d + 1;
    }
    return -1;
}

void HolderElement::FillPaneVec(std::vector<ZnDockablePane *> &panes) const
{
    if (m_pLeft)
        m_pLeft->FillPaneVec(panes);
    if (m_pRight)
        m_pRight->FillPaneVec(panes);
}

void HolderElement::FillDockPaneElementVec(std::vector<DockPaneElement *> &elements, std::set<SString> &seen)
{
    if (m_pLeft)
        m_pLeft->FillDockPaneElementVec(elements, seen);
    if (m_pRight)
        m_pRight->FillDockPaneElementVec(elements, seen);
}

void HolderElement::NotifyOfAutoHidePane(ZnDockablePane *pPane)
{
    if (m_pLeft)
        m_pLeft->NotifyOfAutoHidePane(pPane);
    if (m_pRight)
        m_pRight->NotifyOfAutoHidePane(pPane);
}

void HolderElement::CollectAutoHidePanes(std::set<SString> &names, std::vector<ZnDockablePane *> &panes)
{
    if (m_pLeft)
        m_pLeft->CollectAutoHidePanes(names, panes);
    if (m_pRight)
        m_pRight->CollectAutoHidePanes(names, panes);
}

void HolderElement::SetNDepth(int depth)
{
    m_nDepth = depth;
    if (m_pLeft)
        m_pLeft->SetNDepth(depth + 1);
    if (m_pRight)
        m_pRight->SetNDepth(depth + 1);
}

DockElement *HolderElement::ImpReplaceOrphan(DockElement *pChild)
{
    if (!pChild)
        return nullptr;
    DockElement *pAnswer = pChild->RemoveOrphanShells();
    if (!pAnswer)
        return pChild;
    if (pAnswer == pChild) {
        delete pChild;
        return nullptr;
    }
    delete pChild;
    return pAnswer;
}

DockElement *HolderElement::RemoveOrphanShells()
{
    DockElement *pLeft = ImpReplaceOrphan(m_pLeft);
    DockElement *pRight = ImpReplaceOrphan(m_pRight);
    bool replaced = pLeft != m_pLeft || pRight != m_pRight;
    SetChilds(pLeft, pRight);
    if (!m_pLeft && !m_pRight)
        return this;
    if (m_pLeft && m_pRight) {
        // A child that took a removed holder's place moved up a level.
        if (replaced)
            SetNDepth(m_nDepth);
        return nullptr;
    }
    DockElement *pOnly = m_pLeft ? m_pLeft : m_pRight;
    m_pLeft = m_pRight = nullptr;
    pOnly->SetParent(nullptr);
    pOnly->SetNDepth(m_nDepth);
    return pOnly;
}

void HolderElement::CalcRect()
{
    if (m_pLeft && m_pRight)
        m_rect = m_pLeft->GetRect().GetUnion(m_pRight->GetRect());
    else if (m_pLeft || m_pRight)
        m_rect = (m_pLeft ? m_pLeft : m_pRight)->GetRect();
    else
        return;
    if (m_pLeft && m_pRight)
        m_fLeftFract = FractOf(m_rect, m_pLeft->GetRect(), m_pRight->GetRect(), IsHorizontal(), ImpW());
    else
        m_fLeftFract = 0.5;
}

double HolderElement::CalcFract(CRectangle const &left, CRectangle const &right)
{
    m_fLeftFract = FractOf(m_rect, left, right, ImpIsHorizontal(left, right), ImpW());
    return m_fLeftFract;
}

bool HolderElement::ImpIsHorizontal(CRectangle const &l, CRectangle const &r)
{
    long long w = ImpW();
    return Abs64((long long)l.Right() + w - r.Left()) < 4 || Abs64((long long)l.Left() - r.Right() - w) < 4;
}

bool HolderElement::IsHorizontal() const
{
    // A missing child counts as a default rectangle.
    CRectangle none;
    return ImpIsHorizontal(m_pLeft ? m_pLeft->GetRect() : none, m_pRight ? m_pRight->GetRect() : none);
}

int HolderElement::GetSideLenInPixel(DockElement *pChild) const
{
    bool hor = IsHorizontal();
    long long extent = hor ? (long long)m_rect.Right() - m_rect.Left() : (long long)m_rect.Bottom() - m_rect.Top();
    int w = ImpW();
    if (extent < w)
        return 0;
    if (pChild && pChild == m_pLeft)
        return RoundLen(double(extent - w) * m_fLeftFract);
    if (pChild && pChild == m_pRight)
        return RoundLen(double(extent - w) * (1.0 - m_fLeftFract));
    return RoundLen(double(extent) * 0.5);
}

ERRCODE HolderElement::WriteToDataBuffer(DataBuffer &buffer) const
{
    DockElement::WriteToDataBuffer(buffer);
    for (DockElement const *child : {m_pLeft, m_pRight}) {
        buffer.WriteBool(child != nullptr);
        if (child)
            child->WriteToDataBuffer(buffer);
    }
    LocalSizedWrite section(buffer);
    buffer.WriteDouble(m_fLeftFract);
    return ERRCODE_OK;
}

bool HolderElement::ReadFromDataBuffer(DataBuffer &buffer)
{
    if (!DockElement::ReadFromDataBuffer(buffer))
        return false;
    unsigned long const fails = buffer.GetFailCount();
    DockElement *children[2] = {nullptr, nullptr};
    bool childrenOk = true;
    for (DockElement *&child : children) {
        bool const present = buffer.ReadBool();
        if (buffer.GetFailCount() != fails || (present && !(child = CreateFromDataBuffer(buffer)))) {
            childrenOk = false; // a cut or damaged child fails the whole record
            break;
        }
    }
    bool ok = childrenOk && buffer.GetFailCount() == fails;
    double fract = 0.5;
    if (ok) {
        LocalSizedRead section(buffer);
        ok = section.IsOpen();
        if (ok)
            fract = buffer.ReadDouble();
        ok = ok && buffer.GetFailCount() == fails;
    }
    delete m_pLeft;
    delete m_pRight;
    m_pLeft = m_pRight = nullptr;
    SetChilds(children[0], children[1]);
    m_fLeftFract = fract;
    return ok;
}

bool HolderElement::Float()
{
    // Both children are asked, even when the first one floated.
    bool const left = GetPLeft() && GetPLeft()->Float();
    bool const right = GetPRight() && GetPRight()->Float();
    return left || right;
}
