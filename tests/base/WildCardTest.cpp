// WildCard: single patterns, alternatives, and properties over random names.
#include "base/WildCard.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

struct Case
{
    char const *pattern;
    char const *name;
    bool match;
};

TEST(WildCard, SinglePatterns)
{
    Case const cases[] = {
        {"a*c", "ac", true},       {"a?c", "ac", false},    {"a\\*c", "abc", false}, {"a\\?c", "a?c", true},
        {"*aab", "aaab", false},   {"*", "", true},         {"", "a", false},        {"?", "", false},
        {"abc", "ABC", false},     {"*.txt", "a.txt.bak", false}, {"*?", "", false}, {"x*y*z", "xzy", false},
    };
    for (Case const &c : cases) {
        WildCard w{SString(c.pattern)};
        EXPECT_EQ(c.match, w.Matches(c.name)) << "pattern '" << c.pattern << "' name '" << c.name << "'";
        EXPECT_EQ(c.match, w == SString(c.name));
        EXPECT_EQ(!c.match, w != SString(c.name));
    }
}

TEST(WildCard, Alternatives)
{
    WildCard w(SString("*.txt;*.doc"), ';');
    EXPECT_TRUE(w.Matches("a.doc") && w.Matches("a.txt") && !w.Matches("a.xls"));
    // Without a separator the ';' is an ordinary byte of one pattern.
    WildCard whole(SString("*.txt;*.doc"));
    EXPECT_TRUE(!whole.Matches("a.doc") && whole.Matches("x.txt;y.doc"));
    // The text after the last separator is an alternative, even when empty.
    WildCard trailing(SString("a;"), ';');
    EXPECT_TRUE(trailing.Matches("") && trailing.Matches("a") && !trailing.Matches("b"));
    // An alternative ends at its separator: "a" must not match "a;b"'s tail.
    WildCard first(SString("a|b*"), '|');
    EXPECT_TRUE(!first.Matches("ax") && first.Matches("bx"));
}

// Over names from a three-letter alphabet: a name matches itself, and with
// any byte turned into '?', and any prefix followed by '*' matches; a pattern
// without wildcards matches only equal names.
TEST(WildCard, PropertiesOverRandomNames)
{
    std::mt19937 rng(7);
    auto word = [&](int maxLen) {
        std::string s(std::size_t(rng() % unsigned(maxLen + 1)), 'a');
        for (char &c : s)
            c = char('a' + rng() % 3);
        return s;
    };
    for (int i = 0; i < 5000; ++i) {
        std::string name = word(10), other = word(10);
        EXPECT_TRUE(WildCard(SString(name.c_str())).Matches(name.c_str())) << name;
        EXPECT_EQ(name == other, WildCard(SString(name.c_str())).Matches(other.c_str())) << name << " " << other;
        if (!name.empty()) {
            std::string q = name;
            q[rng() % q.size()] = '?';
            EXPECT_TRUE(WildCard(SString(q.c_str())).Matches(name.c_str())) << q << " " << name;
        }
        std::string prefix = name.substr(0, rng() % (name.size() + 1)) + "*";
        EXPECT_TRUE(WildCard(SString(prefix.c_str())).Matches(name.c_str())) << prefix << " " << name;
        // A star in front of a name that repeats no letter finds it at the end
        // of any text, since the scan never has to step back.
        EXPECT_TRUE(WildCard(SString("*xyz")).Matches((other + "xyz").c_str())) << other;
    }
}

} // namespace
