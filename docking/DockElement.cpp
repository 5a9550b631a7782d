#include "docking/DockElement.h"
#include "docking/HiddenPaneElement.h"
#include "base/LocalSizedWrite.h"
#include "base/LocalSizedRead.h"
#include "docking/DataBuffer.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

#include "docking/DockPaneElement.h"
#include "docking/DockPosition.h"
#include "docking/FloatingPaneElement.h"
#include "docking/FreeSpaceElement.h"
#include "docking/HolderElement.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnPaneDivider.h"

int DockElement::m_staticId = 0;

namespace {

// Coordinates are compared in 64 bits: an EMPTY right or bottom is INT_MIN,
// and its distance to anything must not wrap into a small number.
inline long long Abs64(long long v) { return v < 0 ? -v : v; }
inline long long L(CRectangle const &r) { return r.Left(); }
inline long long T(CRectangle const &r) { return r.Top(); }
inline long long R(CRectangle const &r) { return r.Right(); }
inline long long B(CRectangle const &r) { return r.Bottom(); }

// Twice the centre, so that halves need no rounding.
inline long long CX2(CRectangle const &r) { return L(r) + R(r); }
inline long long CY2(CRectangle const &r) { return T(r) + B(r); }

inline int Clamp(long long v) { return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : int(v); }

// The non-null entries of v, each element once (its first occurrence), in
// their order; sorted copies instead of a set keep this to two allocations.
std::vector<DockElement *> Distinct(std::vector<DockElement *> const &v)
{
    std::vector<std::pair<DockElement *, size_t>> sorted;
    sorted.reserve(v.size());
    for (size_t i = 0; i < v.size(); ++i)
        if (v[i])
            sorted.emplace_back(v[i], i);
    std::sort(sorted.begin(), sorted.end());
    std::vector<bool> keep(v.size(), false);
    for (size_t k = 0; k < sorted.size(); ++k)
        if (k == 0 || sorted[k].first != sorted[k - 1].first)
            keep[sorted[k].second] = true;
    std::vector<DockElement *> out;
    out.reserve(sorted.size());
    for (size_t i = 0; i < v.size(); ++i)
        if (keep[i])
            out.push_back(v[i]);
    return out;
}

char const *NeighbourSuffix(NeighbourType t)
{
    switch (t) {
    case NT_LEFT: return "-Left";
    case NT_RIGHT: return "-Right";
    case NT_TOP: return "-Top";
    case NT_BOTTOM: return "-Bottom";
    default: return "";
    }
}

} // namespace

DockElement::DockElement()
    : m_pParent(nullptr), m_nNeighbourType(NT_NONE), m_nId(++m_staticId), m_nDepth(0), m_bPreferOuterDock(false)
{
}

DockElement::DockElement(DockElement const &src, bool withNeighbours)
    : m_pParent(nullptr), m_nNeighbourType(NT_NONE), m_nId(0), m_nDepth(0), m_bPreferOuterDock(false)
{
    ImpCopy(src, withNeighbours);
}

void DockElement::ImpCopy(DockElement const &src, bool withNeighbours)
{
    m_rect = src.m_rect;
    m_nNeighbourType = src.m_nNeighbourType;
    m_nId = src.m_nId;
    m_nDepth = src.m_nDepth;
    m_bPreferOuterDock = src.m_bPreferOuterDock;
    m_pParent = nullptr;
    ImpDeleteNeighbours();
    if (withNeighbours) {
        m_neighbours.reserve(src.m_neighbours.size());
        for (DockElement const *n : src.m_neighbours)
            if (n)
                m_neighbours.push_back(n->Duplicate(false));
    }
}

DockElement::~DockElement()
{
    ImpDeleteNeighbours();
}

void DockElement::ImpDeleteNeighbours()
{
    for (DockElement *n : m_neighbours)
        delete n;
    m_neighbours.clear();
}

int DockElement::ImpW()
{
    return ZnPaneDivider::GetDefaultWidth();
}

// ---------------------------------------------------------------------------
// Virtual operations with a base behaviour

void DockElement::AddRelation(DockElement *other, bool mutual)
{
    if (!other || other == this || IsFloating() || other->IsFloating())
        return;
    NeighbourType t = DetNeighbourType(other, this);
    if (t == NT_NONE)
        return;
    DockElement *pCopy = other->Duplicate(false);
    if (!pCopy)
        return;
    pCopy->SetNeighbourType(t);
    if (!AddNeighbour(pCopy)) {
        delete pCopy;
        return;
    }
    if (mutual) {
        other->AddRelation(this, false);
        CalcRect();
    }
}

void DockElement::Dump() const
{
}

