#include "scenes/flowers/Flower.h"

#include "core/Scene3DS.h"
#include "programs/NvExtensions.h"
#include "resources/KeyValue.h"
#include "resources/ResourceManager.h"
#include "scenes/shared/VertexProgramFile.h"

#include <algorithm>
#include <cmath>

using show::Vec3;

namespace {

constexpr float e = 2.7182817f;
constexpr float degreesToRadians = 3.14159265f / 180.0f;

// A colour key of three floats; a missing or short one keeps `colour`.
void readColour(const char* text, const char* key, Vec3& colour)
{
    float v[3];
    if (kvFloats(text, key, v) == 3)
        colour = Vec3(v[0], v[1], v[2]);
}

} // namespace

Flower::Flower(const ResourceManager& resources)
{
    readColours(resources);
    program = loadVertexProgram(resources, "flower.vpc");
    for (int i = 0; i < ringCount; ++i) {
        for (int j = 0; j < petalsPerRing; ++j) {
            Petal& petal = rings[i][j];
            petal.colour = outerCol + (innerCol - outerCol) * (i / 49.0f);
            petal.turn = 40.0f * j + 360.0f * i / 49.0f;
            petal.sizeDivisor = show::remap(static_cast<float>(i), 0.0f, 49.0f, 0.25f, 1.0f);
            petal.lift = i == 0 ? 0.0f : 0.1f * i + 0.1f;
        }
    }
}

void Flower::readColours(const ResourceManager& resources)
{
    std::unique_ptr<char[]> text = resources.readFile("flower.cfg");
    if (text == nullptr)
        return;
    const KvLookupReport report("flower.cfg");
    readColour(text.get(), "innerCol", innerCol);
    readColour(text.get(), "outerCol", outerCol);
    readColour(text.get(), "stemCol", stemCol);
    readColour(text.get(), "tipCol", tipCol);
    if (const float v = kvFloat(text.get(), "shininess"); v >= 0.0f)
        shininess = v;
}

float Flower::ringOpening(int ring, float opening)
{
    const float k = 2.0f * std::sin(opening * 1.570795f) +
                    show::remap(static_cast<float>(ring), 0.0f, 49.0f, 0.1f, -1.5f);
    return std::clamp(1.0f - std::exp(-k), 0.0f, 1.0f);
}

void Flower::setProgramParameters() const
{
    nv::glTrackMatrixNV(GL_VERTEX_PROGRAM_NV, 0, GL_MODELVIEW_PROJECTION_NV, GL_IDENTITY_NV);
    nv::glTrackMatrixNV(GL_VERTEX_PROGRAM_NV, 4, GL_MODELVIEW, GL_IDENTITY_NV);
    nv::glTrackMatrixNV(GL_VERTEX_PROGRAM_NV, 8, GL_MODELVIEW, GL_INVERSE_TRANSPOSE_NV);
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 12, 0.0f, 0.0f, 0.0f, 1.0f);
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 14, 0.5f, 1.0f, shininess, 0.0f);
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 15, 0.0f, 0.0f, 1000.0f, 1000.0f);
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 16, 4.0f, 3.14159f, (2.5f * 2.5f) / (4.5f * 4.5f), e);
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 17, 4.0f, 1.0f, 0.0f, 0.0f);
}

const std::vector<Flower::PetalSlot>& Flower::layOut(const float* modelview)
{
    // Eye-space depth is the third row of the model-view; larger is nearer
    // for any projection.
    struct Keyed {
        float depth;
        PetalSlot slot;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(ringCount * petalsPerRing);
    constexpr int middle = 2 * (PetalGeometry::pairs / 2);
    for (int i = 0; i < ringCount; ++i) {
        PetalGeometry& ring = geometry[static_cast<size_t>(i)];
        const Petal& first = rings[static_cast<size_t>(i)][0];
        ring.build(ringOpening(i, opening), first.sizeDivisor, first.lift);
        const float x = ring.positions[3 * middle], y = ring.positions[3 * middle + 1];
        for (int j = 0; j < petalsPerRing; ++j) {
            // The petal's middle turned about y (z is 0 in its own frame).
            const float turn = degreesToRadians * rings[static_cast<size_t>(i)][static_cast<size_t>(j)].turn;
            const float px = x * std::cos(turn), pz = -x * std::sin(turn);
            const float depth = modelview[2] * px + modelview[6] * y + modelview[10] * pz + modelview[14];
            keyed.push_back({depth, {i, j}});
        }
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) { return a.depth > b.depth; });
    order.clear();
    for (const Keyed& k : keyed)
        order.push_back(k.slot);
    return order;
}

void Flower::draw(float)
{
    turnYUpToZUp();
    float modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    layOut(modelview);
    glEnable(GL_VERTEX_PROGRAM_NV);
    nv::glBindProgramNV(GL_VERTEX_PROGRAM_NV, program.get());
    setProgramParameters();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    // Every petal has its ring's colour and the stem colour at its root.
    glSecondaryColor3f(stemCol.x, stemCol.y, stemCol.z);
    boundRing = -1;
    for (const PetalSlot& slot : order)
        drawPetal(slot);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisable(GL_VERTEX_PROGRAM_NV);
}

void Flower::drawPetal(const PetalSlot& slot)
{
    const Petal& petal = rings[static_cast<size_t>(slot.ring)][static_cast<size_t>(slot.petal)];
    if (slot.ring != boundRing) {
        const PetalGeometry& ring = geometry[static_cast<size_t>(slot.ring)];
        glVertexPointer(3, GL_FLOAT, 0, ring.positions.data());
        glNormalPointer(GL_FLOAT, 0, ring.normals.data());
        glTexCoordPointer(3, GL_FLOAT, 0, ring.texCoords.data());
        glColor3f(petal.colour.x, petal.colour.y, petal.colour.z);
        boundRing = slot.ring;
    }
    // Each petal is drawn in its own frame, turned about the axis, so the
    // program sees it with x out along the petal and z across it, and can
    // shape it.
    glPushMatrix();
    glRotatef(petal.turn, 0.0f, 1.0f, 0.0f);
    nv::glDrawElements(GL_QUAD_STRIP, PetalGeometry::indexCount, GL_UNSIGNED_SHORT,
                       geometry[static_cast<size_t>(slot.ring)].indices.data());
    glPopMatrix();
}
