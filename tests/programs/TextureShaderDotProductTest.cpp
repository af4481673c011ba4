// Texture-shader dot products, depth replacement and fragment culling drawn
// through the layer. Unit 0 holds the vector the dot products read (as a
// colour texture); each later unit's (s, t, r) is dotted with it, and the
// texture coordinates are constant over the screen so every pixel shows the
// same lookup.
#include "programs/NvLayerTest.h"

#include <cmath>

namespace {

constexpr int size = 4;   // the looked-up 2-D texture is size x size texels

std::array<float, 3> texelColour(int s, int t)
{
    return {(s * 60 + 20) / 255.0f, (t * 60 + 20) / 255.0f, ((s + t) * 25 + 40) / 255.0f};
}

class TextureShaderDotProductTest : public NvLayerTest {
protected:
    void SetUp() override
    {
        NvLayerTest::SetUp();
        glGenTextures(2, textures_);
        glColor4f(1, 1, 1, 1);
    }
    void TearDown() override
    {
        glDeleteTextures(2, textures_);
        glDisable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        NvLayerTest::TearDown();
    }

    // Unit 0: a 1 x 1 colour texture holding the vector.
    void vectorTexture(unsigned char r, unsigned char g, unsigned char b)
    {
        const unsigned char rgba[4] = {r, g, b, 255};
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, textures_[0]);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        nearest(GL_TEXTURE_2D);
    }

    // `unit`: the size x size colour texture, repeating.
    void lookupTexture(int unit)
    {
        std::vector<unsigned char> texels;
        for (int t = 0; t < size; ++t)
            for (int s = 0; s < size; ++s) {
                for (float v : texelColour(s, t))
                    texels.push_back(static_cast<unsigned char>(std::lround(v * 255)));
                texels.push_back(255);
            }
        glActiveTexture(GL_TEXTURE0 + unit);
        glBindTexture(GL_TEXTURE_2D, textures_[1]);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        nearest(GL_TEXTURE_2D);
        glActiveTexture(GL_TEXTURE0);
    }

    // `unit`: a cube map whose faces +X, -X, +Y, -Y, +Z, -Z are one colour each.
    void cubeTexture(int unit)
    {
        glActiveTexture(GL_TEXTURE0 + unit);
        glBindTexture(GL_TEXTURE_CUBE_MAP, textures_[1]);
        for (int face = 0; face < 6; ++face) {
            auto c = faceColour(face);
            const unsigned char rgba[4] = {static_cast<unsigned char>(c[0] * 255), static_cast<unsigned char>(c[1] * 255),
                                           static_cast<unsigned char>(c[2] * 255), 255};
            glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        }
        nearest(GL_TEXTURE_CUBE_MAP);
        glActiveTexture(GL_TEXTURE0);
    }

    static std::array<float, 3> faceColour(int face)
    {
        const std::array<float, 3> colours[6] = {{1, 0, 0}, {0, 1, 1}, {0, 1, 0}, {1, 0, 1}, {0, 0, 1}, {1, 1, 0}};
        return colours[face];
    }

    static void nearest(GLenum target)
    {
        glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    }

    // The whole screen at depth `z` (normalised device units) with constant
    // coordinates (s, t, r, q) per unit; `sRange` makes unit 0's s run from
    // -1 at the left edge to 1 at the right instead.
    static void drawScreen(const std::array<std::array<float, 4>, 4>& coords, float z = 0, bool sRange = false)
    {
        nv::glBegin(GL_QUADS);
        const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (const auto& c : corners) {
            for (int unit = 0; unit < 4; ++unit) {
                const auto& v = coords[unit];
                glMultiTexCoord4f(GL_TEXTURE0 + unit, unit == 0 && sRange ? c[0] : v[0], v[1], v[2], v[3]);
            }
            glVertex3f(c[0], c[1], z);
        }
        glEnd();
    }

    GLuint textures_[2] = {};
};

