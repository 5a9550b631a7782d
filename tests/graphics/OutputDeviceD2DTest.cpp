// ks-test: xvfb
// The effect checks of OutputDeviceEffectsTest on the X11 driver, where
// Direct2D draws: the gradient and DrawShadow's steps through the
// platform's Direct2D, the blur and the blurred shadows through our own code
// (no Gaussian blur effect here, and the shadow effect draws nothing).
#include "tests/graphics/OutputDeviceEffectsTest.cpp"
#include "tests/support/LeakCounters.h"

#include <d2d1_1.h>

TEST_F(EffectsTest, Direct2DIsKeptByTheDeviceAndItsDrawingsKeepNoMoreHeapThanThePlatformsOwnCalls)
{
    ColorPair pair(Color(0x00FF00ul), Color(0x0000FFul));
    ID2D1DCRenderTarget *rt = dev->GetRenderTarget();
    ASSERT_NE(nullptr, rt) << "the X11 driver gives Direct2D render targets";
    EXPECT_EQ(rt, dev->GetRenderTarget());
    EXPECT_NE(nullptr, dev->GetD2DFactory());
    EXPECT_NE(nullptr, dev->GetWriteFactory());
    HDC h = dev->GethDC();
    // What the gradient and the shadow ask of the platform, called directly.
    auto raw = [&](RECT area, auto &&draw) {
        rt->BindDC(h, &area);
        ID2D1DeviceContext *dc = nullptr;
        rt->QueryInterface(__uuidof(ID2D1DeviceContext), reinterpret_cast<void **>(&dc));
        rt->BeginDraw();
        rt->SetTransform(D2D1::Matrix3x2F::Identity());
        draw(dc);
        rt->EndDraw();
        dc->Release();
    };
    auto rawGradient = [&] {
        raw(RECT{0, 0, 64, 48}, [](ID2D1DeviceContext *dc) {
            D2D1_GRADIENT_STOP stops[2] = {{0.0f, D2D1::ColorF(0, 1, 0)}, {1.0f, D2D1::ColorF(1, 0, 0)}};
            ID2D1GradientStopCollection *coll = nullptr;
            ID2D1LinearGradientBrush *brush = nullptr;
            dc->CreateGradientStopCollection(stops, 2, &coll);
            dc->CreateLinearGradientBrush(
                D2D1::LinearGradientBrushProperties(D2D1::Point2F(0, 0), D2D1::Point2F(0, 48)), coll, &brush);
            dc->FillRectangle(D2D1::RectF(0, 0, 64, 48), brush);
            brush->Release();
            coll->Release();
        });
    };
    auto rawShadow = [&] {
        raw(RECT{7, 7, 27, 17}, [](ID2D1DeviceContext *dc) {
            std::vector<unsigned> px(200, 0xFFFFFFFFu);
            D2D1_BITMAP_PROPERTIES props = D2D1::BitmapProperties(
                D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED));
            ID2D1Bitmap *bmp = nullptr;
            ID2D1SolidColorBrush *brush = nullptr;
            dc->CreateBitmap(D2D1::SizeU(20, 10), px.data(), 80, &props, &bmp);
            dc->CreateSolidColorBrush(D2D1::ColorF(0, 0, 0, 1), &brush);
            dc->DrawBitmap(bmp);
            for (int i = 0; i < 8; ++i) {
                brush->SetOpacity(0.1f * float(i));
                dc->FillRectangle(D2D1::RectF(float(i), 0, float(i + 1), 10), brush);
            }
            brush->Release();
            bmp->Release();
        });
    };
    auto gradient = [&] { dev->DrawGradient(pair); };
    auto shadow = [&] { dev->DrawShadow(Point(3, 3), Size(20, 10)); };
    rawGradient();
    rawShadow();
    gradient();
    shadow();
    std::size_t const gdi = kstest::GdiObjectCount();
    auto growth = [](auto &&fn, int n = 50) {
        auto const before = kstest::CurrentHeapUsage();
        for (int i = 0; i < n; ++i)
            fn();
        return long(kstest::CurrentHeapUsage().blocks) - long(before.blocks);
    };
    // Wine's Direct2D keeps heap on every call (~8 blocks a draw, ~54 for
    // the shadow's nine); a block of our own per call would add 50, more
    // than the platform's scatter. A leaked brush was seen to add ~0.9 a
    // call: the shadow runs 100 times.
    long const platform = growth(rawGradient), ours = growth(gradient);
    EXPECT_LE(ours, platform + platform / 10) << "the platform's calls alone keep " << platform << " blocks";
    long const platformShadow = growth(rawShadow, 100), ourShadow = growth(shadow, 100);
    EXPECT_LE(ourShadow, platformShadow + 25) << "the platform's calls alone keep " << platformShadow << " blocks";
    EXPECT_EQ(gdi, kstest::GdiObjectCount());
}
