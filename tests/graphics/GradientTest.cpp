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
#include <numeric>
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
    auto model = [](int a, int b) { return (2 * a + b) / 3; };
    for (int i = 0; i < 200; ++i) {
        ColorPair const p = i < 2 ? ColorPair(Color(i ? 0ul : 0xFFFFFFul), Color(i ? 0xFFFFFFul : 0ul))
                                  : ColorPair(RandomColor(rng), RandomColor(rng));
        Color const avg = VerticalGradient(p).GetAverageColor();
        EXPECT_EQ(RGB(model(p[0].Get8BitRed(), p[1].Get8BitRed()), model(p[0].Get8BitGreen(), p[1].Get8BitGreen()),
                      model(p[0].Get8BitBlue(), p[1].Get8BitBlue())),
                  Ref(avg));
    }
}

// Each kind's ramp against the model; the same ramp again from four quarter
// fills that take it from one gradient rectangle.
TEST_F(GradientTest, LinearKindsPaintTheirRampAndJoinOverAGradientRectangle)
{
    std::mt19937 rng(11);
    for (Kind const &k : Kinds())
        for (int i = 0; i < 5; ++i) {
            ColorPair const p(RandomColor(rng), RandomColor(rng));
            std::unique_ptr<LinearRectGradient> g(k.make(p));
            Clear();
            ASSERT_TRUE(g->FillRect(dev, All())) << k.name;
            EXPECT_LE(WorstOff(k, p), 2) << k.name << " " << p[0].GetTestStr().GetStr() << " -> "
                                         << p[1].GetTestStr().GetStr();
            auto const whole = Shot();
            g->SetRectGradient(All());
            Clear();
            for (CRectangle const &q : {CRectangle(0, 0, 20, 30), CRectangle(21, 0, W - 1, 30),
                                        CRectangle(0, 31, 40, H - 1), CRectangle(41, 31, W - 1, H - 1)})
                ASSERT_TRUE(g->FillRect(dev, q));
            auto const joined = Shot();
            EXPECT_EQ(0, std::inner_product(whole.begin(), whole.end(), joined.begin(), 0, std::plus<>(),
                                            [](COLORREF a, COLORREF b) { return Dist(a, b) > 1; }))
                << k.name;
        }
}

