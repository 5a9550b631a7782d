// Textures: which part a texture holds through any sequence of changes and
// copies, its colours against models, and what the device, brushes, windows
// and scroll bars make of textures and gradients.
#include "controls/ScrollBar.h"
#include "graphics/CenterPointGradient.h"
#include "graphics/HorizontalGradient.h"
#include "graphics/Texture.h"
#include "graphics/VerticalGradient.h"
#include "tests/support/DeviceFixture.h"
#include "tests/support/ImageSamples.h"
#include "tests/support/WindowFixture.h"

#include <algorithm>
#include <random>
#include <windows.h>

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
    enum Part { None, Colour, Gradient, Bmp };
    struct Model
    {
        Part part = None;
        Color colour;
    };
    Texture t[2];
    Model m[2];
    for (int step = 0; step < 2000; ++step) {
        int const i = int(rng() % 2);
        Color const c = RandomColor(rng);
        switch (rng() % 6) {
        case 0:
            t[i].ChangeColor(c);
            m[i] = {Colour, c};
            break;
        case 1: {
            VerticalGradient g(ColorPair(c, RandomColor(rng)));
            t[i].ChangeGradient(g);
            m[i] = {Gradient, g.GetAverageColor()};
            break;
        }
        case 2:
            t[i].ChangeBitmap(pic.bitmap);
            m[i] = {Bmp, Color(ColorNameWhite)};
            break;
        case 3:
            t[i] = t[1 - i];
            m[i] = m[1 - i];
            break;
        case 4:
            t[i] = Texture(t[1 - i]);
            m[i] = m[1 - i];
            break;
        default:
            t[i] = t[i];
            break;
        }
        for (int k = 0; k < 2; ++k) {
            ASSERT_EQ(m[k].part == Colour, t[k].IsColor()) << step;
            ASSERT_EQ(m[k].part == Gradient, t[k].IsGradient()) << step;
            ASSERT_EQ(m[k].part == Bmp, t[k].IsBMP()) << step;
            ASSERT_EQ(m[k].part != None, t[k].IsSet()) << step;
            ASSERT_EQ(m[k].part == Gradient, t[k].GetPGradient() != nullptr) << step;
            ASSERT_EQ(m[k].part != Bmp, t[k].GetBitmap().Empty()) << step;
            ASSERT_EQ(m[k].colour.GetLong(), t[k].GetColor().GetLong()) << step;
        }
    }
    // The constructors set the one part they are given.
    EXPECT_TRUE(Texture(Color(1ul)).IsColor() && !Texture(Color(1ul)).IsGradient());
    EXPECT_TRUE(Texture(pic.bitmap).IsBMP() && !Texture(pic.bitmap).IsColor());
    EXPECT_TRUE(Texture(HorizontalGradient(ColorPair())).IsGradient());
    EXPECT_EQ(Ref(Color(ColorNameWhite)), Ref(Texture().GetColor()));
    EXPECT_FALSE(Texture().IsSet());
    Texture centred(pic.bitmap);
    centred.SetIsCenteredBMP(true);
    EXPECT_TRUE(Texture(centred).IsCenteredBMP()) << "a copy keeps the flag";
}

TEST_F(TextureTest, ABitmapsColourIsTheMeanOfAGridOfItsPixels)
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
        EXPECT_TRUE(t.IsColor() && t.IsBMP()) << "the face colour is kept beside the bitmap";
        EXPECT_EQ(pic.Face(), Ref(t.GetColor())) << "and answered from then on";
    }
    Texture empty((Bitmap()));
    Color face, light, shadow;
    empty.Det3DColors(dev, face, light, shadow);
    EXPECT_EQ(0ul, face.GetLong()) << "an empty bitmap gives black";
}

