// FunkSphere: the pulsing sphere in the middle of the funk sphere scene. A
// four times subdivided octahedron, merged so neighbours share corners, is
// pushed through the Bezier lattice every frame and drawn with the vertex
// program "temp.vpc" (a glossy, Fresnel-rimmed surface) and a combiner setup
// that adds the sphere's texture to the lit colours. The scene renders that
// texture each frame (the credits) before the sphere is drawn.
//
// Needs a current context from construction to destruction: it owns its
// program name, combiner display list and texture. Missing "temp.vpc" or
// "funksphere.cfg" values are reported and the sphere still draws, unlit.
#pragma once

#include "core/GLObjects.h"
#include "scenes/funksphere/BezierLattice.h"

#include <cstdint>
#include <vector>

class ResourceManager;

class FunkSphere {
public:
    static constexpr int level = 4;
    static constexpr int textureSize = 512;

    explicit FunkSphere(const ResourceManager* resources);

    // Deforms the mesh for time t and draws it with the current model-view
    // matrix; leaves vertex programs, combiners and texturing off.
    void draw(float t);

    GLuint texture() const { return texture_.get(); }
    // Whether "temp.vpc" compiled; without it the sphere is drawn unlit.
    bool hasProgram() const { return programLoaded; }
    int vertexCount() const { return static_cast<int>(lattice.size()); }
    const std::vector<uint32_t>& triangleIndices() const { return indices; }
    const std::vector<show::Vec3>& currentPositions() const { return positions; }
    const std::vector<show::Vec3>& currentNormals() const { return normals; }

    float mt = 0.3f;
    float refractionIndexRatio = 0.7f;
    float diffuse[3] = {0.3f, 0.3f, 0.5f};

private:
    void buildMesh();
    void loadProgram(const ResourceManager* resources);
    void readSettings(const ResourceManager* resources);
    void setProgramParameters() const;

    std::vector<show::Vec3> lattice;   // fixed lattice coordinates in 0 .. 1
    std::vector<show::Vec3> positions;
    std::vector<show::Vec3> normals;
    std::vector<uint32_t> indices;
    BezierLattice volume;
    GLProgramNV program;
    bool programLoaded = false;
    GLDisplayList combinerList;
    GLTexture texture_;
};

// The combiner setup the sphere draws with (colour = primary + secondary +
// texture 0), compiled into a new display list; none when no list was made.
GLDisplayList compileSphereCombiners();
