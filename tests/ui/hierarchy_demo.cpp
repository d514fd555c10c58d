// A small program of the tool's shape, run as a whole process: a main frame with a
// child pane, two buttons, a slider and labels, driven by a main loop that ends when
// the framework's window list is empty. Prints "ready" once shown; closing the main
// window must end the process with status 0.
#include "tevrin/ui/button.h"
#include "tevrin/ui/font.h"
#include "tevrin/ui/label.h"
#include "tevrin/ui/slider.h"
#include "tevrin/ui/window.h"
#include "tevrin/ui/window_list.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

int deletedWindows = 0;

class Pane : public tevrin::Window {
public:
    Pane() { styleKind = kindChild; }
    ~Pane() override { ++deletedWindows; }
    const char* GetTypeName() const override { return "Pane"; }
    bool HandlePaintEvent(tevrin::GraphicsContext&, const RECT&) override { return false; }
    bool HandleSizeEvent(int, int) override { return false; }
};

class Frame : public tevrin::Window {
public:
    Frame() { styleKind = kindMainFrame; }
    ~Frame() override
    {
        controls.clear();
        ++deletedWindows;
    }
    const char* GetTypeName() const override { return "Frame"; }
    bool HandlePaintEvent(tevrin::GraphicsContext&, const RECT&) override { return false; }
    bool HandleSizeEvent(int, int) override { return false; }

    void HandleCreateEvent() override
    {
        (new Pane)->Create(200, 150, this, 10, 10);
        Add<tevrin::Label>()->Create(1, 80, 20, L"Surface", this, 0);
        auto* clear = Add<tevrin::Button>();
        clear->Create(10, 80, 24, this);
        clear->SetText("Clear");
        auto* copy = Add<tevrin::Button>();
        copy->Create(11, 80, 24, this);
        copy->SetText("Copy");
        Add<tevrin::Label>()->Create(2, 100, 20, L"Pressure gamma:", this, 2);
        Add<tevrin::Slider>()->Create(3, 150, 30, this);
        for (const auto& control : controls)
            control->SetFont(tevrin::InterfaceFont().GetHandle());
    }

private:
    template <typename T>
    T* Add()
    {
        controls.emplace_back(new T);
        return static_cast<T*>(controls.back().get());
    }
    std::vector<std::unique_ptr<tevrin::Control>> controls;
};

// Returns false when a WM_QUIT ended the loop instead of the empty window list.
bool RunUntilNoWindowIsLeft()
{
    MSG message;
    while (!tevrin::WindowList().empty()) {
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            Sleep(10);
            continue;
        }
        TranslateMessage(&message);
        if (message.message == WM_QUIT)
            return false;
        DispatchMessageW(&message);
    }
    return true;
}

}  // namespace

int main()
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    try {
        Frame* frame = new Frame;
        frame->Create(500, 400);
        frame->SetTitle("Framework hierarchy");
        frame->Show(true);
        std::printf("ready\n");
        std::fflush(stdout);
        if (!RunUntilNoWindowIsLeft()) {
            std::printf("the loop saw WM_QUIT\n");
            return 3;
        }
    } catch (const char* message) {
        std::printf("failed: %s\n", message);
        return 2;
    }
    std::printf("windows deleted: %d\n", deletedWindows);
    return deletedWindows == 2 ? 0 : 4;
}
