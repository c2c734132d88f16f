// Timing shared by the benchmark programs.
#pragma once
#include <windows.h>

#include <algorithm>
#include <vector>

namespace bench {

// Seconds on the performance counter.
inline double Now()
{
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The quickest of several runs: what the machine's other work added to the
// others is left out.
inline double Best(const std::vector<double>& samples)
{
    return *std::min_element(samples.begin(), samples.end());
}

}  // namespace bench
