// RibbonArray: a bundle of parallel ribbon strands laid along the path of
// one named object of a 3DS file. The object's position is sampled at 16
// frames; at each sample after the first (which only gives the first
// direction) the strands sit side by side 10 units apart across the path's
// bend, each jittered by up to 10 units, and every strand follows a closed
// spline through its own 15 points, one point per second. Where the path
// runs straight there is no bend to spread across and the strands bunch.
//
// An effect with the parameters of "ribbonarray.xml": "numRibbons",
// "ridge", "width", "thickness", "segLength" (seconds per section),
// "filename" and "pathname" (the 3DS file and object), "t_3dsStart" (a
// frame) and "t_3dsEnd" (tenths of the last frame). `finishLoad` makes the
// strands and their paths; without both names there are no paths and the
// strands never lay a section. Random draws: three per strand and sample,
// in strand order, as the paths are built.
#pragma once

#include "effects/Effect.h"
#include "scenes/aflowers/RibbonStrand.h"

#include <memory>
#include <string>
#include <vector>

class RibbonArray : public Effect {
public:
    static constexpr int pathSamples = 16;
    static constexpr int sectionsPerStrand = 100;
    static constexpr float strandSpacing = 10.0f;

    explicit RibbonArray(ResourceManager* resources);

    // Lays the strands' sections up to `time` (seconds).
    int advance(float time) override;
    // Advances to `time`, then draws every strand's top face with the
    // caller's colour and blending.
    int update(float time) override;
    // Makes numRibbons strands, then builds their paths.
    void finishLoad() override;

    int numRibbons = 0;
    float ridge = 0.2f;
    float width = 1.0f;
    float thickness = 0.125f;
    float segLength = 0.05f;
    float t_3dsStart = 0.0f;
    float t_3dsEnd = 0.0f;
    std::string filename;
    std::string pathname;
    std::vector<std::unique_ptr<RibbonStrand>> strands;

private:
    void buildPaths();
    void addSample(const show::Vec3& sample);

    show::Vec3 up{0.0f, 1.0f, 0.0f};
    show::Vec3 previousSample;
    bool firstSample = true;
};
