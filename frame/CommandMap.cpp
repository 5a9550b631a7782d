#include "frame/CommandMap.h"

void CommandMap::Add(int nCommand, Link const &rLink, bool bOneShot)
{
    m_aMap.emplace(nCommand, Entry{rLink, bOneShot});
}

long CommandMap::Call(int nCommand, void *pArg)
{
    auto it = m_aMap.find(nCommand);
    if (it == m_aMap.end())
        return 0;
    // Copied: the handler may add or remove bindings, which can move or end
    // the entry while its link runs.
    Entry const entry = it->second;
    __int64 const result = entry.aLink.Call(pArg);
    if (entry.bOneShot)
        m_aMap.erase(nCommand);
    return static_cast<long>(result);
}

bool CommandMap::Remove(int nCommand)
{
    return m_aMap.erase(nCommand) != 0;
}
