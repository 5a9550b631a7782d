// SString against std::string over long random sequences of edits, searches
// and copies; every intermediate text is compared, and earlier copies must
// keep the text they had when they were made.
#include "text/SString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

static std::string S(SString const &s) { return std::string(s.GetStr(), std::size_t(s.Len())); }
static unsigned Found(std::size_t p) { return p == std::string::npos ? STR_NOT_FOUND : unsigned(p); }
static StringCompare Sign(int c) { return c == 0 ? CompEqual : (c < 0 ? CompLess : CompGreater); }

// The bounded phrase replacement, written plainly: the scan stops at the
// bound, but an occurrence may start at a first byte found before it.
static void ModelReplaceAll(std::string &m, std::string const &f, std::string const &r, int start, int count)
{
    long long const end = int(unsigned(start) + unsigned(count));
    for (std::size_t i = std::size_t(std::max(start, 0)), c, p;
         !f.empty() && (c = m.find(f[0], i)) != m.npos && (long long)c < end && (p = m.find(f, c)) != m.npos;
         i = p + r.size())
        m.replace(p, f.size(), r);
}

static void Walk(unsigned seed, int steps)
{
    std::mt19937 rng(seed);
    auto pick = [&](unsigned n) { return std::uniform_int_distribution<unsigned>(0, n - 1)(rng); };
    auto ch = [&] {
        static char const alphabet[] = "aaabbbcAB \xE4\xC4";
        return alphabet[pick(std::size(alphabet) - 1)];
    };
    auto text = [&](unsigned maxLen) {
        std::string t;
        for (unsigned n = pick(maxLen + 1); n > 0; --n)
            t += ch();
        return t;
    };
    // A position now and then beyond the end, to see that nothing happens.
    auto at = [&](std::size_t len) { return pick(10) == 0 ? unsigned(len) + pick(5) : pick(unsigned(len) + 1); };

    SString s;
    std::string m;
    std::vector<std::pair<SString, std::string>> snaps;
    for (int step = 0; step < steps; ++step) {
        unsigned op = pick(24);
        std::string r = text(6);
        SString rs(r.c_str());
        std::size_t len = m.size();
        auto ins = [&](unsigned pos, std::string const &t) { m.insert(std::min<std::size_t>(pos, len), t); };
        SCOPED_TRACE(testing::Message() << "seed " << seed << " step " << step << " op " << op << " text '" << m
                                        << "' arg '" << r << "'");
        switch (op) {
        case 0: s += rs; m += r; break;
        case 1: s += r.c_str(); m += r; break;
        case 2: { char c = ch(); s += c; m += c; break; }
        case 3: { unsigned pos = at(len); s.Insert(rs, pos); ins(pos, r); break; }
        case 4: {
            unsigned from = pick(8), count = pick(8), pos = at(len);
            s.Insert(rs, from, count, pos);
            if (from <= r.size())
                ins(pos, r.substr(from, count));
            break;
        }
        case 5: { char c = ch(); unsigned pos = at(len); s.Insert(c, pos); ins(pos, {c}); break; }
        case 6: {
            unsigned pos = at(len), n = pick(10) == 0 ? STR_TO_END : pick(6);
            s.Erase(pos, n);
            if (pos < len)
                m.erase(pos, n);
            break;
        }
        case 7: {
            unsigned pos = at(len);
            s.Replace(rs, pos);
            if (pos < len)
                m.replace(pos, std::min(r.size(), len - pos), r.substr(0, len - pos));
            break;
        }
        case 8: {
            char c = ch();
            unsigned pos = at(len);
            s.Replace(c, pos);
            if (pos < len)
                m[pos] = c;
            break;
        }
        case 9: {
            std::string f = text(3);
            s.ReplaceAllPhrases(SString(f.c_str()), rs);
            ModelReplaceAll(m, f, r, 0, int(STR_MAX_LEN));
            break;
        }
        case 10: {
            std::string f = text(2);
            int start = int(pick(unsigned(len) + 3)) - 1, count = int(pick(12)) - 1;
            s.ReplaceAllPhrases(SString(f.c_str()), rs, start, count);
            ModelReplaceAll(m, f, r, start, count);
            break;
        }
        case 11: {
            std::string f = text(3);
            unsigned from = at(len);
            unsigned want = f.empty() || from >= len ? STR_NOT_FOUND : Found(m.find(f, from));
            ASSERT_EQ(want, s.Search(SString(f.c_str()), from));
            ASSERT_EQ(want, s.Search(f.c_str(), from));
            char c = ch();
            ASSERT_EQ(from >= len ? STR_NOT_FOUND : Found(m.find(c, from)), s.Search(c, from));
            break;
        }
        case 12: {
            std::string f = text(3);
            unsigned from = at(len);
            unsigned want = STR_NOT_FOUND;
            if (!f.empty() && from < len && (f.size() == 1 || from + f.size() <= len))
                want = Found(m.rfind(f, from));
            ASSERT_EQ(want, s.SearchBackward(SString(f.c_str()), from));
            ASSERT_EQ(f.empty() ? STR_NOT_FOUND : Found(m.rfind(f)), s.SearchFromEnd(SString(f.c_str())));
            break;
        }
        case 13: {
            unsigned pos = at(len), n = pick(8);
            ASSERT_EQ(pos < len ? m.substr(pos, n) : std::string(), S(s.Copy(pos, n)));
            break;
        }
        case 14:
            if (snaps.size() < 8)
                snaps.emplace_back(s, m);
            else
                snaps[pick(8)] = {s, m};
            break;
        case 15: {
            unsigned pos = at(len), n = pick(6);
            ASSERT_EQ(pos < len ? m.substr(pos, n) : std::string(), S(s.Cut(pos, n)));
            if (pos < len)
                m.erase(pos, n);
            break;
        }
        case 16: {
            char c = ch();
            s.EraseLeadingChars(c);
            m.erase(0, std::min(m.find_first_not_of(c), len));
            s.EraseTrailingChars(c);
            m.erase(m.find_last_not_of(c) + 1); // npos + 1 is 0
            break;
        }
        case 17:
            switch (pick(3)) {
            case 0: s.Reverse(); m.assign(m.rbegin(), m.rend()); break;
            case 1: s.ToUpper(); for (char &c : m) c = c >= 'a' && c <= 'z' ? char(c - 32) : c; break;
            default: s.ToLower(); for (char &c : m) c = c >= 'A' && c <= 'Z' ? char(c + 32) : c;
            }
            break;
        case 18: {
            unsigned n = pick(4) == 0 ? STR_TO_END : pick(5);
            int c = std::string(m, 0, std::min<std::size_t>(n, len)).compare(r.substr(0, n));
            ASSERT_EQ(Sign(c), s.Compare(rs, n));
            ASSERT_EQ(Sign(c), s.Compare(r.c_str(), n));
            ASSERT_EQ(m == r, s == rs);
            ASSERT_EQ(m < r, s < r.c_str());
            ASSERT_EQ(m >= r, r.c_str() <= s);
            break;
        }
        case 19: s = r.c_str(); m = r; break;
        case 20: { // the argument is this very string, or lies in its own buffer
            unsigned pos = pick(unsigned(len) + 1);
            switch (pick(4)) {
            case 0: s += s; m += m; break;
            case 1: pos = at(len); s.Insert(s, pos); ins(pos, std::string(m)); break;
            case 2: s += s.GetStr() + pos; m += m.substr(pos); break;
            default: s = s.GetStr() + pos; m = m.substr(pos);
            }
            break;
        }
        case 21: { // a change to a copy leaves s as the model says below
            SString copy(s);
            copy += rs;
            ASSERT_EQ(m + r, S(copy));
            break;
        }
        case 22: {
            std::string f = text(2);
            s.ReplaceAllPhrases(SString(f.c_str()), s.Copy(0, 3)); // the replacement shares this buffer
            ModelReplaceAll(m, f, m.substr(0, 3), 0, int(STR_MAX_LEN));
            break;
        }
        default: {
            SString keep(s);
            s.Clear();
            ASSERT_TRUE(s.IsEmpty());
            s = keep;
        }
        }
        // Doubling and phrase growth are multiplicative; keep texts short.
        if (m.size() > 300) {
            s.Erase(0, unsigned(m.size() - 100));
            m.erase(0, m.size() - 100);
        }
        ASSERT_EQ(m, S(s));
        ASSERT_EQ('\0', s.GetStr()[s.Len()]);
        for (auto const &[copy, was] : snaps)
            ASSERT_EQ(was, S(copy));
    }
}

TEST(SStringRandom, MatchesStdStringOverRandomEdits)
{
    for (unsigned seed = 1; seed <= 20 && !HasFatalFailure(); ++seed)
        Walk(seed, 20000);
}
