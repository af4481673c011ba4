#include "core/TextLine.h"

#include "core/PlainColour.h"
#include "core/ScreenQuad.h"
#include "core/VirtualScreen.h"
#include "programs/NvExtensions.h"

#include <epoxy/gl.h>

#include <vector>

// The font's own header defines its functions static; this unit is its only user.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#include <stb/stb_easy_font.h>
#pragma GCC diagnostic pop

namespace {

// What stb_easy_font writes per vertex: x, y, z and a colour it is not asked for.
struct FontVertex {
    float x, y, z;
    unsigned char colour[4];
};

} // namespace

void drawTextLine(const std::string& text, float x, float y, float scale, float r, float g, float b)
{
    // The font needs about 270 bytes a character; 80 vertices leave room.
    std::vector<FontVertex> vertices(text.size() * 80 + 4);
    std::vector<char> chars(text.begin(), text.end());
    chars.push_back('\0');
    const int quads = stb_easy_font_print(0, 0, chars.data(), nullptr, vertices.data(),
                                          static_cast<int>(vertices.size() * sizeof(FontVertex)));

    setOrthoBox(0, virtualScreenWidth, virtualScreenHeight, 0, -1, 1);
    glTranslatef(x, y, 0);
    glScalef(scale, scale, 1);
    glDisable(GL_BLEND);
    glColor4f(r, g, b, 1);
    const PlainColour plain;
    nv::glBegin(GL_QUADS);
    for (int i = 0; i < quads * 4; ++i)
        glVertex2f(vertices[static_cast<size_t>(i)].x, vertices[static_cast<size_t>(i)].y);
    glEnd();
}
