// Prints what reading the newest packet costs as the driver's queue fills: the
// time per read and the driver calls per read. Figures only; nothing is judged.
#include "simulated_driver.h"
#include "tablet_test_window.h"
#include "tevrin/tablet/tablet_context.h"

#include <cstdio>

namespace {

struct ReadCost {
    double microsecondsPerRead;
    double driverCallsPerRead;
};

ReadCost MeasureReads(tevrin_test::SimulatedDriver& driver, tevrin::tablet_context& context, HWND window,
                      int queuedPerRead, int reads)
{
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    LONGLONG ticks = 0;
    const int callsBefore = driver.EntryCallCount("WTPacketsGet");
    for (int read = 0; read < reads; ++read) {
        for (int packet = 0; packet < queuedPerRead; ++packet)
            driver.QueuePacket(window, 0, 1, 0, static_cast<DWORD>(packet));
        QueryPerformanceCounter(&start);
        if (!context.read_latest_packet())
            std::printf("a read found no packet\n");
        QueryPerformanceCounter(&end);
        ticks += end.QuadPart - start.QuadPart;
    }
    const int calls = driver.EntryCallCount("WTPacketsGet") - callsBefore;
    return {1e6 * static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart) / reads,
            static_cast<double>(calls) / reads};
}

}  // namespace

int main()
{
    tevrin_test::SimulatedDriver driver;
    tevrin_test::PlainWindow window;
    tevrin::tablet_context context;
    context.open(window.Handle(), &context);
    if (!context.is_open()) {
        std::printf("no tablet context\n");
        return 1;
    }
    std::printf("queue size %d\n", context.queue_size());
    std::printf("%8s %14s %14s\n", "queued", "us per read", "calls per read");
    for (int queued : {1, 16, 128, 1000}) {
        const ReadCost cost = MeasureReads(driver, context, window.Handle(), queued, 2000);
        std::printf("%8d %14.3f %14.2f\n", queued, cost.microsecondsPerRead, cost.driverCallsPerRead);
    }
    return 0;
}
