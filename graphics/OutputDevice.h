#pragma once
#include "frame/Kestrel5Api.h"
#include "frame/LinkHdl.h"
#include "graphics/Brush.h"
#include "graphics/CPolygon.h"
#include "graphics/CRectangle.h"
#include "graphics/Color.h"
#include "graphics/ColorPair.h"
#include "graphics/FPoint.h"
#include "graphics/FPolygon.h"
#include "graphics/FRectangle.h"
#include "graphics/FSize.h"
#include "graphics/Font.h"
#include "graphics/Pen.h"
#include "graphics/Point.h"
#include "graphics/Region.h"
#include "graphics/Size.h"
#include "graphics/TransparentColor.h"
#include "mfc/CSize.h"
#include "text/SString.h"
#include "text/UString.h"

#include <windef.h>
#include <wingdi.h>

struct ID2D1Bitmap;
struct ID2D1Factory;
struct ID2D1DCRenderTarget;
struct IDWriteFactory;
struct IWICImagingFactory;
class Bitmap;
class CenterPointGradient;
class DCManager;
class RectGradient;
class Texture;

// Kinds of device: where the HDC comes from and where it goes back to.
enum OutputDeviceKind
{
    OutputDeviceExternal = 0, // the caller's HDC, never released here
    OutputDeviceWindow = 1,   // a window DC from the DC manager
    OutputDeviceMemory = 2,   // a memory DC of a VirtualDevice
    OutputDevicePrinter = 3
};


// The drawing surface: a window, an off-screen buffer or a printer. The back
// end is chosen per operation: GDI for the plain ones, GDI+ for the HQ ones,
// gradients, arrows, rings, round rectangles and transparent fills, Direct2D
// for the image effects. GDI+ and Direct2D work on the same HDC only for the
// duration of one call, so the three can be mixed in one paint.
//
// A device keeps copies of the tools it selected, so that a tool outlives the
// caller's handle while the HDC uses it, and restores the HDC's own tools
// before giving the HDC back.
// A LinkHdl, so that every window (an output device) can stand in links.
class KSAPI OutputDevice : public LinkHdl
{
    friend class DCManager;

public:
    // A device on the caller's HDC, which stays the caller's.
    explicit OutputDevice(HDC hDC);
    virtual ~OutputDevice();
    OutputDevice(OutputDevice const &) = delete;
    OutputDevice &operator=(OutputDevice const &) = delete;

    // --- virtual operations, in their slot order
    virtual Size GetOutputSizePixel() const;
    // The background becomes the texture's one part: a colour the
    // background brush, a gradient or a bitmap the background picture
    // (a gradient also sets the brush to its average colour, for those who
    // can only paint a colour). An empty texture removes every background.
    virtual void ChangeBackgroundTexture(Texture const &rTexture);
    virtual void ChangeFont(Font const &rFont);
    virtual int GetHeightPixel(int nHeight) const;
    virtual int GetWidthPixel(int nWidth) const;
    virtual Size GetSizePixel(Size aSize) const;
    virtual Point GetPointPixel(Point aPoint) const;
    virtual bool IsPrinter() const;
    // The platform window a window device draws on (a Window answers its
    // own); no window for every other device.
    virtual HWND GetHWND() const;

    // --- device and tools
    HDC GethDC();
    bool InitDevice() { return GethDC() != nullptr; }
    void ReleaseDevice();
    void SetHDCFromExtern(HDC hDC);
    bool IsExternal() const { return m_bExternal; }
    int GetDeviceKind() const { return m_nDevKind; }

    void ChangePen(Pen const &rPen);
    void ChangeFillInBrush(Brush const &rBrush);
    Pen GetPen();
    Brush GetFillInBrush();
    Font GetFont() const { return m_aFont; }
    void DeleteDrawingTools();

    void ChangeBackgroundBrush(Brush const &rBrush);
    Brush GetBackgroundBrush() const { return m_aBackgroundBrush; }
    // Erasing tiles the bitmap from the device's origin; it goes before the
    // background brush. An empty bitmap removes it.
    void ChangeBackgroundBitmap(Bitmap const &rBitmap);
    // The kept background bitmap, or null.
    Bitmap const *GetBackgroundBitmap() const { return m_pBackgroundBitmap; }
    // The device keeps a clone; it goes before the bitmap and the brush
    // where a window erases its background.
    void ChangeBackgroundGradient(RectGradient const &rGradient);
    // The kept background gradient, or null.
    RectGradient const *GetBackgroundGradient() const { return m_pBackgroundGradient; }
    // The background as a texture: the gradient, else the bitmap, else the
    // brush's colour, else nothing set.
    Texture GetBackgroundTexture() const;
    bool DrawBackground();
    // The background brush becomes solid in c, and the font's fill colour c,
    // so that opaque text sits on the background without a seam.
    void SetBackgroundAndFontCol(Color &rColor);

