#include "tests/support/GifSamples.h"

#include "graphics/GifWriter.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <windows.h>
#include <gdiplus.h>
#include <tlhelp32.h>

namespace kstest {

Bytes MakeGif(int nScreenWidth, int nScreenHeight, std::vector<GifFrame> const &rFrames)
{
    GifWriter writer(nScreenWidth, nScreenHeight, 0);
    for (GifFrame const &f : rFrames) {
        std::map<std::uint32_t, int> index;
        std::vector<std::uint32_t> palette;
        auto indexOf = [&](std::uint32_t c) {
            auto [it, added] = index.try_emplace(c, int(palette.size()));
            if (added)
                palette.push_back(c);
            return it->second;
        };
        int const transparent = f.transparent >= 0 ? indexOf(std::uint32_t(f.transparent)) : -1;
        std::vector<std::uint8_t> indices(f.pixels.size());
        for (std::size_t i = 0; i < f.pixels.size(); ++i)
            indices[i] = std::uint8_t(indexOf(f.pixels[i]));
        writer.AddFrame(indices.data(), f.width, f.height, palette, f.delay, f.left, f.top, f.disposal, transparent,
                        f.interlace);
    }
    return writer.Finish();
}

Bytes MakeGif87WithGlobalTable(int w, int h, Pixels const &rPixels)
{
    Bytes b = {'G', 'I', 'F', '8', '7', 'a', std::uint8_t(w), std::uint8_t(w >> 8), std::uint8_t(h),
               std::uint8_t(h >> 8), 0x87, 0, 0};
    std::vector<std::uint8_t> indices(rPixels.size());
    for (int i = 0; i < 256; ++i) {
        std::uint32_t const c = PureColour(i % 8) ^ std::uint32_t(i / 8);
        b.push_back(std::uint8_t(c >> 16));
        b.push_back(std::uint8_t(c >> 8));
        b.push_back(std::uint8_t(c));
    }
    for (std::size_t i = 0; i < rPixels.size(); ++i)
        for (int j = 0; j < 8; ++j)
            if (PureColour(j) == rPixels[i])
                indices[i] = std::uint8_t(j);
    Bytes const frame = {0x2C, 0, 0, 0, 0, std::uint8_t(w), std::uint8_t(w >> 8), std::uint8_t(h), std::uint8_t(h >> 8), 0, 8};
    b.insert(b.end(), frame.begin(), frame.end());
    std::vector<std::uint8_t> data;
    GifWriter::EncodeLzw(indices.data(), indices.size(), 8, data);
    b.insert(b.end(), data.begin(), data.end());
    b.push_back(0x3B);
    return b;
}

GdiplusGif ReadWithGdiplus(Bytes const &rFile)
{
    GdiplusGif result;
    HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE, rFile.size());
    if (!global)
        return result;
    std::memcpy(GlobalLock(global), rFile.data(), rFile.size());
    GlobalUnlock(global);
    IStream *stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(global, TRUE, &stream))) {
        GlobalFree(global);
        return result;
    }
    {
        Gdiplus::Bitmap image(stream, FALSE);
        if (image.GetLastStatus() == Gdiplus::Ok) {
            GUID time = Gdiplus::FrameDimensionTime;
            UINT const count = image.GetFrameCount(&time);
            UINT const size = image.GetPropertyItemSize(0x5100);
            if (size >= sizeof(Gdiplus::PropertyItem)) {
                std::vector<unsigned char> buffer(size);
                auto *item = reinterpret_cast<Gdiplus::PropertyItem *>(buffer.data());
                if (image.GetPropertyItem(0x5100, size, item) == Gdiplus::Ok)
                    for (ULONG i = 0; i < item->length / 4; ++i)
                        result.delays.push_back(int(static_cast<LONG const *>(item->value)[i]));
            }
            result.width = int(image.GetWidth());
            result.height = int(image.GetHeight());
            result.ok = true;
            for (UINT i = 0; i < count && result.ok; ++i) {
                Gdiplus::BitmapData data{};
                Gdiplus::Rect const all(0, 0, result.width, result.height);
                if (image.SelectActiveFrame(&time, i) != Gdiplus::Ok ||
                    image.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok) {
                    result.ok = false;
                    break;
                }
                Pixels p(std::size_t(result.width) * std::size_t(result.height));
                for (int y = 0; y < result.height; ++y)
                    for (int x = 0; x < result.width; ++x)
                        p[std::size_t(y * result.width + x)] =
                            static_cast<std::uint32_t const *>(data.Scan0)[std::ptrdiff_t(y) * data.Stride / 4 + x] &
                            0xFFFFFF;
                image.UnlockBits(&data);
                result.frames.push_back(std::move(p));
            }
        }
    }
    stream->Release();
    return result;
}

