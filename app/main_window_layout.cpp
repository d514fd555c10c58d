#include "app/main_window_layout.h"

#include <algorithm>
#include <initializer_list>

namespace {

// The 96-DPI sizes of the controls and the distances of the layout.
constexpr BoxSize captionSize = {100, 20};
constexpr BoxSize clearButtonSize = {50, 20};
constexpr BoxSize sliderSize = {200, 20};
constexpr BoxSize gammaCaptionSize = {100, 25};
constexpr BoxSize gammaValueSize = {25, 20};
constexpr int belowSurface = 5, captionIndent = 2, besideCaption = 5;
constexpr int gammaCaptionLeft = 10, gammaCaptionDown = 9, sliderDown = 7, besideSlider = 10, gammaValueDown = 10;
constexpr int belowSlider = 20, belowGammaTexts = 5, minimumLogHeight = 208;

class Scaled {
public:
    explicit Scaled(int dpi) : dpi_(dpi) {}
    int operator()(int pixels) const { return ScaleToDpi(pixels, dpi_); }
    Box At(int left, int top, BoxSize size, BoxSize needed) const
    {
        return {left, top, std::max((*this)(size.width), needed.width), std::max((*this)(size.height), needed.height)};
    }

private:
    int dpi_;
};

// A caption starts a little in from its surface's left edge, but never before the box
// to its left ends; it is as wide as at 96 DPI, scaled, but leaves the room its button
// would take centred under the surface, unless its text needs more.
Box CaptionBox(const Scaled& s, const Box& surface, int top, int after, BoxSize needed, int buttonWidth)
{
    Box caption = s.At(std::max(surface.left + s(captionIndent), after), top, captionSize, needed);
    const int centredButton = surface.left + (surface.width - buttonWidth) / 2;
    caption.width = std::max(needed.width, std::min(caption.width, centredButton - s(besideCaption) - caption.left));
    return caption;
}

// The button is centred under its surface, but never over the caption beside it.
Box ClearButtonBox(const Scaled& s, const Box& surface, int top, const Box& caption, BoxSize needed)
{
    Box button = s.At(0, top, clearButtonSize, needed);
    button.left = std::max(surface.left + (surface.width - button.width) / 2, caption.Right() + s(besideCaption));
    return button;
}

}  // namespace

int ScaleToDpi(int pixels, int dpi)
{
    return static_cast<int>(pixels * (dpi / 96.0) + 0.5);
}

MainWindowLayout LayOutMainWindow(const MainWindowMeasures& m)
{
    const Scaled s(m.dpi);
    MainWindowLayout l;
    // The row under the surfaces, left to right: each box starts after the one before.
    const int captionTop = m.gdiSurface.Bottom() + s(belowSurface);
    const int buttonWidth = s.At(0, 0, clearButtonSize, m.clearButton).width;
    l.gdiCaption = CaptionBox(s, m.gdiSurface, captionTop, 0, m.gdiCaption, buttonWidth);
    l.gdiClearButton = ClearButtonBox(s, m.gdiSurface, captionTop, l.gdiCaption, m.clearButton);
    l.openGLCaption = CaptionBox(s, m.openGLSurface, captionTop, l.gdiClearButton.Right() + s(besideCaption),
                                 m.openGLCaption, buttonWidth);
    l.openGLClearButton = ClearButtonBox(s, m.openGLSurface, m.openGLSurface.Bottom() + s(belowSurface),
                                         l.openGLCaption, m.clearButton);

    int row = 0;
    for (const Box& box : {l.gdiCaption, l.openGLCaption, l.gdiClearButton, l.openGLClearButton})
        row = std::max(row, box.Bottom());
    l.gammaCaption = s.At(s(gammaCaptionLeft), row + s(gammaCaptionDown), gammaCaptionSize, m.gammaCaption);
    l.gammaSlider = s.At(l.gammaCaption.Right() + s(besideCaption), row + s(sliderDown), sliderSize, {});
    l.gammaValue = s.At(l.gammaSlider.Right() + s(besideSlider), row + s(gammaValueDown), gammaValueSize, m.gammaValue);

    const int logTop = std::max(l.gammaSlider.Bottom() + s(belowSlider),
                                std::max(l.gammaCaption.Bottom(), l.gammaValue.Bottom()) + s(belowGammaTexts));
    l.logPane = {0, logTop, m.clientWidth, std::max(m.clientHeight - logTop, 0)};
    l.minimumClientWidth = m.openGLSurface.Right();
    for (const Box& box : {l.gdiCaption, l.openGLCaption, l.gdiClearButton, l.openGLClearButton, l.gammaValue})
        l.minimumClientWidth = std::max(l.minimumClientWidth, box.Right());
    l.minimumClientHeight = logTop + s(minimumLogHeight);
    return l;
}
