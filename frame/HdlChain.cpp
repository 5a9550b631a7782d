#include "frame/HdlChain.h"

#include <cstdint>
#include <cstddef>
#include <utility>

HdlChain::HdlChain() = default;
HdlChain::~HdlChain() = default;

// A copy takes the live entries only; a copy made inside a pass is a fresh
// chain that is not being called.
HdlChain::HdlChain(HdlChain const &o)
{
    *this = o;
}

HdlChain::HdlChain(HdlChain &&o) noexcept
{
    *this = std::move(o);
}

HdlChain &HdlChain::operator=(HdlChain const &o)
{
    if (this == &o)
        return *this;
    Clear();
    for (Entry const &e : o.m_aEntries)
        if (!e.removed)
            Add(e.link, e.oneShot);
    return *this;
}

HdlChain &HdlChain::operator=(HdlChain &&o) noexcept
{
    if (this == &o)
        return *this;
    if (o.m_nCallDepth != 0 || m_nCallDepth != 0) {
        // A chain in the middle of a pass cannot give its entries away.
        *this = static_cast<HdlChain const &>(o);
        return *this;
    }
    m_aEntries = std::move(o.m_aEntries);
    m_nCount = o.m_nCount;
    o.m_aEntries.clear();
    o.m_nCount = 0;
    Purge();
    return *this;
}

std::size_t HdlChain::LowerBound(Link const &link) const
{
    std::size_t lo = 0, hi = m_aEntries.size();
    while (lo < hi) {
        std::size_t mid = (lo + hi) / 2;
        if (m_aEntries[mid].link < link)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

void HdlChain::Add(Link const &link, bool oneShot)
{
    std::size_t const at = LowerBound(link);
    if (at < m_aEntries.size() && m_aEntries[at].link == link) {
        Entry &e = m_aEntries[at];
        if (e.removed) {
            // Removed and added again within one pass: a new entry for the
            // next pass.
            e.oneShot = oneShot;
            e.removed = false;
            e.added = m_nCallDepth > 0;
            ++m_nCount;
        }
        return;
    }
    m_aEntries.insert(m_aEntries.begin() + static_cast<std::ptrdiff_t>(at),
                      Entry{link, oneShot, false, m_nCallDepth > 0});
    ++m_nInserts;
    ++m_nCount;
}

bool HdlChain::Remove(Link const &link)
{
    std::size_t const at = LowerBound(link);
    if (at >= m_aEntries.size() || !(m_aEntries[at].link == link) || m_aEntries[at].removed)
        return false;
    --m_nCount;
    if (m_nCallDepth > 0)
        m_aEntries[at].removed = true; // a running pass counts on the positions
    else
        m_aEntries.erase(m_aEntries.begin() + static_cast<std::ptrdiff_t>(at));
    return true;
}

long HdlChain::Call(void *arg)
{
    std::uint32_t sum = 0;
    if (m_nCount == 0)
        return 0;
    ++m_nCallDepth;
    for (std::size_t i = 0; i < m_aEntries.size(); ++i) {
        if (m_aEntries[i].removed || m_aEntries[i].added)
            continue;
        Link const link = m_aEntries[i].link; // the vector may move during the call
        unsigned const inserts = m_nInserts;
        if (link.IsSet())
            sum += static_cast<std::uint32_t>(link.Call(arg));
        // An insertion moved the entries: find this one again (removals
        // only mark, so it is still there).
        if (inserts != m_nInserts)
            i = LowerBound(link);
        Entry &e = m_aEntries[i];
        // The handler may have removed its own entry already.
        if (e.oneShot && !e.removed) {
            e.removed = true;
            --m_nCount;
        }
    }
    if (--m_nCallDepth == 0)
        Purge();
    return static_cast<long>(static_cast<std::int32_t>(sum));
}

void HdlChain::Clear()
{
    if (m_nCallDepth > 0) {
        for (Entry &e : m_aEntries)
            e.removed = true;
    } else {
        m_aEntries.clear();
    }
    m_nCount = 0;
}

void HdlChain::Purge()
{
    std::size_t out = 0;
    for (std::size_t i = 0; i < m_aEntries.size(); ++i) {
        if (m_aEntries[i].removed)
            continue;
        m_aEntries[i].added = false;
        if (out != i)
            m_aEntries[out] = m_aEntries[i];
        ++out;
    }
    m_aEntries.resize(out);
}
