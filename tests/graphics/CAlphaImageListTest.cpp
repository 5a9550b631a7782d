// Tool-button image lists: the lists each mode makes, strips added to every
// list, and what Draw puts on a canvas per state and depth, compared with a
// model of the image (the embossed disabled image of a 4-bit list too).
#include "frame/KSGlobal.h"
#include "frame/LibraryLoader.h"
#include "graphics/CAlphaImageList.h"
#include "graphics/ImageList.h"
#include "mfc/CDC.h"
#include "tests/support/ImageSamples.h"
#include "tests/support/LeakLoop.h"
#include "tests/support/ResourceModule.h"

#include <gtest/gtest.h>
#include <random>
#include <windows.h>

using namespace kstest;

namespace {

constexpr std::uint32_t KEY = 0xFF00FF, BACK = 0x123456;
constexpr int IMG_W = 10, IMG_H = 8, IMAGES = 3;
constexpr unsigned STRIP_ID = 31, MISSING_ID = 39;
constexpr int CW = 40, CH = 30; // the canvas

// Colours every depth keeps (4 bits included) and the key.
Pixels Strip()
{
    static std::uint32_t const colours[] = {0x000000, 0xFFFFFF, 0xFF0000, 0x0000FF, KEY};
    std::mt19937 rng(3);
    Pixels p(std::size_t(IMG_W * IMAGES * IMG_H));
    for (auto &v : p)
        v = colours[rng() % 5];
    return p;
}

std::uint32_t StripAt(Pixels const &rStrip, int nImage, int x, int y)
{
    return rStrip[std::size_t(y * IMG_W * IMAGES + nImage * IMG_W + x)];
}

// A 32-bit canvas behind a CDC, read straight from its bits.
class Canvas
{
public:
    Canvas()
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = CW;
        info.bmiHeader.biHeight = -CH;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc.CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void **>(&bits), nullptr, 0);
        old = SelectObject(dc, bitmap);
        Clear();
    }
    ~Canvas()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
    }
    void Clear()
    {
        GdiFlush();
        for (int i = 0; i < CW * CH; ++i)
            bits[i] = BACK;
    }
    Pixels Read()
    {
        GdiFlush();
        Pixels p(bits, bits + CW * CH);
        for (auto &v : p)
            v &= 0xFFFFFF;
        return p;
    }

    CDC dc;

private:
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    std::uint32_t *bits = nullptr;
};

// The canvas after image i was drawn at (px, py): what pixelAt gives inside
// the image (BACK to leave the canvas alone), BACK elsewhere.
template <class PixelAt> Pixels Expected(int px, int py, PixelAt pixelAt)
{
    Pixels p(std::size_t(CW * CH), BACK);
    for (int y = 0; y < CH; ++y)
        for (int x = 0; x < CW; ++x)
            p[std::size_t(y * CW + x)] = pixelAt(x - px, y - py);
    return p;
}

std::uint32_t Rgb(COLORREF c)
{
    return std::uint32_t(GetRValue(c)) << 16 | std::uint32_t(GetGValue(c)) << 8 | GetBValue(c);
}

class CAlphaImageListTest : public testing::Test
{
protected:
    void SetUp() override
    {
        KSInit();
        Bitmap strip;
        strip.SetHBitmap(MakeHBitmap(IMG_W * IMAGES, IMG_H, Strip()));
        ASSERT_TRUE(resources.AddBitmap(STRIP_ID, strip));
        HMODULE module = resources.Load();
        ASSERT_NE(nullptr, module);
        SetKSMainFrame(nullptr, module);
    }
    void TearDown() override
    {
        ImageList::aResHandle = GetModuleHandleA(nullptr);
        KSExit();
    }

    ResourceModule resources{"alpha-resources.dll"};
    Pixels const strip = Strip();
};

} // namespace

