#include "scenes/flowers/FlowersScene.h"

#include "core/BlackFade.h"
#include "core/PassState.h"
#include "core/ScreenQuad.h"
#include "core/TextureUnits.h"
#include "core/VirtualScreen.h"
#include "effects/CopyScreen.h"
#include "effects/KeyEffects.h"
#include "effects/SharedKeys.h"
#include "programs/NvExtensions.h"
#include "resources/KeyValue.h"
#include "resources/ResourceManager.h"
#include "scenes/shared/VisibleBand.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr float fadeInBeats = 2.0f;

// While it lives, drawing and clearing keep to the lower left width x height
// of a larger viewport: a view is drawn at the size of its copy, so a large
// screen spends no pixels that the copy would shrink away.
class CopySizedView {
public:
    CopySizedView(int width, int height)
    {
        glGetIntegerv(GL_VIEWPORT, screen);
        reduced = screen[2] > width && screen[3] > height;
        if (!reduced)
            return;
        glViewport(screen[0], screen[1], width, height);
        glScissor(screen[0], screen[1], width, height);
        glEnable(GL_SCISSOR_TEST);
    }
    ~CopySizedView()
    {
        if (!reduced)
            return;
        glDisable(GL_SCISSOR_TEST);
        glViewport(screen[0], screen[1], screen[2], screen[3]);
    }
    CopySizedView(const CopySizedView&) = delete;
    CopySizedView& operator=(const CopySizedView&) = delete;

private:
    GLint screen[4];
    bool reduced = false;
};

// While it lives, the texture stages add `copy` times `opacity` to the
// primary colour: unit 0 scales the copy's texels, unit 1 (bound to the same
// texture only so that its stage runs) adds the colour. Leaves both units'
// targets off, their environments at GL_MODULATE and unit 0 active.
class CopyAddedToColour {
public:
    CopyAddedToColour(CopyScreen& copy, float opacity) : copy(copy)
    {
        const GLfloat constant[4] = {0.0f, 0.0f, 0.0f, opacity};
        glActiveTexture(GL_TEXTURE1);
        copy.enable();
        copy.bind();
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_ADD);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB, GL_PREVIOUS);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB, GL_PRIMARY_COLOR);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB, GL_SRC_COLOR);
        glActiveTexture(GL_TEXTURE0);
        copy.enable();
        copy.bind();
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_MODULATE);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB, GL_TEXTURE);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB, GL_CONSTANT);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB, GL_SRC_ALPHA);
        glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, constant);
    }
    ~CopyAddedToColour()
    {
        glActiveTexture(GL_TEXTURE1);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        copy.disable();
        glActiveTexture(GL_TEXTURE0);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        copy.disable();
    }
    CopyAddedToColour(const CopyAddedToColour&) = delete;
    CopyAddedToColour& operator=(const CopyAddedToColour&) = delete;

    // The texture coordinates of the copy's far corner.
    float farS() const { return copy.target == GL_TEXTURE_2D ? 1.0f : static_cast<float>(copy.width); }
    float farT() const { return copy.target == GL_TEXTURE_2D ? 1.0f : static_cast<float>(copy.height); }

private:
    CopyScreen& copy;
};

} // namespace

FlowersScene::FlowersScene(ResourceManager* resources)
    : Scene(resources), field("flowers.3ds", *resources), script(loadScript(*resources, "flowers.swf")),
      flower(*resources)
{
    field.nearPlane = 1.0f;
    field.farPlane = 300.0f;
    registerKeyEffectCommands(*script, *resources);
    script->registerCommand("setCamera", [this](swfMovie&, const swfArguments& a) { return setCamera(a); });
    script->bindPosition(1, openingPoint);
    script->bindColour(2, view0Colour);
    script->bindColour(3, view1Colour);
    for (int i = 0; i < vineCount; ++i)
        vines.push_back(std::make_unique<Vine>());
    viewCopies[0] = resources->get(shared::copyScreen640x480);
    viewCopies[1] = resources->get(shared::copyScreen640x480b);
    accents = showAccents(*resources);
    readGradient();
}

void FlowersScene::readGradient()
{
    std::unique_ptr<char[]> text = resources->readFile("flower.cfg");
    if (text == nullptr)
        return;
    const KvLookupReport report("flower.cfg");
    float v[3];
    if (kvFloats(text.get(), "gradientStart", v) == 3)
        std::copy(v, v + 3, gradientStart);
    if (kvFloats(text.get(), "gradientEnd", v) == 3)
        std::copy(v, v + 3, gradientEnd);
}

