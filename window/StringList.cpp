#include "window/StringList.h"

#include <cstdlib>

StringList::~StringList()
{
    Clear();
    std::free(m_ppData);
}

bool StringList::Append(SString *p)
{
    if (!p)
        return false;
    if (m_nCount == m_nCapacity) {
        // Grows by half its size, at least by 16.
        unsigned long const grow = m_nCapacity / 2 > 16 ? m_nCapacity / 2 : 16;
        void *pNew = std::realloc(m_ppData, (m_nCapacity + grow) * sizeof(SString *));
        if (!pNew) {
            delete p;
            return false;
        }
        m_ppData = static_cast<SString **>(pNew);
        m_nCapacity += grow;
    }
    m_ppData[m_nCount++] = p;
    return true;
}

void StringList::Clear()
{
    for (unsigned long i = 0; i < m_nCount; ++i)
        delete m_ppData[i];
    m_nCount = 0;
}