SString DockElement::GetStr() const
{
    SString s("'");
    s += GetTitle();
    s += "'";
    s += NeighbourSuffix(m_nNeighbourType);
    s += ", nest=";
    s += m_nDepth;
    s += ", Rect: ";
    s += m_rect.GetStr();
    return s;
}

// Record: format, type, section { rectangle, neighbour type, id, depth,
// prefer-outer flag }, the neighbour copies as complete records, then the
// class's own part.
ERRCODE DockElement::WriteToDataBuffer(DataBuffer &buffer) const
{
    buffer.WriteInt32(GetFileFormat());
    buffer.WriteInt32(GetType());
    {
        LocalSizedWrite section(buffer);
        buffer.WriteInt32(m_rect.Left());
        buffer.WriteInt32(m_rect.Top());
        buffer.WriteInt32(m_rect.Right());
        buffer.WriteInt32(m_rect.Bottom());
        buffer.WriteInt32(m_nNeighbourType);
        buffer.WriteInt32(m_nId);
        buffer.WriteInt32(m_nDepth);
        buffer.WriteBool(m_bPreferOuterDock);
    }
    buffer.WriteInt32(static_cast<int>(m_neighbours.size()));
    for (DockElement const *n : m_neighbours)
        n->WriteToDataBuffer(buffer);
    return ERRCODE_OK;
}

namespace {
// Records nest through neighbours and holder children; a hostile buffer must
// not nest them deeper than any real layout does.
thread_local int t_nRecordDepth = 0;
int const kMaxRecordDepth = 64;

struct DepthGuard
{
    bool ok;
    DepthGuard() : ok(++t_nRecordDepth <= kMaxRecordDepth) {}
    ~DepthGuard() { --t_nRecordDepth; }
};
} // namespace

bool DockElement::ReadFromDataBuffer(DataBuffer &buffer)
{
    unsigned long const fails = buffer.GetFailCount();
    {
        LocalSizedRead section(buffer);
        if (!section.IsOpen())
            return false;
        int const left = buffer.ReadInt32();
        int const top = buffer.ReadInt32();
        int const right = buffer.ReadInt32();
        int const bottom = buffer.ReadInt32();
        m_rect = CRectangle(left, top, right, bottom);
        m_nNeighbourType = static_cast<NeighbourType>(buffer.ReadInt32());
        m_nId = buffer.ReadInt32();
        m_nDepth = buffer.ReadInt32();
        m_bPreferOuterDock = buffer.ReadBool();
    }
    if (buffer.GetFailCount() != fails)
        return false;
    int const count = buffer.ReadInt32();
    if (count < 0 || buffer.GetFailCount() != fails)
        return false;
    ImpDeleteNeighbours();
    for (int i = 0; i < count; ++i) {
        DockElement *n = CreateFromDataBuffer(buffer);
        if (!n)
            return false; // a cut or damaged neighbour: the whole record fails
        m_neighbours.push_back(n);
    }
    return buffer.GetFailCount() == fails;
}

DockElement *DockElement::CreateFromDataBuffer(DataBuffer &buffer)
{
    DepthGuard guard;
    if (!guard.ok)
        return nullptr;
    unsigned long const fails = buffer.GetFailCount();
    int const format = buffer.ReadInt32();
    int const type = buffer.ReadInt32();
    if (buffer.GetFailCount() != fails || format != GetFileFormat())
        return nullptr;
    DockElement *e = nullptr;
    switch (type) {
    case DET_FREE_SPACE_ELEMENT: e = new FreeSpaceElement; break;
    case DET_DOCK_PANE_ELEMENT: e = new DockPaneElement; break;
    case DET_FLOATING_PANE_ELEMENT: e = new FloatingPaneElement; break;
    case DET_HOLDER_ELEMENT: e = new HolderElement; break;
    case DET_HIDDEN_PANE_ELEMENT: e = new HiddenPaneElement; break;
    default: return nullptr;
    }
    if (!e->ReadFromDataBuffer(buffer)) {
        delete e;
        return nullptr;
    }
    return e;
}

DockElement *DockElement::FindElementOfPane(ZnDockablePane const *) const
{
    return nullptr;
}

DockPaneElement *DockElement::FindNeighbourInHolder(DockPaneElement const *) const
{
    return nullptr;
}

bool DockElement::FindHighestDockFreeRect(std::set<SString> const &, std::set<SString> &, CRectangle &) const
{
    return false;
}

void DockElement::ScaleChildsToFract()
{
}

void DockElement::ScaleRect(double fx, double fy)
{
    m_rect.Scale(fx, fy);
}

bool DockElement::Float()
{
    return false;
}

bool DockElement::IsFloating() const
{
    return false;
}