TEST_F(TextureTest, ThreeDColoursScaleTheBaseLighterAndDarker)
{
    std::mt19937 rng(29);
    auto check = [](Texture const &t, Color const &base) {
        Color face, light, shadow;
        t.Det3DColors(nullptr, face, light, shadow);
        EXPECT_EQ(base.GetLong(), face.GetLong());
        auto lit = [](int c) { return std::min(c * 14 / 10, 255); };
        auto dim = [](int c) { return c * 55 / 100; };
        EXPECT_EQ(RGB(lit(base.Get8BitRed()), lit(base.Get8BitGreen()), lit(base.Get8BitBlue())), Ref(light))
            << base.GetTestStr().GetStr();
        EXPECT_EQ(RGB(dim(base.Get8BitRed()), dim(base.Get8BitGreen()), dim(base.Get8BitBlue())), Ref(shadow))
            << base.GetTestStr().GetStr();
    };
    for (int i = 0; i < 256; ++i) {
        // Every intensity on some channel, and random mixes.
        Color const c(static_cast<unsigned long>(i | (255 - i) << 8 | (rng() & 0xFF) << 16));
        check(Texture(c), c);
        VerticalGradient g(ColorPair(c, RandomColor(rng)));
        check(Texture(g), g.GetAverageColor());
    }
    check(Texture(), Color(0ul));
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
    Clear();
    ASSERT_TRUE(g.FillRect(dev, CRectangle(4, 4, 40, 30)));
    auto const direct = Shot();
    Clear();
    ASSERT_TRUE(dev->Erase(Texture(g), CRectangle(4, 4, 40, 30)));
    EXPECT_TRUE(Shot() == direct);
    Clear();
    ASSERT_TRUE(dev->Erase(g, CRectangle(4, 4, 40, 30)));
    EXPECT_TRUE(Shot() == direct);

    // A bitmap tiles with its phase: pixel (x, y) shows ((x + dx) mod w, (y + dy) mod h).
    for (int dx : {0, 3, -4})
        for (int dy : {0, 2, -9}) {
            Clear();
            ASSERT_TRUE(dev->Erase(Texture(pic.bitmap), dx, dy));
            int wrong = 0;
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x)
                    wrong += At(x, y) != pic.At(((x + dx) % 7 + 7) % 7, ((y + dy) % 5 + 5) % 5);
            EXPECT_EQ(0, wrong) << dx << "," << dy;
        }

    // Centred: once in the middle of the rectangle, on its face colour.
    Texture centred(pic.bitmap);
    centred.SetIsCenteredBMP(true);
    CRectangle const r(10, 6, 50, 40); // 41 x 35
    Clear();
    ASSERT_TRUE(dev->Erase(centred, r));
    int const x0 = r.Left() + (41 - 7) / 2, y0 = r.Top() + (35 - 5) / 2;
    int wrong = 0;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            wrong += At(x0 + x, y0 + y) != pic.At(x, y);
    EXPECT_EQ(0, wrong);
    EXPECT_EQ(pic.Face(), At(r.Left(), r.Top()));
    EXPECT_EQ(pic.Face(), At(r.Right(), r.Bottom()));
    EXPECT_EQ(WHITE, At(r.Right() + 1, r.Bottom()));
}

TEST_F(TextureTest, TheDevicesBackgroundIsOneTextureAtATime)
{
    std::mt19937 rng(37);
    Picture const pic(rng, 4, 4);
    VerticalGradient g(ColorPair(RandomColor(rng), RandomColor(rng)));
    Color const c = RandomColor(rng);

    dev->ChangeBackgroundTexture(Texture(g));
    Texture back = dev->GetBackgroundTexture();
    ASSERT_TRUE(back.IsGradient() && !back.IsBMP());
    EXPECT_EQ(g.GetAverageColor().GetLong(), back.GetColor().GetLong());
    Clear();
    ASSERT_TRUE(dev->Erase(CRectangle(0, 0, 9, 9)));
    EXPECT_EQ(100, CountOf(Ref(g.GetAverageColor()))) << "a plain erase paints the gradient's colour";

    dev->ChangeBackgroundTexture(Texture(pic.bitmap));
    back = dev->GetBackgroundTexture();
    EXPECT_TRUE(back.IsBMP() && !back.IsGradient());
    EXPECT_EQ(nullptr, dev->GetBackgroundGradient());

    dev->ChangeBackgroundTexture(Texture(c));
    back = dev->GetBackgroundTexture();
    EXPECT_TRUE(back.IsColor() && !back.IsBMP() && !back.IsGradient());
    EXPECT_EQ(c.GetLong(), back.GetColor().GetLong());
    EXPECT_EQ(c.GetLong(), dev->GetBackgroundBrush().GetColor().GetLong());

    dev->ChangeBackgroundTexture(Texture());
    EXPECT_FALSE(dev->GetBackgroundTexture().IsSet());
    EXPECT_FALSE(dev->Erase(CRectangle(0, 0, 9, 9))) << "no background: nothing to erase with";

    // Only the gradient when it is all there is; the tools' deletion ends it.
    dev->ChangeBackgroundGradient(g);
    ASSERT_NE(nullptr, dev->GetBackgroundGradient());
    Clear();
    EXPECT_TRUE(dev->Erase(CRectangle(0, 0, 9, 9)));
    EXPECT_EQ(100, CountOf(Ref(g.GetAverageColor())));
    dev->DeleteDrawingTools();
    EXPECT_EQ(nullptr, dev->GetBackgroundGradient());
}

