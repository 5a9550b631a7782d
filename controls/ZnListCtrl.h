#pragma once
#include "bcg/CBCGPListCtrl.h"
#include "frame/Link.h"
#include "graphics/Color.h"

class ListControl;
class ListItemCallBackData;

// The window object of a ListControl: answers the list's requests for item
// data through the draw-list-item link and turns the platform's
// notifications into the ListControl's calls.
class KSAPI ZnListCtrl : public CBCGPListCtrl
{
    friend class ListControl;

public:
    explicit ZnListCtrl(ListControl *pList);
    ListControl *GetListControl() const { return m_pList; }

    void SetDrawListItemHdl(Link const &rLink) { m_aDrawListItemHdl = rLink; }
    Link const &GetDrawListItemHdl() const { return m_aDrawListItemHdl; }
    void SetHeaderRightClickHdl(Link const &rLink) { m_aHeaderRightClickHdl = rLink; }
    void SetCustomDrawCells(bool b) { m_bCustomDrawCells = b; }
    bool GetCustomDrawCells() const { return m_bCustomDrawCells; }
    void EnableDelayedScrolling(bool b) { m_bDelayedScrolling = b; }
    void EnableKeyInput(bool b) { m_bKeyInput = b; }
    bool IsKeyInputEnabled() const { return m_bKeyInput; }
    void SetCellColor(Color const &rColor) { m_aCellColor = rColor; }
    // 0: the platform's own row height.
    void SetLineHeight(int nHeight) { m_nLineHeight = nHeight; }
    int GetLineHeight() const { return m_nLineHeight; }
    void SetEditingEnabled(bool b) { m_bEditing = b; }
    bool IsEditingEnabled() const { return m_bEditing; }

    // One report row, cells in header order: the texts through the link,
    // the small image in the first column, the selection in the highlight
    // colours; cells the application draws (custom drawing on) it leaves.
    virtual void DrawItem(DRAWITEMSTRUCT *lpDrawItemStruct);

    bool OnChildDrawItem(DRAWITEMSTRUCT *lpDrawItemStruct) override;
    bool OnChildNotify(unsigned int message, WPARAM wParam, LPARAM lParam, LRESULT *pResult) override;
    bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT *pResult) override;
    LRESULT WindowProc(unsigned int message, WPARAM wParam, LPARAM lParam) override;

    // The item's or cell's text as the link gives it ("No: n" / "Sub: n"
    // without one), and its image.
    SString ItemText(int nItem, int nSubItem, int *pImage = nullptr);
    // The first item from nStart on (wrapping) whose text starts with the
    // string, ignoring case; -1 when none does.
    int FindItem(char const *pText, int nStart);

protected:
    void PostNcDestroy() override;

private:
    // The link fills the record (the default texts without a link).
    void ImpAsk(ListItemCallBackData &rData);
    LRESULT ImpGetDispInfo(NMLVDISPINFOA *pInfo, bool bWide);
    LRESULT ImpCustomDraw(NMLVCUSTOMDRAW *pDraw);
    // The list's object went while a notification ran: destroy the control
    // when the notification is over.
    void ImpOrphan();

    ListControl *m_pList;
    Link m_aDrawListItemHdl;
    Link m_aHeaderRightClickHdl;
    Color m_aCellColor;
    int m_nLineHeight;
    int m_nDepth;
    // Inside the draw-list-item link: the list is drawing what it asks for,
    // so redraw requests from there would only repaint it forever.
    int m_nInLink;
    bool m_bCustomDrawCells;
    bool m_bDelayedScrolling;
    bool m_bKeyInput;
    bool m_bEditing;
    bool m_bOrphan;
};
