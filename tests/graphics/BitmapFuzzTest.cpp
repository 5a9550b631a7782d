// Mutated image files through the loaders: every one gives an image or an
// empty bitmap, nothing crashes or hangs, and the committed memory stays
// bounded. The loop is seeded: a failure names its seed and iteration.
#include "base/DirEntry.h"
#include "frame/KSGlobal.h"
#include "graphics/Bitmap.h"
#include "tests/support/ImageSamples.h"
#include "tests/support/LeakCounters.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <windows.h>

using namespace kstest;

namespace {

using Bytes = std::vector<unsigned char>;

struct Seed
{
    std::string ext;
    Bytes bytes;
};

class BitmapFuzzTest : public testing::Test
{
protected:
    void SetUp() override { KSInit(); }
    void TearDown() override { KSExit(); }
};

// BMP files of the header forms and depths the strict check lets through.
std::vector<Bytes> BmpSeeds(Bitmap const &rPicture)
{
    std::vector<Bytes> seeds{Encode(rPicture, "bmp")};
    // 8 bits with a colour table, and the 12-byte core header at 24 bits.
    int const w = 9, h = 5;
    Bytes pal(14 + 40 + 1024 + 12 * h, 0);
    pal[0] = 'B';
    pal[1] = 'M';
    auto put = [](Bytes &b, std::size_t at, std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            b[at + std::size_t(i)] = static_cast<unsigned char>(v >> (8 * i));
    };
    put(pal, 2, std::uint32_t(pal.size()), 4);
    put(pal, 10, 14 + 40 + 1024, 4);
    put(pal, 14, 40, 4);
    put(pal, 18, w, 4);
    put(pal, 22, h, 4);
    put(pal, 26, 1, 2);
    put(pal, 28, 8, 2);
    for (int i = 0; i < 256; ++i)
        put(pal, 54 + std::size_t(i) * 4, PureColour(i), 4);
    for (std::size_t i = 14 + 40 + 1024; i < pal.size(); ++i)
        pal[i] = static_cast<unsigned char>(i % 8);
    seeds.push_back(pal);
    Bytes core(14 + 12 + 28 * h, 0); // rows of 27 bytes padded to 28
    core[0] = 'B';
    core[1] = 'M';
    put(core, 2, std::uint32_t(core.size()), 4);
    put(core, 10, 26, 4);
    put(core, 14, 12, 4);
    put(core, 18, w, 2);
    put(core, 20, h, 2);
    put(core, 22, 1, 2);
    put(core, 24, 24, 2);
    for (std::size_t i = 26; i < core.size(); ++i)
        core[i] = static_cast<unsigned char>(i * 37);
    seeds.push_back(core);
    return seeds;
}

// One mutation: bit flips, a cut, a splice from another seed, or a limit
// value written over 1, 2 or 4 bytes.
Bytes Mutate(Bytes b, std::vector<Seed> const &rSeeds, std::mt19937 &rng)
{
    auto pick = [&](std::size_t n) { return n ? std::size_t(rng() % n) : 0; };
    int const rounds = 1 + int(rng() % 3);
    for (int r = 0; r < rounds && !b.empty(); ++r) {
        switch (rng() % 4) {
        case 0:
            for (int i = 1 + int(rng() % 8); i > 0; --i)
                b[pick(b.size())] ^= static_cast<unsigned char>(1u << (rng() % 8));
            break;
        case 1:
            b.resize(pick(b.size()));
            break;
        case 2: {
            Bytes const &other = rSeeds[pick(rSeeds.size())].bytes;
            std::size_t const from = pick(other.size()), len = pick(std::min<std::size_t>(other.size() - from, 64)) + 1;
            std::size_t const at = pick(b.size());
            if (rng() % 2)
                b.insert(b.begin() + std::ptrdiff_t(at), other.begin() + std::ptrdiff_t(from),
                         other.begin() + std::ptrdiff_t(std::min(other.size(), from + len)));
            else
                for (std::size_t i = 0; i < len && at + i < b.size() && from + i < other.size(); ++i)
                    b[at + i] = other[from + i];
            break;
        }
        default: {
            static std::uint32_t const limits[] = {0, 1, 0x7F, 0x80, 0xFF, 0x7FFF, 0x8000, 0xFFFF, 0x7FFFFFFF,
                                                   0x80000000, 0xFFFFFFFF, 16384, 16385};
            std::uint32_t const v = limits[pick(std::size(limits))];
            int const width = 1 << (rng() % 3);
            std::size_t const at = pick(b.size());
            bool const big = rng() % 2; // PNG and JPEG are big-endian, GIF and BMP little
            for (int i = 0; i < width && at + std::size_t(i) < b.size(); ++i)
                b[at + std::size_t(i)] = static_cast<unsigned char>(v >> (8 * (big ? width - 1 - i : i)));
        }
        }
    }
    return b;
}

} // namespace

