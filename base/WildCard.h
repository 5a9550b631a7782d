#pragma once
// WildCard: one pattern, or a list of alternatives, matched byte for byte and
// case-sensitively against names. '*' stands for any run of bytes, '?' for
// one byte, and "\*" or "\?" for the character itself. A name is scanned
// forwards only: the matcher never rewinds the name, so a pattern such as
// "*aab" misses "aaab". Callers that want case-blind matching (Dir) lower-case
// both sides first.
#include "frame/Kestrel5Api.h"
#include "text/SString.h"

class KSAPI WildCard
{
public:
    WildCard();
    // separator 0: the pattern is one pattern; otherwise it is a list of
    // alternatives split at that byte ("*.txt;*.doc" with ';').
    WildCard(SString const &pattern, char separator = 0);
    WildCard(WildCard const &other);
    WildCard &operator=(WildCard const &other);
    // Replaces the pattern; the separator stays.
    WildCard &operator=(SString const &pattern);

    bool Matches(SString const &name) const;
    bool operator==(SString const &name) const { return Matches(name); }
    bool operator!=(SString const &name) const { return !Matches(name); }
    SString operator()() const { return m_aPattern; }

    // One pattern against one name; both NUL-terminated, the pattern ends at
    // patternEnd or its NUL, whichever comes first.
    static bool MatchOne(char const *pattern, char const *patternEnd, char const *name);

private:
    SString m_aPattern;
    char m_cSeparator;
};
