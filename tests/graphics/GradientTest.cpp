// Gradients: the ramps the linear kinds paint against a model of the colour
// at each pixel, joined fills, frames, the centre-point brushes' settings
// against the rules that place them, what a copy carries, and bad input.
#include "graphics/CenterPointGradient.h"
#include "graphics/DiagonalGradient.h"
#include "graphics/HorizontalGradient.h"
#include "graphics/VerticalGradient.h"
#include "tests/support/DeviceFixture.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <random>
#include <typeinfo>
#include <windows.h>
#include <gdiplus.h>

using kstest::DeviceFixture;

namespace {

Color RandomColor(std::mt19937 &rng)
{
    return Color(static_cast<unsigned long>(rng() & 0xFFFFFF));
}

// The largest channel difference.
int Dist(COLORREF a, COLORREF b)
{
    return std::max({std::abs(int(GetRValue(a)) - int(GetRValue(b))), std::abs(int(GetGValue(a)) - int(GetGValue(b))),
                     std::abs(int(GetBValue(a)) - int(GetBValue(b)))});
}

// The colour a fraction t of the way from a to b.
COLORREF Mix(Color const &a, Color const &b, double t)
{
    auto one = [t](int x, int y) { return BYTE(std::lround(x + (y - x) * t)); };
    return RGB(one(a.Get8BitRed(), b.Get8BitRed()), one(a.Get8BitGreen(), b.Get8BitGreen()),
               one(a.Get8BitBlue(), b.Get8BitBlue()));
}

COLORREF Ref(Color const &c)
{
    return static_cast<COLORREF>(c.GetLong());
}

// Where each linear kind is along its ramp at a pixel of a w x h area at the
// origin: the projection onto the line from the top-left corner to the
// kind's end point. GDI+ samples a pixel at its top-left corner.
struct Kind
{
    char const *name;
    std::function<LinearRectGradient *(ColorPair const &)> make;
    double ex, ey; // the end point in units of (w, h)
};

std::vector<Kind> const &Kinds()
{
    static std::vector<Kind> const kinds{
        {"vertical", [](ColorPair const &p) { return new VerticalGradient(p); }, 0, 1},
        {"horizontal", [](ColorPair const &p) { return new HorizontalGradient(p); }, 1, 0},
        {"diagonal", [](ColorPair const &p) { return new DiagonalGradient(p); }, 1, 1},
    };
    return kinds;
}

double Along(Kind const &k, int w, int h, int x, int y)
{
    double const ex = k.ex * w, ey = k.ey * h;
    double const t = (x * ex + y * ey) / (ex * ex + ey * ey);
    return std::clamp(t, 0.0, 1.0);
}

class GradientTest : public DeviceFixture
{
protected:
    CRectangle All() const { return CRectangle(0, 0, W - 1, H - 1); }
    // The worst distance of the device's pixels from the kind's model. Wine
    // paints the very first pixel of a slanted ramp in the end colour (its
    // position 0 wraps to 1 in the tiled brush): that one pixel is the
    // platform's, not ours.
    int WorstOff(Kind const &k, ColorPair const &p)
    {
        int worst = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                if (x + y > 0 || k.ex * k.ey == 0)
                    worst = std::max(worst, Dist(At(x, y), Mix(p[0], p[1], Along(k, W, H, x, y))));
        return worst;
    }
};

TEST_F(GradientTest, AverageLeansTwoToOneTowardsTheFirstColour)
{
    std::mt19937 rng(7);
    std::vector<ColorPair> pairs{ColorPair(Color(0ul), Color(0xFFFFFFul)), ColorPair(Color(0xFFFFFFul), Color(0ul))};
    for (int i = 0; i < 200; ++i)
        pairs.emplace_back(RandomColor(rng), RandomColor(rng));
    for (ColorPair const &p : pairs) {
        Color const avg = VerticalGradient(p).GetAverageColor();
        auto model = [](int a, int b) { return (2 * a + b) / 3; };
        EXPECT_EQ(model(p[0].Get8BitRed(), p[1].Get8BitRed()), avg.Get8BitRed());
        EXPECT_EQ(model(p[0].Get8BitGreen(), p[1].Get8BitGreen()), avg.Get8BitGreen());
        EXPECT_EQ(model(p[0].Get8BitBlue(), p[1].Get8BitBlue()), avg.Get8BitBlue());
    }
}

TEST_F(GradientTest, LinearKindsPaintTheirRampOverTheRectangle)
{
    std::mt19937 rng(11);
    for (Kind const &k : Kinds())
        for (int i = 0; i < 6; ++i) {
            ColorPair const p(RandomColor(rng), RandomColor(rng));
            std::unique_ptr<LinearRectGradient> g(k.make(p));
            Clear();
            ASSERT_TRUE(g->FillRect(dev, All())) << k.name;
            EXPECT_LE(WorstOff(k, p), 2) << k.name << " " << p[0].GetTestStr().GetStr() << " -> "
                                         << p[1].GetTestStr().GetStr();
        }
}

TEST_F(GradientTest, AGradientRectangleJoinsSeparateFills)
{
    std::mt19937 rng(3);
    for (Kind const &k : Kinds()) {
        ColorPair const p(RandomColor(rng), RandomColor(rng));
        std::unique_ptr<LinearRectGradient> g(k.make(p));
        Clear();
        ASSERT_TRUE(g->FillRect(dev, All()));
        auto const whole = Shot();
        // Four quarters, each taking its ramp from the whole area.
        g->SetRectGradient(All());
        Clear();
        for (CRectangle const &q : {CRectangle(0, 0, 20, 30), CRectangle(21, 0, W - 1, 30), CRectangle(0, 31, 40, H - 1),
                                    CRectangle(41, 31, W - 1, H - 1)})
            ASSERT_TRUE(g->FillRect(dev, q));
        auto const joined = Shot();
        int differ = 0;
        for (size_t i = 0; i < whole.size(); ++i)
            differ += Dist(joined[i], whole[i]) > 1;
        EXPECT_EQ(0, differ) << k.name;
        // Without it, each quarter is a ramp of its own: they do not join.
        g->SetRectGradient(CRectangle());
        Clear();
        g->FillRect(dev, CRectangle(0, 0, 20, 30));
        g->FillRect(dev, CRectangle(21, 0, W - 1, 30));
        EXPECT_GT(Dist(At(21, 0), At(20, 0)) + Dist(At(0, 30), whole[30 * W]) + Dist(At(21, 30), whole[30 * W + 21]), 8)
            << k.name;
    }
}

TEST_F(GradientTest, FrameLinesFollowTheMaskInThePensColour)
{
    ColorPair const p(Color(0x00C000ul), Color(0xC00000ul)); // green to blue: no red
    CRectangle const r(5, 4, 50, 40);
    for (int mask = 0; mask < 16; ++mask) {
        HorizontalGradient g(p);
        g.SetPen(Pen(Color(0x0000FFul), 1, 0));
        g.SetFrame(mask);
        Clear();
        ASSERT_TRUE(g.FillRect(dev, r));
        auto red = [&](int x, int y) { return Dist(At(x, y), RED) <= 2; };
        EXPECT_EQ(bool(mask & RectGradientFrameTop), red(27, r.Top())) << mask;
        EXPECT_EQ(bool(mask & RectGradientFrameLeft), red(r.Left(), 22)) << mask;
        EXPECT_EQ(bool(mask & RectGradientFrameBottom), red(27, r.Bottom())) << mask;
        EXPECT_EQ(bool(mask & RectGradientFrameRight), red(r.Right(), 22)) << mask;
        EXPECT_FALSE(red(27, 22)) << "the inside is the ramp's";
        EXPECT_EQ(WHITE, At(r.Right() + 2, 22)) << "nothing beyond the rectangle";
    }
}

TEST_F(GradientTest, TheBaseFillsPlainlyAndLeavesTheDevicesTools)
{
    std::mt19937 rng(5);
    for (int i = 0; i < 8; ++i) {
        RectGradient g(ColorPair(RandomColor(rng), RandomColor(rng)));
        Pen const pen(RandomColor(rng), 1, 0);
        Brush const brush(RandomColor(rng), BrushStyleSolid);
        dev->ChangePen(pen);
        dev->ChangeFillInBrush(brush);
        Clear();
        ASSERT_TRUE(g.FillRect(dev, CRectangle(10, 10, 30, 20)));
        EXPECT_EQ(Ref(g.GetAverageColor()), At(10, 10));
        EXPECT_EQ(Ref(g.GetAverageColor()), At(30, 20)) << "the inclusive corner";
        EXPECT_EQ(WHITE, At(31, 21));
        EXPECT_TRUE(dev->GetPen() == pen);
        EXPECT_EQ(brush.GetColor().GetLong(), dev->GetFillInBrush().GetColor().GetLong());
    }
}

TEST_F(GradientTest, CopiesCarryTheRampButNotTheDecoration)
{
    ColorPair const p(Color(0x102030ul), Color(0x405060ul));
    CRectangle const span(1, 2, 30, 40);
    auto decorate = [&](RectGradient &g) {
        g.SetPen(Pen(Color(0x0000FFul), 3, 0));
        g.SetFrame(15);
        g.SetCenterTransparency(40);
        g.SetSurroundTransparency(60);
        g.SetRectGradient(span);
    };
    auto plain = [&](RectGradient const &g, char const *how) {
        EXPECT_EQ(p[0].GetLong(), g.GetColorPair()[0].GetLong()) << how;
        EXPECT_EQ(p[1].GetLong(), g.GetColorPair()[1].GetLong()) << how;
        EXPECT_TRUE(g.GetRectGradient() == span) << how;
        EXPECT_FALSE(g.GetPen().IsValid()) << how;
        EXPECT_EQ(0, g.GetFrame()) << how;
        EXPECT_EQ(100, g.GetCenterTransparency()) << how;
        EXPECT_EQ(100, g.GetSurroundTransparency()) << how;
    };
    VerticalGradient v(p);
    decorate(v);
    VerticalGradient copy(v);
    plain(copy, "copy");
    VerticalGradient assigned(ColorPair(Color(0ul), Color(0ul)));
    decorate(assigned);
    assigned = v;
    plain(assigned, "assignment");
    VerticalGradient moved(std::move(copy));
    plain(moved, "move");
    HorizontalGradient h(p), h2(ColorPair(Color(0ul), Color(0ul)));
    decorate(h);
    h2 = std::move(h);
    plain(h2, "move assignment");
    std::unique_ptr<RectGradient> clone(static_cast<RectGradient const &>(v).Clone());
    plain(*clone, "clone");
    EXPECT_EQ(typeid(VerticalGradient), typeid(*clone));
    // Only the subclasses know a direction: a clone through the linear base
    // is a plain gradient.
    std::unique_ptr<RectGradient> base(v.LinearRectGradient::Clone());
    EXPECT_EQ(typeid(RectGradient), typeid(*base));
    for (Kind const &k : Kinds()) {
        std::unique_ptr<LinearRectGradient> g(k.make(p));
        std::unique_ptr<RectGradient> c(g->Clone());
        EXPECT_EQ(typeid(*g), typeid(*c)) << k.name;
    }

    CenterPointGradient cp(p, Color(0x0000FFul));
    decorate(cp);
    cp.SetCenterPercent(20, 70);
    cp.SetHorizontal(true);
    cp.SetAntiAliasing(true);
    auto centred = [&](CenterPointGradient const &g, char const *how) {
        EXPECT_FALSE(g.GetPen().IsValid()) << how;
        EXPECT_EQ(0, g.GetFrame()) << how;
        EXPECT_EQ(40, g.GetCenterTransparency()) << how;
        EXPECT_EQ(60, g.GetSurroundTransparency()) << how;
        EXPECT_EQ(0x0000FFul, g.GetCenterColor().GetLong()) << how;
        EXPECT_EQ(20, g.GetCenterPercentX()) << how;
        EXPECT_EQ(70, g.GetCenterPercentY()) << how;
        EXPECT_TRUE(g.IsHorizontal() && g.IsAntiAliasing()) << how;
        EXPECT_TRUE(g.GetRectGradient() == span) << how;
    };
    centred(CenterPointGradient(cp), "copy");
    CenterPointGradient cpa{ColorPair(), Color()};
    cpa = cp;
    centred(cpa, "assignment");
    std::unique_ptr<RectGradient> cpc(cp.Clone());
    ASSERT_EQ(typeid(CenterPointGradient), typeid(*cpc));
    centred(static_cast<CenterPointGradient const &>(*cpc), "clone");
}

// The brush over a rectangle against the rules: corner colours by the
// horizontal flag, the bottom-left one with the surround transparency, the
// centre by percent in integers, the centre colour with the centre
// transparency.
TEST_F(GradientTest, RectangleBrushesPlaceColoursAndCentreByTheirRules)
{
    std::mt19937 rng(13);
    for (int i = 0; i < 60; ++i) {
        ColorPair const p(RandomColor(rng), RandomColor(rng));
        Color const centre = RandomColor(rng);
        CenterPointGradient g(p, centre);
        int const cx = int(rng() % 101), cy = int(rng() % 101), ct = int(rng() % 101), st = int(rng() % 101);
        bool const horizontal = rng() & 1;
        g.SetCenterPercent(cx, cy);
        g.SetCenterTransparency(ct);
        g.SetSurroundTransparency(st);
        g.SetHorizontal(horizontal);
        int const l = int(rng() % 50), t = int(rng() % 50), r = l + 1 + int(rng() % 300), b = t + 1 + int(rng() % 300);
        std::unique_ptr<Gdiplus::PathGradientBrush> brush(g.CreatePathGradientBrush(CRectangle(l, t, r, b)));
        ASSERT_NE(nullptr, brush);
        ASSERT_EQ(4, brush->GetSurroundColorCount());
        Gdiplus::Color got[4];
        INT n = 4;
        ASSERT_EQ(Gdiplus::Ok, brush->GetSurroundColors(got, &n));
        Color const expect[4] = {p[0], horizontal ? p[1] : p[0], p[1], horizontal ? p[0] : p[1]};
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(Ref(expect[c]), got[c].ToCOLORREF()) << "corner " << c;
            EXPECT_EQ(c == 3 ? st * 255 / 100 : 255, got[c].GetA()) << "corner " << c;
        }
        Gdiplus::PointF at;
        ASSERT_EQ(Gdiplus::Ok, brush->GetCenterPoint(&at));
        EXPECT_EQ(float(l + cx * (r - l) / 100), at.X);
        EXPECT_EQ(float(t + cy * (b - t) / 100), at.Y);
        Gdiplus::Color mid;
        ASSERT_EQ(Gdiplus::Ok, brush->GetCenterColor(&mid));
        EXPECT_EQ(Ref(centre), mid.ToCOLORREF());
        EXPECT_EQ(ct * 255 / 100, mid.GetA());
        std::unique_ptr<Gdiplus::Brush> same(g.CreateGdiplusBrush(CRectangle(l, t, r, b)));
        EXPECT_EQ(Gdiplus::BrushTypePathGradient, same ? same->GetType() : Gdiplus::BrushTypeSolidColor);
    }
}

