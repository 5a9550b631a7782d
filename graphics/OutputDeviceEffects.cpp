// The Direct2D part of the output device: its Direct2D and imaging objects,
// the gradient, the blur and the shadows. Each operation draws through the
// platform's Direct2D where the platform has what it needs and otherwise
// works on the device's pixels itself, so that it gives the same picture on
// every driver.
#include "graphics/OutputDevice.h"

#include "graphics/Bitmap.h"
#include "graphics/GdiplusView.h"

#include <cmath>
#include <new>
#include <vector>
#include <windows.h>
#include <gdiplus.h>
#include <d2d1_1.h>
#include <d2d1effects.h>
#include <dwrite.h>
#include <wincodec.h>

namespace {

template <class T> void ReleaseCom(T *&p)
{
    if (p) {
        p->Release();
        p = nullptr;
    }
}

// Platform rectangles are exclusive at the right and bottom.
RECT ToRECT(CRectangle const &r)
{
    return RECT{r.Left(), r.Top(), r.Right() + 1, r.Bottom() + 1};
}

Gdiplus::Color GpColor(::Color const &c, unsigned alpha)
{
    return Gdiplus::Color(static_cast<BYTE>(alpha), static_cast<BYTE>(c.Get8BitRed()),
                          static_cast<BYTE>(c.Get8BitGreen()), static_cast<BYTE>(c.Get8BitBlue()));
}

D2D1_BITMAP_PROPERTIES PremultipliedBGRA()
{
    return D2D1::BitmapProperties(D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED));
}

} // namespace

// ---------------------------------------------------------------- Direct2D and imaging

ID2D1Factory *OutputDevice::GetD2DFactory()
{
    if (!m_pD2DFactory)
        D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory), nullptr,
                          reinterpret_cast<void **>(&m_pD2DFactory));
    return m_pD2DFactory;
}

ID2D1DCRenderTarget *OutputDevice::GetRenderTarget()
{
    if (!m_pRenderTarget) {
        ID2D1Factory *f = GetD2DFactory();
        if (!f)
            return nullptr;
        D2D1_RENDER_TARGET_PROPERTIES props = D2D1::RenderTargetProperties(
            D2D1_RENDER_TARGET_TYPE_DEFAULT, D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED),
            0.0f, 0.0f);
        // A driver without Direct2D (Wine's null driver: no GL) refuses every
        // target with DXGI_ERROR_UNSUPPORTED, and each refused attempt costs
        // heap that is never given back: ask once per process.
        static volatile long s_bUnsupported = 0;
        if (s_bUnsupported)
            return nullptr;
        HRESULT hr = f->CreateDCRenderTarget(&props, &m_pRenderTarget);
        if (FAILED(hr)) {
            m_pRenderTarget = nullptr;
            if (hr == HRESULT(0x887A0004))
                InterlockedExchange(&s_bUnsupported, 1);
        }
    }
    return m_pRenderTarget;
}

IDWriteFactory *OutputDevice::GetWriteFactory()
{
    if (!m_pWriteFactory)
        DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                            reinterpret_cast<IUnknown **>(&m_pWriteFactory));
    return m_pWriteFactory;
}

IWICImagingFactory *OutputDevice::GetWicFactory()
{
    if (!m_pWicFactory &&
        FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void **>(&m_pWicFactory))))
        m_pWicFactory = nullptr;
    return m_pWicFactory;
}

void OutputDevice::ReleaseD2D()
{
    ReleaseCom(m_pRenderTarget);
    ReleaseCom(m_pD2DFactory);
}

void OutputDevice::ReleaseFactories()
{
    ReleaseD2D();
    ReleaseCom(m_pWriteFactory);
    ReleaseCom(m_pWicFactory);
}

// ---------------------------------------------------------------- effects