TEST_F(TextureShaderDotProductTest, TwoDimensionalLookupAtTwoDotProducts)
{
    lookupTexture(2);
    struct Row {
        const char* text;
        unsigned char vector[3];
        int s, t;   // the texel the two products pick
        std::array<float, 3> unit0;
    };
    const Row rows[] = {
        // (1, 1, 1): products s + t + r = 0.875 and 1.125 (repeating to 0.125).
        {"!!TS1.0\ntexture_2d();\ndot_product_2d_1of2(tex0);\ndot_product_2d_2of2(tex0);\n",
         {255, 255, 255}, 3, 0, {1, 1, 1}},
        // expand((1, 1, 0.5)) = (1, 1, 0): products s + t = 0.375 and 0.625.
        {"!!TS1.0\ntexture_2d();\ndot_product_2d_1of2(expand(tex0));\ndot_product_2d_2of2(expand(tex0));\n",
         {255, 255, 128}, 1, 2, {1, 1, 128 / 255.0f}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        vectorTexture(row.vector[0], row.vector[1], row.vector[2]);
        GLuint list = compileList(row.text);
        nv::glEnable(GL_TEXTURE_SHADER_NV);
        nv::glCallList(list);
        drawScreen({{{0, 0, 0, 1}, {0.125f, 0.25f, 0.5f, 1}, {0.5f, 0.125f, 0.5f, 1}, {0, 0, 0, 1}}});
        auto c = texelColour(row.s, row.t);
        // The dot-product stage adds no colour; units 0 and 2 modulate.
        expectPixel(320, 240, {c[0] * row.unit0[0], c[1] * row.unit0[1], c[2] * row.unit0[2]});
        glDeleteLists(list, 1);
    }
}

TEST_F(TextureShaderDotProductTest, HiloAndSignedTexturesHoldTheVector)
{
    lookupTexture(2);
    struct Row {
        const char* what;
        GLint internalFormat;
        GLenum format, type;
        const void* texel;
        std::array<float, 4> unit1, unit2;
        std::array<float, 3> unit0;   // what unit 0 adds to the colour
    };
    static const float hilo[2] = {0.25f, 0.5f}, signedHilo[2] = {0.6f, 0};
    static const signed char signedRgb[3] = {127, -64, 0};
    const Row rows[] = {
        // (0.25, 0.5) stands for (0.25, 0.5, 1): products 0.375 and 0.625.
        {"HILO", GL_HILO_NV, GL_HILO_NV, GL_FLOAT, hilo, {1, 0, 0.125f, 1}, {0, 1, 0.125f, 1}, {1, 1, 1}},
        // (0.6, 0) stands for the unit vector (0.6, 0, 0.8): products 0.35 and 0.64.
        {"signed HILO", GL_SIGNED_HILO_NV, GL_HILO_NV, GL_FLOAT, signedHilo, {0.25f, 0, 0.25f, 1}, {0, 0, 0.8f, 1},
         {1, 1, 1}},
        // (1, -0.5, 0) is used as it is, even under expand(): products 0.375 and 0.62.
        {"signed RGB", GL_SIGNED_RGB_NV, GL_RGB, GL_BYTE, signedRgb, {0.375f, 0, 0, 1}, {0.875f, 0.5f, 0, 1}, {1, 0, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, textures_[0]);
        nv::glTexImage2D(GL_TEXTURE_2D, 0, row.internalFormat, 1, 1, 0, row.format, row.type, row.texel);
        nearest(GL_TEXTURE_2D);
        EXPECT_EQ(nv::glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        GLuint list = compileList("!!TS1.0\ntexture_2d();\ndot_product_2d_1of2(expand(tex0));\n"
                                  "dot_product_2d_2of2(expand(tex0));\n");
        nv::glEnable(GL_TEXTURE_SHADER_NV);
        nv::glCallList(list);
        drawScreen({{{0, 0, 0, 1}, row.unit1, row.unit2, {0, 0, 0, 1}}});
        auto c = texelColour(1, 2);
        expectPixel(320, 240, {c[0] * row.unit0[0], c[1] * row.unit0[1], c[2] * row.unit0[2]});
        glDeleteLists(list, 1);
    }
}

TEST_F(TextureShaderDotProductTest, CubeMapReflectionsOfTheProductVector)
{
    cubeTexture(3);
    vectorTexture(255, 255, 255);
    // N = (1, 0, 0) from units 1 .. 3; the eye (0.2, 1, 0) reflects to
    // (0.2, -1, 0), the -Y face. A plain lookup of N would show +X.
    struct Row {
        const char* text;
        std::array<std::array<float, 4>, 4> coords;
        int face;
    };
    const Row rows[] = {
        {"!!TS1.0\ntexture_2d();\ndot_product_cube_map_1of3(tex0);\ndot_product_cube_map_2of3(tex0);\n"
         "dot_product_cube_map_3of3(tex0);\n",
         {{{0, 0, 0, 1}, {1, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}}, 0},
        {"!!TS1.0\ntexture_2d();\ndot_product_reflect_cube_map_eye_from_qs_1of3(tex0);\n"
         "dot_product_reflect_cube_map_eye_from_qs_2of3(tex0);\ndot_product_reflect_cube_map_eye_from_qs_3of3(tex0);\n",
         {{{0, 0, 0, 1}, {1, 0, 0, 0.2f}, {0, 0, 0, 1}, {0, 0, 0, 0}}}, 3},
        {"!!TS1.0\ntexture_2d();\ndot_product_reflect_cube_map_const_eye_1of3(tex0, 0.2, 1, 0);\n"
         "dot_product_reflect_cube_map_const_eye_2of3(tex0);\ndot_product_reflect_cube_map_const_eye_3of3(tex0);\n",
         {{{0, 0, 0, 1}, {1, 0, 0, 5}, {0, 0, 0, 5}, {0, 0, 0, 5}}}, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        GLuint list = compileList(row.text);
        nv::glEnable(GL_TEXTURE_SHADER_NV);
        nv::glCallList(list);
        drawScreen(row.coords);
        expectPixel(320, 240, faceColour(row.face));
        glDeleteLists(list, 1);
    }
}

TEST_F(TextureShaderDotProductTest, DepthReplaceWritesTheQuotientAndCullsOutsideZeroToOne)
{
    vectorTexture(255, 255, 255);
    GLuint list = compileList("!!TS1.0\ntexture_2d();\ndot_product_depth_replace_1of2(tex0);\n"
                              "dot_product_depth_replace_2of2(tex0);\n");
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_ALWAYS);
    struct Row {
        float numerator;           // unit 1's product; unit 2's is 1
        bool drawn;
        bool coveredByMidDepth;   // whether a quad at depth 0.5 then fails GL_LESS
    };
    const Row rows[] = {{0.25f, true, false}, {0.75f, true, true}, {1.5f, false, false}, {-0.25f, false, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.numerator);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDepthFunc(GL_ALWAYS);
        glColor3f(1, 1, 1);
        nv::glEnable(GL_TEXTURE_SHADER_NV);
        nv::glCallList(list);
        drawScreen({{{0, 0, 0, 1}, {row.numerator, 0, 0, 1}, {1, 0, 0, 1}, {0, 0, 0, 1}}}, 0.9f);
        float shown = row.drawn ? 1.0f : 0.0f;
        expectPixel(320, 240, {shown, shown, shown});
        // A red quad half way in depth, where depth testing is on.
        nv::glDisable(GL_TEXTURE_SHADER_NV);
        glDepthFunc(GL_LESS);
        glColor3f(1, 0, 0);
        drawScreen({{{0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}}}, 0);
        if (row.coveredByMidDepth)
            expectPixel(320, 240, {1, 0, 0});
        else if (row.drawn)
            expectPixel(320, 240, {1, 1, 1});
    }
    glDeleteLists(list, 1);
}

TEST_F(TextureShaderDotProductTest, CullFragmentKillsWhereAnyComparisonFails)
{
    struct Row {
        const char* text;
        bool leftDrawn, rightDrawn;
    };
    // s runs from -1 at the left to 1 at the right; t is 0.5, r 0 and q 1
    // everywhere. A fragment is culled when any comparison fails, so zero
    // passes "zero or above" and the default modes keep the positive side.
    const Row rows[] = {
        {"!!TS1.0\ncull_fragment(GEQUAL_TO_ZERO, GEQUAL_TO_ZERO, GEQUAL_TO_ZERO, GEQUAL_TO_ZERO);\n", false, true},
        {"!!TS1.0\ncull_fragment(LESS_THAN_ZERO, GEQUAL_TO_ZERO, GEQUAL_TO_ZERO, GEQUAL_TO_ZERO);\n", true, false},
        {"!!TS1.0\ncull_fragment(GEQUAL_TO_ZERO, LESS_THAN_ZERO, GEQUAL_TO_ZERO, GEQUAL_TO_ZERO);\n", false, false},
        {"!!TS1.0\ncull_fragment(GEQUAL_TO_ZERO, GEQUAL_TO_ZERO, GEQUAL_TO_ZERO, LESS_THAN_ZERO);\n", false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        glClear(GL_COLOR_BUFFER_BIT);
        GLuint list = compileList(row.text);
        nv::glEnable(GL_TEXTURE_SHADER_NV);
        nv::glCallList(list);
        glColor3f(1, 0.5f, 0.25f);
        drawScreen({{{0, 0.5f, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}}}, 0, true);
        const std::array<float, 3> colour{1, 0.5f, 0.25f}, black{0, 0, 0};
        expectPixel(160, 240, row.leftDrawn ? colour : black);
        expectPixel(480, 240, row.rightDrawn ? colour : black);
        glDeleteLists(list, 1);
    }
}

} // namespace
