#include "report/driver/library_survey.h"

#include "tevrin/core/text.h"

#include <windows.h>

#include <cstdio>
#include <cwctype>
#include <fstream>
#include <set>

namespace nibscope_report {
namespace {

using tevrin::ToUtf8;

std::wstring folder_of(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

std::string four_part(DWORD high, DWORD low)
{
    char text[48];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", HIWORD(high), LOWORD(high), HIWORD(low), LOWORD(low));
    return text;
}

std::string version_string(const std::vector<BYTE>& block, WORD language, WORD codePage, const wchar_t* name)
{
    wchar_t key[96];
    std::swprintf(key, 96, L"\\StringFileInfo\\%04x%04x\\%ls", language, codePage, name);
    void* text = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), key, &text, &length) || length == 0)
        return std::string();
    return ToUtf8(static_cast<const wchar_t*>(text));
}

void add_version_resource(report_value& file, const std::wstring& path)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    std::vector<BYTE> block(size ? size : 1);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!size || !GetFileVersionInfoW(path.c_str(), 0, size, block.data()) ||
        !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length)) {
        file.set("version_resource", false);
        return;
    }
    struct translation { WORD language, codePage; }* translations = nullptr;
    translation english = {0x0409, 1200};
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &length) ||
        length < sizeof(translation))
        translations = &english;
    auto text = [&](const wchar_t* name) { return version_string(block, translations->language, translations->codePage, name); };
    file.set("version_resource", true)
        .set("file_version", four_part(fixed->dwFileVersionMS, fixed->dwFileVersionLS))
        .set("product_version", four_part(fixed->dwProductVersionMS, fixed->dwProductVersionLS))
        .set("company", text(L"CompanyName"))
        .set("product_name", text(L"ProductName"))
        .set("description", text(L"FileDescription"));
}

std::string utc_time(const FILETIME& time)
{
    SYSTEMTIME utc = {};
    FileTimeToSystemTime(&time, &utc);
    char text[40];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u UTC", utc.wYear, utc.wMonth, utc.wDay, utc.wHour,
                  utc.wMinute, utc.wSecond);
    return text;
}

std::wstring full_path(const std::wstring& path)
{
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH * 4, buffer, nullptr);
    return length > 0 && length < MAX_PATH * 4 ? std::wstring(buffer, length) : path;
}

}  // namespace

std::string process_machine()
{
    return sizeof(void*) == 8 ? "x64" : "x86";
}

std::string machine_of_file(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    IMAGE_DOS_HEADER dos = {};
    DWORD signature = 0;
    IMAGE_FILE_HEADER header = {};
    if (!file.read(reinterpret_cast<char*>(&dos), sizeof dos) || dos.e_magic != IMAGE_DOS_SIGNATURE ||
        !file.seekg(dos.e_lfanew) || !file.read(reinterpret_cast<char*>(&signature), sizeof signature) ||
        signature != IMAGE_NT_SIGNATURE || !file.read(reinterpret_cast<char*>(&header), sizeof header))
        return "not a PE file";
    switch (header.Machine) {
    case IMAGE_FILE_MACHINE_AMD64: return "x64";
    case IMAGE_FILE_MACHINE_I386: return "x86";
    default: {
        char text[32];
        std::snprintf(text, sizeof text, "other (0x%04x)", header.Machine);
        return text;
    }
    }
}

report_value describe_library_file(const std::wstring& path)
{
    report_value file = report_value::object();
    file.set("path", ToUtf8(full_path(path)));
    WIN32_FILE_ATTRIBUTE_DATA attributes = {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes))
        return file.set("exists", false);
    file.set("exists", true)
        .set("size", (static_cast<tevrin::u64>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow)
        .set("last_write", utc_time(attributes.ftLastWriteTime))
        .set("machine", machine_of_file(path));
    add_version_resource(file, path);
    return file;
}

std::vector<std::wstring> library_search_folders()
{
    std::vector<std::wstring> folders;
    wchar_t buffer[MAX_PATH * 4];
    if (GetModuleFileNameW(nullptr, buffer, MAX_PATH * 4))
        folders.push_back(folder_of(buffer));
    if (GetSystemDirectoryW(buffer, MAX_PATH * 4))
        folders.push_back(buffer);
    if (GetWindowsDirectoryW(buffer, MAX_PATH * 4))
        folders.push_back(buffer);
    const DWORD length = GetEnvironmentVariableW(L"PATH", nullptr, 0);
    std::wstring path(length, L'\0');
    path.resize(GetEnvironmentVariableW(L"PATH", &path[0], length));
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = path.find(L';', start);
        const std::wstring folder = path.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (!folder.empty())
            folders.push_back(folder);
        if (end == std::wstring::npos)
            break;
        start = end + 1;
    }
    return folders;
}

report_value survey_search_path(const std::wstring& loadedPath)
{
    report_value survey = report_value::list();
    std::set<std::wstring> seen;
    for (const std::wstring& folder : library_search_folders()) {
        const std::wstring candidate = full_path(folder + L"\\wintab32.dll");
        if (!seen.insert(lower(candidate)).second || GetFileAttributesW(candidate.c_str()) == INVALID_FILE_ATTRIBUTES)
            continue;
        const report_value file = describe_library_file(candidate);
        survey.add(report_value::object()
                       .set("path", file.get("path"))
                       .set("file_version", file.get("file_version"))
                       .set("company", file.get("company"))
                       .set("machine", file.get("machine"))
                       .set("loaded", lower(candidate) == lower(loadedPath)));
    }
    return survey;
}

report_value describe_32bit_library()
{
    wchar_t folder[MAX_PATH * 4];
    const UINT length = GetSystemWow64DirectoryW(folder, MAX_PATH * 4);
    if (length == 0 || length >= MAX_PATH * 4)
        return report_value::object().set("unavailable", "this system has no 32-bit system folder");
    const report_value file = describe_library_file(std::wstring(folder, length) + L"\\wintab32.dll");
    report_value listing = report_value::object();
    for (const char* key : {"path", "exists", "file_version", "company", "machine"})
        listing.set(key, file.get(key));
    return listing;
}

}  // namespace nibscope_report
