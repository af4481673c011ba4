#include "scenes/ribbonstack/RibbonStackScene.h"

#include "core/ScreenQuad.h"
#include "core/VirtualScreen.h"
#include "effects/CombinerFilter.h"
#include "effects/CopyScreen.h"
#include "effects/PBuffer.h"
#include "effects/SharedKeys.h"
#include "programs/NvExtensions.h"
#include "resources/ImageDecoding.h"
#include "resources/KeyValue.h"
#include "resources/ResourceManager.h"
#include "scenes/shared/VertexProgramFile.h"

#include <png.h>

#include <array>
#include <cstdio>

namespace {

// A title word as a 2-D texture whatever its size, so the projection's
// 0..1 coordinates cover the whole picture; clamped, so the word's black
// border is all that lies beyond it. A picture that cannot be read leaves
// the texture empty and the word unseen; one that is there but cannot be
// decoded is named.
unsigned loadTitleTexture(const ResourceManager& resources, const char* name)
{
    unsigned texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    const FileBytes bytes = resources.readBytes(name);
    resources::DecodedImage image;
    if (bytes && resources::decodePng(reinterpret_cast<const uint8_t*>(bytes.data.get()), size_t(bytes.size),
                                      PNG_TRANSFORM_STRIP_ALPHA, image) && image.channels == 3) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, image.width, image.height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                     image.pixels.data());
    } else if (bytes) {
        std::printf("cannot load the title picture %s\n", name);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

constexpr float e = 2.7182817f;

} // namespace

RibbonStackScene::RibbonStackScene(ResourceManager* resources)
    : Scene(resources), stack("hribbon.3ds", *resources), script(loadScript(*resources, "hribbonscene.swf"))
{
    glowSurface = resources->get(shared::pbuffer320x240);
    glowCopy = resources->get(shared::copyScreen320x240);
    blur = resources->get(shared::blur320x240);
    script->bindColour(1, tint);
    for (int i = 0; i < ribbonCount; ++i)
        ribbons.push_back(std::make_unique<StackRibbon>(i * 0.071428575f));
    readLook();
    for (int i = 0; i < titleWordCount; ++i)
        titleTextures[i] = loadTitleTexture(*resources, titleWords[i].fileName);
}

RibbonStackScene::~RibbonStackScene()
{
    glDeleteTextures(titleWordCount, titleTextures);
    if (program != 0)
        nv::glDeleteProgramsNV(1, &program);
}

void RibbonStackScene::readLook()
{
    program = loadVertexProgram(*resources, "hribbonaniso.vpc");
    std::unique_ptr<char[]> look = resources->readFile("hribbon.cfg");
    if (look == nullptr)
        return;
    const KvLookupReport report("hribbon.cfg");
    // A missing key reads as -1; the defaults stand in for it.
    if (const float v = kvFloat(look.get(), "mt"); v >= 0.0f)
        mt = v;
    if (const float v = kvFloat(look.get(), "refractionIndexRatio"); v > 0.0f)
        refractionIndexRatio = v;
}

void RibbonStackScene::resetTextureUnits()
{
    for (int unit = 3; unit >= 0; --unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
        for (GLenum coord : {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q})
            glDisable(coord);
        glDisable(GL_TEXTURE_2D);
    }
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_LIGHTING);
}

void RibbonStackScene::drawRibbons(bool glow)
{
    glEnable(GL_VERTEX_PROGRAM_NV);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    nv::glBindProgramNV(GL_VERTEX_PROGRAM_NV, program);
    nv::glTrackMatrixNV(GL_VERTEX_PROGRAM_NV, 0, GL_MODELVIEW_PROJECTION_NV, GL_IDENTITY_NV);
    nv::glTrackMatrixNV(GL_VERTEX_PROGRAM_NV, 4, GL_MODELVIEW, GL_IDENTITY_NV);
    nv::glTrackMatrixNV(GL_VERTEX_PROGRAM_NV, 8, GL_MODELVIEW, GL_INVERSE_TRANSPOSE_NV);
    stack.lightFromNode("Omni01", GL_LIGHT0);
    float light[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glGetLightfv(GL_LIGHT0, GL_POSITION, light);
    const float r = refractionIndexRatio;
    const float fresnel = (1.0f - r) * (1.0f - r) / ((1.0f + r) * (1.0f + r));
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 12, light[0], light[1], light[2], 1.0f);
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 14, 0.5f, 1.0f, glow ? 10000.0f : 100.0f, 0.0f);
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 16, mt * mt, 3.14159f, fresnel, e);
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 17, mt * mt, 1.0f, 0.0f, 0.0f);
    if (glow)
        glColor3f(1.0f - tint[0], 1.0f - tint[1], 1.0f - tint[2]);
    else
        glColor3f(0.1f, 0.0f, 0.1f);
    glPushMatrix();
    glTranslatef(-18.0f, 0.0f, 0.0f);
    for (const auto& ribbon : ribbons)
        ribbon->draw();
    glPopMatrix();
    glDisable(GL_VERTEX_PROGRAM_NV);
}

