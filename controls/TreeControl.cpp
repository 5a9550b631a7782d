#include "controls/TreeControl.h"

#include "controls/ZnTreeCtrl.h"
#include "frame/KSGlobal.h"
#include "frame/WinMsgRouter.h"
#include "mfc/CImageList.h"

namespace {

// Style bit of the library: selection shown without the focus, items
// underlined under the pointer.
int const TRACK_SELECT_STYLE = 0x100000;

} // namespace

TreeControl::TreeControl()
    : m_pTreeCtrl(nullptr), m_bImageListSet(false), m_pData(nullptr), m_bCanEditLabels(false),
      m_hOwnExpansion(nullptr), m_hDropMark(nullptr)
{
}

TreeControl::~TreeControl()
{
    if (WinMsgRouter *router = GlGetPWinMsgRouter()) {
        router->RemoveControl(this);
        router->RemoveWindow(this);
    }
    // The items go with the control: the model can tell why.
    if (m_pData)
        m_pData->SetIsInDestructor(true);
    if (m_pTreeCtrl && m_pTreeCtrl->m_nDepth > 0) {
        // Deleted from its own notification: the platform control is
        // still inside it, so it only hides now and asks nothing more.
        m_pTreeCtrl->ImpOrphan();
        GiveUpCWnd();
    } else if (m_pTreeCtrl) {
        if (m_pTreeCtrl->m_hWnd)
            m_pTreeCtrl->DestroyWindow();
        m_pTreeCtrl->m_pTree = nullptr;
    }
    // A model that outlives its tree must not reach the control object.
    if (m_pData && m_pData->GetPZnTreeCtrl() == m_pTreeCtrl)
        m_pData->SetPZnTreeCtrl(nullptr);
    m_pTreeCtrl = nullptr;
    m_pData = nullptr;
}

ZnTreeCtrl *TreeControl::NewPZnTreeCtrl()
{
    return new ZnTreeCtrl(this);
}

bool TreeControl::OwnPaintingAllowed() const
{
    return false;
}

bool TreeControl::Create(Window *pParent, TreeControlData *pData, int nStyle)
{
    if (m_pTreeCtrl)
        return false;
    int const id = pParent ? GetControlIdCnt() : 0;
    m_bCanEditLabels = false;
    m_bImageListSet = false;
    ImpSetParent(pParent);
    InitWindowBeforeCreate();
    ZnTreeCtrl *ctrl = NewPZnTreeCtrl();
    if (!ctrl)
        return false;
    unsigned long style = TranslateControlStyles(nStyle) | WS_CHILD | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT;
    if (nStyle & TRACK_SELECT_STYLE)
        style |= TVS_SHOWSELALWAYS | TVS_TRACKSELECT;
    RECT const rect{0, 0, 70, 20};
    if (!ctrl->Create(style, rect, pParent ? pParent->GetPCWnd() : nullptr, static_cast<unsigned int>(id))) {
        delete ctrl;
        return false;
    }
    m_pTreeCtrl = ctrl;
    InitWindowAfterCreate(ctrl, true);
    if (WinMsgRouter *router = GlGetPWinMsgRouter())
        router->AddControl(this);
    ctrl->SetExtendedStyle(TVS_EX_DOUBLEBUFFER, TVS_EX_DOUBLEBUFFER);
    ChangeTreeControlData(pData);
    return true;
}

void TreeControl::ChangeTreeControlData(TreeControlData *pData)
{
    if (m_pTreeCtrl) {
        // The items belong to the model that inserted them; none asks the
        // old model or the new one about items it does not know.
        TreeControlData *const old = m_pData;
        m_pData = nullptr;
        m_pTreeCtrl->DeleteAllItems();
        if (old && old != pData && old->GetPZnTreeCtrl() == m_pTreeCtrl)
            old->SetPZnTreeCtrl(nullptr);
    }
    m_pData = pData;
    if (!pData || !m_pTreeCtrl)
        return;
    pData->SetIsInDestructor(false);
    pData->SetPZnTreeCtrl(m_pTreeCtrl);
    pData->Attach(m_pTreeCtrl);
}

