#include "app/opengl_renderer.h"

#include "tevrin/core/diagnostics.h"
#include "tevrin/gpu/gl_extensions.h"

#include <cstddef>
#include <cstring>

namespace {

const char* const attributeNames[OpenGLRenderer::attributeCount] = {"Position", "TexCoordIn"};
const char* const uniformNames[OpenGLRenderer::uniformCount] = {"ProjectionMatrix", "tex", "type", "tint"};

constexpr GLint flatColour = 0;
constexpr GLint textured = 1;
constexpr GLsizei quadIndexCount = 6;
constexpr int focusMarkInset = 10;

const tevrin::opengl::extension_functions& Gl()
{
    return tevrin::opengl::extensions();
}

const void* BufferOffset(std::size_t bytes)
{
    return reinterpret_cast<const void*>(bytes);
}

}  // namespace

const char* const OpenGLRenderer::vertexShaderSource =
    "#version 330 core\nuniform mat4\tProjectionMatrix;uniform mat4\tModelviewMatrix;attribute vec4\tPosition;"
    "attribute vec2\tTexCoordIn;varying vec2\tTexCoordOut;void main(void){gl_Position = ProjectionMatrix /* * "
    "ModelviewMatrix*/* Position;TexCoordOut = TexCoordIn;}";

const char* const OpenGLRenderer::fragmentShaderSource =
    "#version 330 core\nuniform int\t\ttype;uniform sampler2D\ttex;uniform vec4\t\ttint;varying vec2\t\tTexCoordOut;"
    "void main(){\tif(type == 0)\t{\t\tgl_FragColor = tint;\t}\telse\t{\t\tvec4 texel = texture2D(tex, "
    "TexCoordOut);\t\tgl_FragColor = texel;\t}}";

std::array<tevrin::f32, 16> OrthographicMatrix(int width, int height)
{
    std::array<tevrin::f32, 16> matrix{};
    matrix[0] = 2.0f / static_cast<tevrin::f32>(width);
    matrix[5] = -2.0f / static_cast<tevrin::f32>(height);
    matrix[10] = -2.0f;
    matrix[12] = -1.0f;
    matrix[13] = 1.0f;
    matrix[14] = -1.0f;
    matrix[15] = 1.0f;
    return matrix;
}

OpenGLRenderer::OpenGLRenderer()
{
    std::memset(vertices_, 0, sizeof vertices_);
    std::memset(indices_, 0, sizeof indices_);
    std::memset(attributes_, 0, sizeof attributes_);
    std::memset(uniforms_, 0, sizeof uniforms_);
}

OpenGLRenderer::~OpenGLRenderer()
{
    tevrin::debug_trace("OpenGLRenderer::~OpenGLRenderer\n");
}

void OpenGLRenderer::RequireFunctions()
{
    tevrin::RequireShaderFunctions();
    const tevrin::opengl::extension_functions& gl = Gl();
    tevrin::opengl::require_functions(
        gl, {&gl.glUseProgramObjectARB, &gl.glGetUniformLocationARB, &gl.glGetAttribLocationARB, &gl.glUniform1iARB,
             &gl.glUniform4fARB, &gl.glUniformMatrix4fvARB, &gl.glEnableVertexAttribArrayARB,
             &gl.glVertexAttribPointerARB, &gl.glBindBufferARB, &gl.glGenBuffersARB, &gl.glBufferDataARB});
}

void OpenGLRenderer::Build()
{
    RequireFunctions();
    CompileAndLink();
    FillQuadIndices();
    CreateBuffers();
}

void OpenGLRenderer::CompileAndLink()
{
    const tevrin::opengl::gl_handle vertexShader = tevrin::CompileShader(vertexShaderSource, GL_VERTEX_SHADER_ARB);
    const tevrin::opengl::gl_handle fragmentShader =
        tevrin::CompileShader(fragmentShaderSource, GL_FRAGMENT_SHADER_ARB);
    tevrin::LinkProgram(program_, 2, vertexShader, fragmentShader);
    glGetError();
}

void OpenGLRenderer::FillQuadIndices()
{
    // Two triangles per quad that share the corners 4q + 1 and 4q + 2.
    for (int quad = 0; quad < quadCapacity; ++quad) {
        const tevrin::u16 first = static_cast<tevrin::u16>(4 * quad);
        tevrin::u16* out = indices_ + 6 * quad;
        out[0] = first;
        out[1] = static_cast<tevrin::u16>(first + 1);
        out[2] = static_cast<tevrin::u16>(first + 2);
        out[3] = static_cast<tevrin::u16>(first + 3);
        out[4] = static_cast<tevrin::u16>(first + 2);
        out[5] = static_cast<tevrin::u16>(first + 1);
    }
}

