#pragma once
// The abstract GPU context: makes itself current, presents, and creates, installs,
// uploads, reads and deletes textures. It owns a texture registry.
#include "tevrin/core/delegate.h"
#include "tevrin/core/types.h"
#include "tevrin/gpu/texture.h"

#include <memory>
#include <string>

namespace tevrin {

class GpuTextures;
class IImageSource;
class ITaskManager;
struct TextureLoader;

struct GpuPoint {
    i32 x = 0;
    i32 y = 0;
};

class IGpuContext {
public:
    virtual ~IGpuContext();
    IGpuContext(const IGpuContext&) = delete;
    IGpuContext& operator=(const IGpuContext&) = delete;

    virtual bool IsValid() const = 0;
    // Gives the registry its loader and creates the built-in textures.
    virtual void SetTextureLoader(const TextureLoader& loader);
    virtual void AdoptCurrent() = 0;
    // Returns the pending GL error, which this also clears.
    virtual u32 MakeCurrent() = 0;
    virtual bool IsCurrent() const = 0;
    virtual void SwapBuffers() = 0;
    virtual GpuPoint ClientToScreen(GpuPoint point) const = 0;
    virtual TexturePtr CreateTexture() = 0;
    virtual TexturePtr CreateTextureFromImage(IImageSource& source);
    // Returns the named texture when it is alive; otherwise a new empty one, entered under
    // name, with a loader task queued to fill it (and target, when given).
    virtual TexturePtr LoadTexture(const std::string& name, ITaskManager* manager, const TexturePtr& target,
                                   const TextureLoader& loaderOverride);
    virtual TexturePtr LoadTexture(const std::string& name, ITaskManager* manager,
                                   const TextureLoader& loaderOverride);
    // Keeps texture alive among the registry's recently used ones.
    virtual void RetainTexture(const TexturePtr& texture);
    virtual void RemoveTexture(const std::string& name);
    // The new GL name, or 0 when nothing was installed (never throws).
    virtual u32 InstallTexture(TextureDescriptor& descriptor) = 0;
    virtual u32 ReadTexture(ITexture& texture) = 0;
    virtual void UpdateTexture(ITexture& texture) = 0;
    // Names of 0 and below are ignored.
    virtual void DeleteTexture(i32 name) = 0;
    virtual void Dump();

    // The registry, owned; null when construction did not complete.
    std::unique_ptr<GpuTextures> textures;
    // Asked by textures before they delete their GL names: the surface that drew with
    // this context may be gone although the context lives on.
    delegate<bool(IGpuContext*)> IsAlive;
    // Invoked last by the destructor when set.
    delegate<void()> OnDestroy;

protected:
    IGpuContext() = default;
    // For derived destructors that must release the registry before their own handles.
    void DestroyTextureRegistry();
};

}  // namespace tevrin
