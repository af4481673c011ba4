// Texture-shader setups drawn through the layer: offset-texture lookups on
// 2-D and rectangle targets with the offset texture matrix, the scaled
// form, dependent lookups, and display lists holding the setup.
#include "programs/NvLayerTest.h"

#include <cmath>

namespace {

constexpr int size = 4;   // the colour texture is size x size texels

// A distinct colour for every texel of the colour texture.
std::array<float, 3> texelColour(int s, int t)
{
    s = ((s % size) + size) % size;
    t = ((t % size) + size) % size;
    return {(s * 60 + 20) / 255.0f, (t * 60 + 20) / 255.0f, ((s + t) * 25 + 40) / 255.0f};
}

class TextureShaderPixelTest : public NvLayerTest {
protected:
    void SetUp() override
    {
        NvLayerTest::SetUp();
        glGenTextures(2, textures_);
        glColor4f(1, 1, 1, 1);   // the environment modulates by the primary colour
    }
    void TearDown() override
    {
        glDeleteTextures(2, textures_);
        NvLayerTest::TearDown();
    }

    // Unit 0: a 1 x 1 offset texture holding (ds, dt) (and a magnitude).
    void offsetTexture(float ds, float dt, float magnitude = 1)
    {
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, textures_[0]);
        const float texel[3] = {ds, dt, magnitude};
        nv::glTexImage2D(GL_TEXTURE_2D, 0, GL_DSDT_MAG_NV, 1, 1, 0, GL_DSDT_MAG_NV, GL_FLOAT, texel);
        nearest(GL_TEXTURE_2D);
    }

    // Unit 0: a 1 x 1 colour texture.
    void colourTexture0(const unsigned char rgba[4])
    {
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, textures_[0]);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        nearest(GL_TEXTURE_2D);
    }

    // Unit 1: the colour texture on `target`.
    void colourTexture1(GLenum target)
    {
        std::vector<unsigned char> texels;
        for (int t = 0; t < size; ++t)
            for (int s = 0; s < size; ++s) {
                auto c = texelColour(s, t);
                for (float v : c)
                    texels.push_back(static_cast<unsigned char>(std::lround(v * 255)));
                texels.push_back(255);
            }
        glActiveTexture(GL_TEXTURE1);
        glBindTexture(target, textures_[1]);
        glTexImage2D(target, 0, GL_RGBA8, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        nearest(target);
        GLenum wrap = target == GL_TEXTURE_2D ? GL_REPEAT : GL_CLAMP_TO_EDGE;
        glTexParameteri(target, GL_TEXTURE_WRAP_S, wrap);
        glTexParameteri(target, GL_TEXTURE_WRAP_T, wrap);
        glActiveTexture(GL_TEXTURE0);
    }

    static void nearest(GLenum target)
    {
        glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    }

    // The whole screen; unit 1 runs over the colour texture once (0..scale).
    static void drawScreen(float scale)
    {
        nv::glBegin(GL_QUADS);
        const float corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        for (const auto& c : corners) {
            glMultiTexCoord2f(GL_TEXTURE0, c[0], c[1]);
            glMultiTexCoord2f(GL_TEXTURE1, c[0] * scale, c[1] * scale);
            glVertex2f(c[0] * 2 - 1, c[1] * 2 - 1);
        }
        glEnd();
    }

    // Checks the centre pixel of every screen cell that shows texel (s, t)
    // when undisplaced: it must show texel (s + ds, t + dt) (in texels).
    static void expectShifted(int ds, int dt, float brightness = 1)
    {
        for (int t = 0; t < size; ++t)
            for (int s = 0; s < size; ++s) {
                SCOPED_TRACE(testing::Message() << "cell " << s << ", " << t);
                auto c = texelColour(s + ds, t + dt);
                int x = (2 * s + 1) * 640 / (2 * size), y = (2 * t + 1) * 480 / (2 * size);
                expectPixel(x, y, {c[0] * brightness, c[1] * brightness, c[2] * brightness});
            }
    }

    GLuint textures_[2] = {};
};

TEST_F(TextureShaderPixelTest, OffsetTwoDimensionalLookupThroughTheMatrix)
{
    offsetTexture(0.25f, 0.5f);
    colourTexture1(GL_TEXTURE_2D);
    GLuint list = compileList("!!TS1.0\ntexture_2d();\noffset_2d(tex0,1,0,0,1);\nnop();\nnop();\n");
    nv::glEnable(GL_TEXTURE_SHADER_NV);
    nv::glCallList(list);
    drawScreen(1);
    expectShifted(1, 2);   // (0.25, 0.5) of a 4-texel texture; the offset stage adds no colour

    // s' = s + a1 ds + a3 dt, t' = t + a2 ds + a4 dt with (a1, a2, a3, a4) = (0, 1, 1, 0).
    glActiveTexture(GL_TEXTURE1);
    const GLfloat swap[4] = {0, 1, 1, 0};
    nv::glTexEnvfv(GL_TEXTURE_SHADER_NV, GL_OFFSET_TEXTURE_MATRIX_NV, swap);
    glActiveTexture(GL_TEXTURE0);
    drawScreen(1);
    expectShifted(2, 1);
    glDeleteLists(list, 1);
}

