// Animated GIFs: files written by SaveAnimatedGif and GifWriter read back by
// GDI+ and by AnimatedGif's own decoder, the canvas the frames compose, the
// player's timing and looping, damaged files, and Play/Stop and deletion of
// a playing window leaving no thread, GDI object or heap block behind.
#include "base/DirEntry.h"
#include "graphics/AnimatedGif.h"
#include "graphics/Bitmap.h"
#include "graphics/ColorName.h"
#include "graphics/GifWriter.h"
#include "graphics/Texture.h"
#include "graphics/VerticalGradient.h"
#include "tests/support/GifSamples.h"
#include "tests/support/LeakCounters.h"
#include "tests/support/WindowFixture.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <random>
#include <windows.h>

using namespace kstest;

namespace {

DirEntry Entry(std::string const &rPath)
{
    return DirEntry(SString(rPath.c_str()));
}

// The test's view of the canvas and the walk.
struct GifProbe : AnimatedGif
{
    using AnimatedGif::AnimatedGif;
    using AnimatedGif::GetCanvasPixels;
    using AnimatedGif::GetFramesShown;
    using AnimatedGif::GetScreenSize;
    using AnimatedGif::NextImage;
    using AnimatedGif::StepCanvas;
};

class AnimatedGifTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        MakeTop();
        ShowTop(Point(10, 10), Size(400, 300));
    }
    // The bytes as "<name>.anm", loaded through the name "<name>.gif".
    int LoadBytes(GifProbe &rGif, std::string const &rName, Bytes const &rBytes)
    {
        EXPECT_TRUE(WriteBytes(TempFile(rName + ".anm"), rBytes));
        return rGif.Load(Entry(TempFile(rName + ".gif")));
    }
    // Every frame composed by the decoder, one canvas each.
    static std::vector<Pixels> Canvases(GifProbe &rGif, int nFrames)
    {
        std::vector<Pixels> out;
        for (int i = 0; i < nFrames && rGif.StepCanvas(); ++i)
            out.push_back(rGif.GetCanvasPixels());
        return out;
    }
};

GifFrame Frame(int w, int h, Pixels pixels, int delay = 0)
{
    GifFrame f;
    f.width = w;
    f.height = h;
    f.pixels = std::move(pixels);
    f.delay = delay;
    return f;
}

// A w x h picture of up to n colours drawn from a seeded generator, in runs
// so that the LZW table fills with long strings as well as single pixels.
Pixels RandomPicture(std::mt19937 &rng, int w, int h, int n)
{
    std::vector<std::uint32_t> colours(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        colours[std::size_t(i)] = (std::uint32_t(i) * 2654435761u) & 0xFFFFFF;
    Pixels p(std::size_t(w) * std::size_t(h));
    std::size_t i = 0;
    while (i < p.size()) {
        std::uint32_t const c = colours[rng() % colours.size()];
        std::size_t const run = (rng() % 4 == 0) ? rng() % 40 : 1;
        for (std::size_t k = 0; k <= run && i < p.size(); ++k)
            p[i++] = c;
    }
    return p;
}

} // namespace

