// OpenGL contexts under Wine (Mesa's llvmpipe on the test display).
#include "tevrin/core/exception.h"
#include "tevrin/gpu/gl_extensions.h"
#include "tevrin/gpu/opengl_context.h"

#include <gtest/gtest.h>

using namespace tevrin;

TEST(OpenGLContext, CurrentOnCreationWithTheExtensionsLoadedAndFailingWithItsText)
{
    HWND dummy = nullptr;
    {
        OpenGLContext first(nullptr);
        dummy = first.GetWindow();
        EXPECT_TRUE(IsWindow(dummy) && !IsWindowVisible(dummy)) << "without a window: a hidden one of its own";
        EXPECT_NE(opengl::extensions().glCreateShaderObjectARB, nullptr);
        OpenGLContext second(nullptr);
        EXPECT_TRUE(second.IsCurrent() && !first.IsCurrent());
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
