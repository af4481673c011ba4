#include "core/PassState.h"

#include <epoxy/gl.h>

void PassState::apply() const
{
    if (depth == noDepthTest) {
        glDisable(GL_DEPTH_TEST);
    } else {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(depth == depthLess ? GL_LESS : GL_LEQUAL);
        glDepthMask(depthWrites == writeDepth ? GL_TRUE : GL_FALSE);
    }
    switch (blend) {
    case opaque: glDisable(GL_BLEND); break;
    case additive: glEnable(GL_BLEND); glBlendFunc(GL_ONE, GL_ONE); break;
    case additiveAlpha: glEnable(GL_BLEND); glBlendFunc(GL_SRC_ALPHA, GL_ONE); break;
    case alphaOver: glEnable(GL_BLEND); glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA); break;
    }
    if (lighting == lit)
        glEnable(GL_LIGHTING);
    else
        glDisable(GL_LIGHTING);
}