bool DockElement::CanMerge() const
{
    return true;
}

bool DockElement::IsHidden() const
{
    return false;
}

NeighbourType DockElement::CheckIfOuterNeighbourOfEl(DockElement const *, std::vector<DockElement *> const &)
{
    return NT_NONE;
}

void DockElement::RefreshRectStatic()
{
}

void DockElement::WindowToIndex(Link const &link)
{
    for (DockElement *n : m_neighbours)
        n->WindowToIndex(link);
}

void DockElement::IndexToWindow(Link const &link)
{
    for (DockElement *n : m_neighbours)
        n->IndexToWindow(link);
}

int DockElement::GetWindowIndex() const
{
    return -1;
}

int DockElement::CountWindows(std::set<SString> &counted) const
{
    SString id = GetIdentifier();
    if (id.IsEmpty())
        return 0;
    return counted.insert(id).second ? 1 : 0;
}

bool DockElement::CheckPaneExists(ZnDockablePane const *) const
{
    return false;
}

bool DockElement::IsRectEqualTo(DockElement const *pOther) const
{
    return pOther && m_rect == pOther->m_rect;
}

int DockElement::GetDepthForPane(ZnDockablePane const *) const
{
    return -1;
}

void DockElement::FillPaneVec(std::vector<ZnDockablePane *> &) const
{
}

void DockElement::FillDockPaneElementVec(std::vector<DockPaneElement *> &, std::set<SString> &)
{
}

void DockElement::NotifyOfAutoHidePane(ZnDockablePane *)
{
}

void DockElement::CollectAutoHidePanes(std::set<SString> &, std::vector<ZnDockablePane *> &)
{
}

void DockElement::SetNDepth(int depth)
{
    m_nDepth = depth;
}

void DockElement::SetPreferOuterDock(bool prefer)
{
    m_bPreferOuterDock = prefer;
}

DockElement *DockElement::RemoveOrphanShells()
{
    return nullptr;
}

void DockElement::CalcRect()
{
}

void DockElement::PostDock()
{
}

bool DockElement::IsOuterThanEl(FreeSpaceElement const *pFreeSpace, DockElement const *pEl, NeighbourType type) const
{
    if (!pFreeSpace || !pEl)
        return false;
    DirectionType dir = DetDirectionType(pFreeSpace, pEl);
    bool horizontal;
    if (type == NT_LEFT || type == NT_RIGHT)
        horizontal = true;
    else if (type == NT_TOP || type == NT_BOTTOM)
        horizontal = false;
    else
        return false;
    if (dir != (horizontal ? DT_HORIZONTAL : DT_VERTICAL))
        return false;
    CRectangle const &fs = pFreeSpace->GetRect();
    if (horizontal)
        return Abs64(CX2(m_rect) - CX2(fs)) > Abs64(CX2(pEl->m_rect) - CX2(fs));
    return Abs64(CY2(m_rect) - CY2(fs)) > Abs64(CY2(pEl->m_rect) - CY2(fs));
}

NeighbourType DockElement::ImpOuterNeighbourOfEl(DockElement const *pEl, std::vector<DockElement *> const &all) const
{
    if (!pEl)
        return NT_NONE;
    NeighbourType t = pEl->GetNeighbourType(this);
    if (t == NT_NONE)
        return NT_NONE;
    if (pEl->GetType() == DET_FREE_SPACE_ELEMENT)
        return t;
    FreeSpaceElement const *pFreeSpace = FindFreeSpaceElement(all);
    return pFreeSpace && IsOuterThanEl(pFreeSpace, pEl, t) ? t : NT_NONE;
}

// ---------------------------------------------------------------------------
// Member geometry

bool DockElement::operator<(DockElement const &other) const
{
    if (m_rect.Top() != other.m_rect.Top())
        return m_rect.Top() < other.m_rect.Top();
    if (m_rect.Left() != other.m_rect.Left())
        return m_rect.Left() < other.m_rect.Left();
    // GetWidth and GetHeight are 0 for an EMPTY extent.
    double a = double(m_rect.GetWidth()) * m_rect.GetHeight();
    double b = double(other.m_rect.GetWidth()) * other.m_rect.GetHeight();
    return a < b;
}

bool DockElement::AddNeighbour(DockElement *pCopy)
{
    // An element is not its own neighbour, whichever copy of it is offered.
    if (!pCopy || pCopy->m_nId == m_nId || pCopy->m_nDepth != m_nDepth)
        return false;
    for (DockElement const *n : m_neighbours)
        if (n->m_nId == pCopy->m_nId)
            return false;
    m_neighbours.push_back(pCopy);
    return true;
}

