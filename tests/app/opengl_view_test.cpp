// The OpenGL surface on a real parent window under Wine (Mesa's llvmpipe on the test
// display): its canvas texture, stamps, Clear, resizing, the renderer's program and
// buffers, the frame it draws, agreement with the GDI surface, and its teardown.
#include "app/brush_stamp.h"
#include "app/nibscope_view_gl.h"
#include "app/nibscope_view_native.h"
#include "app/opengl_renderer.h"
#include "app/stroke_settings.h"
#include "support/debug_output_capture.h"
#include "tevrin/core/diagnostics.h"
#include "tevrin/gpu/gl_extensions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int surfaceSize = 360;
constexpr tevrin::u8 grey = NibscopeViewGL::background;

class ParentWindow : public tevrin::Window {
public:
    ParentWindow() { styleKind = kindMainFrame; }
    const char* GetTypeName() const override { return "OpenGLViewTestParent"; }
    bool HandlePaintEvent(tevrin::GraphicsContext&, const RECT&) override { return false; }
    bool HandleSizeEvent(int, int) override { return false; }
};

class LineCollector : public tevrin::ILogLineSink {
public:
    void AddLine(const std::string& text, tevrin::u32, tevrin::u32) override { lines.push_back(text); }
    std::vector<std::string> lines;
};

std::vector<std::string> DrainLog()
{
    LineCollector collector;
    tevrin::drain_log_lines(&collector);
    return collector.lines;
}

// The GPU's copy of the canvas, read back with glGetTexImage; the CPU copy is kept.
std::vector<tevrin::u8> GpuPixels(const NibscopeViewGL& view)
{
    tevrin::ITexture& texture = *view.GetCanvasTexture();
    const std::vector<tevrin::u8> cpu = texture.pixels;
    texture.Read();
    std::vector<tevrin::u8> gpu = texture.pixels;
    texture.pixels = cpu;
    return gpu;
}

// One frame drawn by the view's renderer into the back buffer and read back before any
// swap, top row first (the red channel; the canvas is grey). Wine keeps a child window's
// OpenGL drawable off screen and its front buffer cannot be read back, so the frame is
// taken where the renderer draws it.
std::vector<tevrin::u8> RenderedFrame(NibscopeViewGL& view, bool focusMark)
{
    view.GetContext()->MakeCurrent();
    const int width = view.GetClientWidth();
    const int height = view.GetClientHeight();
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);  // anything the quad fails to cover stays white
    OpenGLRenderer& renderer = *view.GetRenderer();
    renderer.BeginFrame(width, height);
    renderer.DrawTexture(view.GetCanvasTexture()->name, width, height);
    if (focusMark)
        renderer.DrawFocusMark(width);
    renderer.EndFrame();
    glFinish();
    std::vector<tevrin::u8> bottomUp(static_cast<size_t>(width) * height);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RED, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<tevrin::u8> topDown(bottomUp.size());
    for (int row = 0; row < height; ++row)
        std::copy_n(bottomUp.begin() + static_cast<ptrdiff_t>(row) * width, width,
                    topDown.begin() + static_cast<ptrdiff_t>(height - 1 - row) * width);
    return topDown;
}

std::vector<tevrin::u8> ExpectedAfterStamps(int width, int height,
                                            const std::vector<std::vector<float>>& stamps)
{
    std::vector<tevrin::u8> pixels(static_cast<size_t>(width) * height, grey);
    const GreyCanvas canvas{pixels.data(), width, height, width};
    for (const std::vector<float>& s : stamps)
        StampRoundBrush(canvas, static_cast<int>(s[0]), static_cast<int>(s[1]), static_cast<int>(s[2]), s[3]);
    return pixels;
}

bool AllEqual(const std::vector<tevrin::u8>& pixels, tevrin::u8 value)
{
    return std::all_of(pixels.begin(), pixels.end(), [value](tevrin::u8 p) { return p == value; });
}

