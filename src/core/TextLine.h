// One line of plain text on the virtual screen (640 x 480, y down from the
// top edge), in the small stroke font of stb_easy_font: for notes the
// program lays over a frame, not for the show's own lettering.
//
// Changes GL state like the other 2-D helpers: the projection and model-view
// become the virtual screen's box and blending is switched off; the enables
// are put back (PlainColour).
#pragma once

#include <string>

// Draws `text` with its top-left corner at (x, y), each font pixel `scale`
// virtual pixels, in the colour (r, g, b).
void drawTextLine(const std::string& text, float x, float y, float scale, float r, float g, float b);
