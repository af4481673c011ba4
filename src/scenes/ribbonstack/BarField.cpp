#include "scenes/ribbonstack/BarField.h"

#include "core/PassState.h"
#include "core/ShowMath.h"
#include "programs/NvExtensions.h"

#include <algorithm>
#include <cmath>

namespace {

// A bar's face and outline alpha at its depth.
float fillAlpha(float z)
{
    return show::remap(z, -10.0f, 10.0f, BarField::farFillAlpha, BarField::nearFillAlpha);
}

float edgeAlpha(float z)
{
    return std::fmin(1.0f, 3.0f * fillAlpha(z));
}

// The bar's first `count` corners counter-clockwise from the lower left, the
// first again as a fifth to close the outline.
void corners(const BarField::Bar& b, int count)
{
    const float half = BarField::barHeight / 2.0f, w = b.width / 2.0f;
    const float xs[5] = {b.x - w, b.x + w, b.x + w, b.x - w, b.x - w};
    const float ys[5] = {b.y - half, b.y - half, b.y + half, b.y + half, b.y - half};
    for (int i = 0; i < count; ++i)
        glVertex3f(xs[i], ys[i], b.z);
}

} // namespace

BarField::BarField()
{
    for (int i = 0; i < barCount; ++i) {
        Bar& bar = bars[i];
        bar.x = 3.0f * show::remap(static_cast<float>(i), 0.0f, barCount, -10.0f, 50.0f);
        bar.y = 0.0f;
        bar.z = show::random(-10.0f, 10.0f);
        bar.width = show::random(4.0f, 6.0f);
        nearestFirst[i] = i;
    }
    std::stable_sort(nearestFirst, nearestFirst + barCount, [this](int a, int b) { return bars[a].z > bars[b].z; });
    buildList();
}

void BarField::buildList()
{
    list = genList();
    nv::glNewList(list.get(), GL_COMPILE);
    nv::glBegin(GL_QUADS);
    for (const Bar& b : bars) {
        glColor4f(1.0f, 0.0f, 0.0f, fillAlpha(b.z));
        corners(b, 4);
    }
    glEnd();
    // Five points per bar in one batch of separate segments: pairs join the
    // corners and leave the fifth point to pair with the next bar's first,
    // which is how the outline has always been drawn.
    nv::glBegin(GL_LINES);
    for (const Bar& b : bars) {
        glColor4f(1.0f, 0.0f, 0.0f, edgeAlpha(b.z));
        corners(b, 5);
    }
    glEnd();
    nv::glEndList();
}

void BarField::drawFaces() const
{
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, depthBehindStack);
    nv::glBegin(GL_QUADS);
    for (int i : nearestFirst)
        corners(bars[i], 4);
    glEnd();
    glPopMatrix();
}

int BarField::draw(float)
{
    // Unlit: the list's red is the bars' colour, whatever light the frame
    // left on.
    constexpr PassState barPass{PassState::noDepthTest, PassState::additiveAlpha, PassState::unlit};
    barPass.apply();
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, depthBehindStack);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    nv::glCallList(list.get());
    glPopMatrix();
    return 0;
}
