#pragma once
#include "frame/Kestrel5Api.h"
#include "mfc/CObject.h"

// A file in memory that grows in blocks of nGrowBytes, or a copy of bytes to
// read from. Write answers false when the memory for a block cannot be had:
// an archive built on it then fails instead of the process.
class KSAPI CMemFile : public CObject
{
public:
    explicit CMemFile(unsigned int nGrowBytes = 1024);
    CMemFile(unsigned char const *pBuffer, unsigned int nBufferSize);
    ~CMemFile() override;
    CMemFile(CMemFile const &) = delete;
    CMemFile &operator=(CMemFile const &) = delete;

    unsigned int Read(void *lpBuf, unsigned int nCount);
    bool Write(void const *lpBuf, unsigned int nCount);
    unsigned long long GetLength() const { return m_nFileSize; }
    unsigned long long GetPosition() const { return m_nPosition; }
    void SeekToBegin() { m_nPosition = 0; }
    // The bytes written so far; valid until the next write.
    unsigned char const *GetBuffer() const { return m_lpBuffer; }
    // Hands the block to the caller (free() releases it) and empties the file.
    unsigned char *Detach();

private:
    bool GrowTo(unsigned long long nNewSize);

    unsigned int m_nGrowBytes;
    unsigned long long m_nPosition = 0;
    unsigned long long m_nBufferSize = 0;
    unsigned long long m_nFileSize = 0;
    unsigned char *m_lpBuffer = nullptr;
};
