#pragma once
// The arithmetic of docked layouts, free of windows: slicing a dock site
// into groups along its margins and splitting a container between its two
// halves. All rectangles are the platform's (right and bottom exclusive), in
// the dock site's client coordinates.
//
// A group docked to a side is cut off the free rectangle on that side; its
// default divider lies between it and what remains:
//
//     +------+--+----------------+
//     | left |d |  free space    |     len = the group's length,
//     | group|iv|  (client area) |     w   = ZnPaneDivider::GetDefaultWidth()
//     +------+--+----------------+
//       len    w
//
// A container splits its rectangle between a first (left or top) and a
// second half with its divider between them. Its percentage is the first
// half's share of the extent that is left once the divider is taken off:
// first = round(percent * (extent - w) / 100).
#include "frame/Kestrel5Api.h"
#include "mfc/CRect.h"

class KSAPI DockGeometry
{
public:
    // Left and right groups and dividers that move horizontally measure their
    // lengths in x; the others in y.
    // One of the four sides (0x1000 left, 0x2000 top, 0x4000 right, 0x8000
    // bottom), not a combination.
    static bool IsSide(unsigned long align)
    {
        return align == 0x1000 || align == 0x2000 || align == 0x4000 || align == 0x8000;
    }
    static bool IsHorzAxis(unsigned long align) { return (align & 0x5000) != 0; }
    // The extent of r along the axis that grows in x (true) or in y (false).
    static int Extent(CRect const &r, bool bHorz) { return bHorz ? r.Width() : r.Height(); }

    // Cuts a slice of len pixels (at most what r has, at least 0) off side
    // align of r and answers it; r keeps the rest.
    static CRect CutSide(CRect &r, unsigned long align, int len);
    // A pane's or frame's client area: its window rectangle r less the
    // border on every side and the caption on top, never inside out.
    static void InsetClientArea(RECT &r, int border, int caption);

    // The first half's length for a split of avail pixels (the divider already
    // taken off) at percent. With bHonourMin each half keeps its minimum when
    // both minimums fit; otherwise the percentage alone decides.
    static int SplitFirst(int avail, double percent, int nMin1, int nMin2, bool bHonourMin);

    // The percentage that reproduces a first half of first pixels out of
    // avail, kept strictly between 0 and 100 so that neither half can vanish
    // for good; percent unchanged when avail is not positive.
    static double PercentOf(int first, int avail, double percent);

    // The limits of a first half that a user's drag may reach: each half
    // keeps its minimum when both fit in avail, else only the range [0, avail].
    static void DragLimits(int avail, int nMin1, int nMin2, int &lo, int &hi);
};