namespace {

// The pixels of an area as 32-bit BGRA, alpha made opaque: GDI leaves it 0.
class AreaPixels
{
public:
    AreaPixels(HDC hDC, CRectangle const &r) : m_r(r), m_w(r.GetWidth()), m_h(r.GetHeight())
    {
        if (m_w <= 0 || m_h <= 0)
            return;
        BITMAPINFO bi = TopDownDibInfo(m_w, m_h);
        void *bits = nullptr;
        HDC mem = CreateCompatibleDC(hDC);
        HBITMAP dib = mem ? CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
        if (dib) {
            HGDIOBJ old = SelectObject(mem, dib);
            if (BitBlt(mem, 0, 0, m_w, m_h, hDC, r.Left(), r.Top(), SRCCOPY)) {
                GdiFlush();
                auto const *src = static_cast<unsigned const *>(bits);
                m_px.assign(src, src + size_t(m_w) * size_t(m_h));
                for (unsigned &p : m_px)
                    p |= 0xFF000000u;
            }
            SelectObject(mem, old);
            DeleteObject(dib);
        }
        if (mem)
            ::DeleteDC(mem);
    }
    bool IsValid() const { return !m_px.empty(); }
    int Width() const { return m_w; }
    int Height() const { return m_h; }
    unsigned *Data() { return m_px.data(); }
    unsigned &At(int x, int y) { return m_px[size_t(y) * size_t(m_w) + size_t(x)]; }
    bool WriteBack(HDC hDC)
    {
        BITMAPINFO bi = TopDownDibInfo(m_w, m_h);
        return SetDIBitsToDevice(hDC, m_r.Left(), m_r.Top(), DWORD(m_w), DWORD(m_h), 0, 0, 0, UINT(m_h),
                                 m_px.data(), &bi, DIB_RGB_COLORS) != 0;
    }

private:
    CRectangle m_r;
    int m_w, m_h;
    std::vector<unsigned> m_px;
};

// Larger deviations are taken as this one: the kernel would only repeat the
// edge pixels further, at a cost that grows with it.
double const MAX_BLUR_DEVIATION = 100.0;

std::vector<float> GaussKernel(double sigma)
{
    int const radius = int(std::ceil(sigma * 3.0));
    std::vector<float> k(size_t(2 * radius + 1));
    double sum = 0;
    for (int i = -radius; i <= radius; ++i)
        sum += k[size_t(i + radius)] = float(std::exp(-(i * i) / (2.0 * sigma * sigma)));
    for (float &v : k)
        v = float(v / sum);
    return k;
}

// Separable Gaussian blur of the lowest nChannels bytes of each pixel (the
// others become 0); beyond the edges the edge pixels repeat, so a uniform
// area stays as it is.
void BlurPixels(unsigned *px, int w, int h, double sigma, int nChannels = 4)
{
    if (!(sigma > 0.0) || w <= 0 || h <= 0)
        return;
    if (sigma > MAX_BLUR_DEVIATION)
        sigma = MAX_BLUR_DEVIATION;
    std::vector<float> const k = GaussKernel(sigma);
    int const radius = int(k.size() / 2);
    size_t const nc = size_t(nChannels);
    std::vector<float> tmp(size_t(w) * size_t(h) * nc);
    auto channel = [](unsigned p, int c) { return float((p >> (8 * c)) & 0xFF); };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < nChannels; ++c) {
                float acc = 0;
                for (int i = -radius; i <= radius; ++i) {
                    int xx = x + i < 0 ? 0 : x + i >= w ? w - 1 : x + i;
                    acc += k[size_t(i + radius)] * channel(px[size_t(y) * w + xx], c);
                }
                tmp[(size_t(y) * w + x) * nc + c] = acc;
            }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned out = 0;
            for (int c = 0; c < nChannels; ++c) {
                float acc = 0;
                for (int i = -radius; i <= radius; ++i) {
                    int yy = y + i < 0 ? 0 : y + i >= h ? h - 1 : y + i;
                    acc += k[size_t(i + radius)] * tmp[(size_t(yy) * w + x) * nc + c];
                }
                int v = int(acc + 0.5f);
                out |= unsigned(v < 0 ? 0 : v > 255 ? 255 : v) << (8 * c);
            }
            px[size_t(y) * w + x] = out;
        }
}

} // namespace


// Whether the platform's effect can be made on this target, asked once per
// process and effect: Wine lacks some effects altogether and renders others
// as nothing, so an effect is only used when a tiny trial draws something.
static bool EffectUsable(ID2D1DCRenderTarget *rt, REFCLSID id, volatile long &known)
{
    if (known)
        return known > 0;
    if (!rt)
        return false;
    long usable = -1;
    ID2D1DeviceContext *dc = nullptr;
    ID2D1Effect *effect = nullptr;
    if (SUCCEEDED(rt->QueryInterface(__uuidof(ID2D1DeviceContext), reinterpret_cast<void **>(&dc))) && dc &&
        SUCCEEDED(dc->CreateEffect(id, &effect)) && effect) {
        // The trial: the effect of an opaque black 4 x 4 square on white,
        // drawn through a target of its own.
        BITMAPINFO bi = TopDownDibInfo(16, 16);
        void *bits = nullptr;
        HDC mem = CreateCompatibleDC(nullptr);
        HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (dib) {
            HGDIOBJ old = SelectObject(mem, dib);
            auto *px = static_cast<unsigned *>(bits);
            for (int i = 0; i < 256; ++i)
                px[i] = 0xFFFFFFFFu;
            RECT area{0, 0, 16, 16};
            ID2D1Bitmap *square = nullptr;
            std::vector<unsigned> black(16, 0xFF000000u);
            D2D1_BITMAP_PROPERTIES props = PremultipliedBGRA();
            if (rt->BindDC(mem, &area) == S_OK &&
                SUCCEEDED(dc->CreateBitmap(D2D1::SizeU(4, 4), black.data(), 16, &props, &square))) {
                effect->SetInput(0, square);
                rt->BeginDraw();
                rt->Clear(D2D1::ColorF(1.0f, 1.0f, 1.0f, 1.0f));
                D2D1_POINT_2F at = D2D1::Point2F(6, 6);
                dc->DrawImage(effect, &at);
                if (SUCCEEDED(rt->EndDraw())) {
                    GdiFlush();
                    usable = (px[8 * 16 + 8] & 0xFF) < 0x80 ? 1 : -1;
                }
                square->Release();
            }
            SelectObject(mem, old);
            DeleteObject(dib);
        }
        ::DeleteDC(mem);
    }
    if (effect)
        effect->Release();
    if (dc)
        dc->Release();
    InterlockedExchange(&known, usable);
    return usable > 0;
}

