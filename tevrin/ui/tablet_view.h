#pragma once
// The tablet side of a drawing view: what tablet_window_procedure and
// tablet_context::attach_window need from the framework window they serve.
//
// A drawing view derives from tevrin::Window, tevrin::tablet_context and this
// interface. Its HandleCreateEvent calls attach_window(*this) first; its
// HandleInitEvent opens the context (open(GetHandle(), this)); its destructor puts
// the saved procedure back (SetWindowLongPtrW with GWLP_WNDPROC) while the handle
// still exists, before the tablet context is destroyed.
#include <windows.h>

namespace tevrin {

class tablet_context;

class tablet_view {
public:
    virtual tablet_context& GetTabletContext() = 0;
    // The window procedure that the tablet procedure replaced and passes messages on to.
    virtual WNDPROC GetSavedWindowProcedure() const = 0;
    virtual void SetSavedWindowProcedure(WNDPROC procedure) = 0;

protected:
    ~tablet_view() = default;
};

// Handles the driver's proximity and information-change messages for the view
// paired with the window, and passes every other message on unchanged.
LRESULT CALLBACK tablet_window_procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tevrin
