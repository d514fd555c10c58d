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
#include "tevrin/ui/handle_queries.h"
#include "tevrin/ui/log_view.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <initializer_list>

namespace {

constexpr tevrin::u64 logLineLimit = 1000;
constexpr int surfaceSize = 360;
constexpr int openGLSurfaceLeft = 361;

void GiveHeapAllocator(tevrin::dib& canvas)
{
    canvas.allocate = [](size_t bytes) { return std::malloc(bytes); };
    canvas.release = [](void* block) { std::free(block); };
}

// The widest text the gamma value label shows: the slider's right end.
constexpr const wchar_t* widestGammaText = L"5.00";

// A push button draws its edge (2 pixels at 96 DPI) and, inside it on the left and
// right, the focus rectangle (1 pixel); static text draws no margins.
constexpr int buttonMarginX = 3, buttonMarginY = 2;

Box BoxOf(const tevrin::Window& window)
{
    return {window.GetLeft(), window.GetTop(), window.GetWidth(), window.GetHeight()};
}

void Place(tevrin::Control& control, const Box& box)
{
    control.SetSize(box.width, box.height);
    control.SetPosition(box.left, box.top);
}

// The smallest box that shows the text whole in the font, with the control's margins.
BoxSize TextBoxSize(const tevrin::Control& control, HFONT font, const wchar_t* text, int marginX = 0, int marginY = 0)
{
    const tevrin::unique_window_dc dc = tevrin::acquire_window_dc(control.GetHandle());
    const HGDIOBJ previous = SelectObject(dc.get(), font);
    SIZE extent = {};
    GetTextExtentPoint32W(dc.get(), text, static_cast<int>(std::wcslen(text)), &extent);
    SelectObject(dc.get(), previous);
    return {extent.cx + 2 * marginX, extent.cy + 2 * marginY};
}

// The outer size of the layout's minimum client area at a DPI, with the frame at that
// DPI: AdjustWindowRectExForDpi from Windows 10 version 1607 on, looked up; before that
// the frame is the same at every DPI.
SIZE MinimumOuterSize(HWND window, const MainWindowLayout& layout, int dpi)
{
    using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    const auto adjust = reinterpret_cast<AdjustForDpi>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    const BOOL menu = GetMenu(window) != nullptr;
    RECT outer = {0, 0, layout.minimumClientWidth, layout.minimumClientHeight};
    if (!adjust || !adjust(&outer, style, menu, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&outer, style, menu, exStyle);
    return {outer.right - outer.left, outer.bottom - outer.top};
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

// The boxes are created at their 96-DPI sizes; the layout sizes them for the DPI.
void AppWindow::CreateControls()
{
    gdiCaption_ = std::make_unique<tevrin::Label>();
    gdiCaption_->Create(gdiCaptionId, 100, 20, "GDI", this, 0);
    openGLCaption_ = std::make_unique<tevrin::Label>();
    openGLCaption_->Create(openGLCaptionId, 100, 20, "OpenGL", this, 0);

    gdiClearButton_ = std::make_unique<tevrin::Button>();
    gdiClearButton_->Create(gdiClearButtonId, 50, 20, this);
    openGLClearButton_ = std::make_unique<tevrin::Button>();
    openGLClearButton_->Create(openGLClearButtonId, 50, 20, this);
    for (tevrin::Button* button : {gdiClearButton_.get(), openGLClearButton_.get()})
        button->SetText("Clear");

    gammaSlider_ = std::make_unique<tevrin::Slider>();
    gammaSlider_->Create(gammaSliderId, 200, 20, this);
    gammaSlider_->SetValue(SliderValueFromGamma(gamma_));

    gammaCaption_ = std::make_unique<tevrin::Label>();
    gammaCaption_->Create(gammaCaptionId, 100, 25, "Pressure gamma:", this, 0);
    gammaValueLabel_ = std::make_unique<tevrin::Label>();
    gammaValueLabel_->Create(gammaValueLabelId, 25, 20, "3.00", this, 0);
    ApplyDpi(tevrin::WindowDpi(hwnd));
    for (tevrin::Label* label : {gdiCaption_.get(), openGLCaption_.get(), gammaCaption_.get(), gammaValueLabel_.get()})
        label->Show(true);
}

void AppWindow::ApplyDpi(int dpi)
{
    auto dpiFont = std::make_unique<tevrin::Font>(tevrin::InterfaceFont().GetFaceName().c_str(),
                                                  tevrin::InterfaceFont().GetPointSize(),
                                                  tevrin::InterfaceFont().IsBold(), dpi);
    const HFONT font = dpiFont->GetHandle();
    for (tevrin::Control* control : std::initializer_list<tevrin::Control*>{
             gdiCaption_.get(), openGLCaption_.get(), gdiClearButton_.get(), openGLClearButton_.get(),
             gammaCaption_.get(), gammaValueLabel_.get()})
        control->SetFont(font);
    interfaceFont_ = std::move(dpiFont);  // the controls no longer use the old one
    measures_ = MeasureTexts(font, dpi);
}

MainWindowMeasures AppWindow::MeasureTexts(HFONT font, int dpi) const
{
    MainWindowMeasures measures;
    measures.dpi = dpi;
    measures.gdiCaption = TextBoxSize(*gdiCaption_, font, L"GDI");
    measures.openGLCaption = TextBoxSize(*openGLCaption_, font, L"OpenGL");
    measures.clearButton = TextBoxSize(*gdiClearButton_, font, L"Clear", ScaleToDpi(buttonMarginX, dpi),
                                       ScaleToDpi(buttonMarginY, dpi));
    measures.gammaCaption = TextBoxSize(*gammaCaption_, font, L"Pressure gamma:");
    measures.gammaValue = TextBoxSize(*gammaValueLabel_, font, widestGammaText);
    return measures;
}

void AppWindow::CreateLogView()
{
    logView_ = std::make_unique<tevrin::LogView>(logLineLimit);
    GiveHeapAllocator(logView_->BackBuffer());
    logView_->Create(GetClientWidth(), 200, this, 0, 0);
    logView_->Show(true);
}

MainWindowLayout AppWindow::GetLayout() const
{
    return LayOut(measures_);
}

MainWindowLayout AppWindow::LayOut(MainWindowMeasures measures) const
{
    measures.gdiSurface = gdiView_ ? BoxOf(*gdiView_) : Box{0, 0, surfaceSize, surfaceSize};
    measures.openGLSurface = openGLView_ ? BoxOf(*openGLView_) : Box{openGLSurfaceLeft, 0, surfaceSize, surfaceSize};
    measures.clientWidth = GetClientWidth();
    measures.clientHeight = GetClientHeight();
    return LayOutMainWindow(measures);
}

void AppWindow::GetSizeLimits(int& minWidth, int& minHeight, int& maxWidth, int& maxHeight) const
{
    const MainWindowLayout layout = GetLayout();
    minWidth = GetFrameWidth() + layout.minimumClientWidth;
    minHeight = GetFrameHeight() + layout.minimumClientHeight;
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

bool AppWindow::HandleSizeEvent(int /*clientWidth*/, int /*clientHeight*/)
{
    if (!gdiView_ || !gdiClearButton_ || !gammaSlider_ || !logView_)
        return false;
    const MainWindowLayout layout = GetLayout();
    Place(*gdiCaption_, layout.gdiCaption);
    Place(*gdiClearButton_, layout.gdiClearButton);
    if (openGLView_) {
        Place(*openGLClearButton_, layout.openGLClearButton);
        Place(*openGLCaption_, layout.openGLCaption);
    }
    Place(*gammaCaption_, layout.gammaCaption);
    Place(*gammaSlider_, layout.gammaSlider);
    Place(*gammaValueLabel_, layout.gammaValue);
    logView_->SetPosition(0, layout.logPane.top, false);
    logView_->SetSize(layout.logPane.width, layout.logPane.height);
    return false;
}

bool AppWindow::HandleDpiChangeEvent(int dpi, const RECT& suggested)
{
    ApplyDpi(dpi);
    logView_->SetDpi(dpi);
    SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // The suggested size may be the current one, which sends no WM_SIZE.
    HandleSizeEvent(GetClientWidth(), GetClientHeight());
    Invalidate();
    return true;
}

bool AppWindow::HandleDpiScaledSizeEvent(int dpi, SIZE& size)
{
    if (!gdiCaption_)
        return false;
    const tevrin::Font font(tevrin::InterfaceFont().GetFaceName().c_str(), tevrin::InterfaceFont().GetPointSize(),
                            tevrin::InterfaceFont().IsBold(), dpi);
    const SIZE smallestHere = MinimumOuterSize(hwnd, GetLayout(), measures_.dpi);
    const SIZE smallestThere = MinimumOuterSize(hwnd, LayOut(MeasureTexts(font.GetHandle(), dpi)), dpi);
    size = {smallestThere.cx + MulDiv(GetWidth() - smallestHere.cx, dpi, measures_.dpi),
            smallestThere.cy + MulDiv(GetHeight() - smallestHere.cy, dpi, measures_.dpi)};
    return true;
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
