// Split holders: rectangles and fractions, lengths by fraction, removal of
// empty shells, and the searches that walk a tree of holders and panes.
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "docking/DockPaneElement.h"
#include "docking/FloatingPaneElement.h"
#include "docking/FreeSpaceElement.h"
#include "docking/HolderElement.h"
#include "docking/ZnDockablePane.h"
#include "tests/docking/ElementBuilders.h"

using namespace kstest;

namespace {

// Panes with names and window texts, as a frame would have them.
struct Panes
{
    ZnDockablePane p[4];
    Panes()
    {
        char const *names[] = {"A", "B", "C", "D"};
        for (int i = 0; i < 4; ++i) {
            p[i].SetInternalName(names[i]);
            p[i].SetWindowText((SString("win ") + names[i]).GetStr());
        }
    }
};

} // namespace

TEST(Holder, RectangleIsTheUnionAndTheFractionFollowsTheRule)
{
    int w = W();
    auto hor = Own(Hold(Pane(CRectangle(10, 20, 110, 70)), Pane(CRectangle(110 + w, 20, 310 + w, 80))));
    EXPECT_EQ(CRectangle(10, 20, 310 + w, 80), hor->GetRect());
    EXPECT_DOUBLE_EQ(100.0 / 300.0, hor->GetLeftFract());

    auto ver = Own(Hold(Pane(CRectangle(0, 0, 100, 300)), Pane(CRectangle(0, 300 + w, 100, 400 + w))));
    EXPECT_TRUE(!ver->IsHorizontal() && ver->GetLeftFract() == 0.75);

    // A child without a finite far edge keeps the fraction at one half.
    auto open = Own(Hold(Pane(CRectangle(0, 0, 100, RECT_EMPTY)), Pane(CRectangle(100 + w, 0, 400, 50))));
    EXPECT_DOUBLE_EQ(0.5, open->GetLeftFract());
    auto one = Own(Hold(nullptr, Pane(CRectangle(5, 5, 50, 50))));
    EXPECT_EQ(CRectangle(5, 5, 50, 50), one->GetRect());
    EXPECT_DOUBLE_EQ(0.5, one->GetLeftFract());
    HolderElement none;
    none.SetRect(CRectangle(1, 2, 3, 4));
    none.RefreshRect();
    EXPECT_EQ(CRectangle(1, 2, 3, 4), none.GetRect());
    // No room beyond the divider: no share to compute, and no division by it.
    auto thin = Own(Hold(Pane(CRectangle(0, 0, 0, 10)), Pane(CRectangle(w, 0, w, 10))));
    EXPECT_TRUE(thin->IsHorizontal() && thin->GetLeftFract() == 0.5);

    // Refreshing reaches nested holders first.
    auto outer = Own(Hold(Hold(Pane(CRectangle(0, 0, 100, 100)), Pane(CRectangle(0, 100 + w, 100, 200))),
                          Pane(CRectangle(100 + w, 0, 300, 200))));
    auto *inner = static_cast<HolderElement *>(outer->GetPLeft());
    inner->GetPLeft()->SetRect(CRectangle(0, 0, 200, 50));
    inner->GetPRight()->SetRect(CRectangle(0, 50 + w, 200, 200));
    outer->GetPRight()->SetRect(CRectangle(200 + w, 0, 300, 200));
    outer->RefreshRect();
    EXPECT_EQ(CRectangle(0, 0, 200, 200), inner->GetRect());
    EXPECT_DOUBLE_EQ(50.0 / (200.0 - w), inner->GetLeftFract());
    EXPECT_DOUBLE_EQ(200.0 / (300.0 - w), outer->GetLeftFract());
}

TEST(Holder, SideLengthsByFractionRoundHalfUp)
{
    int w = W();
    HolderElement h;
    DockPaneElement *l = Pane(CRectangle(0, 0, 100, 50));
    DockPaneElement *r = Pane(CRectangle(100 + w, 0, 200, 50));
    h.SetChilds(l, r);
    h.SetRect(CRectangle(0, 0, 301 + w, 50)); // 301 pixels to share
    h.SetLeftFract(0.5);
    EXPECT_EQ(std::pair(151, 151), std::pair(h.GetSideLenInPixel(l), h.GetSideLenInPixel(r)));
    h.SetLeftFract(0.25);
    EXPECT_EQ(std::pair(75, 226), std::pair(h.GetSideLenInPixel(l), h.GetSideLenInPixel(r))); // 75.25, 225.75
    DockPaneElement other; // not a child: half the whole extent
    EXPECT_EQ(std::pair((302 + w) / 2, (302 + w) / 2),
              std::pair(h.GetSideLenInPixel(&other), h.GetSideLenInPixel(nullptr)));
    h.SetRect(CRectangle(0, 0, w - 1, 50));
    EXPECT_EQ(0, h.GetSideLenInPixel(l));
}

