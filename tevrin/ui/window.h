#pragma once
// tevrin::Window: one Win32 window and the object paired with it through the
// handle's user data. The object lives exactly as long as its window: destroying the
// handle deletes the object, and deleting the object destroys the handle.
#include "tevrin/core/delegate.h"
#include "tevrin/core/filesystem_entity_id.h"
#include "tevrin/core/listener.h"
#include "tevrin/core/types.h"
#include "tevrin/ui/graphics_context.h"
#include "tevrin/ui/menu_item.h"
#include "tevrin/ui/pointer_tracker.h"
#include "tevrin/ui/scroll_info.h"

#include <windows.h>

#include <string>
#include <vector>

namespace tevrin {

class Control;
class Font;

struct WindowStyles {
    DWORD style;
    DWORD extended;
};

// One message as the window procedure received it.
struct WindowMessage {
    HWND handle;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

struct BackgroundColor {
    f32 r;
    f32 g;
    f32 b;
};

class Window : public PointerTracker, public notifier, public listener, public ICommandTarget {
public:
    using WindowCallback = delegate<void(Window*)>;

    // Window kinds for styleKind.
    enum Kind : u32 {
        kindMainFrame = 1,
        kindChild = 2,
        kindToolWindow = 3,
        kindSizableToolWindow = 4,
        kindDialog = 5,
        kindSizableDialog = 6,
        kindPopup = 7,
    };

    // Always made with new; see the lifetime note at the top.
    Window();
    ~Window() override;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // The one procedure of every framework window class.
    static LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // The object of a framework window handle (class name starting "tevrin", user data set), else null.
    static Window* FromHandle(HWND handle);
    // From handle upwards through parents (owners at the top) to the first framework window.
    static Window* FindWindowObject(HWND handle);
    // Offers a queued message to the nearest accelerator table from window upwards.
    static bool TranslateKeyboardAccelerator(Window* window, MSG* message);
    // The table TranslateKeyboardAccelerator offers this window's keys to (and its
    // children's, when they have none); the caller keeps the table alive.
    void SetAcceleratorTable(HACCEL table) { accelerators = table; }
    // The first window created in this process, or null.
    static Window* GetApplicationWindow();

    Window* GetParentWindow() const;
    HWND GetHandle() const { return hwnd; }
    u32 GetStyleKind() const { return styleKind; }

    int GetLeft() const;
    int GetTop() const;
    int GetBottom() const;

    virtual bool IsValid(std::string& reason);
    virtual const char* GetTypeName() const = 0;
    // Throws a const char* message when the window cannot be made.
    virtual void Create(int width, int height, Window* parent = nullptr, int x = 0, int y = 0);
    virtual void CreateModal(int width, int height, Window* owner, const WindowCallback& onEnd);
    virtual void EndModal();
    virtual bool GetUserFlag() const { return userFlag; }
    virtual void HandleInitEvent() {}
    virtual void HandleCreateEvent() {}
    virtual void SetIconId(u32 id) { iconId = id; }
    virtual void GetEditCommandIds(int& cut, int& copy, int& paste, int& undo);
    virtual void HandleDescendantFocusLost() {}
    virtual void HandleDescendantFocusGained();
    virtual void* RelayToParentA(u64 argument);
    virtual void* RelayToParentB(u64 argument);
    virtual void* RelayToParentC(u64 argument);
    virtual void DetachHandle() { hwnd = nullptr; }
    virtual void Clear();
    virtual void SetChildrenFont(const Font& font);
    virtual void SetFocus();
    virtual bool HasFocus() const;
    virtual void Enable(bool enabled);
    virtual bool IsTopLevel() const;
    virtual bool HasMenu() const { return menuId != 0; }
    virtual Window* GetTopLevelWindow();
    virtual bool IsChild() const { return !IsTopLevel(); }
    virtual void Show(bool visible);
    virtual bool IsVisible(bool styleOnly) const;

