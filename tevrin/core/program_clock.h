#pragma once
// The program's start instant, recorded by the entry point before anything else.
#include "tevrin/core/types.h"

namespace tevrin {

void RecordProgramStart();
// Steady-clock nanoseconds of the recorded start.
i64 ProgramStartNanoseconds();
double SecondsSinceProgramStart();

}  // namespace tevrin
