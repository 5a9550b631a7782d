// DataBuffer and the section scope classes: the byte format of every stored
// type written out by hand, the cursor, short and refused reads, sections
// with their nesting limit and skipping, the write jump, and a differential
// run of random typed reads against a plain model of the format.
#include "base/LocalSizedRead.h"
#include "base/LocalSizedWrite.h"
#include "base/LocalWriteJump.h"
#include "docking/DataBuffer.h"
#include "tests/support/LeakCounters.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Contents(DataBuffer const &b)
{
    return Bytes(b.GetData(), b.GetData() + b.GetSize());
}

// Appends v as 4 little-endian bytes, the way a reader of the format would.
void Le32(Bytes &out, unsigned int v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes r;
    for (Bytes const &p : parts)
        r.insert(r.end(), p.begin(), p.end());
    return r;
}

Bytes U32(unsigned int v)
{
    Bytes b;
    Le32(b, v);
    return b;
}

DataBuffer FromBytes(Bytes const &b)
{
    return DataBuffer(b.data(), static_cast<unsigned long>(b.size()));
}

} // namespace

TEST(DataBufferFormat, EveryStoredTypeHasItsDocumentedBytes)
{
    DataBuffer b;
    b.WriteInt32(-2);
    b.WriteAlign(0x8000);
    b.WriteBool(true);
    b.WriteBool(false);
    b.WriteDouble(1.5);
    b.WriteSize(Size(3, 0x01020304));
    b.WritePoint(Point(-1, 7));
    b.WriteRect(CRectangle(1, 2, 300, RECT_EMPTY));
    b.WriteString(SString("ab"));
    b.WriteString(SString());

    Bytes expected = {
        0xFE, 0xFF, 0xFF, 0xFF,                         // int32 -2
        0x00, 0x80, 0x00, 0x00,                         // align 0x8000
        0x01, 0x00,                                     // bools
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0x3F, // 1.5, IEEE little-endian
        0x03, 0x00, 0x00, 0x00, 0x04, 0x03, 0x02, 0x01, // cx, cy
        0xFF, 0xFF, 0xFF, 0xFF, 0x07, 0x00, 0x00, 0x00, // x, y
        0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, // left, top
        0x2C, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, // right 300, bottom EMPTY
        0x02, 0x00, 0x00, 0x00, 'a', 'b',               // "ab" without terminator
        0x00, 0x00, 0x00, 0x00,                         // ""
    };
    EXPECT_EQ(Contents(b), expected);
    EXPECT_EQ(b.GetPos(), expected.size());

    DataBuffer r = FromBytes(expected);
    EXPECT_EQ(r.ReadInt32(), -2);
    EXPECT_EQ(r.ReadAlign(), 0x8000ul);
    EXPECT_TRUE(r.ReadBool());
    EXPECT_FALSE(r.ReadBool());
    EXPECT_EQ(r.ReadDouble(), 1.5);
    EXPECT_EQ(r.ReadSize(), Size(3, 0x01020304));
    EXPECT_EQ(r.ReadPoint(), Point(-1, 7));
    EXPECT_EQ(r.ReadRect(), CRectangle(1, 2, 300, RECT_EMPTY));
    EXPECT_EQ(r.ReadString(), SString("ab"));
    EXPECT_TRUE(r.ReadString().IsEmpty());
    EXPECT_EQ(r.GetRemaining(), 0ul);
    EXPECT_TRUE(r.IsGood());
}

TEST(DataBufferFormat, TextsKeepEmbeddedZerosAndHighBytes)
{
    char const raw[] = {'x', '\0', 'y', '\xFF', '\x80'};
    SString s(raw, 0, sizeof raw, true);
    ASSERT_EQ(s.Len(), 5);
    DataBuffer b;
    b.WriteString(s);
    EXPECT_EQ(b.GetSize(), 9ul);
    b.SetPos(0);
    SString back = b.ReadString();
    EXPECT_EQ(back.Len(), 5);
    EXPECT_EQ(std::memcmp(back.GetStr(), raw, 5), 0);
}

TEST(DataBufferFormat, AnyNonZeroByteReadsAsTrue)
{
    Bytes bytes = {0x00, 0x01, 0x02, 0xFF};
    DataBuffer b = FromBytes(bytes);
    EXPECT_FALSE(b.ReadBool());
    EXPECT_TRUE(b.ReadBool());
    EXPECT_TRUE(b.ReadBool());
    EXPECT_TRUE(b.ReadBool());
}

