// SString against std::string over long random sequences of edits, searches
// and copies; every intermediate text is compared, and earlier copies must
// keep the text they had when they were made.
#include "text/SString.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

static std::string S(SString const &s)
{
    return std::string(s.GetStr(), std::size_t(s.Len()));
}

static unsigned Found(std::size_t p)
{
    return p == std::string::npos ? STR_NOT_FOUND : unsigned(p);
}

static StringCompare Sign(int c)
{
    return c == 0 ? CompEqual : (c < 0 ? CompLess : CompGreater);
}

// The bounded phrase replacement, written plainly on std::string.
static void ModelReplaceAll(std::string &m, std::string const &f, std::string const &r, int start,
                            int count)
{
    if (f.empty())
        return;
    long long end = int(unsigned(start) + unsigned(count));
    long long i = start < 0 ? 0 : start;
    while (i < std::min<long long>(end, (long long)m.size())) {
        if (m[std::size_t(i)] != f[0]) {
            ++i;
            continue;
        }
        std::size_t p = m.find(f, std::size_t(i));
        if (p == std::string::npos)
            break;
        m.replace(p, f.size(), r);
        i = (long long)(p + r.size());
    }
}

class Walker
{
public:
    explicit Walker(unsigned seed) : m_rng(seed) {}

    unsigned Pick(unsigned n) { return std::uniform_int_distribution<unsigned>(0, n - 1)(m_rng); }

    char Char()
    {
        static char const alphabet[] = "aaabbbcAB \xE4\xC4";
        return alphabet[Pick(sizeof alphabet - 1)];
    }

    std::string Text(unsigned maxLen)
    {
        std::string t;
        for (unsigned n = Pick(maxLen + 1); n > 0; --n)
            t += Char();
        return t;
    }

    // A position now and then beyond the end, to see that nothing happens.
    unsigned Pos(std::size_t len) { return Pick(10) == 0 ? unsigned(len) + Pick(5) : Pick(unsigned(len) + 1); }

    std::mt19937 m_rng;
};

