#pragma once
// An OpenGL rendering context for a window (or for a hidden 1 x 1 window of its own),
// created through WGL. The first context of the process fills the extension table.
// After construction the context is current on the constructing thread.
#include "tevrin/core/windows_handles.h"
#include "tevrin/gpu/gl_api.h"
#include "tevrin/gpu/gpu_context.h"

namespace tevrin {

// A WGL rendering context; it must no longer be current on any thread when it goes.
struct gl_context_traits : null_handle_traits<HGLRC> {
    static void close(HGLRC context) noexcept { wglDeleteContext(context); }
};
using unique_gl_context = unique_handle<gl_context_traits>;

class OpenGLContext : public IGpuContext {
public:
    // window may be null: a hidden dummy window is made and destroyed with the context.
    // Throws general_error when any creation step fails.
    explicit OpenGLContext(HWND targetWindow);
    ~OpenGLContext() override;

    bool IsValid() const override;
    void AdoptCurrent() override;
    u32 MakeCurrent() override;
    bool IsCurrent() const override;
    void SwapBuffers() override;
    GpuPoint ClientToScreen(GpuPoint point) const override;
    TexturePtr CreateTexture() override;
    u32 InstallTexture(TextureDescriptor& descriptor) override;
    u32 ReadTexture(ITexture& texture) override;
    void UpdateTexture(ITexture& texture) override;
    void DeleteTexture(i32 name) override;
    void Dump() override;

    HWND GetWindow() const { return window; }
    HDC GetDeviceContext() const { return dc.get(); }
    HGLRC GetRenderingContext() const { return glContext.get(); }

    // The class of the dummy windows, registered once per process.
    static const wchar_t* const dummyWindowClassName;

private:
    void Create();
    void CreateDummyWindow();
    void ChoosePixelFormat();
    void CreateRenderingContexts();
    void ReleaseHandles() noexcept;
    void NotifyDestroyed() noexcept;

    HWND window;
    unique_window_dc dc;
    unique_gl_context glContext;
    bool ownsWindow = false;
    bool valid = false;
};

}  // namespace tevrin
