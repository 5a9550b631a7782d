#pragma once
#include "frame/Link.h"
#include "graphics/CRectangle.h"
#include "graphics/Color.h"
#include "graphics/Font.h"
#include "graphics/Point.h"
#include "text/SString.h"
#include "window/Control.h"

#include <windef.h>

class CImageList;
class CListCtrl;
class ZnListCtrl;

// A list view that holds no items: the application says how many there are
// (SetItemCount) and gives each item's text and image when the list asks,
// through the draw-list-item link (its argument: a ListItemCallBackData*).
// Clicks, selection, label edits and drawing stages come back as calls of
// the virtual operations below, whose defaults do nothing.
//
// Every item and column operation takes indices as they are: one below 0 or
// past the count does nothing and answers -1, false or an empty rectangle.
// The list may be deleted from its own link or virtual operation: it hides
// at once, and its platform control goes when the notification is over.
// Redraws asked from inside the draw-list-item link are left out: the list
// is drawing that very data.
class KSAPI ListControl : public Control
{
    friend class ZnListCtrl;

public:
    ListControl(Window *pParent, int nStyle);
    ~ListControl() override;

    CListCtrl *GetPCListCtrl() const;

    // --- items; a negative count is 0
    void SetItemCount(int nCount);
    int GetItemCount() const;
    void SetDrawListItemHdl(Link const &rLink);
    void RedrawItem(int nItem);
    void RedrawItems(int nFirst, int nLast);
    void RedrawVisibleItems();
    void InvalidateItem(int nItem);
    // Invalidated and painted at once.
    void RepaintItem(int nItem);
    void Refresh();
    void EnsureVisible(int nItem);
    bool IsItemVisible(int nItem) const;
    int GetTopIndex() const;
    void SetTopIndex(int nItem);
    int GetCountPerPage() const;
    CRectangle GetItemRect(int nItem);
    CRectangle GetCellRect(int nItem, int nColumn);
    // The item whose row holds the y position of the client area, or -1.
    int GetRowOfYPos(int nY) const;
    // The column (by index) of the cell of that item row at x, or -1.
    int GetColumnOfXPos(int nItem, int nX) const;
    // The column (by index) whose header spans x, or -1.
    int GetColumnIndexByXPixel(int nX) const;

    // --- columns; the third argument of InsertColumn is not used
    int InsertColumn(int nCol, SString const &rTitle, int nFormat, int nWidth, int nOrder);
    void DeleteColumn(int nCol);
    int SetColumnText(int nCol, SString const &rTitle);
    int SetColumnWidth(int nCol, int nWidth);
    int GetNColumns() const;
    // Called with the column under the pointer (an int*, -1 beside them)
    // when the header is right-clicked.
    void SetHeaderRightClickHdl(Link const &rLink);

    // --- selection
    void Select(int nItem, bool bExclusive);
    int SelectAll();
    void ClearSelection();
    int GetSelected() const;
    bool GetTwoSelected(int &rFirst, int &rSecond);
    int CountSelected() const;
    bool IsSelected(int nItem) const;
    void SetShowSelAlways(bool bShow);
    void SetCut(int nItem);
    void SetDropHighlight(int nItem);
    void ClearDropHighlight();

    // --- views: 0 symbols, 1 report, 2 small symbols, 3 list, 4 tile
    void SetViewStyle(int nStyle);
    int GetViewStyle() const;
    void ViewList();
    void ViewReport();
    // Spacings of the icons; 0 takes the control's own.
    void ViewSymbols(int nXSpacing, int nYSpacing);
    void ViewSmallSymbols(int nXSpacing, int nYSpacing);
    // Tiles: the item's label with the columns the link names under it,
    // nLines of them (0: as many as the link gives); nWidth the tile width
    // (0: the control's own).
    void ViewTile(int nWidth, int nLines);
    bool IsList() const { return GetViewStyle() == 3; }
    bool IsReport() const { return GetViewStyle() == 1; }
    bool IsSymbols() const { return GetViewStyle() == 0; }
    bool IsSmallSymbols() const { return GetViewStyle() == 2; }
    bool IsTile() const { return GetViewStyle() == 4; }
    void ArrangeIcons();
    // Platform list-view styles (LVS_…) added to the control's.
    void SetListStyle(int nStyle);
    // The height of the report rows.
    void SetLineHeightPixel(int nHeight);
    void SetLargeImageList(CImageList *pList);
    void SetSmallImageList(CImageList *pList);
    void SetFont(Font aFont);

