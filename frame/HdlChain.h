#pragma once
#include "frame/Kestrel5Api.h"
#include "frame/Link.h"

#include <vector>

// An ordered set of links called together (the global key hooks, for
// example). The order is Link's order — object address, then member function —
// not the order of adding. A link added "one-shot" is removed after its call.
//
// A handler may add or remove links of the chain that is calling it: removed
// links are not called any more in that pass, links added during a pass are
// first called in the next one. Deleting the chain itself from one of its
// handlers is not allowed.
class KSAPI HdlChain
{
public:
    HdlChain();
    HdlChain(HdlChain const &);
    HdlChain(HdlChain &&) noexcept;
    HdlChain &operator=(HdlChain const &);
    HdlChain &operator=(HdlChain &&) noexcept;
    ~HdlChain();

    // Nothing changes when the link is present already (its flag stays).
    void Add(Link const &link, bool oneShot);
    bool Remove(Link const &link);
    // Calls every entry; the results are summed in 32 bits, wrapping.
    long Call(void *arg);
    int Count() const { return m_nCount; }
    bool IsEmpty() const { return m_nCount == 0; }
    void Clear();

private:
    struct Entry
    {
        Link link;
        bool oneShot;
        bool removed; // removed while a pass was running; erased after it
        bool added;   // added while a pass was running; skipped by it
    };
    void Purge();
    std::size_t LowerBound(Link const &link) const;

    // Sorted by link: a pass walks contiguous memory, which a handler chain
    // of a hundred entries called on every key stroke notices.
    std::vector<Entry> m_aEntries;
    int m_nCount = 0;          // live entries
    int m_nCallDepth = 0;      // nested Call()s on this chain
    unsigned m_nInserts = 0;   // insertions, so that a pass can find its place again
};
