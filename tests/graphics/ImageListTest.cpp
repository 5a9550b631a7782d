// Image lists: the size the first image gives, strips, the images given back
// as bitmaps against a model of what was added, masks, GDI+ images, PNG and
// icon resources, copies that are one list, wrapped lists, the module the
// resources come from, and nothing left behind.
#include "base/DirEntry.h"
#include "frame/KSGlobal.h"
#include "graphics/Bitmap.h"
#include "graphics/ImageList.h"
#include "graphics/VirtualDevice.h"
#include "mfc/CBitmap.h"
#include "mfc/CDC.h"
#include "mfc/CImageList.h"
#include "tests/support/ImageSamples.h"
#include "tests/support/LeakLoop.h"
#include "tests/support/ResourceModule.h"

#include <gtest/gtest.h>
#include <random>
#include <windows.h>
#include <gdiplus.h>

using namespace kstest;

namespace {

constexpr std::uint32_t KEY = 0xFF00FF;
constexpr unsigned PNG_ID = 21, ICON_ID = 22, BITMAP_ID = 23, MISSING_ID = 29;
constexpr int PNG_SIDE = 12, ICON_SIDE = 16;

// Pure colours but the key, so that every pixel comes back as it was.
Pixels RandomPicture(std::mt19937 &rng, int w, int h)
{
    Pixels p(std::size_t(w) * std::size_t(h));
    for (auto &v : p)
        v = PureColour(int(rng() % 7));
    return p;
}

Bitmap MakeBitmap(int w, int h, Pixels const &rPixels)
{
    Bitmap b;
    b.SetHBitmap(MakeHBitmap(w, h, rPixels));
    return b;
}

// Columns [x0, x0 + w) of a picture nRowWidth wide.
Pixels Slice(Pixels const &rPixels, int nRowWidth, int x0, int w, int h)
{
    Pixels out;
    for (int y = 0; y < h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            out.push_back(rPixels[std::size_t(y * nRowWidth + x)]);
    return out;
}

// A strip of three PNG_SIDE squares: transparent where the pixel is the key.
Pixels PngStrip()
{
    Pixels p = Pattern(3 * PNG_SIDE, PNG_SIDE);
    for (std::size_t i = 0; i < p.size(); i += 5)
        p[i] = KEY;
    return p;
}

// An icon of colours but the key and green (the background AddIcon is given
// below), transparent at the key.
Pixels IconPixels()
{
    Pixels p = Pattern(ICON_SIDE, ICON_SIDE);
    for (std::size_t i = 0; i < p.size(); ++i)
        if (p[i] == 0x00FF00 || i % 3 == 0)
            p[i] = KEY;
    return p;
}

class ImageListTest : public testing::Test
{
protected:
    void SetUp() override
    {
        KSInit();
        Bitmap png = MakeBitmap(3 * PNG_SIDE, PNG_SIDE, PngStrip());
        ASSERT_TRUE(png.MakeTransparent(0));
        ASSERT_TRUE(resources.AddPng(PNG_ID, Encode(png, "png")));
        ASSERT_TRUE(resources.AddIcon(ICON_ID, ICON_SIDE, ICON_SIDE, IconPixels(), KEY));
        Bitmap strip = MakeBitmap(8, 8, Pattern(8, 8));
        ASSERT_TRUE(resources.AddBitmap(BITMAP_ID, strip));
        module = resources.Load();
        ASSERT_NE(nullptr, module);
    }
    void TearDown() override
    {
        ImageList::aResHandle = GetModuleHandleA(nullptr);
        KSExit();
    }

    ResourceModule resources{"imagelist-resources.dll"};
    HMODULE module = nullptr;
};

} // namespace

TEST_F(ImageListTest, StripsAddImagesOfTheFirstSizeAndComeBackAsAdded)
{
    std::mt19937 rng(11);
    VirtualDevice screen;
    ASSERT_TRUE(screen.SetOutputSize(Size(4, 4))); // in colour: a new device starts monochrome
    for (int round = 0; round < 8; ++round) {
        ImageList list;
        EXPECT_EQ(0, list.Count());
        EXPECT_EQ(nullptr, list.GetPCImageList());
        EXPECT_TRUE(list.GetBitmap(0, nullptr).Empty()) << "an empty list";
        EXPECT_EQ(-1, list.Add(Bitmap()));
        int const w = 2 + int(rng() % 20), h = 2 + int(rng() % 20);
        std::vector<Pixels> model;
        for (int step = 0; step < 10; ++step) {
            // The first bitmap is one image; later ones a strip of k images
            // and a rest narrower than one, or (k = 0) only such a rest.
            int const k = step == 0 ? 1 : int(rng() % 4);
            int const rest = step == 0 ? 0 : int(rng() % unsigned(w));
            int const stripWidth = k * w + rest;
            if (stripWidth == 0)
                continue;
            Pixels const p = RandomPicture(rng, stripWidth, h);
            int const before = list.Count();
            int const index = list.Add(MakeBitmap(stripWidth, h, p));
            EXPECT_EQ(k ? before : -1, index) << "round " << round << " step " << step;
            for (int i = 0; i < k; ++i)
                model.push_back(Slice(p, stripWidth, i * w, w, h));
            if (step == 4) {
                // A GDI+ image, flattened onto the key.
                EXPECT_EQ(int(model.size()), list.Add(Bitmap::CreateTransparentBG(Size(w, h))));
                model.push_back(Pixels(std::size_t(w * h), KEY));
            }
            ASSERT_EQ(int(model.size()), list.Count());
        }
        for (int i = 0; i < list.Count(); ++i) {
            Bitmap b = list.GetBitmap(i, i % 2 ? &screen : nullptr);
            EXPECT_EQ(Size(w, h), b.GetSize());
            EXPECT_EQ(model[std::size_t(i)], ReadPixels(b)) << "round " << round << " image " << i;
        }
        EXPECT_TRUE(list.GetBitmap(-1, nullptr).Empty());
        EXPECT_TRUE(list.GetBitmap(list.Count(), &screen).Empty());
    }
}

TEST_F(ImageListTest, MasksAndGdiplusImagesComeBackKeyedAndLeaveTheCallersBitmapAlone)
{
    std::mt19937 rng(5);
    Pixels const p = RandomPicture(rng, 9, 7);
    Bitmap b = MakeBitmap(9, 7, p);
    Bitmap const holder = b;
    ImageList list;
    ASSERT_EQ(0, list.Add(b, Color(static_cast<unsigned long>(RGB(255, 0, 0)))));
    Pixels expected = p;
    for (auto &v : expected)
        if (v == 0xFF0000)
            v = KEY;
    EXPECT_EQ(expected, ReadPixels(list.GetBitmap(0, nullptr))) << "masked pixels show the key";
    EXPECT_EQ(p, ReadPixels(holder)) << "the platform's masked add works on a copy";
    EXPECT_EQ(1, list.Add(b)) << "a bitmap without mask in the masked list";
    EXPECT_EQ(p, ReadPixels(list.GetBitmap(1, nullptr)));

    // Three squares of a 32-bit GDI+ image, every third pixel transparent.
    int const s = 6;
    Gdiplus::Bitmap image(3 * s, s, PixelFormat32bppARGB);
    Pixels const colours = RandomPicture(rng, 3 * s, s);
    Pixels keyed = colours;
    for (int i = 0; i < 3 * s * s; ++i) {
        bool const clear = i % 3 == 0;
        std::uint32_t const c = colours[std::size_t(i)];
        image.SetPixel(i % (3 * s), i / (3 * s), Gdiplus::Color(clear ? 0 : 255, BYTE(c >> 16), BYTE(c >> 8), BYTE(c)));
        if (clear)
            keyed[std::size_t(i)] = KEY;
    }
    ImageList alpha;
    EXPECT_EQ(-1, alpha.AddGdiplusBitmap(nullptr, s));
    EXPECT_EQ(-1, alpha.AddGdiplusBitmap(&image, 0));
    EXPECT_EQ(0, alpha.AddGdiplusBitmap(&image, s));
    ASSERT_EQ(3, alpha.Count());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Slice(keyed, 3 * s, i * s, s, s), ReadPixels(alpha.GetBitmap(i, nullptr))) << i;
    IMAGEINFO info{};
    ASSERT_TRUE(alpha.GetPCImageList()->GetImageInfo(0, &info));
    BITMAP bm{};
    GetObjectA(info.hbmImage, sizeof bm, &bm);
    EXPECT_EQ(32, bm.bmBitsPixel) << "a 32-bit list";
}