    void ChangeClipRegion(Region const &rRegion);
    void ChangeClipRegion();
    Region GetClipRegion();

    unsigned long GetColorCount();
    Color GetPixel(Point const &rPoint);
    bool DrawPixel(Point const &rPoint, Color const &rColor);
    // Every pixel of the output area in colour from becomes colour to;
    // answers how many changed.
    unsigned long ReplaceColor(Color const &rFrom, Color const &rTo);
    bool InvertRect(CRectangle const &rRect);

    // --- rectangles (GDI)
    bool DrawRect(CRectangle const &rRect);
    bool DrawRect(CRectangle const &rRect, CSize const &rCorner);
    bool DrawFrame(CRectangle const &rRect);
    bool Draw3DFrame(CRectangle const &rRect, int nWidth, Color const &rLight, Color const &rDark, bool bSunken);
    bool DrawGrayEdge(CRectangle const &rRect, unsigned int nEdge, unsigned int nFlags);

    // --- lines, curves, ellipses, polygons, regions (GDI)
    bool DrawLine(Point const &rFrom, Point const &rTo);
    bool DrawArc(CRectangle const &rRect, Point const &rStart, Point const &rEnd);
    bool DrawPie(CRectangle const &rRect, Point const &rStart, Point const &rEnd);
    bool DrawSpline(CPolygon const &rPoly);
    bool DrawEllipse(CRectangle const &rRect);
    bool DrawPolygon(CPolygon const &rPoly);
    // Filled from the gradient's centre out (GDI+), outlined with the
    // gradient's pen when it is valid.
    bool DrawEllipse(CRectangle const &rRect, CenterPointGradient const &rGradient);
    bool DrawPolygon(CPolygon const &rPoly, CenterPointGradient const &rGradient);
    bool FillRgn(Region const &rRegion, Brush &rBrush);
    bool FrameRgn(Region const &rRegion, Brush &rBrush, Size const &rSize);

    // --- text (GDI)
    bool DrawTextA(Point const &rPoint, SString const &rStr, unsigned int nStart = 0, unsigned int nLen = STR_TO_END);
    bool DrawTextW(Point const &rPoint, UString const &rStr, unsigned int nStart = 0, unsigned int nLen = STR_TO_END);
    // The text spread or squeezed to nWidth pixels by its character spacing.
    bool DrawStretchText(Point const &rPoint, unsigned int nWidth, SString const &rStr, unsigned int nStart = 0,
                         unsigned int nLen = STR_TO_END);
    bool DrawStretchTextW(Point const &rPoint, unsigned int nWidth, UString const &rStr, unsigned int nStart = 0,
                          unsigned int nLen = STR_TO_END);
    // The font families the device offers, enumerated once and kept until
    // the tools are deleted; GetDevFont answers "" beyond the count.
    int GetDevFontCount();
    SString GetDevFont(int nIndex);
    // The sizes of a bitmap font family; none for scalable fonts, which take
    // any size.
    int GetDevFontSizeCount(SString const &rName);
    Size GetDevFontSize(SString const &rName, int nIndex);
    Size GetTextSize(SString const &rStr, unsigned int nStart = 0, unsigned int nLen = STR_TO_END);
    Size GetTextSizeW(UString const &rStr, unsigned int nStart = 0, unsigned int nLen = STR_TO_END);
    // The metrics of the device's font (a default one when none is kept).
    bool GetFontMetric(TEXTMETRICW &rMetric);
    // One glyph's metrics in the device's font; false for a character the
    // font has no glyph for.
    bool GetGlyphMetric(wchar_t cChar, GLYPHMETRICS &rMetric);
    // The advance of each character of the substring in the device's font:
    // what it adds to the text as GetTextSizeW measures it, pairs and all, so
    // that the widths add up to that width and text can be laid out character
    // by character. Kept by the device until the next call or until the
    // tools are deleted; answers the number of widths.
    int FillKernArr(UString const &rStr, unsigned int nStart = 0, unsigned int nLen = STR_TO_END);
    int const *GetKernArr() const { return m_pKernArr; }
    unsigned int GetKernArrLen() const { return m_nKernArrLen; }

