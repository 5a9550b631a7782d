// zlib as applications see it: linked only against Kestrel5's import library,
// so every call below goes through the functions the DLL re-exports.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>
#include <zlib.h>

namespace {

// Mixed stretches, so that the deflater uses stored, fixed and dynamic blocks.
std::vector<unsigned char> MixedData(std::size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<unsigned char> v;
    v.reserve(n);
    static char const words[] = "window pane dock float split tab hide ";
    while (v.size() < n) {
        switch (rng() % 3) {
        case 0:
            for (int i = 0; i < 4096 && v.size() < n; ++i)
                v.push_back(static_cast<unsigned char>(rng()));
            break;
        case 1:
            for (int i = 0; i < 8192 && v.size() < n; ++i)
                v.push_back(static_cast<unsigned char>(words[i % (sizeof words - 1)]));
            break;
        default:
            v.insert(v.end(), std::min<std::size_t>(3000, n - v.size()), static_cast<unsigned char>(rng()));
        }
    }
    return v;
}

// Streams data through deflate in small output steps, as a file writer would.
std::vector<unsigned char> DeflateStream(std::vector<unsigned char> const &in, int level, int windowBits)
{
    z_stream s{};
    EXPECT_EQ(Z_OK, deflateInit2(&s, level, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY));
    std::vector<unsigned char> out;
    unsigned char buf[7001];
    std::size_t fed = 0;
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        if (s.avail_in == 0 && fed < in.size()) {
            std::size_t chunk = std::min<std::size_t>(65537, in.size() - fed);
            s.next_in = const_cast<Bytef *>(in.data() + fed);
            s.avail_in = static_cast<uInt>(chunk);
            fed += chunk;
        }
        s.next_out = buf;
        s.avail_out = sizeof buf;
        rc = deflate(&s, fed == in.size() ? Z_FINISH : Z_NO_FLUSH);
        EXPECT_TRUE(rc == Z_OK || rc == Z_STREAM_END || rc == Z_BUF_ERROR) << rc;
        out.insert(out.end(), buf, buf + (sizeof buf - s.avail_out));
        if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR)
            break;
    }
    EXPECT_EQ(Z_OK, deflateEnd(&s));
    return out;
}

// Returns inflate's last result; the text produced so far goes to out.
int InflateStream(std::vector<unsigned char> const &in, int windowBits, std::vector<unsigned char> &out)
{
    z_stream s{};
    if (inflateInit2(&s, windowBits) != Z_OK)
        return Z_STREAM_ERROR;
    s.next_in = const_cast<Bytef *>(in.data());
    s.avail_in = static_cast<uInt>(in.size());
    unsigned char buf[4093];
    int rc;
    do {
        s.next_out = buf;
        s.avail_out = sizeof buf;
        rc = inflate(&s, Z_NO_FLUSH);
        out.insert(out.end(), buf, buf + (sizeof buf - s.avail_out));
    } while (rc == Z_OK); // no progress possible gives Z_BUF_ERROR
    inflateEnd(&s);
    return rc;
}

} // namespace

TEST(Zlib, StreamingRoundTripsAtSeveralLevelsAndWindows)
{
    auto const data = MixedData(1 << 20 | 12345, 7);
    struct { int level, windowBits; } const cases[] = {
        {0, 15}, {1, 9}, {6, 15}, {9, 12}, {Z_DEFAULT_COMPRESSION, 15 + 16} /* gzip wrapper */,
        {5, -15} /* raw deflate */};
    for (auto c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.level << " window " << c.windowBits);
        auto packed = DeflateStream(data, c.level, c.windowBits);
        EXPECT_TRUE(c.level == 0 || packed.size() < data.size());
        std::vector<unsigned char> back;
        EXPECT_EQ(Z_STREAM_END, InflateStream(packed, c.windowBits, back));
        ASSERT_EQ(data.size(), back.size());
        EXPECT_TRUE(std::memcmp(data.data(), back.data(), data.size()) == 0);
    }
}

TEST(Zlib, Compress2AndUncompress)
{
    auto const data = MixedData(300000, 11);
    std::vector<unsigned char> packed(compressBound(data.size()));
    uLongf packedLen = packed.size();
    ASSERT_EQ(Z_OK, compress2(packed.data(), &packedLen, data.data(), data.size(), 9));
    std::vector<unsigned char> back(data.size());
    uLongf backLen = back.size();
    ASSERT_EQ(Z_OK, uncompress(back.data(), &backLen, packed.data(), packedLen));
    EXPECT_EQ(data, back);

    std::vector<unsigned char> small(data.size() - 1);
    uLongf smallLen = small.size();
    EXPECT_EQ(Z_BUF_ERROR, uncompress(small.data(), &smallLen, packed.data(), packedLen));
}

TEST(Zlib, ChecksumsMatchPublishedValues)
{
    auto const *abc = reinterpret_cast<Bytef const *>("123456789");
    EXPECT_EQ(0xCBF43926UL, crc32(crc32(0L, Z_NULL, 0), abc, 9));
    EXPECT_EQ(0x091E01DEUL, adler32(adler32(0L, Z_NULL, 0), abc, 9));
}

