// UString against std::wstring over long random sequences of edits, searches
// and copies; every intermediate text is compared, and earlier copies must
// keep the text they had when they were made.
#include "text/UString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

static std::wstring W(UString const &s)
{
    return std::wstring(s.GetUStr(), std::size_t(s.Len()));
}

static unsigned Found(std::size_t p)
{
    return p == std::wstring::npos ? STR_NOT_FOUND : unsigned(p);
}

static StringCompare Sign(int c)
{
    return c == 0 ? CompEqual : (c < 0 ? CompLess : CompGreater);
}

// The phrase replacement bounded by the current length, written plainly.
static void ModelReplaceAll(std::wstring &m, std::wstring const &f, std::wstring const &r, int start)
{
    if (f.empty())
        return;
    long long i = start < 0 ? 0 : start;
    while (i < (long long)m.size()) {
        if (m[std::size_t(i)] != f[0]) {
            ++i;
            continue;
        }
        std::size_t p = m.find(f, std::size_t(i));
        if (p == std::wstring::npos)
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

    // Units above 0x7F and a lone surrogate too: the string must treat every
    // unit alike, and order them as unsigned numbers.
    wchar_t Char()
    {
        static wchar_t const alphabet[] = L"aaabbbcAB \u00E4\u0416\xD800\xFFFF";
        return alphabet[Pick(sizeof alphabet / sizeof alphabet[0] - 1)];
    }

    std::wstring Text(unsigned maxLen)
    {
        std::wstring t;
        for (unsigned n = Pick(maxLen + 1); n > 0; --n)
            t += Char();
        return t;
    }

    // A position now and then beyond the end, to see that nothing happens.
    unsigned Pos(std::size_t len)
    {
        return Pick(10) == 0 ? unsigned(len) + Pick(5) : Pick(unsigned(len) + 1);
    }

    std::mt19937 m_rng;
};

static std::wstring Token(std::wstring const &m, unsigned index, wchar_t sep)
{
    if (m.empty())
        return L"";
    std::size_t start = 0;
    for (unsigned k = 0; k < index; ++k) {
        std::size_t p = m.find(sep, start);
        if (p == std::wstring::npos)
            return L"";
        start = p + 1;
    }
    std::size_t end = m.find(sep, start);
    return m.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
}

static void Walk(unsigned seed, int steps)
{
    Walker w(seed);
    UString s;
    std::wstring m;
    struct Snapshot
    {
        UString copy;
        std::wstring text;
    };
    std::vector<Snapshot> snaps;

    for (int step = 0; step < steps; ++step) {
        unsigned op = w.Pick(26);
        std::wstring r = w.Text(6);
        UString rs(r.c_str());
        std::size_t len = m.size();
        SCOPED_TRACE(testing::Message() << "seed " << seed << " step " << step << " op " << op);
        switch (op) {
        case 0: s += rs; m += r; break;
        case 1: s += r.c_str(); m += r; break;
        case 2: {
            wchar_t c = w.Char();
            s += c;
            m += c;
            break;
        }
        case 3: {
            unsigned pos = w.Pos(len);
            if (w.Pick(2))
                s.Insert(rs, pos);
            else
                s.Insert(r.c_str(), pos);
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
            wchar_t c = w.Char();
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
            wchar_t c = w.Char();
            unsigned pos = w.Pos(len);
            s.Replace(c, pos);
            if (pos < len)
                m[pos] = c;
            break;
        }
        case 9: {
            std::wstring f = w.Text(3);
            int start = int(w.Pick(unsigned(len) + 3)) - 1;
            s.ReplaceAllPhrases(UString(f.c_str()), rs, start);
            ModelReplaceAll(m, f, r, start);
            break;
        }
        case 10: {
            wchar_t a = w.Char(), b = w.Char();
            s.ReplaceAllChars(a, b);
            std::replace(m.begin(), m.end(), a, b);
            s.EraseAllChars(b);
            m.erase(std::remove(m.begin(), m.end(), b), m.end());
            break;
        }
        case 11: {
            std::wstring f = w.Text(3);
            unsigned from = w.Pos(len);
            unsigned want = f.empty() || from >= len ? STR_NOT_FOUND : Found(m.find(f, from));
            ASSERT_EQ(want, s.Search(UString(f.c_str()), from));
            ASSERT_EQ(want, s.Search(f.c_str(), from));
            wchar_t c = w.Char();
            ASSERT_EQ(from >= len ? STR_NOT_FOUND : Found(m.find(c, from)), s.Search(c, from));
            break;
        }
        case 12: {
            std::wstring f = w.Text(3);
            ASSERT_EQ(f.empty() ? STR_NOT_FOUND : Found(m.rfind(f)), s.SearchFromEnd(UString(f.c_str())));
            wchar_t c = w.Char();
            ASSERT_EQ(Found(m.rfind(c)), s.SearchFromEnd(c));
            break;
        }
        case 13: {
            unsigned pos = w.Pos(len), n = w.Pick(8);
            ASSERT_EQ(pos < len ? m.substr(pos, n) : std::wstring(), W(s.Copy(pos, n)));
            ASSERT_EQ(pos < len ? m.substr(pos, n) : std::wstring(), W(s(pos, n)));
            break;
        }
        case 14:
            if (snaps.size() < 8)
                snaps.push_back({UString(s), m});
            else
                snaps[w.Pick(8)] = {s, m};
            break;
        case 15: {
            unsigned pos = w.Pos(len), n = w.Pick(6);
            std::wstring cut = pos < len ? m.substr(pos, n) : std::wstring();
            ASSERT_EQ(cut, W(s.Cut(pos, n)));
            if (pos < len)
                m.erase(pos, n);
            break;
        }
        case 16: {
            wchar_t c = w.Char();
            s.Trim(c);
            std::size_t first = m.find_first_not_of(c);
            m.erase(0, first == std::wstring::npos ? len : first);
            std::size_t last = m.find_last_not_of(c);
            m.erase(last == std::wstring::npos ? 0 : last + 1);
            break;
        }
        case 17: s.Reverse(); m.assign(m.rbegin(), m.rend()); break;
        case 18: {
            unsigned n = w.Pick(4) == 0 ? USTR_WHOLE : w.Pick(5);
            int c = std::wstring(m, 0, std::min<std::size_t>(n, len)).compare(r.substr(0, n));
            ASSERT_EQ(Sign(c), s.Compare(rs, n));
            ASSERT_EQ(Sign(c), s.Compare(r.c_str(), n));
            ASSERT_EQ(m == r, s == rs);
            ASSERT_EQ(m != r, s != r.c_str());
            ASSERT_EQ(m < r, s < r.c_str());
            ASSERT_EQ(m >= r, r.c_str() <= s);
            ASSERT_EQ(m > r, rs < s);
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
                m.insert(std::min<std::size_t>(pos, len), std::wstring(m));
                break;
            }
            case 2: {
                unsigned pos = w.Pick(unsigned(len) + 1);
                s += s.GetUStr() + pos;
                m += m.substr(pos);
                break;
            }
            default: {
                unsigned pos = w.Pick(unsigned(len) + 1);
                s = s.GetUStr() + pos;
                m = m.substr(pos);
            }
            }
            break;
        }
        case 21: {
            UString copy(s);
            copy += rs; // a change to a copy ...
            ASSERT_EQ(m + r, W(copy));
            break; // ... leaves s as the model says below
        }
        case 22: {
            unsigned n = w.Pick(unsigned(len) + 4);
            wchar_t c = w.Char();
            if (w.Pick(2)) {
                s.Fill(n, c);
                if (n > len)
                    m.assign(n, c);
                else
                    std::fill_n(m.begin(), n, c);
            } else {
                s.Expand(n, c);
                if (n > len)
                    m.append(n - len, c);
            }
            break;
        }
        case 23: {
            wchar_t sep = w.Char();
            unsigned count = m.empty() ? 0 : unsigned(std::count(m.begin(), m.end(), sep)) + 1;
            ASSERT_EQ(count, s.GetTokenCount(sep));
            unsigned index = w.Pick(count + 2);
            ASSERT_EQ(Token(m, index, sep), W(s.GetToken(index, sep)));
            std::size_t lastSep = m.rfind(sep);
            ASSERT_EQ(lastSep == std::wstring::npos ? m : m.substr(0, lastSep), W(s.CopyToLastChar(sep)));
            break;
        }
        case 24: {
            std::size_t i = 0;
            while (i < len && i < r.size() && m[i] == r[i])
                ++i;
            unsigned want = (m.empty() || i == len) ? STR_ALL_MATCH : unsigned(i);
            ASSERT_EQ(want, s.Match(rs));
            ASSERT_EQ(want, s.Match(r.c_str()));
            break;
        }
        default: {
            UString keep(s);
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
        ASSERT_EQ(m, W(s));
        ASSERT_EQ(L'\0', s.GetUStr()[s.Len()]);
        for (Snapshot const &snap : snaps)
            ASSERT_EQ(snap.text, W(snap.copy));
    }
}

TEST(UStringRandom, MatchesStdWstringOverRandomEdits)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        Walk(seed, 20000);
        if (HasFatalFailure())
            return;
    }
}
