// The vertex programs of the data, run on the CPU vertex machine: each
// DirectX 8 ".vp" text translates to a program that computes exactly what
// its NV ".vpc" text computes, and the Bezier patch program puts its points
// and normals where the patch's own formula does.
#include "programs/VertexMachine.h"
#include "programs/VertexProgramParser.h"
#include "programs/VertexShaderTranslator.h"
#include "resources/TempDirectory.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <string>

using namespace programs;

namespace {

const std::string dataDir = std::string(GLINT_SOURCE_DIR) + "/data/";

VertexProgram parsedFile(const std::string& name)
{
    const VpParseResult parsed = parseVertexProgram(testsupport::readAll(dataDir + name));
    EXPECT_TRUE(parsed.ok) << name << ": " << parsed.message;
    return parsed.program;
}

VertexProgram translatedFile(const std::string& name)
{
    const VertexShaderResult translated =
        translateVertexShader(testsupport::readAll(dataDir + name), [](const std::string&) { return std::nullopt; });
    EXPECT_TRUE(translated.ok) << name << ": " << (translated.messages.empty() ? "" : translated.messages[0]);
    return parseVertexProgram(translated.program).program;
}

bool same(float a, float b) { return a == b || (std::isnan(a) && std::isnan(b)); }

TEST(PackProgramsTest, EachVpComputesWhatItsVpcComputes)
{
    for (const char* base : {"bezpatch", "flower", "flower2", "floweraniso", "hribbon", "hribbonaniso", "particle",
                             "sphere", "sphereReflect", "temp"}) {
        SCOPED_TRACE(base);
        const VertexProgram nv = parsedFile(std::string(base) + ".vpc");
        const VertexProgram dx = translatedFile(std::string(base) + ".vp");
        ASSERT_FALSE(nv.instructions.empty());
        ASSERT_EQ(dx.instructions.size(), nv.instructions.size());
        std::srand(7);
        for (int vertex = 0; vertex < 50; ++vertex) {
            VertexMachine a, b;
            for (Vec4& attribute : a.attributes)
                for (float& c : attribute)
                    c = static_cast<float>(std::rand() % 2001 - 1000) / 500.0f;
            for (Vec4& parameter : a.parameters)
                for (float& c : parameter)
                    c = static_cast<float>(std::rand() % 2001 - 1000) / 500.0f;
            b.attributes = a.attributes;
            b.parameters = a.parameters;
            a.run(nv);
            b.run(dx);
            for (int output = 0; output < OutputCount; ++output)
                for (int c = 0; c < 4; ++c)
                    ASSERT_TRUE(same(a.outputs[output][c], b.outputs[output][c]))
                        << "output " << output << "." << "xyzw"[c] << ": " << a.outputs[output][c] << " against "
                        << b.outputs[output][c];
        }
    }
}

using Point = std::array<float, 3>;

// The cubic Bernstein weights at t and their derivatives.
std::array<float, 4> bernstein(float t)
{
    const float s = 1 - t;
    return {s * s * s, 3 * t * s * s, 3 * t * t * s, t * t * t};
}
std::array<float, 4> bernsteinSlope(float t)
{
    const float s = 1 - t;
    return {-3 * s * s, 3 * s * s - 6 * t * s, 6 * t * s - 3 * t * t, 3 * t * t};
}

TEST(PackProgramsTest, TheBezierPatchProgramFollowsThePatch)
{
    const VertexProgram program = parsedFile("bezpatch.vpc");
    // A curved sheet: control points on a 4 x 4 grid with varied heights.
    std::array<std::array<Point, 4>, 4> control;   // [row j along v][column i along u]
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i)
            control[j][i] = {static_cast<float>(i) - 1.5f, static_cast<float>(j) - 1.5f,
                             std::sin(static_cast<float>(i * 3 + j * 5)) * 0.8f};
    VertexMachine machine;
    for (int r = 0; r < 4; ++r)   // identity transforms
        machine.parameters[r][r] = machine.parameters[8 + r][r] = 1;
    machine.parameters[12] = {0, 0, 1, 0};     // light along +z
    machine.parameters[13] = {0, 0, 1, 0};
    machine.parameters[14] = {0.5f, 1, 8, 0};
    machine.parameters[15] = {1, 1, 1, 1};     // white, no ambient: colour = diffuse
    machine.parameters[16] = {1, 3, 2, 0};
    machine.parameters[17] = {0, 0, 0, 0};
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i)
            machine.parameters[20 + 4 * j + i] = {control[j][i][0], control[j][i][1], control[j][i][2], 1};

    for (float u : {0.0f, 0.3f, 0.5f, 0.85f, 1.0f})
        for (float v : {0.0f, 0.2f, 0.6f, 1.0f}) {
            SCOPED_TRACE("u " + std::to_string(u) + " v " + std::to_string(v));
            machine.attributes[8] = {u, v, 0, 1};
            machine.run(program);
            const auto bu = bernstein(u), bv = bernstein(v), du = bernsteinSlope(u), dv = bernsteinSlope(v);
            Point p{}, pu{}, pv{};
            for (int j = 0; j < 4; ++j)
                for (int i = 0; i < 4; ++i)
                    for (int c = 0; c < 3; ++c) {
                        p[c] += bu[i] * bv[j] * control[j][i][c];
                        pu[c] += du[i] * bv[j] * control[j][i][c];
                        pv[c] += bu[i] * dv[j] * control[j][i][c];
                    }
            for (int c = 0; c < 3; ++c)
                EXPECT_NEAR(machine.outputs[HPOS][c], p[c], 1e-4);
            EXPECT_NEAR(machine.outputs[HPOS][3], 1.0f, 1e-6);
            // Lit and seen from +z: diffuse N.z plus the highlight (N.z)^8,
            // N the unit normal u tangent x v tangent.
            const Point n{pu[1] * pv[2] - pu[2] * pv[1], pu[2] * pv[0] - pu[0] * pv[2], pu[0] * pv[1] - pu[1] * pv[0]};
            const float nz = n[2] / std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
            ASSERT_GT(nz, 0.0f);
            EXPECT_NEAR(machine.outputs[COL0][0], nz + std::pow(nz, 8.0f), 2e-3);
            EXPECT_EQ(machine.outputs[TEX0][0], u);
            EXPECT_EQ(machine.outputs[TEX0][1], v);
        }
}

} // namespace