bool HasUpdateRegion(HWND window)
{
    RECT area;
    return GetUpdateRect(window, &area, FALSE) != FALSE;
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

class OpenGLViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DrainLog();
        parent = new ParentWindow;
        parent->Create(800, 500);
        parent->Show(true);
        view = new NibscopeViewGL;
        view->SetName("OpenGL surface");
        view->Create(surfaceSize, surfaceSize, parent, 361, 0);
        view->Show(true);
        PumpMessages();
    }

    void TearDown() override
    {
        delete parent;  // destroys the child windows, which deletes their objects
        DrainLog();
    }

    void Resize(int width, int height)
    {
        view->SetSize(width, height);
        PumpMessages();
    }

    ParentWindow* parent = nullptr;
    NibscopeViewGL* view = nullptr;
};

TEST_F(OpenGLViewTest, ANewViewHasAnInstalledUniformlyGreyCanvasOfItsClientSize)
{
    const tevrin::TexturePtr& canvas = view->GetCanvasTexture();
    ASSERT_TRUE(canvas);
    EXPECT_NE(canvas->name, 0u);
    EXPECT_EQ(canvas->bits, 8);
    EXPECT_EQ(canvas->width, view->GetClientWidth());
    EXPECT_EQ(canvas->height, view->GetClientHeight());
    EXPECT_EQ(canvas->context, view->GetContext());
    ASSERT_EQ(canvas->pixels.size(), static_cast<size_t>(surfaceSize * surfaceSize));
    EXPECT_TRUE(AllEqual(canvas->pixels, grey));
    EXPECT_TRUE(AllEqual(GpuPixels(*view), grey)) << "the installed texture holds the CPU copy";
    EXPECT_STREQ(view->GetTypeName(), "NibscopeViewGL");
    EXPECT_TRUE(NibscopeViewGL::IsAlive());
}

TEST_F(OpenGLViewTest, CreationLogsTheDriverBetweenTwoRules)
{
    // SetUp drained the log before the view was made; make a second view to read its lines.
    auto* second = new NibscopeViewGL;
    second->Create(100, 100, parent, 0, 0);
    const std::vector<std::string> lines = DrainLog();
    auto rule = std::find(lines.begin(), lines.end(), "_");
    ASSERT_NE(rule, lines.end());
    ASSERT_GE(lines.end() - rule, 5);
    const char* vendor = reinterpret_cast<const char*>(glGetString(GL_VENDOR));
    ASSERT_NE(vendor, nullptr);
    EXPECT_EQ(rule[1], std::string("OpenGL vendor:    ") + vendor);
    EXPECT_EQ(rule[2].rfind("OpenGL renderer:  ", 0), 0u) << rule[2];
    EXPECT_GT(rule[2].size(), 18u);
    EXPECT_EQ(rule[3].rfind("OpenGL version:   ", 0), 0u) << rule[3];
    EXPECT_GT(rule[3].size(), 18u);
    EXPECT_EQ(rule[4], "_");
}

TEST_F(OpenGLViewTest, AStampChangesExactlyThePixelsOfTheStampingRuleInBothCopies)
{
    view->Stamp(100, 120, 21, 0.6f);
    view->Stamp(101, 121, 7, 0.2f);
    const std::vector<tevrin::u8> expected = ExpectedAfterStamps(surfaceSize, surfaceSize,
                                                                 {{100, 120, 21, 0.6f}, {101, 121, 7, 0.2f}});
    ASSERT_FALSE(AllEqual(expected, grey));
    EXPECT_EQ(view->GetCanvasTexture()->pixels, expected);
    EXPECT_EQ(GpuPixels(*view), expected) << "the dirty rectangle was uploaded";
}

TEST_F(OpenGLViewTest, StampsAcrossTheEdgesAreClippedAndUploaded)
{
    view->Stamp(2, 358, 30, 1.0f);
    view->Stamp(359, 0, 11, 0.4f);
    view->Stamp(-3, 180, 15, 0.7f);
    const std::vector<tevrin::u8> expected = ExpectedAfterStamps(
        surfaceSize, surfaceSize, {{2, 358, 30, 1.0f}, {359, 0, 11, 0.4f}, {-3, 180, 15, 0.7f}});
    EXPECT_EQ(view->GetCanvasTexture()->pixels, expected);
    EXPECT_EQ(GpuPixels(*view), expected);
}

