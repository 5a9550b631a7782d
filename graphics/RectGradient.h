#pragma once
#include "frame/Kestrel5Api.h"
#include "graphics/CRectangle.h"
#include "graphics/Color.h"
#include "graphics/ColorPair.h"
#include "graphics/Pen.h"

namespace Gdiplus {
class Brush;
}
class OutputDevice;

// Which edges of a filled rectangle get a frame line (SetFrame).
enum RectGradientFrame : int
{
    RectGradientFrameTop = 1,
    RectGradientFrameLeft = 2,
    RectGradientFrameBottom = 4,
    RectGradientFrameRight = 8
};

// A fill that runs from the first colour of its pair to the second. The base
// class knows no direction: it fills plainly with the colour the gradient
// leans to, and its GDI+ brush runs from top to bottom. The subclasses give
// the direction (LinearRectGradient) or a centre (CenterPointGradient).
//
// A copy is a description of the same ramp, not of its decoration: it
// carries the colours and the gradient rectangle, while the frame pen, the
// frame edges and the transparencies start afresh.
class KSAPI RectGradient
{
public:
    explicit RectGradient(ColorPair const &rColors);
    RectGradient(RectGradient const &rOther);
    RectGradient &operator=(RectGradient const &rOther);

    // --- virtual operations, in their slot order
    virtual ~RectGradient();
    // Per channel (2 x first + second) / 3: the colour that stands for the
    // whole ramp where only one colour can be drawn.
    virtual Color GetAverageColor() const;
    // True when the fill succeeded.
    virtual bool FillRect(OutputDevice *pDev, CRectangle const &rRect) const;
    // A new gradient of the same kind, which the caller deletes.
    virtual RectGradient *Clone() const;
    // A new GDI+ brush over the rectangle that the caller deletes; null when
    // GDI+ could not make it.
    virtual Gdiplus::Brush *CreateGdiplusBrush(CRectangle const &rRect) const;

    ColorPair GetColorPair() const { return m_aColors; }
    Pen GetPen() const { return m_aPen; }
    // The frame lines are drawn with this pen when it is valid.
    void SetPen(Pen const &rPen) { m_aPen = rPen; }
    // RectGradientFrame bits.
    void SetFrame(int nMask) { m_nFrame = nMask; }
    int GetFrame() const { return m_nFrame; }
    // Opacities in percent (100 opaque, 0 invisible).
    void SetCenterTransparency(int nPercent) { m_nCenterTransparency = nPercent; }
    void SetSurroundTransparency(int nPercent) { m_nSurroundTransparency = nPercent; }
    int GetCenterTransparency() const { return m_nCenterTransparency; }
    int GetSurroundTransparency() const { return m_nSurroundTransparency; }
    // With a gradient rectangle, every fill takes its ramp from that
    // rectangle rather than from the filled one, so that adjacent fills
    // join into one gradient. An empty rectangle removes it.
    void SetRectGradient(CRectangle const &rRect) { m_aRectGradient = rRect; }
    CRectangle GetRectGradient() const { return m_aRectGradient; }

protected:
    // p % as an alpha byte: p x 255 / 100, low 8 bits.
    static unsigned AlphaOf(int nPercent)
    {
        return static_cast<unsigned>((static_cast<long long>(nPercent) * 255 / 100) & 0xFF);
    }

    ColorPair m_aColors;
    Pen m_aPen;
    int m_nFrame;
    int m_nCenterTransparency;
    int m_nSurroundTransparency;
    CRectangle m_aRectGradient;
};