    // --- erasing and copying (GDI)
    bool Erase();
    bool Erase(CRectangle const &rRect);
    bool Erase(Color const &rColor, CRectangle const &rRect);
    // Tiles the rectangle so that device pixel (x, y) shows bitmap pixel
    // ((x + nDX) mod width, (y + nDY) mod height).
    bool Erase(Bitmap const &rBitmap, CRectangle const &rRect, int nDX = 0, int nDY = 0);
    // The gradient's own fill.
    bool Erase(RectGradient const &rGradient, CRectangle const &rRect);
    // A bitmap texture tiles with the phase nDX, nDY as above (or, centred,
    // sits in the middle on its face colour); a gradient fills; a colour,
    // and an empty texture as white, fills solid. True for an empty
    // rectangle.
    bool Erase(Texture const &rTexture, CRectangle const &rRect, int nDX = 0, int nDY = 0);
    // The same over the whole output area.
    bool Erase(Texture const &rTexture, int nDX = 0, int nDY = 0);
    // Copies a part of another device, stretched when the sizes differ, with
    // the device's raster operation.
    bool DrawOutDev(Point const &rDestPt, Size const &rDestSize, Point const &rSrcPt, Size const &rSrcSize,
                    OutputDevice &rSrc);
    // The same, leaving out the source pixels of the key colour.
    bool DrawOutDev(Point const &rDestPt, Size const &rDestSize, Point const &rSrcPt, Size const &rSrcSize,
                    OutputDevice &rSrc, Color const &rKey);

    // --- bitmaps. A GDI image is blitted with the device's raster operation;
    // a GDI+ image, and every stretched drawing, goes through GDI+ with
    // bicubic resampling and keeps the image's transparency.
    bool DrawBitmap(Point const &rPos, Bitmap const &rBitmap);
    bool DrawBitmap(Point const &rPos, Size const &rSize, Bitmap const &rBitmap);
    // The part of the bitmap at rSrcPos of rSrcSize into the rectangle at
    // rPos of rSize.
    bool DrawBitmap(Point const &rPos, Size const &rSize, Point const &rSrcPos, Size const &rSrcSize,
                    Bitmap const &rBitmap);
    // Fractional positions and sizes, nOpacity from 0 (nothing) to 255.
    bool DrawBitmapHQ(FPoint const &rPos, Bitmap const &rBitmap, int nOpacity = 255);
    bool DrawBitmapHQ(FPoint const &rPos, FSize const &rSize, Bitmap const &rBitmap, int nOpacity = 255);
    bool DrawBitmapHQ(FRectangle const &rDest, FRectangle const &rSource, Bitmap const &rBitmap, int nOpacity = 255);
    // Enlarged as Bitmap::ScaleHQ enlarges images for this screen.
    bool DrawBitmapScaled(Point const &rPos, Bitmap const &rBitmap);
    // As large as fits the rectangle with the image's proportions, centred.
    bool DrawBitmapScaled(CRectangle const &rRect, Bitmap const &rBitmap);
    // Leaves out the pixels of the key colour (the library's magenta unless
    // told otherwise).
    bool DrawBitmapTransparent(Point const &rPos, Bitmap const &rBitmap,
                               Color const &rKey = Color(ColorNameLightMagenta));
    bool DrawBitmapTransparent(Point const &rPos, Size const &rSize, Bitmap const &rBitmap,
                               Color const &rKey = Color(ColorNameLightMagenta));
    bool DrawBitmapTransparent(Point const &rPos, Size const &rSize, Point const &rSrcPos, Size const &rSrcSize,
                               Bitmap const &rBitmap, Color const &rKey = Color(ColorNameLightMagenta));
    // The same as the unstretched DrawBitmapTransparent through masks and
    // plain blits only, for devices without transparent blits (printers).
    bool MSJDrawTransparentBitmap(Point const &rPos, Bitmap const &rBitmap,
                                  Color const &rKey = Color(ColorNameLightMagenta));
    // A copy of the device's pixels: a GDI image, and an opaque 32-bit
    // GDI+ image. Empty when the rectangle is empty or off the device.
    Bitmap GetBitmap(Point const &rPos, Size const &rSize);
    Bitmap GetBitmapHQ(Point const &rPos, Size const &rSize);

