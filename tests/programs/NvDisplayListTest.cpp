// Combiner setups recorded in and replayed from display lists, and the
// fragment program chosen at the draw sites for the texture targets in use.
#include "programs/NvLayerTest.h"

namespace {

const char* const primary = "!!RC1.0\nout.rgb = col0;\n";
const char* const inverted = "!!RC1.0\nout.rgb = unsigned_invert(col0);\n";

class NvDisplayListTest : public NvLayerTest {
protected:
    static void drawCentre()
    {
        nv::glBegin(GL_QUADS);
        glTexCoord2f(0.5f, 0.5f);
        glVertex2f(-0.1f, -0.1f);
        glVertex2f(0.1f, -0.1f);
        glVertex2f(0.1f, 0.1f);
        glVertex2f(-0.1f, 0.1f);
        glEnd();
    }
    // Draws with primary colour (0.2, 0.4, 0.6): primary or its inverse shows.
    static void expectShows(bool invertedColour)
    {
        glColor3f(0.2f, 0.4f, 0.6f);
        drawCentre();
        if (invertedColour)
            expectPixel(320, 240, {0.8f, 0.6f, 0.4f});
        else
            expectPixel(320, 240, {0.2f, 0.4f, 0.6f});
    }
};

TEST_F(NvDisplayListTest, CompileRecordsWithoutExecutingAndCallReplays)
{
    nv::glEnable(GL_REGISTER_COMBINERS_NV);
    ASSERT_TRUE(compile(primary).empty());
    GLuint list = compileList(inverted);
    expectShows(false);
    nv::glCallList(list);
    expectShows(true);
    ASSERT_TRUE(compile(primary).empty());
    expectShows(false);
    nv::glCallList(list);
    expectShows(true);
    glDeleteLists(list, 1);
}

TEST_F(NvDisplayListTest, CompileAndExecuteDoesBoth)
{
    nv::glEnable(GL_REGISTER_COMBINERS_NV);
    ASSERT_TRUE(compile(primary).empty());
    GLuint list = glGenLists(1);
    nv::glNewList(list, GL_COMPILE_AND_EXECUTE);
    ASSERT_TRUE(compile(inverted).empty());
    nv::glEndList();
    expectShows(true);
    ASSERT_TRUE(compile(primary).empty());
    nv::glCallList(list);
    expectShows(true);
    glDeleteLists(list, 1);
}

TEST_F(NvDisplayListTest, EnablesNestedListsAndDeletion)
{
    GLuint inner = compileList(inverted);
    GLuint outer = glGenLists(1);
    nv::glNewList(outer, GL_COMPILE);
    nv::glEnable(GL_REGISTER_COMBINERS_NV);
    nv::glCallList(inner);
    nv::glEndList();
    EXPECT_FALSE(nv::glIsEnabled(GL_REGISTER_COMBINERS_NV));
    nv::glCallList(outer);
    EXPECT_TRUE(nv::glIsEnabled(GL_REGISTER_COMBINERS_NV));
    expectShows(true);

    ASSERT_TRUE(compile(primary).empty());
    nv::glDeleteLists(inner, 1);
    nv::glCallList(outer);   // the inner list is gone: the state stays
    expectShows(false);
    nv::glDeleteLists(outer, 1);
}

TEST_F(NvDisplayListTest, TheDrawSiteChoosesTheProgramForTheEnabledTarget)
{
    GLuint textures[2];
    glGenTextures(2, textures);
    const unsigned char red[4] = {255, 0, 0, 255}, green[4] = {0, 255, 0, 255};
    glBindTexture(GL_TEXTURE_2D, textures[0]);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, red);
    glBindTexture(GL_TEXTURE_RECTANGLE, textures[1]);
    glTexImage2D(GL_TEXTURE_RECTANGLE, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, green);
    glTexParameteri(GL_TEXTURE_RECTANGLE, GL_TEXTURE_MIN_FILTER, GL_NEAREST);

    GLuint list = compileList("!!RC1.0\nout.rgb = tex0 * col0;\n");
    // As the show does: combiners on and the list called before the texture.
    nv::glEnable(GL_REGISTER_COMBINERS_NV);
    nv::glCallList(list);
    glColor3f(1, 1, 1);
    glEnable(GL_TEXTURE_2D);
    drawCentre();
    expectPixel(320, 240, {1, 0, 0});
    glEnable(GL_TEXTURE_RECTANGLE);   // outranks 2-D
    drawCentre();
    expectPixel(320, 240, {0, 1, 0});
    glDisable(GL_TEXTURE_RECTANGLE);
    glDisable(GL_TEXTURE_2D);
    drawCentre();   // no texture: the register reads zero
    expectPixel(320, 240, {0, 0, 0});

    nv::glDisable(GL_REGISTER_COMBINERS_NV);
    glColor3f(0.25f, 0.5f, 0.75f);
    nv::glBegin(GL_QUADS);   // fixed function again
    glVertex2f(-0.1f, -0.1f);
    glVertex2f(0.1f, -0.1f);
    glVertex2f(0.1f, 0.1f);
    glVertex2f(-0.1f, 0.1f);
    glEnd();
    expectPixel(320, 240, {0.25f, 0.5f, 0.75f});
    glDeleteLists(list, 1);
    glDeleteTextures(2, textures);
}

} // namespace
