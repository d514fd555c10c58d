// The application base reads the running program's path and version; this test
// program carries the file version 1.3.0.1.
#include "support/debug_output_capture.h"
#include "tevrin/core/application.h"
#include "tevrin/core/exception.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

using namespace tevrin;

namespace {

class TestApplication : public Application {
public:
    void Initialise() override {}
    void AfterInitialise() override {}
    void SetTitle(const char* title, const char* copyright, bool beta)
    {
        SetProductInformation(title, "", copyright, "", "");
        beta_ = beta;
    }
};

// A scratch folder tree under the temporary folder, removed at the end.
class FolderTree {
public:
    FolderTree()
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        root_ = std::wstring(temp) + L"tevrin-resource-test-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(root_.c_str(), nullptr);
    }
    ~FolderTree() { RemoveAll(root_); }

    std::wstring Make(const std::wstring& relative)
    {
        const std::wstring path = root_ + L"\\" + relative;
        CreateDirectoryW(path.c_str(), nullptr);
        return path;
    }
    const std::wstring& Root() const { return root_; }

private:
    static void RemoveAll(const std::wstring& folder)
    {
        WIN32_FIND_DATAW entry;
        HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = entry.cFileName;
                if (name != L"." && name != L"..") {
                    const std::wstring path = folder + L"\\" + name;
                    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                        RemoveAll(path);
                    else
                        DeleteFileW(path.c_str());
                }
            } while (FindNextFileW(find, &entry));
            FindClose(find);
        }
        RemoveDirectoryW(folder.c_str());
    }

    std::wstring root_;
};

std::string Utf8(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text)
        out += static_cast<char>(c);
    return out;
}

}  // namespace

TEST(Application, ReadsTheVersionOfTheRunningProgram)
{
    TestApplication application;
    const u32* version = application.GetVersion();
    EXPECT_EQ(version[0], 1u);
    EXPECT_EQ(version[1], 3u);
    EXPECT_EQ(version[2], 0u);
    EXPECT_EQ(version[3], 1u);
    EXPECT_EQ(application.GetVersionString(), "1.3 build 1, 64-bit");
}

TEST(Application, AboutTextCarriesTitleVersionAndCopyright)
{
    TestApplication application;
    application.SetTitle("Tevrin Nibscope", "Copyright line", false);
    EXPECT_EQ(application.GetAboutText(), "Tevrin Nibscope 1.3 build 1, 64-bit\nCopyright line");
    application.SetTitle("Tevrin Nibscope", "Copyright line", true);
    EXPECT_EQ(application.GetVersionString(), "1.3 build 1 BETA, 64-bit");
}

TEST(Application, ExecutablePathIsThisProgram)
{
    TestApplication application;
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    EXPECT_EQ(application.GetExecutablePath(), Utf8(path));
}

TEST(Application, DestructorNamesItself)
{
    tevrin_test::DebugOutputCapture capture;
    { TestApplication application; }
    EXPECT_NE(capture.Text().find("tevrin::Application::~Application\n"), std::string::npos);
}

TEST(Application, ResourceFolderPrefersARuntimeFolderBesideTheProgramsFolder)
{
    FolderTree tree;
    const std::string programFolder = Utf8(tree.Make(L"bin"));
    const std::string program = programFolder + "\\nibscope.exe";
    EXPECT_EQ(Application::ResolveResourceFolder(program.c_str()).str(), programFolder + "\\res");

    const std::string runtime = Utf8(tree.Make(L"runtime"));
    EXPECT_EQ(Application::ResolveResourceFolder(program.c_str()).str(), runtime + "\\res");
}

TEST(Application, ResourceFolderSearchKeepsTheCurrentDirectory)
{
    FolderTree tree;
    tree.Make(L"runtime");
    wchar_t before[MAX_PATH], after[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, before);
    const std::string program = Utf8(tree.Make(L"bin")) + "\\nibscope.exe";
    Application::ResolveResourceFolder(program.c_str());
    GetCurrentDirectoryW(MAX_PATH, after);
    EXPECT_EQ(std::wstring(before), std::wstring(after));
}

TEST(Application, ProgramAtTheRootOfADriveHasNoParentToSearch)
{
    tevrin_test::DebugOutputCapture capture;
    EXPECT_THROW(Application::ResolveResourceFolder("C:\\nibscope.exe"), filesystem_exception);
    EXPECT_NE(capture.Text().find("tevrin::filesystem_entity_id::become_parent: no parent pathspec item found\n"),
              std::string::npos);
}

TEST(Application, OverlongParentFolderIsRefused)
{
    const std::string deep = "C:\\" + std::string(1100, 'd') + "\\bin\\nibscope.exe";
    EXPECT_THROW(Application::ResolveResourceFolder(deep.c_str()), fid_too_long);
}

TEST(Application, AddPathKeepsTrimmedPaths)
{
    TestApplication application;
    application.AddPath("C:\\pens\\");
    ASSERT_EQ(application.GetPaths().size(), 1u);
    EXPECT_STREQ(application.GetPaths()[0].c_str(), "C:\\pens");
    EXPECT_THROW(application.AddPath(std::string(1024, 'x').c_str()), length_error);
}