TEST_F(ImageListTest, PngAndIconResourcesOfTheResourceModule)
{
    EXPECT_EQ(GetModuleHandleA(nullptr), ImageList::aResHandle) << "the program's own until the main frame";
    ImageList list;
    EXPECT_EQ(-1, list.AddPng(PNG_ID)) << "not in the program";
    EXPECT_TRUE(Bitmap(BITMAP_ID).Empty());

    SetKSMainFrame(nullptr, module);
    EXPECT_EQ(module, ImageList::aResHandle);
    EXPECT_EQ(Pattern(8, 8), ReadPixels(Bitmap(BITMAP_ID))) << "bitmaps come from the same module";
    ASSERT_EQ(0, list.AddPng(PNG_ID));
    ASSERT_EQ(3, list.Count()) << "the height is the size";
    Pixels const strip = PngStrip();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Slice(strip, 3 * PNG_SIDE, i * PNG_SIDE, PNG_SIDE, PNG_SIDE), ReadPixels(list.GetBitmap(i, nullptr)));
    std::string const file = TempFile("not-added.png");
    ASSERT_TRUE(WriteBytes(file, Encode(MakeBitmap(PNG_SIDE, PNG_SIDE, Pattern(PNG_SIDE, PNG_SIDE)), "png")));
    EXPECT_EQ(-1, list.AddPng(DirEntry(SString(file.c_str()))));
    EXPECT_EQ(3, list.Count()) << "files are not added";
    DeleteFileA(file.c_str());
    EXPECT_EQ(-1, list.AddPng(MISSING_ID));
    EXPECT_EQ(-1, list.AddPng(ICON_ID)) << "an icon is no PNG";

    ImageList icons;
    EXPECT_EQ(-1, icons.AddIcon(MISSING_ID));
    EXPECT_EQ(-1, icons.AddIcon(nullptr, Color(ColorNameLightMagenta)));
    ASSERT_EQ(0, icons.AddIcon(ICON_ID));
    EXPECT_EQ(IconPixels(), ReadPixels(icons.GetBitmap(0, nullptr))) << "transparent pixels come back as the key";
    auto icon = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(ICON_ID), IMAGE_ICON, 0, 0, 0));
    ASSERT_NE(nullptr, icon);
    EXPECT_EQ(1, icons.AddIcon(icon, Color(static_cast<unsigned long>(RGB(0, 255, 0)))));
    EXPECT_EQ(IconPixels(), ReadPixels(icons.GetBitmap(1, nullptr))) << "masked with the background it was drawn on";
    ICONINFO info{};
    EXPECT_TRUE(GetIconInfo(icon, &info)) << "the icon stays the caller's";
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);

    SetKSMainFrame(nullptr, GetModuleHandleA(nullptr));
    EXPECT_TRUE(Bitmap(BITMAP_ID).Empty()) << "back to the program's own";
    EXPECT_EQ(-1, list.AddPng(PNG_ID));
}

