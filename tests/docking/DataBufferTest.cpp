// DataBuffer and its section scopes: golden bytes, the single-read limit,
// section nesting, and random typed reads against a plain model.
#include "base/LocalSizedRead.h"
#include "base/LocalSizedWrite.h"
#include "docking/DataBuffer.h"
#include "tests/docking/RecordBytes.h"
#include "tests/support/LeakCounters.h"
#include "tests/support/LeakLoop.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

using namespace kstest;

TEST(DataBufferFormat, EveryStoredTypeHasItsDocumentedBytes)
{
    char const raw[] = {'x', '\0', '\xFF'};
    DataBuffer b;
    b.WriteInt32(-2);
    b.WriteAlign(0x8000);
    b.WriteBool(true);
    b.WriteBool(false);
    b.WriteDouble(1.5);
    b.WriteSize(Size(3, 0x01020304));
    b.WritePoint(Point(-1, 7));
    b.WriteRect(CRectangle(1, 2, 300, RECT_EMPTY));
    b.WriteString(SString(raw, 0, 3, true));
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
        0x03, 0x00, 0x00, 0x00, 'x', 0x00, 0xFF,        // text with a zero, no terminator
        0x00, 0x00, 0x00, 0x00,                         // ""
    };
    EXPECT_EQ(Contents(b), expected);

    DataBuffer r = FromBytes(expected);
    EXPECT_EQ(r.ReadInt32(), -2);
    EXPECT_EQ(r.ReadAlign(), 0x8000ul);
    EXPECT_TRUE(r.ReadBool());
    EXPECT_FALSE(r.ReadBool());
    EXPECT_EQ(r.ReadDouble(), 1.5);
    EXPECT_EQ(r.ReadSize(), Size(3, 0x01020304));
    EXPECT_EQ(r.ReadPoint(), Point(-1, 7));
    EXPECT_EQ(r.ReadRect(), CRectangle(1, 2, 300, RECT_EMPTY));
    SString text = r.ReadString();
    ASSERT_EQ(text.Len(), 3);
    EXPECT_EQ(std::memcmp(text.GetStr(), raw, 3), 0);
    EXPECT_TRUE(r.ReadString().IsEmpty());
    EXPECT_EQ(r.GetRemaining(), 0ul);
    EXPECT_TRUE(r.IsGood());
}

TEST(DataBufferLimits, ReadsOverTheSingleReadLimitAreRefused)
{
    for (unsigned int len : {0xFF00001u, 0xFFFFFFFFu}) {
        DataBuffer b; // a string length over the limit, then one byte
        b.WriteInt32(int(len));
        b.WriteInt32(1);
        b.SetPos(0);
        kstest::HeapUsage before = kstest::CurrentHeapUsage();
        EXPECT_TRUE(b.ReadString().IsEmpty());
        EXPECT_LT(kstest::CurrentHeapUsage().bytes, before.bytes + 4096);
        EXPECT_EQ(b.GetFailCount(), 1ul);
    }
    // One byte over the limit, all present: refused; the limit itself is allowed.
    unsigned long const n = DATABUFFER_MAX_READ + 1;
    Bytes chunk(1 << 20, 0x5A);
    DataBuffer b;
    b.Reserve(n);
    for (unsigned long done = 0; done < n; done += 1 << 20)
        b.WriteBytes(chunk.data(), std::min<unsigned long>(n - done, 1 << 20));
    ASSERT_EQ(b.GetSize(), n);
    std::unique_ptr<unsigned char[]> out(new unsigned char[n]());
    b.SetPos(0);
    EXPECT_FALSE(b.ReadBytes(out.get(), n));
    EXPECT_EQ(out[0], 0);
    b.SetPos(0);
    b.ClearFailures();
    EXPECT_TRUE(b.ReadBytes(out.get(), DATABUFFER_MAX_READ));
    EXPECT_EQ(out[DATABUFFER_MAX_READ - 1], 0x5A);
}

