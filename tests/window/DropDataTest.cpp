// Drop data blocks: owning and borrowing forms through copies and
// assignments (no block freed twice, none left behind), the text block's
// truncation, and filling a block from a data object.
#include "mfc/COleDataObject.h"
#include "tests/support/WindowFixture.h"
#include "window/DragDataSource.h"
#include "window/DropData.h"
#include "window/DropEvent.h"
#include "window/StringDropData.h"
#include "window/ZnOleDataSource.h"

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

class DropDataTest : public kstest::WindowFixture
{
};

// The bytes of a block, for comparing copies with their originals.
std::string Bytes(DropData const &d)
{
    return d.GetPData() ? std::string(static_cast<char const *>(d.GetPData()), size_t(d.GetNSize())) : std::string();
}

void ExpectSameData(DropData const &a, DropData const &b)
{
    EXPECT_EQ(a.GetClipboardFormat(), b.GetClipboardFormat());
    EXPECT_EQ(a.GetDropEffect(), b.GetDropEffect());
    EXPECT_EQ(a.GetNSize(), b.GetNSize());
    EXPECT_EQ(Bytes(a), Bytes(b));
    EXPECT_EQ(a.IsOwner(), b.IsOwner());
    // Owners never share a block; borrowers share the lender's.
    if (a.IsOwner())
        EXPECT_NE(a.GetPData(), b.GetPData());
    else
        EXPECT_EQ(a.GetPData(), b.GetPData());
}

TEST_F(DropDataTest, CopiesAndAssignmentsKeepOwnershipApart)
{
    char lent[] = "lent bytes";
    std::mt19937 rng(7);
    // A pool of values of both forms (and the text form) mixed by copies
    // and assignments; each step compares against what was copied, and the
    // heap walk of the leak loop would see a double free or a lost block.
    auto cycle = [&](int i) {
        std::vector<DropData> pool;
        pool.emplace_back(CF_TEXT, lent, sizeof lent, DROPEFFECT_COPY);
        pool.emplace_back(42, 1 + i % 300, DROPEFFECT_MOVE);
        std::memset(pool.back().GetPData(), 'a' + i % 26, size_t(pool.back().GetNSize()));
        pool.emplace_back(StringDropData(SString("text"), DROPEFFECT_LINK));
        pool.emplace_back(7, 0, DROPEFFECT_COPY);
        for (int k = 0; k < 12; ++k) {
            size_t const a = rng() % pool.size(), b = rng() % pool.size();
            if (rng() % 2) {
                DropData const copy(pool[b]);
                ExpectSameData(pool[b], copy);
                pool.push_back(copy);
            } else {
                DropData const before(pool[b]);
                pool[a] = pool[b];
                pool[a] = pool[a]; // self-assignment keeps the block
                ExpectSameData(before, pool[a]);
            }
        }
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 200, .bytes = true}, cycle));
    EXPECT_EQ(0u, DropData(1, nullptr, 10, 0).GetNSize()) << "nothing borrowed, nothing to read";
    EXPECT_EQ(nullptr, DropData(1, 0, 0).GetPData());
}

TEST_F(DropDataTest, TextBlocksAreCutSoTheLastByteStaysNul)
{
    struct Case
    {
        size_t len;
        size_t kept;
    };
    for (Case c : {Case{0, 0}, Case{1, 1}, Case{65532, 65532}, Case{65533, 65533}, Case{65534, 65533},
                   Case{70000, 65533}}) {
        std::string text(c.len, 'x');
        for (size_t i = 0; i < c.len; ++i)
            text[i] = char('a' + i % 23);
        StringDropData d(SString(text.c_str()), DROPEFFECT_COPY);
        ASSERT_EQ(65534u, d.GetNSize());
        EXPECT_EQ(text.substr(0, c.kept), std::string(d.GetString().GetStr())) << c.len;
        EXPECT_EQ('\0', static_cast<char const *>(d.GetPData())[65533]) << c.len;
        // A copy of the longest keeps the cut, in its own block.
        StringDropData copy(d);
        EXPECT_EQ(d.GetString().Len(), copy.GetString().Len());
        // A shorter text over a longer one leaves no tail behind.
        d.CopyFrom(SString("short"));
        EXPECT_EQ("short", std::string(d.GetString().GetStr()));
        EXPECT_EQ(text.substr(0, c.kept), std::string(copy.GetString().GetStr()));
    }
    StringDropData dflt;
    EXPECT_EQ(DWORD(DROPEFFECT_COPY), dflt.GetDropEffect());
    EXPECT_EQ(CF_TEXT, dflt.GetClipboardFormat());
    EXPECT_EQ("", std::string(dflt.GetString().GetStr()));
    dflt.CopyFrom(static_cast<void *>(nullptr));
    EXPECT_EQ("", std::string(dflt.GetString().GetStr()));
}

TEST_F(DropDataTest, FillingFromADataObjectCopiesAtMostTheBlock)
{
    // Sources whose blocks are shorter, equal and longer than the target.
    for (size_t have : {size_t(3), size_t(8), size_t(20)}) {
        std::string bytes(have, '\0');
        for (size_t i = 0; i < have; ++i)
            bytes[i] = char('A' + i);
        DragDataSource source;
        DropData(55, bytes.data(), bytes.size(), DROPEFFECT_COPY).CopyToDataSource(source);
        COleDataObject obj;
        obj.Attach(source.GetPDataSource(), false);
        DropEvent e(Point(3, 4), &obj);
        EXPECT_TRUE(e.HasClipboardFormat(55));
        EXPECT_FALSE(e.HasClipboardFormat(56));
        EXPECT_FALSE(e.HasClipboardFormat(0x10000)) << "not a format";
        DropData d(55, 8, DROPEFFECT_COPY);
        ASSERT_TRUE(e.FillDropData(d));
        std::string expect = bytes.substr(0, 8);
        expect.resize(8, '\0');
        EXPECT_EQ(expect, Bytes(d)) << have;
        DropData other(56, 8, DROPEFFECT_COPY);
        EXPECT_FALSE(e.FillDropData(other));
    }
    DropData d(55, 8, DROPEFFECT_COPY);
    EXPECT_FALSE(DropEvent(Point(), nullptr).FillDropData(d));
    EXPECT_FALSE(DropEvent(Point(), nullptr).HasFileNames());
}

} // namespace
