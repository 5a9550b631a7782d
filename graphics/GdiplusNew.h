#pragma once
// Inside the library only: GDI+ objects on the heap without trusting the
// allocator. GDI+'s own operator new answers null when GdipAlloc fails, yet
// the compiler takes it for a throwing one and would construct into null.
#include <new>
#include <utility>
#include <windows.h>
#include <gdiplus.h>

// A new GDI+ object (deleted with plain delete), or null when there is no
// memory for it or its GDI+ object could not be made.
template <class T, class... Args> T *GdiplusNew(Args &&...args)
{
    void *mem = Gdiplus::DllExports::GdipAlloc(sizeof(T));
    if (!mem)
        return nullptr;
    T *p = ::new (mem) T(std::forward<Args>(args)...);
    if (p->GetLastStatus() != Gdiplus::Ok) {
        delete p;
        return nullptr;
    }
    return p;
}
