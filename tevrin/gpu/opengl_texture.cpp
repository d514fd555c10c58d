#include "tevrin/gpu/opengl_texture.h"

#include "tevrin/core/diagnostics.h"
#include "tevrin/core/exception.h"
#include "tevrin/gpu/gl_api.h"
#include "tevrin/gpu/gpu_context.h"

namespace tevrin {
namespace {

// Whatever is current on this thread now is current again when this goes out of scope.
class current_context_restorer {
public:
    current_context_restorer() : dc(wglGetCurrentDC()), glContext(wglGetCurrentContext()) {}
    ~current_context_restorer() { wglMakeCurrent(dc, glContext); }
    current_context_restorer(const current_context_restorer&) = delete;
    current_context_restorer& operator=(const current_context_restorer&) = delete;

private:
    HDC dc;
    HGLRC glContext;
};

}  // namespace

OpenGLTexture::OpenGLTexture(IGpuContext* owner)
{
    context = owner;
}

OpenGLTexture::~OpenGLTexture()
{
    if (name != 0)
        DeleteGlName();
}

void OpenGLTexture::DeleteGlName() noexcept
{
    const current_context_restorer restorer;
    try {
        if (!context->IsAlive(context))
            return;
    } catch (const empty_delegate_error&) {
        // Nobody said whether the surface lives: leave the name to the context's deletion.
        debug_trace("tevrin::OpenGLTexture::~OpenGLTexture: context has no IsAlive, GL name %u kept\n", name);
        return;
    }
    context->MakeCurrent();
    glDeleteTextures(1, &name);
    glGetError();
}

std::pair<i32, i32> OpenGLTexture::GetSize() const
{
    return {width, height};
}

void OpenGLTexture::Update()
{
    context->UpdateTexture(*this);
}

u32 OpenGLTexture::Read()
{
    return context->ReadTexture(*this);
}

}  // namespace tevrin