unsigned long DockElement::GetNeighbourAlign(CRectangle const &r) const
{
    unsigned long touching = GetNeighbourAlign(m_rect, r);
    if (touching)
        return touching;
    CRectangle const &e = m_rect;
    if (B(r) <= T(e))
        return DockAlignBottom;
    if (T(r) >= B(e))
        return DockAlignTop;
    if (L(r) < R(e))
        return R(r) <= L(e) ? DockAlignRight : DockAlignNone;
    return DockAlignLeft;
}

NeighbourType DockElement::GetNeighbourType(DockElement const *pEl) const
{
    return pEl ? GetNeighbourType(pEl->m_rect, m_rect) : NT_NONE;
}

NeighbourType DockElement::GetAlignedNeighbourType(DockElement const *pEl) const
{
    NeighbourType t = GetNeighbourType(pEl);
    CRectangle const &o = pEl ? pEl->m_rect : m_rect;
    if (t == NT_LEFT || t == NT_RIGHT)
        return Abs64((B(o) - T(o)) - (B(m_rect) - T(m_rect))) < 4 ? t : NT_NONE;
    if (t == NT_TOP || t == NT_BOTTOM)
        return Abs64((R(o) - L(o)) - (R(m_rect) - L(m_rect))) < 4 ? t : NT_NONE;
    return NT_NONE;
}

unsigned long DockElement::GetAlignOfType(NeighbourType type) const
{
    switch (type) {
    case NT_RIGHT: return DockAlignRight;
    case NT_TOP: return DockAlignTop;
    case NT_BOTTOM: return DockAlignBottom;
    default: return DockAlignLeft;
    }
}

int DockElement::GetAlignSideLen(unsigned long align) const
{
    if (align & (DockAlignLeft | DockAlignRight))
        return Clamp(R(m_rect) - L(m_rect));
    return Clamp(B(m_rect) - T(m_rect));
}

int DockElement::GetNeighbourSideLen(NeighbourType type) const
{
    if (type == NT_LEFT || type == NT_RIGHT)
        return Clamp(B(m_rect) - T(m_rect));
    if (type == NT_TOP || type == NT_BOTTOM)
        return Clamp(R(m_rect) - L(m_rect));
    return 0;
}

int DockElement::GetMinDist(DockElement const *pEl) const
{
    if (!pEl || m_rect == pEl->m_rect)
        return 0;
    CRectangle const &e = m_rect;
    CRectangle const &o = pEl->m_rect;
    auto least = [](long long a, long long b, long long c, long long d) {
        long long m = Abs64(a);
        for (long long v : {b, c, d})
            if (Abs64(v) < m)
                m = Abs64(v);
        return double(m);
    };
    double dx = least(R(e) - R(o), L(e) - L(o), L(e) - R(o), R(e) - L(o));
    double dy = least(B(e) - B(o), T(e) - T(o), T(e) - B(o), B(e) - T(o));
    double d = std::sqrt(dx * dx + dy * dy) + 0.5;
    return d >= double(INT_MAX) ? INT_MAX : int(d);
}

// ---------------------------------------------------------------------------
// Static classifiers

unsigned long DockElement::GetNeighbourAlign(CRectangle const &e, CRectangle const &r)
{
    long long w = ImpW();
    if (Abs64(R(r) - L(e) + w) < 4)
        return DockAlignRight;
    if (Abs64(L(r) - R(e) - w) < 4)
        return DockAlignLeft;
    if (Abs64(B(r) - T(e) + w) < 4)
        return DockAlignBottom;
    if (Abs64(T(r) - B(e) - w) < 4)
        return DockAlignTop;
    return DockAlignNone;
}

NeighbourType DockElement::GetNeighbourType(CRectangle const &a, CRectangle const &b)
{
    long long w = ImpW();
    if (Abs64(R(a) - L(b) + w) < 4)
        return NT_LEFT;
    if (Abs64(L(a) - R(b) - w) < 4)
        return NT_RIGHT;
    if (Abs64(B(a) - T(b) + w) < 4)
        return NT_TOP;
    if (Abs64(T(a) - B(b) - w) < 4)
        return NT_BOTTOM;
    return NT_NONE;
}

NeighbourType DockElement::DetNeighbourType(DockElement *pA, DockElement *pB)
{
    if (!pA || !pB)
        return NT_NONE;
    long long tol = ImpW() + 1;
    CRectangle const &a = pA->m_rect;
    CRectangle const &b = pB->m_rect;
    if (Abs64(L(b) - R(a)) <= tol)
        return NT_LEFT;
    if (Abs64(L(a) - R(b)) <= tol)
        return NT_RIGHT;
    if (Abs64(B(a) - T(b)) <= tol)
        return NT_TOP;
    if (Abs64(B(b) - T(a)) <= tol)
        return NT_BOTTOM;
    return NT_NONE;
}

