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

// The button is centred under its surface, but never over the caption beside it.
int ButtonLeft(const Box& surface, const Box& caption, int buttonWidth, int gap)
{
    return std::max((surface.width - buttonWidth) / 2 + surface.left, caption.Right() + gap);
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
    const int captionTop = m.gdiSurface.Bottom() + s(belowSurface);
    l.gdiCaption = s.At(s(captionIndent), captionTop, captionSize, m.gdiCaption);
    l.openGLCaption = s.At(m.openGLSurface.left + s(captionIndent), captionTop, captionSize, m.openGLCaption);
    l.gdiClearButton = s.At(0, captionTop, clearButtonSize, m.clearButton);
    l.gdiClearButton.left = ButtonLeft(m.gdiSurface, l.gdiCaption, l.gdiClearButton.width, s(besideCaption));
    l.openGLClearButton = s.At(0, m.openGLSurface.Bottom() + s(belowSurface), clearButtonSize, m.clearButton);
    l.openGLClearButton.left = ButtonLeft(m.openGLSurface, l.openGLCaption, l.openGLClearButton.width, s(besideCaption));

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
