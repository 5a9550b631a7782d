#pragma once
// An opaque RGB colour. Each channel is stored as its 8-bit intensity in a
// 16-bit field; the 16-bit accessors exist because the platform's colour
// records (and the named-colour table) use that scale.
//
// The brightness operations evaluate their formulas exactly, in integers:
// truncating a floating-point product turns exact results into the next
// lower intensity (darkening 5 by 80 % gives 0, not 1, since 1 - 0.8 is a
// little below 0.2 in binary). Results outside 0..255 saturate unless the
// operation says otherwise.
#include "frame/Kestrel5Api.h"
#include "graphics/ColorName.h"
#include "text/SString.h"

namespace Gdiplus {
struct Color;
}

class KSAPI Color
{
public:
    // White: the neutral background of everything the library draws.
    Color() noexcept : Red(255), Green(255), Blue(255) {}
    // Channels on the 16-bit scale (0..65535).
    Color(unsigned r, unsigned g, unsigned b) noexcept : Red(Wide(r)), Green(Wide(g)), Blue(Wide(b)) {}
    // The platform's colour word 0x00BBGGRR; the top byte is ignored.
    Color(unsigned long rgb) noexcept
        : Red(rgb & 0xFF), Green((rgb >> 8) & 0xFF), Blue((rgb >> 16) & 0xFF)
    {
    }
    Color(long rgb) noexcept : Color(static_cast<unsigned long>(rgb)) {}
    // From the named-colour table; black before KSInit and for names beyond
    // the table.
    Color(ColorName name) noexcept;
    // "#RRGGBB" (the first character is not looked at); white when shorter.
    Color(SString const &s) noexcept;
    Color(Color const &) noexcept = default;
    Color &operator=(Color const &) noexcept = default;
    Color &operator=(Color &&) noexcept = default;

    unsigned short GetRed() const noexcept { return static_cast<unsigned short>(Red << 8); }
    unsigned short GetGreen() const noexcept { return static_cast<unsigned short>(Green << 8); }
    unsigned short GetBlue() const noexcept { return static_cast<unsigned short>(Blue << 8); }
    void SetRed(unsigned short v) noexcept { Red = v >> 8; }
    void SetGreen(unsigned short v) noexcept { Green = v >> 8; }
    void SetBlue(unsigned short v) noexcept { Blue = v >> 8; }

    unsigned short Get8BitRed() const noexcept { return Red; }
    unsigned short Get8BitGreen() const noexcept { return Green; }
    unsigned short Get8BitBlue() const noexcept { return Blue; }
    double GetFRed() const noexcept { return Red / 255.0; }
    double GetFGreen() const noexcept { return Green / 255.0; }
    double GetFBlue() const noexcept { return Blue / 255.0; }

    operator unsigned long() const noexcept { return GetLong(); }
    unsigned long GetLong() const noexcept
    {
        return static_cast<unsigned long>(Red) | static_cast<unsigned long>(Green) << 8 |
               static_cast<unsigned long>(Blue) << 16;
    }

    // "#RRGGBB" with upper-case digits.
    SString GetHTMLStr() const;
    // "r=.. g=.. b=.." for test output and logs.
    SString GetTestStr() const;
    // alphaPercent x 255 / 100 as the alpha byte (integer division, low 8
    // bits kept, so 101 % wraps to 1).
    Gdiplus::Color GetGdiplusColor(int alphaPercent) const;

    double GetLen() const noexcept;
    double ScalarProduct(Color const &c) const noexcept
    {
        return double(Red) * c.Red + double(Green) * c.Green + double(Blue) * c.Blue;
    }

    // Each channel times p %, at most 255; a negative p gives black.
    Color &ChangeBrightness(int p) noexcept;
    // Each channel times (100 - p) %, at least 0; a negative p brightens and
    // saturates at 255.
    Color &Darken(int p) noexcept;
    // mode 0: each channel times (100 + p) %, saturating at 255 (and at 0 for
    // p below -100); mode 1: p % of the way towards white (a negative p goes
    // towards black, stopping at 0); any other mode changes nothing.
    Color &Lighten(int p, int mode) noexcept;
    // Per channel as mode 0, except that a result below zero becomes 255: the
    // bound is checked on the unsigned value.
    Color &Lighten(int pr, int pg, int pb) noexcept;

    // h, s, l in 0..1. Channels are truncated, not rounded: the hue formula
    // may land just below a whole intensity, so pure cyan (0.5, 1, 0.5)
    // comes out with green 254.
    static Color FromHSL(double h, double s, double l) noexcept;

private:
    // Each channel times percent / 100, truncated, within 0..255.
    void Scale(int percent) noexcept;
    static unsigned short Wide(unsigned v) noexcept { return static_cast<unsigned short>(v >= 0xFF00u ? 255u : v >> 8); }
    static double Hue_2_RGB(double p, double q, double t) noexcept;
    static int GetHexValue(char c) noexcept;

    unsigned short Red;
    unsigned short Green;
    unsigned short Blue;
};
