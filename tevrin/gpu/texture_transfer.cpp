#include "tevrin/gpu/texture_transfer.h"

#include "tevrin/core/diagnostics.h"
#include "tevrin/core/exception.h"

namespace tevrin {
namespace opengl {
namespace {

struct upload_format {
    GLint internal;
    GLenum data;
};

upload_format install_format(i32 components)
{
    switch (components) {
    case 1: return {GL_LUMINANCE, GL_LUMINANCE};
    case 3: return {GL_RGB, GL_BGR};
    default: return {GL_RGBA, GL_BGRA};
    }
}

void set_filters(GLenum target, i32 levels, i32 dimensions)
{
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, levels > 0 ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (dimensions == 2) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, levels);
    }
    glGetError();
}

// Mipmapped two-dimensional textures are square: every level is size x size.
void upload_mipmap_levels(TextureDescriptor& descriptor, i32 components)
{
    const upload_format format = install_format(components);
    std::vector<u8> derived;  // the newest derived level, the source of the next one
    const u8* previous = descriptor.pixels;
    i32 previousWidth = descriptor.width;
    i32 size = descriptor.width / 2;
    for (i32 level = 1; level <= descriptor.levels && level <= maxTextureLevels; ++level) {
        const u8* pixels = descriptor.levelPixels[level - 1];
        if (descriptor.dimensions == 1) {
            glTexImage1D(GL_TEXTURE_1D, level, components, size, 0, format.data, GL_UNSIGNED_BYTE, pixels);
        } else {
            if (!pixels) {
                derived = box_filter_level(previous, previousWidth, size, components);
                pixels = derived.data();
            }
            glTexImage2D(GL_TEXTURE_2D, level, components, size, size, 0, format.data, GL_UNSIGNED_BYTE, pixels);
        }
        previous = pixels;
        previousWidth = size;
        size /= 2;
    }
}

// GL state that an upload or read-back changes and puts back afterwards.
class texture_2d_state {
public:
    texture_2d_state() : wasEnabled(glIsEnabled(GL_TEXTURE_2D) == GL_TRUE)
    {
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundName);
        glEnable(GL_TEXTURE_2D);
    }
    ~texture_2d_state()
    {
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(boundName));
        if (!wasEnabled)
            glDisable(GL_TEXTURE_2D);
    }
    texture_2d_state(const texture_2d_state&) = delete;
    texture_2d_state& operator=(const texture_2d_state&) = delete;

private:
    bool wasEnabled;
    GLint boundName = 0;
};

class unpack_window_state {
public:
    unpack_window_state()
    {
        glGetIntegerv(GL_UNPACK_ROW_LENGTH, &rowLength);
        glGetIntegerv(GL_UNPACK_SKIP_PIXELS, &skipPixels);
        glGetIntegerv(GL_UNPACK_SKIP_ROWS, &skipRows);
    }
    ~unpack_window_state()
    {
        glPixelStorei(GL_UNPACK_ROW_LENGTH, rowLength);
        glPixelStorei(GL_UNPACK_SKIP_PIXELS, skipPixels);
        glPixelStorei(GL_UNPACK_SKIP_ROWS, skipRows);
    }
    unpack_window_state(const unpack_window_state&) = delete;
    unpack_window_state& operator=(const unpack_window_state&) = delete;

private:
    GLint rowLength = 0;
    GLint skipPixels = 0;
    GLint skipRows = 0;
};

bool update_format(i32 components, GLenum& format)
{
    switch (components) {
    case 1: format = GL_LUMINANCE; return true;
    case 3: format = GL_RGB; return true;
    case 4: format = GL_RGBA; return true;
    default: return false;
    }
}

GLenum read_format(i32 bits)
{
    switch (bits) {
    case 8: return GL_LUMINANCE;
    case 24: return GL_BGR;
    case 32: return GL_BGRA;
    default: throw general_error("texture read: unsupported bit depth");
    }
}

}  // namespace

std::vector<u8> box_filter_level(const u8* source, i32 sourceWidth, i32 size, i32 components)
{
    std::vector<u8> level(static_cast<size_t>(size) * static_cast<size_t>(size) * static_cast<size_t>(components));
    const size_t sourceRow = static_cast<size_t>(sourceWidth) * static_cast<size_t>(components);
    for (i32 y = 0; y < size; ++y) {
        for (i32 x = 0; x < size; ++x) {
            for (i32 c = 0; c < components; ++c) {
                const size_t topLeft = static_cast<size_t>(2 * y) * sourceRow + static_cast<size_t>(2 * x * components + c);
                const unsigned sum = source[topLeft] + source[topLeft + components] + source[topLeft + sourceRow] +
                                     source[topLeft + sourceRow + components];
                level[(static_cast<size_t>(y) * size + x) * components + c] = static_cast<u8>(sum >> 2);
            }
        }
    }
    return level;
}

GLuint upload_new_texture(TextureDescriptor& descriptor)
{
    const GLenum target = descriptor.dimensions == 1 ? GL_TEXTURE_1D : GL_TEXTURE_2D;
    const i32 components = descriptor.bits / 8;
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(target, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    set_filters(target, descriptor.levels, descriptor.dimensions);

    const upload_format format = install_format(components);
    if (target == GL_TEXTURE_1D)
        glTexImage1D(target, 0, format.internal, descriptor.width, 0, format.data, GL_UNSIGNED_BYTE,
                     descriptor.pixels);
    else
        glTexImage2D(target, 0, format.internal, descriptor.width, descriptor.height, 0, format.data,
                     GL_UNSIGNED_BYTE, descriptor.pixels);
    glGetError();

    if (descriptor.levels > 0)
        upload_mipmap_levels(descriptor, components);
    for (const u8*& level : descriptor.levelPixels)
        level = nullptr;
    return name;
}


void upload_dirty_rectangle(const ITexture& texture)
{
    GLenum format = 0;
    if (!update_format(texture.bits / 8, format))
        return;
    const texture_2d_state textureState;
    const unpack_window_state unpackState;
    // The row length counts pixels; for the 8-bit canvases that is also the byte count.
    glPixelStorei(GL_UNPACK_ROW_LENGTH, texture.width);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, texture.dirty.left);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, texture.dirty.top);
    glBindTexture(GL_TEXTURE_2D, texture.name);
    glTexSubImage2D(GL_TEXTURE_2D, 0, texture.dirty.left, texture.dirty.top, texture.dirty.right - texture.dirty.left,
                    texture.dirty.bottom - texture.dirty.top, format, GL_UNSIGNED_BYTE, texture.pixels.data());
}

u32 read_texture_pixels(ITexture& texture)
{
    {
        const texture_2d_state textureState;
        glBindTexture(GL_TEXTURE_2D, texture.name);
        glGetError();
        const i32 bytes = texture.width * texture.height * texture.bits / 8;
        texture.pixels.resize(static_cast<size_t>(bytes > 0 ? bytes : 0));
        const GLenum format = read_format(texture.bits);
        // Rows are packed back to back; a wider alignment would write past the buffer.
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, texture.pixels.data());
        const GLenum error = glGetError();
        if (error != GL_NO_ERROR) {
            debug_trace("tevrin::OpenGLContext::ReadTexture: GL error: %d\n", static_cast<int>(error));
            throw general_error("GL error during texture read");
        }
    }
    return glGetError();
}

}  // namespace opengl
}  // namespace tevrin
