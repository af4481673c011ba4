#include "programs/TextureShaderProgram.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace programs;

namespace {

TextureShaderCompileResult compileTs(const std::string& body)
{
    std::string text = "!!TS1.0\n" + body;
    return compileTextureShader(text, 7);
}

TEST(TextureShaderProgram, TheOffsetFiltersProgramsCompile)
{
    for (const char* op : {"offset_rectangle", "offset_2d"}) {
        SCOPED_TRACE(op);
        TextureShaderCompileResult r = compileTs(std::string("texture_2d();\n") + op + "(tex0,1,0,0,1);\nnop();\nnop();\n");
        ASSERT_TRUE(r.ok) << r.messages.front();
        EXPECT_EQ(r.stages[0].operation, GLenum(GL_TEXTURE_2D));
        EXPECT_EQ(r.stages[1].operation,
                  std::string(op) == "offset_2d" ? GLenum(GL_OFFSET_TEXTURE_2D_NV) : GLenum(GL_OFFSET_TEXTURE_RECTANGLE_NV));
        EXPECT_EQ(r.stages[1].previousInput, GLenum(GL_TEXTURE0_ARB));
        EXPECT_EQ(r.stages[1].offsetMatrix, (std::array<float, 4>{1, 0, 0, 1}));
        EXPECT_EQ(r.stages[2].operation, GLenum(GL_NONE));
        EXPECT_EQ(r.stages[3].operation, GLenum(GL_NONE));
    }
}

TEST(TextureShaderProgram, SupportedOperations)
{
    TextureShaderCompileResult r = compileTs("# comment\ntexture_cube_map();\n"
                                             "offset_rectangle_scale(tex0, -0.5, 0.25, 2, 1e-1, 0.5, -1);\n"
                                             "dependent_gb(tex1);\ndependent_ar(tex0);\n");
    ASSERT_TRUE(r.ok) << r.messages.front();
    EXPECT_EQ(r.stages[0].operation, GLenum(GL_TEXTURE_CUBE_MAP));
    EXPECT_EQ(r.stages[1].operation, GLenum(GL_OFFSET_TEXTURE_RECTANGLE_SCALE_NV));
    EXPECT_EQ(r.stages[1].offsetMatrix, (std::array<float, 4>{-0.5f, 0.25f, 2, 0.1f}));
    EXPECT_FLOAT_EQ(r.stages[1].offsetScale, 0.5f);
    EXPECT_FLOAT_EQ(r.stages[1].offsetBias, -1);
    EXPECT_EQ(r.stages[2].operation, GLenum(GL_DEPENDENT_GB_TEXTURE_2D_NV));
    EXPECT_EQ(r.stages[2].previousInput, GLenum(GL_TEXTURE1_ARB));
    EXPECT_EQ(r.stages[3].operation, GLenum(GL_DEPENDENT_AR_TEXTURE_2D_NV));
    for (const char* op : {"texture_1d", "texture_rectangle", "texture_3d", "pass_through"})
        EXPECT_TRUE(compileTs(std::string(op) + "();\n").ok) << op;
}

TEST(TextureShaderProgram, DotProductSequencesCompileToTheirStageOperations)
{
    struct Row {
        const char* family;
        std::vector<GLenum> operations;   // of stages 1 .., after texture_2d() on stage 0
    };
    const Row rows[] = {
        {"2d", {GL_DOT_PRODUCT_NV, GL_DOT_PRODUCT_TEXTURE_2D_NV}},
        {"rectangle", {GL_DOT_PRODUCT_NV, GL_DOT_PRODUCT_TEXTURE_RECTANGLE_NV}},
        {"depth_replace", {GL_DOT_PRODUCT_NV, GL_DOT_PRODUCT_DEPTH_REPLACE_NV}},
        {"3d", {GL_DOT_PRODUCT_NV, GL_DOT_PRODUCT_NV, GL_DOT_PRODUCT_TEXTURE_3D_NV}},
        {"cube_map", {GL_DOT_PRODUCT_NV, GL_DOT_PRODUCT_NV, GL_DOT_PRODUCT_TEXTURE_CUBE_MAP_NV}},
        {"reflect_cube_map_eye_from_qs", {GL_DOT_PRODUCT_NV, GL_DOT_PRODUCT_NV, GL_DOT_PRODUCT_REFLECT_CUBE_MAP_NV}},
        {"reflect_cube_map_const_eye",
         {GL_DOT_PRODUCT_NV, GL_DOT_PRODUCT_NV, GL_DOT_PRODUCT_CONST_EYE_REFLECT_CUBE_MAP_NV}},
        {"cube_map_and_reflect_cube_map_eye_from_qs",
         {GL_DOT_PRODUCT_NV, GL_DOT_PRODUCT_DIFFUSE_CUBE_MAP_NV, GL_DOT_PRODUCT_REFLECT_CUBE_MAP_NV}},
        {"cube_map_and_reflect_cube_map_const_eye",
         {GL_DOT_PRODUCT_NV, GL_DOT_PRODUCT_DIFFUSE_CUBE_MAP_NV, GL_DOT_PRODUCT_CONST_EYE_REFLECT_CUBE_MAP_NV}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.family);
        std::string text = "texture_2d();\n";
        size_t count = row.operations.size();
        for (size_t i = 1; i <= count; ++i)
            text += "dot_product_" + std::string(row.family) + "_" + std::to_string(i) + "of" + std::to_string(count) +
                    (i == 1 ? "(expand(tex0));\n" : "(tex0);\n");
        TextureShaderCompileResult r = compileTs(text);
        ASSERT_TRUE(r.ok) << r.messages.front();
        for (size_t i = 0; i < count; ++i) {
            EXPECT_EQ(r.stages[1 + i].operation, row.operations[i]) << "stage " << 1 + i;
            EXPECT_EQ(r.stages[1 + i].previousInput, GLenum(GL_TEXTURE0_ARB));
            EXPECT_EQ(r.stages[1 + i].dotMapping, i == 0 ? GLenum(GL_EXPAND_NORMAL_NV) : GLenum(GL_UNSIGNED_IDENTITY_NV));
        }
    }
}

TEST(TextureShaderProgram, CullModesAndTheConstantEye)
{
    TextureShaderCompileResult cull =
        compileTs("cull_fragment(LESS_THAN_ZERO, GEQUAL_TO_ZERO, GEQUAL_TO_ZERO, LESS_THAN_ZERO);\n");
    ASSERT_TRUE(cull.ok) << cull.messages.front();
    EXPECT_EQ(cull.stages[0].operation, GLenum(GL_CULL_FRAGMENT_NV));
    EXPECT_EQ(cull.stages[0].cullModes, (std::array<GLenum, 4>{GL_LESS, GL_GEQUAL, GL_GEQUAL, GL_LESS}));

    // The eye may be written on the first statement of the sequence; the
    // reflecting stage holds it.
    TextureShaderCompileResult eye = compileTs("texture_2d();\n"
                                               "dot_product_reflect_cube_map_const_eye_1of3(expand(tex0), 0.5, -2, 4);\n"
                                               "dot_product_reflect_cube_map_const_eye_2of3(expand(tex0));\n"
                                               "dot_product_reflect_cube_map_const_eye_3of3(expand(tex0));\n");
    ASSERT_TRUE(eye.ok) << eye.messages.front();
    EXPECT_EQ(eye.stages[3].constEye, (std::array<float, 3>{0.5f, -2, 4}));
}

TEST(TextureShaderProgram, EveryListedMessageAndBadArguments)
{
    struct Row {
        const char* body;
        const char* message;
    };
    const Row rows[] = {
        {"nop();\nnop();\nnop();\nnop();\ntexture_2d();\n", "error on line 6: too many instructions"},
        {"texture_2d();\ndot_product_2d_2of2(tex0);\n", "error on line 3: prior stage missing"},
        {"texture_2d();\ndot_product_2d_1of2(tex0);\ndot_product_cube_map_2of3(tex0);\n", "error on line 4: stage mismatch"},
        {"offset_2d(tex0, 1, 0, 0, 1);\n", "error on line 2: invalid texture reference"},
        {"texture_2d();\noffset_2d(tex1, 1, 0, 0, 1);\n", "error on line 3: invalid texture reference"},
        {"texture_2d();\ndependent_ar(texture);\n", "error on line 3: invalid texture reference"},
        {"nop();\noffset_2d(tex0, 1, 0, 0, 1);\n", "error on line 3: no output on referenced texture"},
        {"cull_fragment(LESS, GEQUAL, LESS, LESS);\n", "error on line 2: syntax error: wrong arguments for cull_fragment"},
        {"cull_fragment(LESS_THAN_ZERO, GEQUAL_TO_ZERO, LESS_THAN_ZERO);\n",
         "error on line 2: syntax error: wrong arguments for cull_fragment"},
        {"texture_2d();\ndot_product_2d_1of2(expand(1));\n", "error on line 3: syntax error: expand() takes a texture"},
        {"texture_2d();\ndot_product_2d_1of2(tex0, 1, 0, 0);\n",
         "error on line 3: syntax error: wrong arguments for dot_product_2d_1of2"},
        {"texture_2d(expand(tex0));\n", "error on line 2: syntax error: wrong arguments for texture_2d"},
        {"texture_2d();\ndependent_ar(expand(tex0));\n", "error on line 3: syntax error: wrong arguments for dependent_ar"},
        {"texture_2d();\noffset_2d(tex0, 1, 0, 0);\n", "error on line 3: syntax error: wrong arguments for offset_2d"},
        {"texture_2d(tex0);\n", "error on line 2: syntax error: wrong arguments for texture_2d"},
        {"texture_4d();\n", "error on line 2: syntax error: unknown texture shader operation 'texture_4d'"},
        {"texture_2d()\nnop();\n", "error on line 3: syntax error: expected ';'"},
        {"texture_2d(;\n", "error on line 2: syntax error: invalid argument"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.body);
        TextureShaderCompileResult r = compileTs(row.body);
        EXPECT_FALSE(r.ok);
        // A stage may add more than one message; the listed one must be among them.
        EXPECT_NE(std::find(r.messages.begin(), r.messages.end(), row.message), r.messages.end())
            << (r.messages.empty() ? "" : r.messages.front());
    }
}

} // namespace
