#include "scenes/ribbonstack/RibbonStackScene.h"

#include "core/BlackFade.h"
#include "core/TextureUnits.h"
#include "core/VirtualScreen.h"
#include "effects/SharedKeys.h"
#include "programs/NvExtensions.h"
#include "resources/ImageDecoding.h"
#include "resources/KeyValue.h"
#include "resources/ResourceManager.h"
#include "scenes/shared/VertexProgramFile.h"
#include "scenes/shared/VisibleBand.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>

namespace {

// A title word as a 2-D texture whatever its size, so the projection's
// 0..1 coordinates cover the whole picture; clamped, so the word's black
// border is all that lies beyond it. A picture that cannot be read leaves
// the texture empty and the word unseen; one that is there but cannot be
// decoded is named.
GLTexture loadTitleTexture(const ResourceManager& resources, const char* name, LitBox& light)
{
    GLTexture texture = createTexture(GL_TEXTURE_2D);
    const FileBytes bytes = resources.readBytes(name);
    resources::DecodedImage image;
    if (bytes && resources::decodePng(reinterpret_cast<const uint8_t*>(bytes.data.get()), size_t(bytes.size),
                                      PNG_TRANSFORM_STRIP_ALPHA, image) && image.channels == 3) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, image.width, image.height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                     image.pixels.data());
        light = litBoxOf(image.pixels.data(), image.width, image.height, image.channels);
    } else if (bytes) {
        std::printf("cannot load the title picture %s\n", name);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

// The part both hold (empty, not negative, when they do not meet).
ScreenBox overlapOf(const ScreenBox& a, const ScreenBox& b)
{
    const int x0 = std::max(a.x, b.x), y0 = std::max(a.y, b.y);
    const int x1 = std::min(a.x + a.width, b.x + b.width), y1 = std::min(a.y + a.height, b.y + b.height);
    return {x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
}

// The smallest box holding both.
ScreenBox enclosing(const ScreenBox& a, const ScreenBox& b)
{
    const int x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
    const int x1 = std::max(a.x + a.width, b.x + b.width), y1 = std::max(a.y + a.height, b.y + b.height);
    return {x0, y0, x1 - x0, y1 - y0};
}

// The active unit's colour: the texture mixed into the units before it by
// `share` (the texture's weight), the fragment's alpha passed on.
void mixByShare(const float (&share)[4])
{
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_INTERPOLATE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB, GL_PREVIOUS);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE2_RGB, GL_CONSTANT);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND2_RGB, GL_SRC_COLOR);
    glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, share);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA, GL_REPLACE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA, GL_PREVIOUS);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA, GL_SRC_ALPHA);
}

// Units 0..3: the title words are projected through units 1 to 3.
constexpr int textureUnits = 4;
// Ribbon i of the stack stands at height i / ribbonCount of the stack's 0..1.
constexpr float ribbonSpacing = 1.0f / RibbonStackScene::ribbonCount;
// The ribbons' paths start at x = 0; the stack is drawn 18 units further
// back along x.
constexpr float stackShift = -18.0f;

// The registers "hribbonaniso.vpc" reads besides the tracked matrices (its
// header lists them), and the values the scene gives them.
constexpr GLuint lightRegister = 12;       // the light's position, eye space
constexpr GLuint shadingRegister = 14;     // (0.5, 1, highlight exponent, 0)
constexpr GLuint surfaceRegister = 16;     // (mt^2, pi, reflectance head-on, e)
constexpr GLuint roughnessRegister = 17;   // (mt^2, 1, 0, 0)
// The glow keeps only the sharpest of the sheen; the picture's own is broad.
constexpr float glowHighlightExponent = 10000.0f;
constexpr float highlightExponent = 100.0f;
constexpr float pi = 3.14159f;
constexpr float e = 2.7182817f;
// The ribbons' own colour, dark violet under their white sheen.
constexpr float ribbonColour[3] = {0.1f, 0.0f, 0.1f};
// The words add at most this share of their pictures' light: a white
// letter added at full strength to a red bar, a ribbon's sheen or the glow
// is burnt to white there, and no longer stands out from it.
constexpr float titleGain = 0.75f;
// Below this a word would add less than one level of eight bits: not drawn.
constexpr float faintestTitle = 1.0f / 255.0f;
// The last beats of the scene fade to black.
constexpr float fadeOutBeats = 4.0f;

} // namespace