TEST_F(ImageListTest, CopiesAreOneListAndWrappedListsOutliveTheirWrappers)
{
    Bitmap const image = MakeBitmap(5, 4, Pattern(5, 4));
    ImageList a;
    ImageList b = a;
    EXPECT_EQ(0, a.Add(image));
    EXPECT_EQ(1, b.Count()) << "a copy of an empty list is the same list";
    EXPECT_EQ(a.GetPCImageList(), b.GetPCImageList());
    b = b;
    EXPECT_EQ(1, b.Add(image));
    EXPECT_EQ(2, a.Count());

    CImageList own;
    EXPECT_FALSE(own.Create(0, 4, ILC_COLOR32, 1, 1));
    {
        ImageList wrap(&own);
        EXPECT_EQ(0, wrap.Add(image)) << "the list is made in the wrapped object";
        ImageList copy = wrap;
        EXPECT_EQ(&own, copy.GetPCImageList());
    }
    ASSERT_NE(nullptr, own.GetSafeHandle()) << "the wrapper does not destroy what it wraps";
    EXPECT_EQ(1, own.GetImageCount());
    EXPECT_FALSE(own.Create(5, 4, ILC_COLOR32, 1, 1)) << "a list is held already";

    ImageList c = a;
    c.SetAsWrap(&own);
    EXPECT_EQ(1, c.Count());
    EXPECT_EQ(2, a.Count()) << "the other copies keep their list";
    EXPECT_EQ(Pattern(5, 4), ReadPixels(c.GetBitmap(0, nullptr)));
    c.SetAsWrap(nullptr);
    EXPECT_EQ(0, c.Count());

    HIMAGELIST raw = own.Detach();
    EXPECT_EQ(nullptr, own.GetSafeHandle());
    EXPECT_EQ(0, own.GetImageCount());
    EXPECT_EQ(-1, own.Add(static_cast<HICON>(nullptr)));
    EXPECT_TRUE(own.Attach(raw));
    EXPECT_FALSE(own.Attach(raw));
    CImageList twin;
    EXPECT_TRUE(twin.Create(&own));
    EXPECT_EQ(1, twin.GetImageCount());
    EXPECT_TRUE(twin.SetImageCount(3));
    EXPECT_EQ(3, twin.GetImageCount());
    EXPECT_EQ(1, own.GetImageCount()) << "a copy of its own";
    CDC none;
    EXPECT_FALSE(twin.Draw(&none, 0, POINT{0, 0}, ILD_NORMAL));
    EXPECT_TRUE(own.DeleteImageList());
    EXPECT_FALSE(own.DeleteImageList());
}

