#include "frame/HdlChain.h"

#include <cstdint>
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
    for (auto const &[link, e] : o.m_aEntries)
        if (!e.removed)
            Add(link, e.oneShot);
    return *this;
}

HdlChain &HdlChain::operator=(HdlChain &&o) noexcept
{
    if (this == &o)
        return *this;
    if (o.m_nCallDepth != 0 || m_nCallDepth != 0) {
        // A chain in the middle of a pass cannot give its tree away.
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

void HdlChain::Add(Link const &link, bool oneShot)
{
    auto it = m_aEntries.find(link);
    if (it != m_aEntries.end()) {
        if (it->second.removed) {
            // Removed and added again within one pass: a new entry for the
            // next pass.
            it->second = Entry{oneShot, false, m_nCallDepth > 0};
            ++m_nCount;
        }
        return;
    }
    m_aEntries.emplace(link, Entry{oneShot, false, m_nCallDepth > 0});
    ++m_nCount;
}

bool HdlChain::Remove(Link const &link)
{
    auto it = m_aEntries.find(link);
    if (it == m_aEntries.end() || it->second.removed)
        return false;
    --m_nCount;
    if (m_nCallDepth > 0)
        it->second.removed = true; // a running pass may hold its iterator
    else
        m_aEntries.erase(it);
    return true;
}

long HdlChain::Call(void *arg)
{
    std::uint32_t sum = 0;
    if (m_nCount == 0)
        return 0;
    ++m_nCallDepth;
    for (auto it = m_aEntries.begin(); it != m_aEntries.end(); ++it) {
        Entry &e = it->second;
        if (e.removed || e.added)
            continue;
        if (it->first.IsSet())
            sum += static_cast<std::uint32_t>(it->first.Call(arg));
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
        for (auto &[link, e] : m_aEntries)
            e.removed = true;
    } else {
        m_aEntries.clear();
    }
    m_nCount = 0;
}

void HdlChain::Purge()
{
    for (auto it = m_aEntries.begin(); it != m_aEntries.end();) {
        if (it->second.removed) {
            it = m_aEntries.erase(it);
        } else {
            it->second.added = false;
            ++it;
        }
    }
}
