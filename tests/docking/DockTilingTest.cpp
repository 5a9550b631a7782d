// Neighbour detection and row building on generated tilings; expectations
// come from the construction, not from the classifiers under test.
#include <algorithm>
#include <bit>
#include <map>
#include <random>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "docking/DockPaneElement.h"
#include "docking/HiddenPaneElement.h"
#include "docking/HolderElement.h"
#include "tests/docking/ElementBuilders.h"

using namespace kstest;

namespace {

struct Tile { int l, t, r, b; }; // the platform's numbers: a divider of w pixels lies between r and the next l

// Cuts lie on a grid of 4w: two edges are either one divider apart or clearly apart.
void Split(Tile const &t, int depth, std::mt19937 &rng, std::vector<Tile> &out)
{
    int w = W(), grid = 4 * w;
    auto cuts = [grid](int lo, int hi, int &first) { // the number of places for a cut
        first = (lo + 3 * grid - 1) / grid * grid;
        int last = (hi - 2 * grid) / grid * grid;
        return last >= first ? (last - first) / grid + 1 : 0;
    };
    int fv, fh, nv = cuts(t.l, t.r, fv), nh = cuts(t.t, t.b, fh);
    if (depth == 0 || (nv == 0 && nh == 0) || rng() % 7 == 0)
        return out.push_back(t);
    if (nv > 0 && (nh == 0 || rng() % 2 == 0)) {
        int cut = fv + grid * int(rng() % unsigned(nv));
        Split(Tile{t.l, t.t, cut, t.b}, depth - 1, rng, out);
        Split(Tile{cut + w, t.t, t.r, t.b}, depth - 1, rng, out);
    } else {
        int cut = fh + grid * int(rng() % unsigned(nh));
        Split(Tile{t.l, t.t, t.r, cut}, depth - 1, rng, out);
        Split(Tile{t.l, cut + w, t.r, t.b}, depth - 1, rng, out);
    }
}

// The side of a on which b lies when they share a stretch of one divider,
// with the contact of their facing sides; NT_NONE when they share none.
std::pair<NeighbourType, NeighbourContactType> SharedEdge(Tile const &a, Tile const &b)
{
    int w = W();
    auto contact = [](int a1, int a2, int b1, int b2) {
        int flush = (a1 == b1) + (a2 == b2);
        return flush == 2 ? NCT_EQUAL_SIDE : flush == 1 ? NCT_JUSTIFIED_SIDE : NCT_TOUCHING_SIDE;
    };
    bool yOverlap = std::max(a.t, b.t) < std::min(a.b, b.b), xOverlap = std::max(a.l, b.l) < std::min(a.r, b.r);
    auto const across = contact(a.t, a.b, b.t, b.b), along = contact(a.l, a.r, b.l, b.r);
    return yOverlap && b.l == a.r + w   ? std::pair(NT_RIGHT, across)
           : yOverlap && a.l == b.r + w ? std::pair(NT_LEFT, across)
           : xOverlap && b.t == a.b + w ? std::pair(NT_BOTTOM, along)
           : xOverlap && a.t == b.b + w ? std::pair(NT_TOP, along)
                                        : std::pair(NT_NONE, NCT_NONE);
}

// Facing sides on one divider line without a common stretch also count.
bool OnOneDividerLine(Tile const &a, Tile const &b)
{
    return b.l == a.r + W() || a.l == b.r + W() || b.t == a.b + W() || a.t == b.b + W();
}

} // namespace

