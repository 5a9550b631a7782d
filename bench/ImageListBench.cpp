// Tool-button images drawn through CAlphaImageList against the platform's
// ImageList_Draw of the same list onto the same memory DC: what the state
// dispatch costs, and what the embossed disabled image of a 4-bit list costs
// against a plain draw.
#include "bench/BenchHarness.h"
#include "graphics/CAlphaImageList.h"
#include "mfc/CBitmap.h"
#include "mfc/CDC.h"

#include <cstdio>
#include <windows.h>
#include <commctrl.h>

namespace {

constexpr int SIDE = 16, IMAGES = 8, N = 10000;

// Benchmarks link only the library: the raw baseline binds the common
// controls at run time.
struct RawDraw
{
    HMODULE dll = LoadLibraryA("comctl32.dll");
    decltype(&ImageList_Draw) Draw =
        reinterpret_cast<decltype(&ImageList_Draw)>(reinterpret_cast<void *>(GetProcAddress(dll, "ImageList_Draw")));
    ~RawDraw() { FreeLibrary(dll); }
};

// A strip of IMAGES images, a square on magenta each; every list gets a
// strip of its own, as the masked add blackens the magenta of the one it is
// given.
void Fill(CAlphaImageList &rList, HDC hRef)
{
    for (int state = 0; state < 3; ++state) {
        CImageList *list = rList.GetImageList(state);
        if (!list)
            continue;
        CBitmap strip;
        strip.CreateCompatibleBitmap(hRef, SIDE * IMAGES, SIDE);
        HDC dc = CreateCompatibleDC(hRef);
        HGDIOBJ old = SelectObject(dc, strip);
        for (int x = 0; x < SIDE * IMAGES; ++x)
            for (int y = 0; y < SIDE; ++y) {
                bool const inside = x % SIDE > 2 && x % SIDE < 13 && y > 2 && y < 13;
                SetPixel(dc, x, y, inside ? RGB(x * 13 % 256, 40, 200) : RGB(255, 0, 255));
            }
        SelectObject(dc, old);
        DeleteDC(dc);
        list->Add(&strip, RGB(255, 0, 255));
    }
}

} // namespace

int main()
{
    RawDraw raw;
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 256;
    info.bmiHeader.biHeight = 256;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HBITMAP target = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, target);
    {
        CAlphaImageList colour, four;
        colour.Create(SIDE, SIDE, 1, IMAGES);
        four.Create(SIDE, SIDE, 0, IMAGES);
        Fill(colour, dc);
        Fill(four, dc);
        HIMAGELIST hColour = *colour.GetImageList(0), hFour = *four.GetImageList(0);
        int const rounds = 7;
        char name[96];
        std::snprintf(name, sizeof name, "CAlphaImageList::Draw state 0 (%d bit) x%d", colour.GetBitsPerPixel(), N);
        bench::Compare(name, "ImageList_Draw", rounds,
                       [&] {
                           for (int i = 0; i < N; ++i)
                               raw.Draw(hColour, i % IMAGES, dc, i % 200, i % 190, ILD_TRANSPARENT);
                       },
                       [&] {
                           for (int i = 0; i < N; ++i)
                               colour.Draw(&dc, CPoint(i % 200, i % 190), 0, i % IMAGES);
                       });
        std::snprintf(name, sizeof name, "CAlphaImageList::Draw state 1 (%d bit) x%d", colour.GetBitsPerPixel(), N);
        bench::Compare(name, "ImageList_Draw", rounds,
                       [&] {
                           for (int i = 0; i < N; ++i)
                               raw.Draw(hColour, i % IMAGES, dc, i % 200, i % 190, ILD_TRANSPARENT);
                       },
                       [&] {
                           for (int i = 0; i < N; ++i)
                               colour.Draw(&dc, CPoint(i % 200, i % 190), 1, i % IMAGES);
                       });
        std::snprintf(name, sizeof name, "CAlphaImageList::Draw embossed (4 bit) x%d", N);
        bench::Compare(name, "ImageList_Draw", rounds,
                       [&] {
                           for (int i = 0; i < N; ++i)
                               raw.Draw(hFour, i % IMAGES, dc, i % 200, i % 190, ILD_TRANSPARENT);
                       },
                       [&] {
                           for (int i = 0; i < N; ++i)
                               four.Draw(&dc, CPoint(i % 200, i % 190), 2, i % IMAGES);
                       });
    }
    SelectObject(dc, old);
    DeleteObject(target);
    return 0;
}
