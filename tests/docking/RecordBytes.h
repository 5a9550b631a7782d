#pragma once
// Dock records as plain bytes: what a writer puts into a fresh buffer, a
// buffer to read given bytes from, and the mutations that hostile-input
// tests feed the readers.
#include "base/ERRCODE.h"
#include "docking/DataBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <vector>

namespace kstest {

using Bytes = std::vector<unsigned char>;

inline Bytes Contents(DataBuffer const &b) { return Bytes(b.GetData(), b.GetData() + b.GetSize()); }
inline DataBuffer FromBytes(Bytes const &b) { return DataBuffer(b.data(), static_cast<unsigned long>(b.size())); }

// One record (a position, a neighbour, an element tree) written alone; no
// writer has a reason to refuse a record it holds.
template <class Record> Bytes Written(Record const &r)
{
    DataBuffer b;
    EXPECT_EQ(ERRCODE_OK, r.WriteToDataBuffer(b));
    return Contents(b);
}

// One to four edits: flipped bits, a limit value, a cut, inserted or erased
// bytes, or the tail of another seed spliced in.
inline Bytes Mutate(Bytes b, std::mt19937 &rng, std::vector<Bytes> const &seeds)
{
    // Values that sit on the readers' limits.
    static unsigned int const limits[] = {0,     3,     4,         10,         11,        60, 61, 99, 100,
                                          32999, 33000, 0xFF00001, 0x80000000, 0xFFFFFFFF};
    auto below = [&](std::size_t n) { return n ? rng() % n : 0; };
    for (int e = 1 + int(rng() % 4); e > 0; --e) {
        switch (rng() % 7) {
        case 0:
        case 1:
            if (!b.empty())
                b[rng() % b.size()] ^= static_cast<unsigned char>(rng() | 1);
            break;
        case 2:
            if (b.size() >= 4) {
                std::size_t at = rng() % (b.size() - 3);
                unsigned int v = limits[rng() % std::size(limits)];
                for (int i = 0; i < 4; ++i)
                    b[at + i] = static_cast<unsigned char>(v >> (8 * i));
            }
            break;
        case 3:
            b.resize(below(b.size()));
            break;
        case 4:
            b.insert(b.begin() + long(below(b.size() + 1)), 1 + rng() % 8, static_cast<unsigned char>(rng()));
            break;
        case 5: {
            std::size_t at = below(b.size());
            b.erase(b.begin() + long(at), b.begin() + long(std::min<std::size_t>(b.size(), at + 1 + rng() % 8)));
            break;
        }
        default:
            Bytes const &other = seeds[rng() % seeds.size()];
            b.resize(below(b.size()));
            b.insert(b.end(), other.begin() + long(below(other.size())), other.end());
        }
    }
    return b;
}

} // namespace kstest
