// Colours against the same work written inline in floating point, the way
// a caller without the library would: HSL to RGB, alpha mixing, darkening
// and lightening of 10^6 colours, and hexadecimal text against snprintf.
#include "bench/BenchHarness.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include "graphics/Color.h"
#include "graphics/RGBAlpha.h"

namespace {

constexpr int N = 1000000;

inline double Hue(double p, double q, double t)
{
    if (t < 0)
        t += 1;
    if (t > 1)
        t -= 1;
    if (t < 1.0 / 6)
        return p + (q - p) * 6 * t;
    if (t < 0.5)
        return q;
    if (t < 2.0 / 3)
        return p + (q - p) * (2.0 / 3 - t) * 6;
    return p;
}

inline unsigned InlineHSL(double h, double s, double l)
{
    if (s == 0) {
        unsigned v = unsigned(l * 255);
        return v | v << 8 | v << 16;
    }
    double q = l < 0.5 ? l * (1 + s) : l + s - l * s, p = 2 * l - q;
    return unsigned(Hue(p, q, h + 1.0 / 3) * 255) | unsigned(Hue(p, q, h) * 255) << 8 |
           unsigned(Hue(p, q, h - 1.0 / 3) * 255) << 16;
}

inline unsigned InlineMix(unsigned own, unsigned back)
{
    double a = (own >> 24) / 255.0;
    unsigned r = unsigned((own & 0xFF) * a + (back & 0xFF) * (1 - a));
    unsigned g = unsigned(((own >> 8) & 0xFF) * a + ((back >> 8) & 0xFF) * (1 - a));
    unsigned b = unsigned(((own >> 16) & 0xFF) * a + ((back >> 16) & 0xFF) * (1 - a));
    return r | g << 8 | b << 16 | (own & 0xFF000000u);
}

inline unsigned InlineDarken(unsigned c, int p)
{
    double f = std::max(1 - p / 100.0, 0.0);
    return unsigned((c & 0xFF) * f) | unsigned(((c >> 8) & 0xFF) * f) << 8 | unsigned(((c >> 16) & 0xFF) * f) << 16;
}

inline unsigned InlineLighten(unsigned c, int p)
{
    double f = std::min(p / 100.0, 1.0);
    auto ch = [f](unsigned v) { return unsigned(v + (255 - v) * f); };
    return ch(c & 0xFF) | ch((c >> 8) & 0xFF) << 8 | ch((c >> 16) & 0xFF) << 16;
}

} // namespace

int main()
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<double> h(N), s(N), l(N);
    std::vector<unsigned> own(N), back(N);
    std::vector<int> pct(N);
    for (int i = 0; i < N; ++i) {
        h[i] = unit(rng);
        s[i] = i % 16 ? unit(rng) : 0.0;
        l[i] = unit(rng);
        own[i] = unsigned(rng());
        back[i] = unsigned(rng()) & 0xFFFFFF;
        pct[i] = int(rng() % 101);
    }

    unsigned long long sink = 0;
    bench::Compare(
        "Color::FromHSL, 10^6 colours", "inline formula", 9,
        [&] {
            unsigned long long t = 0;
            for (int i = 0; i < N; ++i)
                t += InlineHSL(h[i], s[i], l[i]);
            sink += t;
        },
        [&] {
            unsigned long long t = 0;
            for (int i = 0; i < N; ++i)
                t += Color::FromHSL(h[i], s[i], l[i]).GetLong();
            sink += t;
        });
    bench::Compare(
        "RGBAlpha::MixTransparent, 10^6 colours", "inline double", 9,
        [&] {
            unsigned long long t = 0;
            for (int i = 0; i < N; ++i)
                t += InlineMix(own[i], back[i]);
            sink += t;
        },
        [&] {
            unsigned long long t = 0;
            for (int i = 0; i < N; ++i) {
                RGBAlpha a(own[i]);
                a.MixTransparent(Color(static_cast<unsigned long>(back[i])));
                t += unsigned(a);
            }
            sink += t;
        });
    bench::Compare(
        "Color::Darken, 10^6 colours", "inline double", 9,
        [&] {
            unsigned long long t = 0;
            for (int i = 0; i < N; ++i)
                t += InlineDarken(back[i], pct[i]);
            sink += t;
        },
        [&] {
            unsigned long long t = 0;
            for (int i = 0; i < N; ++i)
                t += Color(static_cast<unsigned long>(back[i])).Darken(pct[i]).GetLong();
            sink += t;
        });
    bench::Compare(
        "Color::Lighten(p, 1), 10^6 colours", "inline double", 9,
        [&] {
            unsigned long long t = 0;
            for (int i = 0; i < N; ++i)
                t += InlineLighten(back[i], pct[i]);
            sink += t;
        },
        [&] {
            unsigned long long t = 0;
            for (int i = 0; i < N; ++i)
                t += Color(static_cast<unsigned long>(back[i])).Lighten(pct[i], 1).GetLong();
            sink += t;
        });
    bench::Compare(
        "Color::GetHTMLStr, 10^6 colours", "snprintf", 5,
        [&] {
            unsigned long long t = 0;
            char text[8];
            for (int i = 0; i < N; ++i) {
                unsigned c = back[i];
                std::snprintf(text, sizeof text, "#%02X%02X%02X", c & 0xFF, (c >> 8) & 0xFF, c >> 16);
                t += unsigned(text[3]);
            }
            sink += t;
        },
        [&] {
            unsigned long long t = 0;
            for (int i = 0; i < N; ++i)
                t += unsigned(Color(static_cast<unsigned long>(back[i])).GetHTMLStr()[3]);
            sink += t;
        });
    bench::Keep(sink);
    return 0;
}
