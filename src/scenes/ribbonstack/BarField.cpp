#include "scenes/ribbonstack/BarField.h"

#include "core/PassState.h"
#include "core/ShowMath.h"
#include "programs/NvExtensions.h"

#include <algorithm>
#include <cmath>
#include <utility>

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

// How far a cut piece reaches under the bar that cuts it, in u (about five
// pixels at the camera's widest view).
constexpr float seamReach = 0.01f;

// The union of the ranges, as sorted ranges that neither touch nor overlap.
std::vector<std::pair<float, float>> merged(std::vector<std::pair<float, float>> ranges)
{
    std::sort(ranges.begin(), ranges.end());
    std::vector<std::pair<float, float>> out;
    for (const auto& r : ranges) {
        if (!out.empty() && r.first <= out.back().second)
            out.back().second = std::fmax(out.back().second, r.second);
        else
            out.push_back(r);
    }
    return out;
}

// Calls `part(a, b)` for each piece of from..to that none of `ranges`
// (merged, sorted) covers.
template <typename Part>
void forEachUncovered(float from, float to, const std::vector<std::pair<float, float>>& ranges, Part part)
{
    for (const auto& [r0, r1] : ranges) {
        if (r1 <= from)
            continue;
        if (r0 >= to)
            break;
        if (r0 > from)
            part(from, r0);
        from = r1;
    }
    if (from < to)
        part(from, to);
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
    fills = genList();
    nv::glNewList(fills.get(), GL_COMPILE);
    nv::glBegin(GL_QUADS);
    for (const Bar& b : bars) {
        glColor4f(1.0f, 0.0f, 0.0f, fillAlpha(b.z));
        corners(b, 4);
    }
    glEnd();
    nv::glEndList();
    outlines = genList();
    nv::glNewList(outlines.get(), GL_COMPILE);
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

std::vector<BarField::Face> BarField::frontFaces(const show::Vec3& eye) const
{
    std::vector<Bar> sorted;
    for (int i : nearestFirst)
        sorted.push_back(bars[i]);
    return frontFaces(sorted, eye);
}

std::vector<BarField::Face> BarField::frontFaces(const std::vector<Bar>& bars, const show::Vec3& eye)
{
    std::vector<Face> faces;
    const float half = barHeight / 2.0f;
    bool everyShadowWhole = !bars.empty() && eye.z > bars.front().z;
    for (const Bar& b : bars)
        everyShadowWhole = everyShadowWhole && b.y == bars.front().y && std::fabs(eye.y - b.y) <= half;
    if (!everyShadowWhole) {
        for (const Bar& b : bars)
            faces.push_back({b.x - b.width / 2.0f, b.x + b.width / 2.0f, b.y, b.z});
        return faces;
    }
    // Ranges of u = (x - eye x) / (eye z - z): a ray from the eye keeps its
    // u at every depth, so a bar hides the u range it spans from all behind.
    std::vector<std::pair<float, float>> hidden;
    const size_t count = bars.size();
    for (size_t first = 0; first < count;) {
        size_t end = first + 1;
        while (end < count && bars[end].z == bars[first].z)
            ++end;
        const float depth = eye.z - bars[first].z;
        // Bars at one depth lie in one plane: where they overlap, the earlier
        // one keeps the face, edge to edge, so the light lands there once.
        std::vector<std::pair<float, float>> sameDepth;
        for (size_t k = first; k < end; ++k) {
            const Bar& b = bars[k];
            const float u0 = (b.x - b.width / 2.0f - eye.x) / depth, u1 = (b.x + b.width / 2.0f - eye.x) / depth;
            // A cut end reaches under the bar that cuts it; the bar's own
            // ends stay where they are.
            auto addPiece = [&](float from, float to) {
                from = from > u0 ? std::fmax(u0, from - seamReach) : u0;
                to = to < u1 ? std::fmin(u1, to + seamReach) : u1;
                forEachUncovered(from, to, sameDepth, [&](float a, float c) {
                    faces.push_back({eye.x + a * depth, eye.x + c * depth, b.y, b.z});
                });
            };
            forEachUncovered(u0, u1, hidden, addPiece);
            sameDepth.push_back({u0, u1});
            sameDepth = merged(std::move(sameDepth));
        }
        for (size_t k = first; k < end; ++k) {
            const Bar& b = bars[k];
            hidden.push_back({(b.x - b.width / 2.0f - eye.x) / depth, (b.x + b.width / 2.0f - eye.x) / depth});
        }
        hidden = merged(std::move(hidden));
        first = end;
    }
    return faces;
}

void BarField::drawFaces(const show::Vec3& eye) const
{
    const std::vector<Face> faces = frontFaces(eye - show::Vec3(0.0f, 0.0f, depthBehindStack));
    const float half = barHeight / 2.0f;
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, depthBehindStack);
    nv::glBegin(GL_QUADS);
    for (const Face& f : faces) {
        glVertex3f(f.x0, f.y - half, f.z);
        glVertex3f(f.x1, f.y - half, f.z);
        glVertex3f(f.x1, f.y + half, f.z);
        glVertex3f(f.x0, f.y + half, f.z);
    }
    glEnd();
    glPopMatrix();
}

