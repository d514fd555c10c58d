#pragma once
// AppWindow: the one top-level window. Lays out the GDI and OpenGL surfaces side by
// side with a caption and a Clear button under each, the pressure-gamma slider row,
// and the log pane across the bottom.
#include "app/main_window_layout.h"
#include "tevrin/ui/window.h"

#include <memory>

class NibscopeViewGL;
class NibscopeViewNative;
struct StrokeSettings;

namespace tevrin {
class Button;
class Control;
class Font;
class Label;
class LogView;
class Slider;
}  // namespace tevrin

class AppWindow : public tevrin::Window {
public:
    static constexpr int gammaValueLabelId = 6;
    static constexpr int gammaCaptionId = 7;
    static constexpr int openGLCaptionId = 8;
    static constexpr int gdiCaptionId = 9;
    static constexpr int gdiClearButtonId = 10;
    static constexpr int openGLClearButtonId = 11;
    static constexpr int gammaSliderId = 12;
    // The minimum client area at 96 DPI with texts that fit; GetLayout gives it at others.
    static constexpr int minimumClientWidth = 721;
    static constexpr int minimumClientHeight = 640;

    AppWindow();
    ~AppWindow() override;

    const char* GetTypeName() const override { return "Nibscope"; }
    void HandleCreateEvent() override;
    void GetSizeLimits(int& minWidth, int& minHeight, int& maxWidth, int& maxHeight) const override;
    void HandleDestroyEvent() override;
    bool HandlePaintEvent(tevrin::GraphicsContext& gc, const RECT& dirty) override;
    bool HandleSizeEvent(int clientWidth, int clientHeight) override;
    bool HandleActivateEvent(bool active) override;
    bool HandleControlScrollEvent(tevrin::Control* control) override;
    bool HandleCommand(int id) override;
    // Moved to a monitor of another scale: new fonts, new boxes, the suggested rectangle.
    bool HandleDpiChangeEvent(int dpi, const RECT& suggested) override;
    // The outer size wanted at another DPI: the layout's minimum there, plus what the
    // window has beyond its minimum now, scaled. Moving back and forth keeps each size.
    bool HandleDpiScaledSizeEvent(int dpi, SIZE& size) override;

    // Where the children go at the window's DPI and client size.
    MainWindowLayout GetLayout() const;

    // Moves the queued log lines into the log pane; called on every idle pass.
    void FlushLog();

    NibscopeViewNative* GetGdiView() const { return gdiView_.get(); }
    NibscopeViewGL* GetOpenGLView() const { return openGLView_.get(); }
    tevrin::LogView* GetLogView() const { return logView_.get(); }

private:
    void CreateSurfaces();
    void CreateControls();
    void CreateLogView();
    void SetGamma(float gamma);
    // Makes the interface font at the DPI, gives it to the captions and buttons and
    // measures the boxes their texts need.
    void ApplyDpi(int dpi);
    // The boxes the texts need in the font, at its DPI.
    MainWindowMeasures MeasureTexts(HFONT font, int dpi) const;
    // The layout for the given measures, with the surfaces and client area as they are.
    MainWindowLayout LayOut(MainWindowMeasures measures) const;

    // The children go with this object, in the order the destructor gives. The window
    // objects among them are deleted while their windows still exist: this window's
    // WM_DESTROY arrives before its children's, so the framework never deletes them.
    std::unique_ptr<NibscopeViewNative> gdiView_;
    std::unique_ptr<NibscopeViewGL> openGLView_;  // the OpenGL surface, when it exists
    std::unique_ptr<tevrin::LogView> logView_;
    std::unique_ptr<tevrin::Button> gdiClearButton_;
    std::unique_ptr<tevrin::Button> openGLClearButton_;
    std::unique_ptr<tevrin::Label> gdiCaption_;
    std::unique_ptr<tevrin::Label> openGLCaption_;
    std::unique_ptr<tevrin::Slider> gammaSlider_;
    std::unique_ptr<tevrin::Label> gammaCaption_;
    std::unique_ptr<tevrin::Label> gammaValueLabel_;
    std::unique_ptr<StrokeSettings> strokeSettings_;  // shared by both views, which do not own it
    std::unique_ptr<tevrin::Font> interfaceFont_;     // at the window's DPI, outlives the controls using it
    MainWindowMeasures measures_;
    float gamma_ = 1.0f;
};
