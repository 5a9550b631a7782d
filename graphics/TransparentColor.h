#pragma once
#include "frame/Kestrel5Api.h"
#include "graphics/Color.h"

// A colour with an opacity in percent, the fill and outline colour of the
// high-quality drawing operations.
class KSAPI TransparentColor
{
public:
    TransparentColor() noexcept : m_aColor(), m_nOpacity(100) {}
    // Opacities above 100 are taken as 100: a wrapped alpha byte would make a
    // nearly opaque colour nearly invisible.
    TransparentColor(Color const &rColor, unsigned char nOpacity = 100) noexcept
        : m_aColor(rColor), m_nOpacity(nOpacity > 100 ? 100 : nOpacity)
    {
    }

    Color const &GetColor() const noexcept { return m_aColor; }
    unsigned char GetOpacity() const noexcept { return m_nOpacity; }
    void SetColor(Color const &rColor) noexcept { m_aColor = rColor; }
    void SetOpacity(unsigned char n) noexcept { m_nOpacity = n > 100 ? 100 : n; }
    // opacity x 255 / 100, integer division.
    unsigned char GetAlpha() const noexcept { return static_cast<unsigned char>(m_nOpacity * 255 / 100); }

    bool operator==(TransparentColor const &r) const noexcept
    {
        return m_aColor.GetLong() == r.m_aColor.GetLong() && m_nOpacity == r.m_nOpacity;
    }
    bool operator!=(TransparentColor const &r) const noexcept { return !(*this == r); }

private:
    Color m_aColor;
    unsigned char m_nOpacity;
};