TEST_F(ImageListTest, NothingLeftBehind)
{
    SetKSMainFrame(nullptr, module);
    Bitmap const image = MakeBitmap(7, 5, Pattern(7, 5));
    Bitmap const strip = MakeBitmap(21, 5, Pattern(21, 5));
    Gdiplus::Bitmap gdiplus(10, 5, PixelFormat32bppARGB);
    CImageList own;
    VirtualDevice screen;
    screen.SetOutputSize(Size(4, 4));
    auto cycle = [&](int i) {
        ImageList list;
        list.Add(i % 2 ? strip : image);
        list.Add(image, Color(static_cast<unsigned long>(RGB(0, 0, 255))));
        ImageList copy = list;
        copy.GetBitmap(i % 3, i % 2 ? &screen : nullptr);
        ImageList alpha;
        alpha.AddGdiplusBitmap(&gdiplus, 5);
        alpha.AddPng(PNG_ID);
        alpha.AddIcon(ICON_ID);
        alpha = copy;
        own.DeleteImageList();
        ImageList wrap(&own);
        wrap.Add(image);
        wrap.SetAsWrap(nullptr);
        wrap.AddIcon(ICON_ID);
    };
    EXPECT_TRUE(NoGrowthOnceSettled({.batch = 30}, cycle));
}
