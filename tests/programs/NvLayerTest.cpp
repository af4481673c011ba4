#include "programs/NvLayerTest.h"

#include <algorithm>
#include <cmath>

void NvLayerTest::TearDown()
{
    nv::glDisable(GL_REGISTER_COMBINERS_NV);
    nv::glDisable(GL_TEXTURE_SHADER_NV);
    nv::glDisable(GL_PER_STAGE_CONSTANTS_NV);
    nv::glDisable(GL_VERTEX_PROGRAM_NV);
    nv::glBindProgramNV(GL_VERTEX_PROGRAM_NV, 0);
    for (GLuint address = 0; address < 96; address += 4)
        nv::glTrackMatrixNV(GL_VERTEX_PROGRAM_NV, address, GL_NONE, GL_IDENTITY_NV);
    for (int unit = 3; unit >= 0; --unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_TEXTURE_RECTANGLE);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    }
    glDisable(GL_COLOR_SUM);
    glColor4f(1, 1, 1, 1);
    glSecondaryColor3f(0, 0, 0);
    while (nv::glGetError() != GL_NO_ERROR) {
    }
}

std::vector<std::string> NvLayerTest::compile(const std::string& text, int id)
{
    programs::compileProgramText(text.c_str(), id);
    std::vector<std::string> errors;
    for (const char* const* e = programs::programTextErrors(); *e; ++e)
        errors.emplace_back(*e);
    return errors;
}

GLuint NvLayerTest::loadVertexProgram(const std::string& text)
{
    GLuint id = 0;
    nv::glGenProgramsNV(1, &id);
    nv::glBindProgramNV(GL_VERTEX_PROGRAM_NV, id);
    nv::glGetError();
    std::vector<std::string> errors = compile(text);
    EXPECT_TRUE(errors.empty()) << errors.front();
    return id;
}

GLuint NvLayerTest::compileList(const std::string& text)
{
    GLuint list = glGenLists(1);
    nv::glNewList(list, GL_COMPILE);
    std::vector<std::string> errors = compile(text);
    nv::glEndList();
    EXPECT_TRUE(errors.empty()) << errors.front();
    return list;
}

std::array<int, 2> NvLayerTest::pixelOf(float ndcX, float ndcY)
{
    return {static_cast<int>(std::floor((ndcX + 1) * 320)), static_cast<int>(std::floor((ndcY + 1) * 240))};
}

void NvLayerTest::expectPixel(int x, int y, std::array<float, 3> rgb, int tolerance)
{
    auto pixel = testsupport::readPixel(x, y);
    for (int i = 0; i < 3; ++i) {
        int want = static_cast<int>(std::lround(std::clamp(rgb[i], 0.0f, 1.0f) * 255));
        EXPECT_NEAR(pixel[i], want, tolerance) << "channel " << i << " at (" << x << ", " << y << ")";
    }
}
