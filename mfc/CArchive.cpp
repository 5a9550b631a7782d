#include "mfc/CArchive.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "mfc/CMemFile.h"
#include "mfc/CObject.h"
#include "mfc/CRuntimeClass.h"

namespace {
constexpr unsigned short kNullTag = 0;
constexpr unsigned short kNewClassTag = 0xFFFF;
// Longer class names than this are damage, not classes.
constexpr unsigned short kMaxClassName = 64;
} // namespace

CArchive::CArchive(CMemFile *pFile, unsigned int nMode, int nBufSize, void *)
    : m_pFile(pFile), m_bLoading((nMode & load) != 0), m_nBufMax(nBufSize > 0 ? size_t(nBufSize) : 4096)
{
    m_buffer.resize(m_nBufMax);
    if (!m_pFile)
        m_bFailed = true;
}

CArchive::~CArchive()
{
    Flush();
}

void CArchive::Flush()
{
    if (m_bLoading || !m_pFile || m_nCur == 0)
        return;
    if (!m_pFile->Write(m_buffer.data(), unsigned(m_nCur)))
        m_bFailed = true;
    m_nCur = 0;
}

bool CArchive::Fill()
{
    m_nCur = 0;
    m_nEnd = m_pFile ? m_pFile->Read(m_buffer.data(), unsigned(m_nBufMax)) : 0;
    return m_nEnd > 0;
}

unsigned long long CArchive::GetBytesLeft() const
{
    if (!m_bLoading || !m_pFile)
        return 0;
    return (m_nEnd - m_nCur) + (m_pFile->GetLength() - m_pFile->GetPosition());
}

unsigned int CArchive::Read(void *lpBuf, unsigned int nMax)
{
    auto *out = static_cast<unsigned char *>(lpBuf);
    unsigned int done = 0;
    if (m_bLoading && !m_bFailed)
        while (done < nMax) {
            if (m_nCur == m_nEnd && !Fill())
                break;
            size_t const n = std::min<size_t>(nMax - done, m_nEnd - m_nCur);
            std::memcpy(out + done, m_buffer.data() + m_nCur, n);
            m_nCur += n;
            done += unsigned(n);
        }
    if (done < nMax) {
        m_bFailed = true;
        std::memset(out + done, 0, nMax - done);
    }
    return done;
}

void CArchive::Write(void const *lpBuf, unsigned int nMax)
{
    if (m_bLoading || m_bFailed)
        return;
    auto const *in = static_cast<unsigned char const *>(lpBuf);
    while (nMax) {
        if (m_nCur == m_nBufMax) {
            Flush();
            if (m_bFailed)
                return;
        }
        size_t const n = std::min<size_t>(nMax, m_nBufMax - m_nCur);
        std::memcpy(m_buffer.data() + m_nCur, in, n);
        m_nCur += n;
        in += n;
        nMax -= unsigned(n);
    }
}

CArchive &CArchive::operator<<(bool v)
{
    unsigned char const b = v ? 1 : 0;
    return Put(&b, 1);
}

CArchive &CArchive::operator>>(bool &v)
{
    unsigned char b = 0;
    Get(&b, 1);
    if (b > 1)
        m_bFailed = true;
    v = b == 1;
    return *this;
}

CArchive &CArchive::operator<<(RECT const &r)
{
    return *this << r.left << r.top << r.right << r.bottom;
}

CArchive &CArchive::operator>>(RECT &r)
{
    return *this >> r.left >> r.top >> r.right >> r.bottom;
}

CArchive &CArchive::operator<<(CStringA const &s)
{
    auto const len = unsigned(s.GetLength());
    if (len < 0xFF) {
        *this << static_cast<unsigned char>(len);
    } else {
        *this << static_cast<unsigned char>(0xFF);
        if (len < 0xFFFF) {
            *this << static_cast<unsigned short>(len);
        } else {
            *this << static_cast<unsigned short>(0xFFFF) << len;
        }
    }
    Write(s.GetString(), len);
    return *this;
}

CArchive &CArchive::operator>>(CStringA &s)
{
    s = CStringA();
    unsigned char b = 0;
    *this >> b;
    unsigned int len = b;
    if (b == 0xFF) {
        unsigned short w = 0;
        *this >> w;
        len = w;
        if (w == 0xFFFF)
            *this >> len;
    }
    // A length beyond the data is damage; never allocate for it.
    if (m_bFailed || len > GetBytesLeft()) {
        m_bFailed = true;
        return *this;
    }
    std::string text(len, '\0');
    Read(text.data(), len);
    if (!m_bFailed)
        s = CStringA(text.data(), int(len));
    return *this;
}

void CArchive::WriteObject(CObject const *pOb)
{
    if (!pOb) {
        *this << kNullTag;
        return;
    }
    CRuntimeClass const *c = pOb->GetRuntimeClass();
    auto const len = static_cast<unsigned short>(std::strlen(c->m_lpszClassName));
    *this << kNewClassTag << static_cast<unsigned short>(c->m_wSchema) << len;
    Write(c->m_lpszClassName, len);
    const_cast<CObject *>(pOb)->Serialize(*this);
}

CObject *CArchive::ReadObject(CRuntimeClass const *pClassRefRequested)
{
    unsigned short tag = 0, schema = 0, len = 0;
    *this >> tag;
    if (m_bFailed || tag == kNullTag)
        return nullptr;
    *this >> schema >> len;
    if (tag != kNewClassTag || len == 0 || len > kMaxClassName || m_bFailed) {
        m_bFailed = true;
        return nullptr;
    }
    char name[kMaxClassName + 1] = {};
    Read(name, len);
    CRuntimeClass const *c = m_bFailed ? nullptr : CRuntimeClass::FromName(name);
    if (!c || static_cast<unsigned short>(c->m_wSchema) != schema ||
        (pClassRefRequested && !c->IsDerivedFrom(pClassRefRequested))) {
        m_bFailed = true;
        return nullptr;
    }
    CObject *pOb = c->CreateObject();
    if (!pOb) {
        m_bFailed = true;
        return nullptr;
    }
    pOb->Serialize(*this);
    if (m_bFailed) {
        delete pOb;
        return nullptr;
    }
    return pOb;
}