TEST(DockTiling, NeighboursOfGeneratedTilings)
{
    std::mt19937 rng(12);
    int sharedPairs = 0, linePairs = 0;
    for (int round = 0; round < 150; ++round) {
        std::vector<Tile> tiles;
        int width = 4 * W() * (8 + int(rng() % 60)), height = 4 * W() * (8 + int(rng() % 40));
        Split(Tile{0, 0, width, height}, 1 + int(rng() % 6), rng, tiles);
        size_t n = tiles.size();

        // Some tiles are hidden panes: they keep their rectangle but take no
        // part in the detection. byRelation gets the relations pair by pair.
        std::vector<DockElement *> els, byRelation;
        std::vector<bool> hidden(n);
        for (size_t i = 0; i < n; ++i) {
            hidden[i] = rng() % 9 == 0;
            CRectangle const r(tiles[i].l, tiles[i].t, tiles[i].r, tiles[i].b);
            els.push_back(hidden[i] ? static_cast<DockElement *>(Placed<HiddenPaneElement>(r)) : Pane(r));
            byRelation.push_back(els[i]->Duplicate(false));
        }
        DockElement::DetNeighboursFromRects(els);
        for (size_t i = 0; i < n; ++i)
            for (size_t j = 0; j < n; ++j)
                if (i != j && !hidden[i] && !hidden[j])
                    byRelation[i]->AddRelation(byRelation[j], false);

        for (size_t i = 0; i < n; ++i) {
            auto const seq = SidesOf(*els[i]);
            std::map<int, NeighbourType> const list(seq.begin(), seq.end());
            EXPECT_EQ(seq.size(), list.size()) << "a neighbour listed twice";
            EXPECT_EQ(seq, SidesOf(*byRelation[i])) << "round " << round << " tile " << i; // same order too
            EXPECT_TRUE(!hidden[i] || list.empty());
            for (size_t j = 0; j < n && !hidden[i]; ++j) {
                auto [side, contact] = SharedEdge(tiles[i], tiles[j]);
                auto found = list.find(els[j]->GetId());
                if (j == i || hidden[j]) {
                    EXPECT_TRUE(found == list.end());
                } else if (side != NT_NONE) {
                    ++sharedPairs;
                    ASSERT_TRUE(found != list.end()) << "round " << round << ": " << i << " misses " << j;
                    EXPECT_EQ(side, found->second) << "round " << round << ": " << i << " / " << j;
                    // DetContactType takes el's side against other: the inverse of where other lies.
                    EXPECT_EQ(contact, DockElement::DetContactType(els[i], els[j]));
                    EXPECT_EQ(contact, DockElement::DetContactType(els[j], els[i]));
                    EXPECT_EQ(DockElement::InvertNeighbourType(side), els[j]->GetNeighbourType(els[i]));
                } else if (found != list.end()) {
                    ++linePairs;
                    EXPECT_TRUE(OnOneDividerLine(tiles[i], tiles[j]))
                        << "round " << round << ": " << i << " and " << j << " share no divider";
                }
            }
        }
        DockElement::ClearDockElements(els);
        DockElement::ClearDockElements(byRelation);
    }
    // The generator must have produced both kinds for the checks to mean much.
    EXPECT_GT(sharedPairs, 1000);
    EXPECT_GT(linePairs, 50);
}