TEST_F(GradientTest, FrameLinesFollowTheMaskInThePensColour)
{
    CRectangle const r(5, 4, 50, 40);
    for (int mask = 0; mask < 16; ++mask) {
        HorizontalGradient g(ColorPair(Color(0x00C000ul), Color(0xC00000ul))); // no red in the ramp
        g.SetPen(Pen(Color(0x0000FFul), 1, 0));
        g.SetFrame(mask);
        Clear();
        ASSERT_TRUE(g.FillRect(dev, r));
        auto red = [&](int x, int y) { return Dist(At(x, y), RED) <= 2; };
        EXPECT_EQ(bool(mask & RectGradientFrameTop), red(27, r.Top())) << mask;
        EXPECT_EQ(bool(mask & RectGradientFrameLeft), red(r.Left(), 22)) << mask;
        EXPECT_EQ(bool(mask & RectGradientFrameBottom), red(27, r.Bottom())) << mask;
        EXPECT_EQ(bool(mask & RectGradientFrameRight), red(r.Right(), 22)) << mask;
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
        EXPECT_EQ(21 * 11, CountOf(Ref(g.GetAverageColor())));
        EXPECT_EQ(Ref(g.GetAverageColor()), At(30, 20)) << "the inclusive corner";
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
    // What every copy keeps, and what only a centre-point copy keeps too.
    auto check = [&](RectGradient const &g, char const *how) {
        bool const centred = typeid(g) == typeid(CenterPointGradient);
        EXPECT_EQ(p[0].GetLong(), g.GetColorPair()[0].GetLong()) << how;
        EXPECT_EQ(p[1].GetLong(), g.GetColorPair()[1].GetLong()) << how;
        EXPECT_TRUE(g.GetRectGradient() == span) << how;
        EXPECT_FALSE(g.GetPen().IsValid()) << how;
        EXPECT_EQ(0, g.GetFrame()) << how;
        EXPECT_EQ(centred ? 40 : 100, g.GetCenterTransparency()) << how;
        EXPECT_EQ(centred ? 60 : 100, g.GetSurroundTransparency()) << how;
        if (auto const *c = dynamic_cast<CenterPointGradient const *>(&g)) {
            EXPECT_EQ(0x00FF00ul, c->GetCenterColor().GetLong()) << how;
            EXPECT_TRUE(c->GetCenterPercentX() == 20 && c->GetCenterPercentY() == 70) << how;
            EXPECT_TRUE(c->IsHorizontal() && c->IsAntiAliasing()) << how;
        }
    };
    VerticalGradient v(p), other{ColorPair()};
    decorate(v);
    check(VerticalGradient(v), "copy");
    decorate(other);
    other = v;
    check(other, "assignment");
    VerticalGradient source(v);
    decorate(source);
    VerticalGradient moved(std::move(source));
    check(moved, "move");
    HorizontalGradient h(p), h2{ColorPair()};
    decorate(h);
    h2 = std::move(h);
    check(h2, "move assignment");
    CenterPointGradient c(p, Color(0x00FF00ul)), c2{ColorPair(), Color()};
    decorate(c);
    c.SetCenterPercent(20, 70);
    c.SetHorizontal(true);
    c.SetAntiAliasing(true);
    check(CenterPointGradient(c), "centre copy");
    c2 = c;
    check(c2, "centre assignment");
    for (RectGradient const *g : {static_cast<RectGradient *>(&v), static_cast<RectGradient *>(&c)}) {
        std::unique_ptr<RectGradient> clone(g->Clone());
        EXPECT_EQ(typeid(*g), typeid(*clone));
        check(*clone, "clone");
    }
    for (Kind const &k : Kinds()) {
        std::unique_ptr<LinearRectGradient> g(k.make(p));
        EXPECT_EQ(typeid(*g), typeid(*std::unique_ptr<RectGradient>(g->Clone()))) << k.name;
        // Only the subclasses know a direction: through the linear base a
        // clone is a plain gradient.
        EXPECT_EQ(typeid(RectGradient), typeid(*std::unique_ptr<RectGradient>(g->LinearRectGradient::Clone())));
    }
}

// The brush over a rectangle against the rules: corner colours by the
// horizontal flag, the bottom-left one with the surround transparency, the
// centre by percent in integers, the centre colour with the centre
// transparency; the polygon's and the ellipse's rims and centres.
TEST_F(GradientTest, PathBrushesPlaceColoursAndCentreByTheirRules)
{
    std::mt19937 rng(13);
    // GDI+ answers as many surround colours as it keeps (equal ones once).
    auto rim = [](Gdiplus::PathGradientBrush &b) {
        INT count = b.GetSurroundColorCount();
        std::vector<Gdiplus::Color> colours(static_cast<size_t>(std::max(count, 1)));
        if (count < 1 || b.GetSurroundColors(colours.data(), &count) != Gdiplus::Ok)
            count = 0;
        colours.resize(static_cast<size_t>(count));
        return colours;
    };
    auto centreOf = [](Gdiplus::PathGradientBrush &b) {
        Gdiplus::Color c;
        b.GetCenterColor(&c);
        return c;
    };
    for (int i = 0; i < 40; ++i) {
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
        std::unique_ptr<Gdiplus::PathGradientBrush> rb(g.CreatePathGradientBrush(CRectangle(l, t, r, b)));
        ASSERT_NE(nullptr, rb);
        auto const corners = rim(*rb);
        ASSERT_EQ(4u, corners.size()) << "four colours, never all equal (the last has its own alpha)";
        Color const expect[4] = {p[0], horizontal ? p[1] : p[0], p[1], horizontal ? p[0] : p[1]};
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(Ref(expect[c]), corners[size_t(c)].ToCOLORREF()) << "corner " << c;
            EXPECT_EQ(c == 3 ? st * 255 / 100 : 255, corners[size_t(c)].GetA()) << "corner " << c;
        }
        Gdiplus::PointF at;
        rb->GetCenterPoint(&at);
        EXPECT_EQ(float(l + cx * (r - l) / 100), at.X);
        EXPECT_EQ(float(t + cy * (b - t) / 100), at.Y);
        EXPECT_EQ(Ref(centre), centreOf(*rb).ToCOLORREF());
        EXPECT_EQ(ct * 255 / 100, centreOf(*rb).GetA());

        unsigned const n = 3 + rng() % 6;
        CPolygon poly(n);
        for (unsigned k = 0; k < n; ++k)
            poly[k] = Point(int(100 + 80 * std::cos(6.283185 * k / n)), int(100 + 60 * std::sin(6.283185 * k / n)));
        FRectangle const er(2.5, 3.25, 2.5 + 40 + rng() % 100, 3.25 + 30 + rng() % 100);
        std::unique_ptr<Gdiplus::PathGradientBrush> pb(g.CreatePathGradientBrush(poly)),
            eb(g.CreateEllipticPathGradientBrush(er));
        ASSERT_TRUE(pb && eb);
        ASSERT_GE(pb->GetSurroundColorCount(), INT(n));
        for (auto *brush : {pb.get(), eb.get()}) {
            auto const colours = rim(*brush);
            ASSERT_FALSE(colours.empty());
            for (Gdiplus::Color const &c : colours)
                EXPECT_TRUE(c.ToCOLORREF() == Ref(p[0]) && c.GetA() == st * 255 / 100);
        }
        EXPECT_EQ(Ref(p[1]), centreOf(*pb).ToCOLORREF()) << "a polygon's centre takes the second colour";
        EXPECT_EQ(ct * 255 / 100, centreOf(*pb).GetA());
        eb->GetCenterPoint(&at);
        EXPECT_FLOAT_EQ(float(er.Left() + cx * er.Width() / 100), at.X);
        EXPECT_FLOAT_EQ(float(er.Top() + cy * er.Height() / 100), at.Y);
        EXPECT_EQ(Ref(centre), centreOf(*eb).ToCOLORREF());
    }
}

