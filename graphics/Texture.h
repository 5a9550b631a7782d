#pragma once
#include "frame/Kestrel5Api.h"
#include "graphics/Bitmap.h"
#include "graphics/Color.h"

class OutputDevice;
class RectGradient;

// How an area is filled: with a colour, a gradient or a tiled (or centred)
// bitmap. The texture owns its part. The Change... operations leave exactly
// one part set; only GetColor(OutputDevice*) adds a second one, the face
// colour it worked out for a bitmap, so that the bitmap is looked at once.
class KSAPI Texture
{
public:
    // Nothing set: fills white.
    Texture();
    Texture(Color const &rColor);
    Texture(Bitmap const &rBitmap);
    // Keeps a clone of the gradient.
    Texture(RectGradient const &rGradient);
    Texture(Texture const &rOther);
    Texture &operator=(Texture const &rOther);
    ~Texture();

    void ChangeColor(Color const &rColor);
    void ChangeBitmap(Bitmap const &rBitmap);
    void ChangeGradient(RectGradient const &rGradient);

    bool IsColor() const { return m_pColor != nullptr; }
    bool IsGradient() const { return m_pGradient != nullptr; }
    bool IsBMP() const { return m_pBitmap != nullptr; }
    bool IsSet() const { return IsColor() || IsGradient() || IsBMP(); }
    // A bitmap drawn once in the middle of the area, on its face colour,
    // instead of tiled.
    bool IsCenteredBMP() const { return m_bCenteredBMP; }
    void SetIsCenteredBMP(bool bCentered) { m_bCenteredBMP = bCentered; }

    // The owned gradient, or null.
    RectGradient const *GetPGradient() const { return m_pGradient; }
    // A copy of the bitmap; an empty one when none is set.
    Bitmap GetBitmap() const;
    // The colour; else the gradient's average colour; else white.
    Color GetColor() const;
    // The same, but a bitmap answers its face colour (the mean of a grid of
    // its pixels as drawn on a device like pDev), which the texture then
    // keeps as its colour part.
    Color GetColor(OutputDevice *pDev) const;
    // A face colour with a light and a shadow variant for raised edges:
    // light 1.4 x, shadow 0.55 x the face colour, per channel.
    void Det3DColors(OutputDevice *pDev, Color &rFace, Color &rLight, Color &rShadow) const;

private:
    void ImpFree();
    void ImpCopy(Texture const &rOther);
    Color GetBMPFaceColor(OutputDevice *pDev) const;

    // Mutable for the face colour that GetColor(OutputDevice*) keeps.
    mutable Color *m_pColor;
    RectGradient *m_pGradient;
    Bitmap *m_pBitmap;
    bool m_bCenteredBMP;
};
