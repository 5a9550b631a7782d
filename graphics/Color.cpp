#include "graphics/Color.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"

#include <algorithm>
#include <cmath>
#include <windows.h>
#include <gdiplus.h>

namespace {

unsigned short Saturate(long long v) noexcept
{
    return static_cast<unsigned short>(v < 0 ? 0 : v > 255 ? 255 : v);
}

// Truncation towards zero, keeping the low byte of the integer as a
// two's-complement machine would. NaN and values beyond 64 bits give 0: the
// plain conversion is undefined for them, and bad input must not decide
// what the optimiser does.
unsigned short LowByte(double v) noexcept
{
    if (!(v > -9.0e18 && v < 9.0e18))
        return 0;
    return static_cast<unsigned short>(static_cast<unsigned long long>(static_cast<long long>(v)) & 0xFF);
}

char const HEX_DIGITS[] = "0123456789ABCDEF";

} // namespace

Color::Color(ColorName name) noexcept : Red(0), Green(0), Blue(0)
{
    KSData const *data = GetPKSData();
    int const i = static_cast<int>(name);
    if (!data || !data->m_pColorTable || i < 0 || i >= KSData::COLOR_TABLE_SIZE)
        return;
    KSColorEntry const &e = data->m_pColorTable[i];
    Red = e.nRed >> 8;
    Green = e.nGreen >> 8;
    Blue = e.nBlue >> 8;
}

Color::Color(SString const &s) noexcept : Red(255), Green(255), Blue(255)
{
    if (s.Len() < 7)
        return;
    char const *p = s.GetStr();
    // Letters beyond F count as digits up to 35, so a pair can exceed one
    // byte; it saturates rather than spill into the next channel.
    auto pair = [p](int i) {
        return Saturate(GetHexValue(p[i]) * 16 + GetHexValue(p[i + 1]));
    };
    Red = pair(1);
    Green = pair(3);
    Blue = pair(5);
}

int Color::GetHexValue(char c) noexcept
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    return 0;
}

SString Color::GetHTMLStr() const
{
    char text[7];
    text[0] = '#';
    unsigned short const v[3] = {Red, Green, Blue};
    for (int i = 0; i < 3; ++i) {
        text[1 + 2 * i] = HEX_DIGITS[(v[i] >> 4) & 0xF];
        text[2 + 2 * i] = HEX_DIGITS[v[i] & 0xF];
    }
    return SString(text, 0, 7, true);
}

SString Color::GetTestStr() const
{
    SString s("r=");
    s += static_cast<unsigned int>(Red);
    s += " g=";
    s += static_cast<unsigned int>(Green);
    s += " b=";
    s += static_cast<unsigned int>(Blue);
    return s;
}

Gdiplus::Color Color::GetGdiplusColor(int alphaPercent) const
{
    long long const alpha = static_cast<long long>(alphaPercent) * 255 / 100;
    return Gdiplus::Color(static_cast<BYTE>(alpha & 0xFF), static_cast<BYTE>(Red), static_cast<BYTE>(Green),
                          static_cast<BYTE>(Blue));
}

double Color::GetLen() const noexcept
{
    return std::sqrt(ScalarProduct(*this));
}

namespace {

// Factors beyond 256 x change every non-zero channel to 255, and below 0 to
// 0 (or to 255 for the unsigned reading), exactly as the unbounded factor
// would; bounding them keeps all products within 32 bits.
constexpr int FACTOR_LIMIT = 25600;

int BoundFactor(long long f) noexcept
{
    return static_cast<int>(f < -FACTOR_LIMIT ? -FACTOR_LIMIT : f > FACTOR_LIMIT ? FACTOR_LIMIT : f);
}

} // namespace

Color &Color::ChangeBrightness(int p) noexcept
{
    Scale(BoundFactor(p));
    return *this;
}

Color &Color::Darken(int p) noexcept
{
    Scale(BoundFactor(100 - static_cast<long long>(p)));
    return *this;
}

Color &Color::Lighten(int p, int mode) noexcept
{
    if (mode == 0) {
        Scale(BoundFactor(100 + static_cast<long long>(p)));
    } else if (mode == 1) {
        int const f = BoundFactor(p < 100 ? p : 100);
        if (f >= 0) {
            // The usual case, and it cannot leave 0..255: unsigned arithmetic
            // without clamps.
            unsigned const uf = static_cast<unsigned>(f);
            auto towardsWhite = [uf](unsigned c) { return static_cast<unsigned short>((100 * c + (255 - c) * uf) / 100); };
            unsigned short const r = towardsWhite(Red), g = towardsWhite(Green), b = towardsWhite(Blue);
            Red = r;
            Green = g;
            Blue = b;
        } else {
            // One division of the whole sum: truncating the step alone and
            // then adding would round a step towards black the wrong way.
            auto towardsBlack = [f](int c) { return Saturate((100 * c + (255 - c) * f) / 100); };
            unsigned short const r = towardsBlack(Red), g = towardsBlack(Green), b = towardsBlack(Blue);
            Red = r;
            Green = g;
            Blue = b;
        }
    }
    return *this;
}

void Color::Scale(int percent) noexcept
{
    // Unsigned arithmetic divides faster; a negative factor makes black.
    unsigned const f = percent < 0 ? 0u : static_cast<unsigned>(percent);
    auto scale = [f](unsigned c) { return static_cast<unsigned short>(std::min(c * f / 100, 255u)); };
    unsigned short const r = scale(Red), g = scale(Green), b = scale(Blue);
    Red = r;
    Green = g;
    Blue = b;
}

Color &Color::Lighten(int pr, int pg, int pb) noexcept
{
    auto scale = [](int c, int p) -> unsigned short {
        int const v = c * BoundFactor(100 + static_cast<long long>(p)) / 100;
        return v < 0 || v > 255 ? 255 : static_cast<unsigned short>(v);
    };
    Red = scale(Red, pr);
    Green = scale(Green, pg);
    Blue = scale(Blue, pb);
    return *this;
}

double Color::Hue_2_RGB(double p, double q, double t) noexcept
{
    if (t < 0)
        t += 1;
    if (t > 1)
        t -= 1;
    // The same 6t chooses the segment and interpolates in it, so a value just
    // below a segment boundary is never extrapolated past the boundary.
    double const t6 = 6 * t;
    if (t6 < 1)
        return p + (q - p) * t6;
    if (2 * t < 1)
        return q;
    if (3 * t < 2)
        return p + (q - p) * (2.0 / 3.0 - t) * 6;
    return p;
}

Color Color::FromHSL(double h, double s, double l) noexcept
{
    Color c;
    if (s == 0) {
        c.Red = c.Green = c.Blue = LowByte(l * 255);
        return c;
    }
    double const q = l < 0.5 ? l * (1 + s) : l + s - l * s;
    double const p = 2 * l - q;
    c.Red = LowByte(Hue_2_RGB(p, q, h + 1.0 / 3.0) * 255);
    c.Green = LowByte(Hue_2_RGB(p, q, h) * 255);
    c.Blue = LowByte(Hue_2_RGB(p, q, h - 1.0 / 3.0) * 255);
    return c;
}