TEST(DataBufferBytes, ConstructedBytesAreACopyThatOutlivesTheSource)
{
    DataBuffer b;
    {
        Bytes src = Cat({U32(7), U32(9)});
        b.SetData(src.data(), static_cast<unsigned long>(src.size()));
        src.assign(src.size(), 0xEE);
    }
    EXPECT_EQ(b.GetSize(), 8ul);
    EXPECT_EQ(b.GetPos(), 0ul);
    EXPECT_EQ(b.ReadInt32(), 7);
    EXPECT_EQ(b.ReadInt32(), 9);

    DataBuffer copy(b);
    copy.SetPos(0);
    copy.WriteInt32(100);
    EXPECT_EQ(b.GetData()[0], 7) << "a copy must not share the bytes";
    DataBuffer moved(std::move(copy));
    EXPECT_EQ(moved.GetData()[0], 100);
    EXPECT_EQ(copy.GetSize(), 0ul);

    b.Clear();
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_EQ(b.ReadInt32(), 0);
}

TEST(DataBufferBytes, WritesOverwriteAtTheCursorAndGrowOnlyAtTheEnd)
{
    DataBuffer b;
    b.WriteInt32(1);
    b.WriteInt32(2);
    b.WriteInt32(3);
    ASSERT_TRUE(b.SetPos(4));
    b.WriteInt32(20);
    EXPECT_EQ(b.GetSize(), 12ul);
    ASSERT_TRUE(b.SetPos(10));
    b.WriteInt32(0x44434241);
    EXPECT_EQ(b.GetSize(), 14ul);
    EXPECT_EQ(Contents(b), Cat({U32(1), U32(20), Bytes{3, 0, 'A', 'B', 'C', 'D'}}));

    EXPECT_TRUE(b.SetPos(14));
    EXPECT_FALSE(b.SetPos(15));
    EXPECT_EQ(b.GetPos(), 14ul);
}

TEST(DataBufferShortReads, YieldZeroOrEmptyAndLeaveTheRestUnreadable)
{
    Bytes bytes = Cat({U32(5), Bytes{1, 2, 3}});
    {
        DataBuffer b = FromBytes(bytes);
        EXPECT_EQ(b.ReadInt32(), 5);
        EXPECT_EQ(b.ReadInt32(), 0);
        EXPECT_EQ(b.GetFailCount(), 1ul);
        EXPECT_EQ(b.GetPos(), b.GetSize());
        EXPECT_FALSE(b.ReadBool()) << "nothing after a short read may be taken";
        EXPECT_EQ(b.GetFailCount(), 2ul);
        b.ClearFailures();
        EXPECT_TRUE(b.IsGood());
    }
    {
        DataBuffer b = FromBytes(bytes);
        b.SetPos(4);
        EXPECT_EQ(b.ReadDouble(), 0.0);
        b.SetPos(0);
        EXPECT_EQ(b.ReadSize(), Size()) << "a value half in the data is not half taken";
        b.SetPos(0);
        EXPECT_EQ(b.ReadRect(), CRectangle());
        EXPECT_EQ(b.GetFailCount(), 3ul);
    }
    {
        // The length says 5, only 3 bytes follow.
        DataBuffer b = FromBytes(bytes);
        EXPECT_TRUE(b.ReadString().IsEmpty());
        EXPECT_EQ(b.GetFailCount(), 1ul);
    }
    {
        DataBuffer b = FromBytes(bytes);
        unsigned char out[8] = {9, 9, 9, 9, 9, 9, 9, 9};
        EXPECT_FALSE(b.ReadBytes(out, 8));
        EXPECT_EQ(out[0], 9) << "a failed read leaves the target alone";
        b.SetPos(4);
        EXPECT_TRUE(b.ReadBytes(out, 3));
        EXPECT_EQ(out[2], 3);
    }
}

TEST(DataBufferShortReads, LengthsBeyondTheSingleReadLimitAreRefusedWithoutAllocating)
{
    // The length fields claim more than the limit; a reader that trusted them
    // would allocate or copy a quarter of a gigabyte.
    for (unsigned int len : {0xFF00001u, 0xFFFFFFFFu, 0x80000000u}) {
        DataBuffer b = FromBytes(Cat({U32(len), U32(1), U32(2)}));
        kstest::HeapUsage before = kstest::CurrentHeapUsage();
        EXPECT_TRUE(b.ReadString().IsEmpty());
        kstest::HeapUsage after = kstest::CurrentHeapUsage();
        EXPECT_LT(after.bytes, before.bytes + 4096);
        EXPECT_EQ(b.GetFailCount(), 1ul);
        EXPECT_EQ(b.GetPos(), b.GetSize());
    }
}

