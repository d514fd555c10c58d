#pragma once
// A framework window for tests: records the events it receives, in order, and
// counts its deletions.
#include "tevrin/ui/window.h"

#include <windows.h>

#include <string>
#include <vector>

namespace ui_test {

class TestWindow : public tevrin::Window {
public:
    explicit TestWindow(tevrin::u32 kind = kindMainFrame, int* deletions = nullptr)
        : deletionCounter(deletions)
    {
        styleKind = kind;
    }
    ~TestWindow() override
    {
        if (deletionCounter)
            ++*deletionCounter;
    }

    const char* GetTypeName() const override { return "TestWindow"; }
    bool HandlePaintEvent(tevrin::GraphicsContext&, const RECT&) override { return false; }
    bool HandleSizeEvent(int width, int height) override
    {
        Record("size " + std::to_string(width) + "x" + std::to_string(height));
        return true;
    }
    void HandleDestroyEvent() override { Record("destroy"); }
    bool HandlePointerDownEvent(int button) override { return Record("down " + std::to_string(button)); }
    bool HandlePointerUpEvent(int button) override { return Record("up " + std::to_string(button)); }
    bool HandlePointerMoveEvent() override
    {
        return Record("move " + std::to_string(current[0].x) + "," + std::to_string(current[0].y));
    }
    bool HandleDoubleClickEvent(int button) override { return Record("double " + std::to_string(button)); }
    bool HandleWheelEvent(int notches) override { return Record("wheel " + std::to_string(notches)); }
    bool HandleKeyEvent(tevrin::u16 key) override { return Record("key " + std::to_string(key)); }
    bool HandleCommand(int id) override
    {
        Record("command " + std::to_string(id));
        return acceptsCommands;
    }
    bool HandleSelectionEvent(int controlId) override { return Record("selection " + std::to_string(controlId)); }
    bool HandleControlScrollEvent(tevrin::Control*) override { return Record("control scroll"); }
    bool HandleContextMenuEvent(const POINT& at, bool fromPointer) override
    {
        return Record("context " + std::to_string(at.x) + "," + std::to_string(at.y) +
                      (fromPointer ? " pointer" : " keyboard"));
    }

    // Makes the creation settings reachable for tests that vary them.
    void SetOwnDC(bool value) { ownDC = value; }
    void SetBackground(float r, float g, float b) { backgroundColor = {r, g, b}; }
    void SetMinimumSize(int width, int height) { minimum = {width, height}; }
    void SetNoEraseBackground(bool value) { noEraseBackground = value; }
    void SetAccelerators(HACCEL table) { accelerators = table; }
    void GetSizeLimits(int& minWidth, int& minHeight, int& maxWidth, int& maxHeight) const override
    {
        tevrin::Window::GetSizeLimits(minWidth, minHeight, maxWidth, maxHeight);
        if (minimum.x > 0) {
            minWidth = minimum.x;
            minHeight = minimum.y;
        }
    }

    bool acceptsCommands = false;
    std::vector<std::string> events;

private:
    bool Record(const std::string& event)
    {
        events.push_back(event);
        return true;
    }

    int* deletionCounter;
    POINT minimum = {0, 0};
};

// Dispatches everything queued for this thread, as the main loop would.
inline void PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Pumps for a while: real input through the X server arrives with some delay.
inline void PumpMessagesFor(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    do {
        PumpMessages();
        Sleep(10);
    } while (GetTickCount() - start < milliseconds);
}

// Pumps until the condition holds or the time is up; real input may take a while
// under load. Returns whether the condition held.
template <typename Condition>
bool PumpMessagesUntil(Condition condition, DWORD timeoutMilliseconds = 3000)
{
    const DWORD start = GetTickCount();
    for (;;) {
        PumpMessages();
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMilliseconds)
            return false;
        Sleep(10);
    }
}

}  // namespace ui_test
