// Flower: the flower field's large procedural flower, 50 rings of 10 curled
// petals around its axis, shaded by the vertex program "flower.vpc" (lit,
// glossy, with a bright rim where the petals turn away from the eye). Its
// colours come from "flower.cfg": the rings blend from "outerCol" (ring 0,
// the widest, at the bottom) to "innerCol" (ring 49, small and raised), and
// every petal's root takes "stemCol". All rings follow one opening curve,
// shifted so that the low rings open first and the top ones last.
//
// The petals are drawn nearest first: the rings overlap many times over, and
// a fragment the depth test rejects is not shaded or written. Without
// blending the picture does not depend on the order.
//
// Owns its program name; delete it while a context sharing it is current.
#pragma once

#include "core/GLObjects.h"
#include "core/ShowMath.h"
#include "scenes/flowers/Petal.h"

#include <array>
#include <vector>

class ResourceManager;

class Flower {
public:
    static constexpr int ringCount = 50;
    static constexpr int petalsPerRing = 10;

    explicit Flower(const ResourceManager& resources);

    // How far ring `ring` is open (0..1) for the flower's `opening`.
    static float ringOpening(int ring, float opening);

    // Turns the model-view 90 degrees about x (the flower's axis becomes the
    // view's z) and leaves it turned, so what is drawn next stands in the
    // flower's frame; then draws every petal through the program.
    void draw(float time);

    struct PetalSlot {
        int ring;
        int petal;
    };
    // Lays every ring out for the current opening and returns the petals
    // in drawing order: by the eye-space depth of each petal's middle under
    // `modelview` (column-major, from the flower's frame), nearest first.
    const std::vector<PetalSlot>& layOut(const float* modelview);

    float opening = 0.0f;
    show::Vec3 innerCol{1.0f, 0.9f, 0.5f};
    show::Vec3 outerCol{0.8f, 0.2f, 0.5f};
    show::Vec3 stemCol{0.1f, 0.4f, 0.1f};
    show::Vec3 tipCol{1.0f, 1.0f, 1.0f};
    float shininess = 20.0f;
    std::array<std::array<Petal, petalsPerRing>, ringCount> rings;
    GLProgramNV program;

private:
    void readColours(const ResourceManager& resources);
    void setProgramParameters() const;
    void drawPetal(const PetalSlot& slot);

    std::array<PetalGeometry, ringCount> geometry;
    std::vector<PetalSlot> order;
    int boundRing = -1;   // the ring whose geometry the arrays point at
};