bool TreeControl::ValidItem(HTREEITEM hItem) const
{
    if (!hItem || !m_pTreeCtrl || !m_pTreeCtrl->m_hWnd)
        return false;
    // The control checks its handles: a stale one is refused here, before
    // it reaches the model.
    TVITEMA item{};
    item.mask = TVIF_HANDLE | TVIF_STATE;
    item.hItem = hItem;
    item.stateMask = TVIS_EXPANDED;
    return m_pTreeCtrl->GetItem(&item);
}

// ------------------------------------------------------------ navigation

HTREEITEM TreeControl::GetRootItem() const
{
    return m_pTreeCtrl ? m_pTreeCtrl->GetRootItem() : nullptr;
}

HTREEITEM TreeControl::GetChildItem(HTREEITEM hItem) const
{
    return ValidItem(hItem) ? m_pTreeCtrl->GetChildItem(hItem) : nullptr;
}

HTREEITEM TreeControl::GetFirstVisible() const
{
    return m_pTreeCtrl ? m_pTreeCtrl->GetNextItem(nullptr, TVGN_FIRSTVISIBLE) : nullptr;
}

HTREEITEM TreeControl::GetNextSibling(HTREEITEM hItem) const
{
    return ValidItem(hItem) ? m_pTreeCtrl->GetNextItem(hItem, TVGN_NEXT) : nullptr;
}

HTREEITEM TreeControl::GetPrevSibling(HTREEITEM hItem) const
{
    return ValidItem(hItem) ? m_pTreeCtrl->GetNextItem(hItem, TVGN_PREVIOUS) : nullptr;
}

HTREEITEM TreeControl::GetParentItem(HTREEITEM hItem) const
{
    return ValidItem(hItem) ? m_pTreeCtrl->GetNextItem(hItem, TVGN_PARENT) : nullptr;
}

HTREEITEM TreeControl::GetNextVisible(HTREEITEM hItem) const
{
    return ValidItem(hItem) ? m_pTreeCtrl->GetNextItem(hItem, TVGN_NEXTVISIBLE) : nullptr;
}

HTREEITEM TreeControl::GetPrevVisible(HTREEITEM hItem) const
{
    return ValidItem(hItem) ? m_pTreeCtrl->GetNextItem(hItem, TVGN_PREVIOUSVISIBLE) : nullptr;
}

HTREEITEM TreeControl::GetSelected() const
{
    return m_pTreeCtrl ? m_pTreeCtrl->GetSelectedItem() : nullptr;
}

HTREEITEM TreeControl::GetFirstSelected() const
{
    return GetSelected();
}

HTREEITEM TreeControl::GetNextSelected(HTREEITEM) const
{
    return nullptr;
}

void TreeControl::SelectAll(bool bSelect)
{
    if (!bSelect)
        Select(nullptr);
}