NeighbourContactType DockElement::DetContactFromCoords(int a1, int b1, int a2, int b2, int c1, int c2)
{
    if (Abs64((long long)c1 - c2) > ImpW())
        return NCT_NONE;
    int equalPairs = (a1 == b1) + (a2 == b2);
    return equalPairs == 2 ? NCT_EQUAL_SIDE : equalPairs == 1 ? NCT_JUSTIFIED_SIDE : NCT_TOUCHING_SIDE;
}

NeighbourContactType DockElement::DetContactType(DockElement const *pEl, DockElement const *pOther)
{
    if (!pEl || !pOther)
        return NCT_NONE;
    CRectangle const &e = pEl->m_rect;
    CRectangle const &o = pOther->m_rect;
    switch (pEl->GetNeighbourAlign(o)) {
    case DockAlignLeft:
        return DetContactFromCoords(e.Top(), o.Top(), e.Bottom(), o.Bottom(), e.Right(), o.Left());
    case DockAlignTop:
        return DetContactFromCoords(e.Left(), o.Left(), e.Right(), o.Right(), e.Bottom(), o.Top());
    case DockAlignRight:
        return DetContactFromCoords(e.Top(), o.Top(), e.Bottom(), o.Bottom(), e.Left(), o.Right());
    case DockAlignBottom:
        return DetContactFromCoords(e.Left(), o.Left(), e.Right(), o.Right(), e.Top(), o.Bottom());
    default:
        return NCT_NONE;
    }
}

DirectionType DockElement::DetDirectionType(DockElement const *pA, DockElement const *pB)
{
    if (!pA || !pB)
        return DT_UNDETERMINED;
    long long dx = Abs64(CX2(pA->m_rect) - CX2(pB->m_rect));
    long long dy = Abs64(CY2(pA->m_rect) - CY2(pB->m_rect));
    return dx < dy ? DT_VERTICAL : DT_HORIZONTAL;
}

unsigned long DockElement::DetMarginAlign(DockElement const *pEl, CRectangle const &r)
{
    if (!pEl)
        return DockAlignNone;
    CRectangle const &e = pEl->m_rect;
    if (R(e) - L(e) == R(r) - L(r)) {
        if (e.Top() == r.Top())
            return DockAlignTop;
        if (e.Bottom() == r.Bottom())
            return DockAlignBottom;
    }
    if (B(e) - T(e) == B(r) - T(r)) {
        if (e.Left() == r.Left())
            return DockAlignLeft;
        if (e.Right() == r.Right())
            return DockAlignRight;
    }
    return DockAlignNone;
}

int DockElement::GetAlignSideLen(Size const &size, unsigned long align)
{
    return align & (DockAlignLeft | DockAlignRight) ? size.Width() : size.Height();
}

unsigned long DockElement::InvertAlign(unsigned long align)
{
    unsigned long rest = align & ~0xF000UL;
    switch (align & 0xF000UL) {
    case DockAlignLeft: return rest | DockAlignRight;
    case DockAlignTop: return rest | DockAlignBottom;
    case DockAlignRight: return rest | DockAlignLeft;
    case DockAlignBottom: return rest | DockAlignTop;
    default: return align;
    }
}

NeighbourType DockElement::InvertNeighbourType(NeighbourType type)
{
    switch (type) {
    case NT_RIGHT: return NT_LEFT;
    case NT_TOP: return NT_BOTTOM;
    case NT_BOTTOM: return NT_TOP;
    default: return NT_RIGHT;
    }
}

SString DockElement::GetAlignStr(unsigned long align)
{
    switch (align) {
    case 0x1000: return "CBRS_ALIGN_LEFT";
    case 0x2000: return "CBRS_ALIGN_TOP ";
    case 0x4000: return "CBRS_ALIGN_RIGHT";
    case 0x8000: return "CBRS_ALIGN_BOTTOM";
    case 0xF000: return "CBRS_ALIGN_ANY";
    case 0: return "CBRS_NOALIGN";
    default: return "CBRS_??";
    }
}

SString DockElement::GetContactStr(NeighbourContactType contact)
{
    switch (contact) {
    case NCT_NONE: return "NCT_NONE";
    case NCT_TOUCHING_SIDE: return "NCT_TOUCHING_SIDE";
    case NCT_JUSTIFIED_SIDE: return "NCT_JUSTIFIED_SIDE";
    case NCT_EQUAL_SIDE: return "NCT_EQUAL_SIDE";
    default: return "NCT_??";
    }
}

// ---------------------------------------------------------------------------
// Element vectors

