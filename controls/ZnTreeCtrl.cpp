#include "controls/ZnTreeCtrl.h"
#include "controls/OrphanedControl.h"

#include "controls/TreeControl.h"
#include "controls/TreeControlData.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Copies the text into a buffer of nMax bytes; a text that does not fit is
// cut to nMax - 1 bytes, or one less where that would split a double-byte
// character of the code page.
void CopyCut(SString const &rText, char *pBuf, int nMax)
{
    if (!pBuf || nMax <= 0)
        return;
    size_t const len = rText.Len();
    size_t const room = size_t(nMax - 1);
    char const *s = rText.GetStr();
    size_t n = len;
    if (len > room) {
        n = 0;
        for (;;) {
            size_t const step = IsDBCSLeadByte(BYTE(s[n])) && n + 1 < len ? 2 : 1;
            if (n + step > room)
                break;
            n += step;
        }
    }
    std::memcpy(pBuf, s, n);
    pBuf[n] = '\0';
}

void CopyCut(SString const &rText, wchar_t *pBuf, int nMax)
{
    if (!pBuf || nMax <= 0)
        return;
    int const len = int(rText.Len());
    int const need = len ? MultiByteToWideChar(CP_ACP, 0, rText.GetStr(), len, nullptr, 0) : 0;
    std::vector<wchar_t> all(size_t(std::max(need, 0)) + 1, L'\0');
    if (need > 0)
        MultiByteToWideChar(CP_ACP, 0, rText.GetStr(), len, all.data(), need);
    int k = std::min(std::max(need, 0), nMax - 1);
    // A surrogate pair is not split either.
    if (k > 0 && k < need && all[size_t(k - 1)] >= 0xD800 && all[size_t(k - 1)] <= 0xDBFF)
        --k;
    std::copy(all.begin(), all.begin() + k, pBuf);
    pBuf[k] = L'\0';
}

std::string Narrow(wchar_t const *p)
{
    if (!p)
        return std::string();
    int const n = WideCharToMultiByte(CP_ACP, 0, p, -1, nullptr, 0, nullptr, nullptr);
    std::string s(size_t(n > 0 ? n : 1), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_ACP, 0, p, -1, s.data(), n, nullptr, nullptr);
    s.resize(std::strlen(s.c_str()));
    return s;
}

// Posted when a label edit has ended, for what must wait until the edit is
// closed.
UINT LabelEditedMessage()
{
    static UINT const message = RegisterWindowMessageA("Kestrel5 tree control label edited");
    return message;
}

} // namespace

ZnTreeCtrl::ZnTreeCtrl(TreeControl *pTree) : m_nDepth(0), m_pTree(pTree), m_bOrphan(false) {}

void ZnTreeCtrl::ImpOrphan()
{
    m_pTree = nullptr;
    m_bOrphan = true;
    OrphanedControl::Orphan(m_hWnd);
}

void ZnTreeCtrl::PostNcDestroy()
{
    CTreeCtrl::PostNcDestroy();
    if (m_bOrphan)
        delete this;
}

LRESULT ZnTreeCtrl::WindowProc(unsigned int message, WPARAM wParam, LPARAM lParam)
{
    if (OrphanedControl::Handle(*this, message, m_bOrphan, m_nDepth))
        return 0;
    if (message == LabelEditedMessage()) {
        if (m_pTree) {
            // Asked to edit once (EditLabel) while labels are not editable:
            // they are not editable from here on either.
            if (!m_pTree->m_bCanEditLabels)
                ModifyStyle(TVS_EDITLABELS, 0);
            // The label shows what the model says now, not what was typed.
            UpdateItem(reinterpret_cast<HTREEITEM>(lParam));
        }
        return 0;
    }
    return CTreeCtrl::WindowProc(message, wParam, lParam);
}

void ZnTreeCtrl::DeleteAllChildren(HTREEITEM hItem)
{
    if (!hItem)
        return;
    for (HTREEITEM child = GetChildItem(hItem); child;) {
        HTREEITEM const next = GetNextSiblingItem(child);
        if (!DeleteItem(child))
            break;
        child = next;
    }
}

bool ZnTreeCtrl::HasVisibleChild(HTREEITEM hItem) const
{
    HTREEITEM const child = hItem ? GetChildItem(hItem) : nullptr;
    return child && GetNextItem(hItem, TVGN_NEXTVISIBLE) == child;
}

void ZnTreeCtrl::UpdateItem(HTREEITEM hItem)
{
    if (!hItem || !m_hWnd)
        return;
    // Setting the callbacks again makes the control forget the text width
    // it measured, so that a longer text is not clipped to the old one.
    TVITEMA item{};
    item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    item.hItem = hItem;
    item.pszText = LPSTR_TEXTCALLBACKA;
    item.iImage = I_IMAGECALLBACK;
    item.iSelectedImage = I_IMAGECALLBACK;
    item.cChildren = I_CHILDRENCALLBACK;
    if (!SetItem(&item))
        return;
    RECT r;
    if (GetItemRect(hItem, &r, false))
        ::InvalidateRect(m_hWnd, &r, TRUE);
}

HTREEITEM ZnTreeCtrl::GetClickItem(CPoint &rPoint, unsigned int &rFlags)
{
    POINT pt{0, 0};
    ::GetCursorPos(&pt);
    if (m_hWnd)
        ::ScreenToClient(m_hWnd, &pt);
    rPoint = CPoint(pt.x, pt.y);
    TVHITTESTINFO hit{};
    hit.pt = pt;
    HTREEITEM const item = HitTest(&hit);
    rFlags = hit.flags;
    return item;
}

