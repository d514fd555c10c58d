// OpenGL contexts on real windows under Wine (Mesa's llvmpipe on the test display).
#include "plain_window.h"
#include "support/debug_output_capture.h"
#include "tevrin/core/exception.h"
#include "tevrin/gpu/gl_extensions.h"
#include "tevrin/gpu/gpu_textures.h"
#include "tevrin/gpu/opengl_context.h"
#include "tevrin/gpu/opengl_context_list.h"
#include "tevrin/gpu/shader_program.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tevrin;
using gpu_test::PlainWindow;
using tevrin_test::DebugOutputCapture;

namespace {

const char* const vertexSource =
    "#version 330 core\nuniform mat4\tProjectionMatrix;attribute vec4\tPosition;attribute vec2\tTexCoordIn;"
    "varying vec2\tTexCoordOut;void main(void){gl_Position = ProjectionMatrix * Position;TexCoordOut = TexCoordIn;}";
const char* const fragmentSource =
    "#version 330 core\nuniform sampler2D\ttex;varying vec2\t\tTexCoordOut;"
    "void main(){\tgl_FragColor = texture2D(tex, TexCoordOut);}";
const char* const brokenSource = "#version 330 core\nvoid main(){ this is not glsl; }";

std::string ExpectGeneralError(HWND window)
{
    try {
        OpenGLContext context(window);
    } catch (const general_error& error) {
        return error.what();
    }
    return "no exception";
}

}  // namespace

TEST(OpenGLContext, OnAWindowIsValidCurrentAndLoadsTheExtensions)
{
    PlainWindow window;
    OpenGLContext context(window.handle);
    EXPECT_TRUE(context.IsValid());
    EXPECT_TRUE(context.IsCurrent());
    EXPECT_EQ(context.GetWindow(), window.handle);
    EXPECT_EQ(wglGetCurrentContext(), context.GetRenderingContext());
    EXPECT_EQ(wglGetCurrentDC(), context.GetDeviceContext());
    ASSERT_NE(context.textures, nullptr);

    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    ASSERT_NE(version, nullptr);
    EXPECT_GE(version[0], '1');

    EXPECT_TRUE(opengl::extensions_loaded());
    EXPECT_NE(opengl::extensions().glCreateShaderObjectARB, nullptr);
    EXPECT_NE(opengl::extensions().glGenBuffersARB, nullptr);
    EXPECT_NE(opengl::extensions().glActiveTextureARB, nullptr);
    EXPECT_TRUE(HasExtension("GL_ARB_fragment_shader"));
    EXPECT_FALSE(HasExtension("GL_ARB_fragment"));
}

TEST(OpenGLContext, ALaterContextReusesTheLoadedTable)
{
    PlainWindow window;
    OpenGLContext first(window.handle);
    auto& table = opengl::extensions();
    const auto saved = table.glActiveTextureARB;
    table.glActiveTextureARB = nullptr;  // a reload would put it back
    {
        PlainWindow other;
        OpenGLContext second(other.handle);
        EXPECT_TRUE(second.IsValid());
    }
    EXPECT_EQ(table.glActiveTextureARB, nullptr);
    table.glActiveTextureARB = saved;
}

TEST(OpenGLContext, WithoutAWindowMakesAHiddenDummyAndDestroysIt)
{
    HWND dummy = nullptr;
    {
        OpenGLContext context(nullptr);
        dummy = context.GetWindow();
        ASSERT_TRUE(IsWindow(dummy));
        EXPECT_FALSE(IsWindowVisible(dummy));
        wchar_t className[64] = {};
        GetClassNameW(dummy, className, 64);
        EXPECT_STREQ(className, L"tevrin_gl_firstWindow");
        EXPECT_EQ(GetWindowLongW(dummy, GWL_STYLE) & WS_POPUP, static_cast<LONG>(WS_POPUP));
        RECT bounds = {};
        GetWindowRect(dummy, &bounds);
        EXPECT_EQ(bounds.right - bounds.left, 1);
        EXPECT_EQ(bounds.bottom - bounds.top, 1);
        EXPECT_TRUE(context.IsValid());
    }
    EXPECT_FALSE(IsWindow(dummy));
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
}

