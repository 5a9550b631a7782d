// Colours checked against their formulas in floating point. Every exact result is a
// multiple of 1/100 or 1/255, so Trunc's nudge of 1e-7 lands on the right whole number.
#include "frame/KSGlobal.h"
#include "graphics/Color.h"
#include "graphics/ColorPair.h"
#include "graphics/RGBAlpha.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>
#include <windows.h>

namespace {

long long Trunc(double x) { return x >= 0 ? (long long)std::floor(x + 1e-7) : (long long)std::ceil(x - 1e-7); }
unsigned Clamp(long long v) { return unsigned(std::clamp(v, 0LL, 255LL)); }
Color Rgb(unsigned r, unsigned g, unsigned b) { return Color(r << 8, g << 8, b << 8); }
unsigned Bytes(Color const &c) { return c.GetLong(); }
std::vector<int> Percents()
{
    std::vector<int> p{INT_MIN, INT_MIN + 1, -1000000, 1000000, INT_MAX};
    for (int i = -300; i <= 300; ++i)
        p.push_back(i);
    return p;
}

} // namespace

TEST(Color, HexadecimalText)
{
    EXPECT_EQ(Bytes(Rgb(26, 43, 60)), Bytes(Color(SString("#1a2B3c"))));
    EXPECT_EQ(Bytes(Rgb(0x10, 0x20, 0x30)), Bytes(Color(SString("x102030FF")))) << "extra ignored";
    for (char const *shortText : {"#12345", "", static_cast<char const *>(nullptr)})
        EXPECT_EQ(0xFFFFFFu, Bytes(Color(SString(shortText))));
    EXPECT_STREQ("#0AFF00", Rgb(10, 255, 0).GetHTMLStr().GetStr());

    // Every byte as the low digit of red; upper-case letters run to Z = 35.
    for (int ch = 0; ch < 256; ++ch) {
        char text[8] = "#000000";
        text[2] = char(ch);
        int want = ch >= '0' && ch <= '9' ? ch - '0' : ch >= 'a' && ch <= 'f' ? ch - 'a' + 10
                 : ch >= 'A' && ch <= 'Z' ? ch - 'A' + 10 : 0;
        EXPECT_EQ(want, Color(SString(text, 0, 7, true)).Get8BitRed()) << ch;
    }
    EXPECT_EQ(Bytes(Rgb(255, 255, 0)), Bytes(Color(SString("#ZZG000")))) << "pairs above 255 saturate";
    for (unsigned long v = 0; v < 0x1000000; ++v)
        if (Color(Color(v).GetHTMLStr()).GetLong() != v)
            FAIL() << v;
}

TEST(Color, NamedColoursNeedTheGlobalData)
{
    ASSERT_EQ(nullptr, GetPKSData());
    EXPECT_EQ(0u, Bytes(Color(ColorNameWhite))) << "black before KSInit";
    KSInit();
    EXPECT_EQ(Bytes(Rgb(133, 69, 0)), Bytes(Color(ColorNameBrown)));
    EXPECT_EQ(Bytes(Rgb(240, 191, 140)), Bytes(Color(ColorNameTan))) << "the last name";
    EXPECT_EQ(0xFF00FFu, Bytes(Color(ColorNameLightMagenta))) << "the transparency key";
    EXPECT_EQ(0xFFFFFFu, Bytes(Color(ColorNameWhite)));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), Bytes(Color(ColorNameButtonFace)));
    for (int beyond : {30, INT_MAX, -1, INT_MIN})
        EXPECT_EQ(0u, Bytes(Color(static_cast<ColorName>(beyond)))) << beyond;
    KSExit();
    EXPECT_EQ(0u, Bytes(Color(ColorNameWhite)));
}

TEST(Color, BrightnessFollowsTheFormulasExactly)
{
    EXPECT_EQ(Bytes(Rgb(1, 2, 4)), Bytes(Rgb(5, 10, 20).Darken(80))) << "exact, not 1 - 0.8 in binary";
    Color c = Rgb(1, 2, 3);
    EXPECT_EQ(&c, &c.Lighten(10, 7));
    EXPECT_EQ(Bytes(Rgb(1, 2, 3)), Bytes(c)) << "unknown mode";

    for (int p : Percents()) {
        double const f = p / 100.0;
        for (int v = 0; v < 256; ++v) {
            Color base = Rgb(v, 255 - v, v / 2);
            auto check = [&](Color got, auto rule, char const *what) {
                if (Bytes(got) == Bytes(Rgb(rule(v), rule(255 - v), rule(v / 2))))
                    return true;
                ADD_FAILURE() << what << " " << p << " " << base.GetTestStr().GetStr() << " -> " << got.GetTestStr().GetStr();
                return false;
            };
            // Results the formulas leave below 0 clamp to black; the
            // three-percent Lighten alone is defined to read them as 255.
            bool const ok =
                check(Color(base).ChangeBrightness(p), [&](int c) { return Clamp(Trunc(std::min(c * f, 255.0))); }, "bright") &&
                check(Color(base).Darken(p), [&](int c) { return Clamp(Trunc(c * std::max(1 - f, 0.0))); }, "darken") &&
                check(Color(base).Lighten(p, 0), [&](int c) { return Clamp(Trunc(c * (1 + f))); }, "lighten0") &&
                check(Color(base).Lighten(p, 1), [&](int c) { return Clamp(Trunc(c + (255 - c) * std::min(f, 1.0))); }, "lighten1") &&
                check(Color(base).Lighten(p, p, p), [&](int c) { long long t = Trunc(c * (1 + f)); return t < 0 ? 255u : unsigned(std::min(t, 255LL)); }, "lighten3");
            if (!ok)
                return;
        }
    }
}

