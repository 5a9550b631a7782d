// Bitmaps: files of every format there and back, the shared body and the
// handles its last holder frees, resources, JPEG bytes, packed DIBs, the
// transformations, and damaged files that must give an empty bitmap.
#include "base/DirEntry.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "graphics/Bitmap.h"
#include "graphics/ImageList.h"
#include "graphics/VirtualDevice.h"
#include "mfc/CBitmap.h"
#include "tests/support/ImageSamples.h"
#include "tests/support/LeakCounters.h"
#include "tests/support/LeakLoop.h"
#include "tests/support/ResourceModule.h"

#include <functional>
#include <gtest/gtest.h>
#include <windows.h>
#include <gdiplus.h>

using namespace kstest;

namespace {

constexpr int W = 37, H = 23;

DirEntry Entry(std::string const &rPath)
{
    return DirEntry(SString(rPath.c_str()));
}

class BitmapTest : public testing::Test
{
protected:
    void SetUp() override
    {
        KSInit();
        source = Pattern(W, H);
        HBITMAP h = MakeHBitmap(W, H, source);
        picture.SetHBitmap(h);
    }
    void TearDown() override
    {
        picture.Delete();
        KSExit();
    }
    // Saved under the name and loaded again into a new bitmap.
    Bitmap RoundTrip(Bitmap const &rBitmap, std::string const &rName, ERRCODE *pSaved = nullptr)
    {
        std::string const path = TempFile(rName);
        ERRCODE const saved = rBitmap.Save(Entry(path));
        if (pSaved)
            *pSaved = saved;
        Bitmap back;
        EXPECT_EQ(ERRCODE_OK, back.Load(Entry(path))) << rName;
        return back;
    }
    // A four-colour 10 x 10 picture: red, green / blue, yellow quadrants.
    static Bitmap Quadrants()
    {
        Pixels p(100);
        for (int i = 0; i < 100; ++i)
            p[std::size_t(i)] = (i % 10 < 5) ? (i / 10 < 5 ? 0xFF0000u : 0x0000FFu) : (i / 10 < 5 ? 0x00FF00u : 0xFFFF00u);
        Bitmap b;
        b.SetHBitmap(MakeHBitmap(10, 10, p));
        return b;
    }
    static std::uint32_t At(Pixels const &p, int w, int x, int y) { return p[std::size_t(y * w + x)]; }

    Pixels source;
    Bitmap picture;
};

// Exposes the encoder look-up.
struct EncoderProbe : Bitmap
{
    static int Find(wchar_t const *pMime)
    {
        CLSID clsid;
        return GetEncoderClsid(pMime, &clsid);
    }
};

} // namespace

TEST_F(BitmapTest, EveryFormatComesBackWithItsPixels)
{
    ASSERT_EQ(source, ReadPixels(picture)) << "the test's own picture";
    struct Case
    {
        char const *name;
        bool gdiplus;
    } const cases[] = {{"rt.png", true}, {"rt.bmp", false}, {"rt.tif", true},   {"rt.tiff", true},
                       {"rt.gif", true}, {"rt.PNG", true},  {"rt.Gif", true},   {"rt.img", false}};
    for (Case const &c : cases) {
        ERRCODE saved = ERRCODE_FAILED;
        Bitmap back = RoundTrip(picture, c.name, &saved);
        EXPECT_EQ(ERRCODE_OK, saved) << c.name;
        EXPECT_EQ(c.gdiplus, back.IsGdiplusBitmap()) << c.name << ": the extension, in any case, picks the reader";
        EXPECT_EQ(Size(W, H), back.GetSize()) << c.name;
        EXPECT_EQ(source, ReadPixels(back)) << c.name;
        // A GDI+ image goes through the GDI path and back, and vice versa.
        Bitmap again = RoundTrip(back, c.gdiplus ? "again.bmp" : "again.png");
        EXPECT_EQ(source, ReadPixels(again)) << c.name;
    }
    std::vector<unsigned char> const bmp = ReadBytes(TempFile("rt.img"));
    ASSERT_GT(bmp.size(), 2u);
    EXPECT_EQ('B', bmp[0]) << "an unknown extension is written as BMP";
    EXPECT_EQ('M', bmp[1]);

    Pixels const blocks = Pattern(64, 48, 16);
    Bitmap smooth;
    smooth.SetHBitmap(MakeHBitmap(64, 48, blocks));
    for (char const *name : {"rt.jpg", "rt.JPEG"}) {
        Bitmap back = RoundTrip(smooth, name);
        EXPECT_TRUE(back.IsGdiplusBitmap());
        EXPECT_LT(MeanError(blocks, ReadPixels(back)), 8.0) << name;
    }
}

