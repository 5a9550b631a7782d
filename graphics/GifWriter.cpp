#include "graphics/GifWriter.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int LZW_TABLE = 4096;

bool SideFits(int n)
{
    return n >= 1 && n <= 65535;
}

// Codes of varying width, least significant bit first, cut into sub-blocks
// of at most 255 bytes.
class CodePacker
{
public:
    explicit CodePacker(std::vector<std::uint8_t> &rOut) : m_rOut(rOut), m_nBits(0), m_nCount(0) {}
    void Put(unsigned nCode, int nWidth)
    {
        m_nBits |= std::uint32_t(nCode) << m_nCount;
        m_nCount += nWidth;
        while (m_nCount >= 8) {
            Byte(std::uint8_t(m_nBits & 0xFF));
            m_nBits >>= 8;
            m_nCount -= 8;
        }
    }
    void Close()
    {
        if (m_nCount > 0)
            Byte(std::uint8_t(m_nBits & 0xFF));
        m_nBits = 0;
        m_nCount = 0;
        Flush();
        m_rOut.push_back(0);
    }

private:
    void Byte(std::uint8_t b)
    {
        m_aBlock[m_nBlock++] = b;
        if (m_nBlock == 255)
            Flush();
    }
    void Flush()
    {
        if (m_nBlock == 0)
            return;
        m_rOut.push_back(std::uint8_t(m_nBlock));
        m_rOut.insert(m_rOut.end(), m_aBlock, m_aBlock + m_nBlock);
        m_nBlock = 0;
    }

    std::vector<std::uint8_t> &m_rOut;
    std::uint32_t m_nBits;
    int m_nCount;
    std::uint8_t m_aBlock[255]{};
    int m_nBlock = 0;
};

} // namespace

GifWriter::GifWriter(int nScreenWidth, int nScreenHeight, int nLoops) : m_nFrames(0)
{
    static char const signature[] = "GIF89a";
    m_aBytes.assign(signature, signature + 6);
    Put16(std::clamp(nScreenWidth, 1, 65535));
    Put16(std::clamp(nScreenHeight, 1, 65535));
    m_aBytes.push_back(0); // no global colour table: every frame brings its own
    m_aBytes.push_back(0); // background index
    m_aBytes.push_back(0); // square pixels
    if (nLoops >= 0) {
        static char const app[] = "NETSCAPE2.0";
        m_aBytes.push_back(0x21);
        m_aBytes.push_back(0xFF);
        m_aBytes.push_back(11);
        m_aBytes.insert(m_aBytes.end(), app, app + 11);
        m_aBytes.push_back(3);
        m_aBytes.push_back(1);
        Put16(std::min(nLoops, 65535));
        m_aBytes.push_back(0);
    }
}

void GifWriter::Put16(int n)
{
    m_aBytes.push_back(std::uint8_t(n & 0xFF));
    m_aBytes.push_back(std::uint8_t((n >> 8) & 0xFF));
}

bool GifWriter::AddFrame(std::uint8_t const *pIndices, int nWidth, int nHeight,
                         std::vector<std::uint32_t> const &rPalette, int nDelay, int nLeft, int nTop, int nDisposal,
                         int nTransparent, bool bInterlace)
{
    if (!pIndices || !SideFits(nWidth) || !SideFits(nHeight) || rPalette.empty() || rPalette.size() > 256)
        return false;
    std::size_t const count = std::size_t(nWidth) * std::size_t(nHeight);
    if (std::any_of(pIndices, pIndices + count, [&](std::uint8_t i) { return i >= rPalette.size(); }))
        return false;
    int bits = 1;
    while ((std::size_t(1) << bits) < rPalette.size())
        ++bits;

    m_aBytes.push_back(0x21);
    m_aBytes.push_back(0xF9);
    m_aBytes.push_back(4);
    bool const transparent = nTransparent >= 0 && nTransparent < 256;
    m_aBytes.push_back(std::uint8_t(((nDisposal & 7) << 2) | (transparent ? 1 : 0)));
    Put16(std::clamp(nDelay, 0, 65535));
    m_aBytes.push_back(std::uint8_t(transparent ? nTransparent : 0));
    m_aBytes.push_back(0);

    m_aBytes.push_back(0x2C);
    Put16(std::clamp(nLeft, 0, 65535));
    Put16(std::clamp(nTop, 0, 65535));
    Put16(nWidth);
    Put16(nHeight);
    m_aBytes.push_back(std::uint8_t(0x80 | (bInterlace ? 0x40 : 0) | (bits - 1)));
    for (int i = 0; i < (1 << bits); ++i) {
        std::uint32_t const rgb = i < int(rPalette.size()) ? rPalette[std::size_t(i)] : 0;
        m_aBytes.push_back(std::uint8_t(rgb >> 16));
        m_aBytes.push_back(std::uint8_t(rgb >> 8));
        m_aBytes.push_back(std::uint8_t(rgb));
    }
    int const minCode = std::max(2, bits);
    m_aBytes.push_back(std::uint8_t(minCode));
    if (!bInterlace) {
        EncodeLzw(pIndices, count, minCode, m_aBytes);
    } else {
        std::vector<std::uint8_t> rows;
        rows.reserve(count);
        static int const start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = start[pass]; y < nHeight; y += step[pass])
                rows.insert(rows.end(), pIndices + std::size_t(y) * nWidth, pIndices + std::size_t(y + 1) * nWidth);
        EncodeLzw(rows.data(), rows.size(), minCode, m_aBytes);
    }
    ++m_nFrames;
    return true;
}

std::vector<std::uint8_t> GifWriter::Finish() const
{
    std::vector<std::uint8_t> file = m_aBytes;
    file.push_back(0x3B);
    return file;
}

void GifWriter::EncodeLzw(std::uint8_t const *pIndices, std::size_t nCount, int nMinCodeSize,
                          std::vector<std::uint8_t> &rOut)
{
    nMinCodeSize = std::clamp(nMinCodeSize, 2, 8);
    unsigned const clear = 1u << nMinCodeSize, end = clear + 1;
    // The code for (prefix code, next index); 0 = none yet (no string ever
    // gets code 0, which is a single index).
    std::vector<std::uint16_t> table(std::size_t(LZW_TABLE) * 256, 0);
    CodePacker packer(rOut);
    unsigned next = end + 1;
    int width = nMinCodeSize + 1;
    packer.Put(clear, width);
    if (nCount > 0) {
        unsigned prefix = pIndices[0] & (clear - 1);
        for (std::size_t i = 1; i < nCount; ++i) {
            unsigned const c = pIndices[i] & (clear - 1);
            std::uint16_t &entry = table[std::size_t(prefix) * 256 + c];
            if (entry) {
                prefix = entry;
                continue;
            }
            packer.Put(prefix, width);
            // The reader adds its entry one code later and widens when its
            // next free code reaches the width's limit: widen at the same
            // point of the stream.
            if (next >= (1u << width) && width < 12)
                ++width;
            if (next < unsigned(LZW_TABLE)) {
                entry = std::uint16_t(next++);
            } else {
                packer.Put(clear, width);
                std::fill(table.begin(), table.end(), std::uint16_t(0));
                next = end + 1;
                width = nMinCodeSize + 1;
            }
            prefix = c;
        }
        packer.Put(prefix, width);
        if (next >= (1u << width) && width < 12)
            ++width;
    }
    packer.Put(end, width);
    packer.Close();
}