TEST(Holder, ScalingToTheFractionResizesChildrenAndTellsThePane)
{
    int w = W();
    Panes p;
    // left: a pane; right: a holder of two stacked panes
    DockPaneElement *a = Pane(CRectangle(0, 0, 200, 300), &p.p[0]);
    DockPaneElement *b = Pane(CRectangle(200 + w, 0, 400 + w, 100), &p.p[1]);
    DockPaneElement *c = Pane(CRectangle(200 + w, 100 + w, 400 + w, 300), &p.p[2]);
    HolderElement *right = Hold(b, c);
    auto root = Own(Hold(a, right));
    root->SetLeftFract(0.25);
    right->SetLeftFract(0.75);
    root->ScaleChildsToFract();
    EXPECT_EQ(std::pair(100, 100), std::pair(a->GetRect().Right() - a->GetRect().Left(), p.p[0].GetSizeInContainer()));
    EXPECT_EQ(400 + w - 100 - w, right->GetRect().Right() - right->GetRect().Left());
    // the nested holder used its own (unchanged) height
    int extent = 300 - 0;
    int len = int((extent - w) * 0.75 + 0.5);
    EXPECT_EQ(std::pair(len, len), std::pair(b->GetRect().Bottom() - b->GetRect().Top(), p.p[1].GetSizeInContainer()));
    EXPECT_EQ(extent - len - w, c->GetRect().Bottom() - c->GetRect().Top());
    EXPECT_EQ(0, p.p[2].GetSizeInContainer()); // only the driving pane is told

    // a holder on the left: the right pane drives
    DockPaneElement *d = Pane(CRectangle(300 + w, 0, 500, 100), &p.p[3]);
    auto root2 = Own(Hold(Hold(Pane(CRectangle(0, 0, 300, 40)), Pane(CRectangle(0, 40 + w, 300, 100))), d));
    root2->SetLeftFract(0.5);
    root2->ScaleChildsToFract();
    int len2 = int((500 - w) * 0.5 + 0.5);
    EXPECT_EQ(std::pair(len2, len2),
              std::pair(d->GetRect().Right() - d->GetRect().Left(), p.p[3].GetSizeInContainer()));
    EXPECT_EQ(500 - len2 - w, root2->GetPLeft()->GetRect().Right() - root2->GetPLeft()->GetRect().Left());
}

TEST(Holder, OrphanShellsAreRemoved)
{
    // a holder without children answers itself
    HolderElement *empty = new HolderElement();
    EXPECT_EQ(empty, empty->RemoveOrphanShells());
    delete empty;

    // an empty holder inside is deleted; the outer then holds one child and
    // hands it over
    DockPaneElement *x = Pane(CRectangle(1, 1, 2, 2));
    HolderElement *outer = new HolderElement();
    outer->SetChilds(new HolderElement(), x);
    outer->SetNDepth(1);
    EXPECT_EQ(x, outer->RemoveOrphanShells());
    EXPECT_TRUE(x->GetParent() == nullptr && !outer->HasChilds());
    EXPECT_EQ(1, x->GetNDepth()); // it takes the holder's place
    delete outer;
    delete x;

    // a holder with one child inside is replaced by that child
    DockPaneElement *a = Pane(CRectangle());
    DockPaneElement *b = Pane(CRectangle());
    std::unique_ptr<HolderElement> root(new HolderElement());
    HolderElement *in = new HolderElement();
    in->SetChilds(a, nullptr);
    root->SetChilds(in, b);
    root->SetNDepth(0);
    EXPECT_EQ(2, a->GetNDepth());
    EXPECT_EQ(nullptr, root->RemoveOrphanShells());
    EXPECT_TRUE(root->GetPLeft() == a && root->GetPRight() == b && a->GetParent() == root.get());
    EXPECT_EQ(1, a->GetNDepth());

    // a whole tree of empty shells collapses to nothing
    HolderElement *shells = new HolderElement();
    HolderElement *s1 = new HolderElement();
    s1->SetChilds(new HolderElement(), new HolderElement());
    shells->SetChilds(s1, new HolderElement());
    EXPECT_EQ(shells, shells->RemoveOrphanShells());
    EXPECT_FALSE(shells->HasChilds());
    delete shells;

}