TEST_F(BitmapTest, ExtensionsAndEncoders)
{
    for (char const *ext : {"bmp", "BMP", "jpg", "jpeg", "png", "tif", "tiff", "gif", "GIF"})
        EXPECT_TRUE(Bitmap::IsValidExtension(SString(ext))) << ext;
    for (char const *ext : {"", "jp", "pngx", "anm", "ico"})
        EXPECT_FALSE(Bitmap::IsValidExtension(SString(ext))) << ext;
    for (wchar_t const *mime : {L"image/gif", L"image/png", L"image/jpeg", L"image/tiff", L"image/bmp"})
        EXPECT_EQ(0, EncoderProbe::Find(mime));
    EXPECT_EQ(1, EncoderProbe::Find(L"image/GIF")) << "the MIME type compares exactly";
    EXPECT_EQ(1, EncoderProbe::Find(L"image/x-none"));
    EXPECT_EQ(ERRCODE_FAILED, Bitmap().Save(Entry(TempFile("empty.png"))));
    EXPECT_EQ(ERRCODE_FAILED, picture.Save(Entry(TempFile("no-such-folder\\x.png"))));
    EXPECT_EQ(ERRCODE_FAILED, picture.Save(Entry(TempFile("no-such-folder\\x.bmp"))));
    Bitmap missing;
    EXPECT_EQ(ERRCODE_FAILED, missing.Load(Entry(TempFile("missing.bmp"))));
    EXPECT_EQ(ERRCODE_OK, missing.Load(Entry(TempFile("missing.png")))) << "GDI+ keeps its refusal in the image";
    EXPECT_TRUE(missing.Empty());
    ASSERT_NE(nullptr, missing.GetPGdiplusBitmap());
    EXPECT_NE(Gdiplus::Ok, missing.GetPGdiplusBitmap()->GetLastStatus());
    EXPECT_EQ(nullptr, static_cast<HBITMAP>(missing));
}

TEST_F(BitmapTest, CopiesShareOneBodyAndTheLastHolderFreesBothHandles)
{
    Bitmap empty;
    EXPECT_TRUE(empty.Empty());
    EXPECT_EQ(Size(), empty.GetSize());
    EXPECT_EQ(nullptr, static_cast<HBITMAP>(empty));
    EXPECT_EQ(Bitmap(), empty) << "two empty bitmaps have no body";

    std::string const png = TempFile("shared.png"), bmp = TempFile("shared.bmp");
    ASSERT_EQ(ERRCODE_OK, picture.Save(Entry(png)));
    ASSERT_EQ(ERRCODE_OK, picture.Save(Entry(bmp)));
    // The platform's caches fill over the first passes; then a pass leaves
    // nothing.
    auto pass = [&] {
        for (std::string const &path : {png, bmp}) {
            Bitmap a, b;
            ASSERT_EQ(ERRCODE_OK, a.Load(Entry(path)));
            ASSERT_EQ(ERRCODE_OK, b.Load(Entry(path)));
            EXPECT_NE(a, b) << "two loads of one file";
            HBITMAP h = a;
            ASSERT_NE(nullptr, h);
            EXPECT_EQ(h, a.GetHBitmap(Color(0ul))) << "made once, whatever the background asked later";
            CBitmap *temp = a.GetPTempCBitmap(Color(0ul));
            ASSERT_NE(nullptr, temp);
            EXPECT_EQ(h, static_cast<HBITMAP>(*temp));
            Bitmap *copy = new Bitmap(a);
            Bitmap assigned;
            assigned = a;
            assigned = assigned;
            EXPECT_EQ(a, *copy);
            EXPECT_EQ(a, assigned);
            EXPECT_EQ(h, static_cast<HBITMAP>(*copy));
            a.Delete();
            assigned = b;
            EXPECT_EQ(OBJ_BITMAP, GetObjectType(h)) << "a holder remains";
            EXPECT_EQ(source, ReadPixels(*copy));
            delete copy;
            EXPECT_EQ(0u, GetObjectType(h)) << path << ": the last holder deleted the handle";
            HBITMAP other = assigned;
            b.Delete();
            EXPECT_EQ(OBJ_BITMAP, GetObjectType(other));
        }
    };
    EXPECT_TRUE(NoGrowthOnceSettled({.batch = 1}, pass));

    HBITMAP own = CreateBitmap(4, 4, 1, 32, nullptr);
    Bitmap owner;
    owner.SetHBitmap(own);
    EXPECT_EQ(own, static_cast<HBITMAP>(owner)) << "taken, not copied";
    owner.SetHBitmap(nullptr);
    EXPECT_TRUE(owner.Empty());
    EXPECT_EQ(0u, GetObjectType(own));
}

