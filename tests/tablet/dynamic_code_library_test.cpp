#include "tevrin/core/exception.h"
#include "tevrin/tablet/dynamic_code_library.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

using tevrin::dynamic_code_library;

namespace {

std::string LoadFailure(const char* name)
{
    dynamic_code_library library;
    try {
        library.load(name);
    } catch (const char* text) {
        EXPECT_FALSE(library.is_loaded());
        return text;
    }
    ADD_FAILURE() << name << " loaded";
    return std::string();
}

// Runs a test in a fresh folder as the current directory, since a missing library
// is looked for there.
class InScratchFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetCurrentDirectoryW(MAX_PATH, previous_);
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"tevrin_library_test_" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder_.c_str(), nullptr);
        ASSERT_TRUE(SetCurrentDirectoryW(folder_.c_str()));
    }

    void TearDown() override
    {
        SetCurrentDirectoryW(previous_);
        for (const std::wstring& file : files_)
            DeleteFileW((folder_ + L"\\" + file).c_str());
        RemoveDirectoryW(folder_.c_str());
    }

    void WriteFile(const wchar_t* name, const char* contents)
    {
        FILE* file = _wfopen(name, L"wb");
        ASSERT_NE(file, nullptr);
        std::fputs(contents, file);
        std::fclose(file);
        files_.push_back(name);
    }

private:
    wchar_t previous_[MAX_PATH];
    std::wstring folder_;
    std::vector<std::wstring> files_;
};

}  // namespace

TEST_F(InScratchFolder, MissingLibraryIsNamedByItsFileNameOnly)
{
    EXPECT_EQ(LoadFailure("absent_driver.dll"), "Requested DLL file \"absent_driver.dll\" non-existant.");
    EXPECT_EQ(LoadFailure("C:\\no\\such\\folder\\absent_driver.dll"),
              "Requested DLL file \"absent_driver.dll\" non-existant.");
    EXPECT_EQ(LoadFailure("C:/no/such/folder/absent_driver.dll"),
              "Requested DLL file \"absent_driver.dll\" non-existant.");
    EXPECT_EQ(LoadFailure("absent_driver.dll\\"), "Requested DLL file \"absent_driver.dll\" non-existant.")
        << "one trailing separator is dropped";
}

TEST_F(InScratchFolder, FilePresentButNoLibraryGivesTheErrorCodeAndItsDetail)
{
    WriteFile(L"not_a_library.dll", "plain text, not a program image\n");
    EXPECT_EQ(LoadFailure("not_a_library.dll"),
              "LoadLibrary call failed, error code 193, DLL considered unexecutable (not Win32 format)");
}

TEST_F(InScratchFolder, NameThatIsNoUtf8IsRefusedBeforeLoading)
{
    dynamic_code_library library;
    try {
        library.load("bad\xC3(name.dll");
        FAIL() << "loaded";
    } catch (const char* text) {
        EXPECT_STREQ(text, "invalid codepoints for UTF-8 to UTF-16 conversion");
    }
}

TEST(DynamicCodeLibrary, NameLongerThanItsBufferIsALengthError)
{
    dynamic_code_library library;
    const std::string name(1024, 'a');
    EXPECT_THROW(library.load(name.c_str()), tevrin::length_error);
}

TEST(DynamicCodeLibrary, EntryLookupNeedsALoadedLibrary)
{
    dynamic_code_library library;
    try {
        library.get_function("GetTickCount");
        FAIL() << "found an entry without a library";
    } catch (const tevrin::library_not_loaded& failure) {
        EXPECT_STREQ(failure.what(), "library not loaded");
    }
}

TEST(DynamicCodeLibrary, EntriesAreFoundOrReportedByName)
{
    dynamic_code_library library;
    library.load("kernel32.dll");
    ASSERT_TRUE(library.is_loaded());
    EXPECT_EQ(reinterpret_cast<FARPROC>(library.get_function("GetTickCount")),
              GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetTickCount"));
    try {
        library.get_function("NoSuchEntryPoint");
        FAIL() << "found a missing entry";
    } catch (const tevrin::function_not_found& failure) {
        EXPECT_STREQ(failure.what(), "function 'NoSuchEntryPoint' not found");
    }
}

TEST(DynamicCodeLibrary, LibraryIsReleasedWithItsOwner)
{
    ASSERT_EQ(GetModuleHandleW(L"wintab32.dll"), nullptr);
    {
        dynamic_code_library library;
        library.load(SIMULATED_WINTAB_PATH);
        EXPECT_NE(GetModuleHandleW(L"wintab32.dll"), nullptr);
        EXPECT_NE(library.get_function("WTInfoA"), nullptr);
    }
    EXPECT_EQ(GetModuleHandleW(L"wintab32.dll"), nullptr);
}

TEST(DynamicCodeLibrary, LoadingAgainReleasesTheFirstLibrary)
{
    dynamic_code_library library;
    library.load(SIMULATED_WINTAB_PATH);
    library.load("kernel32.dll");
    EXPECT_EQ(GetModuleHandleW(L"wintab32.dll"), nullptr);
    EXPECT_NE(library.get_function("GetTickCount"), nullptr);
}