TEST_F(TextureShaderPixelTest, OffsetRectangleLookupInTexelsWithTheShowsMatrix)
{
    offsetTexture(0.25f, -0.25f);
    colourTexture1(GL_TEXTURE_RECTANGLE_NV);
    GLuint list = compileList("!!TS1.0\ntexture_2d();\noffset_rectangle(tex0,1,0,0,1);\nnop();\nnop();\n");
    nv::glEnable(GL_TEXTURE_SHADER_NV);
    nv::glCallList(list);
    // As the offset filter does: the matrix scales offsets into texels.
    glActiveTexture(GL_TEXTURE1);
    const GLfloat offsetMatrix[4] = {size, 0, 0, size};
    nv::glTexEnvfv(GL_TEXTURE_SHADER_NV, GL_OFFSET_TEXTURE_MATRIX_NV, offsetMatrix);
    glActiveTexture(GL_TEXTURE0);
    drawScreen(size);
    // Clamped at the edges: check the cells that stay inside.
    for (int t = 1; t < size; ++t)
        for (int s = 0; s + 1 < size; ++s) {
            auto c = texelColour(s + 1, t - 1);
            expectPixel((2 * s + 1) * 640 / (2 * size), (2 * t + 1) * 480 / (2 * size), c);
        }
    glDeleteLists(list, 1);
}

TEST_F(TextureShaderPixelTest, ScaledOffsetMultipliesByTheMagnitude)
{
    offsetTexture(0, 0, 0.8f);
    colourTexture1(GL_TEXTURE_2D);
    GLuint list = compileList("!!TS1.0\ntexture_2d();\noffset_2d_scale(tex0, 1, 0, 0, 1, 0.5, 0.1);\n");
    nv::glEnable(GL_TEXTURE_SHADER_NV);
    nv::glCallList(list);
    drawScreen(1);
    expectShifted(0, 0, 0.8f * 0.5f + 0.1f);
    glDeleteLists(list, 1);
}

TEST_F(TextureShaderPixelTest, DependentLookupsReadAlphaRedAndGreenBlue)
{
    colourTexture1(GL_TEXTURE_2D);
    const unsigned char rgba[4] = {96, 160, 224, 32};   // texel centres at 4 texels: 0.375, 0.625, 0.875, 0.125
    colourTexture0(rgba);
    struct Row {
        const char* text;
        int s, t;
        std::array<float, 3> unit0;
    };
    const Row rows[] = {
        {"!!TS1.0\ntexture_2d();\ndependent_ar(tex0);\n", 0, 1, {96 / 255.0f, 160 / 255.0f, 224 / 255.0f}},
        {"!!TS1.0\ntexture_2d();\ndependent_gb(tex0);\n", 2, 3, {96 / 255.0f, 160 / 255.0f, 224 / 255.0f}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        GLuint list = compileList(row.text);
        nv::glEnable(GL_TEXTURE_SHADER_NV);
        nv::glCallList(list);
        drawScreen(1);
        // Unit 0 is a colour here, so the environment modulates both.
        auto c = texelColour(row.s, row.t);
        expectPixel(320, 240, {c[0] * row.unit0[0], c[1] * row.unit0[1], c[2] * row.unit0[2]});
        glDeleteLists(list, 1);
    }
}

TEST_F(TextureShaderPixelTest, CompiledListsDoNotTouchTheStateUntilCalled)
{
    offsetTexture(0.25f, 0);
    colourTexture1(GL_TEXTURE_2D);
    GLuint plain = compileList("!!TS1.0\ntexture_2d();\ntexture_2d();\n");
    nv::glEnable(GL_TEXTURE_SHADER_NV);
    nv::glCallList(plain);
    GLuint shifted = compileList("!!TS1.0\ntexture_2d();\noffset_2d(tex0,1,0,0,1);\n");
    drawScreen(1);
    // texture_2d on the offset texture gives no colour: the copy shows as is.
    expectShifted(0, 0);
    nv::glCallList(shifted);
    drawScreen(1);
    expectShifted(1, 0);
    glDeleteLists(plain, 1);
    glDeleteLists(shifted, 1);
}

TEST_F(TextureShaderPixelTest, CombinersReadTheShaderStages)
{
    offsetTexture(0.5f, 0);
    colourTexture1(GL_TEXTURE_2D);
    GLuint shader = compileList("!!TS1.0\ntexture_2d();\noffset_2d(tex0,1,0,0,1);\n");
    GLuint combiners = compileList("!!RC1.0\nconst0 = (0.5, 1, 0.5, 1);\nout.rgb = tex1 * const0;\nout.a = tex1;\n");
    nv::glEnable(GL_TEXTURE_SHADER_NV);
    nv::glEnable(GL_REGISTER_COMBINERS_NV);
    nv::glCallList(shader);
    nv::glCallList(combiners);
    drawScreen(1);
    auto c = texelColour(2, 0);
    expectPixel(640 / 8, 480 / 8, {c[0] * 0.5f, c[1], c[2] * 0.5f});
    glDeleteLists(shader, 1);
    glDeleteLists(combiners, 1);
}

} // namespace
