#pragma once
// The library's image value: a shared body holding either a GDI bitmap or a
// GDI+ image. Copies share the body; the last holder frees the image and the
// GDI handle made from it.
#include "base/ERRCODE.h"
#include "frame/Kestrel5Api.h"
#include "graphics/Color.h"
#include "graphics/FPoint.h"
#include "graphics/FSize.h"
#include "graphics/Size.h"
#include "text/SString.h"

#include <vector>
#include <windef.h>
#include <wingdi.h>

namespace Gdiplus {
class Bitmap;
}
class CBitmap;
class DirEntry;
class OutputDevice;

// The body the copies of one Bitmap share (in Bitmap.cpp).
struct BitmapBody;

// The sides a bitmap may have at most, in files and in transformations: one
// more and the image is refused rather than made.
constexpr int BITMAP_MAX_SIDE = 16384;

class KSAPI Bitmap
{
public:
    Bitmap();
    // A bitmap resource of ImageList::aResHandle; empty when there
    // is none of that id.
    Bitmap(unsigned int const &nResId);
    // A private copy of the handle's pixels; the handle stays the caller's.
    Bitmap(HBITMAP hBitmap);
    Bitmap(CBitmap *pBitmap);
    // A 32-bit ARGB clone of the whole image; the image stays the caller's.
    Bitmap(Gdiplus::Bitmap *pImage);
    Bitmap(Bitmap const &rOther);
    Bitmap &operator=(Bitmap const &rOther);
    virtual ~Bitmap();

    // No image, or one of width or height 0 (a GDI+ image that failed to
    // load, too).
    bool Empty() const;
    Size GetSize() const;
    Size GetSizePixel() const { return GetSize(); }
    int GetHeight() const { return GetSize().Height(); }
    bool IsGdiplusBitmap() const;

    // A GDI+ image flattened onto the opaque background back, made on the
    // first call and kept by the body (later calls get that one, whatever
    // their background); for a GDI image its own handle. Owned by the body.
    HBITMAP GetHBitmap(Color const &rBack) const;
    operator HBITMAP() const;
    // A wrapper of GetHBitmap's handle; valid while the body lives.
    CBitmap *GetPTempCBitmap(Color const &rBack) const;
    Gdiplus::Bitmap *GetPGdiplusBitmap() const;
    // The handle becomes this bitmap's only image (owned); null empties it.
    void SetHBitmap(HBITMAP hBitmap);
    void Delete();

    // The same body: copies compare equal, two loads of one file do not.
    bool operator==(Bitmap const &rOther) const { return m_pBody == rOther.m_pBody; }
    bool operator!=(Bitmap const &rOther) const { return m_pBody != rOther.m_pBody; }

    // jpg, jpeg, png, tif, tiff and gif (in any case) through GDI+, anything
    // else as a BMP file. ERRCODE_OK also when GDI+ refused the file: the
    // image then keeps GDI+'s status and is Empty(). ERRCODE_FAILED, and no
    // image, for what is refused before a platform reader sees it: a BMP
    // file whose header does not hold, a GIF frame over the side limit or
    // larger than its data could fill; also for a BMP the platform does not
    // read.
    ERRCODE Load(DirEntry const &rFile);
    // The same choice by extension; a GIF is written 8-bit indexed.
    ERRCODE Save(DirEntry const &rFile) const;
    static bool IsValidExtension(SString const &rExt);
    // The frames as one GIF that loops forever, each shown nDelay
    // milliseconds (rounded to hundredths of a second, at most 32767). The
    // logical screen is as wide as the widest frame and as high as the
    // highest; every frame lies at its top left corner. Each frame is
    // reduced to 256 colours by the platform (the eight pure colours stay
    // exact). ERRCODE_FAILED, and no file, for no frames, an empty frame or
    // one over the side limit.
    static ERRCODE SaveAnimatedGif(DirEntry const &rFile, std::vector<Bitmap> const &rFrames, int nDelay);

