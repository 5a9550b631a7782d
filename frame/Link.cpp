#include "frame/Link.h"

#include <cstdint>
#include <cstring>

LinkHdl::~LinkHdl() = default;

namespace {

// A member-function pointer of this compiler is a code address (or a
// virtual-table offset) and an object adjustment; order by both, address first.
struct MemFuncBits
{
    std::uintptr_t ptr;
    std::intptr_t adj;
};
static_assert(sizeof(Link::MemFunc) == sizeof(MemFuncBits));

MemFuncBits Bits(Link::MemFunc f)
{
    MemFuncBits b;
    std::memcpy(&b, &f, sizeof b);
    return b;
}

} // namespace

__int64 Link::Call(void *arg) const
{
    if (!IsSet())
        return 0;
    return (pInst->*pMemFunc)(arg);
}

bool Link::operator<(Link const &o) const
{
    auto a = reinterpret_cast<std::uintptr_t>(pInst);
    auto b = reinterpret_cast<std::uintptr_t>(o.pInst);
    if (a != b)
        return a < b;
    MemFuncBits fa = Bits(pMemFunc), fb = Bits(o.pMemFunc);
    if (fa.ptr != fb.ptr)
        return fa.ptr < fb.ptr;
    return static_cast<std::uintptr_t>(fa.adj) < static_cast<std::uintptr_t>(fb.adj);
}

void Link::InterlockedClear()
{
    (void)__atomic_exchange_n(&pInst, static_cast<LinkHdl *>(nullptr), __ATOMIC_SEQ_CST);
    auto *words = reinterpret_cast<std::uintptr_t *>(&pMemFunc);
    (void)__atomic_exchange_n(&words[0], std::uintptr_t(0), __ATOMIC_SEQ_CST);
    (void)__atomic_exchange_n(&words[1], std::uintptr_t(0), __ATOMIC_SEQ_CST);
}
