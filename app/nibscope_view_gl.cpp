#include "app/nibscope_view_gl.h"

#include "app/brush_stamp.h"
#include "app/opengl_renderer.h"
#include "tevrin/core/diagnostics.h"

#include <algorithm>
#include <utility>

namespace {

// One flag for the process: the context's textures may outlive the view that drew
// with them, and must then leave their GL names to the context's own teardown.
bool openGLViewAlive = false;

const char* GlText(GLenum name)
{
    const GLubyte* text = glGetString(name);
    return text ? reinterpret_cast<const char*>(text) : "";
}

}  // namespace

NibscopeViewGL::NibscopeViewGL() = default;

NibscopeViewGL::~NibscopeViewGL()
{
    canvas_.reset();
    renderer_.reset();
    context_.reset();
    openGLViewAlive = false;
}

bool NibscopeViewGL::IsAlive()
{
    return openGLViewAlive;
}

void NibscopeViewGL::HandleCreateEvent()
{
    NibscopeView::HandleCreateEvent();
    CreateContext();
    context_->MakeCurrent();
    LogDriver();
    context_->IsAlive = [](tevrin::IGpuContext*) { return openGLViewAlive; };
    CreateRenderer();
    MakeCanvasTexture();
}

void NibscopeViewGL::CreateContext()
{
    context_ = std::make_unique<tevrin::OpenGLContext>(hwnd);
    openGLViewAlive = true;
}

void NibscopeViewGL::LogDriver()
{
    tevrin::log_line("_");
    tevrin::log_line("OpenGL vendor:    %s", GlText(GL_VENDOR));
    tevrin::log_line("OpenGL renderer:  %s", GlText(GL_RENDERER));
    tevrin::log_line("OpenGL version:   %s", GlText(GL_VERSION));
    tevrin::log_line("_");
}

void NibscopeViewGL::CreateRenderer()
{
    // Kept only once built: a driver that lacks a function leaves the view without one.
    auto renderer = std::make_unique<OpenGLRenderer>();
    renderer->Build();
    renderer_ = std::move(renderer);
}

void NibscopeViewGL::MakeCanvasTexture()
{
    canvas_.reset();
    canvas_ = context_->CreateTexture();
    canvas_->context = context_.get();
    canvas_->bits = 8;
    const int width = GetClientWidth();
    const int height = GetClientHeight();
    canvas_->pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), background);
    canvas_->width = width;
    canvas_->height = height;

    tevrin::TextureDescriptor descriptor;
    descriptor.pixels = canvas_->pixels.data();
    descriptor.width = width;
    descriptor.height = height;
    descriptor.bits = 8;
    descriptor.dimensions = 2;
    descriptor.levels = 0;
    descriptor.formatTag = 0;
    canvas_->name = context_->InstallTexture(descriptor);
}

bool NibscopeViewGL::HandleSizeEvent(int clientWidth, int clientHeight)
{
    if (!canvas_)
        return false;
    // The drawing does not survive a size change: the canvas starts over, light grey.
    if (clientWidth != canvas_->width || clientHeight != canvas_->height)
        MakeCanvasTexture();
    return true;
}

void NibscopeViewGL::Clear()
{
    if (canvas_) {
        std::fill(canvas_->pixels.begin(), canvas_->pixels.end(), background);
        UploadAll();
    }
    Invalidate();
}

void NibscopeViewGL::UploadAll()
{
    canvas_->dirty = tevrin::TextureRect{0, 0, canvas_->width, canvas_->height};
    canvas_->Update();
}

void NibscopeViewGL::Stamp(tevrin::i32 x, tevrin::i32 y, tevrin::i32 diameter, tevrin::f32 mappedPressure)
{
    if (!canvas_ || canvas_->name == 0)
        return;
    const tevrin::i32 width = canvas_->width;
    const tevrin::i32 height = canvas_->height;
    StampRoundBrush(GreyCanvas{canvas_->pixels.data(), width, height, width}, x, y, diameter, mappedPressure);
    MarkChanged(StampChangedSquare(x, y, diameter), width, height);
}

void NibscopeViewGL::ShowChangedArea(const StampSquare& area)
{
    if (context_ && canvas_) {
        canvas_->dirty = tevrin::TextureRect{area.left, area.top, area.right + 1, area.bottom + 1};
        canvas_->Update();
    }
    Invalidate();
}

bool NibscopeViewGL::HandlePaintEvent(tevrin::GraphicsContext& gc, const RECT& /*dirty*/)
{
    if (!canvas_)
        return false;
    context_->MakeCurrent();
    // The quad covers the whole viewport, so the frame needs no clearing first.
    const int width = GetClientWidth();
    const int height = GetClientHeight();
    renderer_->BeginFrame(width, height);
    if (canvas_->name != 0)
        renderer_->DrawTexture(canvas_->name, width, height);
    if (HasFocus())
        renderer_->DrawFocusMark(width);
    renderer_->EndFrame();
    ::SwapBuffers(gc.DeviceContext());
    return true;
}
