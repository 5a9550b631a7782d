#pragma once
#include "frame/Kestrel5Api.h"
#include "frame/Link.h"

#include <map>

// Command numbers bound to links: a window hands the numbers its menus and
// tool bars deliver to Call, and the link registered for the number runs.
// A one-shot binding is dropped after its first call.
class KSAPI CommandMap
{
public:
    CommandMap() = default;
    CommandMap(CommandMap const &) = default;
    CommandMap(CommandMap &&) noexcept = default;
    CommandMap &operator=(CommandMap const &) = default;
    CommandMap &operator=(CommandMap &&) noexcept = default;
    ~CommandMap() = default;

    // A number already bound keeps its first link and flag.
    void Add(int nCommand, Link const &rLink, bool bOneShot);
    // The link's result cut to 32 bits; 0 for an unbound number.
    long Call(int nCommand, void *pArg);
    bool Remove(int nCommand);
    bool IsEmpty() const { return m_aMap.empty(); }

private:
    struct Entry
    {
        Link aLink;
        bool bOneShot;
    };
    std::map<int, Entry> m_aMap;
};
