#include "controls/TreeControlData.h"

#include "controls/ZnTreeCtrl.h"

TreeControlData::TreeControlData() : m_pTreeCtrl(nullptr), m_bIsInDestructor(false) {}

TreeControlData::~TreeControlData() = default;

int TreeControlData::GetImageInx(HTREEITEM)
{
    return 0;
}

int TreeControlData::GetSelectedImageInx(HTREEITEM)
{
    return 0;
}

HTREEITEM TreeControlData::InsertNode(HTREEITEM hParent, HTREEITEM hInsertAfter)
{
    if (!m_pTreeCtrl || !m_pTreeCtrl->m_hWnd)
        return nullptr;
    TVINSERTSTRUCTA insert{};
    insert.hParent = hParent ? hParent : TVI_ROOT;
    insert.hInsertAfter = hInsertAfter ? hInsertAfter : TVI_LAST;
    TVITEMA &item = insert.item;
    item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    item.pszText = LPSTR_TEXTCALLBACKA;
    item.iImage = I_IMAGECALLBACK;
    item.iSelectedImage = I_IMAGECALLBACK;
    item.cChildren = I_CHILDRENCALLBACK;
    return m_pTreeCtrl->InsertItem(&insert);
}

bool TreeControlData::RemoveNode(HTREEITEM hItem)
{
    return m_pTreeCtrl && m_pTreeCtrl->DeleteItem(hItem);
}
