#include "tevrin/core/message_box.h"

#include "tevrin/core/callback_exception.h"
#include "tevrin/core/text.h"

namespace tevrin {
namespace {

struct ApplicationTitleRecord {
    std::wstring title;
    bool recorded = false;
};

ApplicationTitleRecord& TitleRecord()
{
    static ApplicationTitleRecord record;
    return record;
}

BOOL CALLBACK PickOwnerWindow(HWND window, LPARAM result)
{
    return guard_callback(FALSE, [&] {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process != GetCurrentProcessId() || GetWindow(window, GW_OWNER) != nullptr)
            return TRUE;
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
    });
}

}  // namespace

void RecordApplicationTitle(const std::wstring& title)
{
    TitleRecord().title = title;
    TitleRecord().recorded = true;
}

std::wstring ApplicationTitle()
{
    return TitleRecord().recorded ? TitleRecord().title : std::wstring(L"Message");
}

HWND FindMessageBoxOwner()
{
    HWND owner = nullptr;
    EnumWindows(&PickOwnerWindow, reinterpret_cast<LPARAM>(&owner));
    return owner;
}

void ShowErrorBox(const wchar_t* message, HWND owner)
{
    const std::wstring text = std::wstring(L"Error occurred: ") + (message ? message : L"");
    MessageBoxW(owner, text.c_str(), ApplicationTitle().c_str(), MB_ICONERROR | MB_TASKMODAL);
}

void ShowErrorBox(const char* utf8Message, HWND owner)
{
    const std::string text = std::string("Error occurred: ") + (utf8Message ? utf8Message : "");
    MessageBoxW(owner, ToUtf16(text).c_str(), ApplicationTitle().c_str(), MB_ICONERROR | MB_TASKMODAL);
}

void ShowInformationBox(const wchar_t* message, HWND owner)
{
    MessageBoxW(owner, message, ApplicationTitle().c_str(), MB_ICONINFORMATION | MB_TASKMODAL);
}

}  // namespace tevrin

#include "tevrin/core/exception.h"

#include <exception>

namespace tevrin {

void ReportCaughtException()
{
    try {
        throw;
    } catch (const dialog_cancelled&) {
    } catch (const user_cancelled_process&) {
        ShowInformationBox(L"Operation stopped.", FindMessageBoxOwner());
    } catch (const exception& error) {
        ShowErrorBox(error.what(), FindMessageBoxOwner());
    } catch (const std::string& message) {
        ShowErrorBox(message.c_str(), FindMessageBoxOwner());
    } catch (const std::wstring& message) {
        ShowErrorBox(message.c_str(), FindMessageBoxOwner());
    } catch (const wchar_t* message) {
        ShowErrorBox(message, FindMessageBoxOwner());
    } catch (const char* message) {
        ShowErrorBox(message, FindMessageBoxOwner());
    } catch (const std::exception& error) {
        ShowErrorBox(error.what(), FindMessageBoxOwner());
    } catch (...) {
        ShowErrorBox("unknown", FindMessageBoxOwner());
    }
}

}  // namespace tevrin
