// Where the application base looks for the program's resource folder.
#include "support/debug_output_capture.h"
#include "tevrin/core/application.h"
#include "tevrin/core/exception.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tevrin;
namespace fs = std::filesystem;

TEST(Application, ResourceFolderPrefersARuntimeFolderBesideTheProgramsFolder)
{
    const fs::path root = fs::temp_directory_path() / ("tevrin-resources-" + std::to_string(GetCurrentProcessId()));
    const std::string program = (root / "bin" / "nibscope.exe").u8string();
    const fs::path current = fs::current_path();
    fs::create_directories(root / "bin");
    EXPECT_EQ(fs::u8path(Application::ResolveResourceFolder(program.c_str()).str()), root / "bin" / "res");
    fs::create_directories(root / "runtime");
    EXPECT_EQ(fs::u8path(Application::ResolveResourceFolder(program.c_str()).str()), root / "runtime" / "res");
    EXPECT_EQ(fs::current_path(), current) << "the search restores the current directory";
    fs::remove_all(root);

    tevrin_test::DebugOutputCapture capture;
    EXPECT_THROW(Application::ResolveResourceFolder("C:\\nibscope.exe"), filesystem_exception);
    EXPECT_EQ(capture.Text(), "tevrin::filesystem_entity_id::become_parent: no parent pathspec item found\n");
    const std::string deep = "C:\\" + std::string(1100, 'd') + "\\bin\\nibscope.exe";
    EXPECT_THROW(Application::ResolveResourceFolder(deep.c_str()), fid_too_long);
}
