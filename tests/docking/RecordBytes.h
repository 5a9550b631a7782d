#pragma once
// Dock records as plain bytes: what a writer puts into a fresh buffer, and a
// buffer to read given bytes from, so that records can be compared with
// hand-written ones, cut and mutated.
#include "base/ERRCODE.h"
#include "docking/DataBuffer.h"

#include <gtest/gtest.h>
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

} // namespace kstest
