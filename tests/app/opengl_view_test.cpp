// The OpenGL surface on a real window under Wine (Mesa's llvmpipe on the test display):
// stamps in the CPU and GPU copies of its canvas, the frame it draws, resizing.
#include "app/brush_stamp.h"
#include "app/nibscope_view_gl.h"
#include "app/opengl_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int size = 360;
using Pixels = std::vector<tevrin::u8>;

struct ParentWindow : tevrin::Window {
    ParentWindow() { styleKind = kindMainFrame; }
    const char* GetTypeName() const override { return "OpenGLViewTestParent"; }
    bool HandlePaintEvent(tevrin::GraphicsContext&, const RECT&) override { return false; }
    bool HandleSizeEvent(int, int) override { return false; }
};

class OpenGLView : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent->Create(800, 500);
        view->Create(size, size, parent, 361, 0);
        parent->Show(true);
        view->Show(true);
        UpdateWindow(view->GetHandle());
    }
    void TearDown() override { DestroyWindow(parent->GetHandle()); }

    // Stamps of (x, y, diameter, mapped pressure in percent) on the view, and on the
    // returned grey canvas by the stamping rule.
    Pixels Stamp(const std::vector<std::vector<int>>& stamps)
    {
        Pixels expected(size * size, NibscopeViewGL::background);
        for (const std::vector<int>& s : stamps) {
            view->Stamp(s[0], s[1], s[2], s[3] / 100.0f);
            StampRoundBrush({expected.data(), size, size, size}, s[0], s[1], s[2], s[3] / 100.0f);
        }
        return expected;
    }

    ParentWindow* parent = new ParentWindow;  // both deleted by the framework with their windows
    NibscopeViewGL* view = new NibscopeViewGL;
};

}  // namespace

// The frame is drawn by the view's renderer and read back from the back buffer before
// any swap: Wine keeps a child window's OpenGL drawable off screen.
TEST_F(OpenGLView, StampsAcrossTheEdgesReachBothCopiesAndTheFrameUntilTheSizeChanges)
{
    Stamp({{-40, 100, 21, 100}, {100, size + 40, 21, 100}});
    EXPECT_FALSE(GetUpdateRect(view->GetHandle(), nullptr, FALSE)) << "a dirty square wholly outside the canvas";
    Pixels expected = Stamp({{100, 120, 21, 60}, {2, 358, 30, 100}, {359, 0, 11, 40}, {-5, 180, 15, 70}});
    EXPECT_TRUE(GetUpdateRect(view->GetHandle(), nullptr, FALSE));
    tevrin::ITexture& canvas = *view->GetCanvasTexture();
    EXPECT_EQ(canvas.pixels, expected);
    canvas.Read();
    EXPECT_EQ(canvas.pixels, expected) << "the GPU's copy: each dirty rectangle was uploaded";

    view->GetContext()->MakeCurrent();
    OpenGLRenderer& renderer = *view->GetRenderer();
    renderer.BeginFrame(size, size);
    renderer.DrawTexture(canvas.name, size, size);
    renderer.DrawFocusMark(size);
    renderer.EndFrame();
    Pixels frame(size * size);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, size, size, GL_RED, GL_UNSIGNED_BYTE, frame.data());
    std::fill_n(expected.begin() + 10 * size + 10, size - 20, 0);  // the focus mark: two rows, 10 pixels in
    std::fill_n(expected.begin() + 11 * size + 10, size - 20, 0);
    for (int y = 0; y < size; ++y)  // GL counts rows from the bottom
        ASSERT_TRUE(std::equal(expected.begin() + y * size, expected.begin() + (y + 1) * size,
                               frame.begin() + (size - 1 - y) * size)) << "row " << y;

    EXPECT_TRUE(view->HandleSizeEvent(size, size));
    EXPECT_EQ(view->GetCanvasTexture().get(), &canvas) << "the same size keeps the canvas";
    view->SetSize(250, 140);
    EXPECT_EQ(view->GetCanvasTexture()->pixels, Pixels(250 * 140, NibscopeViewGL::background)) << "another makes a fresh one";
}
