#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace olv::bench {

// Runs work `runs` times and returns the median wall time in milliseconds.
template <typename Work> double MedianMs(int runs, Work&& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace olv::bench
