#pragma once
// Summaries of timing samples for the printed benchmark figures. The median and the
// 99th percentile matter more than the mean here: under Wine a few samples land on a
// wineserver round trip or a scheduler hiccup of the shared build machine.
#include <cstddef>
#include <vector>

namespace nibscope_benchmark {

struct SampleSummary {
    std::size_t count = 0;
    double minimum = 0.0;
    double median = 0.0;
    double percentile99 = 0.0;
    double maximum = 0.0;
    double mean = 0.0;
};

// Throws std::invalid_argument for an empty sample set: a benchmark that measured
// nothing must not print figures as if it had.
SampleSummary Summarise(std::vector<double> samples);

// Nearest-rank percentile (0 < percent <= 100) of samples sorted ascending.
double SortedPercentile(const std::vector<double>& sorted, double percent);

}  // namespace nibscope_benchmark
