#include "effects/LetterBox.h"

#include "core/ScreenQuad.h"

#include <epoxy/gl.h>

LetterBox::LetterBox(ResourceManager* resources) : Effect(resources)
{
    loadDescription(resources, "letterbox.xml");
    lookUpVar("CutAmtX"); // declared with the bars, unused by the picture
    cutAmtY = &lookUpVar("CutAmtY");
}

int LetterBox::update(float localTime)
{
    const float c = cutAmtY->evaluate(localTime);
    glDisable(GL_BLEND);
    setOrthoBox(0, 1, 0, 1, 0, 1);
    glColor4f(0, 0, 0, 1);
    drawQuads({{0, 0, 1, c}, {0, 1, 1, 1 - c}});
    return 0;
}
