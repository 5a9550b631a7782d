// The default divider width follows the screen's vertical resolution once
// the library runs, and the layout model's tolerances follow it.
#include <gtest/gtest.h>

#include "docking/DockPaneElement.h"
#include "docking/ZnPaneDivider.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"

TEST(ZnPaneDivider, DefaultWidthScalesWithVerticalResolution)
{
    EXPECT_EQ(6, ZnPaneDivider::GetDefaultWidth());
    KSInit();
    KSData &d = *GetPKSData();
    int keepX = d.m_nLogPixelsX, keepY = d.m_nLogPixelsY;
    d.m_nLogPixelsY = 96;
    d.m_nLogPixelsX = 200; // the horizontal resolution plays no part
    EXPECT_EQ(6, ZnPaneDivider::GetDefaultWidth());
    for (auto [dpi, width] : {std::pair(144, 9), {120, 8}}) { // 7.5 rounds up
        d.m_nLogPixelsY = dpi;
        EXPECT_EQ(width, ZnPaneDivider::GetDefaultWidth()) << dpi;
    }

    // At 144 DPI two panes 10 pixels apart are neighbours (w + 1); at 96 DPI
    // they are not.
    d.m_nLogPixelsY = 144;
    DockPaneElement a, b;
    a.SetRect(CRectangle(0, 0, 100, 100));
    b.SetRect(CRectangle(110, 0, 200, 100));
    EXPECT_TRUE(DockElement::DetNeighbourType(&a, &b) == NT_LEFT && b.GetNeighbourType(&a) == NT_LEFT);
    d.m_nLogPixelsY = 96;
    EXPECT_TRUE(DockElement::DetNeighbourType(&a, &b) == NT_NONE && b.GetNeighbourType(&a) == NT_NONE);

    d.m_nLogPixelsX = keepX;
    d.m_nLogPixelsY = keepY;
    KSExit();
    EXPECT_EQ(6, ZnPaneDivider::GetDefaultWidth());
}
