#include "graphics/ColorPair.h"

#include <climits>

ColorPair::ColorPair(Color const &c, int p) noexcept : m_aColors{c, c}
{
    // -INT_MIN does not exist; both saturate at full strength anyway.
    int const q = p == INT_MIN ? INT_MAX : p < 0 ? -p : p;
    Color &light = m_aColors[p < 0 ? 1 : 0];
    Color &dark = m_aColors[p < 0 ? 0 : 1];
    light.Lighten(q, 1);
    dark.Darken(q);
}
