// Tool-button image lists: the lists each mode makes, strips added to every
// list, and what Draw puts on a canvas per depth and state against a model of
// the image, the embossed disabled image of a 4-bit list with and without
// flat menus included.
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

constexpr std::uint32_t KEY = 0xFF00FF, BACK = 0x123456, WHITE = 0xFFFFFF;
constexpr int IMG_W = 10, IMG_H = 8, IMAGES = 3, CW = 40, CH = 30;
constexpr unsigned STRIP_ID = 31, MISSING_ID = 39;

// Colours every depth keeps, 4 bits included, and the key.
Pixels Strip()
{
    static std::uint32_t const colours[] = {0x000000, WHITE, 0xFF0000, 0x0000FF, KEY};
    std::mt19937 rng(3);
    Pixels p(std::size_t(IMG_W * IMAGES * IMG_H));
    for (auto &v : p)
        v = colours[rng() % 5];
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
        HBITMAP h = MakeHBitmap(IMG_W * IMAGES, IMG_H, strip);
        ASSERT_TRUE(resources.AddBitmap(STRIP_ID, h));
        DeleteObject(h);
        HMODULE module = resources.Load();
        ASSERT_NE(nullptr, module);
        SetKSMainFrame(nullptr, module);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, CW, -CH, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        canvas.CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(canvas, &info, DIB_RGB_COLORS, reinterpret_cast<void **>(&bits), nullptr, 0);
        old = SelectObject(canvas, bitmap);
    }
    void TearDown() override
    {
        SelectObject(canvas, old);
        DeleteObject(bitmap);
        ImageList::aResHandle = GetModuleHandleA(nullptr);
        KSExit();
    }
    // Image i at pt, read back from a canvas of BACK.
    Pixels Drawn(CAlphaImageList &rList, CPoint pt, int nState, int i, bool bDrawn)
    {
        GdiFlush();
        std::fill(bits, bits + CW * CH, BACK);
        EXPECT_EQ(bDrawn, rList.Draw(&canvas, pt, nState, i)) << "state " << nState;
        GdiFlush();
        Pixels p(bits, bits + CW * CH);
        for (auto &v : p)
            v &= 0xFFFFFF;
        return p;
    }
    // Pixel (x, y) of image i, the key outside it.
    std::uint32_t At(int i, int x, int y) const
    {
        bool const in = x >= 0 && y >= 0 && x < IMG_W && y < IMG_H;
        return in ? strip[std::size_t(y * IMG_W * IMAGES + i * IMG_W + x)] : KEY;
    }
    // The canvas with pixelAt(x, y) at pt + (x, y).
    template <class PixelAt> static Pixels Expected(CPoint pt, PixelAt pixelAt)
    {
        Pixels p;
        for (int y = 0; y < CH; ++y)
            for (int x = 0; x < CW; ++x)
                p.push_back(pixelAt(x - pt.x, y - pt.y));
        return p;
    }

    Pixels const strip = Strip();
    ResourceModule resources{"alpha-resources.dll"};
    CDC canvas;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    std::uint32_t *bits = nullptr;
};

} // namespace

TEST_F(CAlphaImageListTest, ModesMakeTheirListsAndStripsFillThemAll)
{
    CAlphaImageList list;
    EXPECT_FALSE(list.Draw(&canvas, CPoint(0, 0), 0, 0)) << "nothing before Create";
    EXPECT_EQ(-1, list.AddBitmap(STRIP_ID));
    EXPECT_EQ(0, list.Create(0, IMG_H, 1, 4));
    EXPECT_EQ(0, list.Create(IMG_W, IMG_H, 1, -1));
    int const major = LibraryLoader(SString("comctl32.dll")).GetMajorVersion();
    for (int mode : {1, 0, 7}) {
        ASSERT_EQ(1, list.Create(IMG_W, IMG_H, mode, 4));
        EXPECT_TRUE(list.GetSize() == CSize(IMG_W, IMG_H));
        int const bits = mode == 1 ? (major >= 6 ? 32 : 24) : 4, lists = mode == 1 ? 3 : 1;
        EXPECT_EQ(0, list.AddBitmap(STRIP_ID));
        EXPECT_EQ(IMAGES, list.AddBitmap(STRIP_ID));
        EXPECT_EQ(-1, list.AddBitmap(MISSING_ID));
        EXPECT_EQ(2 * IMAGES, list.Count());
        for (int state = -1; state <= 3; ++state) {
            CImageList *platform = list.GetImageList(state), copy;
            ASSERT_EQ(state >= 0 && state < lists, platform != nullptr) << mode << "/" << state;
            EXPECT_EQ(platform != nullptr, list.GetImageList(state, copy));
            if (!platform)
                continue;
            IMAGEINFO info{};
            BITMAP bm{};
            ASSERT_TRUE(platform->GetImageInfo(2 * IMAGES - 1, &info));
            GetObjectA(info.hbmImage, sizeof bm, &bm);
            EXPECT_EQ(bits, bm.bmBitsPixel) << mode << "/" << state;
            EXPECT_TRUE(copy.SetImageCount(1));
            EXPECT_EQ(2 * IMAGES, platform->GetImageCount()) << "the copy is the caller's own";
        }
    }
}

