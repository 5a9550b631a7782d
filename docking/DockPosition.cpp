#include "docking/DockPosition.h"

#include <cstdlib>
#include <windows.h>

#include "base/LocalSizedRead.h"
#include "base/LocalSizedWrite.h"
#include "docking/DataBuffer.h"
#include "docking/DockAlign.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"

namespace {

NeighbourType TypeOfAlign(unsigned long align) noexcept
{
    switch (align) {
    case DockAlignLeft: return NT_LEFT;
    case DockAlignTop: return NT_TOP;
    case DockAlignBottom: return NT_BOTTOM;
    default: return NT_RIGHT;
    }
}

bool IsRealSize(Size const &s) noexcept
{
    return s.Width() > 0 && s.Width() < DOCK_SIZE_LIMIT && s.Height() > 0 && s.Height() < DOCK_SIZE_LIMIT;
}

} // namespace

DockPosition::DockPosition() : m_nMarginAlign(0), m_bFloating(false)
{
}

void DockPosition::SetMinSizeScaled(int cx, int cy)
{
    if (KSData const *data = GetPKSData())
        m_aMinSize = Size(data->ScaleX(cx), data->ScaleY(cy));
    else
        m_aMinSize = Size(cx, cy);
}

void DockPosition::AddNeighbour(SString const &name, unsigned long align, NeighbourContactType contact, bool holder,
                                bool freeSpace)
{
    DockNeighbour n(name, align, contact, holder, freeSpace);
    for (DockNeighbour &e : m_aNeighbours) {
        if (e.GetName() == name) {
            e = std::move(n);
            return;
        }
    }
    m_aNeighbours.push_back(std::move(n));
}

void DockPosition::SetNeighbour(SString const &name, SString const &side, NeighbourContactType contact, bool holder)
{
    unsigned long align = 0;
    if (side.Len() == 1) {
        switch (side[0]) {
        case 'L': case 'l': align = DockAlignLeft; break;
        case 'R': case 'r': align = DockAlignRight; break;
        case 'U': case 'u': align = DockAlignTop; break;
        case 'D': case 'd': align = DockAlignBottom; break;
        default: break;
        }
    }
    AddNeighbour(name, align, contact, holder, name == "GFS");
}

DockNeighbour const *DockPosition::GetHolderNeighbour() const noexcept
{
    for (DockNeighbour const &n : m_aNeighbours)
        if (n.IsHolder())
            return &n;
    return nullptr;
}

DockNeighbour const *DockPosition::GetJustifiedNeighbour() const noexcept
{
    for (DockNeighbour const &n : m_aNeighbours)
        if (n.GetContact() == NCT_JUSTIFIED_SIDE && !n.IsHolder() && !n.IsFreeSpace())
            return &n;
    return nullptr;
}

DockNeighbour const *DockPosition::GetSideBySideNeighbour() const noexcept
{
    for (DockNeighbour const &n : m_aNeighbours)
        if (n.GetContact() == NCT_EQUAL_SIDE && !n.IsHolder() && !n.IsFreeSpace())
            return &n;
    return nullptr;
}

DockNeighbour const *DockPosition::GetTouchingNeighbour() const noexcept
{
    for (DockNeighbour const &n : m_aNeighbours)
        if (n.GetContact() == NCT_TOUCHING_SIDE && !n.IsHolder() && !n.IsFreeSpace())
            return &n;
    return nullptr;
}

DockNeighbour const *DockPosition::GetFreeSpaceDockNeighbour(NeighbourContactType contact) const noexcept
{
    for (DockNeighbour const &n : m_aNeighbours)
        if (n.IsFreeSpace() && n.GetContact() == contact)
            return &n;
    return nullptr;
}

NeighbourType DockPosition::GetAllNeighbourType() const noexcept
{
    if (m_aNeighbours.empty())
        return NT_RIGHT;
    unsigned long align = m_aNeighbours.front().GetAlign();
    for (std::size_t i = 1; i < m_aNeighbours.size(); ++i) {
        DockNeighbour const &n = m_aNeighbours[i];
        if (n.GetAlign() != align && n.GetContact() != NCT_NONE)
            return NT_NONE;
    }
    return TypeOfAlign(align);
}