TEST(OpenGLContext, AGivenWindowOutlivesItsContext)
{
    PlainWindow window;
    { OpenGLContext context(window.handle); }
    EXPECT_TRUE(IsWindow(window.handle));
}

TEST(OpenGLContext, TheDummyClassIsRegisteredOnlyOnce)
{
    { OpenGLContext registersTheClass(nullptr); }
    WNDCLASSEXW info = {};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetClassInfoExW(nullptr, OpenGLContext::dummyWindowClassName, &info) ||
                GetClassInfoExW(GetModuleHandleW(nullptr), OpenGLContext::dummyWindowClassName, &info));
    EXPECT_EQ(info.style, static_cast<UINT>(CS_OWNDC));
    EXPECT_EQ(info.hbrBackground, reinterpret_cast<HBRUSH>(7));

    // Take the class away: a context that registered again would still find it.
    ASSERT_TRUE(UnregisterClassW(OpenGLContext::dummyWindowClassName, info.hInstance));
    EXPECT_EQ(ExpectGeneralError(nullptr), "can't create dummy window");

    info.lpfnWndProc = DefWindowProcW;
    ASSERT_NE(RegisterClassExW(&info), 0);
    OpenGLContext again(nullptr);
    EXPECT_TRUE(again.IsValid());
}

TEST(OpenGLContext, AWindowWithoutDeviceContextIsRefused)
{
    HWND gone = nullptr;
    {
        PlainWindow window;
        gone = window.handle;
    }
    EXPECT_EQ(ExpectGeneralError(gone), "can't obtain device context from window");
}

TEST(OpenGLContext, MakeCurrentSwitchesContextsAndReturnsThePendingError)
{
    PlainWindow firstWindow;
    PlainWindow secondWindow;
    OpenGLContext first(firstWindow.handle);
    OpenGLContext second(secondWindow.handle);
    EXPECT_TRUE(second.IsCurrent());
    EXPECT_FALSE(first.IsCurrent());

    EXPECT_EQ(first.MakeCurrent(), 0u);
    EXPECT_TRUE(first.IsCurrent());
    EXPECT_EQ(wglGetCurrentDC(), first.GetDeviceContext());

    glEnable(0xFFFF);  // not a capability: GL_INVALID_ENUM
    EXPECT_EQ(first.MakeCurrent(), static_cast<u32>(GL_INVALID_ENUM));
    EXPECT_EQ(first.MakeCurrent(), 0u);
}

TEST(OpenGLContext, DestructionTracesRegistryAndNotifiesLast)
{
    DebugOutputCapture capture;
    HWND dummy = nullptr;
    int notifications = 0;
    bool dummyGoneWhenNotified = false;
    {
        OpenGLContext context(nullptr);
        dummy = context.GetWindow();
        context.OnDestroy = [&] {
            ++notifications;
            dummyGoneWhenNotified = !IsWindow(dummy);
        };
    }
    EXPECT_EQ(notifications, 1);
    EXPECT_TRUE(dummyGoneWhenNotified);
    const std::string text = capture.Text();
    const size_t contextLine = text.find("tevrin::OpenGLContext::~OpenGLContext\n");
    const size_t registryLine = text.find("tevrin::GpuTextures::Destroy\n");
    ASSERT_NE(contextLine, std::string::npos) << text;
    ASSERT_NE(registryLine, std::string::npos) << text;
    EXPECT_LT(contextLine, registryLine);
}

TEST(OpenGLContext, AnUnsetIsAliveThrowsWhenAsked)
{
    OpenGLContext context(nullptr);
    EXPECT_THROW(context.IsAlive(&context), empty_delegate_error);
    context.IsAlive = [](IGpuContext*) { return true; };
    EXPECT_TRUE(context.IsAlive(&context));
}

