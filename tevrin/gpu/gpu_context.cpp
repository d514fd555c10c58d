#include "tevrin/gpu/gpu_context.h"

#include "tevrin/core/diagnostics.h"
#include "tevrin/gpu/gpu_textures.h"

namespace tevrin {
namespace {

bool has_registry(const IGpuContext& context, const char* operation)
{
    if (context.textures)
        return true;
    debug_trace("tevrin::IGpuContext::%s: context does not have texture list\n", operation);
    return false;
}

}  // namespace

IGpuContext::~IGpuContext() = default;

void IGpuContext::DestroyTextureRegistry()
{
    textures.reset();
}

void IGpuContext::SetTextureLoader(const TextureLoader& loader)
{
    if (has_registry(*this, "SetTextureLoader"))
        textures->SetTextureLoader(loader);
}

TexturePtr IGpuContext::CreateTextureFromImage(IImageSource& source)
{
    return has_registry(*this, "CreateTextureFromImage") ? textures->CreateTextureFromImage(source) : TexturePtr();
}

TexturePtr IGpuContext::LoadTexture(const std::string& name, ITaskManager* manager, const TexturePtr& target,
                                    const TextureLoader& loaderOverride)
{
    return has_registry(*this, "LoadTexture") ? textures->LoadTexture(name, manager, &target, loaderOverride)
                                              : TexturePtr();
}

TexturePtr IGpuContext::LoadTexture(const std::string& name, ITaskManager* manager,
                                    const TextureLoader& loaderOverride)
{
    return has_registry(*this, "LoadTexture") ? textures->LoadTexture(name, manager, nullptr, loaderOverride)
                                              : TexturePtr();
}

void IGpuContext::RetainTexture(const TexturePtr& texture)
{
    if (has_registry(*this, "RetainTexture"))
        textures->RetainTexture(texture);
}

void IGpuContext::RemoveTexture(const std::string& name)
{
    if (has_registry(*this, "RemoveTexture"))
        textures->RemoveTexture(name);
}

void IGpuContext::Dump() {}

}  // namespace tevrin
