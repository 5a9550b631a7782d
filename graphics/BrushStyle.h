#pragma once

// How a brush fills. Styles 2 to 7 have no platform brush of their own and
// fill solid; so do the two patterns until SetKSMainFrame has made their
// bitmaps.
enum BrushStyle : unsigned int
{
    BrushStyleNull = 0,    // hollow: nothing is filled
    BrushStyleSolid = 1,
    BrushStyleDots = 8,    // a sparse dot pattern, a quarter of the pixels
    BrushStyleChecker = 9  // a checkerboard, half of the pixels
};
