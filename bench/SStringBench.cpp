// SString against std::string on the operations the library leans on most.
#include "bench/BenchHarness.h"
#include "text/SString.h"

#include <cstdio>
#include <random>
#include <string>

static std::string RandomLetters(std::size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::string s(n, ' ');
    for (char &c : s)
        c = char('a' + rng() % 26);
    return s;
}

__attribute__((noinline)) static std::size_t TakeStd(std::string s)
{
    return s.size();
}

__attribute__((noinline)) static std::size_t TakeS(SString s)
{
    return std::size_t(s.Len());
}

int main()
{
    int const rounds = 15;

    {
        std::string const text = RandomLetters(1024, 1);
        SString const stext(text.c_str());
        int const n = 100000;
        bench::Compare("copy and pass by value, 1 KiB x 1e5", "std::string", rounds,
                       [&] {
                           std::size_t sum = 0;
                           for (int i = 0; i < n; ++i) {
                               std::string c(text);
                               sum += TakeStd(c);
                           }
                           bench::Keep(sum);
                       },
                       [&] {
                           std::size_t sum = 0;
                           for (int i = 0; i < n; ++i) {
                               SString c(stext);
                               sum += TakeS(c);
                           }
                           bench::Keep(sum);
                       });
    }

    bench::Compare("1e6 single-byte appends", "std::string", rounds,
                   [] {
                       std::string s;
                       for (int i = 0; i < 1000000; ++i)
                           s += char('a' + (i & 15));
                       bench::Keep(s);
                   },
                   [] {
                       SString s;
                       for (int i = 0; i < 1000000; ++i)
                           s += char('a' + (i & 15));
                       bench::Keep(s);
                   });

    {
        // The phrase occurs only at the very end: the whole MiB is scanned.
        std::string hay = RandomLetters(1 << 20, 2);
        hay.replace(hay.size() - 7, 7, "needle7");
        SString const shay(hay.c_str());
        std::string const phrase = "needle7";
        SString const sphrase(phrase.c_str());
        std::size_t expect = hay.find(phrase);
        bench::Compare("Search of a 7-byte phrase in 1 MiB", "std::string", rounds,
                       [&] { bench::Keep(hay.find(phrase)); },
                       [&] {
                           unsigned p = shay.Search(sphrase);
                           if (p != expect)
                               std::printf("wrong search result %u\n", p);
                           bench::Keep(p);
                       });
    }

    {
        std::string const a = RandomLetters(1024, 3), b = a;
        SString const sa(a.c_str()), sb(b.c_str()); // two buffers: no shortcut
        int const n = 100000;
        bench::Compare("Compare of equal 1 KiB texts x 1e5", "std::string", rounds,
                       [&] {
                           unsigned sum = 0;
                           for (int i = 0; i < n; ++i)
                               sum += a.compare(b) == 0;
                           bench::Keep(sum);
                       },
                       [&] {
                           unsigned sum = 0;
                           for (int i = 0; i < n; ++i)
                               sum += sa.Compare(sb) == CompEqual;
                           bench::Keep(sum);
                       });
    }

    {
        std::string const text = RandomLetters(1 << 20, 4);
        SString const stext(text.c_str());
        bench::Compare("ToUpper of 1 MiB (copy included)", "std::string", rounds,
                       [&] {
                           std::string t(text);
                           for (char &c : t)
                               if (c >= 'a' && c <= 'z')
                                   c = char(c - 32);
                           bench::Keep(t);
                       },
                       [&] {
                           SString t(stext);
                           t.ToUpper();
                           bench::Keep(t);
                       });
    }

    std::printf("SStringBench done\n");
    return 0;
}
