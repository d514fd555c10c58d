#pragma once
// What the processor's identification instruction reports, gathered once before the
// entry point runs, and the values the system report derives from it.
#include "tevrin/core/delegate.h"
#include "tevrin/core/types.h"

#include <string>
#include <vector>

namespace tevrin {

// The four registers of one identification query.
struct cpuid_registers {
    u32 eax = 0;
    u32 ebx = 0;
    u32 ecx = 0;
    u32 edx = 0;
};

// Runs one identification query (leaf, sub-leaf). Injectable so that tests can
// describe processors this machine is not.
using cpuid_query = delegate<cpuid_registers(u32 leaf, u32 subleaf)>;

struct processor_information {
    i32 highestStandardLeaf = 0;
    u32 highestExtendedLeaf = 0;
    std::string vendor;
    bool isIntel = false;
    bool isAmd = false;
    u32 leaf1Ecx = 0;
    u32 leaf1Edx = 0;
    u32 leaf7Ebx = 0;
    u32 leaf7Ecx = 0;
    u32 extendedLeaf1Ecx = 0;
    u32 extendedLeaf1Edx = 0;
    std::vector<cpuid_registers> standardLeaves;
    std::vector<cpuid_registers> extendedLeaves;
};

// Queries every standard and extended leaf through the given query.
processor_information read_processor_information(const cpuid_query& query);

// The process-wide record, filled during static initialisation from the real processor.
const processor_information& this_processor();

// The feature names whose bits (and vendor, where one is required) hold, separated by
// one blank. Fills and returns text.
const std::string& cpu_feature_list(std::string& text, const processor_information& processor);
const std::string& cpu_feature_list(std::string& text);

// Set bits among the low 32 bits of the active-processor mask, unless the environment's
// NUMBER_OF_PROCESSORS (null when unset) names at least as many.
i32 count_processors(u64 activeProcessorMask, const char* environmentCount);

// The count for this process; also stored through count when given.
i32 processor_count(i32* count = nullptr);

// The registry's PROCESSOR_IDENTIFIER; buffer must hold at least 260 bytes. Left as it
// was when the value cannot be read.
char* processor_identifier(char* buffer);

}  // namespace tevrin
