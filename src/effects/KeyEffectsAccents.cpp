#include "effects/KeyEffectsAccents.h"

#include "core/ScreenQuad.h"
#include "core/VirtualScreen.h"
#include "effects/CopyScreen.h"
#include "effects/SharedKeys.h"
#include "effects/WarpGrid.h"
#include "programs/NvExtensions.h"
#include "programs/ProgramText.h"
#include "resources/ResourceManager.h"

#include <epoxy/gl.h>

#include <cmath>
#include <cstdio>

namespace {

CopyScreen* screenCopy(ResourceManager* resources)
{
    return resources != nullptr ? resources->get(shared::copyScreen640x480b) : nullptr;
}

} // namespace

float fadeRate(float seconds)
{
    // A fade of no length (a script's 0) ends at the next update instead of
    // turning the intensity into infinities.
    return seconds > 0.0f ? 1.0f / seconds : 1.0e9f;
}

KeyAccent::KeyAccent(ResourceManager* resources, float rate) : Scene(resources), rate(rate) {}

void KeyAccent::start(float a, float b)
{
    intensity = a;
    rate = fadeRate(b);
}

int KeyAccent::update(float time)
{
    if (!started) {
        previousTime = time;
        started = true;
    }
    if (intensity > 0.01f) {
        draw(time);
        intensity -= (time - previousTime) * rate;
    }
    if (intensity <= 0.01f)
        intensity = 0.0f;
    previousTime = time;
    return 0;
}

CombinerAccent::CombinerAccent(ResourceManager* resources, float rate, const char* programFile, bool inverse)
    : KeyAccent(resources, rate), copy(screenCopy(resources)), inverse(inverse)
{
    std::unique_ptr<char[]> text = resources != nullptr ? resources->readFile(programFile) : nullptr;
    if (text == nullptr)
        return;
    program = glGenLists(1);
    nv::glNewList(program, GL_COMPILE);
    programs::compileProgramText(text.get(), 0);
    nv::glEndList();
    programs::printProgramTextErrors(programFile);
}

CombinerAccent::~CombinerAccent()
{
    if (program != 0)
        nv::glDeleteLists(program, 1);
}

int CombinerAccent::onKey(int, int, int)
{
    intensity = 1.0f;
    return 0;
}

void CombinerAccent::draw(float)
{
    if (copy == nullptr || program == 0)
        return;
    copy->copyFromScreen(0, 0, 0, 0, -1, -1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    // The program mixes by the primary alpha itself: blending left on by the
    // scene would darken the picture by it a second time.
    glDisable(GL_BLEND);
    if (inverse) {
        const float c = 1.0f - std::sin(intensity * 3.14159f);
        glColor4f(c, c, c, c);
    } else {
        glColor4f(1, 1, 1, intensity);
    }
    nv::glEnable(GL_REGISTER_COMBINERS_NV);
    nv::glCallList(program);
    copy->drawFullScreen(0, 0, -1, -1);
    nv::glDisable(GL_REGISTER_COMBINERS_NV);
}

AfterimageAccent::AfterimageAccent(ResourceManager* resources) : KeyAccent(resources, 0.5f), copy(screenCopy(resources)) {}

void AfterimageAccent::capture()
{
    if (copy != nullptr)
        copy->copyFromScreen(0, 0, 0, 0, -1, -1);
}

void AfterimageAccent::draw(float)
{
    if (copy == nullptr)
        return;
    glDisable(GL_DEPTH_TEST);
    glColor4f(1, 1, 1, intensity);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    copy->drawFullScreen(0, 0, -1, -1);
    glDisable(GL_BLEND);
}

void ColourFadeAccent::draw(float)
{
    constexpr float w = virtualScreenWidth, h = virtualScreenHeight;
    glDisable(GL_DEPTH_TEST);
    setOrthoBox(0, w, h, 0, 0, 10);
    glColor4f(red, green, blue, intensity);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    drawQuads({{0, 0, w, h}});
    glDisable(GL_BLEND);
}

PullAccent::PullAccent(ResourceManager* resources) : KeyAccent(resources, 1.0f), copy(screenCopy(resources))
{
    if (resources != nullptr)
        grid = resources->get(shared::pullWarp);
}

void PullAccent::draw(float time)
{
    if (copy == nullptr || grid == nullptr)
        return;
    copy->copyFromScreen(0, 0, 0, 0, -1, -1);
    glDisable(GL_DEPTH_TEST);
    glColor4f(1, 1, 1, 0.5f);
    copy->enable();
    copy->bind();
    grid->strength = std::sin(intensity * 3.14159f) + 1.0f;
    grid->update(time);
    copy->disable();
}
