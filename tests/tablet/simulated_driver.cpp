#include "simulated_driver.h"

#include <stdexcept>

namespace tevrin_test {

SimulatedDriver::SimulatedDriver() : module_(LoadLibraryW(L"wintab32.dll"))
{
    if (!module_)
        throw std::runtime_error("the simulated wintab32.dll is not beside the test program");
    Find("SimulatedWintab_SetInterfaceAvailable", SetInterfaceAvailable);
    Find("SimulatedWintab_SetDeviceName", SetDeviceName);
    Find("SimulatedWintab_SetDefaultDevice", SetDefaultDevice);
    Find("SimulatedWintab_SetPressureAxis", SetPressureAxis);
    Find("SimulatedWintab_SetCursorButtons", SetCursorButtons);
    Find("SimulatedWintab_SetLargestQueueSize", SetLargestQueueSize);
    Find("SimulatedWintab_SetOpenFails", SetOpenFails);
    Find("SimulatedWintab_QueuePacket", QueuePacket);
    Find("SimulatedWintab_PostProximity", PostProximity);
    Find("SimulatedWintab_PostInfoChange", PostInfoChange);
    Find("SimulatedWintab_QueuedPacketCount", QueuedPacketCount);
    Find("SimulatedWintab_EntryCallCount", EntryCallCount);
    Find("SimulatedWintab_InfoQueryCount", InfoQueryCount);
    Find("SimulatedWintab_LastOpenRequest", LastOpenRequest);
    Find("SimulatedWintab_OpenContextCount", OpenContextCount);
    Find("WTInfoA", WTInfoA);
}

SimulatedDriver::~SimulatedDriver()
{
    FreeLibrary(module_);
}

template <typename Entry>
void SimulatedDriver::Find(const char* name, Entry& entry)
{
    FARPROC address = GetProcAddress(module_, name);
    if (!address)
        throw std::runtime_error(std::string("wintab32.dll is not the simulated driver: no ") + name);
    entry = reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(address));
}

}  // namespace tevrin_test
