// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Timing and the figures the benchmark prints: every measurement is a list of samples in
// microseconds, summed up as median, 10th and 90th percentile.

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double microsecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

struct Summary {
    double median = 0;
    double p10 = 0;
    double p90 = 0;
    size_t count = 0;
};

// The value below which `share` of the sorted samples lie (nearest rank).
inline double percentile(const std::vector<double>& sorted, double share) {
    if (sorted.empty()) return 0;
    const size_t last = sorted.size() - 1;
    const size_t at = size_t(share * double(last) + 0.5);
    return sorted[std::min(at, last)];
}

inline Summary summarize(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return {percentile(samples, 0.5), percentile(samples, 0.1), percentile(samples, 0.9),
            samples.size()};
}

}  // namespace bench
