#pragma once
// Two signed integers, for whatever comes in twos: a span, an index pair.
#include "frame/Kestrel5Api.h"

class KSAPI Pair
{
public:
    Pair() : m_nA(0), m_nB(0) {}
    Pair(int a, int b) : m_nA(a), m_nB(b) {}
    Pair(Pair const &) = default;
    Pair &operator=(Pair const &) = default;

    int operator==(Pair const &o) const { return m_nA == o.m_nA && m_nB == o.m_nB; }
    int operator!=(Pair const &o) const { return !(*this == o); }

    int A() const { return m_nA; }
    int &A() { return m_nA; }
    int B() const { return m_nB; }
    int &B() { return m_nB; }

private:
    int m_nA;
    int m_nB;
};
