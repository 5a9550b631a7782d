#include "graphics/CPolyPolygon.h"

#include "base/Container.h"

struct ImpPolyPolygon
{
    Container m_aList;         // owned CPolygon objects
    unsigned short m_nRefCount; // holders besides the first: 0 = one holder
    unsigned short m_nBlock;
    unsigned short m_nReSize;

    ImpPolyPolygon(unsigned short a, unsigned short b) : m_aList(a, a, b), m_nRefCount(0), m_nBlock(a), m_nReSize(b)
    {
    }
    // The container's copy takes the slots as they are; each slot then gets a
    // handle of its own so that the two lists own disjoint objects.
    ImpPolyPolygon(ImpPolyPolygon const &other)
        : m_aList(other.m_aList), m_nRefCount(0), m_nBlock(other.m_nBlock), m_nReSize(other.m_nReSize)
    {
        for (unsigned long i = 0, n = m_aList.Count(); i < n; ++i) {
            void **slot = m_aList.GetObjectPtr(i);
            *slot = new CPolygon(*static_cast<CPolygon *>(*slot));
        }
    }
    ~ImpPolyPolygon() { DeleteAll(); }

    void DeleteAll()
    {
        for (unsigned long i = 0, n = m_aList.Count(); i < n; ++i)
            delete static_cast<CPolygon *>(m_aList.GetCntObject(i));
        m_aList.Clear();
    }
};

namespace {

unsigned short BlockParam(unsigned int v) { return v > 0xFFFF ? 0xFFFF : (unsigned short)v; }

ImpPolyPolygon *Share(ImpPolyPolygon *b)
{
    // A count at its limit is not wrapped: the new handle gets a copy.
    if (b->m_nRefCount == 0xFFFF)
        return new ImpPolyPolygon(*b);
    ++b->m_nRefCount;
    return b;
}

void Release(ImpPolyPolygon *b)
{
    if (b->m_nRefCount)
        --b->m_nRefCount;
    else
        delete b;
}

} // namespace

CPolyPolygon::CPolyPolygon(unsigned int a, unsigned int b) : m_pImpl(new ImpPolyPolygon(BlockParam(a), BlockParam(b)))
{
}

CPolyPolygon::CPolyPolygon(CPolygon const &poly) : m_pImpl(new ImpPolyPolygon(16, 16))
{
    m_pImpl->m_aList.Insert(new CPolygon(poly), 0UL);
}

CPolyPolygon::CPolyPolygon(unsigned int n, unsigned int const *counts, Point const *points)
    : m_pImpl(new ImpPolyPolygon(16, 16))
{
    if (!counts || !points)
        return;
    Point const *p = points;
    for (unsigned int k = 0; k < n; ++k) {
        m_pImpl->m_aList.Insert(new CPolygon(counts[k], p), m_pImpl->m_aList.Count());
        p += counts[k];
    }
}

CPolyPolygon::CPolyPolygon(CPolyPolygon const &pp) : m_pImpl(Share(pp.m_pImpl)) {}

CPolyPolygon &CPolyPolygon::operator=(CPolyPolygon const &pp)
{
    ImpPolyPolygon *b = Share(pp.m_pImpl);
    Release(m_pImpl);
    m_pImpl = b;
    return *this;
}

CPolyPolygon::~CPolyPolygon() { Release(m_pImpl); }

void CPolyPolygon::ImpMakeUnique()
{
    if (!m_pImpl->m_nRefCount)
        return;
    ImpPolyPolygon *c = new ImpPolyPolygon(*m_pImpl);
    --m_pImpl->m_nRefCount;
    m_pImpl = c;
}

unsigned int CPolyPolygon::Count() const noexcept { return (unsigned int)m_pImpl->m_aList.Count(); }

CPolygon CPolyPolygon::GetObjectA(unsigned int i) const
{
    auto *p = static_cast<CPolygon *>(m_pImpl->m_aList.GetCntObject(i));
    return p && i < Count() ? *p : CPolygon(0u);
}

void CPolyPolygon::Insert(CPolygon const &poly, unsigned int pos)
{
    ImpMakeUnique();
    m_pImpl->m_aList.Insert(new CPolygon(poly), (unsigned long)pos);
}

CPolygon CPolyPolygon::Remove(unsigned int pos)
{
    if (pos >= Count())
        return CPolygon(0u);
    ImpMakeUnique();
    auto *p = static_cast<CPolygon *>(m_pImpl->m_aList.Remove((unsigned long)pos));
    CPolygon result(*p);
    delete p;
    return result;
}

CPolygon CPolyPolygon::Replace(CPolygon const &poly, unsigned int pos)
{
    if (pos >= Count())
        return CPolygon(0u);
    ImpMakeUnique();
    auto *p = static_cast<CPolygon *>(m_pImpl->m_aList.Replace(new CPolygon(poly), (unsigned long)pos));
    CPolygon result(*p);
    delete p;
    return result;
}

void CPolyPolygon::Clear()
{
    if (m_pImpl->m_nRefCount) {
        // No point copying elements only to delete them.
        --m_pImpl->m_nRefCount;
        m_pImpl = new ImpPolyPolygon(m_pImpl->m_nBlock, m_pImpl->m_nReSize);
        return;
    }
    m_pImpl->DeleteAll();
}

int CPolyPolygon::operator==(CPolyPolygon const &pp) const
{
    return m_pImpl == pp.m_pImpl || m_pImpl->m_aList == pp.m_pImpl->m_aList;
}
