#pragma once
// Two colours that belong together: the ends of a gradient, or the light and
// dark edge of a raised frame.
#include "frame/Kestrel5Api.h"
#include "graphics/Color.h"

class KSAPI ColorPair
{
public:
    ColorPair() noexcept {}
    ColorPair(Color const &a, Color const &b) noexcept : m_aColors{a, b} {}
    // A light and a dark variant of c, p % away from it: a positive p puts
    // the light one first (a raised edge), a negative p the dark one.
    ColorPair(Color const &c, int p) noexcept;
    ColorPair(ColorPair const &) noexcept = default;
    ColorPair &operator=(ColorPair const &) noexcept = default;

    // Any index selects one of the two (i & 1), so no index is out of range.
    Color operator[](int i) const noexcept { return m_aColors[i & 1]; }
    Color &operator[](int i) noexcept { return m_aColors[i & 1]; }

private:
    Color m_aColors[2];
};