NeighbourType DockPosition::GetFreeSpaceNeighbourType() const noexcept
{
    for (DockNeighbour const &n : m_aNeighbours)
        if (n.IsFreeSpace())
            return TypeOfAlign(n.GetAlign());
    return NT_RIGHT;
}

bool DockPosition::IsFreeSpaceDock() const noexcept
{
    return GetFreeSpaceDockNeighbour(NCT_EQUAL_SIDE) != nullptr;
}

bool DockPosition::IsMarginDock() const noexcept
{
    return m_nMarginAlign != 0 && !GetHolderNeighbour();
}

bool DockPosition::IsLeftOf(SString const &name) const noexcept
{
    for (DockNeighbour const &n : m_aNeighbours)
        if (n.GetName() == name && n.GetAlign() == DockAlignRight)
            return true;
    return false;
}

bool DockPosition::IsTopOf(SString const &name) const noexcept
{
    for (DockNeighbour const &n : m_aNeighbours)
        if (n.GetName() == name && n.GetAlign() == DockAlignBottom)
            return true;
    return false;
}

bool DockPosition::HasOrthogonalSideBySideNeighbour(SString const &name, NeighbourType type) const noexcept
{
    if (type == NT_NONE)
        return false;
    for (DockNeighbour const &n : m_aNeighbours) {
        if (n.GetName() != name)
            continue;
        unsigned long a = n.GetAlign();
        if (type == NT_LEFT || type == NT_RIGHT)
            return a == DockAlignLeft || a == DockAlignRight;
        if (type == NT_TOP || type == NT_BOTTOM)
            return a == DockAlignTop || a == DockAlignBottom;
        return false;
    }
    return false;
}

int DockPosition::GetAlignSideLen() const noexcept
{
    return m_nMarginAlign == DockAlignTop || m_nMarginAlign == DockAlignBottom ? m_aSize.Height() : m_aSize.Width();
}

int DockPosition::GetMarginSideLen(int align) const noexcept
{
    if (m_nMarginAlign == 0 || GetHolderNeighbour())
        return 0;
    unsigned long a = static_cast<unsigned long>(align);
    return a == DockAlignTop || a == DockAlignBottom ? m_aSize.Height() : m_aSize.Width();
}

void DockPosition::FillAlignedNeighbours(std::vector<DockNeighbour> &out, unsigned long &align) const
{
    static unsigned long const sides[4] = {DockAlignLeft, DockAlignTop, DockAlignRight, DockAlignBottom};
    int best = -1;
    std::size_t bestCount = 0;
    for (int s = 0; s < 4; ++s) {
        std::size_t count = 0;
        int justified = 0;
        for (DockNeighbour const &n : m_aNeighbours) {
            if (n.GetAlign() != sides[s])
                continue;
            if (n.GetContact() == NCT_JUSTIFIED_SIDE)
                ++justified, ++count;
            else if (n.GetContact() == NCT_TOUCHING_SIDE)
                ++count;
        }
        // A row along one side is complete only when both its ends are flush
        // with the pane: exactly two justified entries frame it.
        if (justified == 2 && count > bestCount) {
            best = s;
            bestCount = count;
        }
    }
    if (best < 0 || bestCount < 2)
        return;
    out.clear();
    for (DockNeighbour const &n : m_aNeighbours) {
        if (n.GetAlign() == sides[best] &&
            (n.GetContact() == NCT_JUSTIFIED_SIDE || n.GetContact() == NCT_TOUCHING_SIDE))
            out.push_back(n);
    }
    align = sides[best];
}

int DockPosition::CountJustified(std::vector<DockNeighbour> const &list) noexcept
{
    int n = 0;
    for (DockNeighbour const &e : list)
        if (e.GetContact() == NCT_JUSTIFIED_SIDE)
            ++n;
    return n;
}