TEST_F(BitmapTest, PrivateCopiesOfHandlesAndImages)
{
    HBITMAP h = MakeHBitmap(W, H, source);
    Bitmap copy(h);
    EXPECT_NE(h, static_cast<HBITMAP>(copy)) << "a copy of the pixels, not the handle";
    EXPECT_EQ(source, ReadPixels(copy));
    DeleteObject(h);
    EXPECT_EQ(source, ReadPixels(copy)) << "the copy outlives the caller's handle";
    EXPECT_TRUE(Bitmap(static_cast<HBITMAP>(nullptr)).Empty());
    EXPECT_TRUE(Bitmap(static_cast<CBitmap *>(nullptr)).Empty());

    // A section loaded from a file is stored bottom up; the copy must not
    // turn it over.
    Bitmap section = RoundTrip(picture, "section.bmp");
    Bitmap fromSection{static_cast<HBITMAP>(section)};
    EXPECT_EQ(source, ReadPixels(fromSection));

    CBitmap mono;
    unsigned char const rows[4] = {0xA0, 0, 0x50, 0}; // two rows of 16 bits: 1010..., 0101...
    ASSERT_TRUE(mono.CreateBitmap(4, 2, 1, 1, rows));
    Bitmap fromC(&mono);
    EXPECT_EQ(Size(4, 2), fromC.GetSize());
    EXPECT_EQ((Pixels{0xFFFFFF, 0, 0xFFFFFF, 0, 0, 0xFFFFFF, 0, 0xFFFFFF}), ReadPixels(fromC));
    EXPECT_NE(nullptr, mono.m_hObject) << "the wrapper keeps its own handle";

    Gdiplus::Bitmap image(5, 3, PixelFormat24bppRGB);
    for (int i = 0; i < 15; ++i)
        image.SetPixel(i % 5, i / 5, Gdiplus::Color(255, BYTE(i * 10), 0, BYTE(255 - i)));
    Bitmap clone(&image);
    ASSERT_TRUE(clone.IsGdiplusBitmap());
    EXPECT_NE(&image, clone.GetPGdiplusBitmap());
    EXPECT_EQ(PixelFormat32bppARGB, clone.GetPGdiplusBitmap()->GetPixelFormat());
    Gdiplus::Color c;
    clone.GetPGdiplusBitmap()->GetPixel(3, 2, &c);
    EXPECT_EQ(Gdiplus::Color(255, 130, 0, 242).GetValue(), c.GetValue());
}

