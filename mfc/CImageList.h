#pragma once
#include "frame/Kestrel5Api.h"
#include "mfc/CObject.h"

#include <windows.h>
#include <commctrl.h>

class CBitmap;
class CDC;

// Owner of one common-controls image list: destroyed with the wrapper
// unless detached first.
class KSAPI CImageList : public CObject
{
    DECLARE_DYNAMIC(CImageList)
public:
    CImageList() : m_hImageList(nullptr) {}
    ~CImageList() override;
    CImageList(CImageList const &) = delete;
    CImageList &operator=(CImageList const &) = delete;

    HIMAGELIST m_hImageList;

    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return m_hImageList; }

    // False when a list is held already or the platform refuses the list.
    bool Create(int cx, int cy, unsigned int nFlags, int nInitial, int nGrow);
    // A copy of the other's images, flags and size.
    bool Create(CImageList *pImageList);
    // Takes ownership; false when a list is held already or h is null.
    bool Attach(HIMAGELIST hImageList);
    HIMAGELIST Detach();
    bool DeleteImageList();

    // The index of the first image added, -1 when nothing was added.
    int Add(CBitmap *pbmImage, CBitmap *pbmMask);
    int Add(CBitmap *pbmImage, COLORREF crMask);
    int Add(HICON hIcon);
    bool Remove(int nImage);

    int GetImageCount() const;
    bool SetImageCount(unsigned int uNewCount);
    bool GetImageInfo(int nImage, IMAGEINFO *pImageInfo) const;
    COLORREF SetBkColor(COLORREF cr);
    COLORREF GetBkColor() const;
    // A new icon of the image that the caller destroys; null for a bad index.
    HICON ExtractIcon(int nImage);

    bool Draw(CDC *pDC, int nImage, POINT pt, unsigned int nStyle);
    // The structure's size and list are filled in here.
    bool DrawIndirect(IMAGELISTDRAWPARAMS *pimldp);
};
