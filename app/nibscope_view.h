#pragma once
// NibscopeView: a drawing surface that is also a tablet context for its own window.
// Pointer presses and moves read the newest pen packet, are logged, and become chains
// of round brush stamps whose size follows the pressure; the concrete surface paints
// each stamp.
#include "app/brush_stamp.h"
#include "tevrin/tablet/tablet_context.h"
#include "tevrin/ui/tablet_view.h"
#include "tevrin/ui/window.h"

#include <optional>
#include <string>

class RoundBrushes;
struct StrokeSettings;

class NibscopeView : public tevrin::Window, public tevrin::tablet_context, public tevrin::tablet_view {
public:
    NibscopeView();
    ~NibscopeView() override;

    void HandleInitEvent() override;
    void HandleCreateEvent() override;
    bool HandleKeyEvent(tevrin::u16 key) override;
    bool HandlePointerDownEvent(int button) override;
    bool HandlePointerMoveEvent() override;
    bool HandlePointerUpEvent(int button) override;
    bool HandleDoubleClickEvent(int button) override;
    bool HandleSetCursorEvent() override;
    bool HandleGetFocusEvent(int from) override;
    bool HandleLoseFocusEvent() override;

    // Paints one stamp centred on (x, y): diameter 1 to 40 pixels, strength from the
    // mapped pressure (0.0 to 1.0). Outside a pointer move the change shows at once.
    virtual void Stamp(tevrin::i32 x, tevrin::i32 y, tevrin::i32 diameter, tevrin::f32 mappedPressure) = 0;

    // Puts this view's tablet context on top of the driver's overlap order.
    void BringTabletContextToTop();

    void SetName(const std::string& name) { name_ = name; }
    void SetStrokeSettings(StrokeSettings* strokeSettings) { strokeSettings_ = strokeSettings; }
    void SetGamma(tevrin::f32 gamma) { gamma_ = gamma; }

    // tevrin::tablet_view
    tevrin::tablet_context& GetTabletContext() override { return *this; }
    WNDPROC GetSavedWindowProcedure() const override { return savedWindowProcedure_; }
    void SetSavedWindowProcedure(WNDPROC procedure) override { savedWindowProcedure_ = procedure; }

protected:
    // A surface reports here the square a stamp changed on its width x height canvas.
    // The squares of one pointer move are gathered into one rectangle and shown once
    // when the move has been stamped: a move stamps up to 499 times, and each trip to
    // the window system costs far more than the stamp itself.
    void MarkChanged(const StampSquare& square, tevrin::i32 width, tevrin::i32 height);
    // Shows what was changed since the last showing, if anything.
    void ShowChanges();
    // Brings `area` (inclusive, inside the canvas) to the screen.
    virtual void ShowChangedArea(const StampSquare& area) = 0;

private:
    tevrin::f32 PointerPressure();
    void StampAt(tevrin::i32 x, tevrin::i32 y, tevrin::f32 mappedPressure);
    void WalkTo(tevrin::i32 x, tevrin::i32 y, tevrin::f32 mappedPressure);

    WNDPROC savedWindowProcedure_ = nullptr;
    StrokeSettings* strokeSettings_ = nullptr;
    const RoundBrushes* brushes_;
    tevrin::f32 gamma_ = 1.0f;
    std::string name_ = "NibscopeView";
    tevrin::i32 previousX_ = 0;
    tevrin::i32 previousY_ = 0;
    tevrin::f32 previousPressure_ = 1.0f;
    bool gatheringChanges_ = false;
    std::optional<StampSquare> changed_;
};