TEST_F(BitmapTest, TransparencyAndItsBackground)
{
    Bitmap clear = Bitmap::CreateTransparentBG(Size(4, 3));
    ASSERT_TRUE(clear.IsGdiplusBitmap());
    EXPECT_EQ(Size(4, 3), clear.GetSize());
    Gdiplus::Color c;
    clear.GetPGdiplusBitmap()->GetPixel(3, 2, &c);
    EXPECT_EQ(0, c.GetA());
    EXPECT_EQ(Pixels(12, 0x00FF00), ReadPixels(clear.GetHBitmap(Color(0x00FF00ul)))) << "flattened onto the background";
    EXPECT_TRUE(Bitmap::CreateTransparentBG(Size(0, 3)).Empty());
    EXPECT_TRUE(Bitmap::CreateTransparentBG(Size(3, BITMAP_MAX_SIDE + 1)).Empty());
    EXPECT_EQ(Pixels(12, 0xFF00FF), ReadPixels(Bitmap::CreateTransparentBG(Size(4, 3)))) << "magenta by default";

    Bitmap keyed = picture, before = picture;
    ASSERT_TRUE(keyed.MakeTransparent(0));
    EXPECT_TRUE(keyed.IsGdiplusBitmap());
    EXPECT_NE(before, keyed);
    EXPECT_FALSE(before.IsGdiplusBitmap()) << "the other holders keep their image";
    Pixels const flat = ReadPixels(keyed.GetHBitmap(Color(0x808080ul)));
    ASSERT_EQ(source.size(), flat.size());
    int keys = 0;
    for (std::size_t i = 0; i < source.size(); ++i) {
        keys += source[i] == 0xFF00FF;
        EXPECT_EQ(source[i] == 0xFF00FF ? 0x808080u : source[i], flat[i]) << i;
    }
    EXPECT_GT(keys, 0);
    EXPECT_FALSE(Bitmap().MakeTransparent(0));
}

TEST_F(BitmapTest, ResourcesOfTheResourceModule)
{
    // A module of our own: a copy of this program with a bitmap and a PNG
    // written into its resources.
    ResourceModule module("resources.dll");
    ASSERT_TRUE(module.AddBitmap(7, picture));
    ASSERT_TRUE(module.AddPng(8, Encode(picture, "png")));
    HMODULE resources = module.Load();
    ASSERT_NE(nullptr, resources);
    HINSTANCE const previous = ImageList::aResHandle;
    ImageList::aResHandle = resources;

    Bitmap fromRes(7u);
    EXPECT_FALSE(fromRes.IsGdiplusBitmap());
    EXPECT_EQ(source, ReadPixels(fromRes));
    EXPECT_TRUE(Bitmap(9u).Empty());
    Bitmap fromPng = Bitmap::FromPngRes(8u);
    EXPECT_TRUE(fromPng.IsGdiplusBitmap());
    EXPECT_EQ(source, ReadPixels(fromPng));
    std::size_t const gdi = GdiObjectCount();
    {
        Bitmap flat = Bitmap::BMPFromPngRes(8u);
        EXPECT_FALSE(flat.IsGdiplusBitmap());
        EXPECT_EQ(source, ReadPixels(flat));
        EXPECT_EQ(gdi + 1, GdiObjectCount());
    }
    EXPECT_EQ(gdi, GdiObjectCount()) << "the handle handed over is freed once, by its new holder";
    EXPECT_TRUE(Bitmap::FromPngRes(7u).Empty()) << "a bitmap is no PNG resource";
    EXPECT_TRUE(Bitmap::BMPFromPngRes(9u).Empty());

    ImageList::aResHandle = previous;
}

