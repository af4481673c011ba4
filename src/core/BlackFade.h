// The black full-screen fade the scenes lay over a finished picture: black
// of opacity `alpha` over the whole viewport of the current context, so 0
// leaves the picture as it is and 1 makes it black.
//
// It sets what it needs (blending with (GL_SRC_ALPHA,
// GL_ONE_MINUS_SRC_ALPHA); depth test, lighting and texturing of the active
// unit off; a unit-square projection) and puts back every state it changes,
// the current colour and both matrices included.
#pragma once

void drawBlackFade(float alpha);
