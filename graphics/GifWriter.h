#pragma once
// A GIF89a file assembled frame by frame from indexed pixels: each frame with
// its own colour table, a graphic control block (delay, disposal,
// transparency) and LZW-compressed data. The platform's GIF encoder writes
// only one frame here, so multi-frame files are made by this writer.
#include "frame/Kestrel5Api.h"

#include <cstdint>
#include <vector>

class KSAPI GifWriter
{
public:
    // The logical screen every frame lies on; sides are cut to 1..65535.
    // nLoops: the NETSCAPE2.0 repeat count (0 = forever), negative for no
    // loop block at all.
    GifWriter(int nScreenWidth, int nScreenHeight, int nLoops = 0);

    // One frame of w x h indices (rows top to bottom) into pPalette (0xRRGGBB
    // entries, 1..256 of them), placed at (nLeft, nTop). nDelay in hundredths
    // of a second; nDisposal the method 0..7 (2 = restore the background, 3 =
    // restore what was there); nTransparent the index that leaves the canvas
    // as it is, or -1. bInterlace writes the rows in the four-pass order.
    // False, and nothing added, for sides outside 1..65535, a colour table
    // of 0 or more than 256 entries, or an index beyond the table.
    bool AddFrame(std::uint8_t const *pIndices, int nWidth, int nHeight, std::vector<std::uint32_t> const &rPalette,
                  int nDelay, int nLeft = 0, int nTop = 0, int nDisposal = 0, int nTransparent = -1,
                  bool bInterlace = false);
    int GetFrameCount() const { return m_nFrames; }

    // The file so far with its trailer.
    std::vector<std::uint8_t> Finish() const;

    // The LZW code stream of the indices at the minimum code size (2..8),
    // packed into data sub-blocks and closed by the empty block.
    static void EncodeLzw(std::uint8_t const *pIndices, std::size_t nCount, int nMinCodeSize,
                          std::vector<std::uint8_t> &rOut);

private:
    void Put16(int n);

    std::vector<std::uint8_t> m_aBytes;
    int m_nFrames;
};
