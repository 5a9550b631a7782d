// Layout elements: side classifiers at their tolerances, relations, the
// index round trip through a caller's table, and ownership/leak checks.
#include <algorithm>
#include <climits>
#include <memory>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "docking/DockElement.h"
#include "docking/DockPaneElement.h"
#include "docking/FloatingPaneElement.h"
#include "docking/FreeSpaceElement.h"
#include "docking/HiddenPaneElement.h"
#include "docking/HolderElement.h"
#include "docking/ZnDockablePane.h"
#include "frame/Link.h"
#include "tests/docking/ElementBuilders.h"
#include "tests/support/LeakLoop.h"

using namespace kstest;

namespace {

// The classifiers and the order are the base's own: any element reaches them.
struct El : DockPaneElement
{
    explicit El(CRectangle const &r) { SetRect(r); }
};

} // namespace

NeighbourType const kSides[] = {NT_LEFT, NT_RIGHT, NT_TOP, NT_BOTTOM};

TEST(DockGeometry, DetNeighbourTypeUpToOneDividerPlusOne)
{
    int w = W();
    El eb(CRectangle(200, 200, 300, 300));
    // a stands at each side of b in turn, distant along that side (no overlap
    // needed); gap g is b.left - a.right and so on.
    for (int g : {w - 3, w, w + 1, w + 2, w + 5, -(w + 1)}) {
        bool isNear = (g < 0 ? -g : g) <= w + 1;
        El sides[] = {El(CRectangle(50, 900, 200 - g, 950)), El(CRectangle(300 + g, 0, 400, 40)),
                      El(CRectangle(0, 100, 30, 200 - g)), El(CRectangle(700, 300 + g, 800, 350))};
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(isNear ? kSides[k] : NT_NONE, DockElement::DetNeighbourType(&sides[k], &eb)) << g << " side " << k;
    }
    EXPECT_EQ(NT_NONE, DockElement::DetNeighbourType(nullptr, &eb));
    EXPECT_EQ(NT_NONE, DockElement::DetNeighbourType(&eb, nullptr));
}

TEST(DockGeometry, TouchingTestsAcceptLessThanFourPixelsOff)
{
    int w = W();
    CRectangle e(100, 100, 200, 200);
    El el(e);
    // The align names the side of the other rectangle on which e lies.
    unsigned long const aligns[] = {DockAlignRight, DockAlignLeft, DockAlignBottom, DockAlignTop};
    for (int off = -5; off <= 5; ++off) {
        bool in = off > -4 && off < 4;
        CRectangle const others[] = {CRectangle(0, 100, 100 - w + off, 200), CRectangle(200 + w + off, 100, 300, 200),
                                     CRectangle(100, 0, 200, 100 - w + off), CRectangle(100, 200 + w + off, 200, 300)};
        for (int k = 0; k < 4; ++k) {
            El o(others[k]);
            EXPECT_EQ(in ? kSides[k] : NT_NONE, el.GetNeighbourType(&o)) << off << " side " << k;
            EXPECT_EQ(el.GetNeighbourType(&o), DockElement::GetNeighbourType(others[k], e)) << "the static form";
            EXPECT_EQ(in ? aligns[k] : 0UL, DockElement::GetNeighbourAlign(e, others[k])) << off << " side " << k;
        }
    }
    EXPECT_EQ(NT_NONE, el.GetNeighbourType(nullptr));
}

TEST(DockGeometry, OuterNeighbourIsJudgedAgainstTheFreeSpace)
{
    int w = W();
    auto fs = Own(Placed<FreeSpaceElement>(CRectangle(300, 0, 700, 600)));
    auto inner = Own(Pane(CRectangle(150, 0, 300 - w, 600))); // beside the free space
    auto outer = Own(Pane(CRectangle(0, 0, 150 - w, 600)));   // left of inner
    auto innerRight = Own(Pane(CRectangle(700 + w, 0, 800, 600)));
    std::vector<DockElement *> all{fs.get(), inner.get(), outer.get(), innerRight.get()};

    EXPECT_EQ(NT_LEFT, inner->CheckIfOuterNeighbourOfEl(fs.get(), all));  // el is the free space
    EXPECT_EQ(NT_RIGHT, innerRight->CheckIfOuterNeighbourOfEl(fs.get(), all));
    EXPECT_EQ(NT_LEFT, outer->CheckIfOuterNeighbourOfEl(inner.get(), all));
    EXPECT_EQ(NT_NONE, inner->CheckIfOuterNeighbourOfEl(outer.get(), all)); // inner is not farther out
    EXPECT_EQ(NT_NONE, outer->CheckIfOuterNeighbourOfEl(fs.get(), all));    // no shared side
    std::vector<DockElement *> noFreeSpace{inner.get(), outer.get()};
    EXPECT_EQ(NT_NONE, outer->CheckIfOuterNeighbourOfEl(inner.get(), noFreeSpace));
    EXPECT_EQ(NT_NONE, outer->CheckIfOuterNeighbourOfEl(nullptr, all));
}