TEST_F(CAlphaImageListTest, ModesMakeTheirListsAndStripsFillThemAll)
{
    CAlphaImageList list;
    Canvas canvas;
    EXPECT_FALSE(list.Draw(&canvas.dc, CPoint(0, 0), 0, 0)) << "nothing before Create";
    EXPECT_EQ(-1, list.AddBitmap(STRIP_ID));
    EXPECT_EQ(0, list.Create(0, IMG_H, 1, 4));
    EXPECT_EQ(0, list.Create(IMG_W, IMG_H, 1, -1));
    EXPECT_TRUE(list.GetSize() == CSize(0, 0));

    int const major = LibraryLoader(SString("comctl32.dll")).GetMajorVersion();
    for (int mode : {1, 0, 7}) {
        ASSERT_EQ(1, list.Create(IMG_W, IMG_H, mode, 4));
        EXPECT_TRUE(list.GetSize() == CSize(IMG_W, IMG_H));
        int const bits = mode == 1 ? (major >= 6 ? 32 : 24) : 4;
        EXPECT_EQ(bits, list.GetBitsPerPixel()) << "mode " << mode;
        int const lists = mode == 1 ? 3 : 1;
        EXPECT_EQ(0, list.AddBitmap(STRIP_ID));
        EXPECT_EQ(IMAGES, list.AddBitmap(STRIP_ID));
        EXPECT_EQ(-1, list.AddBitmap(MISSING_ID));
        EXPECT_EQ(2 * IMAGES, list.Count());
        for (int state = -1; state <= 3; ++state) {
            bool const exists = state >= 0 && state < lists;
            CImageList *platform = list.GetImageList(state);
            ASSERT_EQ(exists, platform != nullptr) << "mode " << mode << " state " << state;
            CImageList copy;
            EXPECT_EQ(exists, list.GetImageList(state, copy));
            if (!exists) {
                EXPECT_EQ(nullptr, copy.GetSafeHandle());
                continue;
            }
            EXPECT_EQ(2 * IMAGES, platform->GetImageCount());
            IMAGEINFO info{};
            ASSERT_TRUE(platform->GetImageInfo(0, &info));
            BITMAP bm{};
            GetObjectA(info.hbmImage, sizeof bm, &bm);
            EXPECT_EQ(bits, bm.bmBitsPixel) << "mode " << mode << " state " << state;
            EXPECT_EQ(2 * IMAGES, copy.GetImageCount());
            EXPECT_TRUE(copy.SetImageCount(1));
            EXPECT_EQ(2 * IMAGES, platform->GetImageCount()) << "the copy is the caller's own";
        }
    }
}

TEST_F(CAlphaImageListTest, DrawShowsEachStateOfATrueColourList)
{
    CAlphaImageList list;
    ASSERT_EQ(1, list.Create(IMG_W, IMG_H, 1, 4));
    ASSERT_EQ(0, list.AddBitmap(STRIP_ID));
    Canvas canvas;
    for (int image = 0; image < IMAGES; ++image) {
        CPoint const pt(3 + 7 * image, 2 + image);
        auto normal = [&](int x, int y) {
            bool const in = x >= 0 && y >= 0 && x < IMG_W && y < IMG_H;
            std::uint32_t const p = in ? StripAt(strip, image, x, y) : KEY;
            return p == KEY ? BACK : p;
        };
        for (int state : {0, 1}) {
            canvas.Clear();
            EXPECT_TRUE(list.Draw(&canvas.dc, pt, state, image));
            EXPECT_EQ(Expected(pt.x, pt.y, normal), canvas.Read()) << "image " << image << " state " << state;
        }
        canvas.Clear();
        EXPECT_TRUE(list.Draw(&canvas.dc, pt, 2, image));
        Pixels const disabled = canvas.Read();
        for (int y = 0; y < CH; ++y)
            for (int x = 0; x < CW; ++x) {
                std::uint32_t const was = normal(x - pt.x, y - pt.y), is = disabled[std::size_t(y * CW + x)];
                if (was == BACK) {
                    EXPECT_EQ(BACK, is) << x << "," << y;
                    continue;
                }
                unsigned const r = is >> 16, g = is >> 8 & 0xFF, b = is & 0xFF;
                EXPECT_TRUE(r == g && g == b && r >= 128) << "light grey, not " << std::hex << is;
            }
        for (int state : {3, -1}) {
            canvas.Clear();
            EXPECT_FALSE(list.Draw(&canvas.dc, pt, state, image));
            EXPECT_EQ(Pixels(std::size_t(CW * CH), BACK), canvas.Read());
        }
    }
    EXPECT_FALSE(list.Draw(&canvas.dc, CPoint(0, 0), 0, IMAGES));
    EXPECT_FALSE(list.Draw(nullptr, CPoint(0, 0), 0, 0));
}

