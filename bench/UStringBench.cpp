// UString and the character-set conversion against the plain ways of doing
// the same: the platform's conversion into a std::wstring, a byte loop over a
// 256-entry table, and std::wstring copies.
#include "bench/BenchHarness.h"
#include "text/CharSet.h"
#include "text/SString.h"
#include "text/UString.h"

#include <random>
#include <string>
#include <vector>

#include <windows.h>

// About 1 MiB of UTF-8, mostly ASCII with two- and three-byte characters, and
// short of the wide string's limit so that both sides convert all of it.
static std::string Utf8Text(unsigned seed)
{
    static char const *const pieces[] = {"word ", "\xC3\xA4", "\xE2\x82\xAC", "text, ", "\xD0\x96"};
    std::mt19937 rng(seed);
    std::string s;
    while (s.size() < 1000000)
        s += pieces[rng() % 5];
    return s;
}

static std::vector<char> HighBytes(std::size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<char> v(n + 1);
    for (std::size_t i = 0; i < n; ++i)
        v[i] = char(1 + rng() % 255);
    v[n] = '\0';
    return v;
}

__attribute__((noinline)) static std::size_t TakeStd(std::wstring s)
{
    return s.size();
}

__attribute__((noinline)) static std::size_t TakeU(UString s)
{
    return std::size_t(s.Len());
}

int main()
{
    int const rounds = 15;

    {
        std::string const bytes = Utf8Text(1);
        SString const text(bytes.c_str());
        bench::Compare("UString from 1 MB of UTF-8", "MultiByteToWideChar", rounds,
                       [&] {
                           std::wstring w(bytes.size(), L'\0');
                           int n = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()),
                                                       w.data(), int(w.size()));
                           w.resize(std::size_t(n));
                           bench::Keep(w);
                       },
                       [&] {
                           UString u(text);
                           bench::Keep(u);
                       });
    }

    {
        std::size_t const n = 1 << 20;
        std::vector<char> a = HighBytes(n, 2), b = a;
        // The plain loop gets its table made once, outside the timing.
        unsigned char table[256];
        for (unsigned c = 0; c < 256; ++c) {
            char one[2] = {char(c), '\0'};
            ImpStringConvert(one, CharSetDos437, CharSetDos850);
            table[c] = c ? (unsigned char)one[0] : 0;
        }
        bench::Compare("ImpStringConvert 1 MiB, 437 to 850", "256-entry byte loop", rounds,
                       [&] {
                           for (char *p = a.data(); *p; ++p)
                               *p = char(table[(unsigned char)*p]);
                           bench::Keep(a);
                       },
                       [&] {
                           ImpStringConvert(b.data(), CharSetDos437, CharSetDos850);
                           bench::Keep(b);
                       });
    }

    {
        std::wstring const text(1024, L'k');
        UString const utext(text.c_str());
        int const n = 100000;
        bench::Compare("copy and pass by value, 1 KiB x 1e5", "std::wstring", rounds,
                       [&] {
                           std::size_t sum = 0;
                           for (int i = 0; i < n; ++i) {
                               std::wstring c(text);
                               sum += TakeStd(c);
                           }
                           bench::Keep(sum);
                       },
                       [&] {
                           std::size_t sum = 0;
                           for (int i = 0; i < n; ++i) {
                               UString c(utext);
                               sum += TakeU(c);
                           }
                           bench::Keep(sum);
                       });
    }

    {
        bench::Compare("1e6 single-unit appends", "std::wstring", rounds,
                       [] {
                           std::wstring s;
                           for (int i = 0; i < 1000000; ++i)
                               s += wchar_t(L'a' + (i & 15));
                           bench::Keep(s);
                       },
                       [] {
                           UString s;
                           for (int i = 0; i < 1000000; ++i)
                               s += wchar_t(L'a' + (i & 15));
                           bench::Keep(s);
                       });
    }
    return 0;
}
