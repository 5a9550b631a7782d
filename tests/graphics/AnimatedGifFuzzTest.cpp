// Mutated GIF files through AnimatedGif::Load and the decoding of every
// frame: nothing crashes or hangs, and the committed memory stays bounded.
// The loop is seeded: a failure names its seed and iteration.
#include "base/DirEntry.h"
#include "graphics/AnimatedGif.h"
#include "tests/support/GifSamples.h"
#include "tests/support/LeakCounters.h"
#include "tests/support/WindowFixture.h"

#include <gtest/gtest.h>
#include <random>
#include <windows.h>

using namespace kstest;

namespace {

struct GifProbe : AnimatedGif
{
    using AnimatedGif::AnimatedGif;
    using AnimatedGif::GetScreenSize;
    using AnimatedGif::NextImage;
    using AnimatedGif::StepCanvas;
};

class AnimatedGifFuzzTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        MakeTop();
    }
};

// Seeds of every structure the reader knows: several frames with offsets,
// disposal and transparency, interlaced rows, large colour tables, a global
// table, and the damaged corpus itself.
std::vector<Bytes> Seeds()
{
    std::mt19937 rng(7);
    std::vector<Bytes> seeds;
    for (DamagedGif const &d : DamagedGifs())
        if (!d.bytes.empty())
            seeds.push_back(d.bytes);
    for (int s = 0; s < 4; ++s) {
        std::vector<GifFrame> frames;
        for (int i = 0; i < 3; ++i) {
            GifFrame f;
            f.width = 3 + int(rng() % 20);
            f.height = 2 + int(rng() % 15);
            f.left = int(rng() % 5);
            f.top = int(rng() % 5);
            f.disposal = int(rng() % 4);
            f.interlace = rng() % 2 == 0;
            for (int p = 0; p < f.width * f.height; ++p)
                f.pixels.push_back(std::uint32_t(rng() % (s == 3 ? 200u : 6u)) * 0x010305u);
            f.transparent = rng() % 2 ? int(f.pixels[0]) : -1;
            frames.push_back(f);
        }
        seeds.push_back(MakeGif(24, 20, frames));
    }
    seeds.push_back(MakeGif87WithGlobalTable(19, 11, Pattern(19, 11)));
    return seeds;
}

Bytes Mutate(std::mt19937 &rng, Bytes b, std::vector<Bytes> const &rSeeds)
{
    int const steps = 1 + int(rng() % 4);
    for (int s = 0; s < steps && !b.empty(); ++s) {
        std::size_t const at = rng() % b.size();
        switch (rng() % 7) {
        case 0: // bit flips
            b[at] ^= std::uint8_t(1u << (rng() % 8));
            break;
        case 1: { // limit values in one or two bytes
            static unsigned const limits[] = {0, 1, 0x7F, 0x80, 0xFF, 0x100, 0x3FFF, 0x4000, 0x4001, 0xFFFF, 0x3B, 0x21, 0x2C};
            unsigned const v = limits[rng() % std::size(limits)];
            b[at] = std::uint8_t(v);
            if (at + 1 < b.size() && rng() % 2)
                b[at + 1] = std::uint8_t(v >> 8);
            break;
        }
        case 2: // cut
            b.resize(at);
            break;
        case 3: { // splice a piece of another seed
            Bytes const &o = rSeeds[rng() % rSeeds.size()];
            std::size_t const from = rng() % o.size(), n = std::min<std::size_t>(1 + rng() % 64, o.size() - from);
            b.insert(b.begin() + std::ptrdiff_t(at), o.begin() + std::ptrdiff_t(from),
                     o.begin() + std::ptrdiff_t(from + n));
            break;
        }
        case 4: { // drop a range
            std::size_t const n = std::min<std::size_t>(1 + rng() % 16, b.size() - at);
            b.erase(b.begin() + std::ptrdiff_t(at), b.begin() + std::ptrdiff_t(at + n));
            break;
        }
        case 5: // random bytes
            for (std::size_t i = at, n = rng() % 8; i < b.size() && n > 0; ++i, --n)
                b[i] = std::uint8_t(rng());
            break;
        default: // repeat a range
            if (std::size_t const n = std::min<std::size_t>(1 + rng() % 32, b.size() - at); n > 0) {
                Bytes const piece(b.begin() + std::ptrdiff_t(at), b.begin() + std::ptrdiff_t(at + n));
                b.insert(b.begin() + std::ptrdiff_t(at), piece.begin(), piece.end());
            }
            break;
        }
    }
    return b;
}

} // namespace

TEST_F(AnimatedGifFuzzTest, MutatedFilesLoadAndDecodeSafely)
{
    std::vector<Bytes> const seeds = Seeds();
    std::string const anm = TempFile("fuzz.anm"), gifName = TempFile("fuzz.gif");
    DirEntry const entry(SString(gifName.c_str()));
    std::uint32_t const seed = 20261206;
    std::mt19937 rng(seed);
    GifProbe gif(top, 1);
    std::size_t const committed = CommittedBytes();
    std::size_t peak = committed;
    int loaded = 0, frames = 0;
    for (int i = 0; i < 10000; ++i) {
        Bytes const bytes = Mutate(rng, seeds[std::size_t(i) % seeds.size()], seeds);
        ASSERT_TRUE(WriteBytes(anm, bytes));
        int const ok = gif.Load(entry);
        ASSERT_EQ(ok == 1, gif.IsLoaded()) << "seed " << seed << " iteration " << i;
        if (!ok)
            continue;
        ++loaded;
        // Every frame of one round through the file; the canvas too when it
        // is small enough to be cheap.
        Size const screen = gif.GetScreenSize();
        bool const compose = double(screen.Width()) * screen.Height() <= 1 << 20;
        for (int k = 0; k < 24; ++k)
            if (compose ? gif.StepCanvas() : gif.NextImage())
                ++frames;
        if (i % 500 == 0)
            peak = std::max(peak, CommittedBytes());
    }
    gif.Load(DirEntry(SString("nothing.gif")));
    peak = std::max(peak, CommittedBytes());
    std::printf("%d of 10000 loaded, %d frames decoded, committed memory grew at most %zu KB\n", loaded, frames,
                (peak - committed) >> 10);
    EXPECT_GT(loaded, 1000);
    EXPECT_LT(peak, committed + (96u << 20));
}