TEST(OpenGLContext, DeleteTextureDeletesPositiveNamesOnly)
{
    OpenGLContext context(nullptr);
    GLuint names[2] = {};
    glGenTextures(2, names);
    glBindTexture(GL_TEXTURE_2D, names[0]);
    glBindTexture(GL_TEXTURE_2D, names[1]);
    glBindTexture(GL_TEXTURE_2D, 0);
    ASSERT_TRUE(glIsTexture(names[0]));

    context.DeleteTexture(0);
    context.DeleteTexture(-static_cast<i32>(names[0]));
    EXPECT_TRUE(glIsTexture(names[0]));
    context.DeleteTexture(static_cast<i32>(names[0]));
    EXPECT_FALSE(glIsTexture(names[0]));
    EXPECT_TRUE(glIsTexture(names[1]));
}

TEST(OpenGLContext, ClientToScreenFollowsTheWindow)
{
    PlainWindow window(120, 90);
    SetWindowPos(window.handle, nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    OpenGLContext context(window.handle);
    const GpuPoint origin = context.ClientToScreen({0, 0});
    const GpuPoint moved = context.ClientToScreen({3, 4});
    EXPECT_EQ(moved.x - origin.x, 3);
    EXPECT_EQ(moved.y - origin.y, 4);
    RECT frame = {};
    GetWindowRect(window.handle, &frame);
    EXPECT_GE(origin.x, frame.left);
    EXPECT_GE(origin.y, frame.top);
    EXPECT_LT(origin.x, frame.right);
    EXPECT_LT(origin.y, frame.bottom);
}

TEST(ContextList, DeletesItsContextsNewestFirst)
{
    std::vector<int> destroyed;
    {
        opengl::context_list list;
        for (int id = 1; id <= 3; ++id) {
            auto* context = new OpenGLContext(nullptr);
            context->OnDestroy = [&destroyed, id] { destroyed.push_back(id); };
            list.Add(context);
        }
        EXPECT_EQ(list.Size(), 3u);
    }
    EXPECT_EQ(destroyed, (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(opengl::contexts.Size(), 0u);
}

TEST(Shaders, TheSurfaceStyleShadersCompileAndLink)
{
    OpenGLContext context(nullptr);
    const opengl::gl_handle vertex = CompileShader(vertexSource, GL_VERTEX_SHADER_ARB);
    const opengl::gl_handle fragment = CompileShader(fragmentSource, GL_FRAGMENT_SHADER_ARB);
    ASSERT_NE(vertex, 0u);
    ASSERT_NE(fragment, 0u);

    ShaderProgram program;
    program.shaders = {99};
    LinkProgram(program, 2, vertex, fragment);
    EXPECT_NE(program.id, 0u);
    EXPECT_TRUE(program.linked);
    EXPECT_EQ(program.shaders, (std::vector<opengl::gl_handle>{vertex, fragment}));
    EXPECT_GE(opengl::extensions().glGetUniformLocationARB(program.id, "ProjectionMatrix"), 0);

    ShaderProgram single;
    LinkProgram(single, 1, vertex, fragment);
    EXPECT_EQ(single.shaders, (std::vector<opengl::gl_handle>{vertex}));
}

TEST(Shaders, FailuresAreTracedButTheIdsStillReturned)
{
    OpenGLContext context(nullptr);
    DebugOutputCapture capture;
    const opengl::gl_handle broken = CompileShader(brokenSource, GL_FRAGMENT_SHADER_ARB);
    EXPECT_NE(broken, 0u);
    const std::string compileLog = capture.Text();
    EXPECT_GT(compileLog.size(), 1u);
    EXPECT_EQ(compileLog.back(), '\n');

    capture.Clear();
    const opengl::gl_handle vertex = CompileShader(vertexSource, GL_VERTEX_SHADER_ARB);
    EXPECT_EQ(capture.Text(), "");
    ShaderProgram program;
    LinkProgram(program, 2, vertex, broken);
    EXPECT_NE(program.id, 0u);
    EXPECT_FALSE(program.linked);
    EXPECT_GT(capture.Text().size(), 1u);
}