TEST_F(GradientTest, PolygonAndEllipseBrushesTakeTheirRimAndCentre)
{
    std::mt19937 rng(17);
    for (int i = 0; i < 30; ++i) {
        ColorPair const p(RandomColor(rng), RandomColor(rng));
        Color const centre = RandomColor(rng);
        CenterPointGradient g(p, centre);
        int const ct = int(rng() % 101), st = int(rng() % 101), cx = int(rng() % 101), cy = int(rng() % 101);
        g.SetCenterTransparency(ct);
        g.SetSurroundTransparency(st);
        g.SetCenterPercent(cx, cy);

        unsigned const n = 3 + rng() % 6;
        CPolygon poly(n);
        for (unsigned k = 0; k < n; ++k) {
            double const a = 6.283185307 * k / n;
            poly[k] = Point(int(100 + 80 * std::cos(a)), int(100 + 60 * std::sin(a)));
        }
        // GDI+ answers as many surround colours as it keeps (equal ones are
        // kept once), the rest repeat the last.
        auto rim = [](Gdiplus::PathGradientBrush &b) {
            INT count = b.GetSurroundColorCount();
            std::vector<Gdiplus::Color> colours(static_cast<size_t>(std::max(count, 1)));
            if (count < 1 || b.GetSurroundColors(colours.data(), &count) != Gdiplus::Ok)
                count = 0;
            colours.resize(static_cast<size_t>(count));
            return colours;
        };
        std::unique_ptr<Gdiplus::PathGradientBrush> pb(g.CreatePathGradientBrush(poly));
        ASSERT_NE(nullptr, pb);
        ASSERT_GE(pb->GetSurroundColorCount(), INT(n));
        auto const polyRim = rim(*pb);
        ASSERT_FALSE(polyRim.empty());
        for (Gdiplus::Color const &c : polyRim) {
            EXPECT_EQ(Ref(p[0]), c.ToCOLORREF());
            EXPECT_EQ(st * 255 / 100, c.GetA());
        }
        Gdiplus::Color mid;
        pb->GetCenterColor(&mid);
        EXPECT_EQ(Ref(p[1]), mid.ToCOLORREF()) << "a polygon's centre takes the second colour";
        EXPECT_EQ(ct * 255 / 100, mid.GetA());

        FRectangle const r(2.5, 3.25, 2.5 + 40 + rng() % 100, 3.25 + 30 + rng() % 100);
        std::unique_ptr<Gdiplus::PathGradientBrush> eb(g.CreateEllipticPathGradientBrush(r));
        ASSERT_NE(nullptr, eb);
        auto const ellipseRim = rim(*eb);
        ASSERT_FALSE(ellipseRim.empty());
        for (Gdiplus::Color const &c : ellipseRim) {
            EXPECT_EQ(Ref(p[0]), c.ToCOLORREF());
            EXPECT_EQ(st * 255 / 100, c.GetA());
        }
        Gdiplus::PointF at;
        eb->GetCenterPoint(&at);
        EXPECT_FLOAT_EQ(float(r.Left() + cx * r.Width() / 100), at.X);
        EXPECT_FLOAT_EQ(float(r.Top() + cy * r.Height() / 100), at.Y);
        eb->GetCenterColor(&mid);
        EXPECT_EQ(Ref(centre), mid.ToCOLORREF());
    }
}

