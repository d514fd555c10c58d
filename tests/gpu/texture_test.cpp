// The OpenGL surface's canvas texture in a real OpenGL context: install, upload of its
// dirty rectangle, deletion. (The registry's named textures and loader tasks are built
// for a worker thread that the program never starts.)
#include "tevrin/gpu/gpu_textures.h"
#include "tevrin/gpu/opengl_context.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace tevrin;

namespace {

class Textures : public ::testing::Test {
protected:
    void SetUp() override { context->IsAlive = [this](IGpuContext*) { return surfaceAlive; }; }

    // The surface's own sequence: an 8-bit texture of width x height holding 192.
    TexturePtr MakeCanvas(i32 width, i32 height)
    {
        TexturePtr texture = context->CreateTexture();
        texture->bits = 8, texture->width = width, texture->height = height;
        texture->pixels.assign(static_cast<size_t>(width * height), 192);
        TextureDescriptor descriptor;
        descriptor.pixels = texture->pixels.data(), descriptor.width = width, descriptor.height = height;
        descriptor.bits = 8;
        texture->name = context->InstallTexture(descriptor);
        return texture;
    }

    std::unique_ptr<OpenGLContext> context = std::make_unique<OpenGLContext>(nullptr);
    bool surfaceAlive = true;
};

}  // namespace

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
