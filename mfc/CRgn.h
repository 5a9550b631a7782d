#pragma once
// The framework library's region object, reduced to what the library hands
// out: a GDI object owner holding one platform region.
#include "frame/Kestrel5Api.h"
#include "mfc/CGdiObject.h"

class KSAPI CRgn : public CGdiObject
{
    DECLARE_DYNAMIC(CRgn)
public:
    CRgn() noexcept = default;
    CRgn(CRgn const &) = delete;
    CRgn &operator=(CRgn const &) = delete;

    operator HRGN() const noexcept { return static_cast<HRGN>(m_hObject); }
    HRGN GetSafeHandle() const noexcept { return static_cast<HRGN>(m_hObject); }

    // Takes ownership; false (and nothing taken) when a region is already held
    // or h is null.
    BOOL Attach(HRGN h) noexcept;
    HRGN Detach() noexcept;

    // Each fails, keeping nothing, when a region is already held.
    BOOL CreateRectRgn(int x1, int y1, int x2, int y2) noexcept;
    BOOL CreateRectRgnIndirect(LPCRECT lpRect) noexcept;
    BOOL CreatePolygonRgn(POINT const *lpPoints, int nCount, int nMode) noexcept;
    BOOL CreatePolyPolygonRgn(POINT const *lpPoints, INT const *lpPolyCounts, int nCount,
                              int nPolyFillMode) noexcept;

    // The platform's region results: ERROR (0), NULLREGION, SIMPLEREGION,
    // COMPLEXREGION.
    int CombineRgn(CRgn const *pRgn1, CRgn const *pRgn2, int nCombineMode) noexcept;
    int OffsetRgn(int x, int y) noexcept;
    int GetRgnBox(LPRECT lpRect) const noexcept;
    BOOL EqualRgn(CRgn const *pRgn) const noexcept;
    BOOL PtInRegion(int x, int y) const noexcept;

};
