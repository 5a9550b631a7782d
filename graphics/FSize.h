#pragma once
// Floating-point extent, the companion of FPoint.
#include "frame/Kestrel5Api.h"

class KSAPI FSize
{
public:
    FSize() noexcept : m_fWidth(0.0), m_fHeight(0.0) {}
    FSize(double w, double h) noexcept : m_fWidth(w), m_fHeight(h) {}
    FSize(FSize const &) noexcept = default;
    FSize &operator=(FSize const &) noexcept = default;

    double Width() const noexcept { return m_fWidth; }
    double Height() const noexcept { return m_fHeight; }
    double &Width() noexcept { return m_fWidth; }
    double &Height() noexcept { return m_fHeight; }

    bool operator==(FSize const &s) const noexcept { return m_fWidth == s.m_fWidth && m_fHeight == s.m_fHeight; }
    bool operator!=(FSize const &s) const noexcept { return !(*this == s); }

private:
    double m_fWidth;
    double m_fHeight;
};
