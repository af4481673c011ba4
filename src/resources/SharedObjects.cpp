#include "resources/SharedObjects.h"

#include "effects/CombinerFilter.h"
#include "effects/JitterTexture.h"
#include "effects/OffsetWarpFilter.h"
#include "resources/CircleMask.h"
#include "resources/CopyScreen.h"
#include "resources/PBuffer.h"
#include "resources/ResourceManager.h"
#include "resources/WarpGrid.h"
#include "sequencer/KeyEffects.h"

#include <memory>

namespace {

void* pbuffer(ResourceManager& resources, const std::string& name, int width, int height)
{
    auto surface = std::make_unique<PBuffer>(width, height);
    surface->create(true);
    return resources.registerObject(name, std::move(surface));
}

void* copyScreen(ResourceManager& resources, const std::string& name, int width, int height)
{
    return resources.registerObject(name, std::make_unique<CopyScreen>(width, height, false));
}

// Material defaults are plain float arrays that scenes read directly.
void* floats(ResourceManager& resources, const std::string& name, std::initializer_list<float> values)
{
    auto array = std::make_unique<float[]>(values.size());
    std::copy(values.begin(), values.end(), array.get());
    return resources.registerObject(name, std::move(array));
}

void* circleMask(ResourceManager& resources, const std::string& name)
{
    return resources.registerObject(name, std::make_unique<MaskTexture>(MaskTexture{resources::createCircleMaskTexture()}));
}

void* blur(ResourceManager& resources, const std::string& name, const char* copyName, int width, int height)
{
    auto filter = std::make_unique<CombinerFilter>(&resources, copyName, width, height);
    filter->loadProgramFile("avg.rcp");
    return resources.registerObject(name, std::move(filter));
}

// "Jitter" and "SimpleDSDT" are made together: the full-screen offset filter
// runs on the shared jitter texture, which decays at 0.99.
void* jitterPair(ResourceManager& resources, const std::string& name)
{
    auto texture = std::make_unique<JitterTexture>(32, 32);
    texture->decayRate = 0.99f;
    auto filter = std::make_unique<OffsetWarpFilter>(&resources, 640, 480);
    filter->borrowGrid(texture.get());
    void* jitter = resources.registerObject("Jitter", std::move(texture));
    void* simple = resources.registerObject("SimpleDSDT", std::move(filter));
    return name == "Jitter" ? jitter : simple;
}

// Building the key effects builds scenes (its accents, the warp grid), and
// every scene construction asks for "KeyEffects": those requests get null
// while it is being built instead of building a second one. The accent
// callbacks' pointer is set once it exists.
void* keyEffects(ResourceManager& resources, const std::string& name)
{
    static bool building = false;
    if (building)
        return nullptr;
    building = true;
    auto object = std::make_unique<KeyEffects>(&resources);
    building = false;
    KeyEffects* registered = resources.registerObject(name, std::move(object));
    setCurrentKeyEffects(registered);
    return registered;
}

struct Row {
    const char* name;
    void* (*create)(ResourceManager&, const std::string&);
};

const Row rows[] = {
    {"PBuffer320x240", [](ResourceManager& r, const std::string& n) { return pbuffer(r, n, 320, 240); }},
    {"PBuffer512x512", [](ResourceManager& r, const std::string& n) { return pbuffer(r, n, 512, 512); }},
    {"PBuffer640x480", [](ResourceManager& r, const std::string& n) { return pbuffer(r, n, 640, 480); }},
    {"CopyScreen320x240", [](ResourceManager& r, const std::string& n) { return copyScreen(r, n, 320, 240); }},
    {"CopyScreen512x512", [](ResourceManager& r, const std::string& n) { return copyScreen(r, n, 512, 512); }},
    {"CopyScreen640x480", [](ResourceManager& r, const std::string& n) { return copyScreen(r, n, 640, 480); }},
    {"CopyScreen640x480b", [](ResourceManager& r, const std::string& n) { return copyScreen(r, n, 640, 480); }},
    {"CopyScreen640x480c", [](ResourceManager& r, const std::string& n) { return copyScreen(r, n, 640, 480); }},
    // An alias, not an object of its own: nothing is registered under it.
    {"CopyScreenb", [](ResourceManager& r, const std::string&) { return r.getObject("CopyScreen640x480b"); }},
    {"CircleMask", circleMask},
    {"PullWarp", [](ResourceManager& r, const std::string& n) -> void* {
         return r.registerObject(n, std::make_unique<WarpGrid>(&r));
     }},
    {"Blur640x480", [](ResourceManager& r, const std::string& n) { return blur(r, n, "CopyScreen640x480c", 640, 480); }},
    {"Blur320x240", [](ResourceManager& r, const std::string& n) { return blur(r, n, "CopyScreen320x240", 320, 240); }},
    {"Jitter", jitterPair},
    {"SimpleDSDT", jitterPair},
    {"KeyEffects", keyEffects},
    {"Ambient", [](ResourceManager& r, const std::string& n) { return floats(r, n, {0.1f, 0.1f, 0.1f}); }},
    {"Diffuse", [](ResourceManager& r, const std::string& n) { return floats(r, n, {0.2f, 0.2f, 0.2f}); }},
    {"Specular", [](ResourceManager& r, const std::string& n) { return floats(r, n, {1.0f, 1.0f, 1.0f}); }},
    {"Shininess", [](ResourceManager& r, const std::string& n) { return floats(r, n, {10.0f}); }},
};

} // namespace

void* createSharedObject(ResourceManager& resources, const std::string& name)
{
    for (const Row& row : rows)
        if (name == row.name)
            return row.create(resources, name);
    return nullptr;
}
