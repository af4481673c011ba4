#include "shell/LoadingDisplay.h"

#include "scenes/aflowers/PetalFlower.h"
#include "shell/ShellState.h"

#include <epoxy/gl.h>
#include <GL/glu.h>

namespace shell {

void drawLoadingFrame(float progress)
{
    PetalFlower ornament(nullptr, static_cast<int>(progress * 2), 5);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, 4.0 / 3.0, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -30);
    glRotatef(90, 0, 0, 1);
    glRotatef(-45, 0, 1, 0);

    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(1, 1, 1, 0.1f);
    ornament.update(progress * 0.1f);

    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glFlush();
    if (shellState().windowSystem)
        shellState().windowSystem->present();
}

} // namespace shell
