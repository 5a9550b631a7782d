// Geometry against the platform doing the same work: inclusive-edge
// rectangle intersection and union against IntersectRect/UnionRect, and a
// Region grown by union of many rectangles against CombineRgn on one HRGN.
#include "bench/BenchHarness.h"

#include <random>
#include <vector>
#include <windows.h>

#include "graphics/CRectangle.h"
#include "graphics/Region.h"

int main()
{
    constexpr int PAIRS = 1000000;
    std::mt19937 rng(1);
    std::vector<RECT> ra(PAIRS), rb(PAIRS);
    std::vector<CRectangle> ca(PAIRS), cb(PAIRS);
    for (int i = 0; i < PAIRS; ++i) {
        for (RECT *r : {&ra[i], &rb[i]}) {
            int l = int(rng() % 1000), t = int(rng() % 1000);
            *r = RECT{l, t, l + 1 + int(rng() % 300), t + 1 + int(rng() % 300)};
        }
        ca[i] = CRectangle(ra[i].left, ra[i].top, ra[i].right - 1, ra[i].bottom - 1);
        cb[i] = CRectangle(rb[i].left, rb[i].top, rb[i].right - 1, rb[i].bottom - 1);
    }

    long long sink = 0;
    bench::Compare(
        "CRectangle::GetIntersection, 10^6 pairs", "IntersectRect", 7,
        [&] {
            long long s = 0;
            RECT out;
            for (int i = 0; i < PAIRS; ++i) {
                IntersectRect(&out, &ra[i], &rb[i]);
                s += out.right;
            }
            sink += s;
        },
        [&] {
            long long s = 0;
            for (int i = 0; i < PAIRS; ++i)
                s += ca[i].GetIntersection(cb[i]).Right();
            sink += s;
        });
    bench::Compare(
        "CRectangle::GetUnion, 10^6 pairs", "UnionRect", 7,
        [&] {
            long long s = 0;
            RECT out;
            for (int i = 0; i < PAIRS; ++i) {
                UnionRect(&out, &ra[i], &rb[i]);
                s += out.right;
            }
            sink += s;
        },
        [&] {
            long long s = 0;
            for (int i = 0; i < PAIRS; ++i)
                s += ca[i].GetUnion(cb[i]).Right();
            sink += s;
        });

    constexpr int RECTS = 1000;
    bench::Compare(
        "Region::Union of 1,000 rectangles", "CombineRgn", 5,
        [&] {
            HRGN acc = CreateRectRgn(0, 0, 0, 0);
            for (int i = 0; i < RECTS; ++i) {
                HRGN r = CreateRectRgnIndirect(&ra[i]);
                CombineRgn(acc, acc, r, RGN_OR);
                DeleteObject(r);
            }
            RECT box;
            GetRgnBox(acc, &box);
            sink += box.right;
            DeleteObject(acc);
        },
        [&] {
            Region acc;
            for (int i = 0; i < RECTS; ++i)
                acc.Union(Region(CRectangle(ra[i].left, ra[i].top, ra[i].right, ra[i].bottom)));
            sink += acc.GetBoundRect().Right();
        });
    bench::Keep(sink);
    return 0;
}
