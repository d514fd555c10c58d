#include "app/nibscope_view.h"

#include "app/dda_filler.h"
#include "app/pressure_mapping.h"
#include "app/round_brushes.h"
#include "app/stroke_settings.h"
#include "tevrin/core/diagnostics.h"
#include "tevrin/tablet/pen_state.h"

#include <windowsx.h>

#include <algorithm>

namespace {

constexpr int crossCursorId = 129;

// Sets a flag for the life of a scope, and clears it however the scope is left.
class FlagWhileInScope {
public:
    explicit FlagWhileInScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagWhileInScope() { flag_ = false; }
    FlagWhileInScope(const FlagWhileInScope&) = delete;
    FlagWhileInScope& operator=(const FlagWhileInScope&) = delete;

private:
    bool& flag_;
};

StampSquare Union(const StampSquare& a, const StampSquare& b)
{
    return StampSquare{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                       std::max(a.bottom, b.bottom)};
}

}  // namespace

NibscopeView::NibscopeView() : brushes_(&RoundBrushes::Instance())
{
    styleKind = kindChild;
    tabStop = true;
    ownDC = true;
    noEraseBackground = true;
}

NibscopeView::~NibscopeView()
{
    // The tablet window procedure must not outlive the view it serves.
    if (hwnd && savedWindowProcedure_)
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedWindowProcedure_));
}

void NibscopeView::HandleInitEvent()
{
    open(hwnd, this);
}

void NibscopeView::HandleCreateEvent()
{
    attach_window(*this);
}

void NibscopeView::BringTabletContextToTop()
{
    bring_to_top();
}

tevrin::f32 NibscopeView::PointerPressure()
{
    read_latest_packet();
    return tevrin::stylus_in_use ? tevrin::pen_state.pressure : kPressureWithoutStylus;
}

bool NibscopeView::HandlePointerDownEvent(int button)
{
    BringTabletContextToTop();
    const tevrin::PointerPosition point = current[button];
    tevrin::log_line("Pointer DOWN on %s", name_.c_str());
    const tevrin::f32 mapped = MapPressure(PointerPressure(), gamma_);
    StampAt(point.x, point.y, mapped);
    previousX_ = point.x;
    previousY_ = point.y;
    previousPressure_ = mapped;
    return true;
}

// The window class asks for double clicks, so a quick second tap arrives as one
// instead of as a press. For a pen it is a press like any other: the tracker, which
// leaves double clicks alone, is given the press at the message's own position.
bool NibscopeView::HandleDoubleClickEvent(int button)
{
    POINT at = {GET_X_LPARAM(GetMessagePos()), GET_Y_LPARAM(GetMessagePos())};
    ScreenToClient(hwnd, &at);
    PointerTracker::Update(hwnd, WM_LBUTTONDOWN, MAKELPARAM(at.x, at.y));
    return HandlePointerDownEvent(button);
}

bool NibscopeView::HandlePointerMoveEvent()
{
    if (!pressed[1])
        return false;
    const tevrin::PointerPosition point = current[1];
    const tevrin::f32 mapped = MapPressure(PointerPressure(), gamma_);
    tevrin::log_line("Pressure: %d%%", PressurePercent(mapped));
    {
        const FlagWhileInScope gathering(gatheringChanges_);
        if (strokeSettings_ && strokeSettings_->interpolate) {
            WalkTo(point.x, point.y, mapped);
        } else {
            StampAt(point.x, point.y, mapped);
            previousX_ = point.x;
            previousY_ = point.y;
        }
    }
    previousPressure_ = mapped;
    ShowChanges();
    return true;
}

void NibscopeView::WalkTo(tevrin::i32 x, tevrin::i32 y, tevrin::f32 mappedPressure)
{
    OurDDAFiller& walked = OurDDAFiller::Instance();
    walked.Clear();
    walked.walk(previousX_, previousY_, x, y);
    const tevrin::u64 count = walked.Count();
    if (count <= 1) {
        StampAt(x, y, mappedPressure);
        previousX_ = x;
        previousY_ = y;
        return;
    }
    // Point 0 is the previous stamp, already painted; the pressure runs linearly to
    // the new one along the line.
    const tevrin::f32 span = mappedPressure - previousPressure_;
    for (tevrin::u64 i = 1; i < count; ++i) {
        const tevrin::f32 fraction = static_cast<tevrin::f32>(i) / static_cast<tevrin::f32>(count - 1);
        StampAt(walked[i].x, walked[i].y, previousPressure_ + fraction * span);
    }
    previousX_ = walked[count - 1].x;
    previousY_ = walked[count - 1].y;
}

void NibscopeView::StampAt(tevrin::i32 x, tevrin::i32 y, tevrin::f32 mappedPressure)
{
    Stamp(x, y, StampDiameter(mappedPressure), mappedPressure);
}

void NibscopeView::MarkChanged(const StampSquare& square, tevrin::i32 width, tevrin::i32 height)
{
    if (square.left > width - 1 || square.right < 0 || square.top > height - 1 || square.bottom < 0)
        return;
    const StampSquare clipped{std::max(square.left, 0), std::max(square.top, 0), std::min(square.right, width - 1),
                              std::min(square.bottom, height - 1)};
    changed_ = changed_ ? Union(*changed_, clipped) : clipped;
    if (!gatheringChanges_)
        ShowChanges();
}

void NibscopeView::ShowChanges()
{
    if (!changed_)
        return;
    const StampSquare area = *changed_;
    changed_.reset();
    ShowChangedArea(area);
}

bool NibscopeView::HandlePointerUpEvent(int /*button*/)
{
    tevrin::log_line("Pointer UP on %s", name_.c_str());
    read_latest_packet();
    return true;
}

bool NibscopeView::HandleSetCursorEvent()
{
    SetCursor(LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(crossCursorId)));
    return true;
}

bool NibscopeView::HandleKeyEvent(tevrin::u16 key)
{
    if (key != tevrin::keyTab)
        return false;
    ChangeControlFocus(nullptr, (GetKeyState(VK_SHIFT) & 0x8000) != 0);
    return true;
}

bool NibscopeView::HandleGetFocusEvent(int /*from*/)
{
    Invalidate();
    return true;
}

bool NibscopeView::HandleLoseFocusEvent()
{
    Invalidate();
    return true;
}
