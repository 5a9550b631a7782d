#pragma once
// One named neighbour of a remembered dock position: which element touches
// the positioned pane, on which of its sides and how the sides meet.
#include "base/ERRCODE.h"
#include "docking/NeighbourContactType.h"
#include "frame/Kestrel5Api.h"
#include "graphics/Size.h"
#include "text/SString.h"

class DataBuffer;

// Longest neighbour or position name a record may carry.
constexpr int DOCK_MAX_NAME_LEN = 60;

class KSAPI DockNeighbour
{
public:
    DockNeighbour();
    DockNeighbour(SString const &name, unsigned long align, NeighbourContactType contact, bool holder,
                  bool freeSpace);
    DockNeighbour(DockNeighbour const &) = default;
    DockNeighbour(DockNeighbour &&) noexcept = default;
    DockNeighbour &operator=(DockNeighbour const &) = default;
    DockNeighbour &operator=(DockNeighbour &&) noexcept = default;

    // The neighbouring element's title: a pane's internal name, "-AH"
    // appended while it is auto-hidden, or "GFS" for the free space.
    SString const &GetName() const noexcept { return m_sName; }
    void SetName(SString const &name) { m_sName = name; }
    // The side of the positioned pane on which the neighbour lies.
    unsigned long GetAlign() const noexcept { return m_nAlign; }
    void SetAlign(unsigned long align) noexcept { m_nAlign = align; }
    NeighbourContactType GetContact() const noexcept { return m_eContact; }
    void SetContact(NeighbourContactType contact) noexcept { m_eContact = contact; }
    // The neighbour is the pane's partner in their common split holder.
    bool IsHolder() const noexcept { return m_bHolder; }
    void SetHolder(bool holder) noexcept { m_bHolder = holder; }
    bool IsFreeSpace() const noexcept { return m_bFreeSpace; }
    void SetFreeSpace(bool freeSpace) noexcept { m_bFreeSpace = freeSpace; }

    // The extent of size along the shared side: cy for a neighbour exactly
    // above or below, cx otherwise.
    int GetAlignSideLen(Size const &size) const noexcept;

    // "name, Algn=…, contact=…, holder=0|1, freeSE=0|1" for traces.
    SString GetStr() const;

    // Record: section { name, align, contact, holder byte, free-space byte }.
    ERRCODE WriteToDataBuffer(DataBuffer &buf) const;
    // True when the record was whole, its name at most DOCK_MAX_NAME_LEN
    // characters and its contact a known one. On false the fields that were
    // read before the fault keep their new values.
    bool ReadFromDataBuffer(DataBuffer &buf);

    bool operator==(DockNeighbour const &o) const;
    bool operator!=(DockNeighbour const &o) const { return !(*this == o); }

private:
    SString m_sName;
    unsigned long m_nAlign;
    NeighbourContactType m_eContact;
    bool m_bHolder;
    bool m_bFreeSpace;
};

// Debug names of the alignment bits and contact kinds, as traces print them.
KSAPI char const *DockAlignName(unsigned long align) noexcept;
KSAPI char const *DockContactName(int contact) noexcept;