TEST_F(GradientTest, CentreFillsRunFromTheCentreColourToTheRim)
{
    Color const first(0x0000FFul), second(0xFF0000ul), centre(0x00FF00ul); // red, blue, green
    CenterPointGradient g(ColorPair(first, second), centre);
    ASSERT_TRUE(g.FillRect(dev, CRectangle(0, 0, W - 1, H - 1)));
    EXPECT_LE(Dist(At(W / 2, H / 2), Ref(centre)), 16);
    EXPECT_LE(Dist(At(1, 1), Ref(first)), 40) << "the top corners take the first colour";
    EXPECT_LE(Dist(At(W - 3, H - 3), Ref(second)), 40) << "the bottom corners the second";
    g.SetHorizontal(true);
    g.SetCenterPercent(25, 50);
    Clear();
    ASSERT_TRUE(g.FillRect(dev, CRectangle(0, 0, W - 1, H - 1)));
    EXPECT_LE(Dist(At(W - 3, 1), Ref(second)), 40) << "horizontal: the right corners take the second colour";
    EXPECT_LE(Dist(At(W / 4, H / 2), Ref(centre)), 16) << "the centre moved to a quarter of the width";

    // The ellipse: the centre colour in the middle, its outline in the
    // pen's colour, the corners of its rectangle untouched.
    CenterPointGradient e(ColorPair(first, first), centre);
    e.SetPen(Pen(Color(0ul), 1, 0));
    Clear();
    ASSERT_TRUE(e.FillEllipse(dev, FRectangle(4, 4, 60, 44)));
    EXPECT_LE(Dist(At(32, 24), Ref(centre)), 16);
    EXPECT_EQ(WHITE, At(5, 5));
    EXPECT_EQ(WHITE, At(58, 42));
    EXPECT_LE(Dist(At(32, 4), RGB(0, 0, 0)), 60) << "the outline at the top";
}