// Runs one Direct2D drawing on the device's DC render target bound to the
// area; the target paints what it does not draw black, so the drawing must
// cover the whole area. Answers false without Direct2D or without the
// effect, after which the caller works on the pixels itself. When the
// target must be recreated, the device's target and factory go, as in
// ReleaseD2D, so that the next operation makes them afresh.
template <class F>
static bool WithD2D(ID2D1Factory *&factory, ID2D1DCRenderTarget *&rt, HDC h, RECT const &area, F draw)
{
    if (!rt || rt->BindDC(h, &area) != S_OK)
        return false;
    ID2D1DeviceContext *dc = nullptr;
    if (FAILED(rt->QueryInterface(__uuidof(ID2D1DeviceContext), reinterpret_cast<void **>(&dc))) || !dc)
        return false;
    rt->BeginDraw();
    rt->SetTransform(D2D1::Matrix3x2F::Identity());
    bool drawn = draw(dc);
    HRESULT hr = rt->EndDraw();
    dc->Release();
    if (hr == HRESULT(0x8899000C)) {
        ReleaseCom(rt);
        ReleaseCom(factory);
    }
    return drawn && SUCCEEDED(hr);
}

bool OutputDevice::DrawGradient(ColorPair &rColors)
{
    HDC h = GethDC();
    Size s = GetOutputSizePixel();
    if (!h || s.IsEmpty())
        return false;
    RECT area{0, 0, s.Width(), s.Height()};
    auto colour = [](Color const &c) {
        return D2D1::ColorF(float(c.Get8BitRed() / 255.0), float(c.Get8BitGreen() / 255.0),
                            float(c.Get8BitBlue() / 255.0), 1.0f);
    };
    GetRenderTarget(); // made when missing
    bool ok = WithD2D(
        m_pD2DFactory, m_pRenderTarget, h, area,
        [&](ID2D1DeviceContext *dc) {
            D2D1_GRADIENT_STOP stops[2] = {{0.0f, colour(rColors[0])}, {1.0f, colour(rColors[1])}};
            ID2D1GradientStopCollection *coll = nullptr;
            ID2D1LinearGradientBrush *brush = nullptr;
            bool done = false;
            if (SUCCEEDED(dc->CreateGradientStopCollection(stops, 2, &coll)) &&
                SUCCEEDED(dc->CreateLinearGradientBrush(
                    D2D1::LinearGradientBrushProperties(D2D1::Point2F(0, 0), D2D1::Point2F(0, float(s.Height()))),
                    coll, &brush))) {
                dc->FillRectangle(D2D1::RectF(0, 0, float(s.Width()), float(s.Height())), brush);
                done = true;
            }
            ReleaseCom(brush);
            ReleaseCom(coll);
            return done;
        });
    if (ok)
        return true;
    // Without Direct2D: the same gradient through GDI+.
    Gdiplus::Graphics g(h);
    Gdiplus::LinearGradientBrush b(Gdiplus::Point(0, 0), Gdiplus::Point(0, s.Height()), GpColor(rColors[0], 255),
                                   GpColor(rColors[1], 255));
    if (g.GetLastStatus() != Gdiplus::Ok || g.FillRectangle(&b, Gdiplus::Rect(0, 0, s.Width(), s.Height())) != Gdiplus::Ok) {
        IncGdiPlusError();
        return false;
    }
    return true;
}

