#pragma once
// tevrin::TabKeySubclass: gives a standard control's handle a window procedure that
// moves the keyboard focus on Tab and passes every other message to the control
// class's own procedure. The class procedure is recorded from the first control of
// each type subclassed (one record per ControlType, written once).
#include "tevrin/core/callback_exception.h"
#include "tevrin/ui/control.h"

#include <windows.h>

namespace tevrin {

template <class ControlType>
class TabKeySubclass {
public:
    static void Install(HWND handle)
    {
        const WNDPROC previous =
            reinterpret_cast<WNDPROC>(SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure)));
        if (!classProcedure && previous != &Procedure)
            classProcedure = previous;
    }

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        const bool moved = !callback_failure_kept() && guard_callback(false, [&] {
            ControlType* control = dynamic_cast<ControlType*>(Control::FromHandle(hwnd));
            return control && Control::MoveFocusOnTab(control, message, wParam);
        });
        return moved ? 0 : CallWindowProcW(classProcedure, hwnd, message, wParam, lParam);
    }

    static WNDPROC classProcedure;
};

template <class ControlType>
WNDPROC TabKeySubclass<ControlType>::classProcedure = nullptr;

}  // namespace tevrin
