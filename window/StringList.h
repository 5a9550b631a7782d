#pragma once
#include "frame/Kestrel5Api.h"
#include "text/SString.h"

// A list of owned strings; the pointers are deleted with the list.
class KSAPI StringList
{
public:
    StringList() : m_ppData(nullptr), m_nCount(0), m_nCapacity(0) {}
    ~StringList();
    StringList(StringList const &) = delete;
    StringList &operator=(StringList const &) = delete;

    // Takes ownership of p; false (and p deleted) when no room could be made.
    bool Append(SString *p);
    void Clear();
    unsigned long Count() const { return m_nCount; }
    // Null past the end.
    SString *GetObject(unsigned long n) const { return n < m_nCount ? m_ppData[n] : nullptr; }

private:
    SString **m_ppData;
    unsigned long m_nCount;
    unsigned long m_nCapacity;
};
