// Element records: round trips of whole trees, a hand-checked golden record,
// and hostile buffers.
#include "base/LocalSizedWrite.h"
#include "docking/DataBuffer.h"
#include "docking/DockPaneElement.h"
#include "docking/DockPosition.h"
#include "docking/FloatingPaneElement.h"
#include "docking/FreeSpaceElement.h"
#include "docking/HiddenPaneElement.h"
#include "docking/HolderElement.h"
#include "tests/docking/ElementBuilders.h"
#include "tests/docking/RecordBytes.h"
#include "tests/support/LeakLoop.h"

#include <initializer_list>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <vector>

using namespace kstest;

namespace {

std::unique_ptr<DockElement> Read(Bytes const &bytes)
{
    DataBuffer b = FromBytes(bytes);
    return std::unique_ptr<DockElement>(DockElement::CreateFromDataBuffer(b));
}

// A holder of a docked pane and a holder of a hidden pane and an absent
// right child, with neighbour copies on the panes.
std::unique_ptr<HolderElement> SampleTree()
{
    DockPaneElement *left = Pane(CRectangle(0, 0, 99, 199));
    HolderElement *inner = Hold(Placed<HiddenPaneElement>(CRectangle(106, 0, 299, 199)), nullptr);
    auto root = Own(Hold(left, inner));
    root->SetLeftFract(0.4);
    inner->SetLeftFract(0.25); // after the refresh, which recomputes nested fractions
    left->AddNeighbour(Placed<FreeSpaceElement>(CRectangle(300, 0, 399, 199)));
    return root;
}

} // namespace

TEST(DockElementRecord, TreesRoundTripByteForByte)
{
    auto tree = SampleTree();
    auto const first = Written(*tree);
    auto back = Read(first);
    ASSERT_NE(nullptr, back);
    EXPECT_EQ(DET_HOLDER_ELEMENT, back->GetType());
    EXPECT_EQ(first, Written(*back)) << "write, read, write: the same bytes";
    // Equal bytes show that types and counts survived; a lossy field that
    // reads back as it was written would not show, so values are compared too.
    auto *holder = static_cast<HolderElement *>(back.get());
    auto *inner = static_cast<HolderElement *>(holder->GetPRight());
    ASSERT_TRUE(holder->GetPLeft() && inner);
    EXPECT_DOUBLE_EQ(0.4, holder->GetLeftFract());
    EXPECT_EQ(tree->GetPLeft()->GetId(), holder->GetPLeft()->GetId());
    EXPECT_EQ(CRectangle(0, 0, 99, 199), holder->GetPLeft()->GetRect());
    EXPECT_EQ(holder, inner->GetParent());
    EXPECT_EQ(nullptr, inner->GetPRight()) << "an absent child reads back absent";

    for (DockElement *e : std::initializer_list<DockElement *>{new FloatingPaneElement, new FreeSpaceElement}) {
        std::unique_ptr<DockElement> own(e);
        e->SetRect(CRectangle(1, 2, 3, 4));
        auto bytes = Written(*e);
        auto r = Read(bytes);
        ASSERT_NE(nullptr, r);
        EXPECT_EQ(bytes, Written(*r));
    }
}

TEST(DockElementRecord, GoldenFreeSpaceRecord)
{
    FreeSpaceElement free;
    free.SetRect(CRectangle(1, 2, 3, 4));
    Bytes golden;
    auto le = [&](int x) {
        for (int i = 0; i < 4; ++i)
            golden.push_back(static_cast<unsigned char>(static_cast<unsigned>(x) >> (8 * i)));
    };
    // format 1, type free space, a section of 7 int32 and one byte
    for (int v : {1, 1, 29, 1, 2, 3, 4, static_cast<int>(free.GetNeighbourType()), free.GetId(), free.GetNDepth()})
        le(v);
    golden.push_back(0); // prefer outer dock
    le(0);               // no neighbours
    le(0);               // the free-space section, empty
    EXPECT_EQ(golden, Written(free));
}

TEST(DockElementRecord, WrongFormatsTypesAndCutsGiveNull)
{
    auto const good = Written(*SampleTree());
    for (auto [at, value] : {std::pair(0, 2), {4, 6}, {4, 0}}) { // format 2, types 6 and 0
        auto bad = good;
        bad[std::size_t(at)] = static_cast<unsigned char>(value);
        EXPECT_EQ(nullptr, Read(bad)) << at << " = " << value;
    }
    for (std::size_t cut = 0; cut < good.size(); cut += 7) {
        Bytes part(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_EQ(nullptr, Read(part)) << "cut at " << cut;
    }
}

TEST(DockElementRecord, HostileBuffersNeverCrashOrLeak)
{
    auto const good = Written(*SampleTree());
    std::vector<Bytes> const seeds{good};
    std::mt19937 rng(11);
    int accepted = 0;
    auto hostile = [&](int round) {
        Bytes b;
        if (round % 3) {
            b = Mutate(good, rng, seeds);
        } else { // random, starting like a record
            b.resize(8 + rng() % 200);
            for (auto &c : b)
                c = static_cast<unsigned char>(rng());
            b[0] = 1, b[1] = b[2] = b[3] = 0;
            b[4] = static_cast<unsigned char>(1 + rng() % 5), b[5] = b[6] = b[7] = 0;
        }
        auto e = Read(b);
        if (e) {
            ++accepted;
            auto again = Written(*e); // whatever was accepted is well formed
            auto twice = Read(again);
            ASSERT_NE(nullptr, twice);
            EXPECT_EQ(again, Written(*twice));
        }
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 20000}, hostile));
    EXPECT_GT(accepted, 0) << "some mutations only change values";
}

TEST(DockElementRecord, DeepNestingIsRefused)
{
    // A chain of 200 holders, each the left child of the next.
    DataBuffer b;
    int const depth = 200;
    for (int i = 0; i < depth; ++i) {
        b.WriteInt32(1);
        b.WriteInt32(DET_HOLDER_ELEMENT);
        {
            LocalSizedWrite s(b);
            for (int k = 0; k < 7; ++k)
                b.WriteInt32(0);
            b.WriteBool(false);
        }
        b.WriteInt32(0);     // no neighbours
        b.WriteBool(i + 1 < depth); // a left child follows
    }
    EXPECT_EQ(nullptr, Read(Contents(b)));
}
