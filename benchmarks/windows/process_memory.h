#pragma once
// What this process holds in memory. Wine 8 leaves the private-bytes counter at 0,
// so the bytes in use on the process's heaps (where malloc and new take their memory)
// are measured too: that figure shows what a data structure keeps, whether or not the
// heap hands freed pages back to the system.
#include <cstdint>

namespace nibscope_benchmark {

struct ProcessMemory {
    std::uint64_t privateBytes = 0;  // committed memory private to the process; 0 under Wine 8
    std::uint64_t workingSet = 0;    // resident pages
    std::uint64_t heapInUse = 0;     // allocated blocks on all of the process's heaps
};

// Throws std::runtime_error when the system does not answer.
ProcessMemory CurrentProcessMemory();

double Mebibytes(std::uint64_t bytes);

}  // namespace nibscope_benchmark
