#include "tevrin/core/program_clock.h"

#include <chrono>

namespace tevrin {
namespace {

i64 startNanoseconds = 0;

i64 SteadyNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

void RecordProgramStart()
{
    startNanoseconds = SteadyNanoseconds();
}

i64 ProgramStartNanoseconds()
{
    return startNanoseconds;
}

double SecondsSinceProgramStart()
{
    return static_cast<double>(SteadyNanoseconds() - startNanoseconds) / 1e9;
}

}  // namespace tevrin