    // --- high quality (GDI+). The int results are 1 for a GDI+ success.
    int DrawRectHQ(FRectangle const &rRect);
    int DrawRectHQ(FRectangle const &rRect, TransparentColor const &rColor);
    bool DrawFrameHQ(FRectangle const &rRect, double fWidth, TransparentColor const &rColor);
    bool DrawRoundRect(CRectangle const &rRect, int nDiameter, int nWidth, TransparentColor const &rColor,
                       bool bGradient);
    // nLineCap is the end cap: 0 flat, 1 square, 2 round, 3 triangle. In the
    // current pen's colour (black without pen).
    bool DrawLineHQ(FPoint const &rFrom, FPoint const &rTo, double fWidth, int nLineCap);
    bool DrawLineHQ(FPoint const &rFrom, FPoint const &rTo, TransparentColor const &rColor, double fWidth,
                    int nLineCap);
    // Angles in degrees, clockwise from the x axis.
    bool DrawArcHQ(FRectangle const &rRect, double fStart, double fSweep, double fWidth,
                   TransparentColor const &rColor);
    // A pie filled from its centre (first colour) to its rim (second).
    bool DrawPie(CRectangle const &rRect, double fStart, double fSweep, ColorPair const &rColors);
    bool DrawSplineHQ(FPolygon const &rPoly, double fWidth, TransparentColor const &rColor);
    // A line with a filled triangular head at rTo, the head three line
    // widths long and wide (at least 6 pixels).
    bool DrawArrow(FPoint const &rFrom, FPoint const &rTo, double fWidth, TransparentColor const &rColor);
    // The same, its colour running from the first colour at rFrom to the
    // second at rTo.
    bool DrawArrowGradient(FPoint const &rFrom, FPoint const &rTo, double fWidth, ColorPair const &rColors);
    // The area between two circles around one centre.
    bool DrawRing(FPoint const &rCenter, double fOuterRadius, double fInnerRadius, TransparentColor const &rColor);
    // Filled with rFill; outlined with the current pen when one is kept.
    bool DrawEllipseHQ(FRectangle const &rRect, TransparentColor const &rFill);
    // Filled with the kept fill brush's colour, outlined with the kept pen.
    bool DrawPolygonHQ(FPolygon const &rPoly);
    bool DrawPolygonHQ(FPolygon const &rPoly, TransparentColor const &rFill);
    bool FillTransparentPolygon(CPolygon const &rPoly, TransparentColor const &rColor);
    bool EraseTransparent(CRectangle const &rRect, TransparentColor const &rColor);
    bool DrawTextHQ(FPoint const &rPoint, SString const &rStr, int nOpacity = 100);
    bool DrawTextWHQ(FPoint const &rPoint, UString const &rStr, int nOpacity = 100);
    // Top to bottom: the characters upright, one below the other, from the
    // point.
    bool DrawTextHQVertical(FPoint const &rPoint, UString const &rStr, int nOpacity = 100);
    FSize GetTextSizeHQ(SString const &rStr);
    FSize GetTextSizeWHQ(UString const &rStr);
    unsigned int GetGdiPlusErrorCount() const { return m_nGdiPlusErrors; }

    // --- effects (Direct2D; where the platform lacks an effect, our own
    // implementation works on the device's pixels)
    // The whole output area as a vertical gradient from the first colour at
    // the top to the second at the bottom.
    bool DrawGradient(ColorPair &rColors);
    // A Gaussian blur of the pixels inside the rectangle; pixels beyond its
    // edges count as copies of the edge pixels.
    bool BlurEffect(CRectangle const &rRect, double fStdDev);
    // A soft shadow of the rectangle in the colour, cast nOffset pixels right
    // and down, beneath the rectangle's pixels, which stay as they were.
    bool ShadowEffect(CRectangle const &rRect, int nOffset, double fStdDev, Color const &rColor);
    // A soft drop shadow a few pixels wide right of and below the rectangle,
    // darkest beside it, darkening what is there; the rectangle is left as
    // it is.
    bool DrawShadow(Point const &rPos, Size const &rSize);
    // The same shadow in opaque colours mixed from the background towards
    // black, for pixels that must stay plain colours (a cached bitmap): the
    // result does not depend on what was under the shadow.
    bool DrawShadowOnBackground(Point const &rPos, Size const &rSize, Color const &rBackground);
    // A blurred shadow of the rectangle nDepth pixels right and down, as
    // soft as it is deep, in the colour at its opacity, beneath the
    // rectangle's pixels (window frames).
    bool DrawBlurShadow(Point const &rPos, Size const &rSize, int nDepth, TransparentColor const &rColor);
    // The shapes inside the rectangle (every pixel not of the key colour)
    // cast a blurred shadow nOffset pixels right and down, beneath
    // themselves: shadows of text and icons.
    bool BlurShadowEffect(CRectangle const &rRect, Color const &rKey, int nOffset, double fStdDev,
                          TransparentColor const &rShadow);
    // The rectangle looks sunk in by nDepth: a blurred shadow falls inside it
    // along its top and left edges; nothing outside it changes.
    bool InsetShadow(CRectangle const &rRect, int nDepth, double fStdDev, TransparentColor const &rColor);
    // The shapes inside the rectangle (non-key pixels) look pressed in: an
    // inner shadow inside each from its top and left edges.
    bool InsetEffect(CRectangle const &rRect, Color const &rKey, int nDepth, double fStdDev,
                     TransparentColor const &rColor);
    // The device's pixels in rTile repeated over rArea, the tiles lined up
    // on rTile as if it repeated over the whole device.
    bool TileEffect(CRectangle const &rTile, CRectangle const &rArea);

