#include "core/TextureUnits.h"

namespace {

constexpr GLenum coordinates[4] = {GL_S, GL_T, GL_R, GL_Q};
constexpr GLenum generators[4] = {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q};

} // namespace

void enableEyeLinearTexGen()
{
    for (int i = 0; i < 4; ++i) {
        GLfloat plane[4] = {0.0f, 0.0f, 0.0f, 0.0f};
        plane[i] = 1.0f;
        glTexGeni(coordinates[i], GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
        glTexGenfv(coordinates[i], GL_EYE_PLANE, plane);
        glEnable(generators[i]);
    }
}

void disableTexGen()
{
    for (GLenum generator : generators)
        glDisable(generator);
}

void resetTextureUnit(GLenum unit)
{
    glActiveTexture(unit);
    glDisable(GL_TEXTURE_2D);
    disableTexGen();
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}

void resetTextureUnits(int count)
{
    for (int unit = count - 1; unit >= 0; --unit)
        resetTextureUnit(GL_TEXTURE0 + unit);
}
