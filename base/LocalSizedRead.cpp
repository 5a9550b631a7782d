#include "base/LocalSizedRead.h"

#include "docking/DataBuffer.h"

LocalSizedRead::LocalSizedRead(DataBuffer &buf) : m_rBuf(buf), m_bOpen(buf.BeginReadSection())
{
}

LocalSizedRead::~LocalSizedRead()
{
    if (m_bOpen)
        m_rBuf.EndReadSection();
}
