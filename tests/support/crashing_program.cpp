// Writes through a null pointer: the runner must report a failure, neither hanging on a
// crash dialog nor passing with exit status 0.
#include <cstdio>

int main()
{
    std::puts("about to crash");
    std::fflush(stdout);
    volatile int* nowhere = nullptr;
    *nowhere = 1;
}