TEST(DataBufferSections, LengthsAndTheNinthLevelOnBothSides)
{
    DataBuffer b;
    b.WriteInt32(0x11);
    {
        std::vector<std::unique_ptr<LocalSizedWrite>> open;
        for (int i = 0; i < 9; ++i) {
            open.push_back(std::make_unique<LocalSizedWrite>(b));
            b.WriteBool(true);
        }
        EXPECT_TRUE(open[7]->IsOpen());
        EXPECT_FALSE(open[8]->IsOpen());
        while (!open.empty()) {
            open.pop_back();
            b.WriteBool(false);
        }
    }
    // Level k (0-based) holds its bool, the levels inside it and the bool
    // written after each inner level closed; the ninth has no length.
    Bytes bytes = Contents(b);
    ASSERT_EQ(bytes.size(), 4u + 8 * 4 + 9 + 9);
    for (int k = 0; k < 8; ++k) {
        unsigned int len;
        std::memcpy(&len, bytes.data() + 4 + k * 5, 4);
        EXPECT_EQ(len, static_cast<unsigned>((7 - k) * 6 + 3)) << "level " << k;
    }

    b.SetPos(4);
    std::vector<std::unique_ptr<LocalSizedRead>> open;
    for (int i = 0; i < 9; ++i) {
        open.push_back(std::make_unique<LocalSizedRead>(b));
        EXPECT_TRUE(b.ReadBool()) << "level " << i;
    }
    EXPECT_FALSE(open.back()->IsOpen());
    while (!open.empty()) {
        open.pop_back();
        EXPECT_FALSE(b.ReadBool());
    }
    EXPECT_EQ(b.GetPos(), b.GetSize());
    EXPECT_TRUE(b.IsGood());
}

// A model of the format on a plain vector: the typed reads of the buffer,
// sections included, must give exactly what it gives, on random bytes.
namespace {

struct ModelReader
{
    Bytes const &d;
    std::size_t pos = 0;
    std::vector<std::size_t> ends{}; // of the open sections; levels past eight open none
    int depth = 0;
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
    // n bytes into out (zeros when they are not all there).
    bool Raw(void *out, std::size_t n)
    {
        if (!n)
            return true;
        std::memset(out, 0, n);
        if (!Take(n))
            return false;
        std::memcpy(out, d.data() + pos, n);
        pos += n;
        return true;
    }
    unsigned int U32()
    {
        unsigned int v;
        Raw(&v, 4);
        return v;
    }
    void Open()
    {
        if (depth++ >= 8)
            return;
        std::size_t len = U32(), end = pos + len;
        if (len > Bound() - std::min(pos, Bound()))
            failed = true, end = std::max(pos, Bound());
        ends.push_back(end);
    }
    void Close()
    {
        if (--depth < 8)
            pos = ends.back(), ends.pop_back();
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
        ModelReader m{d};
        std::vector<std::unique_ptr<LocalSizedRead>> scopes;
        for (int step = 0; step < 24; ++step) {
            unsigned char got[16] = {}, want[16] = {};
            switch (rng() % 9) {
            case 0:
                scopes.push_back(std::make_unique<LocalSizedRead>(b));
                m.Open();
                break;
            case 1:
                if (!scopes.empty())
                    scopes.pop_back(), m.Close();
                break;
            case 2:
                ASSERT_EQ(static_cast<unsigned int>(b.ReadInt32()), m.U32());
                break;
            case 3: {
                unsigned char c;
                m.Raw(&c, 1);
                ASSERT_EQ(b.ReadBool(), c != 0);
                break;
            }
            case 4: {
                SString s = b.ReadString();
                std::size_t len = m.U32();
                Bytes text(len && m.Take(len) ? len : 0);
                m.Raw(text.data(), text.size());
                ASSERT_EQ(Bytes(s.GetStr(), s.GetStr() + s.Len()), text);
                break;
            }
            case 5: {
                CRectangle r = b.ReadRect();
                int a[4];
                ASSERT_EQ(r, m.Raw(a, 16) ? CRectangle(a[0], a[1], a[2], a[3]) : CRectangle());
                break;
            }
            case 6: {
                Point p = b.ReadPoint();
                int a[2];
                m.Raw(a, 8);
                ASSERT_EQ(p, Point(a[0], a[1]));
                break;
            }
            case 7: {
                unsigned long n = rng() % 12;
                bool ok = b.ReadBytes(got, n);
                ASSERT_EQ(ok, n == 0 || m.Take(n));
                if (ok)
                    m.Raw(want, n);
                break;
            }
            default: {
                double v = b.ReadDouble();
                std::memcpy(got, &v, 8);
                m.Raw(want, 8);
            }
            }
            ASSERT_EQ(std::memcmp(got, want, sizeof got), 0) << "round " << round << " step " << step;
            ASSERT_EQ(b.GetPos(), m.pos) << "round " << round << " step " << step;
            ASSERT_LE(b.GetPos(), b.GetSize());
            ASSERT_EQ(b.IsGood(), !m.failed);
        }
        while (!scopes.empty()) {
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
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 100, .bytes = true}, cycle));
}
