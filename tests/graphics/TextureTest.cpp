// Textures: which part a texture holds through any sequence of changes and
// copies, its colours against models, and what the device, brushes, windows
// and scroll bars make of textures and gradients.
#include "controls/ScrollBar.h"
#include "graphics/CenterPointGradient.h"
#include "graphics/DiagonalGradient.h"
#include "graphics/HorizontalGradient.h"
#include "graphics/Texture.h"
#include "graphics/VerticalGradient.h"
#include "tests/support/DeviceFixture.h"
#include "tests/support/ImageSamples.h"
#include "tests/support/WindowFixture.h"

#include <algorithm>
#include <random>
#include <string>
#include <windows.h>
#include <gdiplus.h>

using kstest::DeviceFixture;

namespace {

Color RandomColor(std::mt19937 &rng)
{
    return Color(static_cast<unsigned long>(rng() & 0xFFFFFF));
}

COLORREF Ref(Color const &c)
{
    return static_cast<COLORREF>(c.GetLong());
}

// A picture of random pixels and the bitmap made from it.
struct Picture
{
    Picture(std::mt19937 &rng, int nW, int nH) : w(nW), h(nH)
    {
        for (int i = 0; i < w * h; ++i)
            pixels.push_back(rng() & 0xFFFFFF);
        HBITMAP hb = kstest::MakeHBitmap(w, h, pixels);
        bitmap = Bitmap(hb);
        DeleteObject(hb);
    }
    COLORREF At(int x, int y) const
    {
        std::uint32_t const p = pixels[size_t(y * w + x)];
        return RGB(p >> 16, (p >> 8) & 0xFF, p & 0xFF);
    }
    // The face colour by its rule: the mean of a 5-step grid from (0, 0).
    COLORREF Face() const
    {
        int const sx = std::max(w / 5, 1), sy = std::max(h / 5, 1);
        long r = 0, g = 0, b = 0, n = 0;
        for (int y = 0; y < h; y += sy)
            for (int x = 0; x < w; x += sx, ++n) {
                r += GetRValue(At(x, y));
                g += GetGValue(At(x, y));
                b += GetBValue(At(x, y));
            }
        return RGB(r / n, g / n, b / n);
    }
    int w, h;
    kstest::Pixels pixels;
    Bitmap bitmap;
};

class TextureTest : public DeviceFixture
{
protected:
    CRectangle All() const { return CRectangle(0, 0, W - 1, H - 1); }
};

// Random changes, copies and assignments against a model of which part is
// set and what colour the texture answers.
TEST_F(TextureTest, ExactlyTheLastChangedPartIsSet)
{
    std::mt19937 rng(21);
    Picture const pic(rng, 3, 2);
    // "C", "G", "B" or "-" for the part set, then the colour answered.
    auto state = [](Texture const &t) {
        return std::string(t.IsColor() ? "C" : "") + (t.IsGradient() ? "G" : "") + (t.IsBMP() ? "B" : "") +
               (t.IsSet() ? "" : "-") + (t.GetPGradient() ? "g" : "") + (t.GetBitmap().Empty() ? "" : "b") +
               t.GetColor().GetHTMLStr().GetStr();
    };
    auto model = [](char const *part, Color const &c) {
        return std::string(part) + Color(c).GetHTMLStr().GetStr();
    };
    Texture t[2];
    std::string m[2] = {model("-", Color(ColorNameWhite)), model("-", Color(ColorNameWhite))};
    for (int step = 0; step < 2000; ++step) {
        int const i = int(rng() % 2);
        Color const c = RandomColor(rng);
        VerticalGradient const g(ColorPair(c, RandomColor(rng)));
        switch (rng() % 6) {
        case 0:
            t[i].ChangeColor(c), m[i] = model("C", c);
            break;
        case 1:
            t[i].ChangeGradient(g), m[i] = model("Gg", g.GetAverageColor());
            break;
        case 2:
            t[i].ChangeBitmap(pic.bitmap), m[i] = model("Bb", Color(ColorNameWhite));
            break;
        case 3:
            t[i] = t[1 - i], m[i] = m[1 - i];
            break;
        case 4:
            t[i] = Texture(t[1 - i]), m[i] = m[1 - i];
            break;
        default:
            t[i] = t[i];
        }
        ASSERT_EQ(m[0], state(t[0])) << step;
        ASSERT_EQ(m[1], state(t[1])) << step;
    }
    Color const c = RandomColor(rng);
    EXPECT_EQ(model("C", c), state(Texture(c)));
    EXPECT_EQ(model("Bb", Color(ColorNameWhite)), state(Texture(pic.bitmap)));
    Texture centred(pic.bitmap);
    centred.SetIsCenteredBMP(true);
    EXPECT_TRUE(Texture(centred).IsCenteredBMP()) << "a copy keeps the flag";
}

// The face colour against the mean of the grid; the light and shadow
// colours against exact integer scalings of every intensity.
TEST_F(TextureTest, FaceLightAndShadowColours)
{
    std::mt19937 rng(23);
    for (Size s : {Size(1, 1), Size(3, 2), Size(10, 10), Size(17, 9), Size(33, 41)}) {
        Picture const pic(rng, s.Width(), s.Height());
        Texture t(pic.bitmap);
        Color face, light, shadow;
        t.Det3DColors(dev, face, light, shadow);
        EXPECT_EQ(pic.Face(), Ref(face)) << s.Width() << "x" << s.Height();
        EXPECT_FALSE(t.IsColor()) << "Det3DColors keeps nothing";
        EXPECT_EQ(pic.Face(), Ref(t.GetColor(dev)));
        EXPECT_TRUE(t.IsColor() && t.IsBMP() && Ref(t.GetColor()) == pic.Face()) << "the face colour is kept";
    }
    auto check = [](Texture const &t, Color const &base) {
        Color face, light, shadow;
        t.Det3DColors(nullptr, face, light, shadow);
        auto scaled = [&base](int num, int den) {
            auto one = [=](int c) { return std::min(c * num / den, 255); };
            return RGB(one(base.Get8BitRed()), one(base.Get8BitGreen()), one(base.Get8BitBlue()));
        };
        EXPECT_EQ(Ref(base), Ref(face));
        EXPECT_EQ(scaled(14, 10), Ref(light)) << base.GetTestStr().GetStr();
        EXPECT_EQ(scaled(55, 100), Ref(shadow)) << base.GetTestStr().GetStr();
    };
    for (int i = 0; i < 256; ++i) {
        Color const c(static_cast<unsigned long>(i | (255 - i) << 8 | (rng() & 0xFF) << 16));
        check(Texture(c), c);
        VerticalGradient g(ColorPair(c, RandomColor(rng)));
        check(Texture(g), g.GetAverageColor());
    }
    check(Texture(), Color(0ul));
    check(Texture(Bitmap()), Color(0ul));
}

TEST_F(TextureTest, EraseFillsEachKindOfTexture)
{
    std::mt19937 rng(31);
    Picture const pic(rng, 7, 5);
    Color const c = RandomColor(rng);
    ASSERT_TRUE(dev->Erase(Texture(c), All()));
    EXPECT_EQ(W * H, CountOf(Ref(c)));
    ASSERT_TRUE(dev->Erase(Texture(), CRectangle(3, 3, 9, 9)));
    EXPECT_EQ(49, CountOf(WHITE)) << "an empty texture fills white";
    EXPECT_TRUE(dev->Erase(Texture(c), CRectangle())) << "nothing to fill is no failure";

    // A gradient texture paints what its gradient paints.
    HorizontalGradient g(ColorPair(RandomColor(rng), RandomColor(rng)));
    CRectangle const r(10, 6, 50, 40); // 41 x 35
    Clear();
    ASSERT_TRUE(g.FillRect(dev, r));
    auto const direct = Shot();
    Clear();
    ASSERT_TRUE(dev->Erase(Texture(g), r));
    EXPECT_TRUE(Shot() == direct);
    Clear();
    ASSERT_TRUE(dev->Erase(g, r));
    EXPECT_TRUE(Shot() == direct);

    // A bitmap tiles with its phase: (x, y) shows ((x + dx) mod w, (y + dy) mod h).
    auto misplaced = [&](int x0, int y0, int x1, int y1, int dx, int dy) {
        int n = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                n += At(x, y) != pic.At(((x + dx) % 7 + 7) % 7, ((y + dy) % 5 + 5) % 5);
        return n;
    };
    for (int dx : {0, 3, -4})
        for (int dy : {0, 2, -9}) {
            ASSERT_TRUE(dev->Erase(Texture(pic.bitmap), dx, dy));
            EXPECT_EQ(0, misplaced(0, 0, W - 1, H - 1, dx, dy)) << dx << "," << dy;
        }
    // Centred: once in the middle of the rectangle, on its face colour.
    Texture centred(pic.bitmap);
    centred.SetIsCenteredBMP(true);
    Clear();
    ASSERT_TRUE(dev->Erase(centred, r));
    int const x0 = r.Left() + (41 - 7) / 2, y0 = r.Top() + (35 - 5) / 2;
    EXPECT_EQ(0, misplaced(x0, y0, x0 + 6, y0 + 4, -x0, -y0));
    EXPECT_TRUE(At(r.Left(), r.Top()) == pic.Face() && At(r.Right(), r.Bottom()) == pic.Face());
    EXPECT_EQ(WHITE, At(r.Right() + 1, r.Bottom()));
}

TEST_F(TextureTest, TheDevicesBackgroundIsOneTextureAtATime)
{
    std::mt19937 rng(37);
    Picture const pic(rng, 4, 4);
    VerticalGradient g(ColorPair(RandomColor(rng), RandomColor(rng)));
    Color const c = RandomColor(rng);
    auto erased = [&] {
        Clear();
        return dev->Erase(CRectangle(0, 0, 9, 9)) ? CountOf(Ref(dev->GetBackgroundTexture().GetColor())) : -1;
    };
    dev->ChangeBackgroundTexture(Texture(g));
    EXPECT_TRUE(dev->GetBackgroundTexture().IsGradient());
    EXPECT_EQ(100, erased()) << "a plain erase paints the gradient's colour";
    dev->ChangeBackgroundTexture(Texture(pic.bitmap));
    EXPECT_TRUE(dev->GetBackgroundTexture().IsBMP() && !dev->GetBackgroundGradient());
    dev->ChangeBackgroundTexture(Texture(c));
    EXPECT_TRUE(dev->GetBackgroundTexture().IsColor());
    EXPECT_EQ(c.GetLong(), dev->GetBackgroundBrush().GetColor().GetLong());
    EXPECT_EQ(100, erased());
    dev->ChangeBackgroundTexture(Texture());
    EXPECT_FALSE(dev->GetBackgroundTexture().IsSet());
    EXPECT_EQ(-1, erased()) << "no background: nothing to erase with";
    // A gradient alone still erases with its colour; deleting the tools ends it.
    dev->ChangeBackgroundGradient(g);
    EXPECT_EQ(100, erased());
    dev->DeleteDrawingTools();
    EXPECT_EQ(nullptr, dev->GetBackgroundGradient());
}

TEST_F(TextureTest, BrushesFromTexturesFillAsTheTextureWould)
{
    std::mt19937 rng(41);
    Picture const pic(rng, 8, 8); // pattern brushes repeat whole 8 x 8 tiles everywhere
    Color const c = RandomColor(rng);
    VerticalGradient g(ColorPair(RandomColor(rng), RandomColor(rng)));
    EXPECT_EQ(c.GetLong(), Brush(Texture(c)).GetColor().GetLong());
    EXPECT_EQ(g.GetAverageColor().GetLong(), Brush(Texture(g)).GetColor().GetLong());
    EXPECT_EQ(Ref(Color(ColorNameWhite)), Ref(Brush(Texture()).GetColor()));
    Brush tiled{Texture(pic.bitmap)};
    EXPECT_EQ(pic.Face(), Ref(tiled.GetColor()));
    ASSERT_TRUE(dev->Erase(pic.bitmap, All()));
    auto const expect = Shot();
    Clear();
    dev->ChangePen(Pen(5u));
    dev->ChangeFillInBrush(tiled);
    ASSERT_TRUE(dev->DrawRect(All()));
    EXPECT_TRUE(Shot() == expect) << "the brush tiles the bitmap from the origin";
}

TEST_F(TextureTest, GradientsTexturesAndBackgroundsLeaveNothingBehind)
{
    std::mt19937 rng(43);
    Picture const pic(rng, 9, 7);
    ColorPair const p(Color(0x102030ul), Color(0xF0E0D0ul));
    DiagonalGradient d(p);
    d.SetPen(Pen(Color(0xFFul), 1, 0));
    d.SetFrame(15);
    CenterPointGradient cg(p, Color(0xFF00ul));
    cg.SetPen(Pen(Color(0ul), 2, 0));
    cg.SetAntiAliasing(true);
    CPolygon tri(3);
    tri[0] = Point(2, 2), tri[1] = Point(61, 2), tri[2] = Point(32, 45);
    auto cycle = [&](int i) {
        CRectangle const r(i % 7, i % 5, W - 1 - i % 3, H - 1);
        d.FillRect(dev, r);
        cg.FillRect(dev, r);
        RectGradient(p).FillRect(dev, r);
        delete cg.CreateEllipticPathGradientBrush(FRectangle(r));
        delete d.CreateGdiplusBrush(r);
        Texture t(pic.bitmap);
        t.SetIsCenteredBMP(i & 1);
        dev->Erase(t, All());
        t.GetColor(dev);
        Brush(t).GetOrCreatePCBrush();
        t.ChangeGradient(d);
        Texture copy(t);
        dev->Erase(copy, All(), i, i);
        dev->ChangeBackgroundTexture(i % 3 == 0 ? copy : i % 3 == 1 ? Texture(pic.bitmap) : Texture(Color(0ul)));
        dev->ChangeBackgroundGradient(cg);
        dev->Erase(CRectangle(0, 0, 9, 9));
        dev->DrawPolygon(tri, cg);
        dev->DrawEllipse(r, cg);
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 60}, cycle));
}