    // --- editing and input
    void EnableLabelEditing(bool bEnable);
    bool IsEditingEnabled() const;
    void EditLabel(int nItem);
    // Typing finds the first item from the focused one on whose text starts
    // with what was typed.
    void EnableKeyInput(bool bEnable);
    void EnableDelayedScrolling(bool bEnable);
    void SetCustomDrawCells(bool bCustom);
    // Tool tips over the items after nDelay ms, with GetToolTipText's text.
    void EnableToolTips(int nDelay);
    void DisableToolTips();

    // --- for the application
    virtual void OnItemClick(int nItem, int nSubItem, unsigned int nKeyFlags, bool bRight);
    virtual void OnItemRClick(int nItem, int nSubItem, unsigned int nKeyFlags, bool bRight, Point const &rPoint);
    virtual void OnItemDoubleClick(int nItem, unsigned int nKeyFlags, bool bRight);
    virtual void OnColumnClick(int nColumn);
    virtual void OnItemSelected(int nItem);
    // The edited text, or null when the edit was cancelled.
    virtual void OnEndLabelEdit(int nItem, char *pText);
    virtual void OnBeginDrag(int nItem, Point const &rPoint);
    virtual void OnKeyInput(char const *const pText);
    virtual void OnPrePaint(HDC hDC);
    virtual void OnItemPrePaint(HDC hDC, int nItem);
    virtual void OnPostPaint(HDC hDC);
    // True when it drew the cell itself (the list then leaves it alone).
    virtual bool OnCustomDrawCell(HDC hDC, int nItem, int nSubItem, CRectangle const &rRect, Color const &rColor,
                                  bool bSelected) const;
    virtual void OnCustomDrawText(HDC hDC, int nItem, int nSubItem, SString const &rText, CRectangle const &rRect,
                                  bool bSelected);
    // True when OnCustomDrawText draws the cells' texts.
    virtual bool HasCustomDrawText() const;
    virtual void OnPushToolTip();
    virtual void OnPopToolTip();
    virtual SString GetToolTipText(int nItem);

protected:
    ListControl();
    void InitListControl(Window *pParent, int nStyle, int nId);
    void CreateCListCtrl(CWnd *pParent, int nStyle, int nId);
    // Shows the sort state of the column (an arrow in its header) and none
    // in the others; -1 shows none at all.
    void OnSorted(int nColumn, bool bAscending);
    virtual int GetSymbolsXSpacing() const;
    virtual int GetSymbolsYSpacing() const;
    virtual int GetSmallSymbolsXSpacing() const;
    virtual int GetSmallSymbolsYSpacing() const;
    virtual int GetTileXSpacing() const;
    virtual int GetTileYSpacing() const;

private:
    bool OwnPaintingAllowed() const override;
    bool ValidItem(int nItem) const;
    // Asked from inside the draw-list-item link: redraws are left out.
    bool InLink() const;
    bool ValidColumn(int nCol) const;
    void ImpInstallImageLists();
    void ImpAttachHeader();

    ZnListCtrl *pListCtrl;
    bool bImageListsSet;
    bool bHeaderAttached;
    int nLastClickedColumn;
    int nViewStyle;
    int nTileLines;
    CImageList *pDefaultLarge;
    CImageList *pDefaultSmall;
};