TEST(Holder, SearchesWalkTheTree)
{
    int w = W();
    Panes p;
    ZnDockablePane stranger;
    DockPaneElement *a = Pane(CRectangle(0, 0, 100, 100), &p.p[0]);
    DockPaneElement *b = Pane(CRectangle(0, 100 + w, 100, 200), &p.p[1]);
    DockPaneElement *c = Pane(CRectangle(100 + w, 0, 200, 200), &p.p[2]);
    HolderElement *ab = Hold(a, b);
    auto root = Own(Hold(ab, c));
    root->SetNDepth(0);

    EXPECT_EQ(SString("Holder: L(Holder: L(win A) R(win B)) R(win C)"), root->GetIdentifier());

    std::set<SString> counted{"win C"};
    EXPECT_EQ(2, root->CountWindows(counted));
    EXPECT_EQ(0, root->CountWindows(counted));
    EXPECT_EQ(3u, counted.size());

    std::set<SString> visited;
    EXPECT_EQ(c, ab->FindClosestDockPane({"win C"}, visited));
    visited.clear();
    EXPECT_EQ(b, ab->FindClosestDockPane({"win B", "win C"}, visited));
    visited.clear();
    EXPECT_EQ(nullptr, ab->FindClosestDockPane({}, visited));
    EXPECT_EQ(5u, visited.size()); // every element once, the walk ended
    visited.insert("win A");
    EXPECT_EQ(nullptr, a->FindClosestDockPane({"win A"}, visited));

    EXPECT_EQ(b, root->FindElementOfPane(&p.p[1]));
    EXPECT_TRUE(root->FindElementOfPane(&stranger) == nullptr && root->FindElementOfPane(nullptr) == nullptr);
    std::vector<DockElement *> roots{root.get()};
    EXPECT_EQ(c, DockElement::FindElementOfPane(roots, &p.p[2]));

    EXPECT_TRUE(root->FindNeighbourInHolder(a) == b && root->FindNeighbourInHolder(b) == a);
    EXPECT_EQ(nullptr, root->FindNeighbourInHolder(c)); // its partner is a holder
    std::unique_ptr<DockElement> aCopy(a->Duplicate(false));
    EXPECT_EQ(b, root->FindNeighbourInHolder(static_cast<DockPaneElement *>(aCopy.get())));

    std::vector<ZnDockablePane *> panes;
    root->FillPaneVec(panes);
    EXPECT_EQ((std::vector<ZnDockablePane *>{&p.p[0], &p.p[1], &p.p[2]}), panes);

    EXPECT_EQ((std::vector<int>{2, 1, 0, -1}),
              (std::vector<int>{root->GetDepthForPane(&p.p[1]), root->GetDepthForPane(&p.p[2]),
                                c->GetDepthForPane(&p.p[2]), root->GetDepthForPane(&stranger)}));
    EXPECT_TRUE(root->CheckPaneExists(&p.p[0]) && !root->CheckPaneExists(&stranger) && !root->CheckPaneExists(nullptr));
    EXPECT_TRUE(root->WindowsExist() && !HolderElement().WindowsExist());

    root->NotifyOfAutoHidePane(&p.p[1]);
    EXPECT_TRUE(b->IsAutoHide() && !a->IsAutoHide());
    std::set<SString> names;
    std::vector<ZnDockablePane *> hiddenPanes;
    root->CollectAutoHidePanes(names, hiddenPanes);
    root->CollectAutoHidePanes(names, hiddenPanes);
    EXPECT_EQ(std::vector<ZnDockablePane *>{&p.p[1]}, hiddenPanes);
    std::vector<DockPaneElement *> els;
    std::set<SString> seen{"win A"};
    root->FillDockPaneElementVec(els, seen);
    EXPECT_EQ((std::vector<DockPaneElement *>{b, c}), els);

    std::vector<DockElement *> mixed{new FloatingPaneElement(&p.p[3]), root->Duplicate(false), new FreeSpaceElement(),
                                     new DockPaneElement(&p.p[3])};
    EXPECT_EQ(mixed[2], DockElement::FindFreeSpaceElement(mixed));
    EXPECT_EQ(std::vector<DockPaneElement *>{static_cast<DockPaneElement *>(mixed[3])},
              DockElement::ExtractDockablePanes(mixed));
    DockElement::ClearDockElements(mixed);
    EXPECT_TRUE(mixed.empty());
    EXPECT_EQ(nullptr, DockElement::FindFreeSpaceElement(mixed));
}

TEST(Holder, ScaleRectsScalesWholeTrees)
{
    int w = W();
    std::vector<DockElement *> v{Hold(Pane(CRectangle(0, 0, 100, 100)), Pane(CRectangle(100 + w, 0, 200, 100))),
                                 Pane(CRectangle(10, 200, 50, 300))};
    DockElement::ScaleRects(Size(200, 400), Size(400, 200), v);
    auto *h = static_cast<HolderElement *>(v[0]);
    EXPECT_EQ(CRectangle(0, 0, 400, 50), h->GetRect());
    EXPECT_EQ(CRectangle(0, 0, 200, 50), h->GetPLeft()->GetRect());
    EXPECT_EQ(CRectangle(2 * (100 + w), 0, 400, 50), h->GetPRight()->GetRect());
    EXPECT_EQ(CRectangle(20, 100, 100, 150), v[1]->GetRect());
    // a zero source extent has no factor
    DockElement::ScaleRects(Size(0, 10), Size(10, 10), v);
    EXPECT_EQ(CRectangle(20, 100, 100, 150), v[1]->GetRect());
    DockElement::ClearDockElements(v);
}