bool OutputDevice::BlurEffect(CRectangle const &rRect, double fStdDev)
{
    HDC h = GethDC();
    if (!h || rRect.IsEmpty() || !(fStdDev >= 0.0))
        return false;
    if (fStdDev > MAX_BLUR_DEVIATION)
        fStdDev = MAX_BLUR_DEVIATION;
    AreaPixels px(h, rRect);
    if (!px.IsValid())
        return false;
    if (fStdDev == 0.0)
        return true;
    RECT area = ToRECT(rRect);
    static volatile long s_nBlurUsable = 0;
    bool ok = EffectUsable(GetRenderTarget(), CLSID_D2D1GaussianBlur, s_nBlurUsable) && WithD2D(
        m_pD2DFactory, m_pRenderTarget, h, area,
        [&](ID2D1DeviceContext *dc) {
            ID2D1Effect *blur = nullptr;
            ID2D1Bitmap *source = nullptr;
            bool done = false;
            D2D1_BITMAP_PROPERTIES props = PremultipliedBGRA();
            if (SUCCEEDED(dc->CreateEffect(CLSID_D2D1GaussianBlur, &blur)) &&
                SUCCEEDED(dc->CreateBitmap(D2D1::SizeU(UINT32(px.Width()), UINT32(px.Height())), px.Data(),
                                           UINT32(px.Width() * 4), &props, &source))) {
                float const sd = float(fStdDev);
                UINT32 const hard = 1; // D2D1_BORDER_MODE_HARD: edge pixels repeat
                blur->SetInput(0, source);
                blur->SetValue(0, D2D1_PROPERTY_TYPE_FLOAT, reinterpret_cast<BYTE const *>(&sd), sizeof sd);
                blur->SetValue(2, D2D1_PROPERTY_TYPE_ENUM, reinterpret_cast<BYTE const *>(&hard), sizeof hard);
                dc->DrawImage(blur);
                done = true;
            }
            ReleaseCom(source);
            ReleaseCom(blur);
            return done;
        });
    if (ok)
        return true;
    BlurPixels(px.Data(), px.Width(), px.Height(), fStdDev);
    return px.WriteBack(h);
}

// ---------------------------------------------------------------- shadows

namespace {

// The opacity of each one-pixel step of DrawShadow's shadow, from the
// rectangle outwards; the shadow is as wide as there are steps.
double const SHADOW_STEP_OPACITY[] = {0.40, 0.28, 0.16, 0.06};
int const SHADOW_STEPS = int(sizeof SHADOW_STEP_OPACITY / sizeof SHADOW_STEP_OPACITY[0]);

// Where a device can be drawn on: its output area, or for a device that does
// not know its size (a caller's HDC) the HDC's clip box; an effect never
// works on more pixels than that.
CRectangle DrawableArea(OutputDevice &rDev, HDC h)
{
    Size const out = rDev.GetOutputSizePixel();
    if (!out.IsEmpty())
        return CRectangle(Point(0, 0), out);
    RECT rc{};
    if (GetClipBox(h, &rc) == ERROR || rc.right <= rc.left || rc.bottom <= rc.top)
        return CRectangle();
    return CRectangle(rc.left, rc.top, rc.right - 1, rc.bottom - 1);
}

// The part of the inclusive extent [l, r] x [t, b] inside the bounds; the
// extent may lie beyond what an int holds.
CRectangle Clamped(long long l, long long t, long long r, long long b, CRectangle const &rBounds)
{
    if (rBounds.IsEmpty())
        return CRectangle();
    l = l < rBounds.Left() ? rBounds.Left() : l;
    t = t < rBounds.Top() ? rBounds.Top() : t;
    r = r > rBounds.Right() ? rBounds.Right() : r;
    b = b > rBounds.Bottom() ? rBounds.Bottom() : b;
    if (r < l || b < t)
        return CRectangle();
    return CRectangle(int(l), int(t), int(r), int(b));
}

// The steps of DrawShadow's shadow as nested L shapes, each a column right
// of the rectangle and a row below it, every pixel in exactly one step. The
// shadow begins SHADOW_STEPS pixels below the rectangle's top and right of
// its left edge, as if the light came from the top left. Calls
// fill(step, piece) for the pieces inside the box.
template <class F> void ForShadowSteps(CRectangle const &r, CRectangle const &rBox, F fill)
{
    long long const l = r.Left(), t = r.Top(), rr = r.Right(), b = r.Bottom();
    for (int i = 0; i < SHADOW_STEPS; ++i) {
        CRectangle const column = Clamped(rr + 1 + i, t + SHADOW_STEPS, rr + 1 + i, b + 1 + i, rBox);
        CRectangle const row = Clamped(l + SHADOW_STEPS, b + 1 + i, rr + i, b + 1 + i, rBox);
        if (!column.IsEmpty())
            fill(i, column);
        if (!row.IsEmpty())
            fill(i, row);
    }
}

// The area DrawShadow may change: the rectangle moved by the shadow's width.
CRectangle ShadowBox(CRectangle const &r, CRectangle const &rBounds)
{
    return Clamped((long long)r.Left() + SHADOW_STEPS, (long long)r.Top() + SHADOW_STEPS,
                   (long long)r.Right() + SHADOW_STEPS, (long long)r.Bottom() + SHADOW_STEPS, rBounds);
}

} // namespace

