#pragma once
// Fills a named texture in the background: the loader reads the image on a worker
// thread (Run), and the result is installed on the GPU context's thread (Finish).
// Textures are held weakly, so work for a texture nobody holds any more is skipped.
#include "tevrin/gpu/gpu_textures.h"
#include "tevrin/gpu/task.h"
#include "tevrin/gpu/texture.h"

#include <string>

namespace tevrin {

class IGpuContext;

class TextureLoaderTask : public task {
public:
    // target, when given, receives the same image as texture.
    TextureLoaderTask(const TexturePtr& texture, const TexturePtr* target, const std::string& textureName,
                      const TextureLoader& textureLoader, IGpuContext* owner);

    void Run() override;
    void Finish() override;
    bool IsWanted() override;

    const TextureLoadResult& Result() const { return result; }

private:
    void InstallInto(ITexture& destination, TextureDescriptor& descriptor);

    TextureWeakPtr texture;
    TextureWeakPtr target;
    bool hasTarget;
    TextureLoader loader;
    IGpuContext* owner;
    TextureLoadResult result;
};

}  // namespace tevrin