TEST_F(BitmapTest, JpegBytesAndPackedDibs)
{
    Pixels const blocks = Pattern(48, 32, 16);
    Bitmap smooth;
    smooth.SetHBitmap(MakeHBitmap(48, 32, blocks));
    int size = -1;
    unsigned char *jpeg = smooth.CreateJPEGData(size);
    ASSERT_NE(nullptr, jpeg);
    ASSERT_GT(size, 4);
    EXPECT_EQ(0xFF, jpeg[0]);
    EXPECT_EQ(0xD8, jpeg[1]);
    Bitmap back;
    EXPECT_EQ(ERRCODE_OK, back.ConstructFromJPEGData(jpeg, size));
    EXPECT_EQ(Size(48, 32), back.GetSize());
    EXPECT_LT(MeanError(blocks, ReadPixels(back)), 8.0);
    Bitmap again;
    EXPECT_EQ(ERRCODE_OK, again.ConstructFromJPEGData(jpeg, size));
    EXPECT_NE(back, again);
    delete[] jpeg;
    int none = -1;
    EXPECT_EQ(nullptr, Bitmap().CreateJPEGData(none));
    EXPECT_EQ(0, none);
    std::vector<unsigned char> const png = Encode(picture, "png");
    EXPECT_EQ(ERRCODE_FAILED, back.ConstructFromJPEGData(png.data(), int(png.size())));
    EXPECT_TRUE(back.Empty()) << "the old image went first";
    EXPECT_EQ(ERRCODE_FAILED, back.ConstructFromJPEGData(nullptr, 10));

    // Packed DIBs of several depths there and back.
    CBitmap mono;
    unsigned char const rows[4] = {0xA0, 0, 0x50, 0};
    ASSERT_TRUE(mono.CreateBitmap(4, 2, 1, 1, rows));
    for (HBITMAP h : {static_cast<HBITMAP>(picture), static_cast<HBITMAP>(mono)}) {
        HGLOBAL dib = DIBFromBitmap(h, nullptr);
        ASSERT_NE(nullptr, dib);
        auto *header = static_cast<BITMAPINFOHEADER *>(GlobalLock(dib));
        EXPECT_EQ(40u, header->biSize);
        HBITMAP made = GethBMPFrompDIB(header);
        EXPECT_EQ(ReadPixels(h), ReadPixels(made));
        // Headers no reader could trust are refused.
        for (auto damage : std::vector<std::function<void(BITMAPINFOHEADER &)>>{
                 [](BITMAPINFOHEADER &b) { b.biSize = 12; }, [](BITMAPINFOHEADER &b) { b.biBitCount = 3; },
                 [](BITMAPINFOHEADER &b) { b.biWidth = 0; }, [](BITMAPINFOHEADER &b) { b.biHeight = -(1 << 30); },
                 [](BITMAPINFOHEADER &b) { b.biPlanes = 2; }, [](BITMAPINFOHEADER &b) { b.biCompression = BI_RLE8; },
                 [](BITMAPINFOHEADER &b) { b.biClrUsed = 257; }}) {
            BITMAPINFOHEADER const kept = *header;
            damage(*header);
            EXPECT_EQ(nullptr, GethBMPFrompDIB(header));
            *header = kept;
        }
        GlobalUnlock(dib);
        GlobalFree(dib);
        DeleteObject(made);
    }
    EXPECT_EQ(nullptr, DIBFromBitmap(nullptr, nullptr));
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    EXPECT_EQ(nullptr, DIBFromBitmap(reinterpret_cast<HBITMAP>(pen), nullptr));
    DeleteObject(pen);
    EXPECT_EQ(nullptr, GethBMPFrompDIB(nullptr));
    EXPECT_EQ(nullptr, Bitmap().CreateDIB());
}

TEST_F(BitmapTest, ScalingFollowsTheScreenResolution)
{
    KSData *data = GetPKSData();
    int const keptX = data->m_nLogPixelsX, keptY = data->m_nLogPixelsY;
    Bitmap quads = Quadrants();
    Bitmap image = RoundTrip(quads, "quads.png");
    struct Case
    {
        int dpiX, dpiY, side;
    } const cases[] = {{96, 96, 10}, {115, 115, 10}, {120, 120, 13}, {144, 144, 15}, {144, 96, 10}, {192, 144, 15}};
    for (Case const &c : cases) {
        data->m_nLogPixelsX = c.dpiX;
        data->m_nLogPixelsY = c.dpiY;
        for (Bitmap const *from : {&quads, &image}) {
            for (bool hq : {false, true}) {
                Bitmap const scaled = hq ? from->ScaleHQ() : from->Scale();
                EXPECT_EQ(Size(c.side, c.side), scaled.GetSize()) << c.dpiX << " " << c.dpiY << " hq " << hq;
                EXPECT_EQ(c.side == 10, scaled == *from) << "unscaled means the same body";
                Pixels const p = ReadPixels(scaled);
                ASSERT_EQ(std::size_t(c.side * c.side), p.size());
                int const lo = 2, hi = c.side - 3;
                EXPECT_EQ(0xFF0000u, At(p, c.side, lo, lo));
                EXPECT_EQ(0x00FF00u, At(p, c.side, hi, lo));
                EXPECT_EQ(0x0000FFu, At(p, c.side, lo, hi));
                EXPECT_EQ(0xFFFF00u, At(p, c.side, hi, hi));
            }
        }
    }
    data->m_nLogPixelsX = keptX;
    data->m_nLogPixelsY = keptY;
}