bool OutputDevice::DrawShadow(Point const &rPos, Size const &rSize)
{
    HDC h = GethDC();
    CRectangle r(rPos, rSize);
    r.Justify();
    if (!h || r.IsEmpty())
        return false;
    CRectangle const box = ShadowBox(r, DrawableArea(*this, h));
    if (box.IsEmpty())
        return false;
    bool ok = false;
    if (GetRenderTarget()) {
        // The target does not start from the HDC's pixels: they are drawn
        // first, so that the steps darken what was there.
        AreaPixels px(h, box);
        ok = px.IsValid() && WithD2D(
            m_pD2DFactory, m_pRenderTarget, h, ToRECT(box),
            [&](ID2D1DeviceContext *dc) {
                ID2D1Bitmap *background = nullptr;
                ID2D1SolidColorBrush *brush = nullptr;
                D2D1_BITMAP_PROPERTIES props = PremultipliedBGRA();
                bool const done =
                    SUCCEEDED(dc->CreateBitmap(D2D1::SizeU(UINT32(px.Width()), UINT32(px.Height())), px.Data(),
                                               UINT32(px.Width() * 4), &props, &background)) &&
                    SUCCEEDED(dc->CreateSolidColorBrush(D2D1::ColorF(0.0f, 0.0f, 0.0f, 1.0f), &brush));
                if (done) {
                    dc->DrawBitmap(background);
                    ForShadowSteps(r, box, [&](int i, CRectangle const &p) {
                        brush->SetOpacity(float(SHADOW_STEP_OPACITY[i]));
                        dc->FillRectangle(D2D1::RectF(float(p.Left() - box.Left()), float(p.Top() - box.Top()),
                                                      float(p.Right() + 1 - box.Left()),
                                                      float(p.Bottom() + 1 - box.Top())),
                                          brush);
                    });
                }
                ReleaseCom(brush);
                ReleaseCom(background);
                return done;
            });
    }
    if (ok)
        return true;
    // Without Direct2D: the same steps through GDI+.
    Gdiplus::Graphics g(h);
    bool drawn = g.GetLastStatus() == Gdiplus::Ok;
    if (drawn)
        ForShadowSteps(r, box, [&](int i, CRectangle const &p) {
            Gdiplus::SolidBrush b(Gdiplus::Color(BYTE(SHADOW_STEP_OPACITY[i] * 255.0 + 0.5), 0, 0, 0));
            Gdiplus::Rect const rc(p.Left(), p.Top(), p.GetWidth(), p.GetHeight());
            drawn = g.FillRectangle(&b, rc) == Gdiplus::Ok && drawn;
        });
    if (!drawn)
        IncGdiPlusError();
    return drawn;
}

bool OutputDevice::DrawShadowOnBackground(Point const &rPos, Size const &rSize, Color const &rBackground)
{
    HDC h = GethDC();
    CRectangle r(rPos, rSize);
    r.Justify();
    if (!h || r.IsEmpty())
        return false;
    CRectangle const box = ShadowBox(r, DrawableArea(*this, h));
    if (box.IsEmpty())
        return false;
    HBRUSH steps[SHADOW_STEPS] = {};
    for (int i = 0; i < SHADOW_STEPS; ++i) {
        auto dim = [i](unsigned c) { return BYTE(c * (1.0 - SHADOW_STEP_OPACITY[i]) + 0.5); };
        steps[i] = CreateSolidBrush(
            RGB(dim(rBackground.Get8BitRed()), dim(rBackground.Get8BitGreen()), dim(rBackground.Get8BitBlue())));
    }
    bool ok = true;
    ForShadowSteps(r, box, [&](int i, CRectangle const &p) {
        RECT rc = ToRECT(p);
        ok = steps[i] && FillRect(h, &rc, steps[i]) && ok;
    });
    for (HBRUSH b : steps)
        if (b)
            DeleteObject(b);
    return ok;
}