void DockElement::ClearDockElements(std::vector<DockElement *> &elements)
{
    // A vector that lists an element twice must not delete it twice.
    for (DockElement *e : Distinct(elements))
        delete e;
    elements.clear();
}

DockElement *DockElement::FindElementOfPane(std::vector<DockElement *> const &elements, ZnDockablePane const *pPane)
{
    if (!pPane)
        return nullptr;
    for (DockElement const *e : elements)
        if (e)
            if (DockElement *found = e->FindElementOfPane(pPane))
                return found;
    return nullptr;
}

FreeSpaceElement *DockElement::FindFreeSpaceElement(std::vector<DockElement *> const &elements)
{
    for (DockElement *e : elements)
        if (e && e->GetType() == DET_FREE_SPACE_ELEMENT)
            return static_cast<FreeSpaceElement *>(e);
    return nullptr;
}

std::vector<DockPaneElement *> DockElement::ExtractDockablePanes(std::vector<DockElement *> const &elements)
{
    std::vector<DockPaneElement *> out;
    for (DockElement *e : elements)
        if (e && e->GetType() == DET_DOCK_PANE_ELEMENT)
            out.push_back(static_cast<DockPaneElement *>(e));
    return out;
}

DockElement *DockElement::PutRowIntoHolders(std::vector<DockElement *> &row)
{
    // Nulls would become holders without children; they carry nothing.
    // An element listed twice would end up owned by two holders.
    std::vector<DockElement *> current = Distinct(row);
    if (current.empty()) {
        row.clear();
        return nullptr;
    }
    // The tree takes the row's place, so it starts at the row's depth.
    int depth = current.front()->GetNDepth();
    bool built = current.size() > 1;
    std::vector<DockElement *> next;
    while (current.size() > 1) {
        next.clear();
        next.reserve(current.size() / 2 + 1);
        size_t i = 0;
        for (; i + 1 < current.size(); i += 2) {
            HolderElement *h = new HolderElement();
            h->SetChilds(current[i], current[i + 1]);
            h->RefreshRectStatic();
            next.push_back(h);
        }
        if (i < current.size())
            next.push_back(current[i]);
        current.swap(next);
    }
    if (built)
        current.front()->SetNDepth(depth);
    row = current;
    return current.front();
}

namespace {

// Entries stack down a left or right side and run across a top or bottom one.
inline bool RunsDown(NeighbourType side) { return side == NT_LEFT || side == NT_RIGHT; }

// The length along the row that entry i asks for: its stored size, else its
// current extent, else one pixel.
long long RowLen(std::vector<DockElement *> const &row, std::vector<DockPosition> const &positions, size_t i,
                 bool down)
{
    if (i < positions.size()) {
        Size const &s = positions[i].GetSize();
        int v = down ? s.Height() : s.Width();
        if (v > 0)
            return v;
    }
    CRectangle const &r = row[i]->GetRect();
    long long v = down ? (long long)r.Bottom() - r.Top() : (long long)r.Right() - r.Left();
    return r.IsEmpty() || v <= 0 ? 1 : v;
}

} // namespace

void DockElement::SetRowRects(std::vector<DockElement *> &row, NeighbourType side,
                              std::vector<DockPosition> const &positions, Point const &pos, Size const &size)
{
    bool down = RunsDown(side);
    long long w = ImpW();
    std::vector<size_t> idx;
    for (size_t i = 0; i < row.size(); ++i)
        if (row[i])
            idx.push_back(i);
    if (idx.empty())
        return;
    std::vector<long long> len;
    long long sum = 0;
    for (size_t i : idx) {
        len.push_back(RowLen(row, positions, i, down));
        sum += len.back();
    }
    long long extent = down ? size.Height() : size.Width();
    long long thickness = down ? size.Width() : size.Height();
    long long avail = extent - w * (long long)(idx.size() - 1);
    // Scaled to fill the row when there is room for a pixel each; the last
    // entry takes what rounding leaves.
    if (avail >= (long long)idx.size()) {
        long long given = 0;
        for (size_t k = 0; k < len.size(); ++k) {
            if (k + 1 == len.size()) {
                len[k] = avail - given;
            } else {
                len[k] = (long long)((double)len[k] * (double)avail / (double)sum + 0.5);
                if (len[k] < 1)
                    len[k] = 1;
            }
            given += len[k];
        }
        if (len.back() < 1)
            len.back() = 1;
    }
    long long at = down ? pos.Y() : pos.X();
    long long across = down ? pos.X() : pos.Y();
    for (size_t k = 0; k < idx.size(); ++k) {
        long long a0 = at, a1 = at + len[k];
        long long c1 = across + thickness;
        CRectangle r = down ? CRectangle(int(across), CRectangle::ImpEdge(a0), CRectangle::ImpEdge(c1), CRectangle::ImpEdge(a1))
                            : CRectangle(CRectangle::ImpEdge(a0), int(across), CRectangle::ImpEdge(a1), CRectangle::ImpEdge(c1));
        row[idx[k]]->SetRect(r);
        at = a1 + w;
    }
}

