#include "base/LocalWriteJump.h"

#include "docking/DataBuffer.h"

LocalWriteJump::LocalWriteJump(DataBuffer &buf, int pos)
    : m_rBuf(buf), m_nReturnPos(buf.GetPos()), m_bValid(pos >= 0 && buf.SetPos(static_cast<unsigned long>(pos)))
{
}

LocalWriteJump::~LocalWriteJump()
{
    // Back to exactly where the cursor stood, even if the patch ran past the
    // old end: the patch is not the place where writing goes on.
    if (m_bValid)
        m_rBuf.SetPos(m_nReturnPos);
}
