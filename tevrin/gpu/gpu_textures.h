#pragma once
// The texture registry of a GPU context: named textures (held weakly), the built-in
// "white" and "checker", the recently used textures (held strongly), and the loader
// that named textures are filled with in the background.
#include "tevrin/core/delegate.h"
#include "tevrin/core/types.h"
#include "tevrin/gpu/texture.h"

#include <deque>
#include <map>
#include <string>
#include <vector>

namespace tevrin {

class IGpuContext;
class IImageSource;
class ITaskManager;

// What a loader produces for a named texture.
struct TextureLoadResult {
    i32 width = 0;
    i32 height = 0;
    i32 bits = 0;
    i32 formatTag = 0;
    std::vector<u8> pixels;
};

// Empty delegates are skipped where a step is optional; Load is required when a task
// runs (an empty one throws empty_delegate_error).
struct TextureLoader {
    delegate<void(const std::string& name, TextureLoadResult& result)> Load;           // worker thread
    delegate<void(const std::string& name, TextureLoadResult& result)> PostLoad;       // worker thread
    delegate<void(TextureDescriptor& descriptor)> PreInstall;                          // GPU thread
    delegate<void(ITexture& texture)> Installed;                                       // GPU thread
    delegate<void(const std::string& name)> Abandoned;                                 // worker thread
    u64 userValue = 0;

    // This loader with every delegate that other supplies replaced by other's.
    TextureLoader OverriddenBy(const TextureLoader& other) const;
};

class GpuTextures {
public:
    explicit GpuTextures(IGpuContext* owningContext);
    ~GpuTextures();
    GpuTextures(const GpuTextures&) = delete;
    GpuTextures& operator=(const GpuTextures&) = delete;

    void SetTextureLoader(const TextureLoader& textureLoader);
    TexturePtr CreateTextureFromImage(IImageSource& source);
    TexturePtr LoadTexture(const std::string& textureName, ITaskManager* manager, const TexturePtr* target,
                           const TextureLoader& loaderOverride);
    void RetainTexture(const TexturePtr& texture);
    void RemoveTexture(const std::string& textureName);
    void Dump() const;

    const TextureLoader& Loader() const { return loader; }
    const TexturePtr& White() const { return white; }
    const TexturePtr& Checker() const { return checker; }

    // How many recently used textures stay retained.
    u64 recentLimit = 50;

private:
    TexturePtr InstallBuiltIn(const std::string& textureName, const u8* pixels, i32 width, i32 height, i32 bits);
    TexturePtr AliveEntry(const std::string& textureName) const;

    std::deque<TexturePtr> recent;
    std::map<std::string, TextureWeakPtr> names;
    TexturePtr white;
    TexturePtr checker;
    IGpuContext* owner;
    TextureLoader loader;
};

}  // namespace tevrin
