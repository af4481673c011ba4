#include "scenes/shadow/LogoMesh.h"

#include "programs/NvExtensions.h"
#include "scenes/shadow/GridFace.h"

#include <algorithm>

namespace {

// The box's six faces, as a box list would draw them with drawGridFace.
const GridFace kFaces[6] = {
    {{-0.5f, -0.5f, -0.25f}, {0, 1, 0}, {1, 0, 0}, {0, 0, -1}},
    {{-0.5f, -0.5f, 0.25f}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
    {{-0.5f, -0.5f, -0.25f}, {0, 0, 0.5f}, {0, 1, 0}, {-1, 0, 0}},
    {{0.5f, -0.5f, -0.25f}, {0, 1, 0}, {0, 0, 0.5f}, {1, 0, 0}},
    {{-0.5f, 0.5f, -0.25f}, {0, 0, 0.5f}, {1, 0, 0}, {0, 1, 0}},
    {{-0.5f, -0.5f, -0.25f}, {1, 0, 0}, {0, 0, 0.5f}, {0, -1, 0}},
};

std::vector<float> buildBoxVertices(int cells)
{
    std::vector<float> out;
    const float step = 1.0f / static_cast<float>(cells);
    for (const GridFace& face : kFaces)
        for (int strip = 0; strip < cells; ++strip)
            for (int pair = 0; pair <= cells; ++pair)
                for (float a : {strip * step, (strip + 1) * step}) {
                    const show::Vec3 p = gridPoint(face, a, pair * step);
                    out.insert(out.end(), {p.x, p.y, p.z, face.normal[0], face.normal[1], face.normal[2]});
                }
    return out;
}

// A quad strip's vertices j .. j + 3 make the triangles (j, j + 1, j + 3)
// and (j, j + 3, j + 2), both wound as the strip is.
std::vector<unsigned> buildBoxTriangles(int cells)
{
    std::vector<unsigned> out;
    const unsigned stripLength = 2 * (static_cast<unsigned>(cells) + 1);
    for (unsigned strip = 0; strip < 6 * static_cast<unsigned>(cells); ++strip)
        for (unsigned j = strip * stripLength; j + 3 < (strip + 1) * stripLength; j += 2)
            out.insert(out.end(), {j, j + 1, j + 3, j, j + 3, j + 2});
    return out;
}

} // namespace

LogoMesh::LogoMesh(int cells)
    : box(buildBoxVertices(std::max(cells, 1))), triangles(buildBoxTriangles(std::max(cells, 1))),
      vertexBuffer(genBuffer()), indexBuffer(genBuffer())
{
}

void LogoMesh::place(const std::vector<show::Mat4>& matrices)
{
    vertices.resize(box.size() * matrices.size());
    float* out = vertices.data();
    for (const show::Mat4& matrix : matrices) {
        const float* m = matrix.m;
        for (size_t v = 0; v < box.size(); v += floatsPerVertex, out += floatsPerVertex) {
            const float* p = &box[v];
            const float* n = p + 3;
            for (int r = 0; r < 3; ++r) {
                out[r] = m[r] * p[0] + m[4 + r] * p[1] + m[8 + r] * p[2] + m[12 + r];
                out[3 + r] = m[r] * n[0] + m[4 + r] * n[1] + m[8 + r] * n[2];
            }
        }
    }
    boxes = static_cast<int>(matrices.size());
    // A tumbling logo is placed every frame: its buffer is refilled, not remade.
    const size_t bytes = vertices.size() * sizeof(float);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer.get());
    if (bytes == bufferBytes) {
        glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(bytes), vertices.data());
    } else {
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), vertices.data(), GL_DYNAMIC_DRAW);
        bufferBytes = bytes;
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    if (boxes == indexBoxes)
        return;
    // The same triangles for every box, moved on by the box's vertices.
    const unsigned boxVertexCount = static_cast<unsigned>(box.size() / floatsPerVertex);
    std::vector<unsigned> indices;
    indices.reserve(triangles.size() * matrices.size());
    for (unsigned b = 0; b < static_cast<unsigned>(boxes); ++b)
        for (unsigned index : triangles)
            indices.push_back(index + b * boxVertexCount);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer.get());
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(unsigned)),
                 indices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    indexBoxes = boxes;
}

void LogoMesh::draw() const
{
    if (boxes == 0)
        return;
    const GLsizei stride = floatsPerVertex * sizeof(float);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer.get());
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer.get());
    glVertexPointer(3, GL_FLOAT, stride, nullptr);
    glNormalPointer(GL_FLOAT, stride, reinterpret_cast<const void*>(3 * sizeof(float)));
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    nv::glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(triangles.size()) * boxes, GL_UNSIGNED_INT, nullptr);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}