DockElement *DockElement::PutRowIntoHolders(std::vector<DockElement *> &row, std::vector<DockPosition> const &positions,
                                            NeighbourType side)
{
    std::vector<DockElement *> entries = Distinct(row);
    if (entries.empty())
        return PutRowIntoHolders(row);
    bool down = RunsDown(side);
    // Where the row starts: the first stored position that is set, else the
    // top-left of where its entries lie now.
    Point origin(INT_MAX, INT_MAX);
    for (size_t i = 0; i < row.size() && i < positions.size(); ++i)
        if (row[i] && positions[i].GetPos() != Point(-1, -1)) {
            origin = positions[i].GetPos();
            break;
        }
    if (origin == Point(INT_MAX, INT_MAX)) {
        CRectangle box = GetMaxRectangle(entries);
        origin = box.Left() == INT_MAX ? Point(0, 0) : Point(box.Left(), box.Top());
    }
    // The row's extent is what its entries ask for; its thickness the most
    // any of them asks for.
    long long extent = 0, thickness = 0;
    long long w = ImpW();
    for (size_t i = 0; i < row.size(); ++i) {
        if (!row[i])
            continue;
        extent += RowLen(row, positions, i, down) + (extent ? w : 0);
        long long t = RowLen(row, positions, i, !down);
        if (t > thickness)
            thickness = t;
    }
    auto clampInt = [](long long v) { return v > INT_MAX ? INT_MAX : int(v); };
    Size size = down ? Size(clampInt(thickness), clampInt(extent)) : Size(clampInt(extent), clampInt(thickness));
    std::vector<DockElement *> laid = row;
    SetRowRects(laid, side, positions, origin, size);
    return PutRowIntoHolders(row);
}

void DockElement::ScaleRects(Size const &from, Size const &to, std::vector<DockElement *> &elements)
{
    if (from.Width() == 0 || from.Height() == 0)
        return;
    double fx = double(to.Width()) / from.Width();
    double fy = double(to.Height()) / from.Height();
    for (DockElement *e : elements)
        if (e)
            e->ScaleRect(fx, fy);
}

void DockElement::DetNeighboursFromRects(std::vector<DockElement *> &elements)
{
    long long tol = ImpW() + 1;
    std::vector<DockElement *> live = Distinct(elements);
    live.erase(std::remove_if(live.begin(), live.end(), [](DockElement *e) { return e->IsHidden(); }), live.end());
    // Only the facing edges are compared: two elements whose sides lie on
    // the two edges of one divider line are neighbours even where they do
    // not overlap along it.
    auto relate = [](DockElement *to, DockElement const *from, NeighbourType t) {
        DockElement *pCopy = from->Duplicate(false);
        if (!pCopy)
            return;
        pCopy->SetNeighbourType(t);
        if (!to->AddNeighbour(pCopy))
            delete pCopy;
    };
    // Only pairs with a left edge near a right edge, or a top edge near a
    // bottom edge, can match: they are found by searching the sorted edges
    // instead of testing every pair. They are then taken in the order of an
    // all-pairs loop (a before b), so that lists come out in that order and
    // the first matching test decides as it would there.
    size_t n = live.size();
    std::vector<std::pair<long long, unsigned>> lefts(n), tops(n);
    for (size_t i = 0; i < n; ++i) {
        lefts[i] = {L(live[i]->m_rect), unsigned(i)};
        tops[i] = {T(live[i]->m_rect), unsigned(i)};
    }
    std::sort(lefts.begin(), lefts.end());
    std::sort(tops.begin(), tops.end());
    std::vector<unsigned long long> pairs;
    auto collect = [&](std::vector<std::pair<long long, unsigned>> const &starts, size_t i, long long end) {
        auto from = std::lower_bound(starts.begin(), starts.end(), std::make_pair(end - tol, 0u));
        for (auto it = from; it != starts.end() && it->first <= end + tol; ++it) {
            unsigned j = it->second;
            if (j != i)
                pairs.push_back(i < j ? (unsigned long long)i << 32 | j : (unsigned long long)j << 32 | i);
        }
    };
    for (size_t i = 0; i < n; ++i) {
        collect(lefts, i, R(live[i]->m_rect));
        collect(tops, i, B(live[i]->m_rect));
    }
    std::sort(pairs.begin(), pairs.end());
    pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
    // The codes first, so that every list can be sized once.
    std::vector<NeighbourType> codes(pairs.size(), NT_NONE);
    std::vector<unsigned> added(n, 0);
    for (size_t k = 0; k < pairs.size(); ++k) {
        unsigned i = unsigned(pairs[k] >> 32), j = unsigned(pairs[k] & 0xFFFFFFFFu);
        CRectangle const &ra = live[i]->m_rect;
        CRectangle const &rb = live[j]->m_rect;
        if (Abs64(L(rb) - R(ra)) <= tol)
            codes[k] = NT_LEFT;
        else if (Abs64(L(ra) - R(rb)) <= tol)
            codes[k] = NT_RIGHT;
        else if (Abs64(B(ra) - T(rb)) <= tol)
            codes[k] = NT_TOP;
        else if (Abs64(B(rb) - T(ra)) <= tol)
            codes[k] = NT_BOTTOM;
        else
            continue;
        ++added[i];
        ++added[j];
    }
    for (size_t i = 0; i < n; ++i)
        if (added[i])
            live[i]->m_neighbours.reserve(live[i]->m_neighbours.size() + added[i]);
    for (size_t k = 0; k < pairs.size(); ++k) {
        if (codes[k] == NT_NONE)
            continue;
        DockElement *a = live[pairs[k] >> 32];
        DockElement *b = live[pairs[k] & 0xFFFFFFFFu];
        relate(a, b, InvertNeighbourType(codes[k]));
        relate(b, a, codes[k]);
    }
}