TEST(DataBufferShortReads, TheSingleReadLimitHoldsEvenWhenTheBytesExist)
{
    // One byte over the limit, with all of it present: only the limit can
    // refuse this read. The exact limit is still allowed.
    unsigned long const n = DATABUFFER_MAX_READ + 1;
    std::vector<unsigned char> chunk(1 << 20, 0x5A);
    DataBuffer b;
    b.Reserve(n);
    for (unsigned long done = 0; done < n;) {
        unsigned long step = n - done < chunk.size() ? n - done : static_cast<unsigned long>(chunk.size());
        b.WriteBytes(chunk.data(), step);
        done += step;
    }
    ASSERT_EQ(b.GetSize(), n);
    std::vector<unsigned char> out(n, 0);
    b.SetPos(0);
    EXPECT_FALSE(b.ReadBytes(out.data(), n));
    EXPECT_EQ(out[0], 0);
    b.SetPos(0);
    b.ClearFailures();
    EXPECT_TRUE(b.ReadBytes(out.data(), DATABUFFER_MAX_READ));
    EXPECT_EQ(out[DATABUFFER_MAX_READ - 1], 0x5A);
    EXPECT_TRUE(b.IsGood());
}

TEST(DataBufferSections, LengthCountsTheBytesAfterThePlaceholder)
{
    DataBuffer b;
    b.WriteInt32(0x11);
    {
        LocalSizedWrite outer(b);
        EXPECT_TRUE(outer.IsOpen());
        b.WriteBool(true);
        {
            LocalSizedWrite inner(b);
            b.WriteString(SString("q"));
        }
        b.WriteInt32(-1);
    }
    b.WriteBool(true);
    Bytes inner = Cat({U32(5), U32(1), Bytes{'q'}});
    Bytes expected = Cat({U32(0x11), U32(1 + 4 + 5 + 4), Bytes{1}, inner, U32(0xFFFFFFFF), Bytes{1}});
    EXPECT_EQ(Contents(b), expected);
    EXPECT_EQ(b.GetSectionDepth(), 0);
}

TEST(DataBufferSections, ReadsStopAtTheSectionEndAndClosingSkipsTheRest)
{
    // A newer writer appended two fields this reader does not know.
    Bytes bytes = Cat({U32(12), U32(7), U32(8), U32(9), U32(42)});
    DataBuffer b = FromBytes(bytes);
    {
        LocalSizedRead section(b);
        EXPECT_EQ(b.ReadInt32(), 7);
        EXPECT_EQ(b.GetRemaining(), 8ul);
    }
    EXPECT_EQ(b.ReadInt32(), 42);
    EXPECT_TRUE(b.IsGood());

    // An older writer: the section ends before the fields this reader wants.
    DataBuffer old = FromBytes(Cat({U32(4), U32(7), U32(42)}));
    {
        LocalSizedRead section(old);
        EXPECT_EQ(old.ReadInt32(), 7);
        EXPECT_EQ(old.ReadInt32(), 0) << "a read must not run into the next record";
        EXPECT_TRUE(old.ReadString().IsEmpty());
    }
    EXPECT_EQ(old.ReadInt32(), 42);
    EXPECT_EQ(old.GetFailCount(), 2ul);
}

TEST(DataBufferSections, AnInnerLengthBeyondItsOuterSectionIsCutThere)
{
    // Outer section of 8 bytes whose inner section claims 100.
    Bytes bytes = Cat({U32(8), U32(100), U32(7), U32(42)});
    DataBuffer b = FromBytes(bytes);
    {
        LocalSizedRead outer(b);
        {
            LocalSizedRead inner(b);
            EXPECT_EQ(b.GetFailCount(), 1ul);
            EXPECT_EQ(b.ReadInt32(), 7);
            EXPECT_EQ(b.GetRemaining(), 0ul);
        }
        EXPECT_EQ(b.GetPos(), 12ul);
    }
    EXPECT_EQ(b.ReadInt32(), 42);

    // A length past the data at the top level.
    DataBuffer t = FromBytes(Cat({U32(0x7FFFFFFF), U32(7)}));
    {
        LocalSizedRead s(t);
        EXPECT_EQ(t.ReadInt32(), 7);
    }
    EXPECT_EQ(t.GetPos(), t.GetSize());
    EXPECT_EQ(t.GetFailCount(), 1ul);
}

