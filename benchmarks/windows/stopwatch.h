#pragma once
// Elapsed wall time on the steady clock (QueryPerformanceCounter underneath on
// Windows and under Wine, so sub-microsecond resolution).
#include <chrono>

namespace nibscope_benchmark {

class Stopwatch {
public:
    Stopwatch() : start_(Clock::now()) {}

    void Restart() { start_ = Clock::now(); }
    double ElapsedMicroseconds() const
    {
        return std::chrono::duration<double, std::micro>(Clock::now() - start_).count();
    }
    double ElapsedMilliseconds() const { return ElapsedMicroseconds() / 1000.0; }

private:
    using Clock = std::chrono::steady_clock;
    Clock::time_point start_;
};

}  // namespace nibscope_benchmark