bool TreeControl::IsExpanded(HTREEITEM hItem) const
{
    return ValidItem(hItem) && (m_pTreeCtrl->GetItemState(hItem, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

unsigned int TreeControl::GetItemCount() const
{
    return m_pTreeCtrl ? m_pTreeCtrl->GetCount() : 0;
}

// ------------------------------------------------------------ expansion

bool TreeControl::Expand(HTREEITEM hItem)
{
    return ImpExpand(hItem, true);
}

bool TreeControl::Collapse(HTREEITEM hItem)
{
    return ImpExpand(hItem, false);
}

bool TreeControl::ImpExpand(HTREEITEM hItem, bool bExpand)
{
    if (!ValidItem(hItem) || IsExpanded(hItem) == bExpand)
        return ValidItem(hItem);
    // The platform tells of its own expansions only sometimes (the first
    // expansion, never a collapse under Wine): the model is told here,
    // exactly once, and the platform's notice of it is not passed on.
    ZnTreeCtrl *ctrl = m_pTreeCtrl;
    ++ctrl->m_nDepth;
    HTREEITEM const outer = m_hOwnExpansion;
    m_hOwnExpansion = hItem;
    bool ok = true;
    if (m_pData) {
        if (bExpand && !m_pData->HasChildren(hItem))
            ok = false;
        else if (bExpand)
            m_pData->Expand(hItem);
        else
            m_pData->Collapse(hItem);
    }
    // The model may have deleted the tree or the item.
    bool const alive = ctrl->m_pTree == this;
    if (alive && ok && ValidItem(hItem)) {
        if (bExpand)
            ok = ctrl->Expand(hItem, TVE_EXPAND);
        else if (ctrl->GetChildItem(hItem))
            ctrl->Expand(hItem, TVE_COLLAPSE);
        // A collapse whose model took the children away leaves the item
        // marked expanded (Wine): it is not.
        if (!bExpand)
            ctrl->SetItemState(hItem, 0, TVIS_EXPANDED);
    }
    --ctrl->m_nDepth;
    if (!alive) {
        // Its posted destruction waited for this call to end.
        return false;
    }
    m_hOwnExpansion = outer;
    return ok && ValidItem(hItem) && IsExpanded(hItem) == bExpand;
}

// ------------------------------------------------------------ selection and display

bool TreeControl::Select(HTREEITEM hItem)
{
    if (!m_pTreeCtrl || (hItem && !ValidItem(hItem)))
        return false;
    return m_pTreeCtrl->Select(hItem, TVGN_CARET);
}

bool TreeControl::SelectSetFirstVisible(HTREEITEM hItem)
{
    return ValidItem(hItem) && m_pTreeCtrl->Select(hItem, TVGN_FIRSTVISIBLE);
}

bool TreeControl::SetDropHighlight(HTREEITEM hItem)
{
    if (!ValidItem(hItem))
        return false;
    ClearDropHighlight();
    m_pTreeCtrl->Select(hItem, TVGN_DROPHILITE);
    // Wine takes no drop target that is the caret item: it is marked here.
    if (!m_pTreeCtrl->GetItemState(hItem, TVIS_DROPHILITED))
        m_pTreeCtrl->SetItemState(hItem, TVIS_DROPHILITED, TVIS_DROPHILITED);
    m_hDropMark = hItem;
    return m_pTreeCtrl->GetItemState(hItem, TVIS_DROPHILITED) != 0;
}

void TreeControl::ClearDropHighlight()
{
    if (!m_pTreeCtrl)
        return;
    m_pTreeCtrl->Select(nullptr, TVGN_DROPHILITE);
    // Wine keeps its drop target while no item is the caret, and a mark
    // set by hand is not its own: both lose the mark here.
    for (HTREEITEM h : {m_pTreeCtrl->GetDropHilightItem(), m_hDropMark})
        if (h && m_pTreeCtrl->GetItemState(h, TVIS_DROPHILITED))
            m_pTreeCtrl->SetItemState(h, 0, TVIS_DROPHILITED);
    m_hDropMark = nullptr;
}

bool TreeControl::EnsureVisible(HTREEITEM hItem)
{
    return ValidItem(hItem) && m_pTreeCtrl->EnsureVisible(hItem);
}

void TreeControl::UpdateItem(HTREEITEM hItem)
{
    if (ValidItem(hItem))
        m_pTreeCtrl->UpdateItem(hItem);
}

// ------------------------------------------------------------ labels and images

void TreeControl::SetCanEditLabels(bool bCan)
{
    m_bCanEditLabels = bCan;
    if (m_pTreeCtrl)
        m_pTreeCtrl->ModifyStyle(bCan ? 0 : TVS_EDITLABELS, bCan ? TVS_EDITLABELS : 0);
}

bool TreeControl::EditLabel(HTREEITEM hItem)
{
    if (!ValidItem(hItem))
        return false;
    m_pTreeCtrl->ModifyStyle(0, TVS_EDITLABELS);
    ::SetFocus(m_pTreeCtrl->m_hWnd);
    return m_pTreeCtrl->EditLabel(hItem) != nullptr;
}

void TreeControl::SetImageList(CImageList *pList)
{
    if (!m_pTreeCtrl)
        return;
    m_pTreeCtrl->SetImageList(pList && pList->GetSafeHandle() ? pList : nullptr, TVSIL_NORMAL);
    m_bImageListSet = pList && pList->GetSafeHandle();
}

// ------------------------------------------------------------ the application's operations

void TreeControl::OnItemLClick(HTREEITEM, Point const &, unsigned int) {}
void TreeControl::OnItemDoubleClick(HTREEITEM, unsigned int) {}
void TreeControl::OnItemRClick(HTREEITEM, Point const &, unsigned int) {}
void TreeControl::OnSelectionChanged(HTREEITEM) {}
void TreeControl::OnBeginDrag(HTREEITEM, Point const &) {}
void TreeControl::OnEndLabelEdit(HTREEITEM, char *) {}
