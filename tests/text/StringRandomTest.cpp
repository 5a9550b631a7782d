// SString and UString against std::string and std::wstring over long random
// sequences of edits, searches and copies; every intermediate text is
// compared, and earlier copies must keep the text they had when they were made.
#include "tests/text/StdText.h"
#include "text/SString.h"
#include "text/UString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <random>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

using namespace kstest;
static unsigned Found(std::size_t p) { return p == std::string::npos ? STR_NOT_FOUND : unsigned(p); }
static StringCompare Sign(int c) { return c == 0 ? CompEqual : (c < 0 ? CompLess : CompGreater); }

// The bounded phrase replacement, written plainly: the scan stops at the
// bound, but an occurrence may start at a first unit found before it.
template <class Model>
static void ModelReplaceAll(Model &m, Model const &f, Model const &r, int start, int count = int(STR_MAX_LEN))
{
    long long const end = int(unsigned(start) + unsigned(count));
    for (std::size_t i = std::size_t(std::max(start, 0)), c, p;
         !f.empty() && (c = m.find(f[0], i)) != m.npos && (long long)c < end && (p = m.find(f, c)) != m.npos;
         i = p + r.size())
        m.replace(p, f.size(), r);
}

template <class Str, class Ch>
static void Walk(unsigned seed, int steps, std::basic_string_view<Ch> alphabet)
{
    using Model = std::basic_string<Ch>;
    constexpr bool narrow = std::is_same_v<Ch, char>;
    std::mt19937 rng(seed);
    auto pick = [&](unsigned n) { return std::uniform_int_distribution<unsigned>(0, n - 1)(rng); };
    auto ch = [&] { return alphabet[pick(unsigned(alphabet.size()))]; };
    auto text = [&](unsigned maxLen) {
        Model t;
        for (unsigned n = pick(maxLen + 1); n > 0; --n)
            t += ch();
        return t;
    };
    // A position now and then beyond the end, to see that nothing happens.
    auto at = [&](std::size_t len) { return pick(10) == 0 ? unsigned(len) + pick(5) : pick(unsigned(len) + 1); };
    // The wide string follows the runtime's case mapping, the narrow one ASCII.
    auto upper = [](Ch c) { return narrow ? Ch(c >= 'a' && c <= 'z' ? c - 32 : c) : Ch(std::towupper(c)); };
    auto lower = [](Ch c) { return narrow ? Ch(c >= 'A' && c <= 'Z' ? c + 32 : c) : Ch(std::towlower(c)); };

    Str s;
    Model m;
    std::vector<std::pair<Str, Model>> snaps;
    for (int step = 0; step < steps; ++step) {
        unsigned op = pick(27);
        Model r = text(6);
        Str rs(r.c_str());
        std::size_t len = m.size();
        auto ins = [&](unsigned pos, Model const &t) { m.insert(std::min<std::size_t>(pos, len), t); };
        SCOPED_TRACE(testing::Message() << "seed " << seed << " step " << step << " op " << op << " text '" << m
                                        << "' arg '" << r << "'");
        switch (op) {
        case 0: s += rs; m += r; break;
        case 1: s += r.c_str(); m += r; break;
        case 2: { Ch c = ch(); s += c; m += c; break; }
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
        case 5: { Ch c = ch(); unsigned pos = at(len); s.Insert(c, pos); ins(pos, {c}); break; }
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
            Ch c = ch();
            unsigned pos = at(len);
            s.Replace(c, pos);
            if (pos < len)
                m[pos] = c;
            break;
        }
        case 9: {
            Model f = text(3);
            int start = int(pick(unsigned(len) + 3)) - 1, count = int(STR_MAX_LEN);
            switch (pick(3)) {
            case 0: r = m.substr(0, 3); rs = s.Copy(0, 3); break; // the replacement shares this buffer
            case 1: if constexpr (narrow) count = int(pick(12)) - 1; // a bound only the narrow string has
            }
            if constexpr (narrow)
                s.ReplaceAllPhrases(Str(f.c_str()), rs, start, count);
            else
                s.ReplaceAllPhrases(Str(f.c_str()), rs, start);
            ModelReplaceAll(m, f, r, start, count);
            break;
        }
        case 10: {
            Ch a = ch(), b = ch();
            s.ReplaceAllChars(a, b).EraseAllChars(b);
            std::replace(m.begin(), m.end(), a, b);
            m.erase(std::remove(m.begin(), m.end(), b), m.end());
            break;
        }
        case 11: {
            Model f = text(3);
            unsigned from = at(len);
            unsigned want = f.empty() || from >= len ? STR_NOT_FOUND : Found(m.find(f, from));
            ASSERT_EQ(want, s.Search(Str(f.c_str()), from));
            ASSERT_EQ(want, s.Search(f.c_str(), from));
            Ch c = ch();
            ASSERT_EQ(from >= len ? STR_NOT_FOUND : Found(m.find(c, from)), s.Search(c, from));
            break;
        }
        case 12: {
            Model f = text(3);
            ASSERT_EQ(f.empty() ? STR_NOT_FOUND : Found(m.rfind(f)), s.SearchFromEnd(Str(f.c_str())));
            Ch c = ch();
            ASSERT_EQ(Found(m.rfind(c)), s.SearchFromEnd(c));
            if constexpr (narrow) {
                unsigned from = at(len), want = STR_NOT_FOUND;
                if (!f.empty() && from < len && (f.size() == 1 || from + f.size() <= len))
                    want = Found(m.rfind(f, from));
                ASSERT_EQ(want, s.SearchBackward(Str(f.c_str()), from));
            }
            break;
        }
        case 13: {
            unsigned pos = at(len), n = pick(8);
            Model want = pos < len ? m.substr(pos, n) : Model();
            ASSERT_EQ(want, Text(s.Copy(pos, n)));
            ASSERT_EQ(want, Text(s(pos, n)));
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
            ASSERT_EQ(pos < len ? m.substr(pos, n) : Model(), Text(s.Cut(pos, n)));
            if (pos < len)
                m.erase(pos, n);
            break;
        }
        case 16: {
            Ch c = ch();
            pick(2) ? s.Trim(c) : s.EraseLeadingChars(c).EraseTrailingChars(c);
            m.erase(0, std::min(m.find_first_not_of(c), len));
            m.erase(m.find_last_not_of(c) + 1); // npos + 1 is 0
            break;
        }
        case 17:
            switch (pick(3)) {
            case 0: s.Reverse(); m.assign(m.rbegin(), m.rend()); break;
            case 1: s.ToUpper(); std::transform(m.begin(), m.end(), m.begin(), upper); break;
            default: s.ToLower(); std::transform(m.begin(), m.end(), m.begin(), lower);
            }
            break;
        case 18: {
            unsigned n = pick(4) == 0 ? (narrow ? STR_TO_END : USTR_WHOLE) : pick(5);
            int c = Model(m, 0, std::min<std::size_t>(n, len)).compare(r.substr(0, n));
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
            case 1: pos = at(len); s.Insert(s, pos); ins(pos, Model(m)); break;
            case 2: s += Raw(s) + pos; m += m.substr(pos); break;
            default: s = Raw(s) + pos; m = m.substr(pos);
            }
            break;
        }
        case 21: { // a change to a copy leaves s as the model says below
            Str copy(s);
            copy += rs;
            ASSERT_EQ(m + r, Text(copy));
            break;
        }
        case 22: {
            unsigned n = pick(unsigned(len) + 4);
            Ch c = ch();
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
            Ch sep = ch();
            std::vector<Model> parts;
            for (std::size_t b = 0, e = 0; !m.empty() && e != m.npos; b = e + 1)
                parts.push_back(m.substr(b, (e = m.find(sep, b)) - b));
            ASSERT_EQ(parts.size(), s.GetTokenCount(sep));
            unsigned index = pick(unsigned(parts.size()) + 2);
            ASSERT_EQ(index < parts.size() ? parts[index] : Model(), Text(s.GetToken(index, sep)));
            ASSERT_EQ(m.substr(0, m.rfind(sep)), Text(s.CopyToLastChar(sep)));
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
            Str keep(s);
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
        ASSERT_EQ(m, Text(s));
        ASSERT_EQ(Ch(0), Raw(s)[s.Len()]);
        for (auto const &[copy, was] : snaps)
            ASSERT_EQ(was, Text(copy));
    }
}

TEST(SStringRandom, MatchesStdStringOverRandomEdits)
{
    for (unsigned seed = 1; seed <= 20 && !HasFatalFailure(); ++seed)
        Walk<SString, char>(seed, 20000, "aaabbbcAB \xE4\xC4");
}

// Units above 0x7F and a lone surrogate too: the string must treat every
// unit alike, and order them as unsigned numbers.
TEST(UStringRandom, MatchesStdWstringOverRandomEdits)
{
    for (unsigned seed = 1; seed <= 20 && !HasFatalFailure(); ++seed)
        Walk<UString, wchar_t>(seed, 20000, L"aaabbbcAB \u00E4\u0416\xD800\xFFFF");
}