TEST_F(AnimatedGifTest, SavedAnimationsComeBackFromGdiplusAndFromOurDecoder)
{
    // Four frames of the pure colours, each a different pattern.
    std::vector<Bitmap> frames;
    std::vector<Pixels> sources;
    int const w = 23, h = 17;
    for (int i = 0; i < 4; ++i) {
        Pixels p = Pattern(w, h);
        for (auto &c : p)
            c = PureColour(int((c * 7u + std::uint32_t(i)) % 8u));
        sources.push_back(p);
        Bitmap b;
        b.SetHBitmap(MakeHBitmap(w, h, p));
        frames.push_back(b);
    }
    std::string const path = TempFile("saved.gif");
    ASSERT_EQ(ERRCODE_OK, Bitmap::SaveAnimatedGif(Entry(path), frames, 134));
    Bytes const file = ReadBytes(path);
    GdiplusGif const back = ReadWithGdiplus(file);
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(sources, back.frames);
    EXPECT_EQ(std::vector<int>(4, 13), back.delays);

    GifProbe gif(top, 3);
    ASSERT_EQ(1, LoadBytes(gif, "saved", file));
    EXPECT_EQ(Size(w + 6, h + 6), gif.GetOutputSizePixel());
    EXPECT_EQ(sources, Canvases(gif, 4));

    // Delays round to hundredths; mixed sizes lie on a screen of the largest
    // sides.
    struct
    {
        int ms, hundredths;
    } const rounding[] = {{0, 0}, {4, 0}, {5, 1}, {14, 1}, {15, 2}, {-30, 0}, {1000000, 32767}};
    for (auto const &r : rounding) {
        ASSERT_EQ(ERRCODE_OK, Bitmap::SaveAnimatedGif(Entry(path), {frames[0], frames[1]}, r.ms));
        EXPECT_EQ(std::vector<int>(2, r.hundredths), ReadWithGdiplus(ReadBytes(path)).delays) << r.ms;
    }
    Bitmap narrow, low;
    narrow.SetHBitmap(MakeHBitmap(5, 30, Pixels(150, PureColour(2))));
    low.SetHBitmap(MakeHBitmap(40, 3, Pixels(120, PureColour(4))));
    ASSERT_EQ(ERRCODE_OK, Bitmap::SaveAnimatedGif(Entry(path), {narrow, low}, 50));
    // GDI+ here gives the first frame's size rather than the screen's.
    EXPECT_EQ(2u, ReadWithGdiplus(ReadBytes(path)).frames.size());
    ASSERT_EQ(1, LoadBytes(gif, "mixed", ReadBytes(path)));
    EXPECT_EQ(Size(40, 30), gif.GetScreenSize());
    std::vector<Pixels> const canvases = Canvases(gif, 2);
    ASSERT_EQ(2u, canvases.size());
    EXPECT_EQ(PureColour(2), canvases[0][29 * 40 + 4]);
    EXPECT_EQ(PureColour(4), canvases[1][2 * 40 + 39]);

    // No frames, or an empty one: a failure and no file.
    DeleteFileA(path.c_str());
    EXPECT_EQ(ERRCODE_FAILED, Bitmap::SaveAnimatedGif(Entry(path), {}, 10));
    EXPECT_EQ(ERRCODE_FAILED, Bitmap::SaveAnimatedGif(Entry(path), {frames[0], Bitmap()}, 10));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str()));
}

TEST_F(AnimatedGifTest, DecoderAgreesWithGdiplusOnRandomFiles)
{
    std::mt19937 rng(20261206);
    GifProbe gif(top, 0);
    for (int file = 0; file < 24; ++file) {
        // Sizes from one pixel to several LZW table clears; every colour
        // table size; interlaced and not.
        int const w = file == 0 ? 1 : int(1 + rng() % (file < 20 ? 70 : 400));
        int const h = file == 0 ? 1 : int(1 + rng() % (file < 20 ? 50 : 300));
        int const colours = 2 + int(rng() % 255);
        std::vector<GifFrame> frames;
        for (int i = 0; i < 3; ++i) {
            frames.push_back(Frame(w, h, RandomPicture(rng, w, h, colours), int(rng() % 20)));
            frames.back().interlace = (file + i) % 2 == 1;
        }
        Bytes const bytes = MakeGif(w, h, frames);
        GdiplusGif const back = ReadWithGdiplus(bytes);
        ASSERT_TRUE(back.ok) << file;
        ASSERT_EQ(3u, back.frames.size()) << file;
        ASSERT_EQ(1, LoadBytes(gif, "random", bytes)) << file;
        std::vector<Pixels> const ours = Canvases(gif, 3);
        ASSERT_EQ(3u, ours.size()) << file;
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(frames[std::size_t(i)].pixels, back.frames[std::size_t(i)]) << file << " frame " << i;
            EXPECT_EQ(back.frames[std::size_t(i)], ours[std::size_t(i)]) << file << " frame " << i;
        }
    }
    // A GIF87a file with a global colour table and no control blocks.
    Pixels const p = Pattern(31, 9);
    Bytes const old = MakeGif87WithGlobalTable(31, 9, p);
    GdiplusGif const back = ReadWithGdiplus(old);
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(p, back.frames.at(0));
    ASSERT_EQ(1, LoadBytes(gif, "gif87", old));
    EXPECT_EQ(p, Canvases(gif, 1).at(0));
}

