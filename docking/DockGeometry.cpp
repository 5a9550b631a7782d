#include "docking/DockGeometry.h"

#include <algorithm>
#include <cmath>

CRect DockGeometry::CutSide(CRect &r, unsigned long align, int len)
{
    int const ext = std::max(0, Extent(r, IsHorzAxis(align)));
    len = std::clamp(len, 0, ext);
    CRect slice = r;
    if (r.right < r.left)
        r.right = slice.right = r.left;
    if (r.bottom < r.top)
        r.bottom = slice.bottom = r.top;
    switch (align & 0xF000) {
    case 0x1000:
        slice.right = r.left + len;
        r.left += len;
        break;
    case 0x4000:
        slice.left = r.right - len;
        r.right -= len;
        break;
    case 0x2000:
        slice.bottom = r.top + len;
        r.top += len;
        break;
    default:
        slice.top = r.bottom - len;
        r.bottom -= len;
        break;
    }
    return slice;
}

int DockGeometry::SplitFirst(int avail, double percent, int nMin1, int nMin2, bool bHonourMin)
{
    if (avail <= 0)
        return 0;
    int first = static_cast<int>(std::lround(percent * avail / 100.0));
    first = std::clamp(first, 0, avail);
    if (bHonourMin && nMin1 + nMin2 <= avail)
        first = std::clamp(first, nMin1, avail - nMin2);
    return first;
}

double DockGeometry::PercentOf(int first, int avail, double percent)
{
    if (avail <= 0)
        return percent;
    // The bounds are far enough inside (0, 100) to stay there and close
    // enough to 0 and 100 that SplitFirst rounds them back to the very pixel
    // for any extent a screen can have.
    double const p = 100.0 * std::clamp(first, 0, avail) / avail;
    return std::clamp(p, 1e-4, 100.0 - 1e-4);
}

void DockGeometry::DragLimits(int avail, int nMin1, int nMin2, int &lo, int &hi)
{
    avail = std::max(0, avail);
    if (nMin1 + nMin2 <= avail) {
        lo = nMin1;
        hi = avail - nMin2;
    } else {
        lo = 0;
        hi = avail;
    }
}

void DockGeometry::InsetClientArea(RECT &r, int border, int caption)
{
    r.left += border;
    r.right -= border;
    r.top += border + caption;
    r.bottom -= border;
    if (r.right < r.left)
        r.right = r.left;
    if (r.bottom < r.top)
        r.bottom = r.top;
}