    // A PNG resource of type "PNG" of ImageList::aResHandle, as a
    // GDI+ image; the same flattened onto magenta as a GDI image.
    static Bitmap FromPngRes(unsigned int const &nResId);
    static Bitmap BMPFromPngRes(unsigned int const &nResId);
    // The image as JPEG (quality 90) in a buffer of new[] that the caller
    // deletes with delete[]; null and size 0 for an empty bitmap.
    unsigned char *CreateJPEGData(int &rSize) const;
    // Replaces the image by the JPEG in the bytes; ERRCODE_FAILED, and an
    // empty bitmap, for anything that is not a readable JPEG.
    ERRCODE ConstructFromJPEGData(void const *pData, int nSize);
    // A packed device-independent copy in global memory that the caller
    // frees with GlobalFree; null for an empty bitmap.
    HGLOBAL CreateDIB() const;
    // A fully transparent 32-bit ARGB GDI+ image.
    static Bitmap CreateTransparentBG(Size const &rSize);

    // Enlarged for screens of 125 % and more (by the smaller of the two
    // axes' factors), else this bitmap's body: Scale through GDI, ScaleHQ
    // through GDI+ resampling.
    Bitmap Scale() const;
    Bitmap ScaleHQ() const;
    // The factor Scale and ScaleHQ enlarge by on this screen; 1 below 125 %.
    static double GetScreenScale();
    // A GDI+ image resampled to the size; otherwise drawn stretched onto a
    // device compatible with pDev over the button face colour (bBorder: a
    // one-pixel border of that colour around it; bErase: the area is
    // erased first). Without a device, this bitmap's body.
    Bitmap Stretch(OutputDevice *pDev, Size const &rSize, bool bBorder, bool bErase) const;
    // Bicubic resampling through GDI+ to the size rounded to whole pixels.
    Bitmap StretchHQ(FSize const &rSize) const;
    // The part at rPos of rSize pixels (to the image's right and bottom edge
    // when rSize is 0 x 0), cut to the image; rSize gets what was taken.
    Bitmap GetBitmapHQ(FPoint const &rPos, FSize &rSize) const;
    // This image with rOver drawn on it at rPos, scaled to rSize (rOver's
    // own size when rSize is 0 x 0, given back in rSize); alpha blended.
    Bitmap DrawBitmapHQ(FPoint const &rPos, FSize &rSize, Bitmap const &rOver) const;
    // Pixels within nTolerance (per channel) of magenta become fully
    // transparent; the image becomes a 32-bit ARGB GDI+ image of its own,
    // the other holders keep theirs.
    bool MakeTransparent(int nTolerance);

protected:
    // 0 and the encoder's class id for the MIME type, 1 when the platform
    // has no encoder for it.
    static int GetEncoderClsid(wchar_t const *pMimeType, void *pClsid);
    ERRCODE LoadGdi(DirEntry const &rFile);
    ERRCODE LoadBMP(DirEntry const &rFile);
    ERRCODE SaveGdi(DirEntry const &rFile, wchar_t const *pMimeType) const;
    ERRCODE SaveBMP(DirEntry const &rFile) const;

private:
    // Takes the image without cloning it; a null or failed image leaves the
    // result empty.
    static Bitmap ImpAdopt(Gdiplus::Bitmap *pImage);
    void ImpCopyHandle(HBITMAP hBitmap);

    BitmapBody *m_pBody;
};

// A packed device-independent bitmap (a 40-byte header, the colour table, the
// bits) of the handle's pixels in global memory that the caller frees; null
// when the handle is no bitmap.
KSAPI HGLOBAL DIBFromBitmap(HBITMAP hBitmap, HPALETTE hPalette);
// The header of an uncompressed 32-bit device-independent bitmap whose rows
// run top down (a negative height), for pixels as 0x00RRGGBB words.
KSAPI BITMAPINFO TopDownDibInfo(int nWidth, int nHeight);
// A device-dependent bitmap made from such a block; null when its header is
// not one that could be read.
KSAPI HBITMAP GethBMPFrompDIB(void *pPackedDib);
