#include "scenes/funksphere/FunkSphere.h"

#include "programs/NvExtensions.h"
#include "programs/ProgramText.h"
#include "resources/KeyValue.h"
#include "resources/ResourceManager.h"
#include "scenes/funksphere/SubdividedSphere.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cstdio>

using show::Vec3;

namespace {

// Primary plus secondary colour, then the texture added on top.
const char* const sphereCombinerText =
    "!!RC1.0\t\t\t\t\t\t\n{\t\t\t\t\t\t\t\t\n\trgb {\t\t\t\t\t\t\n\t\tdiscard = col0;\t\t\t\n"
    "\t\tdiscard = col1;\t\t\t\n\t\tspare0  = sum();\t\t\n\t}\t\t\t\t\t  \t\t\n}\t\t\t\t\t\t\t\t\n"
    "out.rgb = spare0+tex0;\t\t\t\n";

} // namespace

GLDisplayList compileSphereCombiners()
{
    GLDisplayList list = genList();
    if (!list)
        return list;
    nv::glNewList(list.get(), GL_COMPILE);
    programs::compileProgramText(sphereCombinerText, 0);
    nv::glEndList();
    programs::printProgramTextErrors();
    return list;
}

FunkSphere::FunkSphere(const ResourceManager* resources)
{
    buildMesh();
    readSettings(resources);
    loadProgram(resources);
    combinerList = compileSphereCombiners();
    texture_ = createTexture(GL_TEXTURE_2D);
    nv::glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, textureSize, textureSize, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void FunkSphere::buildMesh()
{
    std::printf("subdividing shape\n");
    SphereMesh mesh = subdividedOctahedron(level);
    std::printf("simplifying shape\n");
    mergeEqualVertices(mesh);
    std::printf("copying into shape\n");
    indices = std::move(mesh.indices);
    lattice.reserve(mesh.vertices.size());
    for (const Vec3& p : mesh.vertices)
        lattice.emplace_back(show::remap(p.x, -1, 1, 0, 1), show::remap(p.y, -1, 1, 0, 1),
                             show::remap(p.z, -1, 1, 0, 1));
    positions.resize(lattice.size());
    normals.resize(lattice.size());
}

void FunkSphere::readSettings(const ResourceManager* resources)
{
    std::unique_ptr<char[]> cfg = resources != nullptr ? resources->readFile("funksphere.cfg") : nullptr;
    if (cfg == nullptr) {
        std::printf("funksphere.cfg missing: the sphere keeps its default surface\n");
        return;
    }
    const KvLookupReport report("funksphere.cfg");
    if (kvFind(cfg.get(), "mt") >= 0)
        mt = kvFloat(cfg.get(), "mt");
    if (kvFind(cfg.get(), "refractionIndexRatio") >= 0)
        refractionIndexRatio = kvFloat(cfg.get(), "refractionIndexRatio");
    float colour[3];
    if (kvFloats(cfg.get(), "diffuse", colour) == 3)
        std::copy(colour, colour + 3, diffuse);
}

void FunkSphere::loadProgram(const ResourceManager* resources)
{
    program = genProgramNV();
    std::printf("loading vertex program\n");
    std::unique_ptr<char[]> text = resources != nullptr ? resources->readFile("temp.vpc") : nullptr;
    nv::glBindProgramNV(GL_VERTEX_PROGRAM_NV, program.get());
    while (nv::glGetError() != GL_NO_ERROR) {
    }
    if (text != nullptr) {
        programs::compileProgramText(text.get(), static_cast<int>(program.get()));
        programLoaded = programs::programTextErrors()[0] == nullptr;
    }
    programs::printProgramTextErrors("temp.vpc");
    nv::glBindProgramNV(GL_VERTEX_PROGRAM_NV, 0);
}

void FunkSphere::setProgramParameters() const
{
    // The light sits low on the left in front of the sphere, placed through
    // the model-view matrix, so it stays put while the camera circles.
    show::Mat4 modelView;
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView.m);
    const Vec3 light = modelView.transformPoint(Vec3(-20, -20, 20));
    const float r = refractionIndexRatio;
    const float m2 = mt * mt;
    const float normalReflectance = (1 - r) * (1 - r) / ((1 + r) * (1 + r));
    constexpr GLenum target = GL_VERTEX_PROGRAM_NV;
    nv::glTrackMatrixNV(target, 0, GL_MODELVIEW_PROJECTION_NV, GL_IDENTITY_NV);
    nv::glTrackMatrixNV(target, 4, GL_MODELVIEW, GL_IDENTITY_NV);
    nv::glTrackMatrixNV(target, 8, GL_MODELVIEW, GL_INVERSE_TRANSPOSE_NV);
    nv::glProgramParameter4fNV(target, 12, 10, 10, 0, 1);
    nv::glProgramParameter4fNV(target, 14, 0.5f, 1.0f, 4.0f, 0);
    nv::glProgramParameter4fNV(target, 15, light.x, light.y, light.z, 1);
    nv::glProgramParameter4fNV(target, 16, m2, 3.14159f, normalReflectance, 2.7182817f);
    nv::glProgramParameter4fNV(target, 17, m2, 1.0f, 0, 0);
}

void FunkSphere::draw(float t)
{
    volume.pulse(t);
    deformMesh(volume, lattice, indices, positions, normals);

    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    if (programLoaded) {
        glEnable(GL_VERTEX_PROGRAM_NV);
        nv::glBindProgramNV(GL_VERTEX_PROGRAM_NV, program.get());
        setProgramParameters();
    }
    glColor3fv(diffuse);
    // The combiners add the secondary colour: unlit, there is none.
    if (!programLoaded)
        glSecondaryColor3f(0, 0, 0);
    nv::glEnable(GL_REGISTER_COMBINERS_NV);
    if (combinerList)
        nv::glCallList(combinerList.get());
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture_.get());
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(Vec3), positions.data());
    glNormalPointer(GL_FLOAT, sizeof(Vec3), normals.data());
    nv::glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT, indices.data());
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisable(GL_VERTEX_PROGRAM_NV);
    nv::glDisable(GL_REGISTER_COMBINERS_NV);
    glDisable(GL_TEXTURE_2D);
}
