#pragma once
// HostWindow: a plain top-level framework window that holds the window being
// measured, as the main window holds it in the program.
#include "tevrin/ui/window.h"

namespace nibscope_benchmark {

class HostWindow : public tevrin::Window {
public:
    HostWindow() { styleKind = kindMainFrame; }

    const char* GetTypeName() const override { return "BenchmarkHost"; }
    bool HandlePaintEvent(tevrin::GraphicsContext& gc, const RECT& dirty) override;
    bool HandleSizeEvent(int, int) override { return false; }
};

}  // namespace nibscope_benchmark
