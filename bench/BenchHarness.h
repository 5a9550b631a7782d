#pragma once
// A tiny benchmark harness: baseline and candidate run alternately in one
// process, several rounds each, so that both see the same machine state.
// Each call prints one line: name, both medians and candidate / baseline.
#include <algorithm>
#include <cstdio>
#include <vector>
#include <windows.h>

namespace bench {

inline double NowMicro()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) * 1e6 / double(f.QuadPart);
}

template <class F> double TimeOnce(F &&f)
{
    double t0 = NowMicro();
    f();
    return NowMicro() - t0;
}

inline double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

// Keeps the optimiser from deleting work whose result is otherwise unused.
template <class T> inline void Keep(T const &v)
{
    asm volatile("" : : "g"(&v) : "memory");
}

struct Result
{
    double baselineUs;
    double candidateUs;
    double Ratio() const { return baselineUs > 0 ? candidateUs / baselineUs : 0.0; }
};

// baselineName names what the candidate is compared with ("std::string").
template <class B, class C>
Result Compare(char const *name, char const *baselineName, int rounds, B &&baseline, C &&candidate)
{
    std::vector<double> tb, tc;
    baseline();   // warm caches and lazy initialisation once, untimed
    candidate();
    for (int i = 0; i < rounds; ++i) {
        tb.push_back(TimeOnce(baseline));
        tc.push_back(TimeOnce(candidate));
    }
    Result r{Median(tb), Median(tc)};
    std::printf("%-48s %-18s baseline %12.1f us  candidate %12.1f us  ratio %7.3f\n", name,
                baselineName, r.baselineUs, r.candidateUs, r.Ratio());
    std::fflush(stdout);
    return r;
}

} // namespace bench