static void Walk(unsigned seed, int steps)
{
    Walker w(seed);
    SString s;
    std::string m;
    struct Snapshot
    {
        SString copy;
        std::string text;
    };
    std::vector<Snapshot> snaps;

    for (int step = 0; step < steps; ++step) {
        unsigned op = w.Pick(24);
        std::string r = w.Text(6);
        SString rs(r.c_str());
        std::size_t len = m.size();
        SCOPED_TRACE(testing::Message() << "seed " << seed << " step " << step << " op " << op
                                        << " text '" << m << "' arg '" << r << "'");
        switch (op) {
        case 0: s += rs; m += r; break;
        case 1: s += r.c_str(); m += r; break;
        case 2: {
            char c = w.Char();
            s += c;
            m += c;
            break;
        }
        case 3: {
            unsigned pos = w.Pos(len);
            s.Insert(rs, pos);
            m.insert(std::min<std::size_t>(pos, len), r);
            break;
        }
        case 4: {
            unsigned from = w.Pick(8), count = w.Pick(8), pos = w.Pos(len);
            s.Insert(rs, from, count, pos);
            if (from <= r.size())
                m.insert(std::min<std::size_t>(pos, len), r.substr(from, count));
            break;
        }
        case 5: {
            char c = w.Char();
            unsigned pos = w.Pos(len);
            s.Insert(c, pos);
            m.insert(std::min<std::size_t>(pos, len), 1, c);
            break;
        }
        case 6: {
            unsigned pos = w.Pos(len), n = w.Pick(10) == 0 ? STR_TO_END : w.Pick(6);
            s.Erase(pos, n);
            if (pos < len)
                m.erase(pos, n);
            break;
        }
        case 7: {
            unsigned pos = w.Pos(len);
            s.Replace(rs, pos);
            if (pos < len)
                m.replace(pos, std::min(r.size(), len - pos), r.substr(0, len - pos));
            break;
        }
        case 8: {
            char c = w.Char();
            unsigned pos = w.Pos(len);
            s.Replace(c, pos);
            if (pos < len)
                m[pos] = c;
            break;
        }
        case 9: {
            std::string f = w.Text(3);
            s.ReplaceAllPhrases(SString(f.c_str()), rs);
            ModelReplaceAll(m, f, r, 0, int(STR_MAX_LEN));
            break;
        }
        case 10: {
            std::string f = w.Text(2);
            int start = int(w.Pick(unsigned(len) + 3)) - 1, count = int(w.Pick(12)) - 1;
            s.ReplaceAllPhrases(SString(f.c_str()), rs, start, count);
            ModelReplaceAll(m, f, r, start, count);
            break;
        }
        case 11: {
            std::string f = w.Text(3);
            unsigned from = w.Pos(len);
            unsigned want = f.empty() || from >= len ? STR_NOT_FOUND : Found(m.find(f, from));
            ASSERT_EQ(want, s.Search(SString(f.c_str()), from));
            ASSERT_EQ(want, s.Search(f.c_str(), from));
            char c = w.Char();
            ASSERT_EQ(from >= len ? STR_NOT_FOUND : Found(m.find(c, from)), s.Search(c, from));
            break;
        }
        case 12: {
            std::string f = w.Text(3);
            unsigned from = w.Pos(len);
            unsigned want = STR_NOT_FOUND;
            if (!f.empty() && from < len && (f.size() == 1 || from + f.size() <= len))
                want = Found(m.rfind(f, from));
            ASSERT_EQ(want, s.SearchBackward(SString(f.c_str()), from));
            ASSERT_EQ(f.empty() ? STR_NOT_FOUND : Found(m.rfind(f)), s.SearchFromEnd(SString(f.c_str())));
            break;
        }
        case 13: {
            unsigned pos = w.Pos(len), n = w.Pick(8);
            ASSERT_EQ(pos < len ? m.substr(pos, n) : std::string(), S(s.Copy(pos, n)));
            break;
        }
        case 14:
            if (snaps.size() < 8)
                snaps.push_back({SString(s), m});
            else
                snaps[w.Pick(8)] = {s, m};
            break;
        case 15: {
            unsigned pos = w.Pos(len), n = w.Pick(6);
            std::string cut = pos < len ? m.substr(pos, n) : std::string();
            ASSERT_EQ(cut, S(s.Cut(pos, n)));
            if (pos < len)
                m.erase(pos, n);
            break;
        }
        case 16: {
            char c = w.Char();
            s.EraseLeadingChars(c);
            m.erase(0, m.find_first_not_of(c) == std::string::npos ? len : m.find_first_not_of(c));
            s.EraseTrailingChars(c);
            std::size_t last = m.find_last_not_of(c);
            m.erase(last == std::string::npos ? 0 : last + 1);
            break;
        }
        case 17:
            switch (w.Pick(3)) {
            case 0: s.Reverse(); m.assign(m.rbegin(), m.rend()); break;
            case 1:
                s.ToUpper();
                for (char &c : m)
                    if (c >= 'a' && c <= 'z')
                        c = char(c - 32);
                break;
            default:
                s.ToLower();
                for (char &c : m)
                    if (c >= 'A' && c <= 'Z')
                        c = char(c + 32);
            }
            break;
        case 18: {
            unsigned n = w.Pick(4) == 0 ? STR_TO_END : w.Pick(5);
            int c = std::string(m, 0, std::min<std::size_t>(n, len)).compare(r.substr(0, n));
            ASSERT_EQ(Sign(c), s.Compare(rs, n));
            ASSERT_EQ(Sign(c), s.Compare(r.c_str(), n));
            ASSERT_EQ(m == r, s == rs);
            ASSERT_EQ(m < r, s < r.c_str());
            ASSERT_EQ(m >= r, r.c_str() <= s);
            break;
        }
        case 19: s = r.c_str(); m = r; break;
        case 20: {
            // the argument is this very string, or lies in its own buffer
            switch (w.Pick(4)) {
            case 0: s += s; m += m; break;
            case 1: {
                unsigned pos = w.Pos(len);
                s.Insert(s, pos);
                m.insert(std::min<std::size_t>(pos, len), std::string(m));
                break;
            }
            case 2: {
                unsigned pos = w.Pick(unsigned(len) + 1);
                s += s.GetStr() + pos;
                m += m.substr(pos);
                break;
            }
            default: {
                unsigned pos = w.Pick(unsigned(len) + 1);
                s = s.GetStr() + pos;
                m = m.substr(pos);
            }
            }
            break;
        }
        case 21: {
            SString copy(s);
            copy += rs; // a change to a copy ...
            ASSERT_EQ(m + r, S(copy));
            break; // ... leaves s as the model says below
        }
        case 22: {
            std::string f = w.Text(2);
            SString fs(f.c_str());
            s.ReplaceAllPhrases(fs, s.Copy(0, 3)); // the replacement shares this buffer
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
        for (Snapshot const &snap : snaps)
            ASSERT_EQ(snap.text, S(snap.copy));
    }
}

TEST(SStringRandom, MatchesStdStringOverRandomEdits)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        Walk(seed, 20000);
        if (HasFatalFailure())
            return;
    }
}