TEST_F(CAlphaImageListTest, FourBitListsDrawNormalAndEmbossedDisabledImagesOnly)
{
    CAlphaImageList list;
    ASSERT_EQ(1, list.Create(IMG_W, IMG_H, 0, 2));
    ASSERT_EQ(0, list.AddBitmap(STRIP_ID));
    Canvas canvas;
    std::uint32_t const shadow = Rgb(GetSysColor(COLOR_BTNSHADOW)), light = Rgb(GetSysColor(COLOR_BTNHIGHLIGHT));
    BOOL original = FALSE;
    SystemParametersInfoA(SPI_GETFLATMENU, 0, &original, 0);
    struct Restore
    {
        BOOL flat;
        ~Restore() { SystemParametersInfoA(SPI_SETFLATMENU, 0, reinterpret_cast<void *>(INT_PTR(flat)), 0); }
    } const restore{original};
    // Both menu looks, the platform's own (flat under Wine) first; the
    // change is not saved and is undone at the end.
    for (BOOL const flat : {original, BOOL(!original)}) {
        BOOL now = !flat;
        SystemParametersInfoA(SPI_SETFLATMENU, 0, reinterpret_cast<void *>(INT_PTR(flat)), 0);
        SystemParametersInfoA(SPI_GETFLATMENU, 0, &now, 0);
        ASSERT_EQ(flat, now) << "the menu look could not be changed";
        for (int image = 0; image < IMAGES; ++image) {
            CPoint const pt(2 + 9 * image, 3 + 2 * image);
            auto pixel = [&](int x, int y) {
                return x >= 0 && y >= 0 && x < IMG_W && y < IMG_H ? StripAt(strip, image, x, y) : KEY;
            };
            canvas.Clear();
            EXPECT_TRUE(list.Draw(&canvas.dc, pt, 0, image));
            EXPECT_EQ(Expected(pt.x, pt.y, [&](int x, int y) { return pixel(x, y) == KEY ? BACK : pixel(x, y); }),
                      canvas.Read())
                << "image " << image;

            canvas.Clear();
            EXPECT_FALSE(list.Draw(&canvas.dc, pt, 1, image)) << "no hot image in 4 bits";
            EXPECT_EQ(Pixels(std::size_t(CW * CH), BACK), canvas.Read());

            // Dark pixels stamp the shadow colour; one pixel down and right,
            // beneath it, the highlight colour unless menus are flat.
            auto dark = [&](int x, int y) {
                std::uint32_t const p = pixel(x, y);
                return p != KEY && p != 0xFFFFFF;
            };
            canvas.Clear();
            EXPECT_TRUE(list.Draw(&canvas.dc, pt, 2, image));
            EXPECT_EQ(Expected(pt.x, pt.y,
                               [&](int x, int y) {
                                   if (dark(x, y))
                                       return shadow;
                                   return !flat && dark(x - 1, y - 1) ? light : BACK;
                               }),
                      canvas.Read())
                << "image " << image << (flat ? " (flat menus)" : "");
        }
    }
}

TEST_F(CAlphaImageListTest, NothingLeftBehind)
{
    Canvas canvas;
    auto cycle = [&](int i) {
        CAlphaImageList list;
        list.Create(IMG_W, IMG_H, i % 2, 1);
        list.AddBitmap(STRIP_ID);
        for (int state = 0; state < 3; ++state)
            list.Draw(&canvas.dc, CPoint(i % 5, 1), state, i % IMAGES);
        CImageList copy;
        list.GetImageList(i % 3, copy);
        list.Create(IMG_W + 1, IMG_H, 1, 2);
    };
    EXPECT_TRUE(NoGrowthOnceSettled({.batch = 30}, cycle));
}
