#include "graphics/CPolygon.h"

#include "graphics/PointArrayBody.h"

using Body = PointArrayBody<Point>;

CPolygon::CPolygon(unsigned int n) : m_pImpl(Body::New(n, nullptr, true)) {}

CPolygon::CPolygon(unsigned int n, Point const *pts) : m_pImpl(Body::New(n, pts, true)) {}

CPolygon::CPolygon(CRectangle const &r)
{
    if (r.IsEmpty()) {
        m_pImpl = Body::New(16, nullptr, true);
        return;
    }
    Point const outline[5] = {r.TopLeft(), r.TopRight(), r.BottomRight(), r.BottomLeft(), r.TopLeft()};
    m_pImpl = Body::New(5, outline, false);
}

CPolygon::CPolygon(CPolygon const &poly) : m_pImpl(Body::Share(poly.m_pImpl)) {}

CPolygon &CPolygon::operator=(CPolygon const &poly)
{
    Body *b = Body::Share(poly.m_pImpl);
    Body::Release(m_pImpl);
    m_pImpl = b;
    return *this;
}

CPolygon::~CPolygon() { Body::Release(m_pImpl); }

unsigned int CPolygon::GetSize() const noexcept { return m_pImpl->m_nCount; }
unsigned int CPolygon::Count() const noexcept { return m_pImpl->m_nCount; }
Point const *CPolygon::GetPointArr() const noexcept { return m_pImpl->m_pPoints; }

Point const &CPolygon::operator[](unsigned int i) const noexcept
{
    return m_pImpl->m_pPoints[i < m_pImpl->m_nCount ? i : 0];
}

Point const &CPolygon::GetPoint(unsigned int i) const noexcept { return (*this)[i]; }

Point &CPolygon::operator[](unsigned int i)
{
    Body::MakeUnique(m_pImpl);
    return m_pImpl->m_pPoints[i < m_pImpl->m_nCount ? i : 0];
}

void CPolygon::ChangePoint(Point const &p, unsigned int i)
{
    if (i >= m_pImpl->m_nCount)
        return;
    Body::MakeUnique(m_pImpl);
    m_pImpl->m_pPoints[i] = p;
}

void CPolygon::ChangeSize(unsigned int n)
{
    if (n)
        Body::Resize(m_pImpl, n);
}

bool CPolygon::operator==(CPolygon const &poly) const noexcept { return Body::Equal(m_pImpl, poly.m_pImpl); }
