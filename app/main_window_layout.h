#pragma once
// Where the main window's children go at a given DPI. Platform-free: the window
// measures its texts and hands the sizes in.
//
// Every control box is its 96-DPI size scaled by DPI / 96, grown where its text needs
// more; the distances between them scale the same way, and each position follows the
// actual sizes of the boxes before it, so no two overlap. Under the surfaces, a
// caption gives up the room beyond its text that its centred button needs (at 250 %
// a scaled caption would reach past its surface's middle). The drawing surfaces keep
// their device-pixel size. At 96 DPI with texts that fit, every box lands where it
// always did.

struct Box {
    int left = 0, top = 0, width = 0, height = 0;
    int Right() const { return left + width; }
    int Bottom() const { return top + height; }
};

struct BoxSize {
    int width = 0, height = 0;
};

// What the layout is given: the DPI, the smallest box that holds each control's text
// (the text's extent plus the margins the control draws), the surfaces and the client
// area.
struct MainWindowMeasures {
    int dpi = 96;
    BoxSize gdiCaption, openGLCaption, clearButton, gammaCaption, gammaValue;
    Box gdiSurface, openGLSurface;
    int clientWidth = 0, clientHeight = 0;
};

struct MainWindowLayout {
    Box gdiCaption, openGLCaption, gdiClearButton, openGLClearButton, gammaCaption, gammaSlider, gammaValue, logPane;
    int minimumClientWidth = 0, minimumClientHeight = 0;
};

// A length of the 96-DPI layout at another DPI, rounded as the log pane's line height.
int ScaleToDpi(int pixels, int dpi);

MainWindowLayout LayOutMainWindow(const MainWindowMeasures& measures);
