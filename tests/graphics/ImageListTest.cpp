// Image lists against a model of what was added: strips, the size the first
// image gives, masks, GDI+ images, PNG and icon resources of the resource
// module, copies that are one list, wrapped lists, nothing left behind.
#include "base/DirEntry.h"
#include "frame/KSGlobal.h"
#include "graphics/ImageList.h"
#include "graphics/VirtualDevice.h"
#include "mfc/CImageList.h"
#include "tests/support/ImageSamples.h"
#include "tests/support/LeakLoop.h"
#include "tests/support/ResourceModule.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <windows.h>
#include <gdiplus.h>

using namespace kstest;

namespace {

constexpr std::uint32_t KEY = 0xFF00FF;
constexpr unsigned PNG_ID = 21, ICON_ID = 22, BITMAP_ID = 23, MISSING_ID = 29;
constexpr int SIDE = 12;

// Pure colours but the key, so that every pixel comes back as it was.
Pixels Random(std::mt19937 &rng, int w, int h)
{
    Pixels p(std::size_t(w * h));
    for (auto &v : p)
        v = PureColour(int(rng() % 7));
    return p;
}

Bitmap Make(int w, int h, Pixels const &rPixels)
{
    Bitmap b;
    b.SetHBitmap(MakeHBitmap(w, h, rPixels));
    return b;
}

// Image i of a strip of w-wide images.
Pixels Slice(Pixels const &rStrip, int nStripWidth, int i, int w, int h)
{
    Pixels out;
    for (int y = 0; y < h; ++y)
        out.insert(out.end(), rStrip.begin() + y * nStripWidth + i * w, rStrip.begin() + y * nStripWidth + i * w + w);
    return out;
}

// Three squares, the key (transparent) on every fifth pixel and for green
// (the background the icon is added on below).
Pixels Keyed(int w)
{
    Pixels p = Pattern(w, SIDE);
    for (std::size_t i = 0; i < p.size(); ++i)
        if (i % 5 == 0 || p[i] == 0x00FF00)
            p[i] = KEY;
    return p;
}

class ImageListTest : public testing::Test
{
protected:
    void SetUp() override
    {
        KSInit();
        Bitmap png = Make(3 * SIDE, SIDE, Keyed(3 * SIDE));
        ASSERT_TRUE(png.MakeTransparent(0));
        ASSERT_TRUE(resources.AddPng(PNG_ID, Encode(png, "png")));
        ASSERT_TRUE(resources.AddIcon(ICON_ID, SIDE, SIDE, Keyed(SIDE), KEY));
        ASSERT_TRUE(resources.AddBitmap(BITMAP_ID, Make(8, 8, Pattern(8, 8))));
        ASSERT_NE(nullptr, module = resources.Load());
        ASSERT_TRUE(screen.SetOutputSize(Size(4, 4))); // in colour: a new device starts monochrome
    }
    void TearDown() override
    {
        ImageList::aResHandle = GetModuleHandleA(nullptr);
        KSExit();
    }

    ResourceModule resources{"imagelist-resources.dll"};
    HMODULE module = nullptr;
    VirtualDevice screen;
};

} // namespace

