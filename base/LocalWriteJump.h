#pragma once
// Scope in which a DataBuffer's cursor stands at another position: writes
// inside it patch bytes written earlier, and the destructor puts the cursor
// back where it was. It serves values known only after what follows them
// has been written, such as a count of entries that were filtered while
// they were written:
//
//     unsigned long at = buf.GetPos();
//     buf.WriteInt32(0);                       // count, patched below
//     int n = WriteEntries(buf);
//     { LocalWriteJump jump(buf, int(at)); buf.WriteInt32(n); }
//
// A position outside the data (negative or beyond the end) is refused: the
// cursor stays and IsValid answers false, so the caller's patch lands at the
// end instead of at a random place; it should test IsValid first.
#include "frame/Kestrel5Api.h"

class DataBuffer;

class KSAPI LocalWriteJump
{
public:
    LocalWriteJump(DataBuffer &buf, int pos);
    ~LocalWriteJump();
    LocalWriteJump(LocalWriteJump const &) = delete;
    LocalWriteJump &operator=(LocalWriteJump const &) = delete;

    bool IsValid() const noexcept { return m_bValid; }

private:
    DataBuffer &m_rBuf;
    unsigned long m_nReturnPos;
    bool m_bValid;
};