LRESULT ZnTreeCtrl::ImpGetDispInfo(NMTVDISPINFOA *pInfo, bool bWide)
{
    TVITEMA &item = pInfo->item;
    // Whatever the model does not answer (none attached, or it went with
    // its tree inside one of its answers) is empty: the platform hands
    // over fields it has not initialised.
    bool const text = (item.mask & TVIF_TEXT) && item.pszText && item.cchTextMax > 0;
    if (text) {
        if (bWide)
            CopyCut(SString(), reinterpret_cast<wchar_t *>(item.pszText), 1);
        else
            CopyCut(SString(), item.pszText, 1);
    }
    if (item.mask & TVIF_IMAGE)
        item.iImage = 0;
    if (item.mask & TVIF_SELECTEDIMAGE)
        item.iSelectedImage = 0;
    if (item.mask & TVIF_CHILDREN)
        item.cChildren = 0;
    auto model = [this] { return m_pTree ? m_pTree->m_pData : nullptr; };
    if (text && model()) {
        SString const s = model()->GetText(item.hItem);
        if (bWide)
            CopyCut(s, reinterpret_cast<wchar_t *>(item.pszText), item.cchTextMax);
        else
            CopyCut(s, item.pszText, item.cchTextMax);
    }
    if ((item.mask & TVIF_IMAGE) && model())
        item.iImage = model()->GetImageInx(item.hItem);
    if ((item.mask & TVIF_SELECTEDIMAGE) && model())
        item.iSelectedImage = model()->GetSelectedImageInx(item.hItem);
    if ((item.mask & TVIF_CHILDREN) && model())
        item.cChildren = model()->HasChildren(item.hItem) & 0xFF;
    return 0;
}

void ZnTreeCtrl::ImpEndLabelEdit(NMTVDISPINFOA *pInfo, bool bWide)
{
    HTREEITEM const hItem = pInfo->item.hItem;
    std::string text;
    char *p = pInfo->item.pszText;
    if (bWide && p) {
        text = Narrow(reinterpret_cast<wchar_t const *>(p));
        p = text.data();
    }
    m_pTree->OnEndLabelEdit(hItem, p);
    // The edit is still open while this notification runs (a style change
    // now would end it a second time): the rest follows once it closed.
    if (m_pTree && m_hWnd)
        ::PostMessageA(m_hWnd, LabelEditedMessage(), 0, reinterpret_cast<LPARAM>(hItem));
}

bool ZnTreeCtrl::OnChildNotify(unsigned int message, WPARAM, LPARAM lParam, LRESULT *pResult)
{
    if (message != WM_NOTIFY || !m_pTree)
        return false;
    auto *hdr = reinterpret_cast<NMHDR *>(lParam);
    ++m_nDepth;
    bool handled = true;
    LRESULT result = 0;
    switch (hdr->code) {
    case TVN_GETDISPINFOA:
    case TVN_GETDISPINFOW:
        // Both structures have the same layout; only the text differs.
        result = ImpGetDispInfo(reinterpret_cast<NMTVDISPINFOA *>(lParam), hdr->code == TVN_GETDISPINFOW);
        break;
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW: {
        auto const *tv = reinterpret_cast<NMTREEVIEWA const *>(lParam);
        HTREEITEM const item = tv->itemNew.hItem;
        // The tree's own Expand and Collapse told the model already.
        if (item && item != m_pTree->m_hOwnExpansion)
            if (TreeControlData *data = m_pTree->m_pData) {
                if ((tv->action & TVE_TOGGLE) == TVE_EXPAND) {
                    data->Expand(item);
                } else {
                    data->Collapse(item);
                    // Wine leaves an item whose children went in here
                    // marked expanded, and it could never expand again.
                    if (!GetChildItem(item))
                        SetItemState(item, 0, TVIS_EXPANDED);
                }
            }
        result = FALSE; // never vetoed
        break;
    }
    case NM_CLICK:
    case NM_DBLCLK:
    case NM_RCLICK:
    case TVN_BEGINDRAGA:
    case TVN_BEGINDRAGW: {
        CPoint pt;
        unsigned int flags = 0;
        HTREEITEM const item = GetClickItem(pt, flags);
        Point const where(pt.x, pt.y);
        if (hdr->code == NM_CLICK)
            m_pTree->OnItemLClick(item, where, flags);
        else if (hdr->code == NM_DBLCLK)
            m_pTree->OnItemDoubleClick(item, flags);
        else if (hdr->code == NM_RCLICK)
            m_pTree->OnItemRClick(item, where, flags);
        else
            m_pTree->OnBeginDrag(item, where);
        break;
    }
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
        m_pTree->OnSelectionChanged(reinterpret_cast<NMTREEVIEWA const *>(lParam)->itemNew.hItem);
        break;
    case TVN_ENDLABELEDITA:
    case TVN_ENDLABELEDITW:
        ImpEndLabelEdit(reinterpret_cast<NMTVDISPINFOA *>(lParam), hdr->code == TVN_ENDLABELEDITW);
        // The control keeps no texts: the model takes the new one.
        result = FALSE;
        break;
    default:
        handled = false;
    }
    --m_nDepth;
    *pResult = result;
    return handled;
}
