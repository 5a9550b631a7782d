// zlib as applications see it: linked only against Kestrel5's import library,
// so every call below goes through the functions the DLL re-exports.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>
#include <zlib.h>

namespace {

// Alternating text and random stretches: stored and compressed blocks both occur.
std::vector<unsigned char> MixedData(std::size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<unsigned char> v(n);
    for (std::size_t i = 0; i < n; ++i)
        v[i] = (i / 4096) % 2 ? static_cast<unsigned char>(rng()) : "window pane dock float "[i % 23];
    return v;
}

std::vector<unsigned char> Deflate(std::vector<unsigned char> const &in, int level, int windowBits)
{
    z_stream s{};
    EXPECT_EQ(Z_OK, deflateInit2(&s, level, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY));
    std::vector<unsigned char> out(deflateBound(&s, in.size()));
    s.next_in = const_cast<Bytef *>(in.data());
    s.avail_in = static_cast<uInt>(in.size());
    s.next_out = out.data();
    s.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(Z_STREAM_END, deflate(&s, Z_FINISH));
    out.resize(s.total_out);
    EXPECT_EQ(Z_OK, deflateEnd(&s));
    return out;
}

// Returns inflate's last result; the text produced so far goes to out.
int Inflate(std::vector<unsigned char> const &in, int windowBits, std::vector<unsigned char> &out)
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

TEST(Zlib, RoundTripsAtSeveralLevelsAndWrappers)
{
    auto const data = MixedData(300000, 7);
    struct { int level, windowBits; } const cases[] = {{0, 15}, {1, 9}, {9, 15}, {Z_DEFAULT_COMPRESSION, 15 + 16} /* gzip */, {5, -15} /* raw */};
    for (auto c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.level << " window " << c.windowBits);
        auto packed = Deflate(data, c.level, c.windowBits);
        EXPECT_TRUE(c.level == 0 || packed.size() < data.size());
        std::vector<unsigned char> back;
        EXPECT_EQ(Z_STREAM_END, Inflate(packed, c.windowBits, back));
        EXPECT_EQ(data, back);
    }

    std::vector<unsigned char> packed(compressBound(data.size())), back(data.size()), small(data.size() - 1);
    uLongf packedLen = packed.size(), backLen = back.size(), smallLen = small.size();
    ASSERT_EQ(Z_OK, compress2(packed.data(), &packedLen, data.data(), data.size(), 9));
    ASSERT_EQ(Z_OK, uncompress(back.data(), &backLen, packed.data(), packedLen));
    EXPECT_EQ(data, back);
    EXPECT_EQ(Z_BUF_ERROR, uncompress(small.data(), &smallLen, packed.data(), packedLen));
}

TEST(Zlib, ChecksumsMatchPublishedValues)
{
    auto const *digits = reinterpret_cast<Bytef const *>("123456789");
    EXPECT_EQ(0xCBF43926UL, crc32(crc32(0L, Z_NULL, 0), digits, 9));
    EXPECT_EQ(0x091E01DEUL, adler32(adler32(0L, Z_NULL, 0), digits, 9));
}

TEST(Zlib, CorruptAndTruncatedStreamsGiveErrorCodes)
{
    auto const packed = Deflate(MixedData(200000, 3), 6, 15);
    std::vector<unsigned char> out, truncated(packed.begin(), packed.begin() + packed.size() / 2);
    EXPECT_EQ(Z_BUF_ERROR, Inflate(truncated, 15, out)) << "a cut stream never reaches its end";
    auto badHeader = packed, badTrailer = packed;
    badHeader[0] ^= 0x0F;
    badTrailer.back() ^= 0xFF; // the Adler-32 check
    EXPECT_EQ(Z_DATA_ERROR, Inflate(badHeader, 15, out));
    EXPECT_EQ(Z_DATA_ERROR, Inflate(badTrailer, 15, out));

    std::mt19937 rng(5); // random damage anywhere: a result, never a crash or a hang
    for (int i = 0; i < 20; ++i) {
        auto damaged = packed;
        for (int k = 0; k < 8; ++k)
            damaged[rng() % damaged.size()] = static_cast<unsigned char>(rng());
        int rc = Inflate(damaged, 15, out);
        EXPECT_TRUE(rc == Z_STREAM_END || rc == Z_DATA_ERROR || rc == Z_BUF_ERROR || rc == Z_NEED_DICT) << rc;
    }
}

TEST(Zlib, InflateSyncAndResetOnOneStream)
{
    auto const data = MixedData(50000, 9);
    auto packed = Deflate(data, 6, -15);
    std::vector<unsigned char> junk(64, 0x5A), out(data.size());
    z_stream s{};
    ASSERT_EQ(Z_OK, inflateInit2(&s, -15));
    s.next_in = junk.data();
    s.avail_in = static_cast<uInt>(junk.size());
    EXPECT_EQ(Z_DATA_ERROR, inflateSync(&s)) << "no flush point in the junk";
    ASSERT_EQ(Z_OK, inflateReset(&s));
    s.next_in = packed.data();
    s.avail_in = static_cast<uInt>(packed.size());
    s.next_out = out.data();
    s.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(Z_STREAM_END, inflate(&s, Z_FINISH));
    EXPECT_EQ(data, out);
    inflateEnd(&s);
}

TEST(Zlib, PresetDictionary)
{
    std::string const dict = "docking layout pane divider ";
    std::string const text = "docking layout: pane, divider, pane, docking layout";
    auto const *dictBytes = reinterpret_cast<Bytef const *>(dict.data());
    unsigned char packed[512];
    char out[256];
    z_stream d{}, s{};
    ASSERT_EQ(Z_OK, deflateInit(&d, 9));
    ASSERT_EQ(Z_OK, deflateSetDictionary(&d, dictBytes, dict.size()));
    d.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(text.data()));
    d.avail_in = text.size();
    d.next_out = packed;
    d.avail_out = sizeof packed;
    ASSERT_EQ(Z_STREAM_END, deflate(&d, Z_FINISH));
    deflateEnd(&d);

    ASSERT_EQ(Z_OK, inflateInit(&s));
    s.next_in = packed;
    s.avail_in = d.total_out;
    s.next_out = reinterpret_cast<Bytef *>(out);
    s.avail_out = sizeof out;
    ASSERT_EQ(Z_NEED_DICT, inflate(&s, Z_NO_FLUSH));
    ASSERT_EQ(Z_OK, inflateSetDictionary(&s, dictBytes, dict.size()));
    ASSERT_EQ(Z_STREAM_END, inflate(&s, Z_FINISH));
    EXPECT_EQ(text, std::string(out, s.total_out));
    inflateEnd(&s);
}