CRectangle DockElement::GetMaxRectangle(std::vector<DockElement *> const &elements)
{
    int l = INT_MAX, t = INT_MAX, r = 0, b = 0;
    for (DockElement const *e : elements) {
        if (!e || e->IsHidden() || e->IsFloating())
            continue;
        CRectangle const &x = e->m_rect;
        if (x.Left() < l) l = x.Left();
        if (x.Top() < t) t = x.Top();
        if (x.Right() > r) r = x.Right();
        if (x.Bottom() > b) b = x.Bottom();
    }
    return CRectangle(l, t, r, b);
}

NeighbourContactType DockElement::AddNeighbour(DockPosition &position, DockElement *pEl, DockElement *pNeighbour,
                                               bool holder)
{
    if (!pEl || !pNeighbour || pEl == pNeighbour || *pEl == *pNeighbour)
        return NCT_NONE;
    unsigned long align = pEl->GetNeighbourAlign(pNeighbour->m_rect);
    if (align == DockAlignNone)
        return NCT_NONE;
    NeighbourContactType contact = DetContactType(pEl, pNeighbour);
    position.AddNeighbour(pEl->GetTitle(), align, contact, holder, pEl->GetType() == DET_FREE_SPACE_ELEMENT);
    return contact;
}

void DockElement::FillDockPosition(std::vector<DockElement *> const &elements, ZnDockablePane const *pPane,
                                   DockPosition &position)
{
    if (!pPane)
        return;
    position.SetName(pPane->GetInternalName());
    std::vector<DockPaneElement *> docked = ExtractDockablePanes(elements);
    DockPaneElement *e = nullptr;
    for (DockPaneElement *d : docked)
        if (d->GetPane() == pPane) {
            e = d;
            break;
        }
    if (e) {
        CRectangle bounds = GetMaxRectangle(elements);
        DockPaneElement const *pPartner = nullptr;
        for (DockElement const *root : elements)
            if (root && (pPartner = root->FindNeighbourInHolder(e)) != nullptr)
                break;
        position.ClearNeighbours();
        for (DockPaneElement *d : docked)
            AddNeighbour(position, d, e, pPartner && *pPartner == *d);
        if (FreeSpaceElement *pFreeSpace = FindFreeSpaceElement(elements))
            AddNeighbour(position, pFreeSpace, e, false);
        position.SetMarginAlign(DetMarginAlign(e, bounds));
        CRectangle const &r = e->m_rect;
        position.SetSize(Size(Clamp(R(r) - L(r)), Clamp(B(r) - T(r))));
        position.SetPos(Point(r.Left(), r.Top()));
        position.SetName(pPane->GetInternalName());
        position.SetRectRecentFloat(pPane->GetRectRecentFloat());
        return;
    }
    DockElement const *pAny = FindElementOfPane(elements, pPane);
    if (pAny && pAny->GetType() == DET_FLOATING_PANE_ELEMENT) {
        CRectangle const &r = pAny->m_rect;
        position.SetSize(Size(Clamp(R(r) - L(r)), Clamp(B(r) - T(r))));
        position.SetIsFloating(true);
    }
}
