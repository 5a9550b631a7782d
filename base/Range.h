#pragma once
// A closed interval of integers [Min, Max], as scroll bars and selections
// use it: both ends belong to it.
#include "frame/Kestrel5Api.h"

class KSAPI Range
{
public:
    Range() : m_nMin(0), m_nMax(0) {}
    Range(int min, int max) : m_nMin(min), m_nMax(max) {}
    Range(Range const &) = default;
    Range &operator=(Range const &) = default;

    int Min() const { return m_nMin; }
    int &Min() { return m_nMin; }
    int Max() const { return m_nMax; }
    int &Max() { return m_nMax; }

    // Wraps instead of overflowing for the widest ranges.
    int Len() const { return static_cast<int>(static_cast<unsigned>(m_nMax) - static_cast<unsigned>(m_nMin) + 1u); }
    bool IsInside(int v) const { return m_nMin <= v && v <= m_nMax; }
    // (0, 0) doubles as "no range".
    bool IsSet() const { return m_nMin != 0 || m_nMax != 0; }
    void Justify()
    {
        if (m_nMin > m_nMax) {
            int t = m_nMin;
            m_nMin = m_nMax;
            m_nMax = t;
        }
    }

private:
    int m_nMin;
    int m_nMax;
};