TEST_F(OpenGLViewTest, OnlyAStampThatReachesTheCanvasInvalidatesTheView)
{
    UpdateWindow(view->GetHandle());
    ASSERT_FALSE(HasUpdateRegion(view->GetHandle()));
    view->Stamp(-40, 100, 21, 1.0f);
    view->Stamp(100, surfaceSize + 40, 21, 1.0f);
    EXPECT_FALSE(HasUpdateRegion(view->GetHandle()));
    EXPECT_TRUE(AllEqual(view->GetCanvasTexture()->pixels, grey));

    view->Stamp(-5, 100, 21, 1.0f);  // the dirty square reaches column 0
    EXPECT_TRUE(HasUpdateRegion(view->GetHandle()));
}

TEST_F(OpenGLViewTest, ClearRestoresTheGreyInBothCopiesAndRepaints)
{
    view->Stamp(180, 180, 40, 1.0f);
    ASSERT_FALSE(AllEqual(GpuPixels(*view), grey));
    UpdateWindow(view->GetHandle());
    view->Clear();
    EXPECT_TRUE(HasUpdateRegion(view->GetHandle()));
    EXPECT_TRUE(AllEqual(view->GetCanvasTexture()->pixels, grey));
    EXPECT_TRUE(AllEqual(GpuPixels(*view), grey));
}

TEST_F(OpenGLViewTest, ResizingInOneDirectionMakesAFreshCanvasOfTheNewSize)
{
    view->Stamp(50, 50, 21, 1.0f);

    Resize(250, surfaceSize);
    const tevrin::TexturePtr& wider = view->GetCanvasTexture();
    EXPECT_EQ(wider->width, 250);
    EXPECT_EQ(wider->height, surfaceSize);
    EXPECT_NE(wider->name, 0u);
    EXPECT_TRUE(AllEqual(wider->pixels, grey)) << "the drawing does not survive a size change";

    Resize(250, 140);
    const tevrin::TexturePtr& shorter = view->GetCanvasTexture();
    EXPECT_EQ(shorter->width, 250);
    EXPECT_EQ(shorter->height, 140);
    EXPECT_TRUE(AllEqual(GpuPixels(*view), grey));

    // Stamps use the new row length.
    view->Stamp(240, 130, 21, 0.8f);
    const std::vector<tevrin::u8> expected = ExpectedAfterStamps(250, 140, {{240, 130, 21, 0.8f}});
    EXPECT_EQ(view->GetCanvasTexture()->pixels, expected);
    EXPECT_EQ(GpuPixels(*view), expected);
}

TEST_F(OpenGLViewTest, ASizeEventWithTheSameSizeKeepsTheDrawing)
{
    view->Stamp(50, 50, 21, 1.0f);
    const tevrin::ITexture* before = view->GetCanvasTexture().get();
    EXPECT_TRUE(view->HandleSizeEvent(surfaceSize, surfaceSize));
    EXPECT_EQ(view->GetCanvasTexture().get(), before);
    EXPECT_FALSE(AllEqual(view->GetCanvasTexture()->pixels, grey));
}

TEST_F(OpenGLViewTest, AnEmptyViewHasNoInstalledCanvasUntilItGetsASize)
{
    auto* empty = new NibscopeViewGL;
    empty->Create(0, 0, parent, 0, 0);
    ASSERT_TRUE(empty->GetCanvasTexture());
    EXPECT_EQ(empty->GetCanvasTexture()->name, 0u) << "a 0 x 0 texture cannot be installed";
    empty->Stamp(0, 0, 21, 1.0f);
    EXPECT_TRUE(empty->GetCanvasTexture()->pixels.empty());
    EXPECT_FALSE(HasUpdateRegion(empty->GetHandle()));

    empty->SetSize(40, 30);
    PumpMessages();
    EXPECT_NE(empty->GetCanvasTexture()->name, 0u);
    empty->Stamp(20, 15, 11, 1.0f);
    EXPECT_EQ(empty->GetCanvasTexture()->pixels, ExpectedAfterStamps(40, 30, {{20, 15, 11, 1.0f}}));
}