// ---------------------------------------------------------------- windows

class TextureWindowTest : public kstest::WindowFixture
{
};

TEST_F(TextureWindowTest, AWindowErasesWithItsBackgroundGradientOverItsClientArea)
{
    WorkWindow *w = MakeTop();
    w->SetPosSizePixel(Point(0, 0), Size(160, 120));
    RECT rc;
    GetClientRect(w->GetHWND(), &rc);
    ASSERT_TRUE(rc.right > 20 && rc.bottom > 20);
    VerticalGradient const g(ColorPair(Color(0x0000C0ul), Color(0xC0C000ul)));
    w->ChangeBackgroundGradient(g);
    w->ChangeBackgroundBrush(Brush(Color(0x00FF00ul), BrushStyleSolid)); // the gradient goes first
    VirtualDevice mem;
    ASSERT_TRUE(mem.SetOutputSize(Size(rc.right, rc.bottom), false));
    EXPECT_NE(0, SendMessageA(w->GetHWND(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem.GethDC()), 0));
    // The ramp spans the client area, from the first colour at the top to
    // the second at the bottom.
    for (long y : {0L, rc.bottom / 3, rc.bottom - 1}) {
        Color const at = mem.GetPixel(Point(rc.right / 2, int(y)));
        int const rise = int(0xC0 * y / rc.bottom); // red falls, green and blue rise
        EXPECT_NEAR(0xC0 - rise, at.Get8BitRed(), 3) << y;
        EXPECT_NEAR(rise, at.Get8BitBlue(), 3) << y;
    }
}