TEST_F(CAlphaImageListTest, EachDepthDrawsTheStatesItHas)
{
    std::uint32_t const shadow = Rgb(GetSysColor(COLOR_BTNSHADOW)), light = Rgb(GetSysColor(COLOR_BTNHIGHLIGHT));
    BOOL original = FALSE;
    SystemParametersInfoA(SPI_GETFLATMENU, 0, &original, 0);
    struct Restore // the menu look is changed without being saved; undone here
    {
        BOOL flat;
        ~Restore() { SystemParametersInfoA(SPI_SETFLATMENU, 0, reinterpret_cast<void *>(INT_PTR(flat)), 0); }
    } const restore{original};
    Pixels const blank(std::size_t(CW * CH), BACK);
    for (int mode : {1, 0}) {
        CAlphaImageList list;
        ASSERT_EQ(1, list.Create(IMG_W, IMG_H, mode, 2));
        ASSERT_EQ(0, list.AddBitmap(STRIP_ID));
        bool const trueColour = list.GetBitsPerPixel() >= 24;
        for (int i = 0; i < IMAGES; ++i) {
            CPoint const pt(2 + 9 * i, 3 + 2 * i);
            auto normal = [&](int x, int y) { return At(i, x, y) == KEY ? BACK : At(i, x, y); };
            // Dark pixels stamp the shadow colour; one pixel down and right,
            // beneath it, the highlight colour unless menus are flat.
            auto dark = [&](int x, int y) { return At(i, x, y) != KEY && At(i, x, y) != WHITE; };
            EXPECT_EQ(Expected(pt, normal), Drawn(list, pt, 0, i, true)) << mode << "/" << i;
            EXPECT_EQ(trueColour ? Expected(pt, normal) : blank, Drawn(list, pt, 1, i, trueColour));
            EXPECT_EQ(blank, Drawn(list, pt, 3, i, false));
            EXPECT_EQ(blank, Drawn(list, pt, -1, i, false));
            if (trueColour) { // a light grey of each visible pixel
                Pixels const grey = Drawn(list, pt, 2, i, true);
                Pixels const shape = Expected(pt, normal);
                for (std::size_t k = 0; k < grey.size(); ++k) {
                    std::uint32_t const v = grey[k] & 0xFF;
                    EXPECT_EQ(shape[k] == BACK ? BACK : (v << 16 | v << 8 | v), grey[k]) << k;
                    EXPECT_TRUE(shape[k] == BACK || v >= 128) << k;
                }
                continue;
            }
            for (BOOL const flat : {original, BOOL(!original)}) {
                BOOL now = !flat;
                SystemParametersInfoA(SPI_SETFLATMENU, 0, reinterpret_cast<void *>(INT_PTR(flat)), 0);
                SystemParametersInfoA(SPI_GETFLATMENU, 0, &now, 0);
                ASSERT_EQ(flat, now) << "the menu look could not be changed";
                EXPECT_EQ(Expected(pt,
                                   [&](int x, int y) {
                                       return dark(x, y) ? shadow : !flat && dark(x - 1, y - 1) ? light : BACK;
                                   }),
                          Drawn(list, pt, 2, i, true))
                    << "image " << i << (flat ? ", flat menus" : "");
            }
        }
        EXPECT_EQ(blank, Drawn(list, CPoint(0, 0), 0, IMAGES, false));
    }
}

TEST_F(CAlphaImageListTest, NothingLeftBehind)
{
    auto cycle = [&](int i) {
        CAlphaImageList list;
        list.Create(IMG_W, IMG_H, i % 2, 1);
        list.AddBitmap(STRIP_ID);
        for (int state = 0; state < 3; ++state)
            list.Draw(&canvas, CPoint(i % 5, 1), state, i % IMAGES);
        CImageList copy;
        list.GetImageList(i % 3, copy);
        list.Create(IMG_W + 1, IMG_H, 1, 2);
    };
    EXPECT_TRUE(NoGrowthOnceSettled({.batch = 30}, cycle));
}
