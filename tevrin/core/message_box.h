#pragma once
// The error and information boxes that the entry point shows, their caption (the
// application title once recorded, "Message" before), and their owner window.
#include <string>

#include <windows.h>

namespace tevrin {

// Records the caption of every later box.
void RecordApplicationTitle(const std::wstring& title);
std::wstring ApplicationTitle();

// The first top-level window of this process that has no owner, or null.
HWND FindMessageBoxOwner();

// "Error occurred: " and the message, error icon, task-modal.
void ShowErrorBox(const char* utf8Message, HWND owner);
void ShowErrorBox(const wchar_t* message, HWND owner);
// Information icon, task-modal.
void ShowInformationBox(const wchar_t* message, HWND owner);

}  // namespace tevrin

namespace tevrin {

// Shows the exception being handled the way the entry point reports failures:
// call it from inside a catch clause. Cancellations show nothing or a note.
void ReportCaughtException();

}  // namespace tevrin
