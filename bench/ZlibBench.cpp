// zlib reached through Kestrel5.dll against the same zlib linked in directly:
// the export layer must cost nothing measurable.
#include "bench/BenchHarness.h"

#include <cstdio>
#include <random>
#include <vector>
#include <windows.h>
#include <zlib.h>

namespace {

using Compress2Fn = int (*)(Bytef *, uLongf *, Bytef const *, uLong, int);
using UncompressFn = int (*)(Bytef *, uLongf *, Bytef const *, uLong);
using Crc32Fn = uLong (*)(uLong, Bytef const *, uInt);

std::vector<unsigned char> Data(std::size_t n)
{
    std::mt19937 rng(1);
    std::vector<unsigned char> v(n);
    for (std::size_t i = 0; i < n; ++i)
        v[i] = (i / 512) % 2 ? static_cast<unsigned char>(rng()) : static_cast<unsigned char>("kestrel "[i % 8]);
    return v;
}

} // namespace

int main()
{
    HMODULE dll = LoadLibraryA("Kestrel5.dll");
    if (!dll) {
        std::printf("ZlibBench: Kestrel5.dll not found\n");
        return 1;
    }
    auto ksCompress2 = reinterpret_cast<Compress2Fn>(reinterpret_cast<void *>(GetProcAddress(dll, "compress2")));
    auto ksUncompress = reinterpret_cast<UncompressFn>(reinterpret_cast<void *>(GetProcAddress(dll, "uncompress")));
    auto ksCrc32 = reinterpret_cast<Crc32Fn>(reinterpret_cast<void *>(GetProcAddress(dll, "crc32")));
    if (!ksCompress2 || !ksUncompress || !ksCrc32) {
        std::printf("ZlibBench: an export is missing\n");
        return 1;
    }

    auto const data = Data(1 << 20);
    std::vector<unsigned char> packed(compressBound(data.size()));
    std::vector<unsigned char> back(data.size());
    uLongf packedLen = 0;
    int const rounds = 9;

    bench::Compare("compress2 1 MiB, level 6", "zlib linked", rounds,
        [&] { packedLen = packed.size(); compress2(packed.data(), &packedLen, data.data(), data.size(), 6); },
        [&] { packedLen = packed.size(); ksCompress2(packed.data(), &packedLen, data.data(), data.size(), 6); });
    bench::Compare("uncompress 1 MiB", "zlib linked", rounds,
        [&] { uLongf n = back.size(); uncompress(back.data(), &n, packed.data(), packedLen); },
        [&] { uLongf n = back.size(); ksUncompress(back.data(), &n, packed.data(), packedLen); });
    uLong sink = 0;
    bench::Compare("crc32 1 MiB", "zlib linked", rounds,
        [&] { sink += crc32(0, data.data(), data.size()); },
        [&] { sink += ksCrc32(0, data.data(), data.size()); });
    bench::Keep(sink);
    FreeLibrary(dll);
    return 0;
}
