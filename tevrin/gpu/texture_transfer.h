#pragma once
// Moving texture pixels between the CPU and the current OpenGL context: install with
// optional mipmaps, upload a dirty rectangle, read back.
#include "tevrin/gpu/gl_api.h"
#include "tevrin/gpu/texture.h"

#include <vector>

namespace tevrin {
namespace opengl {

// Creates, configures and fills a texture name from descriptor; returns the name.
// Derived mipmap levels are freed again and every level pointer is reset to null.
GLuint upload_new_texture(TextureDescriptor& descriptor);

// Level n + 1 of a square-halving mipmap chain: each output byte is the sum of the
// four bytes of the same component under it, shifted right by 2. size is the output's
// width and height; the input rows are sourceWidth pixels long.
std::vector<u8> box_filter_level(const u8* source, i32 sourceWidth, i32 size, i32 components);

// Uploads texture.dirty of an 8-, 24- or 32-bit texture; other depths upload nothing.
// Restores the unpack state, the 2D binding and the 2D enable flag.
void upload_dirty_rectangle(const ITexture& texture);

// Resizes texture.pixels and reads level 0 into them; throws general_error for depths
// other than 8, 24 and 32 and for a GL error. Returns glGetError() after restoring.
u32 read_texture_pixels(ITexture& texture);

}  // namespace opengl
}  // namespace tevrin