    // --- Direct2D and imaging objects, made on first use, kept by the device
    ID2D1Factory *GetD2DFactory();
    ID2D1DCRenderTarget *GetRenderTarget();
    IDWriteFactory *GetWriteFactory();
    IWICImagingFactory *GetWicFactory();
    // Direct2D bitmaps for the device's render target, which the caller
    // releases before the target goes: the device's pixels in the
    // rectangle, and a bitmap's image (through WIC). Null when there is no
    // render target or nothing to copy.
    ID2D1Bitmap *GetD2DBitmap(Point const &rPos, Size const &rSize);
    ID2D1Bitmap *GetD2DBitmap(Bitmap &rBitmap);

protected:
    // A window device (kind 1); subclasses of other kinds change the kind.
    OutputDevice();

    // Counts a failed GDI+ operation; the first one of a device is shown.
    void IncGdiPlusError();
    // Counts a failed GDI+ status as above; answers whether it was a success.
    bool GdiPlusDone(int nStatus);
    int DrawTextWHQImpl(FPoint const &rPoint, UString const &rStr, int nOpacity, bool bVertical = false);
    // Selects the font (a default one when none is kept) with its colours
    // around a text operation.
    Font SelectFont();
    void RestoreOldFont();
    void RestoreInitialTools();
    void ReleaseD2D();
    // All four Direct2D and imaging objects, when the device goes.
    void ReleaseFactories();
    bool ImpEraseWithBrush(CRectangle const &rRect, HBRUSH hBrush);
    // The bitmap drawings: a part of the bitmap into a rectangle, leaving
    // out the key colour when one is given.
    bool ImpDrawBitmap(Point const &rPos, Size const &rSize, Point const &rSrcPos, Size const &rSrcSize,
                       Bitmap const &rBitmap, Color const *pKey);
    // The drop and inner shadows of shapes: the whole rectangle without a
    // key, its non-key pixels with one.
    bool ImpShadow(CRectangle const &rShapes, Color const *pKey, int nOffset, double fStdDev,
                   TransparentColor const &rColor, bool bInset);

    HDC m_hDC;
    bool m_bExternal;
    int m_nDevKind;
    unsigned long m_nRasterOp;
    Brush m_aFillBrush;
    Brush m_aBackgroundBrush;
    Bitmap *m_pBackgroundBitmap;
    RectGradient *m_pBackgroundGradient;
    Pen m_aPen;
    Font m_aFont;
    HGDIOBJ m_hInitPen;
    HGDIOBJ m_hInitBrush;
    HGDIOBJ m_hInitFont;
    unsigned long m_nInitTextColor;
    bool m_bInitTextColor;
    unsigned int m_nGdiPlusErrors;
    ID2D1Factory *m_pD2DFactory;
    ID2D1DCRenderTarget *m_pRenderTarget;
    IDWriteFactory *m_pWriteFactory;
    IWICImagingFactory *m_pWicFactory;
    struct DevFontList *m_pFontList;
    int *m_pKernArr;
    unsigned int m_nKernArrLen;

private:
    // State of one text operation, restored after it.
    HGDIOBJ m_hOldFont;
    unsigned long m_nOldTextColor;
    unsigned long m_nOldBkColor;
    int m_nOldBkMode;
};
