// ks-test: xvfb
// The X11 run of the suite must give real Direct2D and a readable screen DC;
// later drawing tests rely on both. This program fails if the harness runs it
// on the null driver by mistake.
#include "graphics/Bitmap.h"

#include <gtest/gtest.h>

#include <d2d1.h>
#include <windows.h>

namespace {
template <class T> void Release(T *&p)
{
    if (p) {
        p->Release();
        p = nullptr;
    }
}
} // namespace

TEST(XvfbHarness, Direct2DDrawsIntoAMemoryDC)
{
    int const w = 32, h = 16;
    BITMAPINFO bi = TopDownDibInfo(w, h);
    void *bits = nullptr;
    HDC mem = CreateCompatibleDC(nullptr);
    HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(nullptr, dib);
    HGDIOBJ old = SelectObject(mem, dib);

    ID2D1Factory *factory = nullptr;
    ASSERT_EQ(S_OK, D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory), nullptr,
                                      reinterpret_cast<void **>(&factory)));
    D2D1_RENDER_TARGET_PROPERTIES props = D2D1::RenderTargetProperties(
        D2D1_RENDER_TARGET_TYPE_DEFAULT, D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_IGNORE));
    ID2D1DCRenderTarget *target = nullptr;
    HRESULT hr = factory->CreateDCRenderTarget(&props, &target);
    ASSERT_EQ(S_OK, hr) << std::hex << hr;
    RECT bound{0, 0, w, h};
    ASSERT_EQ(S_OK, target->BindDC(mem, &bound));
    ID2D1SolidColorBrush *brush = nullptr;
    ASSERT_EQ(S_OK, target->CreateSolidColorBrush(D2D1::ColorF(0.0f, 0.0f, 1.0f), &brush));
    target->BeginDraw();
    target->Clear(D2D1::ColorF(1.0f, 0.0f, 0.0f));
    target->FillRectangle(D2D1::RectF(16, 0, 32, 16), brush);
    hr = target->EndDraw();
    EXPECT_EQ(S_OK, hr) << std::hex << hr;

    auto const *px = static_cast<unsigned const *>(bits);
    EXPECT_EQ(0xFF0000u, px[3 * w + 4] & 0xFFFFFFu) << "cleared red";
    EXPECT_EQ(0x0000FFu, px[3 * w + 20] & 0xFFFFFFu) << "filled blue";

    Release(brush);
    Release(target);
    Release(factory);
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
}

TEST(XvfbHarness, ScreenDCIsReadable)
{
    HDC screen = GetDC(nullptr);
    ASSERT_NE(nullptr, screen);
    EXPECT_GE(GetDeviceCaps(screen, HORZRES), 640);
    // Paint a window and read a pixel back through the screen DC.
    HWND wnd = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 10, 10, 40, 40, nullptr, nullptr,
                               nullptr, nullptr);
    ASSERT_NE(nullptr, wnd);
    HDC wdc = GetDC(wnd);
    RECT r{0, 0, 40, 40};
    HBRUSH green = CreateSolidBrush(RGB(0, 200, 0));
    FillRect(wdc, &r, green);
    GdiFlush();
    COLORREF c = GetPixel(wdc, 20, 20);
    ReleaseDC(wnd, wdc);
    DeleteObject(green);
    DestroyWindow(wnd);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(RGB(0, 200, 0), c);
}
