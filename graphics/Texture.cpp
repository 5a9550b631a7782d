#include "graphics/Texture.h"

#include "graphics/OutputDevice.h"
#include "graphics/RectGradient.h"
#include "graphics/VirtualDevice.h"

#include <algorithm>
#include <memory>

Texture::Texture() : m_pColor(nullptr), m_pGradient(nullptr), m_pBitmap(nullptr), m_bCenteredBMP(false)
{
}

Texture::Texture(Color const &rColor) : Texture()
{
    m_pColor = new Color(rColor);
}

Texture::Texture(Bitmap const &rBitmap) : Texture()
{
    m_pBitmap = new Bitmap(rBitmap);
}

Texture::Texture(RectGradient const &rGradient) : Texture()
{
    m_pGradient = rGradient.Clone();
}

Texture::Texture(Texture const &rOther) : Texture()
{
    ImpCopy(rOther);
}

Texture &Texture::operator=(Texture const &rOther)
{
    if (this != &rOther) {
        ImpFree();
        ImpCopy(rOther);
    }
    return *this;
}

Texture::~Texture()
{
    ImpFree();
}

void Texture::ImpFree()
{
    delete m_pColor;
    m_pColor = nullptr;
    delete m_pGradient;
    m_pGradient = nullptr;
    delete m_pBitmap;
    m_pBitmap = nullptr;
}

void Texture::ImpCopy(Texture const &rOther)
{
    if (rOther.m_pColor)
        m_pColor = new Color(*rOther.m_pColor);
    if (rOther.m_pGradient)
        m_pGradient = rOther.m_pGradient->Clone();
    if (rOther.m_pBitmap)
        m_pBitmap = new Bitmap(*rOther.m_pBitmap);
    m_bCenteredBMP = rOther.m_bCenteredBMP;
}

void Texture::ChangeColor(Color const &rColor)
{
    auto *copy = new Color(rColor);
    ImpFree();
    m_pColor = copy;
}

void Texture::ChangeBitmap(Bitmap const &rBitmap)
{
    // A copy first: the bitmap may be this texture's own.
    auto *copy = new Bitmap(rBitmap);
    ImpFree();
    m_pBitmap = copy;
}

void Texture::ChangeGradient(RectGradient const &rGradient)
{
    RectGradient *clone = rGradient.Clone();
    ImpFree();
    m_pGradient = clone;
}

Bitmap Texture::GetBitmap() const
{
    return m_pBitmap ? *m_pBitmap : Bitmap();
}

Color Texture::GetColor() const
{
    if (m_pColor)
        return *m_pColor;
    if (m_pGradient)
        return m_pGradient->GetAverageColor();
    return Color(ColorNameWhite);
}

Color Texture::GetColor(OutputDevice *pDev) const
{
    if (m_pColor)
        return *m_pColor;
    if (m_pGradient)
        return m_pGradient->GetAverageColor();
    if (m_pBitmap) {
        m_pColor = new Color(GetBMPFaceColor(pDev));
        return *m_pColor;
    }
    return Color(ColorNameWhite);
}

Color Texture::GetBMPFaceColor(OutputDevice *pDev) const
{
    Size const s = m_pBitmap ? m_pBitmap->GetSize() : Size();
    if (s.Width() <= 0 || s.Height() <= 0)
        return Color(0ul);
    // Without a device: one like the screen (a device made on the screen
    // device itself would be as monochrome as its first bitmap).
    std::unique_ptr<VirtualDevice> canvas;
    if (pDev) {
        canvas = std::make_unique<VirtualDevice>(*pDev, *m_pBitmap);
    } else {
        canvas = std::make_unique<VirtualDevice>();
        if (canvas->SetOutputSize(s, false))
            canvas->DrawBitmapHQ(FPoint(0, 0), *m_pBitmap, 255);
    }
    // A 5 x 5 grid is enough to tell the colour a picture looks like from
    // afar, at a fixed cost whatever its size.
    int const dx = std::max(s.Width() / 5, 1), dy = std::max(s.Height() / 5, 1);
    unsigned long long r = 0, g = 0, b = 0, n = 0;
    for (int y = 0; y < s.Height(); y += dy)
        for (int x = 0; x < s.Width(); x += dx) {
            Color const c = canvas->GetPixel(Point(x, y));
            r += c.GetRed();
            g += c.GetGreen();
            b += c.GetBlue();
            ++n;
        }
    auto channel = [n](unsigned long long sum) {
        unsigned long long const v = (sum / n) >> 8;
        return static_cast<unsigned long>(v > 255 ? 255 : v);
    };
    return Color(channel(r) | channel(g) << 8 | channel(b) << 16);
}

void Texture::Det3DColors(OutputDevice *pDev, Color &rFace, Color &rLight, Color &rShadow) const
{
    Color base(0ul);
    if (m_pBitmap)
        base = GetBMPFaceColor(pDev);
    else if (m_pColor)
        base = *m_pColor;
    else if (m_pGradient)
        base = m_pGradient->GetAverageColor();
    // Exactly, in integers: a product like 170 x 1.4 evaluated in binary
    // floating point lands just below 238 and would truncate to 237.
    auto scaled = [&base](unsigned long num, unsigned long den) {
        auto one = [num, den](unsigned short wide) {
            unsigned long const c = (static_cast<unsigned long>(wide) * num / den) >> 8;
            return c > 255 ? 255ul : c;
        };
        return Color(one(base.GetRed()) | one(base.GetGreen()) << 8 | one(base.GetBlue()) << 16);
    };
    rFace = base;
    rLight = scaled(14, 10);
    rShadow = scaled(55, 100);
}