TEST_F(TextureTest, CentreGradientShapesOnTheDevice)
{
    Color const first(0x0000FFul), second(0xFF0000ul);
    CenterPointGradient g(ColorPair(first, second), Color(0x00FF00ul));
    ASSERT_TRUE(dev->DrawEllipse(CRectangle(4, 4, 59, 43), g));
    EXPECT_EQ(WHITE, At(5, 5));
    EXPECT_NE(WHITE, At(32, 24));
    // A polygon runs from its rim in the first colour to its centre in the
    // second; nothing outside it is touched.
    Clear();
    CPolygon tri(3);
    tri[0] = Point(2, 2), tri[1] = Point(61, 2), tri[2] = Point(32, 45);
    g.SetPen(Pen(Color(0ul), 1, 0));
    ASSERT_TRUE(dev->DrawPolygon(tri, g));
    COLORREF const mid = At(32, 16);
    EXPECT_GT(GetBValue(mid), GetRValue(mid)) << "the centre leans to the second colour";
    EXPECT_EQ(WHITE, At(3, 30));
    EXPECT_EQ(RGB(0, 0, 0), At(32, 2)) << "the outline in the gradient's pen";
    EXPECT_FALSE(dev->DrawEllipse(CRectangle(), g));
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

TEST_F(TextureTest, TexturesAndDeviceBackgroundsLeaveNothingBehind)
{
    std::mt19937 rng(43);
    Picture const pic(rng, 9, 7);
    VerticalGradient g(ColorPair(Color(0x102030ul), Color(0xF0E0D0ul)));
    CenterPointGradient cg(ColorPair(Color(0xFFul), Color(0xFF0000ul)), Color(0xFF00ul));
    CPolygon tri(3);
    tri[0] = Point(2, 2), tri[1] = Point(61, 2), tri[2] = Point(32, 45);
    auto cycle = [&](int i) {
        Texture t(pic.bitmap);
        t.SetIsCenteredBMP(i & 1);
        dev->Erase(t, All());
        t.GetColor(dev);
        Brush b(t);
        b.GetOrCreatePCBrush();
        t.ChangeGradient(g);
        Texture copy(t);
        dev->Erase(copy, All(), i, i);
        dev->ChangeBackgroundTexture(i % 3 == 0 ? copy : i % 3 == 1 ? Texture(pic.bitmap) : Texture(Color(0ul)));
        dev->ChangeBackgroundGradient(cg);
        dev->Erase(CRectangle(0, 0, 9, 9));
        dev->DrawPolygon(tri, cg);
        dev->DrawEllipse(All(), cg);
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
    ASSERT_GT(rc.right, 20);
    ASSERT_GT(rc.bottom, 20);
    Color const a(0x0000C0ul), b(0xC0C000ul);
    w->ChangeBackgroundGradient(VerticalGradient(ColorPair(a, b)));
    w->ChangeBackgroundBrush(Brush(Color(0x00FF00ul), BrushStyleSolid));

    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, rc.right, rc.bottom);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(mem, bmp);
    EXPECT_NE(0, SendMessageA(w->GetHWND(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem), 0));
    // The ramp spans the client area: the first colour at the top, the
    // second at the bottom, whatever the brush says.
    auto close = [](COLORREF x, Color const &c, int tol) {
        return std::abs(int(GetRValue(x)) - c.Get8BitRed()) <= tol &&
               std::abs(int(GetGValue(x)) - c.Get8BitGreen()) <= tol &&
               std::abs(int(GetBValue(x)) - c.Get8BitBlue()) <= tol;
    };
    EXPECT_TRUE(close(GetPixel(mem, rc.right / 2, 0), a, 8));
    EXPECT_TRUE(close(GetPixel(mem, rc.right / 2, rc.bottom - 1), b, 8));
    EXPECT_TRUE(close(GetPixel(mem, 0, rc.bottom / 2), VerticalGradient(ColorPair(a, b)).GetAverageColor(), 70));
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
}

TEST_F(TextureWindowTest, AScrollBarAnswersItsColourRequestWithTheTexturesColour)
{
    ScrollBar bar(MakeTop(), 0);
    HDC dc = CreateCompatibleDC(nullptr);
    auto ask = [&] {
        return reinterpret_cast<HBRUSH>(SendMessageA(top->GetHWND(), WM_CTLCOLORSCROLLBAR, reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(bar.GetHWND())));
    };
    auto colourOf = [](HBRUSH h) {
        LOGBRUSH lb{};
        return h && GetObjectA(h, sizeof lb, &lb) == int(sizeof lb) ? lb.lbColor : CLR_INVALID;
    };
    std::mt19937 rng(47);
    Color const before = RandomColor(rng);
    ASSERT_NE(before.GetLong(), colourOf(ask())) << "no texture: the platform's answer";
    VerticalGradient g(ColorPair(RandomColor(rng), RandomColor(rng)));
    for (Texture const &t : {Texture(before), Texture(g), Texture(RandomColor(rng))}) {
        bar.ChangeBackgroundTexture(t);
        HBRUSH h = ask();
        EXPECT_EQ(t.GetColor().GetLong(), colourOf(h));
        EXPECT_EQ(t.GetColor().GetLong(), GetBkColor(dc));
    }
    DeleteDC(dc);
}

} // namespace
