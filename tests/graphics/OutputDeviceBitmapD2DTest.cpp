// ks-test: xvfb
// The bitmap checks of OutputDeviceBitmapTest on the X11 driver, where the
// device has a Direct2D render target: the tile effect goes through it when
// the platform has the effect, and Direct2D bitmaps can be made.
#define KS_BITMAP_TEST_X11
#include "tests/graphics/OutputDeviceBitmapTest.cpp"

#include "tests/support/LeakCounters.h"

#include <d2d1_1.h>
#include <wincodec.h>

TEST_F(BitmapDrawTest, Direct2DBitmapsOfTheDeviceAndOfImages)
{
    ASSERT_NE(nullptr, dev->GetRenderTarget()) << "the X11 driver gives Direct2D render targets";
    // Imaging objects are COM objects: the thread has COM since KSInit
    // started OLE on it, as every application's main thread has.
    EXPECT_NE(nullptr, dev->GetWicFactory());
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    Bitmap gdi = Picture(7, 5), gdiplus = Argb(6, 3, 0x80FF0000);
    auto sizeOf = [](ID2D1Bitmap *b) {
        D2D1_SIZE_U s = b->GetPixelSize();
        b->Release();
        return Size(int(s.width), int(s.height));
    };
    ID2D1Bitmap *b = dev->GetD2DBitmap(Point(3, 4), Size(10, 9));
    ASSERT_NE(nullptr, b);
    EXPECT_EQ(Size(10, 9), sizeOf(b));
    ASSERT_NE(nullptr, b = dev->GetD2DBitmap(gdi));
    EXPECT_EQ(Size(7, 5), sizeOf(b));
    ASSERT_NE(nullptr, b = dev->GetD2DBitmap(gdiplus));
    EXPECT_EQ(Size(6, 3), sizeOf(b));
    Bitmap none;
    EXPECT_EQ(nullptr, dev->GetD2DBitmap(none));
    EXPECT_EQ(nullptr, dev->GetD2DBitmap(Point(0, 0), Size(0, 3)));
    // Wine's Direct2D keeps heap on every bitmap it makes: ours may keep
    // what the same platform calls keep, not a block a call more.
    ID2D1DCRenderTarget *rt = dev->GetRenderTarget();
    IWICImagingFactory *wic = dev->GetWicFactory();
    Bitmap small = Argb(8, 8, 0x80FF0000);
    auto raw = [&] {
        std::vector<unsigned> px(64, 0x80800000u);
        IWICBitmap *w = nullptr;
        IWICFormatConverter *conv = nullptr;
        ID2D1Bitmap *a = nullptr, *c = nullptr;
        D2D1_BITMAP_PROPERTIES props =
            D2D1::BitmapProperties(D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED));
        wic->CreateBitmapFromMemory(8, 8, GUID_WICPixelFormat32bppPBGRA, 32, 256,
                                    reinterpret_cast<BYTE *>(px.data()), &w);
        wic->CreateFormatConverter(&conv);
        conv->Initialize(w, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                         WICBitmapPaletteTypeCustom);
        rt->CreateBitmapFromWicBitmap(conv, nullptr, &a);
        rt->CreateBitmap(D2D1::SizeU(8, 8), px.data(), 32, &props, &c);
        a->Release();
        c->Release();
        conv->Release();
        w->Release();
    };
    auto ours = [&] {
        dev->GetD2DBitmap(small)->Release();
        dev->GetD2DBitmap(Point(0, 0), Size(8, 8))->Release();
    };
    raw();
    ours();
    std::size_t const objects = kstest::GdiObjectCount();
    auto growth = [](auto &&fn) {
        auto const before = kstest::CurrentHeapUsage();
        for (int i = 0; i < 50; ++i)
            fn();
        return long(kstest::CurrentHeapUsage().blocks) - long(before.blocks);
    };
    long const platform = growth(raw), own = growth(ours);
    EXPECT_LE(own, platform + 25) << "the platform's calls alone keep " << platform << " blocks";
    EXPECT_EQ(objects, kstest::GdiObjectCount());
    delete dev; // its imaging factory goes before COM does
    dev = nullptr;
    CoUninitialize();
}
