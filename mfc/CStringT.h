#pragma once
// The 8-bit string class of the framework library, reduced to what the
// library's own strings need to take a copy of one: its bytes and its length.
// The names and template shape are the framework's, so that signatures that
// mention it read the same on both sides.
#include <string>

namespace ATL {

template <typename BaseType> class ChTraitsCRT
{
public:
    using XCHAR = BaseType;
    using PCXSTR = BaseType const *;
};

template <typename BaseType, class StringTraits> class CStringT
{
public:
    using XCHAR = BaseType;
    using PCXSTR = BaseType const *;

    CStringT() = default;
    CStringT(PCXSTR text)
    {
        if (text)
            m_text = text;
    }
    // Takes exactly length characters, embedded NULs included.
    CStringT(PCXSTR text, int length)
    {
        if (text && length > 0)
            m_text.assign(text, std::size_t(length));
    }

    PCXSTR GetString() const { return m_text.c_str(); }
    operator PCXSTR() const { return m_text.c_str(); }
    int GetLength() const { return int(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }

private:
    std::basic_string<BaseType> m_text;
};

} // namespace ATL

template <typename BaseType = char, class StringIterator = ATL::ChTraitsCRT<BaseType>>
class StrTraitMFC_DLL : public StringIterator
{
};

using CStringA = ATL::CStringT<char, StrTraitMFC_DLL<char, ATL::ChTraitsCRT<char>>>;
