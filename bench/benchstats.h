#pragma once

// Median and 99th percentile of a set of timings, printed the same way by every benchmark.

#include <algorithm>
#include <cstdio>
#include <vector>

struct Percentiles {
    double median = 0;
    double p99 = 0;
};

inline Percentiles percentiles(std::vector<double> samples)
{
    Percentiles p;
    if (samples.empty())
        return p;
    std::sort(samples.begin(), samples.end());
    p.median = samples[samples.size() / 2];
    p.p99 = samples[std::min(samples.size() - 1, samples.size() * 99 / 100)];
    return p;
}

// Prints "name: median X unit, p99 Y unit (target ...)" and says whether the target is met.
inline bool report(const char *name, const Percentiles &p, const char *unit, double medianTarget, double p99Target)
{
    const bool met = p.median <= medianTarget && p.p99 <= p99Target;
    std::printf("%-44s median %8.3f %s   p99 %8.3f %s   target: median < %g, p99 < %g   %s\n", name, p.median, unit,
        p.p99, unit, medianTarget, p99Target, met ? "MET" : "MISSED");
    return met;
}
