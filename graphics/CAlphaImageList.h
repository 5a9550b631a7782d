#pragma once
// Images of tool buttons in three states (normal, hot, disabled) on three
// common-controls image lists. Lists of 24 or 32 bits hold a list per state;
// on a list of 4 bits only the normal list exists and a disabled image is
// embossed from it while drawing.
#include "frame/Kestrel5Api.h"
#include "mfc/CImageList.h"
#include "mfc/CPoint.h"
#include "mfc/CSize.h"

class CDC;

class KSAPI CAlphaImageList
{
public:
    enum
    {
        STATE_NORMAL = 0,
        STATE_HOT = 1,
        STATE_DISABLED = 2
    };

    CAlphaImageList();
    ~CAlphaImageList();
    CAlphaImageList(CAlphaImageList const &) = delete;
    CAlphaImageList &operator=(CAlphaImageList const &) = delete;

    // Drops the lists there were, then makes lists of cx x cy images:
    // alpha mode 1 gives the three lists in 32 bits (24 before version 6 of
    // the common controls), any other mode only the normal list in 4 bits.
    // nGrow is the number of images made room for at once. 1 on success,
    // 0 when the sides are below 1 or the platform refuses a list.
    int Create(int cx, int cy, int nAlphaMode, int nGrow);
    // A bitmap resource of ImageList::aResHandle holding a strip of images
    // cx wide, magenta where transparent, added to every list: the same
    // strip as hot image, and as disabled image a grey copy of it. The
    // index of its first image, -1 when nothing was added.
    int AddBitmap(unsigned int nResId);
    int Count() const;
    // Draws image nIndex in the state (see the enumeration) at pt; false
    // when nothing was drawn (before Create, a bad index or state, a state
    // the list cannot show).
    bool Draw(CDC *pDC, CPoint pt, int nState, int nIndex);

    // The platform list of state 0, 1 or 2; null for other states and for a
    // list that does not exist.
    CImageList *GetImageList(int nState);
    // rList gets a copy of that list of its own (what it held before is
    // destroyed); false, and rList empty, when there is none.
    bool GetImageList(int nState, CImageList &rList);
    CSize GetSize() const { return CSize(m_nWidth, m_nHeight); }
    // The colour depth the lists were made with: 32, 24 or 4; 0 before
    // Create.
    int GetBitsPerPixel() const { return m_nBits; }

private:
    void ImpDelete();
    bool ImpEmboss(CDC *pDC, CPoint pt, int nIndex);

    CImageList m_aLists[3];
    int m_nWidth;
    int m_nHeight;
    int m_nBits;
};
