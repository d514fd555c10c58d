// Textures in a real OpenGL context: the canvas texture's install, dirty-rectangle
// upload and deletion, and one run of the registry's loading path.
#include "support/debug_output_capture.h"
#include "tevrin/gpu/gpu_textures.h"
#include "tevrin/gpu/opengl_context.h"
#include "tevrin/gpu/task.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace tevrin;

namespace {

class Textures : public ::testing::Test {
protected:
    void SetUp() override { context->IsAlive = [this](IGpuContext*) { return surfaceAlive; }; }

    u32 Install(const u8* pixels, i32 width, i32 height, i32 bits)
    {
        TextureDescriptor descriptor;
        descriptor.pixels = pixels;
        descriptor.width = width;
        descriptor.height = height;
        descriptor.bits = bits;
        return context->InstallTexture(descriptor);
    }
    // The surface's own sequence: an 8-bit texture of width x height holding 192.
    TexturePtr MakeCanvas(i32 width, i32 height)
    {
        TexturePtr texture = context->CreateTexture();
        texture->bits = 8;
        texture->width = width;
        texture->height = height;
        texture->pixels.assign(static_cast<size_t>(width * height), 192);
        texture->name = Install(texture->pixels.data(), width, height, 8);
        return texture;
    }

    std::unique_ptr<OpenGLContext> context = std::make_unique<OpenGLContext>(nullptr);
    bool surfaceAlive = true;
};

}  // namespace

TEST_F(Textures, InstallRefusesWhatIsNotReadyAndTracesWhy)
{
    const u8 pixel = 7;
    tevrin_test::DebugOutputCapture capture;
    EXPECT_EQ(Install(&pixel, 0, 1, 8) + Install(&pixel, 1, 0, 8) + Install(&pixel, 1, 1, 0) + Install(nullptr, 1, 1, 8), 0u);
    context->textures.reset();
    EXPECT_EQ(Install(&pixel, 1, 1, 8), 0u);
    std::string expected;
    for (int refusal = 0; refusal < 4; ++refusal)
        expected += "tevrin::OpenGLContext::InstallTexture: texture not ready to install\n";
    EXPECT_EQ(capture.Text(), expected + "tevrin::GpuTextures::Destroy\n"
                                         "tevrin::OpenGLContext::InstallTexture: context does not have texture list\n");
}

TEST_F(Textures, RowsOfAnyWidthAndOnlyTheDirtyRectangleAreUploaded)
{
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    TexturePtr canvas = MakeCanvas(13, 12);  // rows of 13 bytes, no padding
    ASSERT_NE(canvas->name, 0u);
    std::fill(canvas->pixels.begin(), canvas->pixels.end(), u8(0));
    canvas->pixels[7 * 13 + 5] = 33;
    canvas->dirty = {5, 7, 6, 8};
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 3);
    canvas->Update();
    GLint rowLength = 0;
    glGetIntegerv(GL_UNPACK_ROW_LENGTH, &rowLength);
    EXPECT_EQ(rowLength, 3) << "restored after the upload";
    canvas->Read();
    std::vector<u8> expected(13 * 12, 192);
    expected[7 * 13 + 5] = 33;
    EXPECT_EQ(canvas->pixels, expected);
}

TEST_F(Textures, AGlNameIsDeletedOnlyWhileTheSurfaceLivesAndTheCurrentContextIsKept)
{
    for (bool alive : {true, false}) {
        TexturePtr canvas = MakeCanvas(4, 4);
        const GLuint name = canvas->name;
        OpenGLContext other(nullptr);
        surfaceAlive = alive;
        canvas.reset();
        EXPECT_TRUE(other.IsCurrent()) << "surface alive " << alive;
        context->MakeCurrent();
        EXPECT_EQ(glIsTexture(name) == GL_FALSE, alive) << "surface alive " << alive;
    }
}

// The registry and its loader tasks are built for a worker thread the program never
// starts; one run of the path on this thread.
TEST_F(Textures, ANamedTextureIsLoadedOnceThroughItsTask)
{
    struct : ITaskManager {
        bool IsAlive() const override { return true; }
    } manager;
    TextureLoader loader;
    loader.Load = [](const std::string&, TextureLoadResult& result) {
        result.width = 2, result.height = 1, result.bits = 8, result.pixels = {10, 20};
    };
    TexturePtr texture = context->LoadTexture("grey", &manager, loader);
    EXPECT_EQ(context->LoadTexture("grey", &manager, loader), texture);
    ASSERT_EQ(manager.queue.size(), 1u);
    manager.queue.front()->Run();
    manager.queue.front()->Finish();
    ASSERT_NE(texture->name, 0u);
    texture->Read();
    EXPECT_EQ(texture->pixels, (std::vector<u8>{10, 20}));
    tevrin_test::DebugOutputCapture capture;
    context->Dump();
    EXPECT_EQ(capture.Text(), "tevrin::GpuTextures::Dump\ngrey: " + std::to_string(texture->name) + "\n");
}
