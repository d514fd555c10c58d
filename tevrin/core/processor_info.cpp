#include "tevrin/core/processor_info.h"

#include "tevrin/core/windows_handles.h"

#include <windows.h>

#include <intrin.h>

#include <bitset>
#include <cstdlib>
#include <cstring>

namespace tevrin {
namespace {

constexpr u32 firstExtendedLeaf = 0x80000000u;
constexpr DWORD identifierBufferSize = 260;

// A registry key opened for reading; empty when it did not open.
unique_registry_key open_key_for_reading(HKEY root, const char* path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return unique_registry_key();
    return unique_registry_key(key);
}

cpuid_registers query_real_processor(u32 leaf, u32 subleaf)
{
    int registers[4] = {};
    __cpuidex(registers, static_cast<int>(leaf), static_cast<int>(subleaf));
    cpuid_registers result;
    result.eax = static_cast<u32>(registers[0]);
    result.ebx = static_cast<u32>(registers[1]);
    result.ecx = static_cast<u32>(registers[2]);
    result.edx = static_cast<u32>(registers[3]);
    return result;
}

std::string vendor_text(const cpuid_registers& leaf0)
{
    char text[13] = {};
    std::memcpy(text, &leaf0.ebx, 4);
    std::memcpy(text + 4, &leaf0.edx, 4);
    std::memcpy(text + 8, &leaf0.ecx, 4);
    return text;
}

void take_feature_words(processor_information& info)
{
    if (info.highestStandardLeaf >= 1) {
        info.leaf1Ecx = info.standardLeaves[1].ecx;
        info.leaf1Edx = info.standardLeaves[1].edx;
    }
    if (info.highestStandardLeaf >= 7) {
        info.leaf7Ebx = info.standardLeaves[7].ebx;
        info.leaf7Ecx = info.standardLeaves[7].ecx;
    }
    if (info.highestExtendedLeaf >= firstExtendedLeaf + 1) {
        info.extendedLeaf1Ecx = info.extendedLeaves[1].ecx;
        info.extendedLeaf1Edx = info.extendedLeaves[1].edx;
    }
}

enum class feature_word { leaf1Ecx, leaf1Edx, leaf7Ebx, leaf7Ecx, extendedEcx, extendedEdx };
enum class vendor_rule { any, intel, amd };

struct feature {
    const char* name;
    feature_word word;
    int bit;
    vendor_rule vendor;
};

// Listed in the order the report shows them.
const feature features[] = {
    {"3DNow!", feature_word::extendedEdx, 31, vendor_rule::amd},
    {"3DNow!Ext", feature_word::extendedEdx, 30, vendor_rule::amd},
    {"ABM", feature_word::extendedEcx, 5, vendor_rule::amd},
    {"ADX", feature_word::leaf7Ebx, 19, vendor_rule::any},
    {"AES", feature_word::leaf1Ecx, 25, vendor_rule::any},
    {"AVX", feature_word::leaf1Ecx, 28, vendor_rule::any},
    {"AVX2", feature_word::leaf7Ebx, 5, vendor_rule::any},
    {"AVX512CD", feature_word::leaf7Ebx, 28, vendor_rule::any},
    {"AVX512ER", feature_word::leaf7Ebx, 27, vendor_rule::any},
    {"AVX512F", feature_word::leaf7Ebx, 16, vendor_rule::any},
    {"AVX512PF", feature_word::leaf7Ebx, 26, vendor_rule::any},
    {"BMI1", feature_word::leaf7Ebx, 3, vendor_rule::any},
    {"BMI2", feature_word::leaf7Ebx, 8, vendor_rule::any},
    {"CLFSH", feature_word::leaf1Edx, 19, vendor_rule::any},
    {"CMPXCHG16B", feature_word::leaf1Ecx, 13, vendor_rule::any},
    {"CX8", feature_word::leaf1Edx, 8, vendor_rule::any},
    {"ERMS", feature_word::leaf7Ebx, 9, vendor_rule::any},
    {"F16C", feature_word::leaf1Ecx, 29, vendor_rule::any},
    {"FMA", feature_word::leaf1Ecx, 12, vendor_rule::any},
    {"FSGSBASE", feature_word::leaf7Ebx, 0, vendor_rule::any},
    {"FXSR", feature_word::leaf1Edx, 24, vendor_rule::any},
    {"HLE", feature_word::leaf7Ebx, 4, vendor_rule::intel},
    {"INVPCID", feature_word::leaf7Ebx, 10, vendor_rule::any},
    {"LAHF", feature_word::extendedEcx, 0, vendor_rule::any},
    {"LZCNT", feature_word::extendedEcx, 5, vendor_rule::intel},
    {"MMX", feature_word::leaf1Edx, 23, vendor_rule::any},
    {"MMXEXT", feature_word::extendedEdx, 22, vendor_rule::amd},
    {"MONITOR", feature_word::leaf1Ecx, 3, vendor_rule::any},
    {"MOVBE", feature_word::leaf1Ecx, 22, vendor_rule::any},
    {"MSR", feature_word::leaf1Edx, 5, vendor_rule::any},
    {"OSXSAVE", feature_word::leaf1Ecx, 27, vendor_rule::any},
    {"PCLMULQDQ", feature_word::leaf1Ecx, 1, vendor_rule::any},
    {"POPCNT", feature_word::leaf1Ecx, 23, vendor_rule::any},
    {"PREFETCHWT1", feature_word::leaf7Ecx, 0, vendor_rule::any},
    {"RDRAND", feature_word::leaf1Ecx, 30, vendor_rule::any},
    {"RDSEED", feature_word::leaf7Ebx, 18, vendor_rule::any},
    {"RDTSCP", feature_word::extendedEdx, 27, vendor_rule::intel},
    {"RTM", feature_word::leaf7Ebx, 11, vendor_rule::intel},
    {"SEP", feature_word::leaf1Edx, 11, vendor_rule::any},
    {"SHA", feature_word::leaf7Ebx, 29, vendor_rule::any},
    {"SSE", feature_word::leaf1Edx, 25, vendor_rule::any},
    {"SSE2", feature_word::leaf1Edx, 26, vendor_rule::any},
    {"SSE3", feature_word::leaf1Ecx, 0, vendor_rule::any},
    {"SSE41", feature_word::leaf1Ecx, 19, vendor_rule::any},
    {"SSE42", feature_word::leaf1Ecx, 20, vendor_rule::any},
    {"SSE4a", feature_word::extendedEcx, 6, vendor_rule::amd},
    {"SSSE3", feature_word::leaf1Ecx, 9, vendor_rule::any},
    {"SYSCALL", feature_word::extendedEdx, 11, vendor_rule::intel},
    {"TBM", feature_word::extendedEcx, 21, vendor_rule::amd},
    {"XOP", feature_word::extendedEcx, 11, vendor_rule::amd},
    {"XSAVE", feature_word::leaf1Ecx, 26, vendor_rule::any},
};

u32 word_of(const processor_information& info, feature_word word)
{
    switch (word) {
    case feature_word::leaf1Ecx: return info.leaf1Ecx;
    case feature_word::leaf1Edx: return info.leaf1Edx;
    case feature_word::leaf7Ebx: return info.leaf7Ebx;
    case feature_word::leaf7Ecx: return info.leaf7Ecx;
    case feature_word::extendedEcx: return info.extendedLeaf1Ecx;
    case feature_word::extendedEdx: return info.extendedLeaf1Edx;
    }
    return 0;
}

bool vendor_allows(const processor_information& info, vendor_rule rule)
{
    return rule == vendor_rule::any || (rule == vendor_rule::intel && info.isIntel) ||
           (rule == vendor_rule::amd && info.isAmd);
}

bool has_feature(const processor_information& info, const feature& candidate)
{
    return ((word_of(info, candidate.word) >> candidate.bit) & 1u) != 0 && vendor_allows(info, candidate.vendor);
}

// Built before the entry point, as the start-up order promises.
const processor_information processorRecord = read_processor_information(&query_real_processor);

}  // namespace

processor_information read_processor_information(const cpuid_query& query)
{
    processor_information info;
    const cpuid_registers leaf0 = query(0, 0);
    info.highestStandardLeaf = static_cast<i32>(leaf0.eax);
    for (i32 leaf = 0; leaf <= info.highestStandardLeaf; ++leaf)
        info.standardLeaves.push_back(query(static_cast<u32>(leaf), 0));

    info.highestExtendedLeaf = query(firstExtendedLeaf, 0).eax;
    for (u32 leaf = firstExtendedLeaf; leaf >= firstExtendedLeaf && leaf <= info.highestExtendedLeaf; ++leaf)
        info.extendedLeaves.push_back(query(leaf, 0));

    info.vendor = vendor_text(leaf0);
    info.isIntel = info.vendor == "GenuineIntel";
    info.isAmd = info.vendor == "AuthenticAMD";
    take_feature_words(info);
    return info;
}

const processor_information& this_processor()
{
    return processorRecord;
}

const std::string& cpu_feature_list(std::string& text, const processor_information& processor)
{
    text.clear();
    for (const feature& candidate : features) {
        if (has_feature(processor, candidate)) {
            text += candidate.name;
            text += ' ';
        }
    }
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

const std::string& cpu_feature_list(std::string& text)
{
    return cpu_feature_list(text, processorRecord);
}

i32 count_processors(u64 activeProcessorMask, const char* environmentCount)
{
    i32 count = static_cast<i32>(std::bitset<32>(activeProcessorMask & 0xFFFFFFFFu).count());
    if (environmentCount) {
        const i32 fromEnvironment = std::atoi(environmentCount);
        if (fromEnvironment >= count)
            count = fromEnvironment;
    }
    return count;
}

i32 processor_count(i32* count)
{
    SYSTEM_INFO system = {};
    GetSystemInfo(&system);
    const i32 result = count_processors(system.dwActiveProcessorMask, std::getenv("NUMBER_OF_PROCESSORS"));
    if (count)
        *count = result;
    return result;
}

char* processor_identifier(char* buffer)
{
    const unique_registry_key key =
        open_key_for_reading(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment");
    if (!key)
        return buffer;
    DWORD type = 0;
    DWORD size = identifierBufferSize;
    const LONG status =
        RegQueryValueExA(key.get(), "PROCESSOR_IDENTIFIER", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    const bool isText = type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
    // The query's size counts the terminator when the stored value has one, and not otherwise.
    if (status == ERROR_SUCCESS && isText)
        buffer[size < identifierBufferSize ? size : identifierBufferSize - 1] = '\0';
    return buffer;
}

}  // namespace tevrin