TEST_F(BitmapTest, StretchingCuttingAndDrawingOver)
{
    Bitmap quads = Quadrants();
    VirtualDevice dev;
    ASSERT_TRUE(dev.SetOutputSize(Size(8, 8), false));
    EXPECT_EQ(quads, quads.Stretch(nullptr, Size(20, 20), false, false)) << "without a device";
    Bitmap framed = quads.Stretch(&dev, Size(20, 16), true, true);
    EXPECT_FALSE(framed.IsGdiplusBitmap());
    ASSERT_EQ(Size(22, 18), framed.GetSize());
    Pixels const p = ReadPixels(framed);
    std::uint32_t const face = Color(ColorNameButtonFace).GetLong();
    std::uint32_t const faceRgb = (face & 0xFF) << 16 | (face & 0xFF00) | (face >> 16 & 0xFF);
    EXPECT_EQ(faceRgb, At(p, 22, 0, 0)) << "the border";
    EXPECT_EQ(faceRgb, At(p, 22, 21, 17));
    EXPECT_EQ(0xFF0000u, At(p, 22, 1, 1));
    EXPECT_EQ(0x00FF00u, At(p, 22, 20, 1));
    EXPECT_EQ(0xFFFF00u, At(p, 22, 20, 16));
    EXPECT_TRUE(quads.Stretch(&dev, Size(0, 5), false, true).Empty());

    Bitmap image = RoundTrip(quads, "quads.tif");
    Bitmap hq = image.Stretch(&dev, Size(30, 20), false, false);
    EXPECT_TRUE(hq.IsGdiplusBitmap()) << "a GDI+ image is resampled by GDI+";
    EXPECT_EQ(Size(30, 20), hq.GetSize());
    EXPECT_EQ(Size(3, 2), image.StretchHQ(FSize(2.5, 1.6)).GetSize()) << "rounded to whole pixels";
    EXPECT_TRUE(image.StretchHQ(FSize(0.4, 9)).Empty());
    EXPECT_TRUE(image.StretchHQ(FSize(1e12, 9)).Empty());
    EXPECT_TRUE(Bitmap().StretchHQ(FSize(9, 9)).Empty());

    FSize all;
    Bitmap corner = quads.GetBitmapHQ(FPoint(5, 5), all);
    EXPECT_EQ(FSize(5, 5), all) << "to the edges, given back";
    EXPECT_EQ(Pixels(25, 0xFFFF00), ReadPixels(corner));
    FSize over(20, 3);
    Bitmap strip = quads.GetBitmapHQ(FPoint(-2, 1), over);
    EXPECT_EQ(FSize(10, 3), over) << "cut to the image";
    EXPECT_EQ(0xFF0000u, ReadPixels(strip)[0]);
    FSize outside(3, 3);
    EXPECT_TRUE(quads.GetBitmapHQ(FPoint(10, 0), outside).Empty());
    EXPECT_EQ(FSize(), outside);

    Bitmap dot;
    dot.SetHBitmap(MakeHBitmap(2, 2, Pixels(4, 0x123456)));
    FSize natural;
    Bitmap drawn = quads.DrawBitmapHQ(FPoint(4, 4), natural, dot);
    EXPECT_EQ(FSize(2, 2), natural);
    Pixels const d = ReadPixels(drawn);
    EXPECT_EQ(0x123456u, At(d, 10, 4, 4));
    EXPECT_EQ(0x123456u, At(d, 10, 5, 5));
    EXPECT_EQ(0xFF0000u, At(d, 10, 3, 3));
    EXPECT_EQ(0xFFFF00u, At(d, 10, 6, 6));
    EXPECT_EQ(Pixels(ReadPixels(Quadrants())), ReadPixels(quads)) << "the base is left as it was";
}

