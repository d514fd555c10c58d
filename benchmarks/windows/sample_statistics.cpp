#include "sample_statistics.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <stdexcept>

namespace nibscope_benchmark {

double SortedPercentile(const std::vector<double>& sorted, double percent)
{
    if (sorted.empty() || percent <= 0.0 || percent > 100.0)
        throw std::invalid_argument("percentile of an empty sample set or outside (0, 100]");
    const auto rank = static_cast<std::size_t>(std::ceil(percent / 100.0 * static_cast<double>(sorted.size())));
    return sorted[std::max<std::size_t>(rank, 1) - 1];
}

SampleSummary Summarise(std::vector<double> samples)
{
    if (samples.empty())
        throw std::invalid_argument("no samples to summarise");
    std::sort(samples.begin(), samples.end());
    SampleSummary summary;
    summary.count = samples.size();
    summary.minimum = samples.front();
    summary.maximum = samples.back();
    summary.median = SortedPercentile(samples, 50.0);
    summary.percentile99 = SortedPercentile(samples, 99.0);
    summary.mean = std::accumulate(samples.begin(), samples.end(), 0.0) / static_cast<double>(samples.size());
    return summary;
}

}  // namespace nibscope_benchmark
