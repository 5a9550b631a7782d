// The archive over a memory file: every value type written and read back
// through buffers smaller than the data, strings across the length-prefix
// steps, and every cut of an archive failing cleanly instead of crashing.
#include "mfc/CArchive.h"
#include "mfc/CMemFile.h"
#include "mfc/CObject.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>
#include <windows.h>

namespace {

struct Values
{
    unsigned char b = 0;
    bool f = false;
    short s = 0;
    unsigned short w = 0;
    int i = 0;
    unsigned long dw = 0;
    long long ll = 0;
    double d = 0;
    RECT r{};
    CStringA text;

    void Serialize(CArchive &ar)
    {
        if (ar.IsStoring())
            ar << b << f << s << w << i << dw << ll << d << r << text;
        else
            ar >> b >> f >> s >> w >> i >> dw >> ll >> d >> r >> text;
    }
};

std::vector<unsigned char> Stored(Values v, int bufSize)
{
    CMemFile file(16);
    {
        CArchive ar(&file, CArchive::store, bufSize);
        v.Serialize(ar);
        EXPECT_FALSE(ar.IsFailed());
    }
    return std::vector<unsigned char>(file.GetBuffer(), file.GetBuffer() + file.GetLength());
}

Values Loaded(std::vector<unsigned char> const &bytes, int bufSize, bool &failed)
{
    CMemFile file(bytes.data(), unsigned(bytes.size()));
    CArchive ar(&file, CArchive::load, bufSize);
    Values v;
    v.Serialize(ar);
    failed = ar.IsFailed();
    return v;
}

} // namespace

TEST(CArchive, EveryValueComesBackThroughBuffersOfAnySizeAndEveryCutFails)
{
    std::mt19937 rng(5);
    // Lengths on both sides of each prefix step: one byte, 0xFF + 16 bits,
    // 0xFF 0xFFFF + 32 bits.
    for (size_t len : {0u, 1u, 254u, 255u, 256u, 65534u, 65535u, 65536u}) {
        SCOPED_TRACE("string length " + std::to_string(len));
        Values v;
        v.b = 0xA5;
        v.f = true;
        v.s = -12345;
        v.w = 0xBEEF;
        v.i = -7;
        v.dw = 0xDEADBEEF;
        v.ll = -0x123456789AB;
        v.d = 1.0 / 3;
        v.r = RECT{-1, 2, 0x7FFFFFFF, -0x7FFFFFFF};
        std::string s(len, 'x');
        for (char &c : s)
            c = char(rng());
        v.text = CStringA(s.data(), int(s.size()));
        for (int bufSize : {1, 7, 4096}) {
            std::vector<unsigned char> const bytes = Stored(v, bufSize);
            size_t const prefix = len < 255 ? 1 : len < 65535 ? 3 : 7;
            ASSERT_EQ(1 + 1 + 2 + 2 + 4 + 4 + 8 + 8 + 16 + prefix + len, bytes.size());
            bool failed = true;
            Values const back = Loaded(bytes, bufSize, failed);
            EXPECT_FALSE(failed);
            EXPECT_EQ(v.b, back.b);
            EXPECT_EQ(v.f, back.f);
            EXPECT_EQ(v.s, back.s);
            EXPECT_EQ(v.w, back.w);
            EXPECT_EQ(v.i, back.i);
            EXPECT_EQ(v.dw, back.dw);
            EXPECT_EQ(v.ll, back.ll);
            EXPECT_EQ(v.d, back.d);
            EXPECT_TRUE(EqualRect(&v.r, &back.r));
            EXPECT_EQ(s, std::string(back.text.GetString(), size_t(back.text.GetLength())));
        }
        // Every cut fails; a string never claims more than is there.
        std::vector<unsigned char> const bytes = Stored(v, 4096);
        for (size_t cut = 0; cut < bytes.size(); cut += 1 + cut / 8) {
            bool failed = false;
            Values const back = Loaded(std::vector<unsigned char>(bytes.begin(), bytes.begin() + long(cut)), 64, failed);
            EXPECT_TRUE(failed) << "cut at " << cut;
            EXPECT_TRUE(back.text.IsEmpty() || cut == bytes.size()) << "cut at " << cut;
        }
    }
}

TEST(CArchive, AStoredBoolOtherThanZeroOrOneAndUnknownObjectsFailTheLoad)
{
    unsigned char const two = 2;
    CMemFile file(&two, 1);
    CArchive ar(&file, CArchive::load);
    bool f = true;
    ar >> f;
    EXPECT_TRUE(ar.IsFailed());

    // A class tag naming no creatable class, then a null object.
    std::vector<unsigned char> bytes = {0xFF, 0xFF, 0xFF, 0xFF, 5, 0, 'N', 'o', 'n', 'e', 'X'};
    CMemFile objects(bytes.data(), unsigned(bytes.size()));
    CArchive in(&objects, CArchive::load);
    EXPECT_EQ(nullptr, in.ReadObject(nullptr));
    EXPECT_TRUE(in.IsFailed());
    unsigned char const nulls[] = {0, 0};
    CMemFile none(nulls, 2);
    CArchive in2(&none, CArchive::load);
    EXPECT_EQ(nullptr, in2.ReadObject(nullptr));
    EXPECT_FALSE(in2.IsFailed());
}
