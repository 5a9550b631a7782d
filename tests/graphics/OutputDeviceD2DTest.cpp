// ks-test: xvfb
// The effect checks of OutputDeviceEffectsTest on the X11 driver, where
// Direct2D draws: the gradient and the shadow through the platform's
// Direct2D, the blur through our own code (no Gaussian blur effect here).
#include "tests/graphics/OutputDeviceEffectsTest.cpp"

#include <d2d1_1.h>
#include "tests/support/LeakCounters.h"

TEST_F(EffectsTest, Direct2DIsThereAndKeptByTheDevice)
{
    ID2D1DCRenderTarget *rt = dev->GetRenderTarget();
    ASSERT_NE(nullptr, rt) << "the X11 driver gives Direct2D render targets";
    EXPECT_EQ(rt, dev->GetRenderTarget());
    EXPECT_NE(nullptr, dev->GetD2DFactory());
    EXPECT_NE(nullptr, dev->GetWriteFactory());
}

TEST_F(EffectsTest, TheGradientKeepsNoMoreHeapThanThePlatformsOwnCalls)
{
    ColorPair pair(Color(0x00FF00ul), Color(0x0000FFul));
    ID2D1DCRenderTarget *rt = dev->GetRenderTarget();
    ASSERT_NE(nullptr, rt);
    HDC h = dev->GethDC();
    auto raw = [&] {
        RECT area{0, 0, 64, 48};
        rt->BindDC(h, &area);
        ID2D1DeviceContext *dc = nullptr;
        rt->QueryInterface(__uuidof(ID2D1DeviceContext), reinterpret_cast<void **>(&dc));
        rt->BeginDraw();
        rt->SetTransform(D2D1::Matrix3x2F::Identity());
        D2D1_GRADIENT_STOP stops[2] = {{0.0f, D2D1::ColorF(0, 1, 0)}, {1.0f, D2D1::ColorF(1, 0, 0)}};
        ID2D1GradientStopCollection *coll = nullptr;
        ID2D1LinearGradientBrush *brush = nullptr;
        rt->CreateGradientStopCollection(stops, 2, &coll);
        rt->CreateLinearGradientBrush(D2D1::LinearGradientBrushProperties(D2D1::Point2F(0, 0), D2D1::Point2F(0, 48)),
                                      coll, &brush);
        rt->FillRectangle(D2D1::RectF(0, 0, 64, 48), brush);
        brush->Release();
        coll->Release();
        rt->EndDraw();
        dc->Release();
    };
    raw();
    dev->DrawGradient(pair);
    auto growth = [](auto &&fn) {
        auto const before = kstest::CurrentHeapUsage();
        for (int i = 0; i < 50; ++i)
            fn();
        return long(kstest::CurrentHeapUsage().blocks) - long(before.blocks);
    };
    long const platform = growth(raw);
    long const ours = growth([&] { dev->DrawGradient(pair); });
    // Wine's Direct2D keeps heap on every call; a block of our own per call
    // would add 50, more than the tenth allowed for the platform's scatter.
    EXPECT_LE(ours, platform + platform / 10) << "the platform's calls alone keep " << platform << " blocks";
    std::size_t const gdi = kstest::GdiObjectCount();
    for (int i = 0; i < 50; ++i)
        dev->DrawGradient(pair);
    EXPECT_EQ(gdi, kstest::GdiObjectCount());
}
