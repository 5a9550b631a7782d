#include "tests/support/ImageSamples.h"

#include "base/DirEntry.h"
#include "graphics/Bitmap.h"

#include <cmath>
#include <cstdio>
#include <zlib.h>

namespace kstest {

std::uint32_t PureColour(int i)
{
    static std::uint32_t const colours[8] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00,
                                             0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF};
    return colours[((i % 8) + 8) % 8];
}

Pixels Pattern(int w, int h, int blocks)
{
    Pixels p(std::size_t(w) * std::size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int const bx = x / blocks, by = y / blocks;
            p[std::size_t(y) * std::size_t(w) + std::size_t(x)] = PureColour(bx * 3 + by * 5 + (bx * by) % 7);
        }
    return p;
}

HBITMAP MakeHBitmap(int w, int h, Pixels const &rPixels)
{
    BITMAPINFO info = TopDownDibInfo(w, h);
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    SetDIBits(screen, bmp, 0, UINT(h), rPixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return bmp;
}

Pixels ReadPixels(HBITMAP h)
{
    BITMAP bm{};
    if (!h || !GetObjectA(h, sizeof bm, &bm))
        return {};
    BITMAPINFO info = TopDownDibInfo(bm.bmWidth, bm.bmHeight);
    Pixels p(std::size_t(bm.bmWidth) * std::size_t(bm.bmHeight));
    HDC dc = CreateCompatibleDC(nullptr);
    int const lines = GetDIBits(dc, h, 0, UINT(bm.bmHeight), p.data(), &info, DIB_RGB_COLORS);
    DeleteDC(dc);
    if (lines != bm.bmHeight)
        return {};
    for (auto &v : p)
        v &= 0xFFFFFF;
    return p;
}

Pixels ReadPixels(Bitmap const &rBitmap)
{
    return ReadPixels(static_cast<HBITMAP>(rBitmap));
}

double MeanError(Pixels const &a, Pixels const &b)
{
    if (a.size() != b.size() || a.empty())
        return 1e9;
    double sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        for (int s = 0; s < 24; s += 8)
            sum += std::abs(int(a[i] >> s & 0xFF) - int(b[i] >> s & 0xFF));
    return sum / (3.0 * double(a.size()));
}

std::string TempFile(std::string const &rName)
{
    char tmp[MAX_PATH + 1];
    GetTempPathA(MAX_PATH + 1, tmp);
    std::string folder = std::string(tmp) + "ks-images-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\" + rName;
}

std::vector<unsigned char> ReadBytes(std::string const &rPath)
{
    std::vector<unsigned char> bytes;
    if (FILE *f = std::fopen(rPath.c_str(), "rb")) {
        unsigned char buf[65536];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;)
            bytes.insert(bytes.end(), buf, buf + n);
        std::fclose(f);
    }
    return bytes;
}

bool WriteBytes(std::string const &rPath, std::vector<unsigned char> const &rBytes)
{
    HANDLE f = CreateFileA(rPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD done = 0;
    bool const ok = rBytes.empty() || (WriteFile(f, rBytes.data(), DWORD(rBytes.size()), &done, nullptr) &&
                                       done == rBytes.size());
    CloseHandle(f);
    return ok;
}

std::vector<unsigned char> Encode(Bitmap const &rBitmap, std::string const &rExt)
{
    std::string const path = TempFile("encode." + rExt);
    if (rBitmap.Save(DirEntry(SString(path.c_str()))) != ERRCODE_OK)
        return {};
    std::vector<unsigned char> bytes = ReadBytes(path);
    DeleteFileA(path.c_str());
    return bytes;
}

namespace {
std::uint32_t Be32(unsigned char const *p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}
} // namespace

std::size_t FindPngChunk(std::vector<unsigned char> const &rPng, char const *pType)
{
    for (std::size_t at = 8; at + 12 <= rPng.size();) {
        std::uint32_t const len = Be32(&rPng[at]);
        if (std::equal(pType, pType + 4, rPng.begin() + std::ptrdiff_t(at + 4)))
            return at;
        if (len > rPng.size())
            break;
        at += 12 + len;
    }
    return 0;
}

void FixPngCrc(std::vector<unsigned char> &rPng, std::size_t nChunk)
{
    std::uint32_t const len = Be32(&rPng[nChunk]);
    if (nChunk + 12 + len > rPng.size())
        return;
    uLong const crc = crc32(0, &rPng[nChunk + 4], uInt(len + 4));
    for (int i = 0; i < 4; ++i)
        rPng[nChunk + 8 + len + std::size_t(i)] = static_cast<unsigned char>(crc >> (24 - 8 * i));
}

} // namespace kstest
