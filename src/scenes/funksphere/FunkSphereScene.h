// FunkSphereScene: the deformed "funk" sphere carrying the credits. Each
// frame the credits overlay is rendered into the 512 x 512 surface and becomes
// the sphere's texture; the previous frame comes back enlarged and dimmed;
// orbit ribbons (more of them over the first ten seconds) trail round the
// sphere; the sphere is drawn over that, and the credits once more over the
// whole picture. "funksphere.swf" drives the credits: layer 1's alpha fades
// them, its blue calms the ripple, and "setName" picks the credit.
//
// The scene owns its sphere, overlay, ribbons, 3DS scene and script; the
// render targets are the registry's. Built and drawn on a current context.
// Missing data is reported by the loaders and leaves the part out.
#pragma once

#include "core/Scene.h"
#include "scenes/funksphere/OrbitRibbon.h"

#include <memory>
#include <string>
#include <vector>

class CopyScreen;
class CreditsOverlay;
class KeyEffects;
class FunkSphere;
class PBuffer;
class Scene3DS;
class swfScript;

class FunkSphereScene : public Scene {
public:
    explicit FunkSphereScene(ResourceManager* resources);
    ~FunkSphereScene() override;

    int update(float time) override;

    // How many ribbons are drawn b seconds into the scene.
    int visibleRibbons(float b) const;
    int ribbonCount() const { return static_cast<int>(ribbons.size()); }

    // The camera of "funksphere.3ds" the scene looks through.
    static inline std::string cameraName = "Camera01";
    // Whether this scene ever drew a frame: the first has no previous frame
    // to feed back.
    static inline bool drewBefore = false;

private:
    void readRibbonCount();
    void renderSphereTexture(float b);
    void drawPreviousFrame();
    void drawRibbons(float b);
    void drawSphere(float b);
    void drawCredits(int width, int height, float b);

    CopyScreen* previousFrame = nullptr;
    const KeyEffects* accents = nullptr;  // frames move under the bars while they shake or blur
    PBuffer* sphereSurface = nullptr;
    std::unique_ptr<FunkSphere> sphere;
    std::unique_ptr<CreditsOverlay> credits;
    std::unique_ptr<Scene3DS> flight;
    std::unique_ptr<swfScript> script;
    std::vector<OrbitRibbon> ribbons;
    float layer[4] = {0, 0, 0, 0};   // layer 1's colour: red, green, blue, alpha
};