TEST_F(TextureWindowTest, AScrollBarAnswersItsColourRequestWithTheTexturesColour)
{
    ScrollBar bar(MakeTop(), 0);
    HDC dc = CreateCompatibleDC(nullptr);
    auto ask = [&] {
        LOGBRUSH lb{};
        auto h = reinterpret_cast<HBRUSH>(SendMessageA(top->GetHWND(), WM_CTLCOLORSCROLLBAR,
                                                        reinterpret_cast<WPARAM>(dc),
                                                        reinterpret_cast<LPARAM>(bar.GetHWND())));
        return h && GetObjectA(h, sizeof lb, &lb) == int(sizeof lb) ? lb.lbColor : CLR_INVALID;
    };
    std::mt19937 rng(47);
    Color const first = RandomColor(rng);
    ASSERT_NE(first.GetLong(), ask()) << "no texture: the platform's answer";
    for (Texture const &t : {Texture(first), Texture(VerticalGradient(ColorPair(RandomColor(rng), RandomColor(rng))))}) {
        bar.ChangeBackgroundTexture(t);
        EXPECT_EQ(t.GetColor().GetLong(), ask());
        EXPECT_EQ(t.GetColor().GetLong(), GetBkColor(dc));
    }
    DeleteDC(dc);
}

} // namespace
