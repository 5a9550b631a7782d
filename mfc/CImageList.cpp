#include "mfc/CImageList.h"
#include "mfc/CBitmap.h"
#include "mfc/CDC.h"

IMPLEMENT_DYNAMIC(CImageList, CObject)

CImageList::~CImageList()
{
    DeleteImageList();
}

bool CImageList::Create(int cx, int cy, unsigned int nFlags, int nInitial, int nGrow)
{
    // The platform makes lists of any size it can allocate; a side below 1
    // would give a list that cannot hold an image.
    if (m_hImageList || cx < 1 || cy < 1 || nInitial < 0 || nGrow < 0)
        return false;
    return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

bool CImageList::Create(CImageList *pImageList)
{
    if (m_hImageList || !pImageList || !pImageList->m_hImageList)
        return false;
    return Attach(ImageList_Duplicate(pImageList->m_hImageList));
}

bool CImageList::Attach(HIMAGELIST hImageList)
{
    if (!hImageList || m_hImageList)
        return false;
    m_hImageList = hImageList;
    return true;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST h = m_hImageList;
    m_hImageList = nullptr;
    return h;
}

bool CImageList::DeleteImageList()
{
    if (!m_hImageList)
        return false;
    return ImageList_Destroy(Detach()) != FALSE;
}

int CImageList::Add(CBitmap *pbmImage, CBitmap *pbmMask)
{
    if (!m_hImageList || !pbmImage || !pbmImage->m_hObject)
        return -1;
    return ImageList_Add(m_hImageList, *pbmImage, pbmMask ? static_cast<HBITMAP>(*pbmMask) : nullptr);
}

int CImageList::Add(CBitmap *pbmImage, COLORREF crMask)
{
    if (!m_hImageList || !pbmImage || !pbmImage->m_hObject)
        return -1;
    return ImageList_AddMasked(m_hImageList, *pbmImage, crMask);
}

int CImageList::Add(HICON hIcon)
{
    if (!m_hImageList || !hIcon)
        return -1;
    return ImageList_AddIcon(m_hImageList, hIcon);
}

bool CImageList::Remove(int nImage)
{
    return m_hImageList && ImageList_Remove(m_hImageList, nImage);
}

int CImageList::GetImageCount() const
{
    return m_hImageList ? ImageList_GetImageCount(m_hImageList) : 0;
}

bool CImageList::SetImageCount(unsigned int uNewCount)
{
    return m_hImageList && ImageList_SetImageCount(m_hImageList, uNewCount);
}

bool CImageList::GetImageInfo(int nImage, IMAGEINFO *pImageInfo) const
{
    if (!m_hImageList || !pImageInfo || nImage < 0 || nImage >= GetImageCount())
        return false;
    return ImageList_GetImageInfo(m_hImageList, nImage, pImageInfo) != FALSE;
}

COLORREF CImageList::SetBkColor(COLORREF cr)
{
    return m_hImageList ? ImageList_SetBkColor(m_hImageList, cr) : CLR_NONE;
}

COLORREF CImageList::GetBkColor() const
{
    return m_hImageList ? ImageList_GetBkColor(m_hImageList) : CLR_NONE;
}

HICON CImageList::ExtractIcon(int nImage)
{
    if (!m_hImageList || nImage < 0 || nImage >= GetImageCount())
        return nullptr;
    return ImageList_GetIcon(m_hImageList, nImage, ILD_NORMAL);
}

bool CImageList::Draw(CDC *pDC, int nImage, POINT pt, unsigned int nStyle)
{
    if (!m_hImageList || !pDC || !pDC->m_hDC || nImage < 0 || nImage >= GetImageCount())
        return false;
    return ImageList_Draw(m_hImageList, nImage, pDC->m_hDC, pt.x, pt.y, nStyle) != FALSE;
}

bool CImageList::DrawIndirect(IMAGELISTDRAWPARAMS *pimldp)
{
    if (!m_hImageList || !pimldp || !pimldp->hdcDst || pimldp->i < 0 || pimldp->i >= GetImageCount())
        return false;
    pimldp->cbSize = sizeof(IMAGELISTDRAWPARAMS);
    pimldp->himl = m_hImageList;
    return ImageList_DrawIndirect(pimldp) != FALSE;
}
