#include "tevrin/gpu/opengl_context.h"

#include "tevrin/core/diagnostics.h"
#include "tevrin/core/exception.h"
#include "tevrin/gpu/gl_extensions.h"
#include "tevrin/gpu/gpu_textures.h"
#include "tevrin/gpu/opengl_texture.h"
#include "tevrin/gpu/texture_transfer.h"

#include <cstring>
#include <memory>

namespace tevrin {
namespace {

using create_context_attribs_function = HGLRC(WINAPI*)(HDC dc, HGLRC shareContext, const int* attributes);

bool dummyClassRegistered = false;

void register_dummy_window_class()
{
    if (dummyClassRegistered)
        return;
    WNDCLASSW windowClass = {};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOWFRAME + 1));
    windowClass.lpszClassName = OpenGLContext::dummyWindowClassName;
    RegisterClassW(&windowClass);
    dummyClassRegistered = true;
}

PIXELFORMATDESCRIPTOR window_pixel_format()
{
    PIXELFORMATDESCRIPTOR descriptor;
    std::memset(&descriptor, 0, sizeof(descriptor));
    descriptor.nSize = sizeof(descriptor);
    descriptor.nVersion = 1;
    descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.cColorBits = 32;
    descriptor.iLayerType = PFD_MAIN_PLANE;
    return descriptor;
}

}  // namespace

const wchar_t* const OpenGLContext::dummyWindowClassName = L"tevrin_gl_firstWindow";

OpenGLContext::OpenGLContext(HWND targetWindow) : window(targetWindow)
{
    try {
        Create();
    } catch (...) {
        ReleaseHandles();
        NotifyDestroyed();
        throw;
    }
}

OpenGLContext::~OpenGLContext()
{
    debug_trace("tevrin::OpenGLContext::~OpenGLContext\n");
    if (valid)
        DestroyTextureRegistry();
    ReleaseHandles();
    NotifyDestroyed();
}

void OpenGLContext::Create()
{
    if (!window)
        CreateDummyWindow();
    dc = acquire_window_dc(window);
    if (!dc)
        throw general_error("can't obtain device context from window");
    ChoosePixelFormat();
    CreateRenderingContexts();
    textures = std::make_unique<GpuTextures>(this);
    valid = true;
}

void OpenGLContext::CreateDummyWindow()
{
    register_dummy_window_class();
    window = CreateWindowExW(WS_EX_WINDOWEDGE, dummyWindowClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                             nullptr, nullptr);
    if (!window)
        throw general_error("can't create dummy window");
    ownsWindow = true;
}

void OpenGLContext::ChoosePixelFormat()
{
    const PIXELFORMATDESCRIPTOR descriptor = window_pixel_format();
    const int format = ::ChoosePixelFormat(dc.get(), &descriptor);
    if (format == 0)
        throw general_error("can't get pixel format");
    if (!SetPixelFormat(dc.get(), format, &descriptor))
        throw general_error("can't set pixel format");
}

// A legacy context first, because wglCreateContextAttribsARB can only be fetched while
// some context is current; then the driver's default context made through it.
void OpenGLContext::CreateRenderingContexts()
{
    glContext.reset(wglCreateContext(dc.get()));
    // wglMakeCurrent accepts a null context (it then releases the current one), so a
    // failed creation has to be caught here.
    if (!glContext || !wglMakeCurrent(dc.get(), glContext.get()))
        throw general_error("can't make OpenGL context current");
    opengl::load_extensions_once();
    glGetError();
    const auto createContextAttribs = reinterpret_cast<create_context_attribs_function>(
        reinterpret_cast<void*>(wglGetProcAddress("wglCreateContextAttribsARB")));
    if (!createContextAttribs)
        throw general_error("can't find glCreateContextAttribsARB function");
    glGetError();
    unique_gl_context firstContext = std::move(glContext);
    glContext.reset(createContextAttribs(dc.get(), nullptr, nullptr));
    wglMakeCurrent(nullptr, nullptr);
    firstContext.reset();
    wglMakeCurrent(dc.get(), glContext.get());
    glGetError();
}

void OpenGLContext::ReleaseHandles() noexcept
{
    if (window) {
        wglMakeCurrent(nullptr, nullptr);
        glContext.reset();
        dc.reset();
    }
    if (ownsWindow && window)
        DestroyWindow(window);
    window = nullptr;
    ownsWindow = false;
}

void OpenGLContext::NotifyDestroyed() noexcept
{
    try {
        if (OnDestroy)
            OnDestroy();
    } catch (...) {
        debug_trace("tevrin::OpenGLContext: OnDestroy threw; ignored\n");
    }
    OnDestroy.reset();
    IsAlive.reset();
}

bool OpenGLContext::IsValid() const
{
    return window && dc && glContext;
}

void OpenGLContext::AdoptCurrent()
{
    // The context held so far is let go, not deleted: it may well be the current one.
    glContext.release();
    glContext.reset(wglGetCurrentContext());
}

u32 OpenGLContext::MakeCurrent()
{
    if (!IsCurrent())
        wglMakeCurrent(dc.get(), glContext.get());
    return glGetError();
}

bool OpenGLContext::IsCurrent() const
{
    return glContext.get() == wglGetCurrentContext();
}

void OpenGLContext::SwapBuffers()
{
    ::SwapBuffers(dc.get());
}

GpuPoint OpenGLContext::ClientToScreen(GpuPoint point) const
{
    POINT converted = {point.x, point.y};
    ::ClientToScreen(window, &converted);
    return {converted.x, converted.y};
}

TexturePtr OpenGLContext::CreateTexture()
{
    return std::make_shared<OpenGLTexture>(this);
}

u32 OpenGLContext::InstallTexture(TextureDescriptor& descriptor)
{
    if (!textures) {
        debug_trace("tevrin::OpenGLContext::InstallTexture: context does not have texture list\n");
        return 0;
    }
    if (descriptor.width < 1 || descriptor.height < 1 || descriptor.bits == 0 || !descriptor.pixels) {
        debug_trace("tevrin::OpenGLContext::InstallTexture: texture not ready to install\n");
        return 0;
    }
    MakeCurrent();
    return opengl::upload_new_texture(descriptor);
}

u32 OpenGLContext::ReadTexture(ITexture& texture)
{
    MakeCurrent();
    return opengl::read_texture_pixels(texture);
}

void OpenGLContext::UpdateTexture(ITexture& texture)
{
    MakeCurrent();
    opengl::upload_dirty_rectangle(texture);
}

void OpenGLContext::DeleteTexture(i32 name)
{
    if (name <= 0)
        return;
    const GLuint glName = static_cast<GLuint>(name);
    glDeleteTextures(1, &glName);
}

void OpenGLContext::Dump()
{
    if (textures)
        textures->Dump();
}

}  // namespace tevrin
