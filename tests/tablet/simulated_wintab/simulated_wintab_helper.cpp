// A library of the simulated driver's own, which the with_helper variant imports: a
// driver that ships helper libraries beside it loads only where its folder is searched.
#include <windows.h>

extern "C" __declspec(dllexport) int simulated_wintab_helper()
{
    return 1;
}
