#include "effects/FallingParticles.h"

#include "core/ScreenQuad.h"
#include "core/ShowMath.h"
#include "effects/OverlayImage.h"
#include "effects/SharedKeys.h"
#include "programs/NvExtensions.h"
#include "programs/ProgramText.h"
#include "resources/ResourceManager.h"

#include <epoxy/gl.h>

#include <GL/glu.h>

#include <cstdio>

namespace {

std::unique_ptr<OverlayImage> logo(ResourceManager* resources, const char* fileName)
{
    auto image = std::make_unique<OverlayImage>(resources);
    image->filename = fileName;
    image->finishLoad();
    return image;
}

} // namespace

FallingParticles::FallingParticles(ResourceManager* resources)
    : Effect(resources), multipliedLogo(logo(resources, "plogo3c.png")), addedLogo(logo(resources, "plogo3b.png"))
{
    if (resources != nullptr) {
        glow = Glow(resources->get(shared::pbuffer320x240), resources->get(shared::copyScreen320x240),
                    resources->get(shared::blur320x240));
        program = genProgramNV();
        std::printf("loading vertex program\n");
        std::unique_ptr<char[]> text = resources->readFile("particle.vpc");
        nv::glBindProgramNV(GL_VERTEX_PROGRAM_NV, program.get());
        while (nv::glGetError() != GL_NO_ERROR) {
        }
        if (text != nullptr)
            programs::compileProgramText(text.get(), static_cast<int>(program.get()));
        programs::printProgramTextErrors("particle.vpc");
    }
    registerParam("numParticles", &numParticles);
    registerParam("particleSize", &particleSize);
    registerParam("rotationMin", &rotationMin);
    registerParam("rotationMax", &rotationMax);
    registerParam("fallSpeedMin", &fallSpeedMin);
    registerParam("fallSpeedMax", &fallSpeedMax);
    registerParam("specular", &specular);
    registerParam("glowSpecular", &glowSpecular);
    registerParam("letterboxAmt", &letterboxAmt);
    registerParam("col", &col);
    registerParam("glowCol", &glowCol);
    loadDescription(resources, "fallingparticles.xml");
    imageAlpha = &lookUpVar("imageAlpha");
}

FallingParticles::~FallingParticles() = default;

void FallingParticles::finishLoad()
{
    const size_t n = numParticles > 0 ? static_cast<size_t>(numParticles) : 0;
    indices.resize(4 * n);
    corners.resize(8 * n);
    centres.resize(12 * n);
    angles.assign(8 * n, 0.0f);
    rates.resize(3 * n);
    const float s = particleSize;
    const float corner[8] = {-s, -s, s, -s, s, s, -s, s};
    for (size_t p = 0; p < n; ++p) {
        const float x = show::random(-25.0f, 25.0f);
        const float y = show::random(0.0f, 10.0f) + 20.0f;
        const float z = show::random(5.0f, 55.0f);
        rates[3 * p] = show::random(rotationMin, rotationMax);
        rates[3 * p + 1] = show::random(-fallSpeedMin, -fallSpeedMax);
        rates[3 * p + 2] = show::random(rotationMin, rotationMax);
        for (size_t v = 0; v < 4; ++v) {
            const size_t vertex = 4 * p + v;
            indices[vertex] = static_cast<unsigned>(vertex);
            corners[2 * vertex] = corner[2 * v];
            corners[2 * vertex + 1] = corner[2 * v + 1];
            centres[3 * vertex] = x;
            centres[3 * vertex + 1] = y;
            centres[3 * vertex + 2] = z;
        }
    }
    prepareKeys();
}

int FallingParticles::advance(float localTime)
{
    const float dt = localTime - previousTime;
    const size_t n = rates.size() / 3;
    for (size_t p = 0; p < n; ++p)
        for (size_t v = 4 * p; v < 4 * p + 4; ++v) {
            angles[2 * v] += dt * rates[3 * p];
            angles[2 * v + 1] += dt * rates[3 * p + 2];
            centres[3 * v + 1] += dt * rates[3 * p + 1];
        }
    previousTime = localTime;
    return 0;
}

void FallingParticles::drawParticles(float specularTerm, const float (&colour)[3])
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    setOrthoBox(0, 1, 1, 0, 0, 1);
    const float l = letterboxAmt;
    glColor3f(0, 0, 0);
    drawQuads({{0, 0, 1, l}, {0, 1 - l, 1, 1}});
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 4.0 / 3.0, 0.1, 200.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -25);
    if (indices.empty() || !program)
        return;
    glEnable(GL_VERTEX_PROGRAM_NV);
    nv::glBindProgramNV(GL_VERTEX_PROGRAM_NV, program.get());
    nv::glTrackMatrixNV(GL_VERTEX_PROGRAM_NV, 0, GL_MODELVIEW_PROJECTION_NV, GL_IDENTITY_NV);
    nv::glTrackMatrixNV(GL_VERTEX_PROGRAM_NV, 4, GL_MODELVIEW, GL_IDENTITY_NV);
    nv::glTrackMatrixNV(GL_VERTEX_PROGRAM_NV, 8, GL_MODELVIEW, GL_INVERSE_TRANSPOSE_NV);
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 12, 0, 0, 0, 1);
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 14, 0.5f, 1, specularTerm, 0);
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 15, 1, -1.0f / 6, 1.0f / 120, -1.0f / 5040);
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 16, 1, -1.0f / 2, 1.0f / 24, -1.0f / 720);
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 17, 3.14159f, 0.159155f, 6.28318f, 1);
    glColor3fv(colour);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, corners.data());
    glNormalPointer(GL_FLOAT, 0, centres.data());
    glTexCoordPointer(2, GL_FLOAT, 0, angles.data());
    nv::glDrawElements(GL_QUADS, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT, indices.data());
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisable(GL_VERTEX_PROGRAM_NV);
}

void FallingParticles::drawGlow()
{
    if (!glow.available())
        return;
    glow.begin();
    drawParticles(glowSpecular, glowCol);
    glow.blur();
    glow.add();
}

void FallingParticles::drawLogos(float localTime)
{
    const float d = imageAlpha->evaluate(localTime);
    // Over everything: the logos are no part of the particles' space.
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    // dst x ((1 - d) logo + d): the multiplied logo fades out as d rises.
    const float m = 1.0f - d;
    glColor4f(m, m, m, m);
    glBlendFunc(GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA);
    // At full strength the multiplied logo leaves the screen as it is where
    // the picture is opaque white.
    if (m >= 1.0f)
        multipliedLogo->drawMarkedPart();
    else
        multipliedLogo->drawOverScreen();
    // At no alpha the added logo adds nothing: the whole-screen pass is spared.
    if (d > 0.0f) {
        glColor4f(1, 1, 1, d);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        addedLogo->drawOverScreen();
    }
    glDisable(GL_BLEND);
}

int FallingParticles::update(float localTime)
{
    drawParticles(specular, col);
    drawGlow();
    drawLogos(localTime);
    return 0;
}
