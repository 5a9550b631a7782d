#include "mfc/CMemFile.h"

#include <cstdlib>
#include <cstring>

CMemFile::CMemFile(unsigned int nGrowBytes) : m_nGrowBytes(nGrowBytes ? nGrowBytes : 1024) {}

CMemFile::CMemFile(unsigned char const *pBuffer, unsigned int nBufferSize) : m_nGrowBytes(1024)
{
    if (pBuffer && nBufferSize && GrowTo(nBufferSize)) {
        std::memcpy(m_lpBuffer, pBuffer, nBufferSize);
        m_nFileSize = nBufferSize;
    }
}

CMemFile::~CMemFile()
{
    std::free(m_lpBuffer);
}

bool CMemFile::GrowTo(unsigned long long nNewSize)
{
    if (nNewSize <= m_nBufferSize)
        return true;
    // Whole blocks, so that a file written byte by byte is not copied each time.
    unsigned long long const blocks = (nNewSize + m_nGrowBytes - 1) / m_nGrowBytes;
    unsigned long long const size = blocks * m_nGrowBytes;
    if (size > 0x7FFFFFFFull)
        return false;
    void *p = std::realloc(m_lpBuffer, size_t(size));
    if (!p)
        return false;
    m_lpBuffer = static_cast<unsigned char *>(p);
    m_nBufferSize = size;
    return true;
}

unsigned int CMemFile::Read(void *lpBuf, unsigned int nCount)
{
    if (!lpBuf || m_nPosition >= m_nFileSize)
        return 0;
    unsigned long long const left = m_nFileSize - m_nPosition;
    unsigned int const n = left < nCount ? unsigned(left) : nCount;
    std::memcpy(lpBuf, m_lpBuffer + m_nPosition, n);
    m_nPosition += n;
    return n;
}

bool CMemFile::Write(void const *lpBuf, unsigned int nCount)
{
    if (!nCount)
        return true;
    if (!lpBuf || !GrowTo(m_nPosition + nCount))
        return false;
    std::memcpy(m_lpBuffer + m_nPosition, lpBuf, nCount);
    m_nPosition += nCount;
    if (m_nPosition > m_nFileSize)
        m_nFileSize = m_nPosition;
    return true;
}

unsigned char *CMemFile::Detach()
{
    unsigned char *p = m_lpBuffer;
    m_lpBuffer = nullptr;
    m_nBufferSize = m_nFileSize = m_nPosition = 0;
    return p;
}