TEST(Color, FromHSL)
{
    // The HSL of each colour cell's centre (c + 0.5) truncates back to the colour; at 255
    // the centre leaves the cube, so the exact point is used: it may lose one, never gain.
    auto hsl = [](double r, double g, double b, double out[3]) {
        double const mx = std::max({r, g, b}), mn = std::min({r, g, b}), d = mx - mn;
        out[2] = (mx + mn) / 2;
        out[1] = d == 0 ? 0 : out[2] > 0.5 ? d / (2 - mx - mn) : d / (mx + mn);
        double h = d == 0 ? 0 : mx == r ? (g - b) / d + (g < b ? 6 : 0) : mx == g ? (b - r) / d + 2 : (r - g) / d + 4;
        out[0] = h / 6;
    };
    double x[3];
    for (unsigned v = 0; v < 0x1000000; ++v) {
        unsigned const r = v & 0xFF, g = (v >> 8) & 0xFF, b = v >> 16;
        bool const edge = r == 255 || g == 255 || b == 255;
        double const off = edge ? 0 : 0.5;
        hsl((r + off) / 255, (g + off) / 255, (b + off) / 255, x);
        Color c = Color::FromHSL(x[0], x[1], x[2]);
        unsigned const got[3] = {c.Get8BitRed(), c.Get8BitGreen(), c.Get8BitBlue()}, want[3] = {r, g, b};
        for (int i = 0; i < 3; ++i)
            if (edge ? got[i] > want[i] || got[i] + 1 < want[i] : got[i] != want[i])
                FAIL() << Rgb(r, g, b).GetTestStr().GetStr() << " -> " << c.GetTestStr().GetStr();
    }
    EXPECT_EQ(0x0000FFu, Bytes(Color::FromHSL(0, 1, 0.5)));
    EXPECT_EQ(0x00FF00u, Bytes(Color::FromHSL(1 / 3.0, 1, 0.5)));
    EXPECT_EQ(0xFF0000u, Bytes(Color::FromHSL(2 / 3.0, 1, 0.5)));
    EXPECT_EQ(Bytes(Rgb(0, 254, 255)), Bytes(Color::FromHSL(0.5, 1, 0.5))) << "truncated, not rounded";

    double const nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    for (double bad : {nan, inf, -inf, -3.5, 1e300})
        for (Color c : {Color::FromHSL(bad, 0.5, 0.5), Color::FromHSL(0.2, bad, 0.5), Color::FromHSL(0.2, 0.5, bad)})
            EXPECT_LE(std::max({c.Get8BitRed(), c.Get8BitGreen(), c.Get8BitBlue()}), 255) << bad;
}

TEST(RGBAlpha, MixAndPremultiplyEveryByte)
{
    for (unsigned a = 0; a < 256; ++a)
        for (unsigned own = 0; own < 256; ++own) {
            RGBAlpha p(own, own, 255 - own, a);
            p.PreMultiplyAlpha();
            if (p.GetRed() != Trunc(own * a / 255.0) || p.GetBlue() != Trunc((255 - own) * a / 255.0) || p.GetAlpha() != a)
                FAIL() << own << " " << a;
            for (unsigned back = 0; back < 256; ++back) {
                RGBAlpha m(own, back, own, a);
                m.MixTransparent(Rgb(back, own, own));
                double const w = a / 255.0;
                int const mixed = Trunc(own * w + back * (1 - w)), swapped = Trunc(back * w + own * (1 - w));
                if (m.GetRed() != mixed || m.GetGreen() != swapped || m.GetBlue() != own || m.GetAlpha() != a)
                    FAIL() << own << " " << back << " " << a << ": " << m.GetStr().GetStr();
            }
        }
}

TEST(ColorPair, IndexingAndShades)
{
    ColorPair pair;
    EXPECT_EQ(0xFFFFFFu, Bytes(pair[0]));
    pair[3] = Rgb(1, 2, 3);
    EXPECT_EQ(0xFFFFFFu, Bytes(pair[2]));
    EXPECT_EQ(Bytes(Rgb(1, 2, 3)), Bytes(static_cast<ColorPair const &>(pair)[-1]));

    ColorPair const grey(Rgb(100, 100, 100), 20);
    EXPECT_EQ(Bytes(Rgb(131, 131, 131)), Bytes(grey[0]));
    EXPECT_EQ(Bytes(Rgb(80, 80, 80)), Bytes(grey[1]));

    for (int p : Percents()) {
        double const q = std::fabs(double(p)) / 100;
        for (int v = 0; v < 256; ++v) {
            unsigned const light = Clamp(Trunc(v + (255 - v) * std::min(q, 1.0))), dark = Clamp(Trunc(v * std::max(1 - q, 0.0)));
            ColorPair const s(Rgb(v, v, v), p);
            if (s[p < 0].Get8BitGreen() != light || s[p >= 0].Get8BitGreen() != dark)
                FAIL() << p << " " << v << ": " << s[0].GetTestStr().GetStr() << " / " << s[1].GetTestStr().GetStr();
        }
    }
}
