#include "effects/SharedObjects.h"

#include "effects/CircleMask.h"
#include "effects/CombinerFilter.h"
#include "effects/CopyScreen.h"
#include "effects/JitterTexture.h"
#include "effects/KeyEffects.h"
#include "effects/OffsetWarpFilter.h"
#include "effects/PBuffer.h"
#include "effects/SharedKeys.h"
#include "effects/WarpGrid.h"
#include "resources/ResourceManager.h"

#include <memory>

namespace {

void* pbuffer(ResourceManager& resources, SharedKey<PBuffer> key, int width, int height)
{
    auto surface = std::make_unique<PBuffer>(width, height);
    surface->create(true);
    return resources.registerObject(key, std::move(surface));
}

void* copyScreen(ResourceManager& resources, SharedKey<CopyScreen> key, int width, int height)
{
    return resources.registerObject(key, std::make_unique<CopyScreen>(width, height, false));
}

// Material defaults are plain float arrays that scenes read directly.
void* floats(ResourceManager& resources, SharedKey<float> key, std::initializer_list<float> values)
{
    auto array = std::make_unique<float[]>(values.size());
    std::copy(values.begin(), values.end(), array.get());
    return resources.registerObject(key, std::move(array));
}

void* circleMask(ResourceManager& resources)
{
    return resources.registerObject(shared::circleMask,
                                    std::make_unique<MaskTexture>(MaskTexture{resources::createCircleMaskTexture()}));
}

void* blur(ResourceManager& resources, SharedKey<CombinerFilter> key, SharedKey<CopyScreen> copy, int width,
           int height)
{
    auto filter = std::make_unique<CombinerFilter>(&resources, copy, width, height);
    filter->loadProgramFile("avg.rcp");
    return resources.registerObject(key, std::move(filter));
}

// "Jitter" and "SimpleDSDT" are made together: the full-screen offset filter
// runs on the shared jitter texture, which decays at 0.99.
void* jitterPair(ResourceManager& resources, const std::string& name)
{
    auto texture = std::make_unique<JitterTexture>(32, 32);
    texture->decayRate = 0.99f;
    auto filter = std::make_unique<OffsetWarpFilter>(&resources, 640, 480);
    filter->borrowGrid(texture.get());
    void* jitter = resources.registerObject(shared::jitter, std::move(texture));
    void* simple = resources.registerObject(shared::simpleDSDT, std::move(filter));
    return name == shared::jitter.name ? jitter : simple;
}

// Requests for the key effects while they are being built (their accents
// and the warp grid are scenes) get null from the registry instead of
// starting a second one.
void* keyEffects(ResourceManager& resources)
{
    KeyEffects* registered = resources.registerObject(shared::keyEffects, std::make_unique<KeyEffects>(&resources));
    return static_cast<Scene*>(registered);
}

using Create = void* (*)(ResourceManager&, const std::string&);

struct Row {
    const char* name;
    Create create;
};

using R = ResourceManager;
using S = const std::string&;

const Row rows[] = {
    {shared::pbuffer320x240.name, [](R& r, S) { return pbuffer(r, shared::pbuffer320x240, 320, 240); }},
    {shared::pbuffer512x512.name, [](R& r, S) { return pbuffer(r, shared::pbuffer512x512, 512, 512); }},
    {shared::pbuffer640x480.name, [](R& r, S) { return pbuffer(r, shared::pbuffer640x480, 640, 480); }},
    {shared::copyScreen320x240.name, [](R& r, S) { return copyScreen(r, shared::copyScreen320x240, 320, 240); }},
    {shared::copyScreen512x512.name, [](R& r, S) { return copyScreen(r, shared::copyScreen512x512, 512, 512); }},
    {shared::copyScreen640x480.name, [](R& r, S) { return copyScreen(r, shared::copyScreen640x480, 640, 480); }},
    {shared::copyScreen640x480b.name, [](R& r, S) { return copyScreen(r, shared::copyScreen640x480b, 640, 480); }},
    {shared::copyScreen640x480c.name, [](R& r, S) { return copyScreen(r, shared::copyScreen640x480c, 640, 480); }},
    // An alias, not an object of its own: nothing is registered under it.
    {shared::copyScreenb.name, [](R& r, S) -> void* { return r.get(shared::copyScreen640x480b); }},
    {shared::circleMask.name, [](R& r, S) { return circleMask(r); }},
    {shared::pullWarp.name, [](R& r, S) -> void* {
         return r.registerObject(shared::pullWarp, std::make_unique<WarpGrid>(&r));
     }},
    {shared::blur640x480.name,
     [](R& r, S) { return blur(r, shared::blur640x480, shared::copyScreen640x480c, 640, 480); }},
    {shared::blur320x240.name,
     [](R& r, S) { return blur(r, shared::blur320x240, shared::copyScreen320x240, 320, 240); }},
    {shared::jitter.name, jitterPair},
    {shared::simpleDSDT.name, jitterPair},
    {shared::keyEffects.name, [](R& r, S) { return keyEffects(r); }},
    {shared::ambient.name, [](R& r, S) { return floats(r, shared::ambient, {0.1f, 0.1f, 0.1f}); }},
    {shared::diffuse.name, [](R& r, S) { return floats(r, shared::diffuse, {0.2f, 0.2f, 0.2f}); }},
    {shared::specular.name, [](R& r, S) { return floats(r, shared::specular, {1.0f, 1.0f, 1.0f}); }},
    {shared::shininess.name, [](R& r, S) { return floats(r, shared::shininess, {10.0f}); }},
};

} // namespace

void* createSharedObject(ResourceManager& resources, const std::string& name)
{
    for (const Row& row : rows)
        if (name == row.name)
            return row.create(resources, name);
    return nullptr;
}