TEST_F(GradientTest, BadInputGivesFalseOrNull)
{
    CenterPointGradient g(ColorPair(Color(0ul), Color(0xFFul)), Color(0xFF00ul));
    VerticalGradient v(ColorPair(Color(0ul), Color(0xFFul)));
    EXPECT_EQ(nullptr, g.CreatePathGradientBrush(CPolygon(0u)));
    EXPECT_FALSE(g.FillRect(nullptr, CRectangle(0, 0, 9, 9)));
    EXPECT_FALSE(g.FillEllipse(nullptr, FRectangle(0, 0, 9, 9)));
    EXPECT_FALSE(v.FillRect(nullptr, CRectangle(0, 0, 9, 9)));
    EXPECT_FALSE(RectGradient(ColorPair()).FillRect(nullptr, CRectangle(0, 0, 9, 9)));
    EXPECT_FALSE(v.FillRect(dev, CRectangle()));
    EXPECT_FALSE(g.FillRect(dev, CRectangle(3, 3, RECT_EMPTY, 9)));
    EXPECT_FALSE(dev->DrawPolygon(CPolygon(2u), g)) << "no area";
    g.SetCenterPercent(-2000000000, 2000000000);
    delete g.CreatePathGradientBrush(CRectangle(-5, -5, INT_MAX, INT_MAX));
    g.FillRect(dev, CRectangle(INT_MIN + 1, INT_MIN + 1, INT_MAX, INT_MAX));
    v.FillRect(dev, CRectangle(INT_MAX, INT_MAX, INT_MAX, INT_MAX));
    g.FillEllipse(dev, FRectangle(1e30, -1e30, 1e31, 1e31));
    // The device still draws after all that.
    Clear();
    EXPECT_TRUE(v.FillRect(dev, CRectangle(0, 0, W - 1, H - 1)));
    EXPECT_NE(WHITE, At(0, H - 1));
}

TEST_F(GradientTest, FillsAndBrushesLeaveNothingBehind)
{
    ColorPair const p(Color(0x123456ul), Color(0xABCDEFul));
    CenterPointGradient c(p, Color(0x00FF00ul));
    c.SetPen(Pen(Color(0ul), 2, 0));
    c.SetAntiAliasing(true);
    DiagonalGradient d(p);
    d.SetPen(Pen(Color(0xFFul), 1, 0));
    d.SetFrame(15);
    CPolygon tri(3);
    tri[0] = Point(2, 2), tri[1] = Point(60, 5), tri[2] = Point(30, 45);
    auto cycle = [&](int i) {
        CRectangle const r(i % 7, i % 5, W - 1 - i % 3, H - 1);
        d.FillRect(dev, r);
        c.FillRect(dev, r);
        c.FillEllipse(dev, FRectangle(r));
        RectGradient(p).FillRect(dev, r);
        delete c.CreatePathGradientBrush(tri);
        delete c.CreateEllipticPathGradientBrush(FRectangle(r));
        delete d.CreateGdiplusBrush(r);
        std::unique_ptr<RectGradient>(c.Clone());
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 100}, cycle));
}

} // namespace
