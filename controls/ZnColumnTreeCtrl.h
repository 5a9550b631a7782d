#pragma once
#include "controls/ZnTreeCtrl.h"

// The window object of a ColumnTreeControl: the platform tree view with a
// header above its client area (in its own non-client area, so that the
// rows start under it) and the texts of the further columns drawn after
// each row.
class KSAPI ZnColumnTreeCtrl : public ZnTreeCtrl
{
public:
    explicit ZnColumnTreeCtrl(TreeControl *pTree);
    ~ZnColumnTreeCtrl() override;

    HWND GetHeader() const { return m_hHeader; }
    int InsertColumn(int nCol, char const *pTitle, int nWidth);
    int GetColumnCount() const;
    bool GetColumnExtent(int nCol, int &rLeft, int &rRight) const;

    bool OnChildNotify(unsigned int message, WPARAM wParam, LPARAM lParam, LRESULT *pResult) override;
    bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT *pResult) override;
    LRESULT WindowProc(unsigned int message, WPARAM wParam, LPARAM lParam) override;

private:
    void ImpMakeHeader();
    void ImpPlaceHeader();
    int HeaderHeight() const;
    void ImpDrawColumns(NMTVCUSTOMDRAW const *pDraw);

    HWND m_hHeader;
};
