#pragma once
// The remembered place of one dockable pane, stated relative to its
// surroundings rather than in raw coordinates, so that it still means
// something after the frame was resized or other panes moved: its size, its
// top-left point, the frame margin it spans and its named neighbours.
#include <vector>

#include "base/ERRCODE.h"
#include "docking/DockNeighbour.h"
#include "docking/DockOrientation.h"
#include "docking/NeighbourContactType.h"
#include "docking/NeighbourType.h"
#include "frame/Kestrel5Api.h"
#include "graphics/CRectangle.h"
#include "graphics/Point.h"
#include "graphics/Size.h"
#include "text/SString.h"

class DataBuffer;
class ZnConfig;

// Most neighbours a position record may carry.
constexpr int DOCK_MAX_NEIGHBOURS = 99;
// A stored size is taken as a real one only strictly between 0 and this, in
// both directions; neighbours and margin are recorded only for such sizes.
constexpr int DOCK_SIZE_LIMIT = 33000;

class KSAPI DockPosition
{
public:
    // All numbers 0, empty names, no neighbours, an EMPTY recent floating
    // rectangle.
    DockPosition();
    DockPosition(DockPosition const &) = default;
    DockPosition(DockPosition &&) noexcept = default;
    DockPosition &operator=(DockPosition const &) = default;
    DockPosition &operator=(DockPosition &&) noexcept = default;

    Size const &GetMinSize() const noexcept { return m_aMinSize; }
    // Given at 96 DPI; stored scaled to the screen once the library runs.
    void SetMinSizeScaled(int cx, int cy);
    Size const &GetSize() const noexcept { return m_aSize; }
    void SetSize(Size const &size) noexcept { m_aSize = size; }
    // The pane's internal name.
    SString const &GetName() const noexcept { return m_sName; }
    void SetName(SString const &name) { m_sName = name; }

    std::vector<DockNeighbour> &GetNeighbourVec() noexcept { return m_aNeighbours; }
    std::vector<DockNeighbour> const &GetNeighbourVec() const noexcept { return m_aNeighbours; }
    // Replaces an entry of the same name in place, else appends.
    void AddNeighbour(SString const &name, unsigned long align, NeighbourContactType contact, bool holder,
                      bool freeSpace);
    void ClearNeighbours() noexcept { m_aNeighbours.clear(); }
    // side: "L", "R", "U" (up) or "D" (down) in either case; anything else
    // records no side. The name "GFS" marks the free space.
    void SetNeighbour(SString const &name, SString const &side, NeighbourContactType contact, bool holder);

    // The frame margin the pane spans, 0 when none.
    unsigned long GetMarginAlign() const noexcept { return m_nMarginAlign; }
    void SetMarginAlign(unsigned long align) noexcept { m_nMarginAlign = align; }
    bool IsFloating() const noexcept { return m_bFloating; }
    void SetIsFloating(bool floating) noexcept { m_bFloating = floating; }
    CRectangle const &GetRectRecentFloat() const noexcept { return m_aRectRecentFloat; }
    void SetRectRecentFloat(CRectangle const &r) noexcept { m_aRectRecentFloat = r; }
    // Top-left in frame client coordinates; (-1, -1) when none is set.
    Point const &GetPos() const noexcept { return m_aPos; }
    void SetPos(Point const &pos) noexcept { m_aPos = pos; }
    CRectangle GetRect() const noexcept { return CRectangle(m_aPos, m_aSize); }

    // Neighbour queries: the first matching entry, or null.
    DockNeighbour const *GetHolderNeighbour() const noexcept;
    DockNeighbour const *GetJustifiedNeighbour() const noexcept;
    DockNeighbour const *GetSideBySideNeighbour() const noexcept;
    DockNeighbour const *GetTouchingNeighbour() const noexcept;
    DockNeighbour const *GetFreeSpaceDockNeighbour(NeighbourContactType contact) const noexcept;

    // The side all neighbours share (NT_NONE when they disagree); a list
    // without a side of its own counts as NT_RIGHT.
    NeighbourType GetAllNeighbourType() const noexcept;
    // The same mapping for the first free-space entry; NT_RIGHT without one.
    NeighbourType GetFreeSpaceNeighbourType() const noexcept;
    bool IsFreeSpaceDock() const noexcept;
    bool IsMarginDock() const noexcept;
    bool IsLeftOf(SString const &name) const noexcept;
    bool IsTopOf(SString const &name) const noexcept;
    bool HasOrthogonalSideBySideNeighbour(SString const &name, NeighbourType type) const noexcept;
    int GetAlignSideLen() const noexcept;
    int GetMarginSideLen(int align) const noexcept;
    // The largest group of neighbours on one side that is framed by exactly
    // two justified entries; out and align stay as they were without one.
    void FillAlignedNeighbours(std::vector<DockNeighbour> &out, unsigned long &align) const;
    static int CountJustified(std::vector<DockNeighbour> const &list) noexcept;

    // A fresh position for a pane that has none: random size and floating
    // rectangle around fixed shares of the primary screen, so that several
    // new panes do not land exactly on one another.
    void SetDefaults(SString const &name);
    void SetDefaults(DockOrientation orientation, SString const &name);
    void PlaceNew(DockOrientation orientation, Size const &size);

    // Record: section { name; with a name: size; with a real size: margin
    // align, neighbour count, neighbours; then position and recent floating
    // rectangle }. The minimum size, the floating flag and the spare text
    // are not stored.
    ERRCODE WriteToDataBuffer(DataBuffer &buf) const;
    // True when the record was whole and valid. An empty name is valid and
    // leaves size and neighbours as they were; a floating rectangle that is
    // EMPTY or at most 10 pixels wide is skipped. On false the fields read
    // before the fault keep their new values.
    bool ReadFromDataBuffer(DataBuffer &buf);

    // Kept for interface compatibility with the settings-store tools; a
    // position is persisted through DataBuffer records only.
    void Read(ZnConfig &config, int index);
    void Write(ZnConfig &config, int index);
    void Dump() const;

    // Member-wise, unstored fields included.
    bool operator==(DockPosition const &o) const;
    bool operator!=(DockPosition const &o) const { return !(*this == o); }

private:
    Size m_aMinSize;
    Size m_aSize;
    SString m_sName;
    SString m_sSpare; // copied with the position, never persisted
    std::vector<DockNeighbour> m_aNeighbours;
    unsigned long m_nMarginAlign;
    bool m_bFloating;
    CRectangle m_aRectRecentFloat;
    Point m_aPos;
};
