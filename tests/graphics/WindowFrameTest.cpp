// Frames and shadows against a raster model that paints the same lines in
// the same order from the stated colour rules; geometry by its round trips.
#include "controls/VisualStylist.h"
#include "graphics/Texture.h"
#include "graphics/WindowBlurShadow.h"
#include "graphics/WindowFrame.h"
#include "graphics/WindowFrame3D.h"
#include "graphics/WindowFrame3DRound.h"
#include "graphics/WindowShadow.h"
#include "tests/support/DeviceFixture.h"
#include "tests/support/WindowFixture.h"
#include "window/WorkWindow.h"

#include <functional>
#include <random>

namespace {

using kstest::DeviceFixture;
constexpr int kW = 64, kH = 48; // the fixture device's size

// The model raster: white, with inclusive lines painted over it; a line
// whose start lies beyond its end runs backwards, as the platform's does.
struct Raster
{
    std::vector<COLORREF> px = std::vector<COLORREF>(size_t(kW * kH), RGB(255, 255, 255));
    void Line(int x1, int y1, int x2, int y2, COLORREF c)
    {
        int const dx = x2 > x1 ? 1 : x2 < x1 ? -1 : 0, dy = y2 > y1 ? 1 : y2 < y1 ? -1 : 0;
        for (int x = x1, y = y1;; x += dx, y += dy) {
            if (x >= 0 && y >= 0 && x < kW && y < kH)
                px[size_t(y * kW + x)] = c;
            if (x == x2 && y == y2)
                break;
        }
    }
    // Step i's side of the outer rectangle L, T, W, H.
    void Side(char side, int i, int L, int T, int W, int H, COLORREF c)
    {
        switch (side) {
        case 't': Line(L + i, T + i, L + W - 1 - i, T + i, c); break;
        case 'l': Line(L + i, T + i, L + i, T + H - 1 - i, c); break;
        case 'r': Line(L + W - 1 - i, T + i, L + W - 1 - i, T + H - 1 - i, c); break;
        default: Line(L + i, T + H - 1 - i, L + W - 1 - i, T + H - 1 - i, c); break;
        }
    }
};

COLORREF Grey(int g) { return RGB(g, g, g); }

struct Config
{
    int kind; // 0 plain, 1 3D, 2 round
    int thick, dist, L, T, W, H;
    bool sunken, textureBased;
    COLORREF colour, light, dark;
};

Raster Model(Config const &c)
{
    Raster r;
    int const n = c.thick == 0 && c.kind != 0 ? 1 : c.thick;
    auto side = [&](char s, int i, COLORREF col) { r.Side(s, i, c.L, c.T, c.W, c.H, col); };
    if (c.kind == 0) {
        for (int i = 0; i < n; ++i)
            for (char s : {'t', 'l', 'r', 'b'})
                side(s, i, c.colour);
    } else if (c.kind == 1 && n > 1 && !c.textureBased) {
        int const step = 16383 / n;
        for (int i = 0; i < n; ++i) {
            int const rise = std::min(((49152 + step * i) % 65536) >> 8, 255);
            int const fall = int(49152 - 1.5 * step * i) >> 8;
            for (char s : {'t', 'l'})
                side(s, i, Grey(c.sunken ? fall : rise));
        }
        for (int i = 0; i < n; ++i) {
            int const rise = std::min(((49152 + step * i) % 65536) >> 8, 255);
            int const fall = int(49152 - 1.5 * step * i) >> 8;
            for (char s : {'b', 'r'})
                side(s, i, Grey(c.sunken ? rise : fall));
        }
    } else if (c.kind == 1) {
        for (int i = 0; i < n; ++i) {
            for (char s : {'t', 'l'})
                side(s, i, c.sunken ? c.dark : c.light);
            for (char s : {'b', 'r'})
                side(s, i, c.sunken ? c.light : c.dark);
        }
    } else {
        auto mix = [&](int i, bool light) {
            int out[3];
            for (int k = 0; k < 3; ++k) {
                int const l = (c.light >> (8 * k)) & 0xFF, d = (c.dark >> (8 * k)) & 0xFF;
                int const s = int(((l - d) & 0xFF) * (double(i) / n) + 0.5) & 0xFF;
                out[k] = light ? (l - s) & 0xFF : (d + s) & 0xFF;
            }
            return RGB(out[0], out[1], out[2]);
        };
        for (int i = 0; i < n; ++i)
            for (char s : {'t', 'l'})
                side(s, i, mix(i, true));
        for (int i = 0; i < n; ++i)
            for (char s : {'r', 'b'})
                side(s, i, mix(i, false));
    }
    return r;
}

class WindowFrameTest : public DeviceFixture
{
protected:
    std::unique_ptr<WindowFrame> Make(Config const &c)
    {
        std::unique_ptr<WindowFrame> f;
        if (c.kind == 0) {
            f = std::make_unique<WindowFrame>(dev, short(c.thick), short(c.dist));
            f->SetColor(Color(static_cast<unsigned long>(c.colour)));
        } else {
            WindowFrame3D *p = c.kind == 1 ? new WindowFrame3D(dev, short(c.thick), short(c.dist), c.sunken)
                                           : new WindowFrame3DRound(dev, short(c.thick), short(c.dist), c.sunken);
            p->SetLightPen(Pen(Color(static_cast<unsigned long>(c.light)), 1, PS_SOLID));
            p->SetDarkPen(Pen(Color(static_cast<unsigned long>(c.dark)), 1, PS_SOLID));
            f.reset(p);
        }
        f->SetBTextureBased(c.textureBased);
        f->SetPosSizePixel(Point(c.L, c.T), Size(c.W, c.H));
        return f;
    }
    // "" or the first pixel where the device and the model differ.
    std::string Compare(Raster const &r)
    {
        std::vector<COLORREF> const shot = Shot();
        for (size_t i = 0; i < shot.size(); ++i)
            if (shot[i] != r.px[i]) {
                char buf[96];
                snprintf(buf, sizeof buf, "(%d, %d): device %06lx, model %06lx", int(i) % W, int(i) / W,
                         static_cast<unsigned long>(shot[i]), static_cast<unsigned long>(r.px[i]));
                return buf;
            }
        return "";
    }
};

TEST_F(WindowFrameTest, LineFramesMatchTheRasterModel)
{
    std::mt19937 rng(7);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto colour = [&] { return RGB(pick(0, 255), pick(0, 255), pick(0, 255)); };
    for (int n = 0; n < 240; ++n) {
        Config c{n % 3, pick(0, 7), pick(0, 3), pick(-3, 20), pick(-3, 15), pick(1, 50), pick(1, 36),
                 pick(0, 1) == 1, pick(0, 3) == 0, colour(), colour(), colour()};
        Clear();
        Make(c)->Draw();
        std::string const diff = Compare(Model(c));
        ASSERT_EQ("", diff) << "kind " << c.kind << " thick " << c.thick << " at " << c.L << "," << c.T << " size "
                            << c.W << "x" << c.H << (c.sunken ? " sunken" : "")
                            << (c.textureBased ? " texture-based" : "");
    }
    // Fixed points of the ramp, independent of the model's arithmetic.
    WindowFrame3D raised(dev, 4, 0, false);
    raised.SetPosSizePixel(Point(2, 2), Size(40, 30));
    Clear();
    raised.Draw();
    EXPECT_EQ(192, Grey(20, 2));  // top, step 0
    EXPECT_EQ(239, Grey(20, 5));  // top, step 3
    EXPECT_EQ(120, Grey(20, 28)); // bottom, step 3
}

TEST_F(WindowFrameTest, HiddenFramesAndEmptyShadowsDrawNothing)
{
    std::vector<std::unique_ptr<WindowFrame>> frames;
    frames.push_back(std::make_unique<WindowFrame>(dev, 3, 1));
    frames.push_back(std::make_unique<WindowFrame3D>(dev, 3, 1, true));
    frames.push_back(std::make_unique<WindowFrame3DRound>(dev, 3, 1, false));
    frames.push_back(std::make_unique<WindowShadow>(dev, 4, 1));
    frames.push_back(std::make_unique<WindowBlurShadow>(dev));
    Clear();
    std::vector<COLORREF> const white = Shot();
    for (auto &f : frames) {
        f->SetPosSizePixel(Point(4, 4), Size(40, 30));
        f->Hide();
        f->Draw();
        EXPECT_EQ(CRectangle(), Changed(white)) << typeid(*f).name();
        f->Show();
        f->Draw();
        EXPECT_NE(CRectangle(), Changed(white)) << typeid(*f).name();
        Clear();
    }
    WindowShadow none(dev, 0, 2);
    none.SetPosSizePixel(Point(4, 4), Size(40, 30));
    none.Draw();
    EXPECT_EQ(CRectangle(), Changed(white));
}

TEST_F(WindowFrameTest, ShadowFadesOutwardsRightAndBelowTheWindowOnly)
{
    EXPECT_EQ((std::vector<int>{70, 55, 40, 25, 10, 10, 10}),
              (std::vector<int>{WindowShadow::StepOpacity(0), WindowShadow::StepOpacity(1), WindowShadow::StepOpacity(2),
                                WindowShadow::StepOpacity(3), WindowShadow::StepOpacity(4), WindowShadow::StepOpacity(5),
                                WindowShadow::StepOpacity(6)}));
    for (int thick : {1, 2, 4, 6}) {
        WindowShadow s(dev, short(thick), 0);
        s.SetPosSizePixel(Point(4, 4), Size(44, 34));
        Clear();
        std::vector<COLORREF> const white = Shot();
        s.Draw();
        // Inside the window's area (less the half pixel the antialiased
        // lines spill) and left of or above it nothing changes.
        Point const in = s.GetWindowPosPixel();
        Size const sz = s.GetWindowSizePixel();
        CRectangle const changed = Changed(white);
        ASSERT_NE(CRectangle(), changed) << thick;
        EXPECT_GE(changed.Left(), in.X()) << thick;
        EXPECT_GE(changed.Top(), in.Y()) << thick;
        EXPECT_LE(changed.Right(), in.X() + sz.Width() + thick) << thick;
        EXPECT_LE(changed.Bottom(), in.Y() + sz.Height() + thick) << thick;
        // Down the middle of the bottom shadow the grey fades step by step.
        int const x = in.X() + sz.Width() / 2;
        for (int i = 1; i < std::min(thick, 5); ++i)
            EXPECT_LT(Grey(x, in.Y() + sz.Height() + i - 1), Grey(x, in.Y() + sz.Height() + i))
                << "thickness " << thick << ", step " << i;
        EXPECT_LT(Grey(x, in.Y() + sz.Height()), 235) << thick;
    }
}

TEST_F(WindowFrameTest, BlurShadowDarkensAroundTheRectangleOnly)
{
    WindowBlurShadow b(dev);
    b.SetPosSizePixel(Point(16, 12), Size(20, 14));
    Clear();
    std::vector<COLORREF> const white = Shot();
    b.Draw();
    EXPECT_EQ(Point(16, 12), b.GetWindowPosPixel()); // no thickness, no distance
    CRectangle const changed = Changed(white);
    ASSERT_NE(CRectangle(), changed);
    EXPECT_TRUE(CRectangle(8, 4, 44, 34).IsInside(changed)) << changed.Left() << "," << changed.Top();
    // The rectangle's own pixels stay; the shadow shows right of and below it.
    EXPECT_GT(changed.Right(), 35);
    EXPECT_GT(changed.Bottom(), 25);
    EXPECT_EQ(RGB(255, 255, 255), At(26, 19));
    COLORREF const beside = At(37, 20);
    EXPECT_LT(GetRValue(beside), 255);
    EXPECT_GE(GetBValue(beside), GetRValue(beside)); // a bluish grey
}

TEST(WindowFrameGeometry, ChildAreaRoundTrips)
{
    WindowFrame f(nullptr, 2, 3);
    f.SetPosSizePixel(Point(10, 10), Size(100, 50));
    EXPECT_EQ(Point(15, 15), f.GetWindowPosPixel());
    EXPECT_EQ(Size(90, 40), f.GetWindowSizePixel());
    EXPECT_EQ(CRectangle(10, 10, 110, 60), f.GetRectangle());
    std::mt19937 rng(3);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int n = 0; n < 500; ++n) {
        WindowFrame g(nullptr, short(pick(-2, 9)), short(pick(-2, 9)));
        Point const p(pick(-500, 500), pick(-500, 500));
        Size const s(pick(0, 800), pick(0, 800));
        g.AdaptToWindowSize(s);
        g.SetPosPixelMinusFrame(p);
        ASSERT_EQ(p, g.GetWindowPosPixel());
        ASSERT_EQ(s, g.GetWindowSizePixel());
        ASSERT_EQ(Point(p.X() + s.Width(), p.Y()), g.GetWindowTopRight());
        ASSERT_EQ(Point(p.X(), p.Y() + s.Height()), g.GetWindowBottomLeft());
        // The window's area lies inside the frame by the same margin on all sides.
        CRectangle const outer = g.GetRectangle();
        ASSERT_EQ(outer.Right() - (p.X() + s.Width()), p.X() - outer.Left());
        ASSERT_EQ(outer.Bottom() - (p.Y() + s.Height()), p.Y() - outer.Top());
    }
    short &thick = f.GetrNThick();
    thick = 5;
    EXPECT_EQ(Point(18, 18), f.GetWindowPosPixel());
}

