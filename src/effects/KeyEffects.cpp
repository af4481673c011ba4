#include "effects/KeyEffects.h"

#include "effects/CombinerFilter.h"
#include "effects/JitterTexture.h"
#include "effects/OffsetWarpFilter.h"
#include "effects/SharedKeys.h"
#include "resources/ResourceManager.h"
#include "swf/swfScript.h"

#include <epoxy/gl.h>

#include <cstdlib>
#include <cstring>

KeyEffects::KeyEffects(ResourceManager* resources)
    : Scene(resources),
      blackAndWhite(std::make_unique<CombinerAccent>(resources, 0.99f, "bweffect.rcp", false)),
      afterimage(std::make_unique<AfterimageAccent>(resources)),
      colourFade(std::make_unique<ColourFadeAccent>(resources)),
      inverseAccent(std::make_unique<CombinerAccent>(resources, 0.99f, "inverseeffect.rcp", true)),
      pullAccent(std::make_unique<PullAccent>(resources))
{
    if (resources == nullptr)
        return;
    jitterTexture = resources->get(shared::jitter);
    jitterFilter = resources->get(shared::simpleDSDT);
    // The blur burst's filter: the full-screen blur of the registry.
    blur = resources->get(shared::blur640x480);
}

KeyEffects::~KeyEffects() = default;

int KeyEffects::update(float time)
{
    if (!started) {
        previousTime = time;
        started = true;
    }
    blackAndWhite->update(time);
    afterimage->update(time);
    colourFade->update(time);
    inverseAccent->update(time);
    pullAccent->update(time);
    if (jitterTexture != nullptr && jitterFilter != nullptr && jitterTexture->strength > 0) {
        glColor4f(1, 1, 1, 1);
        jitterFilter->update(time);
    }
    if (blurAmount <= 0.0f)
        blurAmount = 0.0f;
    else
        runBlur(time);
    previousTime = time;
    return 0;
}

void KeyEffects::runBlur(float time)
{
    if (blur != nullptr) {
        glColor4f(1, 1, 1, 1);
        glDisable(GL_DEPTH_TEST);
        blur->direction = CombinerFilter::center;
        for (int n = static_cast<int>(blurAmount * 0.1f); n >= 1; --n) {
            blur->spread = n;
            blur->update();
        }
    }
    blurAmount -= (time - previousTime) * 0.1f;
}

int KeyEffects::onKey(int key, int x, int y)
{
    switch (key) {
    case 'b': blackAndWhite->onKey(key, x, y); break;
    case 'c': capture(0.75f, 0.5f); break;
    case 'd': darken(1.0f, 0.9f); break;
    case 'i': inverse(1.0f, 0.99f); break;
    case 'j': jitter(250.0f, 0.99f); break;
    case 'k': blurAmount += 50.0f; break;
    case 'w': whiten(1.0f, 0.9f); break;
    default: break;
    }
    return 0;
}

void KeyEffects::capture(float a, float b)
{
    afterimage->start(a, b);
    afterimage->capture();
}

void KeyEffects::darken(float a, float b)
{
    colourFade->red = colourFade->green = colourFade->blue = 0.0f;
    colourFade->start(a, b);
}

void KeyEffects::whiten(float a, float b)
{
    colourFade->red = colourFade->green = colourFade->blue = 1.0f;
    colourFade->start(a, b);
}

void KeyEffects::inverse(float a, float b) { inverseAccent->start(a, b); }

void KeyEffects::jitter(float a, float b)
{
    if (jitterTexture == nullptr)
        return;
    jitterTexture->start(static_cast<int>(a), fadeRate(b));
}

void KeyEffects::pull(float a, float b) { pullAccent->start(a, b); }

bool KeyEffects::movesPixels() const
{
    return (jitterTexture != nullptr && jitterTexture->strength > 0) || blurAmount > 0.0f;
}

int runKeyEffectCommand(KeyEffects* target, const std::string& name, const std::vector<std::string>& arguments)
{
    struct Command {
        const char* name;
        void (KeyEffects::*operation)(float, float);
        float a, b;
    };
    static const Command commands[] = {
        {"darken", &KeyEffects::darken, 1.0f, 0.1f},   {"capture", &KeyEffects::capture, 0.75f, 0.5f},
        {"inverse", &KeyEffects::inverse, 1.0f, 1.0f}, {"jitter", &KeyEffects::jitter, 250.0f, 0.5f},
        {"whiten", &KeyEffects::whiten, 1.0f, 0.1f},   {"pull", &KeyEffects::pull, 1.0f, 1.0f},
    };
    if (target == nullptr)
        return 0;
    for (const Command& command : commands) {
        if (name != command.name)
            continue;
        const float a = arguments.size() >= 2 ? static_cast<float>(std::atof(arguments[1].c_str())) : command.a;
        const float b = arguments.size() >= 3 ? static_cast<float>(std::atof(arguments[2].c_str())) : command.b;
        (target->*command.operation)(a, b);
    }
    return 0;
}

void registerKeyEffectCommands(swfScript& script, ResourceManager& resources)
{
    for (const char* name : {"darken", "capture", "inverse", "jitter", "whiten", "pull"})
        script.registerCommand(name, [name, &resources](swfMovie&, const swfArguments& arguments) {
            return runKeyEffectCommand(static_cast<KeyEffects*>(resources.get(shared::keyEffects)), name, arguments);
        });
}