TEST_F(ImageListTest, StripsAddImagesOfTheFirstSizeAndComeBackAsAdded)
{
    std::mt19937 rng(11);
    for (int round = 0; round < 8; ++round) {
        ImageList list;
        EXPECT_TRUE(list.GetBitmap(0, nullptr).Empty()) << "an empty list";
        EXPECT_EQ(-1, list.Add(Bitmap()));
        int const w = 2 + int(rng() % 20), h = 2 + int(rng() % 20);
        std::vector<Pixels> model;
        for (int step = 0; step < 10; ++step) {
            // The first bitmap is one image, later ones k images and a rest
            // narrower than one (k = 0: only such a rest).
            int const k = step == 0 ? 1 : int(rng() % 4), width = k * w + (step ? int(rng() % unsigned(w)) : 0);
            if (width == 0)
                continue;
            Pixels const p = Random(rng, width, h);
            EXPECT_EQ(k ? int(model.size()) : -1, list.Add(Make(width, h, p))) << round << "/" << step;
            for (int i = 0; i < k; ++i)
                model.push_back(Slice(p, width, i, w, h));
            if (step == 4) { // a GDI+ image, flattened onto the key
                EXPECT_EQ(int(model.size()), list.Add(Bitmap::CreateTransparentBG(Size(w, h))));
                model.emplace_back(std::size_t(w * h), KEY);
            }
        }
        ASSERT_EQ(int(model.size()), list.Count());
        for (int i = 0; i < list.Count(); ++i)
            EXPECT_EQ(model[std::size_t(i)], ReadPixels(list.GetBitmap(i, i % 2 ? &screen : nullptr))) << round << "/" << i;
        EXPECT_TRUE(list.GetBitmap(-1, nullptr).Empty());
        EXPECT_TRUE(list.GetBitmap(list.Count(), &screen).Empty());
    }
}

TEST_F(ImageListTest, MasksAndGdiplusImagesComeBackKeyedAndLeaveTheCallersBitmapAlone)
{
    std::mt19937 rng(5);
    Pixels const p = Random(rng, 9, 7);
    Bitmap const b = Make(9, 7, p), holder = b;
    ImageList list;
    ASSERT_EQ(0, list.Add(b, Color(static_cast<unsigned long>(RGB(255, 0, 0)))));
    EXPECT_EQ(1, list.Add(b)) << "unmasked into the masked list";
    Pixels keyed = p;
    std::replace(keyed.begin(), keyed.end(), 0xFF0000u, KEY);
    EXPECT_EQ(keyed, ReadPixels(list.GetBitmap(0, nullptr)));
    EXPECT_EQ(p, ReadPixels(list.GetBitmap(1, nullptr)));
    EXPECT_EQ(p, ReadPixels(holder)) << "the platform's masked add blackens what it is given";

    Gdiplus::Bitmap image(3 * SIDE, SIDE, PixelFormat32bppARGB);
    Pixels const strip = Keyed(3 * SIDE);
    for (int i = 0; i < 3 * SIDE * SIDE; ++i) {
        std::uint32_t const c = strip[std::size_t(i)];
        image.SetPixel(i % (3 * SIDE), i / (3 * SIDE), Gdiplus::Color(c == KEY ? 0 : 255, BYTE(c >> 16), BYTE(c >> 8), BYTE(c)));
    }
    ImageList alpha;
    EXPECT_EQ(-1, alpha.AddGdiplusBitmap(nullptr, SIDE));
    EXPECT_EQ(-1, alpha.AddGdiplusBitmap(&image, 0));
    EXPECT_EQ(0, alpha.AddGdiplusBitmap(&image, SIDE));
    ASSERT_EQ(3, alpha.Count());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Slice(strip, 3 * SIDE, i, SIDE, SIDE), ReadPixels(alpha.GetBitmap(i, nullptr))) << i;
    IMAGEINFO info{};
    BITMAP bm{};
    ASSERT_TRUE(alpha.GetPCImageList()->GetImageInfo(0, &info));
    GetObjectA(info.hbmImage, sizeof bm, &bm);
    EXPECT_EQ(32, bm.bmBitsPixel);
}

