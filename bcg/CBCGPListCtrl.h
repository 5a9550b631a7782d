#pragma once
#include "bcg/CBCGPHeaderCtrl.h"
#include "mfc/CListCtrl.h"

// The control library's list: the platform list view with a header of the
// library's own (sort arrows), attached when the report view gets its first
// column.
class KSAPI CBCGPListCtrl : public CListCtrl
{
    DECLARE_DYNAMIC(CBCGPListCtrl)
public:
    CBCGPListCtrl() = default;
    ~CBCGPListCtrl() override;

    // Sub-classes the list's header with the library's header; false when the
    // list has no header (yet) or it is attached already.
    bool AttachHeader();
    bool IsHeaderAttached() const { return m_aHeader.m_hWnd != nullptr; }
    CBCGPHeaderCtrl &GetLibHeader() { return m_aHeader; }
    void SetSortColumn(int nColumn, bool bAscending) { m_aHeader.SetSortColumn(nColumn, bAscending); }

protected:
    void OnNcDestroy() override;

private:
    CBCGPHeaderCtrl m_aHeader;
};