TEST_F(OpenGLViewTest, TheRendererLinksBothShadersAndLoadsTheQuadIndices)
{
    const OpenGLRenderer* renderer = view->GetRenderer();
    ASSERT_NE(renderer, nullptr);
    const tevrin::ShaderProgram& program = renderer->GetProgram();
    EXPECT_TRUE(program.linked);
    EXPECT_NE(program.id, 0u);
    ASSERT_EQ(program.shaders.size(), 2u);
    EXPECT_NE(program.shaders[0], 0u);
    EXPECT_NE(program.shaders[1], 0u);
    EXPECT_NE(renderer->GetVertexBuffer(), 0u);
    EXPECT_NE(renderer->GetIndexBuffer(), 0u);
    EXPECT_NE(renderer->GetVertexBuffer(), renderer->GetIndexBuffer());

    const tevrin::u16* indices = renderer->GetIndices();
    for (int quad = 0; quad < OpenGLRenderer::quadCapacity; ++quad) {
        const int q = 4 * quad;
        const std::vector<int> six(indices + 6 * quad, indices + 6 * quad + 6);
        ASSERT_EQ(six, (std::vector<int>{q, q + 1, q + 2, q + 3, q + 2, q + 1})) << "quad " << quad;
    }
}

TEST_F(OpenGLViewTest, APaintFindsEveryLocationAndWritesTheViewportQuad)
{
    view->Invalidate();
    UpdateWindow(view->GetHandle());
    const OpenGLRenderer* renderer = view->GetRenderer();
    EXPECT_GE(renderer->GetAttributeLocation(OpenGLRenderer::attributePosition), 0);
    EXPECT_GE(renderer->GetAttributeLocation(OpenGLRenderer::attributeTexCoordIn), 0);
    for (OpenGLRenderer::Uniform uniform : {OpenGLRenderer::uniformProjectionMatrix, OpenGLRenderer::uniformTex,
                                            OpenGLRenderer::uniformType, OpenGLRenderer::uniformTint})
        EXPECT_GE(renderer->GetUniformLocation(uniform), 0) << "uniform " << uniform;

    const QuadVertex* quad = renderer->GetVertices();
    EXPECT_EQ(quad[0].x, 0);
    EXPECT_EQ(quad[0].y, 0);
    EXPECT_EQ(quad[3].x, surfaceSize);
    EXPECT_EQ(quad[3].y, surfaceSize);
    EXPECT_EQ(quad[1].u, 1.0f);
    EXPECT_EQ(quad[1].v, 0.0f);
    EXPECT_EQ(quad[2].u, 0.0f);
    EXPECT_EQ(quad[2].v, 1.0f);
}

TEST(OrthographicMatrix, MapsTheCanvasCornersToTheViewportCornersWithRowZeroOnTop)
{
    const std::array<tevrin::f32, 16> m = OrthographicMatrix(360, 200);
    auto apply = [&m](float x, float y, int row) { return m[row] * x + m[4 + row] * y + m[12 + row]; };
    EXPECT_FLOAT_EQ(apply(0, 0, 0), -1.0f);
    EXPECT_FLOAT_EQ(apply(0, 0, 1), 1.0f);
    EXPECT_FLOAT_EQ(apply(360, 200, 0), 1.0f);
    EXPECT_FLOAT_EQ(apply(360, 200, 1), -1.0f);
    EXPECT_FLOAT_EQ(m[10], -2.0f);
    EXPECT_FLOAT_EQ(m[14], -1.0f);
    EXPECT_FLOAT_EQ(m[15], 1.0f);
    EXPECT_FLOAT_EQ(m[1] + m[2] + m[3] + m[4] + m[6] + m[7] + m[8] + m[9] + m[11], 0.0f);
}

