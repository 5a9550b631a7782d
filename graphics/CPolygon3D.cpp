#include "graphics/CPolygon3D.h"

#include "graphics/PointArrayBody.h"

using Body = PointArrayBody<Point3D>;

CPolygon3D::CPolygon3D(unsigned int n) : m_pImpl(Body::New(n, nullptr, true)) {}

CPolygon3D::CPolygon3D(unsigned int n, Point3D const *pts) : m_pImpl(Body::New(n, pts, true)) {}

CPolygon3D::CPolygon3D(CPolygon3D const &poly) : m_pImpl(Body::Share(poly.m_pImpl)) {}

CPolygon3D &CPolygon3D::operator=(CPolygon3D const &poly)
{
    Body *b = Body::Share(poly.m_pImpl);
    Body::Release(m_pImpl);
    m_pImpl = b;
    return *this;
}

CPolygon3D::~CPolygon3D() { Body::Release(m_pImpl); }

unsigned int CPolygon3D::GetSize() const noexcept { return m_pImpl->m_nCount; }
unsigned int CPolygon3D::Count() const noexcept { return m_pImpl->m_nCount; }
Point3D const *CPolygon3D::GetPointArr() const noexcept { return m_pImpl->m_pPoints; }

Point3D const &CPolygon3D::GetPoint(unsigned int i) const noexcept
{
    return m_pImpl->m_pPoints[i < m_pImpl->m_nCount ? i : 0];
}