// The shapes are the pixels of rShapes, all of them or those not of the key
// colour. A drop shadow is their coverage, blurred, moved by nOffset and
// blended beneath them; an inner shadow is the coverage of everything but
// the shapes, treated the same way and blended only onto them, so that it
// falls inside them from their top and left edges.
bool OutputDevice::ImpShadow(CRectangle const &rShapes, Color const *pKey, int nOffset, double fStdDev,
                             TransparentColor const &rColor, bool bInset)
{
    HDC h = GethDC();
    CRectangle shapes(rShapes);
    shapes.Justify();
    if (!h || shapes.IsEmpty() || !(fStdDev >= 0.0) || nOffset < 0)
        return false;
    if (fStdDev > MAX_BLUR_DEVIATION)
        fStdDev = MAX_BLUR_DEVIATION;
    int const reach = int(std::ceil(fStdDev * 3.0));
    // The pixels that can change: an inner shadow stays inside the shapes'
    // rectangle; a drop shadow reaches the offset and the blur beyond it, and
    // back up and left where the blur reaches further than the offset.
    long long const back = bInset || reach <= nOffset ? 0 : reach - nOffset;
    long long const ahead = bInset ? 0 : (long long)nOffset + reach;
    CRectangle const area = Clamped((long long)shapes.Left() - back, (long long)shapes.Top() - back,
                                    shapes.Right() + ahead, shapes.Bottom() + ahead, DrawableArea(*this, h));
    if (area.IsEmpty())
        return false;
    AreaPixels px(h, area);
    if (!px.IsValid())
        return false;
    int const w = px.Width(), hh = px.Height();
    unsigned const key = pKey ? unsigned(pKey->Get8BitRed()) << 16 | unsigned(pKey->Get8BitGreen()) << 8 |
                                    unsigned(pKey->Get8BitBlue())
                              : 0u;
    // Whether a pixel, relative to the area, belongs to the shapes: beyond
    // the area only a rectangle's pixels are known.
    auto inShapes = [&](long long x, long long y) {
        long long const dx = area.Left() + x, dy = area.Top() + y;
        if (dx < shapes.Left() || dx > shapes.Right() || dy < shapes.Top() || dy > shapes.Bottom())
            return false;
        if (!pKey)
            return true;
        return x >= 0 && x < w && y >= 0 && y < hh && (px.At(int(x), int(y)) & 0xFFFFFFu) != key;
    };
    std::vector<unsigned char> shape(size_t(w) * size_t(hh));
    for (int y = 0; y < hh; ++y)
        for (int x = 0; x < w; ++x)
            shape[size_t(y) * w + x] = inShapes(x, y);
    // The coverage that casts the shadow, where the area's pixels take it
    // from: the area moved back by the offset and grown by the blur's reach.
    int const mw = w + 2 * reach, mh = hh + 2 * reach;
    long long const from = (long long)nOffset + reach;
    std::vector<unsigned> cover(size_t(mw) * size_t(mh));
    for (int y = 0; y < mh; ++y)
        for (int x = 0; x < mw; ++x)
            cover[size_t(y) * mw + x] = inShapes(x - from, y - from) != bInset ? 0xFFu : 0u;

    ID2D1DCRenderTarget *rt = GetRenderTarget();
    static volatile long s_nShadowUsable = 0, s_nMoveUsable = 0, s_nCompositeUsable = 0;
    bool ok = EffectUsable(rt, CLSID_D2D1Shadow, s_nShadowUsable) &&
              EffectUsable(rt, CLSID_D2D12DAffineTransform, s_nMoveUsable) &&
              EffectUsable(rt, CLSID_D2D1Composite, s_nCompositeUsable) &&
              WithD2D(
                  m_pD2DFactory, m_pRenderTarget, h, ToRECT(area),
                  [&](ID2D1DeviceContext *dc) {
                      // The coverage as black of that opacity; the shapes as
                      // their own pixels (drop shadow) or as an opaque mask
                      // (inner shadow), transparent elsewhere.
                      std::vector<unsigned> coverPx(cover.size()), shapesPx(shape.size());
                      for (size_t i = 0; i < cover.size(); ++i)
                          coverPx[i] = cover[i] << 24;
                      for (size_t i = 0; i < shape.size(); ++i)
                          shapesPx[i] = !shape[i] ? 0u : bInset ? 0xFF000000u : px.Data()[i];
                      ID2D1Effect *shadow = nullptr, *move = nullptr, *composite = nullptr;
                      ID2D1Bitmap *background = nullptr, *coverBmp = nullptr, *shapesBmp = nullptr;
                      D2D1_BITMAP_PROPERTIES props = PremultipliedBGRA();
                      D2D1_SIZE_U const size = D2D1::SizeU(UINT32(w), UINT32(hh));
                      bool const done =
                          SUCCEEDED(dc->CreateEffect(CLSID_D2D1Shadow, &shadow)) &&
                          SUCCEEDED(dc->CreateEffect(CLSID_D2D12DAffineTransform, &move)) &&
                          SUCCEEDED(dc->CreateEffect(CLSID_D2D1Composite, &composite)) &&
                          SUCCEEDED(dc->CreateBitmap(size, px.Data(), UINT32(w * 4), &props, &background)) &&
                          SUCCEEDED(dc->CreateBitmap(size, shapesPx.data(), UINT32(w * 4), &props, &shapesBmp)) &&
                          SUCCEEDED(dc->CreateBitmap(D2D1::SizeU(UINT32(mw), UINT32(mh)), coverPx.data(),
                                                     UINT32(mw * 4), &props, &coverBmp));
                      if (done) {
                          float const sd = float(fStdDev);
                          Color const &c = rColor.GetColor();
                          D2D1_VECTOR_4F colour{float(c.GetFRed()), float(c.GetFGreen()), float(c.GetFBlue()),
                                                float(rColor.GetAlpha() / 255.0)};
                          shadow->SetInput(0, coverBmp);
                          shadow->SetValue(D2D1_SHADOW_PROP_BLUR_STANDARD_DEVIATION, D2D1_PROPERTY_TYPE_FLOAT,
                                           reinterpret_cast<BYTE const *>(&sd), sizeof sd);
                          shadow->SetValue(D2D1_SHADOW_PROP_COLOR, D2D1_PROPERTY_TYPE_VECTOR4,
                                           reinterpret_cast<BYTE const *>(&colour), sizeof colour);
                          // The coverage was taken the offset back: moved by
                          // the offset it starts the blur's reach up and left
                          // of the area.
                          D2D1_MATRIX_3X2_F const by = D2D1::Matrix3x2F::Translation(float(-reach), float(-reach));
                          move->SetInputEffect(0, shadow);
                          move->SetValue(D2D1_2DAFFINETRANSFORM_PROP_TRANSFORM_MATRIX,
                                         D2D1_PROPERTY_TYPE_MATRIX_3X2, reinterpret_cast<BYTE const *>(&by),
                                         sizeof by);
                          // Drop: the shapes over their shadow. Inner: the
                          // shadow kept only where the shapes are.
                          UINT32 const mode =
                              bInset ? D2D1_COMPOSITE_MODE_SOURCE_IN : D2D1_COMPOSITE_MODE_SOURCE_OVER;
                          composite->SetInputCount(2);
                          if (bInset) {
                              composite->SetInput(0, shapesBmp);
                              composite->SetInputEffect(1, move);
                          } else {
                              composite->SetInputEffect(0, move);
                              composite->SetInput(1, shapesBmp);
                          }
                          composite->SetValue(D2D1_COMPOSITE_PROP_MODE, D2D1_PROPERTY_TYPE_ENUM,
                                              reinterpret_cast<BYTE const *>(&mode), sizeof mode);
                          dc->DrawBitmap(background);
                          dc->DrawImage(composite);
                      }
                      ReleaseCom(coverBmp);
                      ReleaseCom(shapesBmp);
                      ReleaseCom(background);
                      ReleaseCom(composite);
                      ReleaseCom(move);
                      ReleaseCom(shadow);
                      return done;
                  });
    if (ok)
        return true;

    // Our own: the coverage blurred and blended in the colour at its opacity.
    BlurPixels(cover.data(), mw, mh, fStdDev, 1);
    unsigned const alpha = rColor.GetAlpha();
    Color const &c = rColor.GetColor();
    unsigned const cr = c.Get8BitRed(), cg = c.Get8BitGreen(), cb = c.Get8BitBlue();
    for (int y = 0; y < hh; ++y)
        for (int x = 0; x < w; ++x) {
            if ((shape[size_t(y) * w + x] != 0) != bInset)
                continue;
            unsigned const a = (cover[size_t(y + reach) * mw + size_t(x + reach)] & 0xFFu) * alpha;
            unsigned &p = px.At(x, y);
            auto mix = [a](unsigned under, unsigned over) {
                return (over * a + under * (255u * 255u - a) + 255u * 255u / 2) / (255u * 255u);
            };
            p = 0xFF000000u | mix((p >> 16) & 0xFF, cr) << 16 | mix((p >> 8) & 0xFF, cg) << 8 | mix(p & 0xFF, cb);
        }
    return px.WriteBack(h);
}

