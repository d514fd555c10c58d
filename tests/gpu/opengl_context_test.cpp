// OpenGL contexts under Wine (Mesa's llvmpipe on the test display).
#include "tevrin/core/exception.h"
#include "tevrin/gpu/gl_extensions.h"
#include "tevrin/gpu/opengl_context.h"

#include <gtest/gtest.h>

TEST(OpenGLContext, CurrentOnCreationWithTheExtensionsLoadedAndFailingWithItsText)
{
    {
        tevrin::OpenGLContext first(nullptr);
        EXPECT_NE(tevrin::opengl::extensions().glCreateShaderObjectARB, nullptr);
        tevrin::OpenGLContext second(nullptr);
        EXPECT_TRUE(second.IsCurrent() && !first.IsCurrent());
        glEnable(0xFFFF);  // not a capability: GL_INVALID_ENUM
        EXPECT_EQ(second.MakeCurrent(), static_cast<tevrin::u32>(GL_INVALID_ENUM)) << "already current";
        EXPECT_EQ(first.MakeCurrent(), 0u);
        EXPECT_TRUE(first.IsCurrent());
    }
    const HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    try {
        tevrin::OpenGLContext context(gone);
        ADD_FAILURE() << "a context on a destroyed window";
    } catch (const tevrin::general_error& error) {
        EXPECT_STREQ(error.what(), "can't obtain device context from window");
    }
}