TEST(DockTiling, EdgeSearchAgreesWithAllPairsOnCrowdedRectangles)
{
    // Small coordinates put many edges within the tolerance of each other,
    // on both sides of its bounds; some rectangles have no far edge. The
    // oracle is the all-pairs loop the search replaces.
    int w = W();
    long long tol = w + 1;
    std::mt19937 rng(8);
    auto coord = [&] { return int(rng() % 80) - 10; };
    for (int round = 0; round < 300; ++round) {
        size_t n = 1 + rng() % 40;
        std::vector<DockElement *> els, oracle;
        for (size_t i = 0; i < n; ++i) {
            int l = coord(), t = coord();
            int r = rng() % 10 == 0 ? RECT_EMPTY : l + int(rng() % 30);
            int b = rng() % 10 == 0 ? RECT_EMPTY : t + int(rng() % 30);
            els.push_back(Pane(CRectangle(l, t, r, b)));
            oracle.push_back(els.back()->Duplicate(false));
        }
        DockElement::DetNeighboursFromRects(els);
        auto d = [](long long x, long long y) { return x > y ? x - y : y - x; };
        for (size_t i = 0; i < n; ++i)
            for (size_t j = i + 1; j < n; ++j) {
                CRectangle const &ra = oracle[i]->GetRect(), &rb = oracle[j]->GetRect();
                NeighbourType code = d(rb.Left(), ra.Right()) <= tol   ? NT_LEFT
                                     : d(ra.Left(), rb.Right()) <= tol ? NT_RIGHT
                                     : d(ra.Bottom(), rb.Top()) <= tol ? NT_TOP
                                     : d(rb.Bottom(), ra.Top()) <= tol ? NT_BOTTOM
                                                                       : NT_NONE;
                if (code == NT_NONE)
                    continue;
                DockElement *ca = oracle[j]->Duplicate(false), *cb = oracle[i]->Duplicate(false);
                ca->SetNeighbourType(DockElement::InvertNeighbourType(code));
                cb->SetNeighbourType(code);
                ASSERT_TRUE(oracle[i]->AddNeighbour(ca));
                ASSERT_TRUE(oracle[j]->AddNeighbour(cb));
            }
        for (size_t i = 0; i < n; ++i)
            ASSERT_EQ(SidesOf(*oracle[i]), SidesOf(*els[i])) << "round " << round << " element " << i;
        DockElement::ClearDockElements(els);
        DockElement::ClearDockElements(oracle);
    }
}

namespace {

// Checks links, depths, bounding boxes and fractions; collects the leaves
// in order and the height.
int Walk(DockElement *e, HolderElement *parent, std::vector<DockElement *> &leaves, int w)
{
    EXPECT_EQ(parent, e->GetParent());
    EXPECT_TRUE(!parent || parent->GetNDepth() + 1 == e->GetNDepth());
    if (e->GetType() != DET_HOLDER_ELEMENT)
        return leaves.push_back(e), 0;
    auto *h = static_cast<HolderElement *>(e);
    if (!h->GetPLeft() || !h->GetPRight())
        return ADD_FAILURE() << "a holder misses a child", 0;
    int const left = Walk(h->GetPLeft(), h, leaves, w); // left first: the leaves' order counts
    int const height = 1 + std::max(left, Walk(h->GetPRight(), h, leaves, w));
    CRectangle const &l = h->GetPLeft()->GetRect(), &r = h->GetPRight()->GetRect(), &hr = h->GetRect();
    EXPECT_EQ(CRectangle(std::min(l.Left(), r.Left()), std::min(l.Top(), r.Top()), std::max(l.Right(), r.Right()),
                         std::max(l.Bottom(), r.Bottom())),
              hr);
    // the left child's share of the extent beyond one divider
    bool hor = hr.Top() == l.Top() && hr.Bottom() == l.Bottom() && l.Right() + w == r.Left();
    double expected = hor ? double(l.Right() - l.Left()) / double(hr.Right() - hr.Left() - w)
                          : double(l.Bottom() - l.Top()) / double(hr.Bottom() - hr.Top() - w);
    EXPECT_EQ(hor, h->IsHorizontal());
    EXPECT_NEAR(expected, h->GetLeftFract(), 1e-12);
    return height;
}

} // namespace

TEST(DockTiling, RowsBecomeBalancedHolderTrees)
{
    int w = W();
    std::mt19937 rng(5);
    for (int n = 0; n <= 70; ++n) {
        for (bool across : {true, false}) {
            std::vector<DockElement *> row;
            int pos = 0;
            for (int i = 0; i < n; ++i) {
                int len = 20 + int(rng() % 200);
                auto *e = Pane(across ? CRectangle(pos, 0, pos + len, 300) : CRectangle(0, pos, 300, pos + len));
                e->SetNDepth(1);
                pos += len + w;
                row.push_back(e);
            }
            std::vector<DockElement *> original = row;
            DockElement *root = DockElement::PutRowIntoHolders(row);
            if (n == 0) {
                EXPECT_TRUE(root == nullptr && row.empty());
                continue;
            }
            ASSERT_EQ(std::vector<DockElement *>{root}, row);
            EXPECT_TRUE(n > 1 || original[0] == root);
            EXPECT_EQ(1, root->GetNDepth()); // the tree takes the row's place
            std::vector<DockElement *> leaves;
            EXPECT_EQ(int(std::bit_width(unsigned(n - 1))), Walk(root, nullptr, leaves, w)) << n; // ceil(log2 n)
            EXPECT_EQ(original, leaves) << n; // the order along the row is kept
            delete root;
        }
    }
}

