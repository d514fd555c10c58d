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

void ShowWithInterfaceFont(tevrin::Label& label)
{
    label.SetFont(tevrin::InterfaceFont().GetHandle());
    label.Show(true);
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
    logView_.reset();
    gdiView_.reset();
    openGLView_.reset();
    gdiClearButton_.reset();
    openGLClearButton_.reset();
    strokeSettings_.reset();
    gdiCaption_.reset();
    openGLCaption_.reset();
    gammaSlider_.reset();
    gammaCaption_.reset();
    gammaValueLabel_.reset();
}

void AppWindow::HandleCreateEvent()
{
    gamma_ = kDefaultPressureGamma;
    strokeSettings_ = std::make_unique<StrokeSettings>();
    strokeSettings_->interpolate = true;
    CreateSurfaces();
    CreateControls();
    CreateLogView();
    gdiView_->SetFocus();
}

void AppWindow::CreateSurfaces()
{
    gdiView_ = std::make_unique<NibscopeViewNative>();
    GiveHeapAllocator(gdiView_->Canvas());
    gdiView_->SetName("GDI surface");
    gdiView_->SetStrokeSettings(strokeSettings_.get());
    gdiView_->Create(surfaceSize, surfaceSize, this, 0, 0);
    gdiView_->SetGamma(gamma_);
    tevrin::log_line("Created GDI tablet view %p", static_cast<void*>(gdiView_.get()));
    gdiView_->Show(true);

    openGLView_ = std::make_unique<NibscopeViewGL>();
    openGLView_->SetName("OpenGL surface");
    openGLView_->Create(surfaceSize, surfaceSize, this, openGLSurfaceLeft, 0);
    tevrin::log_line("Created OpenGL tablet view %p", static_cast<void*>(openGLView_.get()));
    openGLView_->SetStrokeSettings(strokeSettings_.get());
    openGLView_->SetGamma(gamma_);
    openGLView_->Show(true);
}

void AppWindow::CreateControls()
{
    gdiCaption_ = std::make_unique<tevrin::Label>();
    gdiCaption_->Create(gdiCaptionId, 100, 20, "GDI", this, 0);
    ShowWithInterfaceFont(*gdiCaption_);
    openGLCaption_ = std::make_unique<tevrin::Label>();
    openGLCaption_->Create(openGLCaptionId, 100, 20, "OpenGL", this, 0);
    ShowWithInterfaceFont(*openGLCaption_);

    gdiClearButton_ = std::make_unique<tevrin::Button>();
    gdiClearButton_->Create(gdiClearButtonId, 50, 20, this);
    openGLClearButton_ = std::make_unique<tevrin::Button>();
    openGLClearButton_->Create(openGLClearButtonId, 50, 20, this);
    for (tevrin::Button* button : {gdiClearButton_.get(), openGLClearButton_.get()}) {
        button->SetText("Clear");
        button->SetFont(tevrin::InterfaceFont().GetHandle());
    }

    gammaSlider_ = std::make_unique<tevrin::Slider>();
    gammaSlider_->Create(gammaSliderId, 200, 20, this);
    gammaSlider_->SetValue(SliderValueFromGamma(gamma_));

    gammaCaption_ = std::make_unique<tevrin::Label>();
    gammaCaption_->Create(gammaCaptionId, 100, 25, "Pressure gamma:", this, 0);
    ShowWithInterfaceFont(*gammaCaption_);
    gammaValueLabel_ = std::make_unique<tevrin::Label>();
    gammaValueLabel_->Create(gammaValueLabelId, 25, 20, "3.00", this, 0);
    ShowWithInterfaceFont(*gammaValueLabel_);
}

void AppWindow::CreateLogView()
{
    logView_ = std::make_unique<tevrin::LogView>(logLineLimit);
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
    tevrin::FillRectangle(dc, dirty, GetSysColor(COLOR_BTNFACE));
    if (logView_) {
        const int separatorY = logView_->GetTop() - 2;
        const RECT separator = {0, separatorY, logView_->GetLeft() + logView_->GetWidth(), separatorY + 1};
        tevrin::FillRectangle(dc, separator, 0);
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
        const NibscopeView* openGL = openGLView_.get();
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
    if (control != gammaSlider_.get())
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
    if (!logView_)
        return;
    tevrin::drain_log_lines(logView_.get());
    logView_->ShowNewLines();
}
