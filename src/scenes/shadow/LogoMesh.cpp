#include "scenes/shadow/LogoMesh.h"

#include "programs/NvExtensions.h"
#include "scenes/shadow/GridFace.h"

#include <algorithm>
#include <cmath>

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

// The eye of projection x modelView in the model's frame, as a homogeneous
// point scaled to length 1: the point that the x, y and w rows of the
// product all send to 0 (at infinity, w = 0, for a parallel projection).
// Its sign makes the faces that wind counter-clockwise on the screen the
// ones it stands in front of; `clockwise` turns that round.
void homogeneousEye(const float (&projection)[16], const float (&modelView)[16], bool clockwise, float (&eye)[4])
{
    show::Mat4 p, m;
    std::copy(projection, projection + 16, p.m);
    std::copy(modelView, modelView + 16, m.m);
    const show::Mat4 clip = p * m;
    const int rows[3] = {0, 1, 3};
    double length = 0.0;
    double e[4];
    for (int column = 0; column < 4; ++column) {
        // The minor without this column, of the rows x, y and w.
        double a[3][3];
        for (int r = 0; r < 3; ++r)
            for (int c = 0, k = 0; c < 4; ++c)
                if (c != column)
                    a[r][k++] = clip.at(rows[r], c);
        const double minor = a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
                             a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
                             a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
        e[column] = (column % 2 == 0 ? minor : -minor) * (clockwise ? -1.0 : 1.0);
        length += e[column] * e[column];
    }
    length = std::sqrt(length);
    for (int i = 0; i < 4; ++i)
        eye[i] = length > 0.0 ? static_cast<float>(e[i] / length) : 0.0f;
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
    planes.resize(matrices.size() * 6 * 4);
    float* out = vertices.data();
    float* plane = planes.data();
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
        // Each face's first vertex and its normal, as placed just now.
        const size_t perFace = box.size() / 6;
        const float* placedBox = out - box.size();
        for (int f = 0; f < 6; ++f, plane += 4) {
            const float* v = placedBox + f * perFace;
            plane[0] = v[3];
            plane[1] = v[4];
            plane[2] = v[5];
            plane[3] = v[0] * v[3] + v[1] * v[4] + v[2] * v[5];
        }
    }
    boxes = static_cast<int>(matrices.size());
    facingCurrent = false;
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
}

void LogoMesh::chooseFaces(const float (&eye)[4]) const
{
    if (facingCurrent && std::equal(eye, eye + 4, facingEye))
        return;
    std::copy(eye, eye + 4, facingEye);
    facingCurrent = true;
    // A face is turned towards the eye when the eye stands in front of its
    // plane (for an eye at infinity: looks against its normal). Faces within
    // a hair of edge-on are kept, for the rasteriser to decide.
    constexpr float edgeOn = 1e-3f;
    const unsigned perFace = static_cast<unsigned>(triangles.size() / 6);
    const unsigned boxVertexCount = static_cast<unsigned>(box.size() / floatsPerVertex);
    facing.clear();
    for (unsigned b = 0; b < static_cast<unsigned>(boxes); ++b)
        for (unsigned f = 0; f < 6; ++f) {
            const float* plane = &planes[(b * 6 + f) * 4];
            if (plane[0] * eye[0] + plane[1] * eye[1] + plane[2] * eye[2] - plane[3] * eye[3] <= -edgeOn)
                continue;
            for (unsigned i = f * perFace; i < (f + 1) * perFace; ++i)
                facing.push_back(triangles[i] + b * boxVertexCount);
        }
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer.get());
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(facing.size() * sizeof(unsigned)), facing.data(),
                 GL_STREAM_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

void LogoMesh::draw() const
{
    if (boxes == 0)
        return;
    float projection[16], modelView[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    GLint frontFace = GL_CCW;
    glGetIntegerv(GL_FRONT_FACE, &frontFace);
    float eye[4];
    homogeneousEye(projection, modelView, frontFace == GL_CW, eye);
    chooseFaces(eye);
    if (facing.empty())
        return;
    const GLsizei stride = floatsPerVertex * sizeof(float);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer.get());
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer.get());
    glVertexPointer(3, GL_FLOAT, stride, nullptr);
    glNormalPointer(GL_FLOAT, stride, reinterpret_cast<const void*>(3 * sizeof(float)));
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    nv::glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(facing.size()), GL_UNSIGNED_INT, nullptr);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}
