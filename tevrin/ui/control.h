#pragma once
// tevrin::Control: a thin object over a standard child control, paired with its
// handle through the handle's user data so the parent's window procedure can find
// it. Made with new; the window that made it deletes it.
#include "tevrin/core/types.h"
#include "tevrin/ui/graphics_context.h"

#include <windows.h>

#include <string>

namespace tevrin {

class Window;

class Control {
public:
    Control() = default;
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // The control object of a handle, if the handle is paired with one.
    static Control* FromHandle(HWND handle);
    // For the Tab-key procedures of buttons and sliders: true when a Tab character
    // moved the focus to a sibling and the message is used up.
    static bool MoveFocusOnTab(Control* control, UINT message, WPARAM wParam);

    HWND GetHandle() const { return handle; }
    Window* GetOwner() const { return owner; }
    bool OwnsHandle() const { return ownsHandle; }

    virtual std::wstring GetDescription() const;
    virtual void SetFont(HFONT font);
    virtual bool HasHandle() const { return handle != nullptr; }
    virtual void SetText(const char* utf8Text);
    virtual void SetText(const wchar_t* text);
    virtual void GetText(std::wstring& out) const;
    virtual void GetText(std::string& out) const;
    virtual void GetTrimmedText(std::string& out) const;
    virtual void GetTrimmedText(std::wstring& out) const;
    virtual void SetFocus();
    virtual void SetSize(int width, int height);
    virtual void SetPosition(int x, int y);
    virtual void MoveBy(int dx, int dy);
    virtual bool SpareQuery() { return false; }
    virtual bool DrawItem(GraphicsContext& gc, const RECT& item, bool selected, bool focused, u32 itemId);
    virtual bool HandleSelectionChange() { return false; }
    virtual int GetLeft() const;
    virtual int GetRight() const;
    virtual int GetTop() const;
    virtual int GetBottom() const;
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual bool AcceptsFocus() const { return true; }
    virtual bool IsVisible() const;
    virtual void Redraw(bool now);
    virtual void Show(bool visible);

protected:
    // Adopts the parent's existing child of this id, or creates a new control.
    // Returns true when a new handle was made.
    bool AdoptOrCreate(int id, int width, int height, Window* parent, const wchar_t* className, DWORD style,
                       const wchar_t* text);

    Window* owner = nullptr;
    HWND handle = nullptr;
    bool ownsHandle = false;

private:
    RECT RectangleInParent() const;
};

}  // namespace tevrin
