// A pane's remembered position computed from a layout model: its named
// neighbours with sides and contacts, the partner in its split, the margin
// it spans, and the floating case.
#include <vector>

#include <gtest/gtest.h>

#include "docking/DockPaneElement.h"
#include "docking/DockPosition.h"
#include "docking/FloatingPaneElement.h"
#include "docking/FreeSpaceElement.h"
#include "docking/HiddenPaneElement.h"
#include "docking/HolderElement.h"
#include "docking/ZnDockablePane.h"
#include "tests/docking/ElementBuilders.h"

using namespace kstest;

namespace {

DockNeighbour Find(DockPosition const &p, char const *name)
{
    for (DockNeighbour const &n : p.GetNeighbourVec())
        if (n.GetName() == name)
            return n;
    return DockNeighbour("<absent>", 0, NCT_NONE, false, false);
}

// A frame 1000 x 800: pane A down the left, the free space above pane B.
struct Layout
{
    int w = W();
    ZnDockablePane a, b, c, stranger;
    std::vector<DockElement *> els;
    Layout()
    {
        for (auto [pane, name] : {std::pair(&a, "A"), {&b, "B"}, {&c, "C"}, {&stranger, "S"}})
            pane->SetInternalName(name);
        b.SetRectRecentFloat(CRectangle(300, 300, 500, 450));
        els = {Placed<FreeSpaceElement>(CRectangle(200 + w, 0, 1000, 600)), Pane(CRectangle(0, 0, 200, 800), &a),
               Pane(CRectangle(200 + w, 600 + w, 1000, 800), &b),
               // far away: neither floating nor hidden elements widen the bounds
               Placed<FloatingPaneElement>(CRectangle(2000, 2000, 2300, 2150), &c),
               Placed<HiddenPaneElement>(CRectangle(-900, -900, 5000, 5000), &stranger, DockPosition())};
    }
    ~Layout() { DockElement::ClearDockElements(els); }
};

} // namespace

TEST(FillDockPosition, NeighboursSidesContactsAndMargin)
{
    Layout m;
    DockPosition pb;
    pb.SetName("stale");
    pb.AddNeighbour("old", DockAlignTop, NCT_EQUAL_SIDE, false, false);
    DockElement::FillDockPosition(m.els, &m.b, pb);
    EXPECT_STREQ("B", pb.GetName().GetStr());
    ASSERT_EQ(2u, pb.GetNeighbourVec().size()); // the old list is gone, B is not its own neighbour
    // A's bottom is flush with B's, its top is not.
    EXPECT_EQ(DockNeighbour("A", DockAlignLeft, NCT_JUSTIFIED_SIDE, false, false), Find(pb, "A"));
    EXPECT_EQ(DockNeighbour("GFS", DockAlignTop, NCT_EQUAL_SIDE, false, true), Find(pb, "GFS"));
    EXPECT_EQ(0UL, pb.GetMarginAlign());
    EXPECT_EQ(Size(1000 - 200 - m.w, 200 - m.w), pb.GetSize());
    EXPECT_EQ(Point(200 + m.w, 600 + m.w), pb.GetPos());
    EXPECT_EQ(CRectangle(300, 300, 500, 450), pb.GetRectRecentFloat());
    EXPECT_FALSE(pb.IsFloating());

    DockPosition pa;
    DockElement::FillDockPosition(m.els, &m.a, pa);
    EXPECT_EQ((unsigned long)DockAlignLeft, pa.GetMarginAlign()); // spans the frame's height at its left
    EXPECT_TRUE(Find(pa, "GFS").GetAlign() == DockAlignRight && Find(pa, "B").GetAlign() == DockAlignRight);
    EXPECT_TRUE(pa.GetRectRecentFloat().IsEmpty());
}

TEST(FillDockPosition, PartnerInASplitIsFlaggedAsHolder)
{
    Layout m;
    // The model also holds A and B as the two halves of a split (copies keep
    // their ids, which is how the split finds them).
    m.els.push_back(Hold(m.els[1]->Duplicate(false), m.els[2]->Duplicate(false)));
    DockPosition pb;
    DockElement::FillDockPosition(m.els, &m.b, pb);
    EXPECT_EQ(DockNeighbour("A", DockAlignLeft, NCT_JUSTIFIED_SIDE, true, false), Find(pb, "A"));
    EXPECT_FALSE(Find(pb, "GFS").IsHolder());
}

TEST(FillDockPosition, FloatingAndUnknownPanes)
{
    Layout m;
    DockPosition pc;
    pc.SetPos(Point(7, 8));
    DockElement::FillDockPosition(m.els, &m.c, pc);
    EXPECT_STREQ("C", pc.GetName().GetStr());
    EXPECT_TRUE(pc.IsFloating());
    EXPECT_EQ(Size(300, 150), pc.GetSize());
    EXPECT_EQ(Point(7, 8), pc.GetPos());

    DockPosition ps;
    ps.SetSize(Size(11, 12));
    DockElement::FillDockPosition(m.els, &m.stranger, ps); // hidden only: nothing but the name
    EXPECT_STREQ("S", ps.GetName().GetStr());
    EXPECT_EQ(Size(11, 12), ps.GetSize());
    EXPECT_FALSE(ps.IsFloating());
    EXPECT_TRUE(ps.GetNeighbourVec().empty());

    DockPosition untouched;
    untouched.SetName("keep");
    DockElement::FillDockPosition(m.els, nullptr, untouched);
    EXPECT_STREQ("keep", untouched.GetName().GetStr());
}
