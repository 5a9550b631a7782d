#pragma once
#include "frame/Kestrel5Api.h"
#include "frame/LinkHdl.h"

#include <type_traits>

// A callback: an object and one of its member functions, called with one
// untyped argument. Copied freely; an empty link calls nothing.
class KSAPI Link
{
public:
    using MemFunc = __int64 (LinkHdl::*)(void *);

    Link() : pInst(nullptr), pMemFunc(nullptr) {}
    Link(LinkHdl *inst, MemFunc func) : pInst(inst), pMemFunc(func) {}

    // Link(this, &MyWindow::OnClick) without spelling out the cast; the
    // class must derive from LinkHdl.
    template <class T, class = std::enable_if_t<std::is_base_of_v<LinkHdl, T> && !std::is_same_v<T, LinkHdl>>>
    Link(T *inst, __int64 (T::*func)(void *))
        : pInst(inst), pMemFunc(static_cast<MemFunc>(func))
    {
    }

    Link(Link const &) = default;
    Link &operator=(Link const &) = default;

    __int64 Call(void *arg) const;
    bool IsSet() const { return pInst != nullptr && pMemFunc != nullptr; }
    bool operator!() const { return !IsSet(); }
    bool operator==(Link const &o) const { return pInst == o.pInst && pMemFunc == o.pMemFunc; }
    bool operator!=(Link const &o) const { return !(*this == o); }
    // By object address, then by member-function address.
    bool operator<(Link const &o) const;
    LinkHdl *GetPInst() const { return pInst; }

    // For a link another thread may be reading: each field is cleared by an
    // atomic exchange of its own (the pair is not cleared as one unit).
    void InterlockedClear();

private:
    LinkHdl *pInst;
    MemFunc pMemFunc;
};
