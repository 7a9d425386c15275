// Timing shared by the Windows benchmarks: a millisecond clock and the median and
// 90th percentile of a piece of work repeated a fixed number of rounds.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

inline double nowMs()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Figures {
    double median;
    double p90;
};

inline Figures timeIt(const std::function<void()> &work, int rounds)
{
    std::vector<double> times;
    for (int i = 0; i < rounds; i++) {
        double start = nowMs();
        work();
        times.push_back(nowMs() - start);
    }
    std::sort(times.begin(), times.end());
    return Figures{times[times.size() / 2], times[times.size() * 9 / 10]};
}