TEST_F(BitmapFuzzTest, MutatedFilesLoadOrComeBackEmpty)
{
    Bitmap picture;
    picture.SetHBitmap(MakeHBitmap(16, 16, Pattern(16, 16)));
    std::vector<Seed> seeds;
    seeds.push_back({"png", Encode(picture, "png")});
    seeds.push_back({"gif", Encode(picture, "gif")});
    for (Bytes const &b : BmpSeeds(picture))
        seeds.push_back({"bmp", b});
    for (Seed const &s : seeds)
        ASSERT_FALSE(s.bytes.empty()) << s.ext;
    Bitmap smooth;
    smooth.SetHBitmap(MakeHBitmap(16, 16, Pattern(16, 16, 8)));
    int jpegSize = 0;
    unsigned char *jpegData = smooth.CreateJPEGData(jpegSize);
    ASSERT_NE(nullptr, jpegData);
    Bytes const jpeg(jpegData, jpegData + jpegSize);
    delete[] jpegData;

    // Every seed loads as it is: the mutations start from readable files.
    std::string const base = TempFile("fuzz");
    for (Seed const &s : seeds) {
        ASSERT_TRUE(WriteBytes(base + "." + s.ext, s.bytes));
        Bitmap b;
        EXPECT_EQ(ERRCODE_OK, b.Load(DirEntry(SString((base + "." + s.ext).c_str()))));
        EXPECT_FALSE(b.Empty()) << s.ext << " " << s.bytes.size() << " bytes";
    }

    unsigned const seed = 20261206;
    std::mt19937 rng(seed);
    std::size_t const committedBefore = CommittedBytes();
    std::size_t committedMost = committedBefore;
    int loaded = 0, refused = 0;
    int const perFormat = 3500; // PNG, GIF and BMP: 10,500 files
    for (int i = 0; i < 3 * perFormat; ++i) {
        // The BMP seeds share one third between them.
        std::size_t const which = i % 3 < 2 ? std::size_t(i % 3) : 2 + std::size_t(i / 3) % (seeds.size() - 2);
        Seed const &s = seeds[which];
        std::string const file = base + "." + s.ext;
        ASSERT_TRUE(WriteBytes(file, Mutate(s.bytes, seeds, rng))) << "step " << i << " error " << GetLastError();
        Bitmap b;
        ERRCODE const r = b.Load(DirEntry(SString(file.c_str())));
        ASSERT_TRUE(r == ERRCODE_OK || r == ERRCODE_FAILED) << "seed " << seed << " step " << i;
        if (r == ERRCODE_FAILED) {
            ASSERT_TRUE(b.Empty()) << "seed " << seed << " step " << i;
        }
        if (b.Empty()) {
            ++refused;
        } else {
            ++loaded;
            Size const size = b.GetSize();
            ASSERT_LE(size.Width(), 65535) << "step " << i;
            ASSERT_LE(size.Height(), 65535) << "step " << i;
            if (size.GetArea() <= 4096.0 * 4096.0) {
                ASSERT_NE(nullptr, static_cast<HBITMAP>(b)) << "seed " << seed << " step " << i;
            }
        }
        if (i % 100 == 99)
            committedMost = std::max(committedMost, CommittedBytes());
    }
    for (int i = 0; i < 1500; ++i) {
        Bytes const bytes = Mutate(jpeg, seeds, rng);
        Bitmap b;
        ERRCODE const r = b.ConstructFromJPEGData(bytes.data(), int(bytes.size()));
        ASSERT_EQ(r == ERRCODE_OK, !b.Empty()) << "seed " << seed << " jpeg step " << i;
        if (i % 100 == 99)
            committedMost = std::max(committedMost, CommittedBytes());
    }
    DeleteFileA((base + ".png").c_str());
    DeleteFileA((base + ".gif").c_str());
    DeleteFileA((base + ".bmp").c_str());
    std::size_t const grown = committedMost - committedBefore;
    std::printf("loaded %d, refused %d; committed memory grew by at most %zu KB\n", loaded, refused, grown >> 10);
    EXPECT_GT(loaded, 100) << "the mutations must leave some files readable";
    EXPECT_GT(refused, 1000);
    EXPECT_LT(grown, std::size_t(256) << 20);
}