TEST_F(BitmapTest, DamagedFilesGiveEmptyBitmaps)
{
    std::vector<unsigned char> const png = Encode(picture, "png"), gif = Encode(picture, "gif"),
                                     bmp = Encode(picture, "bmp");
    Pixels const blocks = Pattern(32, 32, 16);
    Bitmap smooth;
    smooth.SetHBitmap(MakeHBitmap(32, 32, blocks));
    std::vector<unsigned char> const jpg = Encode(smooth, "jpg");
    ASSERT_TRUE(!png.empty() && !gif.empty() && !bmp.empty() && !jpg.empty());

    using Bytes = std::vector<unsigned char>;
    auto cut = [](Bytes b, std::size_t n) { b.resize(std::min(n, b.size())); return b; };
    auto put32 = [](Bytes b, std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + std::size_t(i)] = static_cast<unsigned char>(v >> (8 * i));
        return b;
    };
    auto put16 = [](Bytes b, std::size_t at, unsigned v) {
        b[at] = static_cast<unsigned char>(v);
        b[at + 1] = static_cast<unsigned char>(v >> 8);
        return b;
    };
    std::size_t const ihdr = FindPngChunk(png, "IHDR"), idat = FindPngChunk(png, "IDAT");
    ASSERT_GT(ihdr, 0u);
    ASSERT_GT(idat, 0u);
    auto pngSides = [&](std::uint32_t w, std::uint32_t h) {
        Bytes b = png;
        for (int i = 0; i < 4; ++i) {
            b[ihdr + 8 + std::size_t(i)] = static_cast<unsigned char>(w >> (24 - 8 * i));
            b[ihdr + 12 + std::size_t(i)] = static_cast<unsigned char>(h >> (24 - 8 * i));
        }
        FixPngCrc(b, ihdr);
        return b;
    };
    auto pngData = [&](bool fixCrc) {
        Bytes b = png;
        for (std::size_t i = idat + 10; i < idat + 30 && i < b.size(); ++i)
            b[i] ^= 0x5A;
        if (fixCrc)
            FixPngCrc(b, idat);
        return b;
    };
    auto gifNoTrailer = [&]() { Bytes b = gif; b.pop_back(); return b; };
    auto flip = [](Bytes b, std::size_t at) { b[at] ^= 0xFF; return b; };

    struct Case
    {
        char const *what;
        char const *ext;
        Bytes bytes;
        bool mayLoad; // damage that leaves a readable image
    };
    std::vector<Case> const cases = {
        {"empty png", "png", {}, false},
        {"png cut in the signature", "png", cut(png, 5), false},
        {"png cut after IHDR", "png", cut(png, idat), false},
        {"png cut in IDAT", "png", cut(png, idat + 20), false},
        {"png wrong magic", "png", flip(png, 1), false},
        {"png zero width", "png", pngSides(0, H), false},
        {"png zero height", "png", pngSides(W, 0), false},
        {"png huge sides", "png", pngSides(0x7FFFFFFF, 0x7FFFFFFF), false},
        {"png 65535 square", "png", pngSides(65535, 65535), false},
        {"png bad IDAT crc", "png", pngData(false), false},
        {"png corrupt IDAT", "png", pngData(true), false},
        {"gif cut in header", "gif", cut(gif, 10), false},
        {"gif cut in colour table", "gif", cut(gif, 40), false},
        {"gif cut in image", "gif", cut(gif, gif.size() / 2), false},
        {"gif wrong magic", "gif", flip(gif, 0), false},
        {"gif88a", "gif", put16(gif, 3, '8' | '8' << 8), false},
        {"gif huge screen", "gif", put16(put16(gif, 6, 65535), 8, 65535), true},
        {"gif zero screen", "gif", put16(put16(gif, 6, 0), 8, 0), true},
        {"gif without trailer", "gif", gifNoTrailer(), true},
        {"bmp empty", "bmp", {}, false},
        {"bmp cut in header", "bmp", cut(bmp, 30), false},
        {"bmp cut in rows", "bmp", cut(bmp, bmp.size() - 1), false},
        {"bmp wrong magic", "bmp", flip(bmp, 0), false},
        {"bmp offset past the end", "bmp", put32(bmp, 10, 0x7FFFFFF0), false},
        {"bmp odd info size", "bmp", put32(bmp, 14, 41), false},
        {"bmp zero width", "bmp", put32(bmp, 18, 0), false},
        {"bmp zero height", "bmp", put32(bmp, 22, 0), false},
        {"bmp huge width", "bmp", put32(bmp, 18, 0x7FFFFFFF), false},
        {"bmp lowest height", "bmp", put32(bmp, 22, 0x80000000), false},
        {"bmp two planes", "bmp", put16(bmp, 26, 2), false},
        {"bmp 3 bits", "bmp", put16(bmp, 28, 3), false},
        {"bmp run-length", "bmp", put32(bmp, 30, BI_RLE8), false},
        {"bmp colour table over the pixels", "bmp", put32(put16(bmp, 28, 8), 46, 256), false},
        {"bmp top down", "bmp", put32(bmp, 22, std::uint32_t(-H)), true},
        {"jpg cut", "jpg", cut(jpg, jpg.size() / 3), false},
        {"jpg wrong magic", "jpg", flip(jpg, 1), false},
        {"jpg no end", "jpg", cut(jpg, 2), false},
    };
    std::string const path = TempFile("damaged");
    for (Case const &c : cases) {
        std::string const file = path + "." + c.ext;
        ASSERT_TRUE(WriteBytes(file, c.bytes));
        Bitmap b;
        ERRCODE const r = b.Load(Entry(file));
        EXPECT_TRUE(r == ERRCODE_OK || r == ERRCODE_FAILED) << c.what;
        if (!c.mayLoad) {
            EXPECT_TRUE(b.Empty()) << c.what;
        }
        if (std::string(c.ext) == "bmp" && !c.mayLoad) {
            EXPECT_EQ(ERRCODE_FAILED, r) << c.what << ": refused before the platform reads it";
        }
        if (!b.Empty()) {
            EXPECT_NE(nullptr, static_cast<HBITMAP>(b)) << c.what;
        }
        if (std::string(c.ext) == "jpg") {
            Bitmap m;
            ERRCODE const fromData = m.ConstructFromJPEGData(c.bytes.data(), int(c.bytes.size()));
            EXPECT_EQ(fromData == ERRCODE_OK, !m.Empty()) << c.what;
            EXPECT_EQ(ERRCODE_FAILED, fromData) << c.what;
        }
        b.Delete();
        DeleteFileA(file.c_str());
    }
    Bitmap whole;
    EXPECT_EQ(ERRCODE_OK, whole.ConstructFromJPEGData(jpg.data(), int(jpg.size()))) << "the undamaged file reads";

    // A frame claiming sides its data could never fill is refused before
    // GDI+ sees it: GDI+ would allocate it and keep the memory.
    std::size_t frame = 13 + ((gif[10] & 0x80) ? 3 * (std::size_t(2) << (gif[10] & 7)) : 0);
    while (frame < gif.size() && gif[frame] == 0x21) {
        std::size_t i = frame + 2;
        while (i < gif.size() && gif[i] != 0)
            i += 1 + gif[i];
        frame = i + 1;
    }
    ASSERT_LT(frame + 10, gif.size());
    ASSERT_EQ(0x2C, gif[frame]);
    std::size_t const committed = CommittedBytes();
    for (auto sides : {std::pair<unsigned, unsigned>(65535, 32767), {16385, 1}, {4000, 4000}}) {
        std::string const file = path + ".gif";
        ASSERT_TRUE(WriteBytes(file, put16(put16(gif, frame + 5, sides.first), frame + 7, sides.second)));
        Bitmap b;
        EXPECT_EQ(ERRCODE_FAILED, b.Load(Entry(file))) << sides.first << " x " << sides.second;
        EXPECT_TRUE(b.Empty());
        DeleteFileA(file.c_str());
    }
    EXPECT_LT(CommittedBytes(), committed + (64 << 20));
}

TEST_F(BitmapTest, LoadsSavesAndCopiesLeaveNothingBehind)
{
    std::string const png = TempFile("leak.png"), bmp = TempFile("leak.bmp"), out = TempFile("leak-out.gif");
    ASSERT_EQ(ERRCODE_OK, picture.Save(Entry(png)));
    ASSERT_EQ(ERRCODE_OK, picture.Save(Entry(bmp)));
    auto cycle = [&] {
        Bitmap a, b;
        a.Load(Entry(png));
        b.Load(Entry(bmp));
        Bitmap c = a;
        HBITMAP h = c;
        Bitmap d(h);
        d.Save(Entry(out));
        int n = 0;
        delete[] b.CreateJPEGData(n);
        GlobalFree(a.CreateDIB());
        Bitmap e = a.StretchHQ(FSize(5, 5));
        e.MakeTransparent(3);
        Bitmap f = Bitmap::CreateTransparentBG(Size(3, 3));
        f.GetPTempCBitmap(Color(0ul));
    };
    EXPECT_TRUE(NoGrowthOnceSettled({.batch = 15}, cycle));
}