TEST(DockGeometry, MaxRectangleAndOrder)
{
    std::vector<DockElement *> none;
    EXPECT_EQ(CRectangle(INT_MAX, INT_MAX, 0, 0), DockElement::GetMaxRectangle(none));

    ZnDockablePane pane;
    auto a = Own(Pane(CRectangle(10, 20, 100, 200)));
    auto b = Own(Pane(CRectangle(50, 5, 300, 150)));
    FloatingPaneElement floating(&pane);
    floating.SetRect(CRectangle(-500, -500, 2000, 2000));
    HiddenPaneElement hidden(&pane, DockPosition());
    hidden.SetRect(CRectangle(-400, -400, 3000, 3000));
    std::vector<DockElement *> all{a.get(), nullptr, &floating, b.get(), &hidden};
    EXPECT_EQ(CRectangle(10, 5, 300, 200), DockElement::GetMaxRectangle(all));

    // top, then left, then area
    El p1(CRectangle(0, 10, 5, 15)), p2(CRectangle(0, 5, 100, 100)), p3(CRectangle(3, 5, 4, 6)),
        p4(CRectangle(0, 5, 10, 10)), p5(CRectangle(0, 5, 0, RECT_EMPTY));
    std::vector<El *> v{&p1, &p2, &p3, &p4, &p5};
    std::sort(v.begin(), v.end(), [](El *x, El *y) { return *x < *y; });
    std::vector<El *> expected{&p5, &p4, &p2, &p3, &p1};
    EXPECT_EQ(expected, v);
    EXPECT_FALSE(p4 < p4);
}

TEST(DockElements, AddRelationIsMutualOnceAndIgnoresFloating)
{
    int w = W();
    ZnDockablePane pane;
    auto a = Own(Pane(CRectangle(0, 0, 100, 100)));
    auto b = Own(Pane(CRectangle(100 + w, 0, 200, 100)));
    FloatingPaneElement fl(&pane);
    fl.SetRect(CRectangle(100 + w, 0, 200, 100));
    a->AddRelation(b.get(), true);
    a->AddRelation(b.get(), true); // again: no change
    a->AddRelation(&fl, true);
    fl.AddRelation(a.get(), true);
    EXPECT_EQ((Sides{{b->GetId(), NT_RIGHT}}), SidesOf(*a));
    EXPECT_EQ((Sides{{a->GetId(), NT_LEFT}}), SidesOf(*b));
    EXPECT_TRUE(fl.GetNeighbours().empty());

    auto c = Own(Pane(CRectangle(0, 100 + w, 100, 200)));
    c->AddRelation(a.get(), false);
    EXPECT_EQ((Sides{{a->GetId(), NT_TOP}}), SidesOf(*c));
    EXPECT_EQ(1u, a->GetNeighbours().size()) << "not mutual";
}

namespace {

// The caller's table of panes that the index links consult.
class PaneTable : public LinkHdl
{
public:
    std::vector<ZnDockablePane *> panes;
    int calls = 0;
    __int64 ToIndex(void *p)
    {
        ++calls;
        auto it = std::find(panes.begin(), panes.end(), static_cast<ZnDockablePane *>(p));
        return it == panes.end() ? -1 : it - panes.begin();
    }
    __int64 ToPane(void *p)
    {
        ++calls;
        auto i = reinterpret_cast<intptr_t>(p);
        return i >= 0 && size_t(i) < panes.size() ? reinterpret_cast<intptr_t>(panes[i]) : 0;
    }
};

} // namespace