int BarField::draw(float)
{
    // Unlit: the list's red is the bars' colour, whatever light the frame
    // left on.
    constexpr PassState barPass{PassState::noDepthTest, PassState::additiveAlpha, PassState::unlit};
    barPass.apply();
    drawList(fills);
    drawList(outlines);
    return 0;
}

void BarField::draw(const show::Vec3& eye)
{
    const show::Vec3 local = eye - show::Vec3(0.0f, 0.0f, depthBehindStack);
    if (local.z <= bars[nearestFirst[0]].z) {
        draw(0.0f);
        return;
    }
    constexpr PassState barPass{PassState::noDepthTest, PassState::additiveAlpha, PassState::unlit};
    barPass.apply();
    // Every region on the nearest face's plane, so regions that meet share
    // their corners exactly and no pixel between them is lost or doubled.
    const float depth = local.z - bars[nearestFirst[0]].z;
    const float z = bars[nearestFirst[0]].z;
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, depthBehindStack);
    nv::glBegin(GL_QUADS);
    for (const Overlap& o : overlaps(local)) {
        glColor4f(1.0f, 0.0f, 0.0f, static_cast<float>(o.red) / 255.0f);
        const float x0 = local.x + o.u0 * depth, x1 = local.x + o.u1 * depth;
        const float y0 = local.y + o.v0 * depth, y1 = local.y + o.v1 * depth;
        glVertex3f(x0, y0, z);
        glVertex3f(x1, y0, z);
        glVertex3f(x1, y1, z);
        glVertex3f(x0, y1, z);
    }
    glEnd();
    glPopMatrix();
    drawList(outlines);
}

std::vector<BarField::Overlap> BarField::overlaps(const show::Vec3& eye) const
{
    struct Ray {
        float u0, u1, v0, v1;
        int red;
    };
    std::vector<Ray> rays;
    std::vector<float> us;
    const float half = barHeight / 2.0f;
    for (const Bar& b : bars) {
        const float d = eye.z - b.z;
        // The red one face adds in eight bits, as the blending rounds it.
        const int red = static_cast<int>(std::lround(fillAlpha(b.z) * 255.0f));
        rays.push_back({(b.x - b.width / 2.0f - eye.x) / d, (b.x + b.width / 2.0f - eye.x) / d,
                        (b.y - half - eye.y) / d, (b.y + half - eye.y) / d, red});
        us.push_back(rays.back().u0);
        us.push_back(rays.back().u1);
    }
    std::sort(us.begin(), us.end());
    us.erase(std::unique(us.begin(), us.end()), us.end());
    std::vector<Overlap> out;
    std::vector<const Ray*> across;
    std::vector<float> vs;
    for (size_t i = 0; i + 1 < us.size(); ++i) {
        const float u0 = us[i], u1 = us[i + 1];
        across.clear();
        vs.clear();
        for (const Ray& r : rays)
            if (r.u0 <= u0 && r.u1 >= u1) {
                across.push_back(&r);
                vs.push_back(r.v0);
                vs.push_back(r.v1);
            }
        std::sort(vs.begin(), vs.end());
        vs.erase(std::unique(vs.begin(), vs.end()), vs.end());
        for (size_t j = 0; j + 1 < vs.size(); ++j) {
            int red = 0;
            for (const Ray* r : across)
                red += r->v0 <= vs[j] && r->v1 >= vs[j + 1] ? r->red : 0;
            if (red > 0)
                out.push_back({u0, u1, vs[j], vs[j + 1], std::min(red, 255)});
        }
    }
    return out;
}

void BarField::drawList(const GLDisplayList& which) const
{
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, depthBehindStack);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    nv::glCallList(which.get());
    glPopMatrix();
}
