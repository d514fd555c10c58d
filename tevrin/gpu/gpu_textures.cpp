#include "tevrin/gpu/gpu_textures.h"

#include "tevrin/core/diagnostics.h"
#include "tevrin/gpu/gpu_context.h"
#include "tevrin/gpu/image_source.h"
#include "tevrin/gpu/task.h"
#include "tevrin/gpu/texture_loader_task.h"

#include <memory>

namespace tevrin {
namespace {

template <typename Delegate>
void take_if_set(Delegate& slot, const Delegate& replacement)
{
    if (replacement)
        slot = replacement;
}

}  // namespace

TextureLoader TextureLoader::OverriddenBy(const TextureLoader& other) const
{
    TextureLoader merged = *this;
    take_if_set(merged.Load, other.Load);
    take_if_set(merged.PostLoad, other.PostLoad);
    take_if_set(merged.PreInstall, other.PreInstall);
    take_if_set(merged.Installed, other.Installed);
    take_if_set(merged.Abandoned, other.Abandoned);
    return merged;
}

GpuTextures::GpuTextures(IGpuContext* owningContext) : owner(owningContext) {}

// Members then go in reverse order: the loader, the built-in textures (whose destructors
// delete their GL names while the owner is current), the name map, the recent queue.
GpuTextures::~GpuTextures()
{
    debug_trace("tevrin::GpuTextures::Destroy\n");
    if (owner) {
        owner->MakeCurrent();
        owner = nullptr;
        names.clear();
    }
}

void GpuTextures::SetTextureLoader(const TextureLoader& textureLoader)
{
    loader = textureLoader;
    const u32 whitePixel = 0xFFFFFFFFu;
    white = InstallBuiltIn("white", reinterpret_cast<const u8*>(&whitePixel), 1, 1, 32);
    const u8 checkerPixels[4] = {255, 192, 192, 255};
    checker = InstallBuiltIn("checker", checkerPixels, 2, 2, 8);
}

// Only the GL name goes into a built-in texture; its size and depth stay 0.
TexturePtr GpuTextures::InstallBuiltIn(const std::string& textureName, const u8* pixels, i32 width, i32 height,
                                       i32 bits)
{
    TexturePtr texture = owner->CreateTexture();
    TextureDescriptor descriptor;
    descriptor.pixels = pixels;
    descriptor.width = width;
    descriptor.height = height;
    descriptor.bits = bits;
    descriptor.dimensions = 2;
    texture->name = owner->InstallTexture(descriptor);
    names[textureName] = texture;
    return texture;
}

TexturePtr GpuTextures::CreateTextureFromImage(IImageSource& source)
{
    source.Begin();
    const i32 width = source.GetWidth();
    const i32 height = source.GetHeight();
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    std::vector<u8> buffer(rowBytes * static_cast<size_t>(height), 0);
    for (i32 y = 0; y < height; ++y)
        source.ReadRow(y, buffer.data() + static_cast<size_t>(y) * rowBytes);
    owner->MakeCurrent();

    TextureDescriptor descriptor;
    descriptor.pixels = buffer.data();
    descriptor.width = width;
    descriptor.height = height;
    descriptor.bits = 32;
    descriptor.dimensions = 2;
    descriptor.formatTag = source.GetFormatTag();
    TexturePtr texture = owner->CreateTexture();
    texture->name = owner->InstallTexture(descriptor);
    texture->bits = 32;
    texture->context = owner;
    texture->width = width;
    texture->height = height;
    texture->formatTag = descriptor.formatTag;
    buffer = std::vector<u8>();
    source.End();
    return texture;
}

TexturePtr GpuTextures::AliveEntry(const std::string& textureName) const
{
    const auto entry = names.find(textureName);
    return entry == names.end() ? TexturePtr() : entry->second.lock();
}

TexturePtr GpuTextures::LoadTexture(const std::string& textureName, ITaskManager* manager, const TexturePtr* target,
                                    const TextureLoader& loaderOverride)
{
    const TextureLoader effective = loader.OverriddenBy(loaderOverride);
    if (TexturePtr existing = AliveEntry(textureName))
        return existing;
    TexturePtr texture = owner->CreateTexture();
    names[textureName] = texture;
    tasks::Add(manager, std::make_shared<TextureLoaderTask>(texture, target, textureName, effective, owner));
    return texture;
}

void GpuTextures::RetainTexture(const TexturePtr& texture)
{
    while (!recent.empty() && recent.size() >= recentLimit)
        recent.pop_front();
    if (recentLimit != 0)
        recent.push_back(texture);
}

void GpuTextures::RemoveTexture(const std::string& textureName)
{
    names.erase(textureName);
}

void GpuTextures::Dump() const
{
    debug_trace("tevrin::GpuTextures::Dump\n");
    for (const auto& [textureName, reference] : names) {
        const TexturePtr texture = reference.lock();
        debug_trace("%s: %d\n", textureName.c_str(), texture ? static_cast<int>(texture->name) : -1);
    }
}

}  // namespace tevrin