    virtual void SetSize(int width, int height);
    virtual void SetClientSize(int width, int height);
    virtual void GetSizeLimits(int& minWidth, int& minHeight, int& maxWidth, int& maxHeight) const;
    virtual void SetPosition(int x, int y, bool relative);
    virtual void SetRectangle(const RECT& rectangle);
    virtual void BringToFront(bool activate);
    virtual void* RelayToParentD(u64 first, u64 second);
    virtual void ShowPopupMenu(const std::vector<MenuItem>& items, const POINT& at);
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual int GetClientWidth() const;
    virtual int GetClientHeight() const;
    virtual int GetFrameWidth() const;
    virtual int GetFrameHeight() const;
    virtual int GetClientOffsetX();
    virtual int GetClientOffsetY();
    virtual int GetMenuBarHeight() const;
    virtual void GetRectangle(RECT& out) const;

    virtual std::string GetTitle() const;
    virtual std::string GetDescription() const;
    virtual void SetTitle(const std::wstring& title);
    virtual void SetTitle(const wchar_t* title);
    virtual void SetTitle(const std::string& utf8Title);
    virtual void SetTitle(const char* utf8Title);

    virtual void SetComboItems(int id, const std::vector<std::wstring>& items);
    virtual void SetComboItems(int id, const std::vector<std::string>& utf8Items);
    virtual void SetComboItems(int id, const wchar_t* items, const wchar_t* values);
    virtual void Invalidate();
    virtual void Update();
    virtual Control* GetControl(int id, bool complain);
    virtual void AdoptDialogControls(u16 dialogId);
    virtual void CloneDialogControls(u16 dialogId);
    virtual void CreateStaticText(int id, const wchar_t* text, int x, int y, int width, int height);
    virtual void CreateStaticText(int id, const char* utf8Text, int x, int y, int width, int height);
    virtual void CreateComboBox(int id, bool dropDownList, int x, int y, int width, int height);
    virtual void SelectComboValue(int id, int value);
    virtual int GetComboValue(int id);
    virtual std::string GetComboText(int id);
    virtual std::wstring GetComboTextW(int id);
    virtual void SetCheck(int id, bool on);
    virtual bool GetCheck(int id);
    virtual void SetControlText(int id, const std::wstring& text);
    virtual std::wstring GetControlText(int id);
    virtual RECT GetChildrenBounds() const;
    virtual bool ChangeControlFocus(Control* from, bool backwards);
    virtual bool GetChildWindows(std::vector<Window*>& out) const;
    virtual bool SpareQuery() { return false; }

