#include "graphics/RGBAlpha.h"

void RGBAlpha::MixTransparent(Color const &back) noexcept
{
    // Weighted in integers over 255: with a = alpha / 255 in floating point,
    // own * a + back * (1 - a) falls just below a whole number for some
    // inputs, and a colour mixed with itself would come out one darker.
    unsigned const a = GetAlpha();
    auto mix = [a](unsigned own, unsigned under) {
        return static_cast<unsigned char>((own * a + under * (255 - a)) / 255);
    };
    SetRed(mix(GetRed(), back.Get8BitRed()));
    SetGreen(mix(GetGreen(), back.Get8BitGreen()));
    SetBlue(mix(GetBlue(), back.Get8BitBlue()));
}

void RGBAlpha::PreMultiplyAlpha() noexcept
{
    unsigned const a = GetAlpha();
    SetRed(static_cast<unsigned char>(GetRed() * a / 255));
    SetGreen(static_cast<unsigned char>(GetGreen() * a / 255));
    SetBlue(static_cast<unsigned char>(GetBlue() * a / 255));
}

SString RGBAlpha::GetStr() const
{
    SString s("r=");
    s += static_cast<unsigned int>(GetRed());
    s += "g=";
    s += static_cast<unsigned int>(GetGreen());
    s += "b=";
    s += static_cast<unsigned int>(GetBlue());
    s += "a=";
    s += static_cast<unsigned int>(GetAlpha());
    return s;
}