bool OutputDevice::ShadowEffect(CRectangle const &rRect, int nOffset, double fStdDev, Color const &rColor)
{
    return ImpShadow(rRect, nullptr, nOffset, fStdDev, TransparentColor(rColor), false);
}

bool OutputDevice::DrawBlurShadow(Point const &rPos, Size const &rSize, int nDepth, TransparentColor const &rColor)
{
    // The further the rectangle floats above its background, the softer
    // its shadow.
    return ImpShadow(CRectangle(rPos, rSize), nullptr, nDepth, nDepth / 2.0, rColor, false);
}

bool OutputDevice::BlurShadowEffect(CRectangle const &rRect, Color const &rKey, int nOffset, double fStdDev,
                                    TransparentColor const &rShadow)
{
    return ImpShadow(rRect, &rKey, nOffset, fStdDev, rShadow, false);
}

bool OutputDevice::InsetShadow(CRectangle const &rRect, int nDepth, double fStdDev, TransparentColor const &rColor)
{
    return ImpShadow(rRect, nullptr, nDepth, fStdDev, rColor, true);
}

bool OutputDevice::InsetEffect(CRectangle const &rRect, Color const &rKey, int nDepth, double fStdDev,
                               TransparentColor const &rColor)
{
    return ImpShadow(rRect, &rKey, nDepth, fStdDev, rColor, true);
}