class WindowFrameWindowTest : public kstest::WindowFixture
{
};

TEST_F(WindowFrameWindowTest, PlacesItsWindowAndDrawsThroughTheTheme)
{
    MakeTop();
    top->SetPosSizePixel(Point(0, 0), Size(200, 150));
    Window child(top, 0, 0);
    VirtualDevice d;
    ASSERT_TRUE(d.SetOutputSize(Size(64, 48), true));
    WindowFrame f(&d, 2, 1);
    f.PlaceWindow(&child, Point(7, 9), Size(50, 40));
    EXPECT_EQ(Point(10, 12), child.GetPosPixel());
    EXPECT_EQ(Size(44, 34), child.GetSizePixel());

    // With a theme, the frame is the group box's background and no line of
    // its own colour is drawn.
    f.SetPosSizePixel(Point(2, 2), Size(50, 40));
    f.SetColor(Color(static_cast<unsigned long>(RGB(255, 0, 0))));
    f.CreateVisualStylist(&child);
    ASSERT_NE(nullptr, f.GetPVisualStylist());
    d.Erase(Color(ColorNameWhite), CRectangle(0, 0, 63, 47));
    bool const themed = f.DrawWithStylist();
    std::vector<COLORREF> byStylist;
    for (int i = 0; i < 64 * 48; ++i)
        byStylist.push_back(GetPixel(d.GethDC(), i % 64, i / 64));
    d.Erase(Color(ColorNameWhite), CRectangle(0, 0, 63, 47));
    WindowFrame copy(f); // the copy has a stylist of its own
    f.SetColor(Color(static_cast<unsigned long>(RGB(0, 0, 255))));
    copy.Draw();
    int red = 0, same = 0;
    for (int i = 0; i < 64 * 48; ++i) {
        COLORREF const p = GetPixel(d.GethDC(), i % 64, i / 64);
        red += p == RGB(255, 0, 0);
        same += p == byStylist[size_t(i)];
    }
    if (themed) {
        EXPECT_EQ(0, red);
        EXPECT_EQ(64 * 48, same);
    } else {
        EXPECT_GT(red, 0); // no theme: the plain frame
    }
    EXPECT_TRUE(themed) << "Wine's built-in theme opens the button class";

    // A colour texture sets the plain frame's colour and the 3D frame's pens.
    Texture t(Color(static_cast<unsigned long>(RGB(200, 120, 40))));
    WindowFrame plain(&d, 1, 0);
    plain.SetTexture(t);
    EXPECT_EQ(RGB(200, 120, 40), plain.GetColor().GetLong());
    WindowFrame3D raised(&d, 1, 0, false);
    raised.SetTexture(t);
    Color face, light, shadow;
    t.Det3DColors(&d, face, light, shadow);
    EXPECT_EQ(light.GetLong(), raised.GetLightPen().GetColor().GetLong());
    EXPECT_EQ(shadow.GetLong(), raised.GetDarkPen().GetColor().GetLong());
    EXPECT_NE(raised.GetLightPen().GetColor().GetLong(), raised.GetDarkPen().GetColor().GetLong());

    auto cycle = [&](int i) {
        WindowFrame3DRound r(&d, short(1 + i % 4), 1, i % 2 == 0);
        r.CreateVisualStylist(&child);
        WindowFrame3DRound s(r);
        s = r;
        s.SetPosSizePixel(Point(1, 1), Size(30, 20));
        s.Draw();
        WindowShadow sh(&d, 3, 1);
        sh.SetPosSizePixel(Point(1, 1), Size(30, 20));
        sh.Draw();
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 200}, cycle));
}

} // namespace
