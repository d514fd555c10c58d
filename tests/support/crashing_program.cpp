// Crashes: the runner must report a failure, neither hanging on a dialog nor passing.
#include <cstdio>

int main()
{
    std::puts("about to crash");
    std::fflush(stdout);
    volatile int* nowhere = nullptr;
    *nowhere = 1;
}