// ---------------------------------------------------------------- Direct2D bitmaps and tiles

ID2D1Bitmap *OutputDevice::GetD2DBitmap(Point const &rPos, Size const &rSize)
{
    HDC h = GethDC();
    if (!h || rSize.IsEmpty() || rSize.Width() > BITMAP_MAX_SIDE || rSize.Height() > BITMAP_MAX_SIDE)
        return nullptr;
    ID2D1DCRenderTarget *rt = GetRenderTarget();
    if (!rt)
        return nullptr;
    AreaPixels px(h, CRectangle(rPos, rSize));
    if (!px.IsValid())
        return nullptr;
    ID2D1Bitmap *bitmap = nullptr;
    D2D1_BITMAP_PROPERTIES props = PremultipliedBGRA();
    if (FAILED(rt->CreateBitmap(D2D1::SizeU(UINT32(px.Width()), UINT32(px.Height())), px.Data(),
                                UINT32(px.Width() * 4), &props, &bitmap)))
        return nullptr;
    return bitmap;
}

ID2D1Bitmap *OutputDevice::GetD2DBitmap(Bitmap &rBitmap)
{
    ID2D1DCRenderTarget *rt = GetRenderTarget();
    IWICImagingFactory *wic = GetWicFactory();
    if (!rt || !wic || rBitmap.Empty())
        return nullptr;
    // Both kinds of image through GDI+, which gives a GDI image opaque
    // alpha and a GDI+ image its own, premultiplied as Direct2D wants it.
    IWICBitmap *source = nullptr;
    GdiplusView view(rBitmap);
    if (Gdiplus::Bitmap *image = view.Get()) {
        Gdiplus::Rect const all(0, 0, view.Width(), view.Height());
        Gdiplus::BitmapData data;
        if (image->LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &data) == Gdiplus::Ok) {
            if (FAILED(wic->CreateBitmapFromMemory(data.Width, data.Height, GUID_WICPixelFormat32bppPBGRA,
                                                   UINT(data.Stride), UINT(data.Stride) * data.Height,
                                                   static_cast<BYTE *>(data.Scan0), &source)))
                source = nullptr;
            image->UnlockBits(&data);
        }
    }
    if (!source)
        return nullptr;
    IWICFormatConverter *converter = nullptr;
    ID2D1Bitmap *bitmap = nullptr;
    if (SUCCEEDED(wic->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(source, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                        WICBitmapPaletteTypeCustom)) &&
        FAILED(rt->CreateBitmapFromWicBitmap(converter, nullptr, &bitmap)))
        bitmap = nullptr;
    ReleaseCom(converter);
    ReleaseCom(source);
    return bitmap;
}

bool OutputDevice::TileEffect(CRectangle const &rTile, CRectangle const &rArea)
{
    HDC h = GethDC();
    if (!h || rTile.IsEmpty() || rArea.IsEmpty())
        return false;
    static volatile long s_nTileUsable = 0;
    if (EffectUsable(GetRenderTarget(), CLSID_D2D1Tile, s_nTileUsable)) {
        ID2D1Bitmap *tile = GetD2DBitmap(rTile.TopLeft(), rTile.GetSize());
        if (tile) {
            RECT area = ToRECT(rArea);
            bool ok = WithD2D(m_pD2DFactory, m_pRenderTarget, h, area, [&](ID2D1DeviceContext *dc) {
                ID2D1Effect *effect = nullptr;
                if (FAILED(dc->CreateEffect(CLSID_D2D1Tile, &effect)))
                    return false;
                D2D1_VECTOR_4F const whole{0.0f, 0.0f, float(rTile.GetWidth()), float(rTile.GetHeight())};
                effect->SetInput(0, tile);
                effect->SetValue(D2D1_TILE_PROP_RECT, D2D1_PROPERTY_TYPE_VECTOR4, reinterpret_cast<BYTE const *>(&whole),
                                 sizeof whole);
                // The effect repeats the tile from its own origin: the area's
                // place relative to the tile picks the part shown.
                D2D1_RECT_F const part =
                    D2D1::RectF(float(rArea.Left() - rTile.Left()), float(rArea.Top() - rTile.Top()),
                                float(rArea.Right() + 1 - rTile.Left()), float(rArea.Bottom() + 1 - rTile.Top()));
                D2D1_POINT_2F const at = D2D1::Point2F(0, 0);
                dc->DrawImage(effect, &at, &part);
                effect->Release();
                return true;
            });
            tile->Release();
            if (ok)
                return true;
        }
    }
    // Without the effect: the same tiles blitted from a copy of the tile.
    Bitmap tile = GetBitmap(rTile.TopLeft(), rTile.GetSize());
    return Erase(tile, rArea, -rTile.Left(), -rTile.Top());
}