int FlowersScene::setCamera(const swfArguments& arguments)
{
    if (arguments.size() < 3)
        return 0;
    const int slot = std::atoi(arguments[1].c_str());
    // Only two views exist; another number must not name a third.
    if (slot == 0 || slot == 1)
        cameraNames[slot] = arguments[2];
    return 0;
}

int FlowersScene::onKey(int key, int, int)
{
    if (key == 'r')
        script->rewind();
    return 0;
}

void FlowersScene::renderView(int view, float local)
{
    CopyScreen* copy = viewCopies[view];
    const CopySizedView sized(copy != nullptr ? copy->width : virtualScreenWidth,
                              copy != nullptr ? copy->height : virtualScreenHeight);
    // The views are laid on the screen where they were drawn, so the rows
    // under the bars stay hidden: the petals' overdraw stops at them.
    scissorToVisibleBand(accents);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const std::string& name = cameraNames[view];
    if (field.findNode(name, LIB3DS_CAMERA_NODE) != nullptr &&
        field.findNode(name, LIB3DS_TARGET_NODE) != nullptr) {
        field.setCamera(name, virtualScreenWidth, virtualScreenHeight);
        field.lightFromNode("Omni03", GL_LIGHT0);
        glEnable(GL_LIGHT0);
        glEnable(GL_DEPTH_TEST);
        glColor4f(0.5f, 0.0f, 1.0f, 1.0f);
        flower.opening = show::remap(openingPoint[1], 0.0f, 480.0f, 0.0f, 1.0f);
        flower.draw(local);
        if (local > 8.0f) {
            glDisable(GL_LIGHTING);
            glDisable(GL_POLYGON_SMOOTH);
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE);
            for (const auto& vine : vines)
                vine->draw(2.0f * (local - 7.0f));
            glDisable(GL_BLEND);
        }
    }
    // Copied even when cleared, so a missing camera never shows the picture
    // the copy held before.
    if (copy != nullptr)
        copy->copyFromScreen(0, 0, 0, 0, -1, -1);
    glDisable(GL_SCISSOR_TEST);
}

int FlowersScene::update(float time)
{
    float local = localTime(time);
    const float beat = localBeat(time);
    resetTextureUnits(4);
    glDisable(GL_LIGHTING);
    local = std::max(local, 0.0f);
    script->update(4.0 * local);
    field.setFrame(4.0f * local);
    for (int view = 0; view < 2; ++view)
        if (viewOpacity(view) > 0.0f)
            renderView(view, local);
    compose(beat);
    return local >= duration ? 1 : 0;
}

void FlowersScene::compose(float beat)
{
    // The gradient covers the whole screen, so it is laid down opaque instead
    // of added onto a cleared screen. The first view shown is added to it in
    // the same pass, by the texture stages, which spares a pass over every
    // pixel; a second view is blended on.
    constexpr PassState gradientPass{PassState::noDepthTest, PassState::opaque, PassState::unlit};
    constexpr PassState composePass{PassState::noDepthTest, PassState::additiveAlpha, PassState::unlit};
    int view = 0;
    while (view < 2 && (viewOpacity(view) <= 0.0f || viewCopies[view] == nullptr))
        ++view;
    gradientPass.apply();
    setOrthoBox(0, 1, 1, 0, -1, 1);
    if (view < 2) {
        const CopyAddedToColour added(*viewCopies[view], viewOpacity(view));
        drawGradient(added.farS(), added.farT());
        ++view;
    } else {
        drawGradient(0.0f, 0.0f);
    }
    composePass.apply();
    for (; view < 2; ++view) {
        const float opacity = viewOpacity(view);
        if (opacity <= 0.0f || viewCopies[view] == nullptr)
            continue;
        glColor4f(1.0f, 1.0f, 1.0f, opacity);
        viewCopies[view]->drawFullScreen(0, 0, -1, -1);
    }
    if (beat < fadeInBeats)
        drawBlackFade(show::remap(beat, 0.0f, fadeInBeats, 1.0f, 0.0f));
    glDisable(GL_BLEND);
}

void FlowersScene::drawGradient(float s, float t) const
{
    // Unit 0's coordinates put the top of the copy at the top of the box.
    nv::glBegin(GL_QUADS);
    glColor3fv(gradientStart);
    glMultiTexCoord2f(GL_TEXTURE0, 0.0f, t);
    glVertex2f(0, 0);
    glMultiTexCoord2f(GL_TEXTURE0, s, t);
    glVertex2f(1, 0);
    glColor3fv(gradientEnd);
    glMultiTexCoord2f(GL_TEXTURE0, s, 0.0f);
    glVertex2f(1, 1);
    glMultiTexCoord2f(GL_TEXTURE0, 0.0f, 0.0f);
    glVertex2f(0, 1);
    glEnd();
}
