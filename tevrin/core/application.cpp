#include "tevrin/core/application.h"

#include "tevrin/core/diagnostics.h"
#include "tevrin/core/exception.h"
#include "tevrin/core/text.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace tevrin {
namespace {

constexpr size_t longestParentText = 1014;

// Cuts the text at its last slash or backslash; a text without one has no parent.
std::string ParentOf(const std::string& path)
{
    const size_t cut = path.find_last_of("\\/");
    if (cut == std::string::npos) {
        debug_trace("tevrin::filesystem_entity_id::become_parent: no parent pathspec item found\n");
        throw filesystem_exception();
    }
    return path.substr(0, cut);
}

bool FolderExists(const std::string& utf8Folder)
{
    wchar_t previous[MAX_PATH + 1] = {};
    GetCurrentDirectoryW(MAX_PATH + 1, previous);
    const bool exists = SetCurrentDirectoryW(ToUtf16(utf8Folder).c_str()) != 0;
    if (exists)
        SetCurrentDirectoryW(previous);
    return exists;
}

bool ReadFileVersion(const std::string& utf8Path, u32 version[4])
{
    static char block[2048];
    if (!GetFileVersionInfoW(ToUtf16(utf8Path).c_str(), 0, sizeof block, block))
        return false;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(block, L"\\", reinterpret_cast<void**>(&info), &size) || !info)
        return false;
    version[0] = HIWORD(info->dwFileVersionMS);
    version[1] = LOWORD(info->dwFileVersionMS);
    version[2] = HIWORD(info->dwFileVersionLS);
    version[3] = LOWORD(info->dwFileVersionLS);
    return true;
}

}  // namespace

Application::Application()
{
    // A virtual call from the constructor runs the base operation, as intended.
    Application::ReadModuleInformation();
}

Application::~Application()
{
    debug_trace("tevrin::Application::~Application\n");
}

void Application::ReadModuleInformation()
{
    wchar_t modulePath[260] = {};
    GetModuleFileNameW(nullptr, modulePath, 260);
    executablePath_ = filesystem_entity_id(modulePath);
    versionKnown_ = ReadFileVersion(executablePath_.str(), version_);
    if (!versionKnown_)
        throw "cannot get version of file";
    resourceFolder_ = ResolveResourceFolder(executablePath_.c_str());
}

filesystem_entity_id Application::ResolveResourceFolder(const char* utf8ExecutablePath)
{
    const std::string executableFolder = ParentOf(utf8ExecutablePath);
    const std::string parent = ParentOf(executableFolder);
    if (parent.size() > longestParentText)
        throw fid_too_long();
    const std::string runtimeFolder = parent + "\\runtime";
    const filesystem_entity_id base(
        (FolderExists(runtimeFolder) ? runtimeFolder : executableFolder).c_str());
    if (base.size() + 3 >= 1022)
        throw fid_too_long();
    const std::string resources = base.empty() ? std::string("res") : base.str() + "\\res";
    return filesystem_entity_id(resources.c_str());
}

void Application::AddPath(const char* utf8Path)
{
    paths_.emplace_back(utf8Path);
}

std::string Application::GetVersionString() const
{
    std::string text;
    format_to_string(text, "%d.%d build %d%s, %s", static_cast<int>(version_[0]), static_cast<int>(version_[1]),
                     static_cast<int>(version_[3]), beta_ ? " BETA" : "",
                     sizeof(void*) == 8 ? "64-bit" : "32-bit");
    return text;
}

std::string Application::GetAboutText() const
{
    std::string text;
    format_to_string(text, "%s %s\n%s", productTitle_.c_str(), GetVersionString().c_str(), copyright_.c_str());
    return text;
}

void Application::SetProductInformation(const char* title, const char* description, const char* copyright,
                                        const char* author, const char* supportAddress)
{
    productTitle_ = title;
    description_ = description;
    copyright_ = copyright;
    author_ = author;
    supportAddress_ = supportAddress;
}

}  // namespace tevrin
