#include "scenes/aflowers/RibbonArray.h"

#include "core/Scene3DS.h"

#include <cstdio>

using show::Vec3;

RibbonArray::RibbonArray(ResourceManager* resources) : Effect(resources)
{
    registerParam("numRibbons", &numRibbons);
    registerParam("ridge", &ridge);
    registerParam("width", &width);
    registerParam("thickness", &thickness);
    registerParam("segLength", &segLength);
    registerParam("filename", &filename);
    registerParam("pathname", &pathname);
    registerParam("t_3dsStart", &t_3dsStart);
    registerParam("t_3dsEnd", &t_3dsEnd);
    loadDescription(resources, "ribbonarray.xml");
}

int RibbonArray::advance(float time)
{
    for (auto& strand : strands)
        strand->update(time);
    return 0;
}

int RibbonArray::update(float time)
{
    advance(time);
    for (const auto& strand : strands)
        strand->draw();
    return 0;
}

void RibbonArray::finishLoad()
{
    strands.clear();
    for (int i = 0; i < numRibbons; ++i)
        strands.push_back(std::make_unique<RibbonStrand>(sectionsPerStrand, segLength, width, thickness, ridge));
    buildPaths();
}

void RibbonArray::buildPaths()
{
    if (filename.empty() || pathname.empty() || resources == nullptr)
        return;
    Scene3DS scene(filename.c_str(), *resources);
    if (!scene.file) {
        std::printf("RibbonArray: no paths without %s\n", filename.c_str());
        return;
    }
    if (!scene.findNode(pathname, LIB3DS_OBJECT_NODE))
        std::printf("RibbonArray: %s has no object %s\n", filename.c_str(), pathname.c_str());
    for (int i = 0; i < pathSamples; ++i) {
        const float frame = show::remap(static_cast<float>(i), 0.0f, pathSamples - 1.0f, t_3dsStart, 10.0f * t_3dsEnd);
        scene.setFrame(frame);
        addSample(scene.objectPosition(pathname));
    }
}

void RibbonArray::addSample(const Vec3& sample)
{
    if (firstSample) {
        firstSample = false;
        previousSample = sample;
        return;
    }
    const Vec3 direction = (sample - previousSample).normalized();
    const Vec3 side = direction.cross(up).normalized();
    const Vec3 across = side.cross(direction).normalized();
    up = side.cross(across).normalized();
    Vec3 base = sample - side * strandSpacing * static_cast<float>(numRibbons / 2);
    for (auto& strand : strands) {
        const float jx = show::random(-10.0f, 10.0f);
        const float jy = show::random(-10.0f, 10.0f);
        const float jz = show::random(-10.0f, 10.0f);
        strand->path.append(base + Vec3(jx, jy, jz));
        base = base + side * strandSpacing;
    }
    previousSample = sample;
}
