#include "process_memory.h"

#include <windows.h>
#include <psapi.h>

#include <stdexcept>
#include <vector>

namespace nibscope_benchmark {
namespace {

// Holds the heap's lock for the walk, so that no allocation moves blocks under it.
class HeapLockGuard {
public:
    explicit HeapLockGuard(HANDLE heap) : heap_(HeapLock(heap) ? heap : nullptr) {}
    ~HeapLockGuard()
    {
        if (heap_)
            HeapUnlock(heap_);
    }
    HeapLockGuard(const HeapLockGuard&) = delete;
    HeapLockGuard& operator=(const HeapLockGuard&) = delete;
    bool Locked() const { return heap_ != nullptr; }

private:
    HANDLE heap_;
};

std::uint64_t BusyBytes(HANDLE heap)
{
    const HeapLockGuard lock(heap);
    if (!lock.Locked())
        throw std::runtime_error("HeapLock failed");
    std::uint64_t busy = 0;
    PROCESS_HEAP_ENTRY entry = {};
    while (HeapWalk(heap, &entry))
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
            busy += entry.cbData;
    return busy;
}

std::vector<HANDLE> ProcessHeaps()
{
    std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr));
    heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    return heaps;
}

std::uint64_t HeapBytesInUse()
{
    std::uint64_t total = 0;
    for (HANDLE heap : ProcessHeaps())
        total += BusyBytes(heap);
    return total;
}

}  // namespace

ProcessMemory CurrentProcessMemory()
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof counters))
        throw std::runtime_error("GetProcessMemoryInfo failed");
    return {counters.PrivateUsage, counters.WorkingSetSize, HeapBytesInUse()};
}

double Mebibytes(std::uint64_t bytes)
{
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

}  // namespace nibscope_benchmark
