// The OpenGL surface on a real window under Wine (Mesa's llvmpipe on the test display):
// stamps in the CPU and GPU copies of its canvas, resizing, and the frame it draws.
#include "app/brush_stamp.h"
#include "app/nibscope_view_gl.h"
#include "app/opengl_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int size = 360;
constexpr tevrin::u8 grey = NibscopeViewGL::background;
using Pixels = std::vector<tevrin::u8>;

struct ParentWindow : tevrin::Window {
    ParentWindow() { styleKind = kindMainFrame; }
    const char* GetTypeName() const override { return "OpenGLViewTestParent"; }
    bool HandlePaintEvent(tevrin::GraphicsContext&, const RECT&) override { return false; }
    bool HandleSizeEvent(int, int) override { return false; }
};

Pixels Expected(int width, int height, const std::vector<std::vector<int>>& stamps)
{
    Pixels pixels(width * height, grey);
    for (const std::vector<int>& s : stamps)
        StampRoundBrush({pixels.data(), width, height, width}, s[0], s[1], s[2], s[3] / 100.0f);
    return pixels;
}

class OpenGLView : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent->Create(800, 500);
        view->Create(size, size, parent, 361, 0);
        parent->Show(true);
        view->Show(true);
        Pump();
    }
    void TearDown() override { DestroyWindow(parent->GetHandle()); }

    static void Pump()
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
    void Stamp(const std::vector<int>& s) { view->Stamp(s[0], s[1], s[2], s[3] / 100.0f); }
    // The GPU's copy of the canvas, read back; the CPU copy is kept.
    Pixels Gpu() const
    {
        tevrin::ITexture& texture = *view->GetCanvasTexture();
        const Pixels cpu = texture.pixels;
        texture.Read();
        std::swap(texture.pixels, const_cast<Pixels&>(cpu));
        return cpu;
    }
    bool Invalidated() const { return GetUpdateRect(view->GetHandle(), nullptr, FALSE) != FALSE; }

    ParentWindow* parent = new ParentWindow;  // both deleted by the framework with their windows
    NibscopeViewGL* view = new NibscopeViewGL;
};

}  // namespace

TEST_F(OpenGLView, StampsAcrossTheEdgesReachBothCopiesAndOnlyVisibleOnesRepaint)
{
    EXPECT_EQ(Gpu(), Pixels(size * size, grey));
    UpdateWindow(view->GetHandle());
    for (const std::vector<int>& outside : {std::vector<int>{-40, 100, 21, 100}, {100, size + 40, 21, 100}})
        Stamp(outside);
    EXPECT_FALSE(Invalidated()) << "a dirty square wholly outside the canvas";
    const std::vector<std::vector<int>> stamps = {{100, 120, 21, 60}, {2, 358, 30, 100}, {359, 0, 11, 40}, {-5, 180, 15, 70}};
    for (const std::vector<int>& s : stamps)
        Stamp(s);
    EXPECT_TRUE(Invalidated());
    EXPECT_EQ(view->GetCanvasTexture()->pixels, Expected(size, size, stamps));
    EXPECT_EQ(Gpu(), Expected(size, size, stamps)) << "each dirty rectangle was uploaded";
}

TEST_F(OpenGLView, TheSameSizeKeepsTheCanvasAndAnotherMakesAFreshOne)
{
    Stamp({50, 50, 21, 100});
    EXPECT_TRUE(view->HandleSizeEvent(size, size));
    EXPECT_EQ(Gpu(), Expected(size, size, {{50, 50, 21, 100}}));
    view->SetSize(250, size);
    Pump();
    EXPECT_EQ(Gpu(), Pixels(250 * size, grey)) << "only the width changed";
    view->SetSize(250, 140);
    Pump();
    Stamp({240, 130, 21, 80});
    EXPECT_EQ(Gpu(), Expected(250, 140, {{240, 130, 21, 80}})) << "only the height changed";
}

// One frame drawn by the view's renderer, read back from the back buffer before any
// swap: Wine keeps a child window's OpenGL drawable off screen.
TEST_F(OpenGLView, TheFrameShowsRowZeroAtTheTopAndTheFocusMarkAcrossIt)
{
    Stamp({60, 30, 21, 100});
    Stamp({300, 330, 11, 50});
    view->GetContext()->MakeCurrent();
    OpenGLRenderer& renderer = *view->GetRenderer();
    renderer.BeginFrame(size, size);
    renderer.DrawTexture(view->GetCanvasTexture()->name, size, size);
    renderer.DrawFocusMark(size);
    renderer.EndFrame();
    Pixels frame(size * size);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, size, size, GL_RED, GL_UNSIGNED_BYTE, frame.data());
    Pixels expected = Expected(size, size, {{60, 30, 21, 100}, {300, 330, 11, 50}});
    for (int y : {10, 11})
        std::fill_n(expected.begin() + y * size + 10, size - 20, 0);
    for (int y = 0; y < size; ++y)  // GL rows count from the bottom
        ASSERT_TRUE(std::equal(expected.begin() + y * size, expected.begin() + (y + 1) * size,
                               frame.begin() + (size - 1 - y) * size)) << "row " << y;
}
