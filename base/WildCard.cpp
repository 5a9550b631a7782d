#include "base/WildCard.h"

#include <cstring>

WildCard::WildCard() : m_cSeparator(0) {}

WildCard::WildCard(SString const &pattern, char separator) : m_aPattern(pattern), m_cSeparator(separator) {}

WildCard::WildCard(WildCard const &other) : m_aPattern(other.m_aPattern), m_cSeparator(other.m_cSeparator) {}

WildCard &WildCard::operator=(WildCard const &other)
{
    m_aPattern = other.m_aPattern;
    m_cSeparator = other.m_cSeparator;
    return *this;
}

WildCard &WildCard::operator=(SString const &pattern)
{
    m_aPattern = pattern;
    return *this;
}

bool WildCard::MatchOne(char const *pattern, char const *patternEnd, char const *name)
{
    if (!pattern || !name)
        return false;
    char const *const start = pattern;
    char const *p = pattern;
    char const *s = name;
    // The pattern is read through At() so that an alternative cut out of a
    // longer list ends at its separator without a copy.
    auto at = [patternEnd](char const *q) -> char { return q < patternEnd ? *q : '\0'; };
    std::ptrdiff_t back = 0; // pattern bytes matched since the last '*'
    bool star = false;

    while (at(p) || star) {
        char c = at(p);
        bool const isStar = c == '*';
        bool mismatch = false;
        if (c == '?') {
            if (!*s)
                return false;
        } else if (!isStar) {
            if (c == '\\' && (at(p + 1) == '?' || at(p + 1) == '*'))
                c = at(++p);
            if (c != *s) {
                if (!back)
                    return false;
                // Retry the text after the last '*' at the current name byte;
                // bounded so a corrupted count can never leave the pattern.
                p -= back > p - start ? p - start : back;
                mismatch = true;
            }
        }
        if (isStar || mismatch) {
            while (at(p) == '*')
                ++p;
            if (!at(p))
                return true;
            star = true;
            back = 0;
            if (!*s)
                return !at(p);
            while (*s && *s != at(p)) {
                if (at(p) == '?') {
                    ++p;
                    while (at(p) == '*')
                        ++p;
                }
                ++s;
                if (!*s)
                    return !at(p);
            }
        }
        if (at(p))
            ++p;
        if (*s) {
            ++s;
            if (star)
                ++back;
        } else {
            star = false;
        }
    }
    return !*s && !at(p);
}

bool WildCard::Matches(SString const &name) const
{
    char const *pat = m_aPattern.GetStr();
    char const *end = pat + m_aPattern.Len();
    char const *text = name.GetStr();
    if (!m_cSeparator)
        return MatchOne(pat, end, text);
    for (char const *a = pat;;) {
        char const *sep = static_cast<char const *>(std::memchr(a, m_cSeparator, std::size_t(end - a)));
        char const *altEnd = sep ? sep : end;
        if (MatchOne(a, altEnd, text))
            return true;
        if (!sep)
            return false;
        a = sep + 1;
    }
}
