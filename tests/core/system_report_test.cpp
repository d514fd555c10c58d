#include "tevrin/core/diagnostics.h"
#include "tevrin/core/processor_info.h"
#include "tevrin/core/system_report.h"
#include "tevrin/core/text.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

using namespace tevrin;

namespace {

struct CollectingSink : ILogLineSink {
    std::vector<std::string> lines;
    void AddLine(const std::string& text, u32, u32) override { lines.push_back(text); }
};

std::vector<std::string> TakeLogLines()
{
    CollectingSink sink;
    drain_log_lines(&sink);
    return sink.lines;
}

// A processor described leaf by leaf; leaves it does not list answer with zeros.
struct FakeProcessor {
    std::map<u32, cpuid_registers> leaves;
    std::vector<u32>* queried = nullptr;

    cpuid_registers operator()(u32 leaf, u32 subleaf) const
    {
        EXPECT_EQ(subleaf, 0u);
        if (queried)
            queried->push_back(leaf);
        const auto found = leaves.find(leaf);
        return found == leaves.end() ? cpuid_registers{} : found->second;
    }
};

cpuid_registers VendorLeaf(u32 highestLeaf, const char* vendor)
{
    cpuid_registers leaf;
    leaf.eax = highestLeaf;
    std::memcpy(&leaf.ebx, vendor, 4);
    std::memcpy(&leaf.edx, vendor + 4, 4);
    std::memcpy(&leaf.ecx, vendor + 8, 4);
    return leaf;
}

// Every feature bit set, so only the leaf limits and vendor rules decide the list.
processor_information EveryFeature(const char* vendor)
{
    FakeProcessor processor;
    processor.leaves[0] = VendorLeaf(7, vendor);
    processor.leaves[1] = {0, 0, 0xFFFFFFFFu, 0xFFFFFFFFu};
    processor.leaves[7] = {0, 0xFFFFFFFFu, 0xFFFFFFFFu, 0};
    processor.leaves[0x80000000u] = {0x80000001u, 0, 0, 0};
    processor.leaves[0x80000001u] = {0, 0, 0xFFFFFFFFu, 0xFFFFFFFFu};
    return read_processor_information(processor);
}

std::set<std::string> Words(const std::string& text)
{
    std::set<std::string> words;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find(' ', start);
        words.insert(text.substr(start, end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return words;
}

const std::vector<std::string> intelOnly = {"HLE", "LZCNT", "RDTSCP", "RTM", "SYSCALL"};
const std::vector<std::string> amdOnly = {"3DNow!", "3DNow!Ext", "ABM", "MMXEXT", "SSE4a", "TBM", "XOP"};

}  // namespace

TEST(OperatingSystemText, NamesEveryTableRowWithBuildAndServicePack)
{
    struct Row {
        u32 major, minor;
        const char* name;
    };
    const Row rows[] = {{10, 0, "10 (or greater)"}, {6, 3, "8.1"}, {6, 2, "8"}, {6, 1, "7"},
                        {5, 2, "XP Pro x64 Edition"}, {5, 1, "XP"}, {5, 0, "2000"}};
    for (const Row& row : rows) {
        os_version version;
        version.major = row.major;
        version.minor = row.minor;
        version.build = 7601;
        version.servicePackMajor = 1;
        version.servicePackMinor = 2;
        EXPECT_EQ(operating_system_text(&version),
                  std::string("Microsoft Windows(R) ") + row.name + ", build 7601, SP 1.2");
    }
}

TEST(OperatingSystemText, PairsOutsideTheTableAreNamedUnknownButKeepTheirNumbers)
{
    os_version vista{6, 0, 6002, 2, 0};
    EXPECT_EQ(operating_system_text(&vista), "Microsoft Windows(R) Unknown, build 6002, SP 2.0");
    os_version eleven{10, 1, 22631, 0, 0};
    EXPECT_EQ(operating_system_text(&eleven), "Microsoft Windows(R) Unknown, build 22631, SP 0.0");
    os_version newer{10, 0, 26100, 0, 0};
    EXPECT_EQ(operating_system_text(&newer), "Microsoft Windows(R) 10 (or greater), build 26100, SP 0.0");
}

TEST(OperatingSystemText, NoVersionOrMajorZeroIsUnknown)
{
    EXPECT_EQ(operating_system_text(nullptr), "Unknown");
    os_version zero{0, 3, 100, 0, 0};
    EXPECT_EQ(operating_system_text(&zero), "Unknown");
}

TEST(ArchitectureName, EveryTableRowAndAnythingElse)
{
    const std::map<u16, std::string> table = {{0, "Intel"},         {6, "IA-64"},          {9, "x64"},
                                              {10, "IA32 on Win64"}, {11, "neutral"},       {12, "ARM64"},
                                              {13, "ARM32 on Win64"}, {14, "IA32 on ARM64"}};
    for (const auto& [code, name] : table)
        EXPECT_EQ(architecture_name(code), name) << code;
    for (u16 other : {u16(1), u16(5), u16(7), u16(15), u16(0xFFFF)})
        EXPECT_STREQ(architecture_name(other), "Unknown") << other;
}

TEST(ProcessorCount, CountsOnlyTheLow32BitsOfTheMask)
{
    const u64 fortyEight = (u64(1) << 48) - 1;
    EXPECT_EQ(count_processors(fortyEight, nullptr), 32);
    EXPECT_EQ(count_processors(fortyEight, "48"), 48);
    EXPECT_EQ(count_processors(0xF0F0, nullptr), 8);
}

TEST(ProcessorCount, EnvironmentBelowTheCountIsIgnored)
{
    EXPECT_EQ(count_processors(0xFF, "4"), 8);
    EXPECT_EQ(count_processors(0xFF, "8"), 8);
    EXPECT_EQ(count_processors(0xFF, "12"), 12);
    EXPECT_EQ(count_processors(0xFF, "not a number"), 8);
}

TEST(ProcessorCount, ReturnsAndStoresTheSameNumberFromTheRealEnvironment)
{
    const char* saved = std::getenv("NUMBER_OF_PROCESSORS");
    const std::string restore = std::string("NUMBER_OF_PROCESSORS=") + (saved ? saved : "");
    _putenv("NUMBER_OF_PROCESSORS=4096");
    i32 stored = -1;
    EXPECT_EQ(processor_count(&stored), 4096);
    EXPECT_EQ(stored, 4096);

    _putenv("NUMBER_OF_PROCESSORS=");
    SYSTEM_INFO system = {};
    GetSystemInfo(&system);
    const i32 active = count_processors(system.dwActiveProcessorMask, nullptr);
    EXPECT_GE(active, 1);
    EXPECT_EQ(processor_count(), active);
    _putenv(restore.c_str());
}

TEST(ProcessorInformation, QueriesEveryStandardAndExtendedLeafInOrder)
{
    std::vector<u32> queried;
    FakeProcessor processor;
    processor.queried = &queried;
    processor.leaves[0] = VendorLeaf(3, "GenuineIntel");
    processor.leaves[0x80000000u] = {0x80000002u, 0, 0, 0};
    const processor_information info = read_processor_information(processor);

    const std::vector<u32> everyLeaf = {0, 0, 1, 2, 3, 0x80000000u, 0x80000000u, 0x80000001u, 0x80000002u};
    EXPECT_EQ(queried, everyLeaf);
    EXPECT_EQ(info.standardLeaves.size(), 4u);
    EXPECT_EQ(info.extendedLeaves.size(), 3u);
    EXPECT_EQ(info.vendor, "GenuineIntel");
    EXPECT_TRUE(info.isIntel);
    EXPECT_FALSE(info.isAmd);
    EXPECT_EQ(info.highestStandardLeaf, 3);
    EXPECT_EQ(info.highestExtendedLeaf, 0x80000002u);
}

TEST(ProcessorInformation, FeatureWordsBeyondTheHighestLeafStayZero)
{
    FakeProcessor processor;
    processor.leaves[0] = VendorLeaf(6, "AuthenticAMD");
    processor.leaves[1] = {0, 0, 0x11, 0x22};
    processor.leaves[7] = {0, 0xFF, 0xFF, 0};  // beyond leaf 6: never consulted
    processor.leaves[0x80000000u] = {0x80000000u, 0, 0, 0};
    processor.leaves[0x80000001u] = {0, 0, 0xFF, 0xFF};
    const processor_information info = read_processor_information(processor);
    EXPECT_EQ(info.leaf1Ecx, 0x11u);
    EXPECT_EQ(info.leaf1Edx, 0x22u);
    EXPECT_EQ(info.leaf7Ebx, 0u);
    EXPECT_EQ(info.leaf7Ecx, 0u);
    EXPECT_EQ(info.extendedLeaf1Ecx, 0u);
    EXPECT_EQ(info.extendedLeaf1Edx, 0u);
    EXPECT_TRUE(info.isAmd);
}

TEST(CpuFeatureList, IntelListsItsOwnNamesInTableOrderAndNoAmdOnes)
{
    std::string text = "stale";
    EXPECT_EQ(cpu_feature_list(text, EveryFeature("GenuineIntel")),
              "ADX AES AVX AVX2 AVX512CD AVX512ER AVX512F AVX512PF BMI1 BMI2 CLFSH CMPXCHG16B CX8 ERMS F16C FMA "
              "FSGSBASE FXSR HLE INVPCID LAHF LZCNT MMX MONITOR MOVBE MSR OSXSAVE PCLMULQDQ POPCNT PREFETCHWT1 "
              "RDRAND RDSEED RDTSCP RTM SEP SHA SSE SSE2 SSE3 SSE41 SSE42 SSSE3 SYSCALL XSAVE");
}

TEST(CpuFeatureList, AmdListsItsOwnNamesAndNoIntelOnes)
{
    std::string text;
    const std::set<std::string> words = Words(cpu_feature_list(text, EveryFeature("AuthenticAMD")));
    for (const std::string& name : amdOnly)
        EXPECT_EQ(words.count(name), 1u) << name;
    for (const std::string& name : intelOnly)
        EXPECT_EQ(words.count(name), 0u) << name;
    EXPECT_EQ(text.rfind("3DNow! 3DNow!Ext ABM ADX", 0), 0u) << text;
}

TEST(CpuFeatureList, OtherVendorsGetNoVendorBoundNames)
{
    std::string text;
    const std::set<std::string> words = Words(cpu_feature_list(text, EveryFeature("CentaurHauls")));
    for (const std::string& name : amdOnly)
        EXPECT_EQ(words.count(name), 0u) << name;
    for (const std::string& name : intelOnly)
        EXPECT_EQ(words.count(name), 0u) << name;
    EXPECT_EQ(words.size(), 39u);  // the 51 names less the 12 vendor-bound ones
}

TEST(CpuFeatureList, SingleBitsAndNoBlanksAtTheEnds)
{
    processor_information info;
    info.leaf1Edx = 1u << 26;                    // SSE2
    info.leaf7Ecx = 1u << 0;                     // PREFETCHWT1
    info.extendedLeaf1Ecx = (1u << 5) | 1u;      // LAHF, and ABM/LZCNT that need a vendor
    std::string text;
    EXPECT_EQ(cpu_feature_list(text, info), "LAHF PREFETCHWT1 SSE2");
    EXPECT_EQ(cpu_feature_list(text, processor_information{}), "");
}

TEST(CpuFeatureList, TheRealProcessorWasReadBeforeMain)
{
    // Every x64 processor has SSE2, and the record is filled during static initialisation.
    const processor_information& info = this_processor();
    EXPECT_EQ(info.vendor.size(), 12u);
    EXPECT_GE(info.highestStandardLeaf, 1);
    std::string text;
    EXPECT_EQ(Words(cpu_feature_list(text)).count("SSE2"), 1u) << text;
}

TEST(SystemFacts, UserNameAndIdentifierMatchTheEnvironment)
{
    std::string name = "stale";
    EXPECT_EQ(user_name(name), ToUtf8(_wgetenv(L"USERNAME")));
    EXPECT_FALSE(name.empty());

    // The process environment's PROCESSOR_IDENTIFIER is copied from the same registry value.
    char buffer[260] = {};
    const char* fromEnvironment = std::getenv("PROCESSOR_IDENTIFIER");
    ASSERT_NE(fromEnvironment, nullptr);
    EXPECT_STREQ(processor_identifier(buffer), fromEnvironment);
}

class SystemReport : public ::testing::Test {
protected:
    void SetUp() override
    {
        TakeLogLines();
        sources.queryVersion = [](os_version& version) {
            version = os_version{10, 0, 19045, 0, 0};
            return true;
        };
        sources.architecture = [] { return u16(9); };
        sources.featureList = [] { return std::string("SSE SSE2"); };
        sources.processorCount = [](i32* count) {
            if (count)
                *count = 6;
            return 6;
        };
        sources.processorIdentifier = [] { return std::string("Intel64 Family 6 Model 158 Stepping 10, GenuineIntel"); };
        sources.displayMode = [](display_mode& mode) {
            mode = display_mode{32, 1920, 1080};
            return true;
        };
        sources.userName = [] { return std::string("J\xC3\xBCrgen"); };
    }

    system_report_sources sources;
};

TEST_F(SystemReport, WritesSevenLinesWithValuesFromColumn19)
{
    write_system_report(sources);
    const std::string rule(80, '_');
    const std::vector<std::string> expected = {
        rule,
        "Operating system: Microsoft Windows(R) 10 (or greater), build 19045, SP 0.0",
        "CPU:              x64 SSE SSE2; No. of CPUs: 6/6",
        "CPU desc:         Intel64 Family 6 Model 158 Stepping 10, GenuineIntel",
        "Display:          Depth = 32 bpp; Size = 1920 x 1080 pixels",
        "User:             J\xC3\xBCrgen",
        rule,
    };
    EXPECT_EQ(TakeLogLines(), expected);
}

TEST_F(SystemReport, MissingValuesLeaveUnknownOrEmptyText)
{
    sources.queryVersion = [](os_version&) { return false; };
    sources.architecture = [] { return u16(42); };
    sources.displayMode = [](display_mode&) { return false; };
    sources.userName = [] { return std::string(); };
    write_system_report(sources);
    const std::vector<std::string> lines = TakeLogLines();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[1], "Operating system: Unknown");
    EXPECT_EQ(lines[2], "CPU:              Unknown SSE SSE2; No. of CPUs: 6/6");
    EXPECT_EQ(lines[4], "Display:          ");
    EXPECT_EQ(lines[5], "User:             ");
}

TEST_F(SystemReport, TheRealMachineFillsEveryLine)
{
    write_system_report();
    const std::vector<std::string> lines = TakeLogLines();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_TRUE(std::regex_match(lines[1], std::regex(
        R"(Operating system: Microsoft Windows\(R\) [^,]+, build \d+, SP \d+\.\d+)"))) << lines[1];
    EXPECT_TRUE(std::regex_match(lines[2], std::regex(R"(CPU:              x64 .*SSE2.*; No\. of CPUs: (\d+)/\1)")))
        << lines[2];
    const HDC screen = GetDC(nullptr);
    const int screenDepth = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    const std::string display = "Display:          Depth = " + std::to_string(screenDepth) +
                                " bpp; Size = " + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + " x " +
                                std::to_string(GetSystemMetrics(SM_CYSCREEN)) + " pixels";
    EXPECT_EQ(lines[4], display);
    std::string name;
    EXPECT_EQ(lines[5], "User:             " + user_name(name));
}
