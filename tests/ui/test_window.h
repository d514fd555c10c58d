#pragma once
// A framework window that records the events it receives, and a guard for test windows.
#include "tevrin/ui/window.h"
#include "tevrin/ui/window_list.h"

#include <string>
#include <vector>

namespace ui_test {

using std::to_string;

class TestWindow : public tevrin::Window {
public:
    explicit TestWindow(tevrin::u32 kind = kindMainFrame, int* deletions = nullptr) : deletions_(deletions ? deletions : &ignored_)
    {
        styleKind = kind;
    }
    ~TestWindow() override { ++*deletions_; }
    const char* GetTypeName() const override { return "TestWindow"; }
    bool HandlePaintEvent(tevrin::GraphicsContext&, const RECT&) override { return false; }
    bool HandleSizeEvent(int width, int height) override { return Record("size " + to_string(width) + "x" + to_string(height)); }
    bool HandlePointerDownEvent(int button) override { return Record("down " + to_string(button)); }
    bool HandlePointerUpEvent(int button) override { return Record("up " + to_string(button)); }
    bool HandlePointerMoveEvent() override { return Record("move " + to_string(current[0].x) + "," + to_string(current[0].y)); }
    bool HandleDoubleClickEvent(int button) override { return Record("double " + to_string(button)); }
    bool HandleWheelEvent(int notches) override { return Record("wheel " + to_string(notches)); }
    bool HandleKeyEvent(tevrin::u16 key) override { return Record("key " + to_string(key)); }
    bool HandleCommand(int id) override { return Record("command " + to_string(id)) && acceptsCommands; }
    bool Record(const std::string& event) { return events.push_back(event), true; }

    bool acceptsCommands = false;
    std::vector<std::string> events;

private:
    int ignored_ = 0;
    int* deletions_;
};

// Deletes the windows a test left alive, so a failed assertion cannot leak one into the next case.
struct WindowSweeper {
    ~WindowSweeper()
    {
        ReleaseCapture();
        while (!tevrin::WindowList().empty())
            delete tevrin::WindowList().back();
    }
};

}  // namespace ui_test
