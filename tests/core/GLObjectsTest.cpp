#include "core/GLObjects.h"
#include "programs/NvExtensions.h"
#include "support/GLTest.h"

#include <functional>
#include <utility>

namespace {

class GLObjectsTest : public GLTest {};

} // namespace

TEST_F(GLObjectsTest, EveryKindOfOwnerDeletesItsNameWhenItGoes)
{
    const struct {
        const char* kind;
        std::function<GLuint()> madeAndGone;   // the name an owner held until it went
        std::function<bool(GLuint)> exists;
    } kinds[] = {
        {"texture", [] { return createTexture(GL_TEXTURE_2D).get(); }, [](GLuint n) { return glIsTexture(n) != 0; }},
        {"buffer",
         [] {
             GLBuffer buffer = genBuffer();
             glBindBuffer(GL_ARRAY_BUFFER, buffer.get());
             glBindBuffer(GL_ARRAY_BUFFER, 0);
             return buffer.get();
         },
         [](GLuint n) { return glIsBuffer(n) != 0; }},
        {"program",
         [] {
             GLProgramNV program = genProgramNV();
             nv::glBindProgramNV(GL_VERTEX_PROGRAM_NV, program.get());
             nv::glBindProgramNV(GL_VERTEX_PROGRAM_NV, 0);
             return program.get();
         },
         [](GLuint n) { return nv::glIsProgramNV(n) != 0; }},
        {"display list",
         [] {
             GLDisplayList list = genList();
             nv::glNewList(list.get(), GL_COMPILE);
             nv::glEndList();
             return list.get();
         },
         [](GLuint n) { return glIsList(n) != 0; }},
    };
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.kind);
        const GLuint name = k.madeAndGone();
        ASSERT_NE(name, 0u);
        EXPECT_FALSE(k.exists(name));
    }
}

TEST_F(GLObjectsTest, AMoveHandsTheNameOverAndTakingAnotherDeletesTheOneHeld)
{
    GLTexture first = createTexture(GL_TEXTURE_2D);
    const GLuint name = first.get();
    GLTexture taker = std::move(first);
    EXPECT_FALSE(first);
    EXPECT_EQ(taker.get(), name);
    EXPECT_TRUE(glIsTexture(name)) << "a move deletes nothing";

    GLTexture second = createTexture(GL_TEXTURE_2D);
    const GLuint other = second.get();
    taker = std::move(second);
    EXPECT_FALSE(glIsTexture(name));
    EXPECT_TRUE(glIsTexture(other));
    EXPECT_EQ(taker.get(), other);
}

TEST_F(GLObjectsTest, ANewTextureIsBoundFilteredLinearlyAndWrappedOnEveryAxisOfItsTarget)
{
    const struct {
        GLenum target, binding;
        GLint wrap;
    } cases[] = {
        {GL_TEXTURE_2D, GL_TEXTURE_BINDING_2D, GL_MIRRORED_REPEAT},
        {GL_TEXTURE_RECTANGLE, GL_TEXTURE_BINDING_RECTANGLE, GL_CLAMP_TO_BORDER},
        {GL_TEXTURE_3D, GL_TEXTURE_BINDING_3D, GL_CLAMP_TO_EDGE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        const GLTexture texture = createTexture(c.target, c.wrap);
        GLint bound = 0;
        glGetIntegerv(c.binding, &bound);
        EXPECT_EQ(static_cast<GLuint>(bound), texture.get());
        std::vector<std::pair<GLenum, GLint>> expected = {{GL_TEXTURE_MIN_FILTER, GL_LINEAR},
                                                          {GL_TEXTURE_MAG_FILTER, GL_LINEAR},
                                                          {GL_TEXTURE_WRAP_S, c.wrap},
                                                          {GL_TEXTURE_WRAP_T, c.wrap}};
        if (c.target == GL_TEXTURE_3D)
            expected.push_back({GL_TEXTURE_WRAP_R, c.wrap});
        for (const auto& [parameter, value] : expected) {
            GLint actual = 0;
            glGetTexParameteriv(c.target, parameter, &actual);
            EXPECT_EQ(actual, value) << parameter;
        }
        glBindTexture(c.target, 0);
    }
}