RibbonStackScene::RibbonStackScene(ResourceManager* resources)
    : Scene(resources), stack("hribbon.3ds", *resources), script(loadScript(*resources, "hribbonscene.swf"))
{
    glow = Glow(resources->get(shared::pbuffer320x240), resources->get(shared::copyScreen320x240),
                resources->get(shared::blur320x240));
    accents = showAccents(*resources);
    script->bindColour(1, tint);
    for (int i = 0; i < ribbonCount; ++i)
        ribbons.push_back(std::make_unique<StackRibbon>(i * ribbonSpacing));
    readLook();
    for (int i = 0; i < titleWordCount; ++i)
        titleTextures[i] = loadTitleTexture(*resources, titleWords[i].fileName, titleLight[i]);
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

void RibbonStackScene::drawRibbons(bool glowPass)
{
    glEnable(GL_VERTEX_PROGRAM_NV);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    nv::glBindProgramNV(GL_VERTEX_PROGRAM_NV, program.get());
    nv::glTrackMatrixNV(GL_VERTEX_PROGRAM_NV, 0, GL_MODELVIEW_PROJECTION_NV, GL_IDENTITY_NV);
    nv::glTrackMatrixNV(GL_VERTEX_PROGRAM_NV, 4, GL_MODELVIEW, GL_IDENTITY_NV);
    nv::glTrackMatrixNV(GL_VERTEX_PROGRAM_NV, 8, GL_MODELVIEW, GL_INVERSE_TRANSPOSE_NV);
    stack.lightFromNode("Omni01", GL_LIGHT0);
    float light[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glGetLightfv(GL_LIGHT0, GL_POSITION, light);
    const float r = refractionIndexRatio;
    const float fresnel = (1.0f - r) * (1.0f - r) / ((1.0f + r) * (1.0f + r));
    const float exponent = glowPass ? glowHighlightExponent : highlightExponent;
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, lightRegister, light[0], light[1], light[2], 1.0f);
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, shadingRegister, 0.5f, 1.0f, exponent, 0.0f);
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, surfaceRegister, mt * mt, pi, fresnel, e);
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, roughnessRegister, mt * mt, 1.0f, 0.0f, 0.0f);
    if (glowPass)
        glColor3f(1.0f - tint[0], 1.0f - tint[1], 1.0f - tint[2]);
    else
        glColor3fv(ribbonColour);
    drawRibbonsPlain();
    glDisable(GL_VERTEX_PROGRAM_NV);
}

void RibbonStackScene::projectTitles(float time)
{
    // Without a word in its window the pass would add black to the ribbons:
    // nothing to see, and a whole redraw of the stack to pay for.
    const std::vector<int> words = titleWordsAt(time);
    if (words.empty())
        return;
    float modelView[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    ScreenBox all{0, 0, 0, 0};
    const std::vector<LitWord> lit = wordsLitAt(time, modelView, all);
    if (lit.empty())
        return;

    // Held inside the scissor box the caller set, if any, which is kept.
    const bool scissored = glIsEnabled(GL_SCISSOR_TEST);
    GLint held[4];
    glGetIntegerv(GL_SCISSOR_BOX, held);
    auto scissorTo = [&](const ScreenBox& box) {
        const ScreenBox b = scissored ? overlapOf(box, {held[0], held[1], held[2], held[3]}) : box;
        glScissor(b.x, b.y, b.width, b.height);
    };
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    resetTextureUnits(textureUnits);
    glDisable(GL_LIGHTING);
    glEnable(GL_SCISSOR_TEST);
    // A word is clipped to the side its projector faces wherever the camera
    // could see behind the projector a point that its picture's letters
    // would land on: there the perspective divide turns the word round, and
    // it would read mirrored. Words share a draw, a texture unit each, where
    // no clip cuts another word's light. The words' light that passes between the
    // ribbons lands on the bars behind them, so its letters stay whole
    // rather than cut into slats. The depth of both is laid first so every
    // word lands once, on the nearest surface only; the words keep it as it
    // was laid, so no word's clipped draw shades another's pixels away.
    const show::Vec3 eye = eyeOf(modelView);
    scissorTo(all);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    drawTitleSurfaces(eye);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_FALSE);
    for (const std::vector<const LitWord*>& group : passesOf(lit)) {
        const LitWord& first = *group.front();
        ScreenBox reach = first.reach;
        float total = 0.0f;
        for (const LitWord* word : group) {
            reach = enclosing(reach, word->reach);
            total += word->strength;
        }
        scissorTo(reach);
        int clips = 0;
        for (const LitWord* word : group)
            if (word->clipped) {
                const std::array<double, 4> front = titleFrontPlane(word->projector);
                glClipPlane(GL_CLIP_PLANE0 + clips, front.data());
                glEnable(GL_CLIP_PLANE0 + clips++);
            }
        // The alpha scales the light the pass adds (the textures have none
        // of their own). Each unit after the first mixes its word into the
        // words before it by its share of their strengths, so the mix times
        // the sum of them all adds every word at its own strength.
        glColor4f(0.0f, 0.0f, 0.0f, total);
        float sum = 0.0f;
        for (const LitWord* word : group) {
            sum += word->strength;
            glActiveTexture(GL_TEXTURE0 + titleWords[word->index].unit);
            glEnable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, titleTextures[word->index].get());
            if (word == &first) {
                glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
            } else {
                const float share[4] = {word->strength / sum, word->strength / sum, word->strength / sum, 0.0f};
                mixByShare(share);
            }
            // Taken under the scene's model-view, the eye planes give the
            // stack's own coordinates, whatever the ribbons' draw moves them
            // by later.
            enableEyeLinearTexGen();
            glMatrixMode(GL_TEXTURE);
            glLoadMatrixf(titleTextureMatrix(word->projector).m);
            glMatrixMode(GL_MODELVIEW);
        }
        glActiveTexture(GL_TEXTURE0);
        drawTitleSurfaces(eye);
        for (const LitWord* word : group)
            resetTextureUnit(GL_TEXTURE0 + titleWords[word->index].unit);
        while (clips > 0)
            glDisable(GL_CLIP_PLANE0 + --clips);
    }
    glScissor(held[0], held[1], held[2], held[3]);
    if (!scissored)
        glDisable(GL_SCISSOR_TEST);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LESS);
    glActiveTexture(GL_TEXTURE0);
}