TEST(DataBufferSections, TheNinthLevelGoesWithoutALengthOnBothSides)
{
    DataBuffer b;
    {
        std::vector<LocalSizedWrite *> open;
        for (int i = 0; i < 9; ++i) {
            open.push_back(new LocalSizedWrite(b));
            b.WriteBool(true);
        }
        EXPECT_FALSE(open.back()->IsOpen());
        EXPECT_TRUE(open[7]->IsOpen());
        EXPECT_EQ(b.GetSectionDepth(), DATABUFFER_MAX_DEPTH);
        while (!open.empty()) {
            delete open.back();
            open.pop_back();
        }
    }
    // Eight placeholders and nine bools; the innermost opened section holds
    // its own bool and the ninth one's.
    ASSERT_EQ(b.GetSize(), 8ul * 4 + 9);
    Bytes bytes = Contents(b);
    for (int level = 0; level < 8; ++level) {
        unsigned int len;
        std::memcpy(&len, bytes.data() + level * 5, 4);
        EXPECT_EQ(len, static_cast<unsigned>((7 - level) * 5 + 2)) << "level " << level;
    }

    b.SetPos(0);
    std::vector<LocalSizedRead *> open;
    for (int i = 0; i < 9; ++i) {
        open.push_back(new LocalSizedRead(b));
        EXPECT_TRUE(b.ReadBool()) << "level " << i;
    }
    EXPECT_FALSE(open.back()->IsOpen());
    while (!open.empty()) {
        delete open.back();
        open.pop_back();
    }
    EXPECT_EQ(b.GetPos(), b.GetSize());
    EXPECT_TRUE(b.IsGood());
}

TEST(DataBufferJump, PatchesAnEarlierValueAndComesBack)
{
    DataBuffer b;
    b.WriteInt32(0x55);
    unsigned long countAt = b.GetPos();
    b.WriteInt32(0);
    for (int i = 0; i < 3; ++i)
        b.WriteInt32(i);
    unsigned long end = b.GetPos();
    {
        LocalWriteJump jump(b, static_cast<int>(countAt));
        EXPECT_TRUE(jump.IsValid());
        EXPECT_EQ(b.GetPos(), countAt);
        b.WriteInt32(3);
    }
    EXPECT_EQ(b.GetPos(), end);
    b.WriteInt32(0x66);
    EXPECT_EQ(Contents(b), Cat({U32(0x55), U32(3), U32(0), U32(1), U32(2), U32(0x66)}));
}

TEST(DataBufferJump, APositionOutsideTheDataIsRefused)
{
    DataBuffer b;
    b.WriteInt32(1);
    for (int pos : {-1, 5, 0x7FFFFFFF}) {
        LocalWriteJump jump(b, pos);
        EXPECT_FALSE(jump.IsValid()) << pos;
        EXPECT_EQ(b.GetPos(), 4ul);
    }
    EXPECT_EQ(b.GetPos(), 4ul);
    {
        // At the end is inside: a jump there appends, and the cursor
        // returns to where it stood, not to the new end.
        b.SetPos(0);
        LocalWriteJump jump(b, 4);
        EXPECT_TRUE(jump.IsValid());
        b.WriteInt32(2);
    }
    EXPECT_EQ(b.GetPos(), 0ul);
    EXPECT_EQ(b.GetSize(), 8ul);
}

// A model of the format on a plain vector: the typed reads of the buffer,
// sections included, must give exactly what it gives, on random bytes.
namespace {

struct ModelReader
{
    explicit ModelReader(Bytes const &bytes) : d(bytes) {}
    Bytes const &d;
    std::size_t pos = 0;
    std::vector<std::size_t> ends;
    std::vector<bool> opened;
    bool failed = false;

