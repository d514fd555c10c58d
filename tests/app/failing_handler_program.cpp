// A program whose window fails inside a system call: a key handler resizes the window
// with SetWindowPos, whose WM_SIZE handler throws. The program's main loop and error
// box must carry the failure out: one box, then exit status 0 (startup_box_check).
#include "app/main_loop.h"
#include "app/nibscope_app.h"
#include "tevrin/core/message_box.h"
#include "tevrin/ui/timer_system.h"
#include "tevrin/ui/window.h"

namespace {

class ResizedOnKey : public tevrin::Window {
public:
    ResizedOnKey() { styleKind = kindMainFrame; }
    const char* GetTypeName() const override { return "ResizedOnKey"; }
    bool HandlePaintEvent(tevrin::GraphicsContext&, const RECT&) override { return false; }
    bool HandleSizeEvent(int, int) override
    {
        if (resizing_)
            throw "resized inside SetWindowPos";
        return false;
    }
    bool HandleKeyEvent(tevrin::u16) override
    {
        resizing_ = true;
        SetWindowPos(hwnd, nullptr, 0, 0, 150, 150, SWP_NOMOVE | SWP_NOZORDER);
        return true;
    }

private:
    bool resizing_ = false;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    try {
        tevrin::TimerSystem timers;
        NibscopeApp application;  // not initialised: the box keeps the caption "Message"
        auto* window = new ResizedOnKey;  // deleted by the framework with its window
        window->Create(200, 200);
        window->Show(true);
        PostMessageW(window->GetHandle(), WM_CHAR, 'x', 1);
        RunMainLoop(application, timers);
    } catch (...) {
        tevrin::ReportCaughtException();
    }
    return 0;
}
