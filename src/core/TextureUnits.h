// Texture-unit state that scenes set again and again: eye-linear coordinate
// generation, for pictures projected onto geometry through the texture
// matrix, and units put back to rest. Each call changes the named or active
// unit of the current context and nothing else, as its comment says.
#pragma once

#include <epoxy/gl.h>

// s, t, r and q generated eye-linear from the identity planes on the active
// unit, and switched on. The planes are taken in under the current
// model-view, so the coordinates are positions in the frame it leaves; the
// texture matrix then takes them wherever the projection needs.
void enableEyeLinearTexGen();
// Generation of s, t, r and q switched off on the active unit.
void disableTexGen();
// `unit` made active, with 2-D texturing and coordinate generation off and
// the identity texture matrix; the matrix mode is left at GL_MODELVIEW.
void resetTextureUnit(GLenum unit);
// resetTextureUnit for units `count` - 1 down to 0, so unit 0 is left active.
void resetTextureUnits(int count);
