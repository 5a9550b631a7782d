#pragma once
// A list of equally sized images on a common-controls image list. The copies
// of an ImageList are one list, as handles are: an image added through any
// copy is seen by all of them, and the last copy destroys the platform list
// when it made the list itself. A list given from outside is wrapped, never
// destroyed.
#include "frame/Kestrel5Api.h"
#include "graphics/Bitmap.h"
#include "graphics/Color.h"

#include <windef.h>

namespace Gdiplus {
class Bitmap;
}
class CImageList;
class DirEntry;
class OutputDevice;

// The body the copies of one ImageList share (in ImageList.cpp).
struct ImageListBody;

class KSAPI ImageList
{
public:
    ImageList();
    // Wraps the list without owning it; Add makes the platform list in the
    // wrapped object when it has none yet.
    explicit ImageList(CImageList *pList);
    ImageList(ImageList const &rOther);
    ImageList &operator=(ImageList const &rOther);
    ~ImageList();

    // Each Add answers the index of the first image added, -1 when nothing
    // was added. The first image of an empty list gives the list its size;
    // a wider bitmap then adds as many images as it holds widths.
    //
    // A device-dependent list; a GDI+ image is flattened onto magenta.
    int Add(Bitmap const &rBitmap);
    // The same with a mask: pixels of the mask colour stay transparent.
    int Add(Bitmap const &rBitmap, Color const &rMask);
    // A 32-bit list of nSize x nSize images; transparent and magenta pixels
    // stay transparent.
    int AddGdiplusBitmap(Gdiplus::Bitmap *pImage, int nSize);
    // A PNG resource of aResHandle; its height is the size of the images.
    int AddPng(unsigned int nResId);
    // PNG files are not read into image lists: always -1.
    int AddPng(DirEntry const &rFile);
    // An icon resource of aResHandle, drawn on magenta and masked with it.
    int AddIcon(unsigned int nResId);
    // The icon drawn on rBack and masked with it; the icon stays the
    // caller's.
    int AddIcon(HICON hIcon, Color const &rBack);

    int Count() const;
    // The image drawn into a device of its size compatible with pDev (with
    // the screen without one); transparent pixels come back magenta. Empty
    // for an empty list or an index out of range.
    Bitmap GetBitmap(int nIndex, OutputDevice *pDev) const;
    // The platform list (null until the first image).
    CImageList *GetPCImageList() const;
    // This copy wraps the list from now on (see the constructor); the other
    // copies keep the list they had.
    void SetAsWrap(CImageList *pList);

    // The module the image resources (bitmaps, PNGs, icons) are loaded
    // from: the program's own until SetKSMainFrame names another.
    static HINSTANCE aResHandle;

private:
    void Release();
    // The body's platform list, made with these parameters when missing.
    CImageList *ImpList(int cx, int cy, unsigned int nFlags, int nInitial, int nGrow);

    ImageListBody *m_pBody;
};
