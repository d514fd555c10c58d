#pragma once
// A texture: a GPU texture name with a CPU copy of its pixels, shared by reference
// counting, and the descriptor that installs one.
#include "tevrin/core/types.h"

#include <memory>
#include <utility>
#include <vector>

namespace tevrin {

class IGpuContext;

// Right and bottom are exclusive.
struct TextureRect {
    i32 left = 0;
    i32 top = 0;
    i32 right = 0;
    i32 bottom = 0;
};

// The pixel data are public: the drawing code stamps into pixels, marks dirty and then
// calls Update, which uploads that rectangle through the owning context.
class ITexture {
public:
    virtual std::pair<i32, i32> GetSize() const = 0;
    virtual void Update() = 0;
    virtual u32 Read() = 0;
    virtual ~ITexture() = default;

    IGpuContext* context = nullptr;  // the creating context; must outlive the texture
    u32 name = 0;                    // 0: not installed
    i32 width = 0;
    i32 height = 0;
    i32 bits = 0;                    // 8, 24 or 32
    std::vector<u8> pixels;          // rows of width * bits / 8 bytes, back to back
    TextureRect dirty;
    i32 formatTag = 0;               // an image source's format, carried along

protected:
    ITexture() = default;
    ITexture(const ITexture&) = delete;
    ITexture& operator=(const ITexture&) = delete;
};

using TexturePtr = std::shared_ptr<ITexture>;
using TextureWeakPtr = std::weak_ptr<ITexture>;

constexpr int maxTextureLevels = 16;

// Input of InstallTexture. Components per pixel are bits / 8: 1 luminance, 3 blue green
// red, 4 blue green red alpha.
struct TextureDescriptor {
    const u8* pixels = nullptr;
    const u8* levelPixels[maxTextureLevels] = {};  // levels 1..16; null: derived from the level above
    i32 width = 0;
    i32 height = 0;
    i32 bits = 0;
    i32 dimensions = 2;  // 1: one-dimensional, otherwise two-dimensional
    i32 levels = 0;      // mipmap levels beyond level 0
    i32 formatTag = 0;
};

}  // namespace tevrin
