// Prints what reading the newest packet costs as the driver's queue fills: the time
// per read and the driver calls per read, against the simulated WinTab driver built
// beside this program. Figures only; nothing is judged.
#include "simulated_wintab/simulated_wintab_controls.h"
#include "tevrin/tablet/tablet_context.h"

#include <cstdio>

namespace {

template <typename Control>
Control Find(HMODULE driver, const char* name)
{
    return reinterpret_cast<Control>(reinterpret_cast<void (*)()>(GetProcAddress(driver, name)));
}

struct ReadCost {
    double microsecondsPerRead;
    double driverCallsPerRead;
};

ReadCost MeasureReads(HMODULE driver, tevrin::tablet_context& context, HWND window, int queuedPerRead, int reads)
{
    const auto queuePacket = Find<simulated_wintab::QueuePacket>(driver, "SimulatedWintab_QueuePacket");
    const auto entryCalls = Find<simulated_wintab::EntryCallCount>(driver, "SimulatedWintab_EntryCallCount");
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    LONGLONG ticks = 0;
    const int callsBefore = entryCalls("WTPacketsGet");
    for (int read = 0; read < reads; ++read) {
        for (int packet = 0; packet < queuedPerRead; ++packet)
            queuePacket(window, 0, 1, 0, static_cast<DWORD>(packet));
        QueryPerformanceCounter(&start);
        if (!context.read_latest_packet())
            std::printf("a read found no packet\n");
        QueryPerformanceCounter(&end);
        ticks += end.QuadPart - start.QuadPart;
    }
    const int calls = entryCalls("WTPacketsGet") - callsBefore;
    return {1e6 * static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart) / reads,
            static_cast<double>(calls) / reads};
}

}  // namespace

int main()
{
    const HMODULE driver = LoadLibraryW(L"wintab32.dll");
    const auto openContexts = Find<simulated_wintab::OpenContextCount>(driver, "SimulatedWintab_OpenContextCount");
    if (!openContexts) {
        std::printf("wintab32.dll beside the program is not the simulated driver\n");
        return 1;
    }
    const HWND window = CreateWindowExW(0, L"STATIC", L"benchmark", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr,
                                        nullptr, nullptr);
    int status = 0;
    {
        tevrin::tablet_context context;
        context.open(window, &context);
        if (openContexts() != 1) {
            std::printf("no tablet context\n");
            status = 1;
        } else {
            std::printf("%8s %14s %14s\n", "queued", "us per read", "calls per read");
            for (int queued : {1, 16, 128, 1000}) {
                const ReadCost cost = MeasureReads(driver, context, window, queued, 2000);
                std::printf("%8d %14.3f %14.2f\n", queued, cost.microsecondsPerRead, cost.driverCallsPerRead);
            }
        }
    }
    DestroyWindow(window);
    return status;
}