namespace {

DockPosition Sized(int cx, int cy, Point pos = Point(-1, -1))
{
    DockPosition p;
    p.SetSize(Size(cx, cy));
    p.SetPos(pos);
    return p;
}

} // namespace

TEST(DockTiling, RowsLaidOutFromStoredPositions)
{
    int w = W();
    std::vector<DockElement *> row{new DockPaneElement(), nullptr, new DockPaneElement(), new DockPaneElement()};
    row[3]->SetRect(CRectangle(0, 0, 50, 300)); // no stored size: its own extent counts
    std::vector<DockPosition> pos{Sized(90, 100), Sized(1, 1), Sized(0, 200)};

    // Down a left side: the stored heights fill the height exactly.
    DockElement::SetRowRects(row, NT_LEFT, pos, Point(10, 20), Size(150, 100 + 200 + 300 + 2 * w));
    EXPECT_EQ(CRectangle(10, 20, 160, 120), row[0]->GetRect());
    EXPECT_EQ(CRectangle(10, 120 + w, 160, 320 + w), row[2]->GetRect());
    EXPECT_EQ(CRectangle(10, 320 + 2 * w, 160, 620 + 2 * w), row[3]->GetRect());

    // Across a bottom side, twice the room: the widths are scaled.
    pos[2] = Sized(200, 0);
    row[3]->SetRect(CRectangle(0, 0, 100, 10));
    DockElement::SetRowRects(row, NT_BOTTOM, pos, Point(0, 500), Size(2 * 390 + 2 * w, 80));
    EXPECT_EQ(CRectangle(0, 500, 180, 580), row[0]->GetRect());
    EXPECT_EQ(CRectangle(180 + w, 500, 580 + w, 580), row[2]->GetRect());
    EXPECT_EQ(CRectangle(580 + 2 * w, 500, 780 + 2 * w, 580), row[3]->GetRect());

    row.erase(row.begin() + 1);
    pos.erase(pos.begin() + 1);
    pos[1] = Sized(200, 200, Point(300, 40)); // the first set position is where the row starts
    row[2]->SetRect(CRectangle(0, 0, 100, 10));
    DockElement *root = DockElement::PutRowIntoHolders(row, pos, NT_RIGHT);
    ASSERT_EQ(DET_HOLDER_ELEMENT, root->GetType());
    auto *h = static_cast<HolderElement *>(root);
    auto *inner = static_cast<HolderElement *>(h->GetPLeft());
    // heights 100, 200 and the third's own 10; width the widest stored, 200
    EXPECT_EQ(CRectangle(300, 40, 500, 140), inner->GetPLeft()->GetRect());
    EXPECT_EQ(CRectangle(300, 140 + w, 500, 340 + w), inner->GetPRight()->GetRect());
    EXPECT_EQ(CRectangle(300, 340 + 2 * w, 500, 350 + 2 * w), h->GetPRight()->GetRect());
    EXPECT_FALSE(h->IsHorizontal());
    EXPECT_DOUBLE_EQ(100.0 / 300.0, inner->GetLeftFract());
    EXPECT_DOUBLE_EQ((300.0 + w) / (310.0 + w), h->GetLeftFract());
    delete root;

    std::vector<DockElement *> empty;
    EXPECT_EQ(nullptr, DockElement::PutRowIntoHolders(empty, pos, NT_TOP));
    DockElement::SetRowRects(empty, NT_TOP, pos, Point(), Size(10, 10));
}
