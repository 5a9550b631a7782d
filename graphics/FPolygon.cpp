#include "graphics/FPolygon.h"

#include "graphics/PointArrayBody.h"

using Body = PointArrayBody<FPoint>;

FPolygon::FPolygon(unsigned int n) : m_pImpl(Body::New(n, nullptr, true)) {}

FPolygon::FPolygon(unsigned int n, FPoint const *pts) : m_pImpl(Body::New(n, pts, true)) {}

FPolygon::FPolygon(FRectangle const &r)
{
    if (r.IsEmpty()) {
        m_pImpl = Body::New(16, nullptr, true);
        return;
    }
    FPoint const outline[5] = {r.TopLeft(), r.TopRight(), r.BottomRight(), r.BottomLeft(), r.TopLeft()};
    m_pImpl = Body::New(5, outline, false);
}

FPolygon::FPolygon(FPolygon const &poly) : m_pImpl(Body::Share(poly.m_pImpl)) {}

FPolygon &FPolygon::operator=(FPolygon const &poly)
{
    Body *b = Body::Share(poly.m_pImpl);
    Body::Release(m_pImpl);
    m_pImpl = b;
    return *this;
}

FPolygon::~FPolygon() { Body::Release(m_pImpl); }

unsigned int FPolygon::GetSize() const noexcept { return m_pImpl->m_nCount; }
unsigned int FPolygon::Count() const noexcept { return m_pImpl->m_nCount; }
FPoint const *FPolygon::GetPointArr() const noexcept { return m_pImpl->m_pPoints; }

FPoint const &FPolygon::operator[](unsigned int i) const noexcept
{
    return m_pImpl->m_pPoints[i < m_pImpl->m_nCount ? i : 0];
}

FPoint const &FPolygon::GetPoint(unsigned int i) const noexcept { return (*this)[i]; }

FPoint &FPolygon::operator[](unsigned int i)
{
    Body::MakeUnique(m_pImpl);
    return m_pImpl->m_pPoints[i < m_pImpl->m_nCount ? i : 0];
}

void FPolygon::ChangePoint(FPoint const &p, unsigned int i)
{
    if (i >= m_pImpl->m_nCount)
        return;
    Body::MakeUnique(m_pImpl);
    m_pImpl->m_pPoints[i] = p;
}

void FPolygon::ChangeSize(unsigned int n)
{
    if (n)
        Body::Resize(m_pImpl, n);
}

bool FPolygon::operator==(FPolygon const &poly) const noexcept { return Body::Equal(m_pImpl, poly.m_pImpl); }