    std::size_t Bound() const { return ends.empty() ? d.size() : ends.back(); }
    bool Take(std::size_t n)
    {
        if (pos <= Bound() && n <= Bound() - pos)
            return true;
        pos = std::max(pos, Bound());
        failed = true;
        return false;
    }
    long long U32()
    {
        if (!Take(4))
            return 0;
        unsigned int v = d[pos] | d[pos + 1] << 8 | d[pos + 2] << 16 | unsigned(d[pos + 3]) << 24;
        pos += 4;
        return v;
    }
    void Open()
    {
        if (ends.size() >= 8) {
            opened.push_back(false);
            return;
        }
        long long len = U32();
        std::size_t end = pos + std::size_t(len);
        if (std::size_t(len) > Bound() - std::min(pos, Bound())) {
            failed = true;
            end = std::max(pos, Bound());
        }
        ends.push_back(end);
        opened.push_back(true);
    }
    void Close()
    {
        if (opened.back()) {
            pos = ends.back();
            ends.pop_back();
        }
        opened.pop_back();
    }
};

} // namespace

TEST(DataBufferModel, RandomReadsOnRandomBytesMatchThePlainModel)
{
    std::mt19937 rng(12345);
    for (int round = 0; round < 20000; ++round) {
        Bytes d(rng() % 64);
        for (auto &c : d)
            c = static_cast<unsigned char>(rng() % 4 == 0 ? rng() % 24 : rng());
        DataBuffer b = FromBytes(d);
        ModelReader m(d);
        std::vector<LocalSizedRead *> scopes;
        for (int step = 0; step < 24; ++step) {
            switch (rng() % 7) {
            case 0:
                scopes.push_back(new LocalSizedRead(b));
                m.Open();
                break;
            case 1:
                if (!scopes.empty()) {
                    delete scopes.back();
                    scopes.pop_back();
                    m.Close();
                }
                break;
            case 2:
                ASSERT_EQ(static_cast<unsigned int>(b.ReadInt32()), static_cast<unsigned int>(m.U32()));
                break;
            case 3: {
                bool expected = m.Take(1) ? d[m.pos++] != 0 : false;
                ASSERT_EQ(b.ReadBool(), expected);
                break;
            }
            case 4: {
                long long len = m.U32();
                Bytes text;
                if (len > 0 && m.Take(std::size_t(len))) {
                    text.assign(d.begin() + m.pos, d.begin() + m.pos + len);
                    m.pos += std::size_t(len);
                }
                SString s = b.ReadString();
                ASSERT_EQ(Bytes(s.GetStr(), s.GetStr() + s.Len()), text);
                break;
            }
            case 5: {
                CRectangle r = b.ReadRect();
                if (m.Take(16)) {
                    int a[4];
                    std::memcpy(a, d.data() + m.pos, 16);
                    m.pos += 16;
                    ASSERT_EQ(r, CRectangle(a[0], a[1], a[2], a[3]));
                } else {
                    ASSERT_EQ(r, CRectangle());
                }
                break;
            }
            default: {
                double v = b.ReadDouble();
                double e = 0;
                if (m.Take(8)) {
                    std::memcpy(&e, d.data() + m.pos, 8);
                    m.pos += 8;
                }
                ASSERT_EQ(std::memcmp(&v, &e, 8), 0);
                break;
            }
            }
            ASSERT_EQ(b.GetPos(), m.pos) << "round " << round << " step " << step;
            ASSERT_LE(b.GetPos(), b.GetSize());
            ASSERT_EQ(b.IsGood(), !m.failed);
        }
        while (!scopes.empty()) {
            delete scopes.back();
            scopes.pop_back();
            m.Close();
            ASSERT_EQ(b.GetPos(), m.pos);
        }
        ASSERT_EQ(b.GetSectionDepth(), 0);
    }
}

TEST(DataBufferLeaks, WritingAndReadingReturnsEveryByte)
{
    auto cycle = [] {
        for (int i = 0; i < 200; ++i) {
            DataBuffer b;
            {
                LocalSizedWrite s(b);
                for (int k = 0; k < 50; ++k)
                    b.WriteString(SString("a text long enough to need its own heap block"));
            }
            DataBuffer c(b);
            c.SetPos(0);
            LocalSizedRead r(c);
            while (c.GetRemaining())
                c.ReadString();
            DataBuffer moved(std::move(c));
            b = moved;
        }
    };
    cycle(); // the first pass may set up lazily allocated state
    kstest::HeapUsage before = kstest::CurrentHeapUsage();
    cycle();
    kstest::HeapUsage after = kstest::CurrentHeapUsage();
    EXPECT_EQ(after.blocks, before.blocks);
    EXPECT_LE(after.bytes, before.bytes);
}