TEST_F(AnimatedGifTest, FramesComposeWithTransparencyClippingAndDisposal)
{
    std::uint32_t const red = PureColour(1), blue = PureColour(4), green = PureColour(2);
    auto square = [](int side, std::uint32_t c) { return Pixels(std::size_t(side * side), c); };
    GifFrame base = Frame(8, 8, square(8, red));
    GifFrame restorePrevious = Frame(4, 4, square(4, blue));
    restorePrevious.left = restorePrevious.top = 2;
    restorePrevious.disposal = 3; // bits 12
    GifFrame restoreBackground = restorePrevious;
    restoreBackground.disposal = 2; // bits 8: the saved area as well
    restoreBackground.pixels = square(4, green);
    // Half transparent, half past the screen's edge.
    GifFrame holes = Frame(4, 4, square(4, blue));
    holes.left = holes.top = 6;
    holes.transparent = int(green);
    for (int i = 0; i < 16; i += 2)
        holes.pixels[std::size_t(i)] = green;
    GifProbe gif(top, 0);
    ASSERT_EQ(1, LoadBytes(gif, "compose", MakeGif(8, 8, {base, restorePrevious, restoreBackground, holes})));
    auto const c = Canvases(gif, 5);
    ASSERT_EQ(5u, c.size());
    auto at = [](Pixels const &p, int x, int y) { return p[std::size_t(y * 8 + x)]; };
    EXPECT_EQ(square(8, red), c[0]);
    EXPECT_EQ(blue, at(c[1], 2, 2));
    EXPECT_EQ(blue, at(c[1], 5, 5));
    EXPECT_EQ(red, at(c[1], 6, 6));
    EXPECT_EQ(green, at(c[2], 3, 4)); // the blue square went back to red first
    EXPECT_EQ(std::count(c[2].begin(), c[2].end(), green), 16);
    EXPECT_EQ(red, at(c[3], 6, 6)); // (6, 6) is a hole
    EXPECT_EQ(blue, at(c[3], 7, 6));
    EXPECT_EQ(std::count(c[3].begin(), c[3].end(), blue), 2); // only (7, 6) and (7, 7) fit
    EXPECT_EQ(std::count(c[3].begin(), c[3].end(), green), 0);
    EXPECT_EQ(c[0], c[4]); // the walk looped: the first frame again

    // Painted while not playing: the first frame inside the frame width, its
    // transparent pixels on the background.
    GifProbe painted(top, 2);
    painted.ChangePosPixel(Point(0, 0));
    painted.Show();
    holes.left = holes.top = 0;
    ASSERT_EQ(1, LoadBytes(painted, "paint", MakeGif(4, 4, {holes})));
    EXPECT_EQ(Size(8, 8), painted.GetOutputSizePixel());
    RedrawWindow(painted.GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    COLORREF const face = COLORREF(Color(ColorNameButtonFace).GetLong());
    auto colorref = [](std::uint32_t rgb) { return COLORREF(RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF)); };
    COLORREF const outerStep = RGB(192, 192, 192); // of the sunken frame's grey ramp
    EXPECT_EQ(outerStep, PixelOf(painted.GetHWND(), 0, 0));
    EXPECT_EQ(face, PixelOf(painted.GetHWND(), 2, 2));
    EXPECT_EQ(colorref(blue), PixelOf(painted.GetHWND(), 3, 2));
    EXPECT_EQ(outerStep, PixelOf(painted.GetHWND(), 7, 7));
}

