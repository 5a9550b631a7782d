#pragma once
#include <vector>

#include "frame/Kestrel5Api.h"
#include "mfc/CRect.h"
#include "mfc/CStringT.h"

class CMemFile;
class CObject;
struct CRuntimeClass;

// A binary archive over a memory file, storing or loading. Values go raw in
// little-endian order through a buffer of nBufSize bytes; strings carry the
// framework's length prefix (one byte below 255, else 0xFF and a 16-bit
// length, else 0xFFFF and a 32-bit one).
//
// Nothing here throws: a loading archive that reads past the end of its data
// or meets a value that cannot be (a bool other than 0 or 1, an unknown
// object tag, a string longer than the data left) is marked failed, and from
// then on every read yields zeros. Callers test IsFailed() once at the end of
// a record; a reader that finds a value out of its own range calls
// SetFailed() so that the whole load is abandoned.
class KSAPI CArchive
{
public:
    enum Mode { store = 0, load = 1 };

    CArchive(CMemFile *pFile, unsigned int nMode, int nBufSize = 4096, void *lpBuf = nullptr);
    // Flushes a storing archive.
    ~CArchive();
    CArchive(CArchive const &) = delete;
    CArchive &operator=(CArchive const &) = delete;

    bool IsLoading() const { return m_bLoading; }
    bool IsStoring() const { return !m_bLoading; }
    CMemFile *GetFile() const { return m_pFile; }

    bool IsFailed() const { return m_bFailed; }
    void SetFailed() { m_bFailed = true; }

    // Fewer bytes than asked for mark a loading archive failed; the rest of
    // lpBuf is zeroed.
    unsigned int Read(void *lpBuf, unsigned int nMax);
    void Write(void const *lpBuf, unsigned int nMax);
    void Flush();
    void Close() { Flush(); }
    // Bytes still to read: in the buffer and in the file behind it.
    unsigned long long GetBytesLeft() const;

    CArchive &operator<<(unsigned char v) { return Put(&v, 1); }
    CArchive &operator<<(char v) { return Put(&v, 1); }
    CArchive &operator<<(bool v);
    CArchive &operator<<(short v) { return Put(&v, 2); }
    CArchive &operator<<(unsigned short v) { return Put(&v, 2); }
    CArchive &operator<<(int v) { return Put(&v, 4); }
    CArchive &operator<<(unsigned int v) { return Put(&v, 4); }
    CArchive &operator<<(long v) { return Put(&v, 4); }
    CArchive &operator<<(unsigned long v) { return Put(&v, 4); }
    CArchive &operator<<(long long v) { return Put(&v, 8); }
    CArchive &operator<<(unsigned long long v) { return Put(&v, 8); }
    CArchive &operator<<(double v) { return Put(&v, 8); }
    CArchive &operator<<(RECT const &r);
    CArchive &operator<<(CStringA const &s);

    CArchive &operator>>(unsigned char &v) { return Get(&v, 1); }
    CArchive &operator>>(char &v) { return Get(&v, 1); }
    CArchive &operator>>(bool &v);
    CArchive &operator>>(short &v) { return Get(&v, 2); }
    CArchive &operator>>(unsigned short &v) { return Get(&v, 2); }
    CArchive &operator>>(int &v) { return Get(&v, 4); }
    CArchive &operator>>(unsigned int &v) { return Get(&v, 4); }
    CArchive &operator>>(long &v) { return Get(&v, 4); }
    CArchive &operator>>(unsigned long &v) { return Get(&v, 4); }
    CArchive &operator>>(long long &v) { return Get(&v, 8); }
    CArchive &operator>>(unsigned long long &v) { return Get(&v, 8); }
    CArchive &operator>>(double &v) { return Get(&v, 8); }
    CArchive &operator>>(RECT &r);
    CArchive &operator>>(CStringA &s);

    // An object with its class: a tag, the class's schema and name, then
    // what the object's Serialize writes; a null object is a 0 tag.
    void WriteObject(CObject const *pOb);
    // Creates an object of the class named in the archive, which must be
    // creatable (IMPLEMENT_DYNCREATE) and derived from pClassRefRequested
    // (when given), and lets it read itself. Null for a null object and on
    // failure (the archive is then marked failed and nothing is kept).
    CObject *ReadObject(CRuntimeClass const *pClassRefRequested);

private:
    CArchive &Put(void const *p, unsigned int n)
    {
        Write(p, n);
        return *this;
    }
    CArchive &Get(void *p, unsigned int n)
    {
        Read(p, n);
        return *this;
    }
    bool Fill();

    CMemFile *m_pFile;
    bool m_bLoading;
    bool m_bFailed = false;
    std::vector<unsigned char> m_buffer;
    size_t m_nBufMax;
    size_t m_nCur = 0;
    size_t m_nEnd = 0;
};
