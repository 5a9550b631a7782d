#pragma once
#include "frame/Kestrel5Api.h"
#include "graphics/BrushStyle.h"
#include "graphics/Color.h"

class CBrush;
class Texture;
struct BrushBody;

// A fill description shared between copies; the platform brush is made the
// first time a device asks for it and kept until the last copy goes.
class KSAPI Brush
{
public:
    Brush() : m_pBody(nullptr) {}
    Brush(Color const &rColor, BrushStyle eStyle);
    // Only the colour of the platform brush is taken; the brush itself is not
    // kept.
    explicit Brush(CBrush *pBrush);
    // A bitmap texture fills with its tiled bitmap (its colour is the
    // bitmap's face colour); any other fills solid in the texture's colour,
    // white for an empty one.
    explicit Brush(Texture const &rTexture);
    Brush(Brush const &rBrush);
    Brush &operator=(Brush const &rBrush);
    ~Brush();

    bool IsValid() const { return m_pBody != nullptr; }
    Color GetColor() const;
    BrushStyle GetStyle() const;
    // The brush keeps the object; a null brush becomes white and solid first.
    CBrush *GetOrCreatePCBrush();

private:
    void Release();
    BrushBody *m_pBody;
};
