// The GL state a boxed pass promises to put back, read from the current
// context (texture state from unit 0, where the show's passes texture), so
// a test can compare it before and after the pass.
#pragma once

#include <epoxy/gl.h>

#include <array>
#include <vector>

struct StateSnapshot {
    std::vector<GLboolean> enables;
    std::array<GLint, 7> integers{};
    std::array<GLfloat, 4> colour{};
    std::array<GLfloat, 48> matrices{};

    static StateSnapshot read()
    {
        StateSnapshot s;
        const GLenum names[6] = {GL_ACTIVE_TEXTURE, GL_BLEND_SRC, GL_BLEND_DST, GL_MATRIX_MODE, GL_DEPTH_FUNC,
                                 GL_DEPTH_WRITEMASK};
        for (int i = 0; i < 6; ++i)
            glGetIntegerv(names[i], &s.integers[i]);
        glActiveTexture(GL_TEXTURE0);
        for (GLenum cap : {GL_DEPTH_TEST, GL_LIGHTING, GL_BLEND, GL_SCISSOR_TEST, GL_TEXTURE_2D,
                           GL_TEXTURE_RECTANGLE, GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_Q})
            s.enables.push_back(glIsEnabled(cap));
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &s.integers[6]);
        glGetFloatv(GL_TEXTURE_MATRIX, &s.matrices[32]);
        glActiveTexture(static_cast<GLenum>(s.integers[0]));
        glGetFloatv(GL_CURRENT_COLOR, s.colour.data());
        glGetFloatv(GL_PROJECTION_MATRIX, &s.matrices[0]);
        glGetFloatv(GL_MODELVIEW_MATRIX, &s.matrices[16]);
        return s;
    }

    bool operator==(const StateSnapshot& o) const
    {
        return enables == o.enables && integers == o.integers && colour == o.colour && matrices == o.matrices;
    }
};

// A state no pass of the show starts from: everything a boxed pass sets
// differs from it. Unit 1 is left active.
inline void setUnusualState()
{
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_GEQUAL);
    glEnable(GL_LIGHTING);
    glBlendFunc(GL_ONE, GL_ONE);
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_TEXTURE_GEN_S);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glScalef(2.0f, 2.0f, 2.0f);
    glActiveTexture(GL_TEXTURE1);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-3, 3, -2, 2, -5, 5);
    glColor4f(0.2f, 0.3f, 0.4f, 0.5f);
}

// Undoes setUnusualState for the tests that follow.
inline void clearUnusualState()
{
    glDisable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDisable(GL_LIGHTING);
    glBlendFunc(GL_ONE, GL_ZERO);
    glActiveTexture(GL_TEXTURE0);
    glDisable(GL_TEXTURE_GEN_S);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}
