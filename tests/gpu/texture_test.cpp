// Installing, updating, reading back and deleting textures in a real OpenGL context.
#include "plain_window.h"
#include "support/debug_output_capture.h"
#include "tevrin/core/exception.h"
#include "tevrin/gpu/gpu_textures.h"
#include "tevrin/gpu/opengl_context.h"
#include "tevrin/gpu/texture_transfer.h"

#include <gtest/gtest.h>

#include <memory>
#include <numeric>
#include <string>
#include <vector>

using namespace tevrin;
using gpu_test::PlainWindow;
using tevrin_test::DebugOutputCapture;

namespace {

class TextureInContext : public ::testing::Test {
protected:
    void SetUp() override
    {
        context = std::make_unique<OpenGLContext>(window.handle);
        context->IsAlive = [this](IGpuContext*) { return surfaceAlive; };
    }

    // The surface's own sequence: a texture of w x h filled with value, installed.
    TexturePtr MakeCanvas(i32 width, i32 height, u8 value)
    {
        TexturePtr texture = context->CreateTexture();
        texture->bits = 8;
        texture->width = width;
        texture->height = height;
        texture->pixels.assign(static_cast<size_t>(width * height), value);
        texture->name = Install(texture->pixels.data(), width, height, 8);
        return texture;
    }

    u32 Install(const u8* pixels, i32 width, i32 height, i32 bits, i32 levels = 0, i32 dimensions = 2)
    {
        TextureDescriptor descriptor;
        descriptor.pixels = pixels;
        descriptor.width = width;
        descriptor.height = height;
        descriptor.bits = bits;
        descriptor.levels = levels;
        descriptor.dimensions = dimensions;
        return context->InstallTexture(descriptor);
    }

    // What the GPU holds for level of name, independent of the code under test.
    static std::vector<u8> GpuBytes(u32 name, GLint level, GLenum format, size_t size)
    {
        std::vector<u8> bytes(size, 0xEE);
        glBindTexture(GL_TEXTURE_2D, name);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, level, format, GL_UNSIGNED_BYTE, bytes.data());
        return bytes;
    }

    static GLint TextureParameter(GLenum target, GLenum parameter)
    {
        GLint value = 0;
        glGetTexParameteriv(target, parameter, &value);
        return value;
    }

    PlainWindow window;
    std::unique_ptr<OpenGLContext> context;
    bool surfaceAlive = true;
};

}  // namespace

TEST_F(TextureInContext, InstallRefusesIncompleteDescriptors)
{
    const u8 pixel = 7;
    DebugOutputCapture capture;
    EXPECT_EQ(Install(&pixel, 0, 1, 8), 0u);
    EXPECT_EQ(Install(&pixel, 1, 0, 8), 0u);
    EXPECT_EQ(Install(&pixel, 1, 1, 0), 0u);
    EXPECT_EQ(Install(nullptr, 1, 1, 8), 0u);
    std::string expected;
    for (int refusal = 0; refusal < 4; ++refusal)
        expected += "tevrin::OpenGLContext::InstallTexture: texture not ready to install\n";
    EXPECT_EQ(capture.Text(), expected);
}

TEST_F(TextureInContext, InstallRefusesWithoutARegistry)
{
    const u8 pixel = 7;
    context->textures.reset();
    DebugOutputCapture capture;
    EXPECT_EQ(Install(&pixel, 1, 1, 8), 0u);
    EXPECT_EQ(capture.Text(), "tevrin::OpenGLContext::InstallTexture: context does not have texture list\n");
}

