#pragma once
// Scope of one length-prefixed section being read from a DataBuffer: the
// constructor reads the length, reads inside the scope cannot pass the
// section's end, and the destructor moves the cursor past the section, so
// that whatever a newer writer appended and this reader does not know is
// skipped. Beyond the buffer's nesting limit the object does nothing, in
// step with LocalSizedWrite.
#include "frame/Kestrel5Api.h"

class DataBuffer;

class KSAPI LocalSizedRead
{
public:
    explicit LocalSizedRead(DataBuffer &buf);
    ~LocalSizedRead();
    LocalSizedRead(LocalSizedRead const &) = delete;
    LocalSizedRead &operator=(LocalSizedRead const &) = delete;

    // False when the nesting limit refused the section.
    bool IsOpen() const noexcept { return m_bOpen; }

private:
    DataBuffer &m_rBuf;
    bool m_bOpen;
};