std::vector<std::vector<const RibbonStackScene::LitWord*>>
RibbonStackScene::passesOf(const std::vector<LitWord>& lit)
{
    std::vector<std::vector<const LitWord*>> passes;
    std::vector<const LitWord*> pass;
    float total = 0.0f;
    // A word joins the draw when its unit is free, the strengths still fit
    // the alpha (which stops at one), and no clip of the draw cuts its light
    // or its clip another's.
    auto fits = [&](const LitWord& word) {
        return total + word.strength <= 1.0f && std::none_of(pass.begin(), pass.end(), [&](const LitWord* w) {
                   return titleWords[w->index].unit == titleWords[word.index].unit ||
                          (w->clipped && (word.lightBehind >> w->index & 1u)) ||
                          (word.clipped && (w->lightBehind >> word.index & 1u));
               });
    };
    for (const LitWord& word : lit) {
        if (!pass.empty() && !fits(word)) {
            passes.push_back(pass);
            pass.clear();
            total = 0.0f;
        }
        pass.push_back(&word);
        total += word.strength;
    }
    if (!pass.empty())
        passes.push_back(pass);
    for (auto& p : passes)
        std::sort(p.begin(), p.end(), [](const LitWord* a, const LitWord* b) {
            return titleWords[a->index].unit < titleWords[b->index].unit;
        });
    return passes;
}

std::array<show::Vec3, 2> RibbonStackScene::surfaceBounds() const
{
    show::Vec3 lo(1e30f, 1e30f, 1e30f), hi(-1e30f, -1e30f, -1e30f);
    auto take = [&](const show::Vec3& p) {
        lo = show::Vec3(std::fmin(lo.x, p.x), std::fmin(lo.y, p.y), std::fmin(lo.z, p.z));
        hi = show::Vec3(std::fmax(hi.x, p.x), std::fmax(hi.y, p.y), std::fmax(hi.z, p.z));
    };
    const show::Vec3 shift(stackShift, 0.0f, 0.0f);
    for (const auto& ribbon : ribbons)
        for (int i = 0; i < StackRibbon::ringSize; ++i) {
            take(ribbon->entry(i).left + shift);
            take(ribbon->entry(i).right + shift);
        }
    const float half = BarField::barHeight / 2.0f;
    for (const BarField::Bar& b : bars.bars) {
        take({b.x - b.width / 2.0f, b.y - half, b.z + BarField::depthBehindStack});
        take({b.x + b.width / 2.0f, b.y + half, b.z + BarField::depthBehindStack});
    }
    return {lo, hi};
}

