// RibbonStackScene: fourteen shiny ribbons stacked one above the other run
// along jittered paths while the camera of "hribbon.3ds" flies beside them.
// The ribbons are lit by the anisotropic vertex program "hribbonaniso.vpc";
// a second, sharper pass into the small off-screen surface is blurred and
// added back as their glow, tinted by layer 1 of "hribbonscene.swf". Red
// bars stand behind them, and four title words sweep across them one after
// another from moving projectors, their light landing on the ribbons and,
// between them, on the bars. The last four beats fade to black.
//
// The scene owns its ribbons, bars, 3DS scene, script, program and title
// textures; the render targets and the blur are borrowed from the registry.
#pragma once

#include "core/GLObjects.h"
#include "core/Scene.h"
#include "core/Scene3DS.h"
#include "effects/Glow.h"
#include "scenes/ribbonstack/BarField.h"
#include "scenes/ribbonstack/StackRibbon.h"
#include "scenes/ribbonstack/TitleProjection.h"
#include "scenes/ribbonstack/TitleReach.h"
#include "swf/swfScript.h"

#include <array>
#include <memory>
#include <vector>

class KeyEffects;

class RibbonStackScene : public Scene {
public:
    static constexpr int ribbonCount = 14;

    explicit RibbonStackScene(ResourceManager* resources);

    int update(float time) override;

    // The ribbons with their program: the glow pass (sharp highlights in the
    // inverse of the tint) or the picture's own (dark with a white sheen).
    void drawRibbons(bool glowPass);
    // The words whose windows contain `time`, added where they fall on the
    // ribbons. Expects the scene's model-view matrix to be current.
    void projectTitles(float time);

    // A word to throw: its projector, its strength (the alpha of its light)
    // and what the scene worked out of where its light can fall.
    struct LitWord {
        int index;
        show::Mat4 projector;
        float strength;
        ScreenBox reach;   // the pixels it can change
        bool clipped;      // to the side its projector faces
        // Bit w set: this word's light may fall behind word w's projector.
        unsigned lightBehind;
    };
    // The words in draws, in few draws as their units, their summed
    // strengths and their clips allow, each draw's words in the order of
    // their units.
    static std::vector<std::vector<const LitWord*>> passesOf(const std::vector<LitWord>& lit);

    BarField bars;
    Scene3DS stack;
    std::unique_ptr<swfScript> script;
    std::vector<std::unique_ptr<StackRibbon>> ribbons;
    GLProgramNV program;
    float mt = 1.0f;
    float refractionIndexRatio = 1.5f;
    float tint[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    GLTexture titleTextures[titleWordCount];
    // Where each title picture is not black; empty for one not loaded.
    LitBox titleLight[titleWordCount];

private:
    void readLook();
    // The ribbons as plain geometry, in whatever state the caller set.
    void drawRibbonsPlain() const;
    // What the words land on, seen from `eye` (stack coordinates): the
    // ribbons and the bars' faces behind them.
    void drawTitleSurfaces(const show::Vec3& eye) const;
    // The words that add light at `time` seen through `modelView` (the
    // projection and viewport current), and in `all` the pixels any of them
    // can change.
    std::vector<LitWord> wordsLitAt(float time, const float (&modelView)[16], ScreenBox& all) const;
    // The box, in stack coordinates, holding every ribbon and bar.
    std::array<show::Vec3, 2> surfaceBounds() const;
    // The ribbons' glow pass into the glow's surface, seen by the scene's
    // camera, blurred there.
    void drawGlow(const float (&modelview)[16], const float (&projection)[16]);

    Glow glow{nullptr, nullptr, nullptr};
    const KeyEffects* accents = nullptr;  // frames move under the bars while they shake or blur
};
