#include "app/app_window.h"

#include "app/nibscope_view_gl.h"
#include "app/nibscope_view_native.h"
#include "app/pressure_mapping.h"
#include "app/stroke_settings.h"
#include "tevrin/core/diagnostics.h"
#include "tevrin/ui/button.h"
#include "tevrin/ui/control.h"
#include "tevrin/ui/label.h"
#include "tevrin/ui/slider.h"
#include "tevrin/ui/font.h"
#include "tevrin/ui/log_view.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr tevrin::u64 logLineLimit = 1000;
constexpr int surfaceSize = 360;
constexpr int openGLSurfaceLeft = 361;

void GiveHeapAllocator(tevrin::dib& canvas)
{
    canvas.allocate = [](size_t bytes) { return std::malloc(bytes); };
    canvas.release = [](void* block) { std::free(block); };
}

void FillWithColour(HDC dc, const RECT& area, COLORREF colour)
{
    const COLORREF previous = SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, L"", 0, nullptr);
    SetBkColor(dc, previous);
}

template <typename Control>
void ShowWithInterfaceFont(Control* control)
{
    control->SetFont(tevrin::InterfaceFont().GetHandle());
    control->Show(true);
}

}  // namespace

AppWindow::AppWindow()
{
    styleKind = kindMainFrame;
    ownDC = true;
    noEraseBackground = true;
}

AppWindow::~AppWindow()
{
    delete logView_;
    delete gdiView_;
    delete openGLView_;
    delete gdiClearButton_;
    delete openGLClearButton_;
    delete strokeSettings_;
    delete gdiCaption_;
    delete openGLCaption_;
    delete gammaSlider_;
    delete gammaCaption_;
    delete gammaValueLabel_;
}

void AppWindow::HandleCreateEvent()
{
    gamma_ = kDefaultPressureGamma;
    strokeSettings_ = new StrokeSettings;
    strokeSettings_->interpolate = true;
    CreateSurfaces();
    CreateControls();
    CreateLogView();
    gdiView_->SetFocus();
}

void AppWindow::CreateSurfaces()
{
    gdiView_ = new NibscopeViewNative;
    GiveHeapAllocator(gdiView_->Canvas());
    gdiView_->SetName("GDI surface");
    gdiView_->SetStrokeSettings(strokeSettings_);
    gdiView_->Create(surfaceSize, surfaceSize, this, 0, 0);
    gdiView_->SetGamma(gamma_);
    tevrin::log_line("Created GDI tablet view %p", static_cast<void*>(gdiView_));
    gdiView_->Show(true);

    openGLView_ = new NibscopeViewGL;
    openGLView_->SetName("OpenGL surface");
    openGLView_->Create(surfaceSize, surfaceSize, this, openGLSurfaceLeft, 0);
    tevrin::log_line("Created OpenGL tablet view %p", static_cast<void*>(openGLView_));
    openGLView_->SetStrokeSettings(strokeSettings_);
    openGLView_->SetGamma(gamma_);
    openGLView_->Show(true);
}

void AppWindow::CreateControls()
{
    gdiCaption_ = new tevrin::Label;
    gdiCaption_->Create(gdiCaptionId, 100, 20, "GDI", this, 0);
    ShowWithInterfaceFont(gdiCaption_);
    openGLCaption_ = new tevrin::Label;
    openGLCaption_->Create(openGLCaptionId, 100, 20, "OpenGL", this, 0);
    ShowWithInterfaceFont(openGLCaption_);

    gdiClearButton_ = new tevrin::Button;
    gdiClearButton_->Create(gdiClearButtonId, 50, 20, this);
    openGLClearButton_ = new tevrin::Button;
    openGLClearButton_->Create(openGLClearButtonId, 50, 20, this);
    for (tevrin::Button* button : {gdiClearButton_, openGLClearButton_}) {
        button->SetText("Clear");
        button->SetFont(tevrin::InterfaceFont().GetHandle());
    }

    gammaSlider_ = new tevrin::Slider;
    gammaSlider_->Create(gammaSliderId, 200, 20, this);
    gammaSlider_->SetValue(SliderValueFromGamma(gamma_));

    gammaCaption_ = new tevrin::Label;
    gammaCaption_->Create(gammaCaptionId, 100, 25, "Pressure gamma:", this, 0);
    ShowWithInterfaceFont(gammaCaption_);
    gammaValueLabel_ = new tevrin::Label;
    gammaValueLabel_->Create(gammaValueLabelId, 25, 20, "3.00", this, 0);
    ShowWithInterfaceFont(gammaValueLabel_);
}