TEST_F(TextureInContext, ThreeByTwoLuminanceUploadsWithRowAlignmentOne)
{
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    const std::vector<u8> pixels = {10, 20, 30, 40, 50, 60};  // rows of 3 bytes, no padding
    const u32 name = Install(pixels.data(), 3, 2, 8);
    ASSERT_NE(name, 0u);
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 1);
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 1);

    EXPECT_EQ(GpuBytes(name, 0, GL_LUMINANCE, 6), pixels);
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    EXPECT_EQ(width, 3);
    EXPECT_EQ(height, 2);
    EXPECT_EQ(TextureParameter(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(TextureParameter(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(TextureParameter(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL), 0);
}

TEST_F(TextureInContext, ColourTexturesKeepBlueFirstOrder)
{
    const std::vector<u8> bgr = {1, 2, 3, 4, 5, 6};
    const u32 rgbName = Install(bgr.data(), 2, 1, 24);
    ASSERT_NE(rgbName, 0u);
    EXPECT_EQ(GpuBytes(rgbName, 0, GL_RGB, 6), (std::vector<u8>{3, 2, 1, 6, 5, 4}));

    const std::vector<u8> bgra = {1, 2, 3, 4, 5, 6, 7, 8};
    TexturePtr texture = context->CreateTexture();
    texture->name = Install(bgra.data(), 2, 1, 32);
    texture->width = 2;
    texture->height = 1;
    texture->bits = 32;
    EXPECT_EQ(texture->Read(), 0u);
    EXPECT_EQ(texture->pixels, bgra);
}

TEST_F(TextureInContext, DerivedMipmapsAreTwoByTwoBoxAverages)
{
    const std::vector<u8> pixels = {0,   4,   8,   12,  //
                                    1,   5,   9,   13,  //
                                    100, 101, 200, 203, //
                                    102, 103, 201, 202};
    TextureDescriptor descriptor;
    const u8 givenLevel2 = 77;
    descriptor.pixels = pixels.data();
    descriptor.levelPixels[1] = &givenLevel2;
    descriptor.width = 4;
    descriptor.height = 4;
    descriptor.bits = 8;
    descriptor.levels = 2;
    const u32 name = context->InstallTexture(descriptor);
    ASSERT_NE(name, 0u);
    // (0+4+1+5)/4 = 2, (8+12+9+13)/4 = 10 (10.5 truncated), (100+101+102+103)/4 = 101 (101.5), 806/4 = 201
    EXPECT_EQ(GpuBytes(name, 1, GL_LUMINANCE, 4), (std::vector<u8>{2, 10, 101, 201}));
    EXPECT_EQ(GpuBytes(name, 2, GL_LUMINANCE, 1), (std::vector<u8>{77}));
    EXPECT_EQ(TextureParameter(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(TextureParameter(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL), 2);
    for (const u8* level : descriptor.levelPixels)
        EXPECT_EQ(level, nullptr);
}

TEST_F(TextureInContext, OneDimensionalTexturesUseTheOneDimensionalTarget)
{
    const std::vector<u8> pixels = {9, 8, 7, 6};
    const u32 name = Install(pixels.data(), 4, 1, 8, 0, 1);
    ASSERT_NE(name, 0u);
    glBindTexture(GL_TEXTURE_1D, name);
    GLint width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_1D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 4);
    std::vector<u8> bytes(4);
    glGetTexImage(GL_TEXTURE_1D, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, bytes.data());
    EXPECT_EQ(bytes, pixels);
}

TEST(BoxFilter, AveragesEachComponentSeparatelyAndTruncates)
{
    // 2 x 2 pixels of three components become one pixel.
    const std::vector<u8> pixels = {0, 10, 255, 1, 11, 255, 2, 12, 255, 4, 14, 254};
    EXPECT_EQ(opengl::box_filter_level(pixels.data(), 2, 1, 3), (std::vector<u8>{1, 11, 254}));
}

TEST_F(TextureInContext, ADirtyRectangleUploadsOnlyItsPixels)
{
    const i32 width = 16, height = 12;
    TexturePtr canvas = MakeCanvas(width, height, 192);
    ASSERT_NE(canvas->name, 0u);
    std::fill(canvas->pixels.begin(), canvas->pixels.end(), u8(0));
    canvas->pixels[7 * width + 5] = 33;
    canvas->dirty = {5, 7, 6, 8};
    canvas->Update();

    EXPECT_EQ(canvas->Read(), 0u);
    ASSERT_EQ(canvas->pixels.size(), static_cast<size_t>(width * height));
    for (i32 y = 0; y < height; ++y) {
        for (i32 x = 0; x < width; ++x)
            EXPECT_EQ(canvas->pixels[y * width + x], (x == 5 && y == 7) ? 33 : 192) << x << "," << y;
    }

    std::iota(canvas->pixels.begin(), canvas->pixels.end(), u8(0));
    const std::vector<u8> expected = canvas->pixels;
    canvas->dirty = {0, 0, width, height};
    canvas->Update();
    canvas->pixels.clear();
    canvas->Read();
    EXPECT_EQ(canvas->pixels, expected);
}

TEST_F(TextureInContext, UpdateRestoresTheStateItChanged)
{
    TexturePtr canvas = MakeCanvas(8, 8, 192);
    GLuint other = 0;
    glGenTextures(1, &other);
    glBindTexture(GL_TEXTURE_2D, other);
    glDisable(GL_TEXTURE_2D);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 3);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 1);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 2);

    canvas->dirty = {2, 3, 5, 6};
    canvas->Update();

    GLint value = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
    EXPECT_EQ(static_cast<GLuint>(value), other);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    glGetIntegerv(GL_UNPACK_ROW_LENGTH, &value);
    EXPECT_EQ(value, 3);
    glGetIntegerv(GL_UNPACK_SKIP_PIXELS, &value);
    EXPECT_EQ(value, 1);
    glGetIntegerv(GL_UNPACK_SKIP_ROWS, &value);
    EXPECT_EQ(value, 2);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    glEnable(GL_TEXTURE_2D);
    canvas->Update();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    glDisable(GL_TEXTURE_2D);
}

TEST_F(TextureInContext, ReadingAnUnsupportedDepthThrowsAfterResizing)
{
    TexturePtr canvas = MakeCanvas(4, 3, 192);
    canvas->bits = 16;
    try {
        canvas->Read();
        FAIL() << "no exception";
    } catch (const general_error& error) {
        EXPECT_STREQ(error.what(), "texture read: unsupported bit depth");
    }
    EXPECT_EQ(canvas->pixels.size(), 24u);
}

TEST_F(TextureInContext, ATextureOutlivingItsSurfaceDeletesNoGlName)
{
    TexturePtr canvas = MakeCanvas(4, 4, 192);
    const GLuint name = canvas->name;
    PlainWindow elsewhere;
    OpenGLContext other(elsewhere.handle);  // now current
    surfaceAlive = false;
    canvas.reset();
    EXPECT_TRUE(other.IsCurrent());
    context->MakeCurrent();
    EXPECT_TRUE(glIsTexture(name));
}

TEST_F(TextureInContext, ATextureOfALiveSurfaceDeletesItsNameAndRestoresTheCurrentContext)
{
    TexturePtr canvas = MakeCanvas(4, 4, 192);
    const GLuint name = canvas->name;
    PlainWindow elsewhere;
    OpenGLContext other(elsewhere.handle);
    canvas.reset();
    EXPECT_TRUE(other.IsCurrent());
    context->MakeCurrent();
    EXPECT_FALSE(glIsTexture(name));
}

TEST_F(TextureInContext, WithoutIsAliveTheNameIsLeftAndTraced)
{
    TexturePtr canvas = MakeCanvas(2, 2, 192);
    const GLuint name = canvas->name;
    context->IsAlive.reset();
    DebugOutputCapture capture;
    canvas.reset();
    EXPECT_TRUE(glIsTexture(name));
    EXPECT_NE(capture.Text().find("tevrin::OpenGLTexture::~OpenGLTexture"), std::string::npos);
    context->IsAlive = [](IGpuContext*) { return false; };  // the registry's textures go quietly
}

TEST_F(TextureInContext, ANewTextureHasOnlyItsContext)
{
    TexturePtr texture = context->CreateTexture();
    EXPECT_EQ(texture->context, context.get());
    EXPECT_EQ(texture->name, 0u);
    EXPECT_EQ(texture->GetSize(), std::make_pair(0, 0));
    EXPECT_EQ(texture->bits, 0);
    EXPECT_TRUE(texture->pixels.empty());
    texture->width = 5;
    texture->height = 6;
    EXPECT_EQ(texture->GetSize(), std::make_pair(5, 6));
}
