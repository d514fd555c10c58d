#pragma once
// A framework window that holds a tablet context the way the drawing view does,
// and records what reaches its pointer and paint handlers.
#include "tevrin/tablet/tablet_context.h"
#include "tevrin/tablet/tablet_view.h"
#include "tevrin/ui/window.h"

namespace tevrin_test {

class TabletTestView : public tevrin::Window, public tevrin::tablet_context, public tevrin::tablet_view {
public:
    TabletTestView() { styleKind = kindPopup; }
    ~TabletTestView() override
    {
        if (deletions)
            ++*deletions;
        if (restoreProcedure && attachedHandle && savedProcedure)
            SetWindowLongPtrW(attachedHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedProcedure));
    }

    const char* GetTypeName() const override { return "TabletTestView"; }
    void HandleCreateEvent() override
    {
        attachedHandle = hwnd;
        attach_window(*this);
    }
    void HandleInitEvent() override
    {
        ++initEvents;
        open(hwnd, this);
    }
    bool HandlePaintEvent(tevrin::GraphicsContext&, const RECT&) override { return false; }
    bool HandleSizeEvent(int, int) override { return false; }
    bool HandlePointerDownEvent(int button) override
    {
        lastPointerDown = button;
        return true;
    }

    tevrin::tablet_context& GetTabletContext() override { return *this; }
    WNDPROC GetSavedWindowProcedure() const override { return savedProcedure; }
    void SetSavedWindowProcedure(WNDPROC procedure) override { savedProcedure = procedure; }

    int initEvents = 0;
    int* deletions = nullptr;
    // Off: the view leaves the tablet procedure in place, as a view deleted from
    // inside its window's destruction does.
    bool restoreProcedure = true;
    int lastPointerDown = -1;

private:
    HWND attachedHandle = nullptr;
    WNDPROC savedProcedure = nullptr;
};

}  // namespace tevrin_test
