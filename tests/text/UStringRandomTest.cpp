// UString against std::wstring over long random sequences of edits, searches
// and copies; every intermediate text is compared, and earlier copies must
// keep the text they had when they were made.
#include "text/UString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

static std::wstring W(UString const &s) { return std::wstring(s.GetUStr(), std::size_t(s.Len())); }
static unsigned Found(std::size_t p) { return p == std::wstring::npos ? STR_NOT_FOUND : unsigned(p); }
static StringCompare Sign(int c) { return c == 0 ? CompEqual : (c < 0 ? CompLess : CompGreater); }

static void Walk(unsigned seed, int steps)
{
    std::mt19937 rng(seed);
    auto pick = [&](unsigned n) { return std::uniform_int_distribution<unsigned>(0, n - 1)(rng); };
    // Units above 0x7F and a lone surrogate too: the string must treat every
    // unit alike, and order them as unsigned numbers.
    auto ch = [&] {
        static wchar_t const alphabet[] = L"aaabbbcAB \u00E4\u0416\xD800\xFFFF";
        return alphabet[pick(std::size(alphabet) - 1)];
    };
    auto text = [&](unsigned maxLen) {
        std::wstring t;
        for (unsigned n = pick(maxLen + 1); n > 0; --n)
            t += ch();
        return t;
    };
    // A position now and then beyond the end, to see that nothing happens.
    auto at = [&](std::size_t len) { return pick(10) == 0 ? unsigned(len) + pick(5) : pick(unsigned(len) + 1); };

    UString s;
    std::wstring m;
    std::vector<std::pair<UString, std::wstring>> snaps;
    for (int step = 0; step < steps; ++step) {
        unsigned op = pick(26);
        std::wstring r = text(6);
        UString rs(r.c_str());
        std::size_t len = m.size();
        auto ins = [&](unsigned pos, std::wstring const &t) { m.insert(std::min<std::size_t>(pos, len), t); };
        SCOPED_TRACE(testing::Message() << "seed " << seed << " step " << step << " op " << op);
        switch (op) {
        case 0: s += rs; m += r; break;
        case 1: s += r.c_str(); m += r; break;
        case 2: { wchar_t c = ch(); s += c; m += c; break; }
        case 3: {
            unsigned pos = at(len);
            pick(2) ? s.Insert(rs, pos) : s.Insert(r.c_str(), pos);
            ins(pos, r);
            break;
        }
        case 4: {
            unsigned from = pick(8), count = pick(8), pos = at(len);
            s.Insert(rs, from, count, pos);
            if (from <= r.size())
                ins(pos, r.substr(from, count));
            break;
        }
        case 5: { wchar_t c = ch(); unsigned pos = at(len); s.Insert(c, pos); ins(pos, {c}); break; }
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
            wchar_t c = ch();
            unsigned pos = at(len);
            s.Replace(c, pos);
            if (pos < len)
                m[pos] = c;
            break;
        }
        case 9: { // phrase replacement from a start, bounded by the current length
            std::wstring f = text(3);
            int start = int(pick(unsigned(len) + 3)) - 1;
            s.ReplaceAllPhrases(UString(f.c_str()), rs, start);
            for (std::size_t i = std::max(start, 0), p; !f.empty() && (p = m.find(f, i)) != m.npos; i = p + r.size())
                m.replace(p, f.size(), r);
            break;
        }
        case 10: {
            wchar_t a = ch(), b = ch();
            s.ReplaceAllChars(a, b).EraseAllChars(b);
            std::replace(m.begin(), m.end(), a, b);
            m.erase(std::remove(m.begin(), m.end(), b), m.end());
            break;
        }
        case 11: {
            std::wstring f = text(3);
            unsigned from = at(len);
            unsigned want = f.empty() || from >= len ? STR_NOT_FOUND : Found(m.find(f, from));
            ASSERT_EQ(want, s.Search(UString(f.c_str()), from));
            ASSERT_EQ(want, s.Search(f.c_str(), from));
            wchar_t c = ch();
            ASSERT_EQ(from >= len ? STR_NOT_FOUND : Found(m.find(c, from)), s.Search(c, from));
            break;
        }
        case 12: {
            std::wstring f = text(3);
            ASSERT_EQ(f.empty() ? STR_NOT_FOUND : Found(m.rfind(f)), s.SearchFromEnd(UString(f.c_str())));
            wchar_t c = ch();
            ASSERT_EQ(Found(m.rfind(c)), s.SearchFromEnd(c));
            break;
        }
        case 13: {
            unsigned pos = at(len), n = pick(8);
            std::wstring want = pos < len ? m.substr(pos, n) : std::wstring();
            ASSERT_EQ(want, W(s.Copy(pos, n)));
            ASSERT_EQ(want, W(s(pos, n)));
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
            ASSERT_EQ(pos < len ? m.substr(pos, n) : std::wstring(), W(s.Cut(pos, n)));
            if (pos < len)
                m.erase(pos, n);
            break;
        }
        case 16: {
            wchar_t c = ch();
            s.Trim(c);
            m.erase(0, std::min(m.find_first_not_of(c), len));
            m.erase(m.find_last_not_of(c) + 1); // npos + 1 is 0
            break;
        }
        case 17: s.Reverse(); m.assign(m.rbegin(), m.rend()); break;
        case 18: {
            unsigned n = pick(4) == 0 ? USTR_WHOLE : pick(5);
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
        case 20: { // the argument is this very string, or lies in its own buffer
            unsigned pos = pick(unsigned(len) + 1);
            switch (pick(4)) {
            case 0: s += s; m += m; break;
            case 1: pos = at(len); s.Insert(s, pos); ins(pos, std::wstring(m)); break;
            case 2: s += s.GetUStr() + pos; m += m.substr(pos); break;
            default: s = s.GetUStr() + pos; m = m.substr(pos);
            }
            break;
        }
        case 21: { // a change to a copy leaves s as the model says below
            UString copy(s);
            copy += rs;
            ASSERT_EQ(m + r, W(copy));
            break;
        }
        case 22: {
            unsigned n = pick(unsigned(len) + 4);
            wchar_t c = ch();
            if (pick(2)) {
                s.Fill(n, c);
                n > len ? m.assign(n, c) : m.replace(0, n, n, c);
            } else {
                s.Expand(n, c);
                m.resize(std::max<std::size_t>(n, len), c);
            }
            break;
        }
        case 23: {
            wchar_t sep = ch();
            std::vector<std::wstring> parts;
            for (std::size_t b = 0, e = 0; !m.empty() && e != m.npos; b = e + 1)
                parts.push_back(m.substr(b, (e = m.find(sep, b)) - b));
            ASSERT_EQ(parts.size(), s.GetTokenCount(sep));
            unsigned index = pick(unsigned(parts.size()) + 2);
            ASSERT_EQ(index < parts.size() ? parts[index] : L"", W(s.GetToken(index, sep)));
            ASSERT_EQ(m.substr(0, m.rfind(sep)), W(s.CopyToLastChar(sep)));
            break;
        }
        case 24: {
            std::size_t i = std::mismatch(m.begin(), m.end(), r.begin(), r.end()).first - m.begin();
            unsigned want = i == len ? STR_ALL_MATCH : unsigned(i);
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
        for (auto const &[copy, was] : snaps)
            ASSERT_EQ(was, W(copy));
    }
}

TEST(UStringRandom, MatchesStdWstringOverRandomEdits)
{
    for (unsigned seed = 1; seed <= 20 && !HasFatalFailure(); ++seed)
        Walk(seed, 20000);
}
