#include "effects/LetterBox.h"

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
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, 0, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor4f(0, 0, 0, 1);
    glBegin(GL_QUADS);
    glVertex2f(0, 0); glVertex2f(1, 0); glVertex2f(1, c); glVertex2f(0, c);
    glVertex2f(0, 1); glVertex2f(1, 1); glVertex2f(1, 1 - c); glVertex2f(0, 1 - c);
    glEnd();
    return 0;
}
