#pragma once
// NibscopeViewNative: the GDI surface. Stamps go into an 8-bit grey DIB section of
// the client size, and the window repaints from it with BitBlt.
#include "app/nibscope_view.h"
#include "tevrin/raster/dib.h"

class NibscopeViewNative : public NibscopeView {
public:
    static constexpr COLORREF background = 0xC0C0C0;  // byte 192 on the grey canvas

    NibscopeViewNative() = default;
    ~NibscopeViewNative() override;

    const char* GetTypeName() const override { return "NibscopeView"; }
    void HandleCreateEvent() override;
    void Clear() override;
    bool HandlePaintEvent(tevrin::GraphicsContext& gc, const RECT& dirty) override;
    bool HandleSizeEvent(int clientWidth, int clientHeight) override;
    void Stamp(tevrin::i32 x, tevrin::i32 y, tevrin::i32 diameter, tevrin::f32 mappedPressure) override;

    // The canvas; its owner gives it the allocation delegates before creation.
    tevrin::dib& Canvas() { return canvas_; }

protected:
    void ShowChangedArea(const StampSquare& area) override;

private:
    void CreateCanvas(int width, int height);

    tevrin::dib canvas_;
};
