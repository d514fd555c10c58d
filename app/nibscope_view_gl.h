#pragma once
// NibscopeViewGL: the OpenGL surface. Stamps go into the CPU copy of an 8-bit texture
// of the client size; the changed rectangle is uploaded and every paint draws the
// texture as one quad through the renderer's shader program.
#include "app/nibscope_view.h"
#include "tevrin/gpu/opengl_context.h"
#include "tevrin/gpu/texture.h"

#include <memory>

class OpenGLRenderer;

class NibscopeViewGL : public NibscopeView {
public:
    static constexpr tevrin::u8 background = 192;

    NibscopeViewGL();
    // Drops the canvas texture while the view still counts as alive (so its GL name is
    // deleted), then the renderer, then the context.
    ~NibscopeViewGL() override;

    const char* GetTypeName() const override { return "NibscopeViewGL"; }
    // Opens the tablet context, makes the OpenGL context, logs the driver, builds the
    // renderer and the canvas texture.
    void HandleCreateEvent() override;
    void Clear() override;
    bool HandlePaintEvent(tevrin::GraphicsContext& gc, const RECT& dirty) override;
    bool HandleSizeEvent(int clientWidth, int clientHeight) override;
    void Stamp(tevrin::i32 x, tevrin::i32 y, tevrin::i32 diameter, tevrin::f32 mappedPressure) override;

    // Whether an OpenGL view is alive; textures ask this before deleting their GL names.
    static bool IsAlive();

    tevrin::OpenGLContext* GetContext() const { return context_.get(); }
    const tevrin::TexturePtr& GetCanvasTexture() const { return canvas_; }
    OpenGLRenderer* GetRenderer() const { return renderer_.get(); }

protected:
    // Uploads the area from the CPU copy and asks for a frame.
    void ShowChangedArea(const StampSquare& area) override;

private:
    void CreateContext();
    void LogDriver();
    void CreateRenderer();
    void MakeCanvasTexture();
    void UploadAll();

    std::unique_ptr<tevrin::OpenGLContext> context_;
    tevrin::TexturePtr canvas_;
    std::unique_ptr<OpenGLRenderer> renderer_;
};
