#include "tevrin/gpu/texture_loader_task.h"

#include "tevrin/gpu/gpu_context.h"

namespace tevrin {

TextureLoaderTask::TextureLoaderTask(const TexturePtr& loadedTexture, const TexturePtr* targetTexture,
                                     const std::string& textureName, const TextureLoader& textureLoader,
                                     IGpuContext* owningContext)
    : task(textureName), texture(loadedTexture),
      target(targetTexture ? TextureWeakPtr(*targetTexture) : TextureWeakPtr()), hasTarget(targetTexture != nullptr),
      loader(textureLoader), owner(owningContext)
{
}

bool TextureLoaderTask::IsWanted()
{
    return !texture.expired();
}

void TextureLoaderTask::Run()
{
    if (texture.expired()) {
        state = taskAbandoned;
        done = 1;
        if (loader.Abandoned)
            loader.Abandoned(name);
        return;
    }
    loader.Load(name, result);
    if (const TexturePtr alive = texture.lock()) {
        alive->formatTag = result.formatTag;
        if (loader.PostLoad)
            loader.PostLoad(name, result);
    }
    state = taskLoaded;
}

void TextureLoaderTask::Finish()
{
    if (state != taskLoaded)
        return;
    TextureDescriptor descriptor;
    descriptor.pixels = result.pixels.data();
    descriptor.width = result.width;
    descriptor.height = result.height;
    descriptor.bits = result.bits;
    descriptor.dimensions = 2;
    descriptor.levels = 0;
    descriptor.formatTag = result.formatTag;
    if (loader.PreInstall)
        loader.PreInstall(descriptor);
    if (const TexturePtr alive = texture.lock())
        InstallInto(*alive, descriptor);
    if (hasTarget) {
        if (const TexturePtr alive = target.lock())
            InstallInto(*alive, descriptor);
    }
    done = 1;
}

void TextureLoaderTask::InstallInto(ITexture& destination, TextureDescriptor& descriptor)
{
    destination.name = owner->InstallTexture(descriptor);
    destination.width = result.width;
    destination.height = result.height;
    destination.bits = result.bits;
    if (loader.Installed)
        loader.Installed(destination);
}

}  // namespace tevrin