void RibbonStackScene::projectTitles(float time)
{
    // Without a word in its window the pass would add black to the ribbons:
    // nothing to see, and a whole redraw of the stack to pay for.
    const std::vector<int> words = titleWordsAt(time);
    if (words.empty())
        return;
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    for (int unit = 3; unit >= 0; --unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        glDisable(GL_TEXTURE_2D);
    }
    // Identity eye planes taken under the scene's model-view give the stack's
    // own coordinates, whatever the ribbons' draw moves them by later.
    const float planes[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    const GLenum coords[4] = {GL_S, GL_T, GL_R, GL_Q};
    const GLenum gens[4] = {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q};
    glActiveTexture(GL_TEXTURE0);
    glDisable(GL_LIGHTING);
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    // One draw per word, each clipped to the side its projector faces: behind
    // the projector the perspective divide turns the word round, and it
    // would read mirrored there. The ribbons' depth is laid first so every
    // word lands on the nearest ribbon only, as one draw of them all would.
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    drawRibbonsPlain();
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_CLIP_PLANE0);
    for (int index : words) {
        const TitleWord& word = titleWords[index];
        const show::Mat4 projector = projectorMatrix(word, time);
        glActiveTexture(GL_TEXTURE0 + word.unit);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, titleTextures[index]);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_ADD);
        for (int c = 0; c < 4; ++c) {
            glTexGeni(coords[c], GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
            glTexGenfv(coords[c], GL_EYE_PLANE, planes[c]);
            glEnable(gens[c]);
        }
        glMatrixMode(GL_TEXTURE);
        glLoadMatrixf(titleTextureMatrix(projector).m);
        glMatrixMode(GL_MODELVIEW);
        const std::array<double, 4> front = titleFrontPlane(projector);
        glClipPlane(GL_CLIP_PLANE0, front.data());
        glActiveTexture(GL_TEXTURE0);
        drawRibbonsPlain();
        glActiveTexture(GL_TEXTURE0 + word.unit);
        glDisable(GL_TEXTURE_2D);
        for (GLenum gen : gens)
            glDisable(gen);
    }
    glDisable(GL_CLIP_PLANE0);
    glDepthFunc(GL_LESS);
    glActiveTexture(GL_TEXTURE0);
}

void RibbonStackScene::drawRibbonsPlain()
{
    glPushMatrix();
    glTranslatef(-18.0f, 0.0f, 0.0f);
    for (const auto& ribbon : ribbons)
        ribbon->draw();
    glPopMatrix();
}

int RibbonStackScene::update(float time)
{
    const float local = localTime(time);
    const float beat = localBeat(time);
    if (!unitsReset) {
        resetTextureUnits();
        unitsReset = true;
    }
    script->update(8.0 * beat);
    stack.setFrame(10.0f * local);
    for (const auto& ribbon : ribbons)
        ribbon->update(local);

    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    stack.setCamera("Camera01", virtualScreenWidth, virtualScreenHeight);
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    float modelview[16], projection[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);

    glowPass(modelview, projection);
    bars.draw(local);
    drawRibbons(false);
    glClear(GL_DEPTH_BUFFER_BIT);
    projectTitles(local);
    addGlowAndFade(beat);
    return local >= duration ? 1 : 0;
}

void RibbonStackScene::glowPass(const float (&modelview)[16], const float (&projection)[16])
{
    if (glowSurface == nullptr || glowCopy == nullptr)
        return;
    glowSurface->makeCurrent();
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projection);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(modelview);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    drawRibbons(true);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    if (blur != nullptr) {
        for (int spread : {4, 2}) {
            blur->spread = spread;
            for (int direction = CombinerFilter::left; direction <= CombinerFilter::down; ++direction) {
                blur->direction = direction;
                blur->update();
            }
        }
    }
    glowCopy->copyFromScreen(0, 0, 0, 0, -1, -1);
    glowSurface->restore();
}

void RibbonStackScene::addGlowAndFade(float beat)
{
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
    for (GLenum gen : {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q})
        glDisable(gen);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    if (glowCopy != nullptr)
        glowCopy->drawFullScreen(0, 0, -1, -1);
    glDisable(GL_TEXTURE_2D);

    const float lastBeat = beatAt(duration);
    if (beat > lastBeat - 4.0f) {
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glColor4f(0.0f, 0.0f, 0.0f, show::remap(beat, lastBeat - 4.0f, lastBeat, 0.0f, 1.0f));
        setOrthoBox(0, 1, 1, 0, -1, 1);
        drawQuad({0, 0, 1, 1});
    }
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
}