void DockPosition::SetDefaults(SString const &name)
{
    m_sName = name;
    m_aNeighbours.clear();
    m_nMarginAlign = 0;
    m_bFloating = false;

    int const w = GetSystemMetrics(SM_CXSCREEN);
    int const h = GetSystemMetrics(SM_CYSCREEN);
    // The draws are taken in this order on purpose: a sequence seeded by the
    // application gives the same defaults as it always did.
    int const cy = std::rand() % 50 + int(0.3 * h);
    int const cx = std::rand() % 100 + int(0.3 * w);
    m_aSize = Size(cx, cy);
    SetMinSizeScaled(60, 60);

    int const bottom = std::rand() % 150 + int(0.6 * h);
    int const right = std::rand() % 150 + int(0.7 * w);
    int const top = std::rand() % 50 + int(0.3 * h);
    int const left = std::rand() % 50 + int(0.4 * w);
    m_aRectRecentFloat = CRectangle(left, top, right, bottom);
    m_aPos = Point(-1, -1);
}

void DockPosition::SetDefaults(DockOrientation, SString const &name)
{
    m_sName = name;
}

void DockPosition::PlaceNew(DockOrientation, Size const &size)
{
    m_aSize = size;
    m_aPos = Point(-1, -1);
    m_aNeighbours.clear();
}

ERRCODE DockPosition::WriteToDataBuffer(DataBuffer &buf) const
{
    LocalSizedWrite section(buf);
    buf.WriteString(m_sName);
    if (!m_sName.IsEmpty()) {
        buf.WriteSize(m_aSize);
        // Neighbours of a pane without a believable size would only mislead
        // whoever puts the pane back.
        if (IsRealSize(m_aSize)) {
            buf.WriteAlign(m_nMarginAlign);
            buf.WriteInt32(static_cast<int>(m_aNeighbours.size()));
            for (DockNeighbour const &n : m_aNeighbours)
                n.WriteToDataBuffer(buf);
        }
    }
    buf.WritePoint(m_aPos);
    buf.WriteRect(m_aRectRecentFloat);
    return ERRCODE_OK;
}

bool DockPosition::ReadFromDataBuffer(DataBuffer &buf)
{
    unsigned long failsBefore = buf.GetFailCount();
    LocalSizedRead section(buf);
    SString name = buf.ReadString();
    if (name.Len() > DOCK_MAX_NAME_LEN)
        return false;
    m_sName = name;
    if (!name.IsEmpty()) {
        m_aSize = buf.ReadSize();
        if (IsRealSize(m_aSize)) {
            m_nMarginAlign = buf.ReadAlign();
            // Taken unsigned: a negative count is as corrupt as 100.
            unsigned int count = static_cast<unsigned int>(buf.ReadInt32());
            if (count > unsigned(DOCK_MAX_NEIGHBOURS))
                return false;
            m_aNeighbours.clear();
            m_aNeighbours.reserve(count);
            // Read in place: a neighbour copied into the list would cost two
            // more turns of each text's share count.
            for (unsigned int i = 0; i < count; ++i) {
                if (!m_aNeighbours.emplace_back().ReadFromDataBuffer(buf)) {
                    m_aNeighbours.pop_back();
                    return false;
                }
            }
        }
    }
    m_aPos = buf.ReadPoint();
    CRectangle r = buf.ReadRect();
    // A floating rectangle too narrow to grab would strand the pane.
    if (r.Right() != RECT_EMPTY && r.Bottom() != RECT_EMPTY && r.GetWidth() > 10)
        m_aRectRecentFloat = r;
    return buf.GetFailCount() == failsBefore;
}

void DockPosition::Read(ZnConfig &, int)
{
}

void DockPosition::Write(ZnConfig &, int)
{
}

void DockPosition::Dump() const
{
}

bool DockPosition::operator==(DockPosition const &o) const
{
    return m_aMinSize == o.m_aMinSize && m_aSize == o.m_aSize && m_sName == o.m_sName && m_sSpare == o.m_sSpare &&
           m_aNeighbours == o.m_aNeighbours && m_nMarginAlign == o.m_nMarginAlign && m_bFloating == o.m_bFloating &&
           m_aRectRecentFloat == o.m_aRectRecentFloat && m_aPos == o.m_aPos;
}