TEST_F(OpenGLViewTest, TheRendererDrawsTheCanvasWithRowZeroAtTheTop)
{
    view->Stamp(60, 30, 21, 1.0f);
    view->Stamp(300, 330, 11, 0.5f);
    EXPECT_EQ(RenderedFrame(*view, false), view->GetCanvasTexture()->pixels);
}

TEST_F(OpenGLViewTest, TheFocusMarkIsTwoBlackRowsAcrossTheTop)
{
    const std::vector<tevrin::u8> frame = RenderedFrame(*view, true);
    auto at = [&frame](int x, int y) { return frame[static_cast<size_t>(y) * surfaceSize + x]; };
    for (int x = 11; x < surfaceSize - 11; x += 7) {
        EXPECT_EQ(at(x, 10), 0) << "x " << x;
        EXPECT_EQ(at(x, 11), 0) << "x " << x;
        EXPECT_EQ(at(x, 9), grey) << "x " << x;
        EXPECT_EQ(at(x, 12), grey) << "x " << x;
    }
    EXPECT_EQ(at(5, 10), grey);
    EXPECT_EQ(at(surfaceSize - 5, 11), grey);
}

// Both surfaces fed the same real mouse messages must end with the same bytes.
TEST_F(OpenGLViewTest, TheSameStrokeGivesTheSameBytesAsTheGdiSurface)
{
    StrokeSettings settings;
    settings.interpolate = true;
    auto* gdi = new NibscopeViewNative;
    gdi->Canvas().allocate = [](size_t bytes) { return std::malloc(bytes); };
    gdi->Canvas().release = [](void* block) { std::free(block); };
    gdi->SetStrokeSettings(&settings);
    gdi->Create(surfaceSize, surfaceSize, parent, 0, 0);
    view->SetStrokeSettings(&settings);
    for (NibscopeView* surface : {static_cast<NibscopeView*>(gdi), static_cast<NibscopeView*>(view)}) {
        surface->SetGamma(1.0f);
        const HWND window = surface->GetHandle();
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 60));
        for (int step = 1; step <= 6; ++step)
            SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40 + 45 * step, 60 + 37 * step));
        SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(310, 282));
    }
    GdiFlush();
    const std::vector<tevrin::u8> gpu = GpuPixels(*view);
    ASSERT_FALSE(AllEqual(gpu, grey)) << "the stroke reached the OpenGL surface";
    const tevrin::dib& canvas = gdi->Canvas();
    ASSERT_NE(canvas.bits(), nullptr);
    for (int row = 0; row < surfaceSize; ++row) {
        const tevrin::u8* gdiRow = canvas.bits() + static_cast<ptrdiff_t>(row) * canvas.row_bytes();
        ASSERT_TRUE(std::equal(gdiRow, gdiRow + surfaceSize, gpu.begin() + row * surfaceSize)) << "row " << row;
    }
}

TEST_F(OpenGLViewTest, DestructionDropsTheTextureThenTheRendererThenTheContext)
{
    tevrin_test::DebugOutputCapture capture;
    delete parent;
    parent = nullptr;
    const std::vector<std::string> pieces = capture.Pieces();
    auto position = [&pieces](const std::string& text) {
        return std::find(pieces.begin(), pieces.end(), text) - pieces.begin();
    };
    const auto renderer = position("OpenGLRenderer::~OpenGLRenderer\n");
    const auto context = position("tevrin::OpenGLContext::~OpenGLContext\n");
    const auto registry = position("tevrin::GpuTextures::Destroy\n");
    ASSERT_LT(registry, static_cast<ptrdiff_t>(pieces.size()));
    EXPECT_LT(renderer, context);
    EXPECT_LT(context, registry);
    EXPECT_FALSE(NibscopeViewGL::IsAlive());
}

}  // namespace