namespace {

void Put16(Bytes &b, std::size_t at, unsigned v)
{
    if (at + 1 < b.size()) {
        b[at] = std::uint8_t(v);
        b[at + 1] = std::uint8_t(v >> 8);
    }
}

Bytes Cut(Bytes b, std::size_t n)
{
    b.resize(std::min(n, b.size()));
    return b;
}

// The offset of the first image descriptor: after the header, the global
// table and the extensions.
std::size_t FirstImage(Bytes const &b)
{
    std::size_t i = 13 + ((b[10] & 0x80) ? 3 * (std::size_t(2) << (b[10] & 7)) : 0);
    while (i < b.size() && b[i] == 0x21) {
        for (i += 2; i < b.size() && b[i] != 0; i += 1 + b[i]) {
        }
        ++i;
    }
    return i;
}

std::size_t FirstControl(Bytes const &b)
{
    for (std::size_t i = 13; i + 1 < b.size(); ++i)
        if (b[i] == 0x21 && b[i + 1] == 0xF9)
            return i;
    return 0;
}

// A 4 x 4 file with a global table whose one frame's codes are given (3
// bits each, minimum code size 2: clear 4, end 5, first free 6).
Bytes HandCoded(std::vector<unsigned> const &rCodes)
{
    Bytes b = {'G', 'I', 'F', '8', '9', 'a', 4, 0, 4, 0, 0x81, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255,
               0x2C, 0, 0, 0, 0, 4, 0, 4, 0, 0, 2};
    std::uint32_t bits = 0;
    int count = 0;
    Bytes data;
    for (unsigned c : rCodes) {
        bits |= c << count;
        for (count += 3; count >= 8; count -= 8, bits >>= 8)
            data.push_back(std::uint8_t(bits));
    }
    if (count > 0)
        data.push_back(std::uint8_t(bits));
    b.push_back(std::uint8_t(data.size()));
    b.insert(b.end(), data.begin(), data.end());
    b.push_back(0);
    b.push_back(0x3B);
    return b;
}

} // namespace

std::vector<DamagedGif> DamagedGifs()
{
    std::vector<GifFrame> frames;
    for (int i = 0; i < 3; ++i) {
        GifFrame f;
        f.width = 12 - 2 * i;
        f.height = 10 - i;
        f.left = i;
        f.top = i;
        f.delay = 2;
        f.disposal = i == 1 ? 3 : 1;
        f.transparent = i == 2 ? int(PureColour(1)) : -1;
        f.pixels = Pattern(f.width, f.height);
        for (std::size_t p = 0; p < f.pixels.size(); ++p)
            f.pixels[p] = PureColour(int(p + std::size_t(i)) % 8);
        f.interlace = i == 2;
        frames.push_back(f);
    }
    Bytes const good = MakeGif(12, 10, frames);
    std::size_t const image = FirstImage(good), control = FirstControl(good);
    std::size_t const table = image + 10, tableBytes = 3 * (std::size_t(2) << (good[image + 9] & 7));
    std::size_t const data = table + tableBytes + 1;
    auto with = [&](auto change) {
        Bytes b = good;
        change(b);
        return b;
    };
    return {
        {"good", good, true},
        {"empty", Bytes{}, false},
        {"cut in header", Cut(good, 10), false},
        {"header only", Cut(good, 13), false},
        {"cut in loop block", Cut(good, 20), false},
        {"cut in frame descriptor", Cut(good, image + 5), false},
        {"cut in colour table", Cut(good, table + 7), false},
        {"cut in frame data", Cut(good, data + 6), true},
        {"cut after first frame", Cut(good, good.size() / 2), true},
        {"no trailer", Cut(good, good.size() - 1), true},
        {"wrong magic", with([](Bytes &b) { b[0] = 'J'; }), false},
        {"GIF88a", with([](Bytes &b) { b[4] = '8'; }), false},
        {"zero screen", with([](Bytes &b) { Put16(b, 6, 0); Put16(b, 8, 0); }), false},
        {"zero screen height", with([](Bytes &b) { Put16(b, 8, 0); }), false},
        {"huge screen", with([](Bytes &b) { Put16(b, 6, 65535); Put16(b, 8, 65535); }), false},
        {"screen one over the limit", with([](Bytes &b) { Put16(b, 6, 16385); }), false},
        {"screen at the limit", with([](Bytes &b) { Put16(b, 6, 16384); }), true},
        {"zero frame", with([&](Bytes &b) { Put16(b, image + 5, 0); }), false},
        {"huge frame", with([&](Bytes &b) { Put16(b, image + 5, 65535); Put16(b, image + 7, 65535); }), false},
        {"frame larger than its data", with([&](Bytes &b) { Put16(b, image + 5, 16384); Put16(b, image + 7, 16384); }), false},
        {"frame outside the screen", with([&](Bytes &b) { Put16(b, image + 1, 60000); Put16(b, image + 3, 60000); }), true},
        {"frame partly outside", with([&](Bytes &b) { Put16(b, image + 1, 9); Put16(b, image + 3, 8); }), true},
        {"unknown extension label", with([&](Bytes &b) { b[control + 1] = 0x77; }), false},
        {"short control block", with([&](Bytes &b) { b[control + 2] = 1; }), true},
        {"unknown block", with([&](Bytes &b) { b[image] = 0x99; }), false},
        {"sub-block past the end", with([&](Bytes &b) { b[data] = 255; }), true},
        {"minimum code size 12", with([&](Bytes &b) { b[data - 1] = 12; }), false},
        {"minimum code size 0", with([&](Bytes &b) { b[data - 1] = 0; }), false},
        {"short global table", with([](Bytes &b) { b[10] = 0x87; }), false},
        {"LZW code past the table", HandCoded({4, 1, 7, 2, 5}), true},
        {"LZW string code first", HandCoded({4, 6, 1, 5}), true},
        {"LZW without end code", HandCoded({4, 1, 2, 3, 0, 6, 9}), true},
        {"LZW repeated clears", HandCoded({4, 4, 4, 4, 4, 4, 4, 1, 5}), true},
    };
}

int ProcessThreadCount()
{
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int n = 0;
    for (BOOL ok = Thread32First(snap, &entry); ok; ok = Thread32Next(snap, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId())
            ++n;
    CloseHandle(snap);
    return n;
}

} // namespace kstest
