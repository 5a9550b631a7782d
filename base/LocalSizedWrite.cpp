#include "base/LocalSizedWrite.h"

#include "docking/DataBuffer.h"

LocalSizedWrite::LocalSizedWrite(DataBuffer &buf) : m_rBuf(buf), m_bOpen(buf.BeginWriteSection())
{
}

LocalSizedWrite::~LocalSizedWrite()
{
    if (m_bOpen)
        m_rBuf.EndWriteSection();
}