TEST(DockElements, WindowIndexRoundTripThroughTheCallersTable)
{
    int w = W();
    ZnDockablePane p0, p1, p2;
    PaneTable table;
    table.panes = {&p0, &p1, &p2};
    Link toIndex(&table, &PaneTable::ToIndex), toPane(&table, &PaneTable::ToPane);

    DockPaneElement *a = Pane(CRectangle(0, 0, 100, 100), &p2);
    DockPaneElement *b = Pane(CRectangle(100 + w, 0, 200, 100), &p0);
    a->SetNDepth(1);
    b->SetNDepth(1);
    a->AddRelation(b, true);
    HolderElement h;
    h.SetChilds(a, b);
    FloatingPaneElement f(&p1);
    FreeSpaceElement gfs;

    h.WindowToIndex(toIndex);
    f.WindowToIndex(toIndex);
    gfs.WindowToIndex(toIndex);
    // neighbour copies are mapped too
    ASSERT_EQ(1u, a->GetNeighbours().size());
    EXPECT_EQ((std::vector<int>{2, 0, 1, -1, 0}), (std::vector<int>{a->GetWindowIndex(), b->GetWindowIndex(),
                                                                   f.GetWindowIndex(), gfs.GetWindowIndex(),
                                                                   a->GetNeighbours()[0]->GetWindowIndex()}));
    EXPECT_EQ(nullptr, a->GetPane());
    EXPECT_TRUE(!a->WindowsExist() && !h.WindowsExist() && gfs.WindowsExist());
    EXPECT_NE(STR_NOT_FOUND, a->GetStr().Search(", ix=2"));
    int callsAfterFirst = table.calls;
    h.WindowToIndex(toIndex); // nothing left to map
    EXPECT_EQ(callsAfterFirst, table.calls);

    h.IndexToWindow(toPane);
    f.IndexToWindow(toPane);
    EXPECT_EQ((std::vector<ZnDockablePane const *>{&p2, &p0, &p1, &p0}),
              (std::vector<ZnDockablePane const *>{a->GetPane(), b->GetPane(), f.GetPane(),
                                                   static_cast<PaneElement *>(a->GetNeighbours()[0])->GetPane()}));
    EXPECT_EQ(-1, a->GetWindowIndex());
    EXPECT_TRUE(h.WindowsExist());
}

TEST(DockElements, CopiesAndTreesLeaveNoHeapBehind)
{
    int w = W();
    ZnDockablePane pane;
    auto build = [&](bool leak) {
        std::vector<DockElement *> row;
        for (int i = 0; i < 64; ++i)
            row.push_back(Pane(CRectangle(i * (50 + w), 0, i * (50 + w) + 50, 100), &pane));
        DockElement::DetNeighboursFromRects(row);
        std::vector<DockElement *> copies;
        for (DockElement *e : row)
            copies.push_back(e->Duplicate(true));
        DockElement *root = DockElement::PutRowIntoHolders(row);
        std::unique_ptr<DockElement> dup(root->Duplicate(true));
        if (leak)
            copies.back()->Duplicate(true); // deliberately dropped
        DockElement::ClearDockElements(copies);
        DockElement::ClearDockElements(row);
        EXPECT_TRUE(row.empty());
    };
    EXPECT_TRUE(NoGrowthOnceSettled({.batch = 10}, [&] { build(false); }));
    EXPECT_FALSE(NoGrowthOnceSettled({.batch = 10}, [&] { build(true); })) << "the measure misses one dropped copy a round";
}

TEST(DockElements, RepeatedElementsAreNotOwnedTwice)
{
    int w = W();
    DockPaneElement *a = Pane(CRectangle(0, 0, 100, 100));
    DockPaneElement *b = Pane(CRectangle(100 + w, 0, 200, 100));
    // listed twice: related once, paired once
    std::vector<DockElement *> v{a, b, a, b};
    DockElement::DetNeighboursFromRects(v);
    EXPECT_TRUE(a->GetNeighbours().size() == 1 && b->GetNeighbours().size() == 1);
    std::vector<DockElement *> row{a, b, a};
    DockElement *root = DockElement::PutRowIntoHolders(row);
    ASSERT_EQ(DET_HOLDER_ELEMENT, root->GetType());
    auto *h = static_cast<HolderElement *>(root);
    EXPECT_TRUE(h->GetPLeft() == a && h->GetPRight() == b);

    // an element is never its own neighbour, not even through a copy
    std::unique_ptr<DockElement> self(a->Duplicate(false));
    EXPECT_FALSE(a->AddNeighbour(self.get()));
    DockPaneElement *thin = Pane(CRectangle(500, 500, 502, 502)); // its own edges lie within w + 1
    std::vector<DockElement *> alone{thin, thin};
    DockElement::DetNeighboursFromRects(alone);
    EXPECT_TRUE(thin->GetNeighbours().empty());

    // one child in both slots, or a holder inside itself, is not taken
    auto *twice = new HolderElement();
    twice->SetChilds(thin, thin);
    EXPECT_TRUE(twice->GetPLeft() == thin && twice->GetPRight() == nullptr);
    HolderElement loop;
    loop.SetChilds(&loop, nullptr);
    EXPECT_FALSE(loop.HasChilds());

    // an empty link leaves the pane in place
    ZnDockablePane pane;
    DockPaneElement p(&pane);
    p.WindowToIndex(Link());
    EXPECT_TRUE(p.GetPane() == &pane && p.GetWindowIndex() == -1);

    std::vector<DockElement *> owners{root, twice, root};
    DockElement::ClearDockElements(owners);
    EXPECT_TRUE(owners.empty());
}
