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
    // of added onto a cleared screen; the views are added onto it.
    constexpr PassState gradientPass{PassState::noDepthTest, PassState::opaque, PassState::unlit};
    constexpr PassState composePass{PassState::noDepthTest, PassState::additiveAlpha, PassState::unlit};
    gradientPass.apply();
    setOrthoBox(0, 1, 1, 0, -1, 1);
    nv::glBegin(GL_QUADS);
    glColor3fv(gradientStart);
    glVertex2f(0, 0);
    glVertex2f(1, 0);
    glColor3fv(gradientEnd);
    glVertex2f(1, 1);
    glVertex2f(0, 1);
    glEnd();
    composePass.apply();
    for (int view = 0; view < 2; ++view) {
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
