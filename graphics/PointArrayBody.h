#pragma once
// The shared body behind CPolygon, FPolygon and CPolygon3D: a point array
// with a count of the handles that share it. Internal to the library; the
// polygon headers only name it.
#include <climits>
#include <new>

template <class T> struct PointArrayBody
{
    // Beyond a gigabyte a count is taken for a mistake: a heap that grants
    // more (Wine's may) would have the constructor fill it for minutes.
    static constexpr unsigned int MAX_POINTS = (1u << 30) / sizeof(T);

    T *m_pPoints;
    unsigned int m_nRefCount; // holders besides the first: 0 = one holder
    unsigned int m_nCount;

    // n points copied from src, or T() when src is null. The array always
    // has a slot, so that "point 0" of a polygon without points can still be
    // handed out by reference. A count the heap cannot satisfy gives an
    // array without points when mayShrink, else throws bad_alloc.
    static PointArrayBody *New(unsigned int n, T const *src, bool mayShrink)
    {
        T *pts = n <= MAX_POINTS ? new (std::nothrow) T[n ? n : 1] : nullptr;
        if (!pts) {
            if (!mayShrink)
                throw std::bad_alloc();
            n = 0;
            pts = new T[1];
        }
        if (src)
            for (unsigned int i = 0; i < n; ++i)
                pts[i] = src[i];
        return new PointArrayBody{pts, 0, n};
    }

    // Another handle on b. A count at its limit is not raised past it: the
    // new handle gets a copy instead, since a wrapped count would free an
    // array that is still in use.
    static PointArrayBody *Share(PointArrayBody *b)
    {
        if (b->m_nRefCount == UINT_MAX)
            return New(b->m_nCount, b->m_pPoints, false);
        ++b->m_nRefCount;
        return b;
    }

    static void Release(PointArrayBody *b)
    {
        if (!b)
            return;
        if (b->m_nRefCount) {
            --b->m_nRefCount;
            return;
        }
        delete[] b->m_pPoints;
        delete b;
    }

    static void MakeUnique(PointArrayBody *&b)
    {
        if (!b->m_nRefCount)
            return;
        PointArrayBody *c = New(b->m_nCount, b->m_pPoints, false);
        --b->m_nRefCount;
        b = c;
    }

    // False, and b unchanged, when n points cannot be had.
    static bool Resize(PointArrayBody *&b, unsigned int n)
    {
        T *pts = n <= MAX_POINTS ? new (std::nothrow) T[n] : nullptr;
        if (!pts)
            return false;
        unsigned int keep = b->m_nCount < n ? b->m_nCount : n;
        for (unsigned int i = 0; i < keep; ++i)
            pts[i] = b->m_pPoints[i];
        if (b->m_nRefCount) {
            --b->m_nRefCount;
            b = new PointArrayBody{pts, 0, n};
        } else {
            delete[] b->m_pPoints;
            b->m_pPoints = pts;
            b->m_nCount = n;
        }
        return true;
    }

    static bool Equal(PointArrayBody const *a, PointArrayBody const *b)
    {
        if (a == b)
            return true;
        if (a->m_nCount != b->m_nCount)
            return false;
        for (unsigned int i = 0; i < a->m_nCount; ++i)
            if (a->m_pPoints[i] != b->m_pPoints[i])
                return false;
        return true;
    }
};