TEST_F(ImageListTest, ResourcesComeFromTheModuleTheMainFrameNamed)
{
    EXPECT_EQ(GetModuleHandleA(nullptr), ImageList::aResHandle) << "the program's own at first";
    ImageList list, icons;
    EXPECT_EQ(-1, list.AddPng(PNG_ID));
    SetKSMainFrame(nullptr, module);
    EXPECT_EQ(module, ImageList::aResHandle);
    EXPECT_EQ(Pattern(8, 8), ReadPixels(Bitmap(BITMAP_ID)));
    EXPECT_EQ(0, list.AddPng(PNG_ID));
    ASSERT_EQ(3, list.Count()) << "the height is the size";
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Slice(Keyed(3 * SIDE), 3 * SIDE, i, SIDE, SIDE), ReadPixels(list.GetBitmap(i, nullptr))) << i;
    std::string const file = TempFile("not-added.png");
    ASSERT_TRUE(WriteBytes(file, Encode(Make(SIDE, SIDE, Pattern(SIDE, SIDE)), "png")));
    EXPECT_EQ(-1, list.AddPng(DirEntry(SString(file.c_str()))));
    DeleteFileA(file.c_str());
    EXPECT_EQ(-1, list.AddPng(MISSING_ID));
    EXPECT_EQ(-1, list.AddPng(ICON_ID));
    EXPECT_EQ(3, list.Count());

    EXPECT_EQ(-1, icons.AddIcon(MISSING_ID));
    EXPECT_EQ(-1, icons.AddIcon(nullptr, Color(ColorNameLightMagenta)));
    EXPECT_EQ(0, icons.AddIcon(ICON_ID));
    auto icon = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(ICON_ID), IMAGE_ICON, 0, 0, 0));
    EXPECT_EQ(1, icons.AddIcon(icon, Color(static_cast<unsigned long>(RGB(0, 255, 0)))));
    EXPECT_TRUE(DestroyIcon(icon)) << "the icon stays the caller's";
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(Keyed(SIDE), ReadPixels(icons.GetBitmap(i, nullptr))) << "transparent where the mask is";

    SetKSMainFrame(nullptr, GetModuleHandleA(nullptr));
    EXPECT_TRUE(Bitmap(BITMAP_ID).Empty());
}

TEST_F(ImageListTest, CopiesAreOneListAndWrappedListsOutliveTheirWrappers)
{
    Bitmap const image = Make(5, 4, Pattern(5, 4));
    ImageList a, b = a;
    EXPECT_EQ(0, a.Add(image));
    b = b;
    EXPECT_EQ(1, b.Add(image));
    EXPECT_EQ(2, a.Count()) << "a copy, even of an empty list, is the same list";

    CImageList own;
    {
        ImageList wrap(&own), copy = wrap;
        EXPECT_EQ(0, copy.Add(image)) << "made in the wrapped object";
        EXPECT_EQ(&own, wrap.GetPCImageList());
    }
    EXPECT_EQ(1, own.GetImageCount()) << "the wrappers do not destroy what they wrap";
    ImageList c = a;
    c.SetAsWrap(&own);
    EXPECT_EQ(1, c.Count());
    EXPECT_EQ(2, a.Count()) << "the other copies keep their list";
    CImageList twin;
    EXPECT_TRUE(twin.Create(&own));
    EXPECT_TRUE(twin.SetImageCount(3));
    EXPECT_EQ(1, own.GetImageCount()) << "a duplicate is a list of its own";
    HIMAGELIST const h = twin.Detach();
    EXPECT_FALSE(own.Attach(h)) << "own holds a list";
    own.DeleteImageList();
    EXPECT_TRUE(own.Attach(h));
    EXPECT_EQ(3, c.Count()) << "c wraps the object, whatever list it holds";
}

TEST_F(ImageListTest, NothingLeftBehind)
{
    SetKSMainFrame(nullptr, module);
    Bitmap const image = Make(7, 5, Pattern(7, 5)), strip = Make(21, 5, Pattern(21, 5));
    Gdiplus::Bitmap gdiplus(10, 5, PixelFormat32bppARGB);
    CImageList own;
    auto cycle = [&](int i) {
        ImageList list, alpha;
        list.Add(i % 2 ? strip : image);
        list.Add(image, Color(static_cast<unsigned long>(RGB(0, 0, 255))));
        ImageList copy = list;
        copy.GetBitmap(i % 3, i % 2 ? &screen : nullptr);
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
