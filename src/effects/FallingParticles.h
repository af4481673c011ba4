// "FallingParticles": a field of small spinning quads falling through a
// perspective view between letterbox bars, with a blurred glow of the same
// particles drawn off-screen and added, and two logo pictures over the
// result: "plogo3c.png" multiplied in, "plogo3b.png" added, cross-faded by
// the var "imageAlpha" (0 shows only the multiplied one, 1 only the added).
//
// The vertex program "particle.vpc" turns each quad corner by the
// particle's two spin angles; the processor only advances angles and
// heights. Owns the logos and the program; borrows "PBuffer320x240",
// "CopyScreen320x240" and "Blur320x240" from the registry.
#pragma once

#include "core/GLObjects.h"
#include "effects/Effect.h"
#include "effects/Glow.h"

#include <memory>
#include <vector>

class OverlayImage;

class FallingParticles : public Effect {
public:
    explicit FallingParticles(ResourceManager* resources);
    ~FallingParticles() override;

    int update(float localTime) override;
    // Spins and drops every particle by the time since the last call.
    int advance(float localTime) override;
    // Places the particles once the parameters are set.
    void finishLoad() override;

    // The particle pass into the current surface; `clear` clears it first.
    void drawParticles(float specularTerm, const float (&colour)[3]);

    int numParticles = 0;
    float particleSize = 0.5f;
    float rotationMin = 0.0f, rotationMax = 0.0f;
    float fallSpeedMin = 0.0f, fallSpeedMax = 0.0f;
    float specular = 0.0f;
    float glowSpecular = 0.0f;
    float letterboxAmt = 0.0f;
    float col[3] = {1, 1, 1};
    float glowCol[3] = {1, 1, 1};

    std::vector<unsigned> indices;
    std::vector<float> corners; // 2 per vertex
    std::vector<float> centres; // 3 per vertex
    std::vector<float> angles;  // 2 per vertex
    std::vector<float> rates;   // per particle: spin a, fall, spin b
    float previousTime = 0.0f;

    std::unique_ptr<OverlayImage> multipliedLogo;
    std::unique_ptr<OverlayImage> addedLogo;
    GLProgramNV program;

    // The two logos over the current picture, cross-faded by "imageAlpha".
    void drawLogos(float localTime);

private:
    void drawGlow();

    Glow glow{nullptr, nullptr, nullptr};
    EffectVar* imageAlpha = nullptr;
};