std::vector<RibbonStackScene::LitWord> RibbonStackScene::wordsLitAt(float time, const float (&modelView)[16],
                                                                     ScreenBox& all) const
{
    const std::vector<int> words = titleWordsAt(time);
    float projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    show::Mat4 view, lens;
    std::copy(modelView, modelView + 16, view.m);
    std::copy(projection, projection + 16, lens.m);
    const show::Mat4 viewProjection = lens * view;
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    const ScreenBox screen{viewport[0], viewport[1], viewport[2], viewport[3]};
    // What the camera sees of the stack and the bars: every word lands there.
    std::vector<Plane> seen = viewPlanes(viewProjection);
    const std::array<show::Vec3, 2> bounds = surfaceBounds();
    const std::vector<Plane> inBounds = boxPlanes(bounds[0], bounds[1]);
    seen.insert(seen.end(), inBounds.begin(), inBounds.end());

    std::vector<LitWord> lit;
    std::vector<std::vector<Plane>> bodies;
    for (int index : words) {
        const show::Mat4 projector = projectorMatrix(titleWords[index], time);
        // The alpha scales the light the word adds (the texture has none of
        // its own): a word thrown from the side lays its letters large and
        // faint across the whole stack instead of over the word being read.
        const float strength = titleGain * titleFacing(projector);
        if (strength < faintestTitle || titleLight[index].empty)
            continue;
        // Only the pixels its lit box can reach: the rest of its picture is
        // black, and adds nothing.
        std::vector<Plane> planes = litPlanes(titleTextureMatrix(projector), titleLight[index]);
        planes.insert(planes.end(), seen.begin(), seen.end());
        const std::optional<ScreenBox> reach = screenReach(planes, viewProjection, screen);
        if (!reach)
            continue;
        // Behind the projector (q < 0) the divided coordinates fall in the
        // lit box where the same planes, turned round, hold.
        std::vector<Plane> behind = litPlanes(titleTextureMatrix(projector), titleLight[index]);
        for (Plane& p : behind)
            p = {-p.a, -p.b, -p.c, -p.d};
        behind.insert(behind.end(), seen.begin(), seen.end());
        const bool clipped = screenReach(behind, viewProjection, screen).has_value();
        lit.push_back({index, projector, strength, *reach, clipped, 0u});
        bodies.push_back(planes);
        all = lit.size() == 1 ? *reach : enclosing(all, *reach);
    }
    // Which words' light may fall behind a clipped word's projector, where
    // that word's clip would cut it away.
    for (size_t a = 0; a < lit.size(); ++a) {
        if (!lit[a].clipped)
            continue;
        const std::array<double, 4> front = titleFrontPlane(lit[a].projector);
        const Plane behindA{-front[0], -front[1], -front[2], -front[3]};
        for (size_t w = 0; w < lit.size(); ++w) {
            std::vector<Plane> planes = bodies[w];
            planes.push_back(behindA);
            if (w != a && screenReach(planes, viewProjection, screen))
                lit[w].lightBehind |= 1u << lit[a].index;
        }
    }
    return lit;
}

void RibbonStackScene::drawRibbonsPlain() const
{
    glPushMatrix();
    glTranslatef(stackShift, 0.0f, 0.0f);
    for (const auto& ribbon : ribbons)
        ribbon->draw();
    glPopMatrix();
}

void RibbonStackScene::drawTitleSurfaces(const show::Vec3& eye) const
{
    glEnable(GL_DEPTH_TEST);
    drawRibbonsPlain();
    bars.drawFaces(eye);
}

int RibbonStackScene::update(float time)
{
    const float local = localTime(time);
    const float beat = localBeat(time);
    resetTextureUnits(textureUnits);
    glDisable(GL_LIGHTING);
    script->update(8.0 * beat);
    stack.setFrame(10.0f * local);
    for (const auto& ribbon : ribbons)
        ribbon->update(local);

    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    stack.setCamera("Camera01", virtualScreenWidth, virtualScreenHeight);
    turnYUpToZUp();
    float modelview[16], projection[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);

    drawGlow(modelview, projection);
    // Nothing of the frame is read back from under the letterbox bars (the
    // glow is drawn apart, on its own surface): the passes stop at them.
    scissorToVisibleBand(accents);
    bars.draw(eyeOf(modelview));
    drawRibbons(false);
    glClear(GL_DEPTH_BUFFER_BIT);
    projectTitles(local);
    glow.add();
    const float lastBeat = beatAt(duration);
    if (beat > lastBeat - fadeOutBeats)
        drawBlackFade(show::remap(beat, lastBeat - fadeOutBeats, lastBeat, 0.0f, 1.0f));
    glDisable(GL_BLEND);
    glDisable(GL_SCISSOR_TEST);
    return local >= duration ? 1 : 0;
}

void RibbonStackScene::drawGlow(const float (&modelview)[16], const float (&projection)[16])
{
    if (!glow.available())
        return;
    glow.beginFromCamera(projection, modelview);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    drawRibbons(true);
    glow.blur();
}