    virtual void HandleDestroyEvent() {}
    virtual bool HandlePaintEvent(GraphicsContext& gc, const RECT& dirty) = 0;
    virtual bool HandleSizeEvent(int clientWidth, int clientHeight) = 0;
    virtual bool HandleSizingEvent() { return false; }
    virtual bool HandleBeginSizeMoveEvent() { return false; }
    virtual bool HandleEndSizeMoveEvent() { return false; }
    virtual bool SendCommandToParent(int id);
    virtual bool HandleFirstShowEvent() { return false; }
    virtual bool HandleCloseEvent() { return false; }
    virtual bool HandleKeyEvent(u16 /*key*/) { return false; }
    virtual bool HandlePointerDownEvent(int /*button*/) { return false; }
    virtual bool HandlePointerMoveEvent() { return false; }
    virtual bool HandlePointerUpEvent(int /*button*/) { return false; }
    virtual bool HandleDoubleClickEvent(int /*button*/) { return false; }
    virtual bool HandleWheelEvent(int /*notches*/) { return false; }
    virtual bool HandleSetCursorEvent() { return false; }
    virtual bool HandleSelectionEvent(int /*controlId*/) { return false; }
    virtual bool HandleSpareEvent() { return false; }
    virtual bool HandleDropFilesEvent(const std::vector<filesystem_entity_id>& /*files*/) { return false; }
    virtual bool HandleGetFocusEvent(int from);
    virtual bool HandleLoseFocusEvent() { return false; }
    virtual bool HandleActivateEvent(bool active);
    virtual bool HandleAppActivateEvent(bool /*active*/) { return false; }
    virtual bool HandleContextMenuEvent(const POINT& /*at*/, bool /*fromPointer*/) { return false; }
    virtual bool HandleNotifyEvent(HWND /*from*/, NMHDR* /*info*/) { return false; }
    virtual bool HandleScrollEvent(const ScrollInfo& /*info*/, int /*code*/) { return false; }
    virtual bool HandleControlScrollEvent(Control* /*control*/) { return false; }
    // WM_DPICHANGED: the window's new DPI and the outer rectangle the system suggests.
    virtual bool HandleDpiChangeEvent(int /*dpi*/, const RECT& /*suggested*/) { return false; }
    // WM_GETDPISCALEDSIZE, before a move to a monitor of another DPI: true when the
    // outer size the window wants at that DPI was put in size.
    virtual bool HandleDpiScaledSizeEvent(int /*dpi*/, SIZE& /*size*/) { return false; }
    virtual ScrollInfo& GetScrollInfo(ScrollInfo& out, bool vertical) const;

protected:
    // Creation settings: a subclass sets them before it calls Create.
    u32 styleKind = 0;
    u32 iconId = 0;
    u32 menuId = 0;
    bool acceptsFiles = false;
    bool composited = false;
    bool ownDC = false;
    bool tabStop = false;
    bool verticalScrollBar = false;
    bool horizontalScrollBar = false;
    bool quietFocus = false;
    BackgroundColor backgroundColor;

    HWND hwnd = nullptr;
    HBRUSH backgroundBrush = nullptr;
    HACCEL accelerators = nullptr;
    bool firstShowPending = true;
    bool noEraseBackground = false;
    bool modal = false;
    Window* modalOwner = nullptr;
    bool userFlag = false;
    WindowCallback onModalEnd;
    i32 sizeAtMoveStart[2] = {0, 0};
    PointerPosition lastPointerMove;
    WindowCallback onClose;

private:
    std::wstring ComposeClassName() const;
    WindowStyles ComposeStyles() const;
    HMENU LoadMenuIfAny() const;
    void FillEditCommandIdsOnce();
    void FinishCreation(bool wasFirstWindow);
    void RegisterClassIfNeeded(const std::wstring& className);
    void ReenableAfterModal();
    void PairWithHandle(HWND handle);
    bool IsApplicationWindowChild() const;

    LRESULT Dispatch(const WindowMessage& m);
    LRESULT DispatchFocusMessage(const WindowMessage& m);
    LRESULT DispatchPointerMessage(const WindowMessage& m);
    LRESULT DispatchSizeMessage(const WindowMessage& m);
    LRESULT DispatchKeyMessage(const WindowMessage& m);
    LRESULT DispatchControlMessage(const WindowMessage& m);
    LRESULT OnPaint(const WindowMessage& m);
    LRESULT OnSetCursor(const WindowMessage& m);
    LRESULT OnDrawItem(const WindowMessage& m);
    LRESULT OnNotify(const WindowMessage& m);
    LRESULT OnDropFiles(const WindowMessage& m);
    LRESULT OnCommand(const WindowMessage& m);
    bool ForwardEditCommand(int id);
    Window* FirstCommandTarget(int id);
    static LRESULT Default(const WindowMessage& m);
    static LRESULT ResultOf(bool handled, const WindowMessage& m);
};

// The key codes HandleKeyEvent receives for the non-character keys.
enum KeyCode : u16 {
    keyDelete = 1,
    keyLeft = 2,
    keyRight = 3,
    keyUp = 4,
    keyDown = 5,
    keyPageUp = 6,
    keyPageDown = 7,
    keyEnd = 11,
    keyHome = 14,
    keyTab = 9,
    keyEscape = 27,
};

}  // namespace tevrin
