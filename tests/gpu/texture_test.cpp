// The OpenGL surface's canvas texture in a real OpenGL context: install, upload of its
// dirty rectangle, deletion. (The registry's named textures and loader tasks are built
// for a worker thread that the program never starts.)
#include "tevrin/gpu/gpu_textures.h"
#include "tevrin/gpu/opengl_context.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tevrin;

TEST(Textures, ADirtyRectangleIsUploadedAndTheGlNameDeletedOnlyWhileTheSurfaceLives)
{
    OpenGLContext context(nullptr);
    bool surfaceAlive = true;
    context.IsAlive = [&surfaceAlive](IGpuContext*) { return surfaceAlive; };
    auto makeCanvas = [&context](i32 width, i32 height) {  // as the surface makes it: 8 bits, all 192
        TexturePtr texture = context.CreateTexture();
        texture->bits = 8, texture->width = width, texture->height = height;
        texture->pixels.assign(static_cast<size_t>(width * height), 192);
        TextureDescriptor descriptor;
        descriptor.pixels = texture->pixels.data(), descriptor.width = width, descriptor.height = height, descriptor.bits = 8;
        texture->name = context.InstallTexture(descriptor);
        return texture;
    };
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    TexturePtr canvas = makeCanvas(13, 12);  // rows of 13 bytes, no padding
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

    for (bool alive : {true, false}) {
        canvas = makeCanvas(4, 4);
        const GLuint name = canvas->name;
        OpenGLContext other(nullptr);
        surfaceAlive = alive;
        canvas.reset();
        EXPECT_TRUE(other.IsCurrent()) << "surface alive " << alive;
        context.MakeCurrent();
        EXPECT_EQ(glIsTexture(name) == GL_FALSE, alive) << "surface alive " << alive;
    }
}