void OpenGLRenderer::CreateBuffers()
{
    Gl().glGenBuffersARB(1, &vertexBuffer_);
    Gl().glGenBuffersARB(1, &indexBuffer_);
    Gl().glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, indexBuffer_);
    Gl().glBufferDataARB(GL_ELEMENT_ARRAY_BUFFER_ARB, sizeof indices_, indices_, GL_STATIC_DRAW_ARB);
    glGetError();
}

void OpenGLRenderer::BeginFrame(int width, int height)
{
    glGetError();
    glViewport(0, 0, width, height);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDepthFunc(GL_NEVER);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glGetError();
    Gl().glUseProgramObjectARB(program_.id);
    glGetError();
    LookUpLocations();
    const std::array<tevrin::f32, 16> projection = OrthographicMatrix(width, height);
    Gl().glUniformMatrix4fvARB(uniforms_[uniformProjectionMatrix], 1, GL_FALSE, projection.data());
    glGetError();
    Gl().glUniform1iARB(uniforms_[uniformTex], 0);
    glGetError();
    SetUpVertexLayout();
}

void OpenGLRenderer::LookUpLocations()
{
    // Asked every frame: the driver may place them anew when the program is relinked.
    for (int uniform = 0; uniform < uniformCount; ++uniform)
        uniforms_[uniform] = Gl().glGetUniformLocationARB(program_.id, uniformNames[uniform]);
    for (int attribute = 0; attribute < attributeCount; ++attribute)
        attributes_[attribute] = Gl().glGetAttribLocationARB(program_.id, attributeNames[attribute]);
    glGetError();
}

void OpenGLRenderer::SetUpVertexLayout()
{
    Gl().glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, indexBuffer_);
    Gl().glBindBufferARB(GL_ARRAY_BUFFER_ARB, vertexBuffer_);
    glGetError();
    const GLuint position = static_cast<GLuint>(attributes_[attributePosition]);
    const GLuint texCoord = static_cast<GLuint>(attributes_[attributeTexCoordIn]);
    Gl().glEnableVertexAttribArrayARB(position);
    Gl().glEnableVertexAttribArrayARB(texCoord);
    glGetError();
    Gl().glVertexAttribPointerARB(position, 2, GL_SHORT, GL_FALSE, sizeof(QuadVertex),
                                  BufferOffset(offsetof(QuadVertex, x)));
    Gl().glVertexAttribPointerARB(texCoord, 2, GL_FLOAT, GL_FALSE, sizeof(QuadVertex),
                                  BufferOffset(offsetof(QuadVertex, u)));
    glGetError();
}

void OpenGLRenderer::DrawTexture(tevrin::u32 texture, int width, int height)
{
    Gl().glUniform1iARB(uniforms_[uniformType], textured);
    glGetError();
    glBindTexture(GL_TEXTURE_2D, texture);
    const tevrin::i16 right = static_cast<tevrin::i16>(width);
    const tevrin::i16 bottom = static_cast<tevrin::i16>(height);
    vertices_[0] = QuadVertex{0, 0, 0.0f, 0.0f};
    vertices_[1] = QuadVertex{right, 0, 1.0f, 0.0f};
    vertices_[2] = QuadVertex{0, bottom, 0.0f, 1.0f};
    vertices_[3] = QuadVertex{right, bottom, 1.0f, 1.0f};
    Gl().glBufferDataARB(GL_ARRAY_BUFFER_ARB, 4 * sizeof(QuadVertex), vertices_, GL_STREAM_DRAW_ARB);
    glGetError();
    glDrawElements(GL_TRIANGLES, quadIndexCount, GL_UNSIGNED_SHORT, BufferOffset(0));
    glGetError();
}

void OpenGLRenderer::DrawFocusMark(int width)
{
    Gl().glUniform1iARB(uniforms_[uniformType], flatColour);
    Gl().glUniform4fARB(uniforms_[uniformTint], 0.0f, 0.0f, 0.0f, 1.0f);
    glGetError();
    // Half-pixel coordinates put each line on one pixel row rather than between two.
    const tevrin::f32 right = static_cast<tevrin::f32>(width - focusMarkInset) + 0.5f;
    DrawLine(10.5f, 10.5f, right, 10.5f);
    DrawLine(10.5f, 11.5f, right, 11.5f);
}

void OpenGLRenderer::DrawLine(tevrin::f32 x0, tevrin::f32 y0, tevrin::f32 x1, tevrin::f32 y1)
{
    glLineWidth(1.0f);
    glBegin(GL_LINES);
    glVertex2f(x0, y0);
    glVertex2f(x1, y1);
    glEnd();
    glGetError();
}

void OpenGLRenderer::EndFrame()
{
    Gl().glUseProgramObjectARB(0);
    glGetError();
}
