#pragma once
// The test's handle on the simulated WinTab driver: its control entry points,
// found in the wintab32.dll of this process.
#include "simulated_wintab/simulated_wintab_controls.h"

#include <string>

namespace tevrin_test {

class SimulatedDriver {
public:
    // Takes a reference of its own on "wintab32.dll", found the way the tablet code
    // finds it, so that a test can set the driver up before the first opening loads it.
    SimulatedDriver();
    ~SimulatedDriver();
    SimulatedDriver(const SimulatedDriver&) = delete;
    SimulatedDriver& operator=(const SimulatedDriver&) = delete;

    simulated_wintab::SetInterfaceAvailable SetInterfaceAvailable;
    simulated_wintab::SetDeviceName SetDeviceName;
    simulated_wintab::SetDefaultDevice SetDefaultDevice;
    simulated_wintab::SetPressureAxis SetPressureAxis;
    simulated_wintab::SetCursorButtons SetCursorButtons;
    simulated_wintab::SetLargestQueueSize SetLargestQueueSize;
    simulated_wintab::SetOpenFails SetOpenFails;
    simulated_wintab::QueuePacket QueuePacket;
    simulated_wintab::PostProximity PostProximity;
    simulated_wintab::PostInfoChange PostInfoChange;
    simulated_wintab::QueuedPacketCount QueuedPacketCount;
    simulated_wintab::EntryCallCount EntryCallCount;
    simulated_wintab::InfoQueryCount InfoQueryCount;
    simulated_wintab::LastOpenRequest LastOpenRequest;
    simulated_wintab::OpenContextCount OpenContextCount;
    tevrin::WTInfoA_entry WTInfoA;

private:
    template <typename Entry>
    void Find(const char* name, Entry& entry);

    HMODULE module_;
};

}  // namespace tevrin_test