void AppWindow::CreateLogView()
{
    logView_ = new tevrin::LogView(logLineLimit);
    GiveHeapAllocator(logView_->BackBuffer());
    logView_->Create(GetClientWidth(), 200, this, 0, 0);
    logView_->Show(true);
}

void AppWindow::GetSizeLimits(int& minWidth, int& minHeight, int& maxWidth, int& maxHeight) const
{
    minWidth = GetFrameWidth() + minimumClientWidth;
    minHeight = GetFrameHeight() + minimumClientHeight;
    maxWidth = -1;
    maxHeight = -1;
}

void AppWindow::HandleDestroyEvent()
{
    tevrin::debug_trace("AppWindow::HandleDestroyEvent\n");
}

bool AppWindow::HandlePaintEvent(tevrin::GraphicsContext& gc, const RECT& dirty)
{
    const HDC dc = gc.DeviceContext();
    FillWithColour(dc, dirty, GetSysColor(COLOR_BTNFACE));
    if (logView_) {
        const int separatorY = logView_->GetTop() - 2;
        const RECT separator = {0, separatorY, logView_->GetLeft() + logView_->GetWidth(), separatorY + 1};
        FillWithColour(dc, separator, 0);
    }
    return false;
}

bool AppWindow::HandleSizeEvent(int clientWidth, int /*clientHeight*/)
{
    if (!gdiView_ || !gdiClearButton_ || !gammaSlider_ || !logView_)
        return false;
    const int belowSurfaces = gdiView_->GetBottom() + 5;
    gdiCaption_->SetPosition(2, belowSurfaces);
    gdiClearButton_->SetPosition((gdiView_->GetWidth() - gdiClearButton_->GetWidth()) / 2, belowSurfaces);
    if (openGLView_) {
        const NibscopeView* openGL = openGLView_;
        openGLClearButton_->SetPosition(
            (openGL->GetWidth() - gdiClearButton_->GetWidth()) / 2 + openGL->GetLeft(), openGL->GetBottom() + 5);
        openGLCaption_->SetPosition(openGL->GetLeft() + 2, belowSurfaces);
    }
    const int buttonBottom = gdiClearButton_->GetBottom();
    gammaCaption_->SetPosition(10, buttonBottom + 9);
    gammaSlider_->SetPosition(gammaCaption_->GetRight() + 5, buttonBottom + 7);
    gammaValueLabel_->SetPosition(gammaSlider_->GetRight() + 10, buttonBottom + 10);
    const int logTop = gammaSlider_->GetBottom() + 20;
    logView_->SetPosition(0, logTop, false);
    logView_->SetSize(clientWidth, GetClientHeight() - logTop);
    return false;
}

bool AppWindow::HandleActivateEvent(bool active)
{
    Window::HandleActivateEvent(active);
    if (gdiView_) {
        if (active)
            gdiView_->BringTabletContextToTop();
        gdiView_->SetFocus();
    }
    return true;
}

bool AppWindow::HandleControlScrollEvent(tevrin::Control* control)
{
    if (control != gammaSlider_)
        return false;
    SetGamma(GammaFromSliderValue(gammaSlider_->GetValue()));
    return true;
}

void AppWindow::SetGamma(float gamma)
{
    if (gamma == gamma_)
        return;
    gamma_ = gamma;
    gdiView_->SetGamma(gamma);
    if (openGLView_)
        openGLView_->SetGamma(gamma);
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", gamma);
    gammaValueLabel_->SetText(std::string(text));
}

bool AppWindow::HandleCommand(int id)
{
    if (id == gdiClearButtonId) {
        gdiView_->Clear();
        return true;
    }
    if (id == openGLClearButtonId) {
        if (openGLView_)
            openGLView_->Clear();
        return true;
    }
    return false;
}

void AppWindow::FlushLog()
{
    if (logView_)
        tevrin::drain_log_lines(logView_);
}