TEST_F(GradientTest, CentreFillsRunFromTheCentreColourToTheRim)
{
    Color const first(0x0000FFul), second(0xFF0000ul), centre(0x00FF00ul); // red, blue, green
    CenterPointGradient g(ColorPair(first, second), centre);
    ASSERT_TRUE(g.FillRect(dev, All()));
    EXPECT_LE(Dist(At(W / 2, H / 2), Ref(centre)), 16);
    EXPECT_LE(Dist(At(1, 1), Ref(first)), 40) << "the top corners take the first colour";
    EXPECT_LE(Dist(At(W - 3, H - 3), Ref(second)), 40) << "the bottom corners the second";

    // The ellipse (on the device too): the centre colour in the middle, the
    // outline in the pen's colour, the corners of its rectangle untouched.
    g.SetPen(Pen(Color(0ul), 1, 0));
    for (bool device : {false, true}) {
        Clear();
        ASSERT_TRUE(device ? dev->DrawEllipse(CRectangle(4, 4, 59, 43), g) : g.FillEllipse(dev, FRectangle(4, 4, 60, 44)));
        EXPECT_LE(Dist(At(32, 24), Ref(centre)), 16);
        EXPECT_TRUE(At(5, 5) == WHITE && At(58, 42) == WHITE);
        EXPECT_LE(Dist(At(32, 4), RGB(0, 0, 0)), 60) << "the outline at the top";
    }
    // A polygon runs from its rim in the first colour to its centre in the
    // second, outlined with the gradient's pen; nothing outside is touched.
    Clear();
    CPolygon tri(3);
    tri[0] = Point(2, 2), tri[1] = Point(61, 2), tri[2] = Point(32, 45);
    ASSERT_TRUE(dev->DrawPolygon(tri, g));
    EXPECT_GT(GetBValue(At(32, 16)), GetRValue(At(32, 16))) << "the centre leans to the second colour";
    EXPECT_EQ(WHITE, At(3, 30));
    EXPECT_EQ(RGB(0, 0, 0), At(32, 2));
}

TEST_F(GradientTest, BadInputGivesFalseOrNull)
{
    CenterPointGradient g(ColorPair(Color(0ul), Color(0xFFul)), Color(0xFF00ul));
    VerticalGradient v(ColorPair(Color(0ul), Color(0xFFul)));
    EXPECT_EQ(nullptr, g.CreatePathGradientBrush(CPolygon(0u)));
    CRectangle const r(0, 0, 9, 9);
    EXPECT_FALSE(g.FillRect(nullptr, r) || g.FillEllipse(nullptr, FRectangle(r)) || v.FillRect(nullptr, r) ||
                 RectGradient(ColorPair()).FillRect(nullptr, r));
    EXPECT_FALSE(v.FillRect(dev, CRectangle()) || g.FillRect(dev, CRectangle(3, 3, RECT_EMPTY, 9)));
    EXPECT_FALSE(dev->DrawPolygon(CPolygon(2u), g) || dev->DrawEllipse(CRectangle(), g)) << "no area";
    g.SetCenterPercent(-2000000000, 2000000000);
    delete g.CreatePathGradientBrush(CRectangle(-5, -5, INT_MAX, INT_MAX));
    g.FillRect(dev, CRectangle(INT_MIN + 1, INT_MIN + 1, INT_MAX, INT_MAX));
    v.FillRect(dev, CRectangle(INT_MAX, INT_MAX, INT_MAX, INT_MAX));
    g.FillEllipse(dev, FRectangle(1e30, -1e30, 1e31, 1e31));
    // The device still draws after all that.
    Clear();
    EXPECT_TRUE(v.FillRect(dev, All()));
    EXPECT_NE(WHITE, At(0, H - 1));
}

} // namespace
