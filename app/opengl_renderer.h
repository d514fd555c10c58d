#pragma once
// OpenGLRenderer: the OpenGL objects of the OpenGL surface (shader program, vertex and
// index buffers, uniform and attribute locations) and the calls that draw one frame:
// the canvas texture as a quad covering the viewport, and the focus mark above it.
// Every operation except construction and destruction needs the surface's context
// current on the calling thread.
#include "tevrin/core/types.h"
#include "tevrin/gpu/shader_program.h"

#include <array>

// One quad corner as the vertex buffer holds it: pixel position, then texture coordinate.
struct QuadVertex {
    tevrin::i16 x;
    tevrin::i16 y;
    tevrin::f32 u;
    tevrin::f32 v;
};
static_assert(sizeof(QuadVertex) == 12, "the vertex layout is fixed by the attribute pointers");

// Column-major projection for left 0, right width, top 0, bottom height, near 0, far 1:
// y grows downwards, so canvas row 0 lands at the top of the viewport.
std::array<tevrin::f32, 16> OrthographicMatrix(int width, int height);

class OpenGLRenderer {
public:
    static constexpr int quadCapacity = 300;
    static constexpr int vertexCapacity = 4 * quadCapacity;
    static constexpr int indexCapacity = 6 * quadCapacity;
    static const char* const vertexShaderSource;
    static const char* const fragmentShaderSource;

    enum Attribute { attributePosition, attributeTexCoordIn, attributeCount };
    enum Uniform { uniformProjectionMatrix, uniformTex, uniformType, uniformTint, uniformCount };

    OpenGLRenderer();
    // Frees the program record; the GL objects go with the context that made them.
    virtual ~OpenGLRenderer();
    OpenGLRenderer(const OpenGLRenderer&) = delete;
    OpenGLRenderer& operator=(const OpenGLRenderer&) = delete;

    // Throws general_error naming the first extension function that building or drawing
    // calls and the driver lacks.
    static void RequireFunctions();
    // Checks the functions, compiles and links both shaders, then makes the buffers and
    // loads the indices.
    void Build();

    // Viewport, blending, program, projection and vertex layout for a width x height frame.
    void BeginFrame(int width, int height);
    // The texture named `texture` stretched over the whole width x height viewport.
    void DrawTexture(tevrin::u32 texture, int width, int height);
    // Two black one-pixel lines across the top of a surface `width` pixels wide.
    void DrawFocusMark(int width);
    void EndFrame();

private:
    void CompileAndLink();
    void FillQuadIndices();
    void CreateBuffers();
    void LookUpLocations();
    void SetUpVertexLayout();
    void DrawLine(tevrin::f32 x0, tevrin::f32 y0, tevrin::f32 x1, tevrin::f32 y1);

    QuadVertex vertices_[vertexCapacity];
    tevrin::u16 indices_[indexCapacity];
    tevrin::u32 vertexBuffer_ = 0;
    tevrin::u32 indexBuffer_ = 0;
    tevrin::ShaderProgram program_;
    tevrin::i32 attributes_[attributeCount];
    tevrin::i32 uniforms_[uniformCount];
};