TEST_F(AnimatedGifTest, TheBackgroundTextureShowsAroundAndThroughTheImage)
{
    std::uint32_t const blue = PureColour(4), green = PureColour(2);
    GifFrame holes = Frame(4, 4, Pixels(16, blue));
    holes.transparent = int(green);
    for (int i = 0; i < 16; i += 2)
        holes.pixels[std::size_t(i)] = green;
    GifProbe gif(top, 2);
    gif.ChangePosPixel(Point(0, 0));
    gif.Show();
    ASSERT_EQ(1, LoadBytes(gif, "texture", MakeGif(4, 4, {holes, holes})));
    auto shown = [&](int x, int y) {
        RedrawWindow(gif.GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return PixelOf(gif.GetHWND(), x, y);
    };
    std::mt19937 rng(53);
    Color const c(static_cast<unsigned long>(rng() & 0xFFFFFF));
    gif.SetBackgroundTexture(Texture(c));
    EXPECT_EQ(COLORREF(RGB(192, 192, 192)), shown(0, 0)) << "the frame keeps its grey ramp";
    EXPECT_EQ(COLORREF(c.GetLong()), shown(2, 2)) << "a hole in the image";
    EXPECT_EQ(COLORREF(RGB(0, 0, 255)), shown(3, 2));
    // A gradient: its average colour shows through the holes.
    VerticalGradient g(ColorPair(Color(0x2040F0ul), Color(0xF04020ul)));
    gif.SetBackgroundTexture(Texture(g));
    EXPECT_EQ(COLORREF(g.GetAverageColor().GetLong()), shown(2, 2));
    // Changed while playing, the player starts again on the new colour.
    ASSERT_TRUE(gif.Play());
    Color const last(static_cast<unsigned long>(rng() & 0xFFFFFF));
    gif.SetBackgroundTexture(Texture(last));
    EXPECT_TRUE(gif.IsPlaying());
    ASSERT_TRUE(PumpUntil([&] { return gif.GetFramesShown() >= 1; }, 2000));
    gif.Stop();
    Pixels const canvas = gif.GetCanvasPixels();
    ASSERT_EQ(16u, canvas.size());
    EXPECT_EQ(COLORREF(last.GetLong()), COLORREF(RGB(canvas[0] >> 16, (canvas[0] >> 8) & 0xFF, canvas[0] & 0xFF)));
}

TEST_F(AnimatedGifTest, PlayerKeepsTheDelaysAndLoops)
{
    // Two frames; the mean interval over many frames: 50 ms for delay 0,
    // the delay's hundredths otherwise. Wine's timers are coarse, so the
    // bounds only tell the cases apart.
    struct
    {
        int delay;
        double low, high;
    } const cases[] = {{0, 35, 90}, {12, 100, 190}};
    for (auto const &k : cases) {
        GifProbe gif(top, 1);
        Pixels const a(36, PureColour(1)), b(36, PureColour(6));
        ASSERT_EQ(1, LoadBytes(gif, "timing", MakeGif(6, 6, {Frame(6, 6, a, k.delay), Frame(6, 6, b, k.delay)})));
        gif.Show();
        ASSERT_TRUE(gif.Play());
        EXPECT_TRUE(gif.IsPlaying());
        ASSERT_TRUE(PumpUntil([&] { return gif.GetFramesShown() >= 1; }, 2000));
        long const first = gif.GetFramesShown();
        DWORD const start = GetTickCount();
        PumpFor(k.delay == 0 ? 1500 : 2500);
        long const frames = gif.GetFramesShown() - first;
        double const mean = double(GetTickCount() - start) / double(std::max(frames, 1L));
        gif.Stop();
        std::printf("delay %d: %ld frames, %.1f ms apart on average\n", k.delay, frames, mean);
        EXPECT_FALSE(gif.IsPlaying());
        EXPECT_GT(frames, 4) << "the animation looped after its trailer";
        EXPECT_GE(mean, k.low) << k.delay;
        EXPECT_LE(mean, k.high) << k.delay;
        // What the player left on the canvas is one of the two frames.
        Pixels const canvas = gif.GetCanvasPixels();
        EXPECT_TRUE(canvas == a || canvas == b);
    }
}

TEST_F(AnimatedGifTest, DamagedFilesFailOrPlayWithoutHarm)
{
    // The corpus in tests/data/gif is what the generator makes; with
    // KS_WRITE_GIF_CORPUS set the generator writes it again.
    std::string corpus = std::string("Z:") + __FILE__;
    std::replace(corpus.begin(), corpus.end(), '/', '\\');
    corpus = corpus.substr(0, corpus.rfind("\\graphics\\")) + "\\data\\gif\\";
    bool const write = GetEnvironmentVariableA("KS_WRITE_GIF_CORPUS", nullptr, 0) > 0;
    for (DamagedGif const &d : DamagedGifs()) {
        SCOPED_TRACE(d.name);
        std::string name = d.name;
        std::replace(name.begin(), name.end(), ' ', '-');
        if (write)
            WriteBytes(corpus + name + ".gif", d.bytes);
        EXPECT_EQ(d.bytes, ReadBytes(corpus + name + ".gif"));
        std::string const path = TempFile("damaged.gif");
        ASSERT_TRUE(WriteBytes(path, d.bytes));
        Bitmap bitmap;
        bitmap.Load(Entry(path)); // either result, as long as it returns
        GifProbe gif(top, 2);
        EXPECT_EQ(d.loads ? 1 : 0, LoadBytes(gif, "damaged", d.bytes));
        EXPECT_EQ(d.loads, gif.IsLoaded());
        if (!d.loads)
            continue;
        int composed = 0;
        for (int i = 0; i < 12; ++i)
            composed += gif.StepCanvas() ? 1 : 0;
        EXPECT_GT(composed, 0);
        gif.Show();
        ASSERT_TRUE(gif.Play());
        PumpFor(120);
        gif.Stop();
    }
    // Only the .anm file is read.
    GifProbe gif(top, 0);
    std::string const gifOnly = TempFile("only.gif");
    ASSERT_TRUE(WriteBytes(gifOnly, DamagedGifs().front().bytes));
    DeleteFileA(TempFile("only.anm").c_str());
    EXPECT_EQ(0, gif.Load(Entry(gifOnly)));
    EXPECT_EQ(0, gif.Load(Entry(TempFile("missing.gif"))));
}

TEST_F(AnimatedGifTest, PlayStopAndDeletingAPlayingWindowLeaveNothing)
{
    Bytes const bytes = DamagedGifs().front().bytes;
    GifProbe gif(top, 2);
    ASSERT_EQ(1, LoadBytes(gif, "cycles", bytes));
    gif.Show();
    // The platform starts a worker thread of its own on the first play.
    ASSERT_TRUE(gif.Play());
    PumpFor(50);
    gif.Stop();
    int const threads = ProcessThreadCount();
    EXPECT_TRUE(NoGrowthOnceSettled({.batch = 25}, [&](int i) {
        ASSERT_TRUE(gif.Play());
        if (i % 3 == 0)
            PumpFor(15);
        gif.Stop();
    }));
    EXPECT_EQ(threads, ProcessThreadCount());
    EXPECT_TRUE(NoGrowthOnceSettled({.batch = 10}, [&](int i) {
        auto *playing = new GifProbe(top, 1);
        playing->Load(Entry(TempFile("cycles.gif")));
        playing->Show();
        playing->Play();
        if (i % 2 == 0)
            PumpFor(10);
        delete playing;
    }));
    EXPECT_EQ(threads, ProcessThreadCount());
}
