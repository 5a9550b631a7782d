#pragma once
// A white 64 x 48 off-screen device between KSInit and KSExit, with the pixel
// reads that the drawing tests judge by; their leak loops are LeakLoop.h's.
#include "frame/KSGlobal.h"
#include "graphics/VirtualDevice.h"
#include "tests/support/LeakLoop.h"

#include <gtest/gtest.h>
#include <vector>
#include <windows.h>

namespace kstest {

class DeviceFixture : public testing::Test
{
protected:
    static constexpr int W = 64, H = 48;
    static constexpr COLORREF WHITE = RGB(255, 255, 255), RED = RGB(255, 0, 0), GREEN = RGB(0, 255, 0),
                              BLUE = RGB(0, 0, 255);

    void SetUp() override
    {
        KSInit();
        SetKSMainFrame(nullptr, GetModuleHandleA(nullptr)); // the pattern brushes' bitmaps
        dev = new VirtualDevice();
        ASSERT_TRUE(dev->SetOutputSize(Size(W, H), true));
    }
    void TearDown() override
    {
        delete dev;
        KSExit();
    }
    COLORREF At(int x, int y) { return ::GetPixel(dev->GethDC(), x, y); }
    int Grey(int x, int y) { return GetRValue(At(x, y)); } // one channel tells a grey
    void Clear(COLORREF c = WHITE) { dev->Erase(Color(c), CRectangle(0, 0, W - 1, H - 1)); }
    std::vector<COLORREF> Shot()
    {
        std::vector<COLORREF> v;
        for (int i = 0; i < W * H; ++i)
            v.push_back(At(i % W, i / W));
        return v;
    }
    // The bounds (EMPTY when none) and the count of the pixels for which
    // pass(x, y, colour) holds.
    template <class Pass> CRectangle Where(Pass pass, int *pCount = nullptr)
    {
        CRectangle r;
        int n = 0;
        for (int i = 0; i < W * H; ++i)
            if (pass(i % W, i / W, At(i % W, i / W)) && ++n)
                r.Union(CRectangle(i % W, i / W, i % W, i / W));
        if (pCount)
            *pCount = n;
        return r;
    }
    CRectangle BoundsOf(COLORREF c) { return Where([c](int, int, COLORREF p) { return p == c; }); }
    int CountOf(COLORREF c)
    {
        int n = 0;
        Where([c](int, int, COLORREF p) { return p == c; }, &n);
        return n;
    }
    // The pixels that differ from an earlier Shot.
    CRectangle Changed(std::vector<COLORREF> const &rBefore, int *pCount = nullptr)
    {
        return Where([&](int x, int y, COLORREF p) { return p != rBefore[size_t(y * W + x)]; }, pCount);
    }
    VirtualDevice *dev = nullptr;
};

} // namespace kstest
