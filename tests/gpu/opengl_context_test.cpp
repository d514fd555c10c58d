// OpenGL contexts and shaders under Wine (Mesa's llvmpipe on the test display).
#include "support/debug_output_capture.h"
#include "tevrin/core/exception.h"
#include "tevrin/gpu/gl_extensions.h"
#include "tevrin/gpu/opengl_context.h"
#include "tevrin/gpu/shader_program.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tevrin;

TEST(OpenGLContext, CurrentAfterCreationWithTheExtensionsLoadedOnce)
{
    HWND dummy = nullptr;
    {
        OpenGLContext first(nullptr);
        dummy = first.GetWindow();
        EXPECT_TRUE(IsWindow(dummy) && !IsWindowVisible(dummy)) << "a hidden window of its own";
        EXPECT_TRUE(first.IsValid() && first.IsCurrent());
        EXPECT_NE(opengl::extensions().glCreateShaderObjectARB, nullptr);
        auto& table = opengl::extensions();
        const auto saved = table.glActiveTextureARB;
        table.glActiveTextureARB = nullptr;  // a reload would put it back
        OpenGLContext second(nullptr);
        EXPECT_EQ(table.glActiveTextureARB, nullptr);
        table.glActiveTextureARB = saved;
        EXPECT_FALSE(first.IsCurrent());
        glEnable(0xFFFF);  // not a capability: GL_INVALID_ENUM
        EXPECT_EQ(second.MakeCurrent(), static_cast<u32>(GL_INVALID_ENUM)) << "already current";
        EXPECT_EQ(first.MakeCurrent(), 0u);
        EXPECT_TRUE(first.IsCurrent());
    }
    EXPECT_FALSE(IsWindow(dummy));

    const HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    try {
        OpenGLContext context(gone);
        ADD_FAILURE() << "a context on a destroyed window";
    } catch (const general_error& error) {
        EXPECT_STREQ(error.what(), "can't obtain device context from window");
    }
}

TEST(Shaders, CompiledAndLinkedAndFailuresTracedWithTheIdsStillReturned)
{
    OpenGLContext context(nullptr);
    tevrin_test::DebugOutputCapture capture;
    const opengl::gl_handle vertex = CompileShader(
        "#version 330 core\nattribute vec4 Position;void main(void){gl_Position = Position;}", GL_VERTEX_SHADER_ARB);
    const opengl::gl_handle fragment =
        CompileShader("#version 330 core\nvoid main(){gl_FragColor = vec4(1.0);}", GL_FRAGMENT_SHADER_ARB);
    ShaderProgram program;
    program.shaders = {99};
    LinkProgram(program, 2, vertex, fragment);
    EXPECT_TRUE(program.linked);
    EXPECT_EQ(program.shaders, (std::vector<opengl::gl_handle>{vertex, fragment}));
    EXPECT_EQ(capture.Text(), "");

    const opengl::gl_handle broken = CompileShader("#version 330 core\nvoid main(){ not glsl; }", GL_FRAGMENT_SHADER_ARB);
    EXPECT_NE(broken, 0u);
    EXPECT_NE(capture.Text(), "") << "the compile log";
    capture.Clear();
    ShaderProgram failed;
    LinkProgram(failed, 1, broken, 0);
    EXPECT_NE(failed.id, 0u);
    EXPECT_FALSE(failed.linked);
    EXPECT_NE(capture.Text(), "") << "the link log";
}