TEST(Zlib, CorruptAndTruncatedStreamsGiveErrorCodes)
{
    auto const data = MixedData(200000, 3);
    auto packed = DeflateStream(data, 6, 15);

    std::vector<unsigned char> out, truncated(packed.begin(), packed.begin() + packed.size() / 2);
    EXPECT_EQ(Z_BUF_ERROR, InflateStream(truncated, 15, out)) << "a cut stream never reaches its end";

    auto badHeader = packed;
    badHeader[0] ^= 0x0F;
    out.clear();
    EXPECT_EQ(Z_DATA_ERROR, InflateStream(badHeader, 15, out));

    auto badTrailer = packed;
    badTrailer.back() ^= 0xFF; // the Adler-32 check
    out.clear();
    EXPECT_EQ(Z_DATA_ERROR, InflateStream(badTrailer, 15, out));

    // Random damage anywhere: any result but never a crash or a hang.
    std::mt19937 rng(5);
    for (int i = 0; i < 200; ++i) {
        auto damaged = packed;
        for (int k = 0; k < 8; ++k)
            damaged[rng() % damaged.size()] = static_cast<unsigned char>(rng());
        out.clear();
        int rc = InflateStream(damaged, 15, out);
        EXPECT_TRUE(rc == Z_STREAM_END || rc == Z_DATA_ERROR || rc == Z_BUF_ERROR || rc == Z_NEED_DICT) << rc;
    }
}

TEST(Zlib, InflateSyncRecoversAfterDamage)
{
    // Full flushes leave byte-aligned sync points to recover from.
    auto const data = MixedData(120000, 9);
    z_stream d{};
    ASSERT_EQ(Z_OK, deflateInit2(&d, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY));
    std::vector<unsigned char> packed(compressBound(data.size()) + 1024);
    std::size_t const half = data.size() / 2;
    d.next_in = const_cast<Bytef *>(data.data());
    d.avail_in = static_cast<uInt>(half);
    d.next_out = packed.data();
    d.avail_out = static_cast<uInt>(packed.size());
    ASSERT_EQ(Z_OK, deflate(&d, Z_FULL_FLUSH));
    std::size_t const firstPart = packed.size() - d.avail_out;
    d.next_in = const_cast<Bytef *>(data.data() + half);
    d.avail_in = static_cast<uInt>(data.size() - half);
    ASSERT_EQ(Z_STREAM_END, deflate(&d, Z_FINISH));
    packed.resize(packed.size() - d.avail_out);
    deflateEnd(&d);

    // Spoil the first half, then let inflateSync find the flush point.
    for (std::size_t i = 10; i < firstPart / 2; i += 97)
        packed[i] ^= 0x5A;
    z_stream s{};
    ASSERT_EQ(Z_OK, inflateInit2(&s, -15));
    s.next_in = packed.data() + 20;
    s.avail_in = static_cast<uInt>(packed.size() - 20);
    std::vector<unsigned char> out(data.size());
    s.next_out = out.data();
    s.avail_out = static_cast<uInt>(out.size());
    ASSERT_EQ(Z_OK, inflateSync(&s));
    EXPECT_EQ(firstPart, static_cast<std::size_t>(s.next_in - packed.data()));
    ASSERT_EQ(Z_OK, inflateReset(&s));
    s.next_out = out.data();
    s.avail_out = static_cast<uInt>(out.size());
    ASSERT_EQ(Z_STREAM_END, inflate(&s, Z_FINISH));
    std::size_t const got = out.size() - s.avail_out;
    inflateEnd(&s);
    ASSERT_EQ(data.size() - half, got);
    EXPECT_TRUE(std::memcmp(out.data(), data.data() + half, got) == 0);
}

TEST(Zlib, PresetDictionary)
{
    std::string const dict = "docking layout pane divider ";
    std::string const text = "docking layout: pane, divider, pane, docking layout";
    z_stream d{};
    ASSERT_EQ(Z_OK, deflateInit(&d, 9));
    ASSERT_EQ(Z_OK, deflateSetDictionary(&d, reinterpret_cast<Bytef const *>(dict.data()), dict.size()));
    unsigned char packed[512];
    d.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(text.data()));
    d.avail_in = text.size();
    d.next_out = packed;
    d.avail_out = sizeof packed;
    ASSERT_EQ(Z_STREAM_END, deflate(&d, Z_FINISH));
    uLong const packedLen = d.total_out;
    deflateEnd(&d);

    z_stream s{};
    ASSERT_EQ(Z_OK, inflateInit(&s));
    char out[256];
    s.next_in = packed;
    s.avail_in = packedLen;
    s.next_out = reinterpret_cast<Bytef *>(out);
    s.avail_out = sizeof out;
    ASSERT_EQ(Z_NEED_DICT, inflate(&s, Z_NO_FLUSH));
    ASSERT_EQ(Z_OK, inflateSetDictionary(&s, reinterpret_cast<Bytef const *>(dict.data()), dict.size()));
    ASSERT_EQ(Z_STREAM_END, inflate(&s, Z_FINISH));
    EXPECT_EQ(text, std::string(out, s.total_out));
    inflateEnd(&s);
}
