#include "core/BlackFade.h"

#include "core/ScreenQuad.h"
#include "core/StateBox.h"

void drawBlackFade(float alpha)
{
    const StateBox box(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT);
    for (GLenum cap : {GL_DEPTH_TEST, GL_LIGHTING, GL_TEXTURE_2D, GL_TEXTURE_RECTANGLE, GL_TEXTURE_3D})
        glDisable(cap);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    setOrthoBox(0, 1, 1, 0, -1, 1);
    glColor4f(0.0f, 0.0f, 0.0f, alpha);
    drawQuad({0, 0, 1, 1});
}
