// A driver that lists "GL_ARB_fragment_shader" but not "GL_ARB_fragment_program" leaves
// the shader-object functions out of the extension table. Starting the program on it
// must end in the entry point's one error box naming the first missing function, not
// in a call through a null pointer (which would crash this test).
#include "app/app_window.h"
#include "support/message_box_watcher.h"
#include "support/plain_window.h"
#include "tevrin/core/exception.h"
#include "tevrin/core/message_box.h"
#include "tevrin/gpu/gl_extensions.h"
#include "tevrin/gpu/opengl_context.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Refills the process-wide table from the real driver as if it lacked one extension.
void LoadTableWithoutFragmentPrograms()
{
    const tevrin_test::PlainWindow window = tevrin_test::MakePlainWindow();
    tevrin::OpenGLContext context(window.get());
    tevrin::opengl::extension_source withoutFragmentPrograms;
    withoutFragmentPrograms.extensionString = [] { return "GL_ARB_multitexture GL_ARB_framebuffer_object GL_ARB_fragment_shader"; };
    withoutFragmentPrograms.functionAddress = [](const char* name) { return reinterpret_cast<void*>(wglGetProcAddress(name)); };
    tevrin::opengl::load_extensions(tevrin::opengl::extensions() = {}, withoutFragmentPrograms);
}

}  // namespace

TEST(MissingExtension, StartingWithoutShaderFunctionsEndsInOneErrorBoxNamingTheFunction)
{
    LoadTableWithoutFragmentPrograms();
    ASSERT_NE(tevrin::opengl::extensions().glActiveTextureARB, nullptr);
    ASSERT_EQ(tevrin::opengl::extensions().glCreateShaderObjectARB, nullptr);

    auto watcher = tevrin_test::WatchForMessageBox();
    std::string thrown;
    // As the program starts: the main window builds both surfaces, and the entry point
    // reports what escapes as one error box.
    AppWindow* mainWindow = new AppWindow;
    try {
        mainWindow->Create(720, 700, nullptr, 0, 0);
        ADD_FAILURE() << "the OpenGL surface was built without its shader functions";
    } catch (const tevrin::general_error& error) {
        thrown = error.what();
        tevrin::ReportCaughtException();
    }
    const tevrin_test::SeenMessageBox box = watcher.get();

    EXPECT_EQ(thrown, "can't find glCreateShaderObjectARB function");
    EXPECT_EQ(box.text, L"Error occurred: can't find glCreateShaderObjectARB function");
    DestroyWindow(mainWindow->GetHandle());
}
