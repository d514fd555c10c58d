// The system report: name tables, processor count, feature list, and the real machine's lines.
#include "support/log_lines.h"
#include "tevrin/core/diagnostics.h"
#include "tevrin/core/processor_info.h"
#include "tevrin/core/system_report.h"
#include "tevrin/core/text.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <regex>

using namespace tevrin;

TEST(SystemReport, NameTablesAndProcessorCount)
{
    const std::tuple<u32, u32, const char*> versions[] = {
        {10, 0, "10 (or greater)"}, {6, 3, "8.1"}, {6, 2, "8"}, {6, 1, "7"}, {5, 2, "XP Pro x64 Edition"},
        {5, 1, "XP"}, {5, 0, "2000"}, {6, 0, "Unknown"}, {10, 1, "Unknown"}};
    for (const auto& [major, minor, name] : versions) {
        os_version version{major, minor, 7601, 1, 2};
        EXPECT_EQ(operating_system_text(&version), std::string("Microsoft Windows(R) ") + name + ", build 7601, SP 1.2");
    }
    os_version zero{0, 3, 100, 0, 0};
    EXPECT_EQ(operating_system_text(&zero) + operating_system_text(nullptr), "UnknownUnknown");
    std::string names;
    for (u16 code : {0, 6, 9, 10, 11, 12, 13, 14, 1, 15})
        names += architecture_name(code) + std::string("|");
    EXPECT_EQ(names, "Intel|IA-64|x64|IA32 on Win64|neutral|ARM64|ARM32 on Win64|IA32 on ARM64|Unknown|Unknown|");
    const std::tuple<u64, const char*, i32> counts[] = {  // mask, NUMBER_OF_PROCESSORS, count
        {(u64(1) << 48) - 1, nullptr, 32}, {(u64(1) << 48) - 1, "48", 48}, {0xF0F0, nullptr, 8}, {0xFF, "4", 8},
        {0xFF, "not a number", 8}};
    for (const auto& [mask, environment, count] : counts)
        EXPECT_EQ(count_processors(mask, environment), count) << mask;
}

TEST(SystemReport, FeatureNamesFollowTheLeafLimitsAndTheVendor)
{
    // Every feature bit set, so only the leaf limits and the vendor decide.
    const auto features = [](const char* vendor, u32 highestLeaf = 7) {
        cpuid_registers leaf0{highestLeaf, 0, 0, 0};
        std::memcpy(&leaf0.ebx, vendor, 4), std::memcpy(&leaf0.edx, vendor + 4, 4), std::memcpy(&leaf0.ecx, vendor + 8, 4);
        const auto query = [=](u32 leaf, u32) {
            return leaf == 0 ? leaf0 : leaf == 0x80000000u ? cpuid_registers{0x80000001u, 0, 0, 0} : cpuid_registers{0, ~0u, ~0u, ~0u};
        };
        std::string text;
        return " " + cpu_feature_list(text, read_processor_information(query)) + " ";
    };
    EXPECT_EQ(features("GenuineIntel"),
              " ADX AES AVX AVX2 AVX512CD AVX512ER AVX512F AVX512PF BMI1 BMI2 CLFSH CMPXCHG16B CX8 ERMS F16C FMA "
              "FSGSBASE FXSR HLE INVPCID LAHF LZCNT MMX MONITOR MOVBE MSR OSXSAVE PCLMULQDQ POPCNT PREFETCHWT1 "
              "RDRAND RDSEED RDTSCP RTM SEP SHA SSE SSE2 SSE3 SSE41 SSE42 SSSE3 SYSCALL XSAVE ");
    const std::string amd = features("AuthenticAMD"), other = features("CentaurHauls", 6);
    EXPECT_EQ(amd.substr(0, 26), " 3DNow! 3DNow!Ext ABM ADX ");
    EXPECT_EQ(amd.find(" HLE "), std::string::npos) << "an Intel-only name";
    EXPECT_EQ(std::count(other.begin(), other.end(), ' '), 26) << "no vendor-bound names and none of leaf 7: " << other;

    // One bit at a time, one row for each register that holds names: the published positions.
    const struct { u32 leaf; u32 cpuid_registers::*reg; int bit; const char* name; } bits[] = {
        {1, &cpuid_registers::edx, 26, " SSE2 "}, {1, &cpuid_registers::ecx, 28, " AVX "},
        {7, &cpuid_registers::ebx, 5, " AVX2 "}, {0x80000001u, &cpuid_registers::edx, 27, " RDTSCP "},
        {0x80000001u, &cpuid_registers::ecx, 5, " LZCNT "}};
    for (const auto& row : bits) {
        const auto query = [&](u32 leaf, u32) {
            cpuid_registers registers = leaf == 0 ? cpuid_registers{7, 0x756E6547, 0x6C65746E, 0x49656E69}  // GenuineIntel
                                        : leaf == 0x80000000u ? cpuid_registers{0x80000001u, 0, 0, 0} : cpuid_registers{};
            if (leaf == row.leaf)
                registers.*row.reg = 1u << row.bit;
            return registers;
        };
        std::string text;
        EXPECT_EQ(" " + cpu_feature_list(text, read_processor_information(query)) + " ", row.name);
    }
}

TEST(SystemReport, TheRealMachineFillsSevenLinesWithValuesFromColumn19)
{
    tevrin_test::TakeLogLines();
    _putenv("NUMBER_OF_PROCESSORS=4096");
    write_system_report();
    const std::vector<std::string> lines = tevrin_test::TakeLogLines();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], std::string(80, '_'));
    EXPECT_EQ(lines[6], std::string(80, '_'));
    EXPECT_TRUE(std::regex_match(lines[1], std::regex(R"(Operating system: Microsoft Windows\(R\) [^,]+, build \d+, SP \d+\.\d+)")))
        << lines[1];
    EXPECT_TRUE(std::regex_match(lines[2], std::regex(R"(CPU:              x64 .*SSE2.*; No\. of CPUs: 4096/4096)")))
        << lines[2];
    EXPECT_EQ(lines[3], std::string("CPU desc:         ") + std::getenv("PROCESSOR_IDENTIFIER"));
    const HDC screen = GetDC(nullptr);
    EXPECT_EQ(lines[4], "Display:          Depth = " + std::to_string(GetDeviceCaps(screen, BITSPIXEL)) +
                            " bpp; Size = " + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + " x " +
                            std::to_string(GetSystemMetrics(SM_CYSCREEN)) + " pixels");
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(lines[5], "User:             " + ToUtf8(_wgetenv(L"USERNAME")));
}
