#pragma once
// Scope of one length-prefixed section being written to a DataBuffer: the
// constructor leaves a 4-byte placeholder at the cursor, the destructor fills
// in the number of bytes written after it. Beyond the buffer's nesting limit
// the object does nothing and its content goes without a length.
#include "frame/Kestrel5Api.h"

class DataBuffer;

class KSAPI LocalSizedWrite
{
public:
    explicit LocalSizedWrite(DataBuffer &buf);
    ~LocalSizedWrite();
    LocalSizedWrite(LocalSizedWrite const &) = delete;
    LocalSizedWrite &operator=(LocalSizedWrite const &) = delete;

    // False when the nesting limit refused the section.
    bool IsOpen() const noexcept { return m_bOpen; }

private:
    DataBuffer &m_rBuf;
    bool m_bOpen;
};
