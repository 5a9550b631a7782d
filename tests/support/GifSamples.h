#pragma once
// GIF files for the animation tests: files made from pixels, GDI+ as the
// independent reader of them, and the damaged files every reader must
// survive.
#include "tests/support/ImageSamples.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kstest {

using Bytes = std::vector<unsigned char>;

struct GifFrame
{
    int width = 0, height = 0, left = 0, top = 0;
    Pixels pixels;        // 0xRRGGBB, at most 256 distinct colours
    int delay = 0;        // hundredths of a second
    int disposal = 0;     // 0..7
    int transparent = -1; // a colour of pixels that leaves the canvas as it is, or -1
    bool interlace = false;
};

// A GIF89a file of the frames through GifWriter (a colour table per frame).
Bytes MakeGif(int nScreenWidth, int nScreenHeight, std::vector<GifFrame> const &rFrames);
// A GIF87a file with a global colour table and one frame that uses it.
Bytes MakeGif87WithGlobalTable(int w, int h, Pixels const &rPixels);

struct GdiplusGif
{
    bool ok = false;
    int width = 0, height = 0;
    std::vector<Pixels> frames; // each frame as GDI+ composes it
    std::vector<int> delays;    // property 0x5100, hundredths
};
// The file as GDI+ reads it, from memory.
GdiplusGif ReadWithGdiplus(Bytes const &rFile);

// A named damaged file and whether AnimatedGif must load it.
struct DamagedGif
{
    std::string name;
    Bytes bytes;
    bool loads;
};
// Made deterministically from a small animation: truncated, wrong magic,
// zero and huge sides, corrupt blocks, LZW codes past the table, frames
// outside the screen, no trailer, short colour tables.
std::vector<DamagedGif> DamagedGifs();

// Threads of this process (a Toolhelp32 snapshot).
int ProcessThreadCount();

} // namespace kstest
