#include "effects/CombinerFilter.h"

#include "core/ScreenQuad.h"
#include "effects/CopyScreen.h"
#include "programs/NvExtensions.h"
#include "programs/ProgramText.h"
#include "resources/ResourceManager.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cstdio>

CombinerFilter::CombinerFilter(ResourceManager* resources, SharedKey<CopyScreen> copyKey, int width, int height)
    : width(width), height(height), resources(resources)
{
    if (resources != nullptr)
        copy = resources->get(copyKey);
    if (copy == nullptr) {
        ownCopy = std::make_unique<CopyScreen>(width, height, false);
        copy = ownCopy.get();
    }
    program = glGenLists(1);
    if (epoxy_gl_version() >= 33 || epoxy_has_gl_extension("GL_ARB_sampler_objects")) {
        glGenSamplers(1, &nearest);
        glSamplerParameteri(nearest, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glSamplerParameteri(nearest, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    }
}

CombinerFilter::~CombinerFilter()
{
    nv::glDeleteLists(program, 1);
    if (nearest != 0)
        glDeleteSamplers(1, &nearest);
}

void CombinerFilter::loadProgram(const char* text, const char* source)
{
    nv::glNewList(program, GL_COMPILE);
    programs::compileProgramText(text, 0);
    nv::glEndList();
    programs::printProgramTextErrors(source);
}

bool CombinerFilter::loadProgramFile(const char* fileName)
{
    std::unique_ptr<char[]> text = resources != nullptr ? resources->readFile(fileName) : nullptr;
    if (text == nullptr) {
        std::fprintf(stderr, "CombinerFilter: cannot read %s, the filter keeps its previous program\n", fileName);
        return false;
    }
    loadProgram(text.get(), fileName);
    return true;
}

void CombinerFilter::tapOffsets(int direction, float dx, float dy, Tap (&taps)[4])
{
    switch (direction) {
    case left:
        taps[0] = {-3 * dx, 0}; taps[1] = {-2 * dx, 0}; taps[2] = {-dx, 0}; taps[3] = {0, 0};
        break;
    case right:
        taps[0] = {3 * dx, 0}; taps[1] = {2 * dx, 0}; taps[2] = {dx, 0}; taps[3] = {0, 0};
        break;
    case up:
        taps[0] = {0, -3 * dy}; taps[1] = {0, -2 * dy}; taps[2] = {0, -dy}; taps[3] = {0, 0};
        break;
    case down:
        taps[0] = {0, 3 * dy}; taps[1] = {0, 2 * dy}; taps[2] = {0, dy}; taps[3] = {0, 0};
        break;
    default:
        taps[0] = {-dx, 0}; taps[1] = {dx, 0}; taps[2] = {0, -dy}; taps[3] = {0, dy};
        break;
    }
}

bool CombinerFilter::tapsOnTexelCentres() const
{
    // The quad spans the viewport, and the taps move by whole texels.
    if (copy->width != width || copy->height != height)
        return false;
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    return viewport[0] == 0 && viewport[1] == 0 && viewport[2] == width && viewport[3] == height;
}

void CombinerFilter::copyWhatThePassReads(bool oneToOne)
{
    // A pass held to a scissor box reads the copy only inside that box and
    // as far around it as its taps reach (a texel more for filtering).
    GLint box[4] = {0, 0, width, height};
    if (!oneToOne || !glIsEnabled(GL_SCISSOR_TEST)) {
        copy->copyFromScreen(0, 0, 0, 0, -1, -1);
        return;
    }
    glGetIntegerv(GL_SCISSOR_BOX, box);
    const int reach = 3 * spread + 1;
    const int x0 = std::clamp(box[0] - reach, 0, width), y0 = std::clamp(box[1] - reach, 0, height);
    const int x1 = std::clamp(box[0] + box[2] + reach, 0, width);
    const int y1 = std::clamp(box[1] + box[3] + reach, 0, height);
    if (x1 > x0 && y1 > y0)
        copy->copyFromScreen(x0, y0, x0, y0, x1 - x0, y1 - y0);
}

int CombinerFilter::update()
{
    const bool oneToOne = tapsOnTexelCentres();
    if (takeCopy) {
        copyWhatThePassReads(oneToOne);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    nv::glEnable(GL_REGISTER_COMBINERS_NV);
    nv::glCallList(program);
    const unsigned sampler = oneToOne ? nearest : 0;
    if (sampler != 0) {
        // Taps past the picture's edge wrap as the copy's own settings say.
        copy->bind();
        for (GLenum wrap : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T}) {
            GLint mode = GL_CLAMP_TO_EDGE;
            glGetTexParameteriv(copy->target, wrap, &mode);
            glSamplerParameteri(sampler, wrap, mode);
        }
    }
    for (int unit = 0; unit < 4; ++unit) {
        nv::glActiveTexture(GL_TEXTURE0 + unit);
        copy->enable();
        copy->bind();
        if (sampler != 0)
            glBindSampler(unit, sampler);
    }
    setOrthoBox(0, width, 0, height, 0, 10);

    // Rectangle copies are addressed in texels, 2-D ones in [0, 1].
    const bool rectangle = copy->target != GL_TEXTURE_2D;
    const float maxS = rectangle ? static_cast<float>(copy->width) : 1.0f;
    const float maxT = rectangle ? static_cast<float>(copy->height) : 1.0f;
    const float dx = rectangle ? static_cast<float>(spread) : static_cast<float>(spread) / width;
    const float dy = rectangle ? static_cast<float>(spread) : static_cast<float>(spread) / height;
    Tap taps[4];
    tapOffsets(direction, dx, dy, taps);

    const float corners[4][4] = {{0, 0, 0, 0},
                                 {static_cast<float>(width), 0, maxS, 0},
                                 {static_cast<float>(width), static_cast<float>(height), maxS, maxT},
                                 {0, static_cast<float>(height), 0, maxT}};
    nv::glBegin(GL_QUADS);
    for (const auto& corner : corners) {
        for (int unit = 0; unit < 4; ++unit)
            glMultiTexCoord2f(GL_TEXTURE0 + unit, corner[2] + taps[unit].s, corner[3] + taps[unit].t);
        glVertex2f(corner[0], corner[1]);
    }
    glEnd();

    for (int unit = 3; unit >= 0; --unit) {
        nv::glActiveTexture(GL_TEXTURE0 + unit);
        copy->disable();
        if (sampler != 0)
            glBindSampler(unit, 0);
    }
    nv::glDisable(GL_REGISTER_COMBINERS_NV);
    return 0;
}
