#include "programs/ConstantProgram.h"

#include <gtest/gtest.h>

#include <string>

using namespace programs;

namespace {

TEST(ConstantProgram, ConstantsAndTracking)
{
    ConstantProgramResult r = compileConstantProgram("!!VCP1.0\n"
                                                     "c[0] = track(GL_MODELVIEW_PROJECTION_NV GL_IDENTITY_NV);\n"
                                                     "# a comment; with a semicolon\n"
                                                     "c[4] = track(GL_MATRIX7_NV, GL_INVERSE_NV);;\n"
                                                     "C[ 95 ] = ( -1 , +2.5 , .5 , 1e1 ) ;\n"
                                                     "END\nignored after END\n");
    ASSERT_TRUE(r.ok) << r.messages.front();
    ASSERT_EQ(r.statements.size(), 3u);
    EXPECT_EQ(r.statements[0].kind, ConstantStatement::Kind::Track);
    EXPECT_EQ(r.statements[0].matrix, GLenum(GL_MODELVIEW_PROJECTION_NV));
    EXPECT_EQ(r.statements[0].transform, GLenum(GL_IDENTITY_NV));
    EXPECT_EQ(r.statements[1].address, 4);
    EXPECT_EQ(r.statements[1].matrix, GLenum(GL_MATRIX7_NV));
    EXPECT_EQ(r.statements[1].transform, GLenum(GL_INVERSE_NV));
    EXPECT_EQ(r.statements[2].kind, ConstantStatement::Kind::Constant);
    EXPECT_EQ(r.statements[2].address, 95);
    EXPECT_EQ(r.statements[2].values, (Vec4{-1, 2.5f, 0.5f, 10}));
}

TEST(ConstantProgram, EveryListedMessage)
{
    struct Row {
        const char* statement;
        const char* detail;
    };
    const Row rows[] = {
        {"c[96] = (0, 0, 0, 0);", "\tConstant address out of range\n"},
        {"c[96] = track(GL_MODELVIEW GL_IDENTITY_NV);", "\tConstant address out of range\n"},
        {"c[6] = track(GL_MODELVIEW GL_IDENTITY_NV);", "\tglTrackMatrixNV address must be modulo 4\n"},
        {"c[8] = track(GL_FOG GL_IDENTITY_NV);", "\tInvalid Matrix parameter in glTrackMatrixNV.\n"},
        {"c[8] = track(GL_MODELVIEW GL_INVERSE);", "\tInvalid Transform parameter in glTrackMatrixNV\n"},
        {"c[8] = (1, 2, 3);", "\tUnrecognized statement\n"},
        {"v[8] = (1, 2, 3, 4);", "\tUnrecognized statement\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.statement);
        ConstantProgramResult r = compileConstantProgram(std::string("!!VCP1.0\nc[0] = (1, 1, 1, 1);\n") + row.statement);
        EXPECT_FALSE(r.ok);
        std::string shown(row.statement);
        shown.pop_back();   // the statement without its semicolon
        EXPECT_EQ(r.messages, (std::vector<std::string>{"error at line 3 \n\"" + shown + "\"\n", row.detail}));
    }
}

} // namespace
