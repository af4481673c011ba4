#include "programs/CombinerProgram.h"

#include <gtest/gtest.h>

#include <string>

using namespace programs;

namespace {

CombinerCompileResult compileRc(const std::string& body, int supported = 8, bool perStage = true)
{
    std::string text = "!!RC1.0\n" + body;
    return compileRegisterCombiners(text, 7, supported, perStage);
}

void expectInput(const CombinerInput& in, GLenum reg, GLenum mapping, GLenum usage)
{
    EXPECT_EQ(in.input, reg);
    EXPECT_EQ(in.mapping, mapping);
    EXPECT_EQ(in.usage, usage);
}

TEST(CombinerProgram, TheFunkSphereSetupAddsBothColoursAndTextureZero)
{
    // The show's inline text, tab runs and all.
    const char* text = "!!RC1.0\t\t\t\t\t\t\n{\t\t\t\t\t\t\t\t\n\trgb {\t\t\t\t\t\t\n\t\tdiscard = col0;\t\t\t\n"
                       "\t\tdiscard = col1;\t\t\t\n\t\tspare0  = sum();\t\t\n\t}\t\t\t\t\t  \t\t\n}\t\t\t\t\t\t\t\t\n"
                       "out.rgb = spare0+tex0;\t\t\t\n";
    CombinerCompileResult r = compileRegisterCombiners(text, 7, 8, true);
    ASSERT_TRUE(r.ok) << r.messages.front();
    const CombinerState& s = r.setup.state;
    EXPECT_EQ(s.numGeneralCombiners, 1);
    const CombinerPortion& rgb = s.general[0].rgb;
    expectInput(rgb.inputs[VarA], GL_PRIMARY_COLOR_NV, GL_SIGNED_IDENTITY_NV, GL_RGB);
    expectInput(rgb.inputs[VarB], GL_ZERO, GL_UNSIGNED_INVERT_NV, GL_RGB);   // times one
    expectInput(rgb.inputs[VarC], GL_SECONDARY_COLOR_NV, GL_SIGNED_IDENTITY_NV, GL_RGB);
    EXPECT_EQ(rgb.abOutput, GLenum(GL_DISCARD_NV));
    EXPECT_EQ(rgb.cdOutput, GLenum(GL_DISCARD_NV));
    EXPECT_EQ(rgb.sumOutput, GLenum(GL_SPARE0_NV));
    EXPECT_FALSE(rgb.muxSum);
    // spare0 + tex0 = spare0 * 1 + (1 - spare0) * 0 + tex0
    expectInput(s.finalInputs[VarA], GL_SPARE0_NV, GL_UNSIGNED_IDENTITY_NV, GL_RGB);
    expectInput(s.finalInputs[VarB], GL_ZERO, GL_UNSIGNED_INVERT_NV, GL_RGB);
    expectInput(s.finalInputs[VarC], GL_ZERO, GL_UNSIGNED_IDENTITY_NV, GL_RGB);
    expectInput(s.finalInputs[VarD], GL_TEXTURE0_ARB, GL_UNSIGNED_IDENTITY_NV, GL_RGB);
    expectInput(s.finalInputs[VarG], GL_SPARE0_NV, GL_UNSIGNED_IDENTITY_NV, GL_ALPHA);
}

TEST(CombinerProgram, MappingsComponentsScaleBiasAndConstants)
{
    CombinerCompileResult r = compileRc("// constants\nconst0 = (0.5, -1, 2, 1);\n"
                                        "{ const1 = (0.25, 0.25, 0.25, 0.25);\n"
                                        "  rgb { spare1 = -expand(tex1.a) . half_bias(col0); discard = -half_bias(tex2) * -tex3;\n"
                                        "        spare0 = mux(); bias_by_negative_one_half_scale_by_two(); }\n"
                                        "  alpha { tex0 = unsigned(col1.b) * unsigned_invert(fog); scale_by_one_half(); } }\n"
                                        "{ rgb { col0 = spare0; scale_by_four(); } }\n"
                                        "final_product = tex0.a * unsigned_invert(col1);\nclamp_color_sum();\n"
                                        "out.rgb = unsigned_invert(tex0.a) * final_product + color_sum;\nout.a = const0.b;\n");
    ASSERT_TRUE(r.ok) << r.messages.front();
    const CombinerState& s = r.setup.state;
    EXPECT_EQ(s.numGeneralCombiners, 2);
    const CombinerPortion& rgb = s.general[0].rgb;
    expectInput(rgb.inputs[VarA], GL_TEXTURE1_ARB, GL_EXPAND_NEGATE_NV, GL_ALPHA);
    expectInput(rgb.inputs[VarB], GL_PRIMARY_COLOR_NV, GL_HALF_BIAS_NORMAL_NV, GL_RGB);
    expectInput(rgb.inputs[VarC], GL_TEXTURE2_ARB, GL_HALF_BIAS_NEGATE_NV, GL_RGB);
    expectInput(rgb.inputs[VarD], GL_TEXTURE3_ARB, GL_SIGNED_NEGATE_NV, GL_RGB);
    EXPECT_TRUE(rgb.abDot);
    EXPECT_FALSE(rgb.cdDot);
    EXPECT_TRUE(rgb.muxSum);
    EXPECT_EQ(rgb.scale, GLenum(GL_SCALE_BY_TWO_NV));
    EXPECT_EQ(rgb.bias, GLenum(GL_BIAS_BY_NEGATIVE_ONE_HALF_NV));
    const CombinerPortion& alpha = s.general[0].alpha;
    expectInput(alpha.inputs[VarA], GL_SECONDARY_COLOR_NV, GL_UNSIGNED_IDENTITY_NV, GL_BLUE);
    expectInput(alpha.inputs[VarB], GL_FOG, GL_UNSIGNED_INVERT_NV, GL_ALPHA);
    EXPECT_EQ(alpha.abOutput, GLenum(GL_TEXTURE0_ARB));
    EXPECT_EQ(alpha.scale, GLenum(GL_SCALE_BY_ONE_HALF_NV));
    EXPECT_EQ(s.general[1].rgb.scale, GLenum(GL_SCALE_BY_FOUR_NV));
    EXPECT_EQ(s.general[1].alpha.abOutput, GLenum(GL_DISCARD_NV));
    expectInput(s.finalInputs[VarE], GL_TEXTURE0_ARB, GL_UNSIGNED_IDENTITY_NV, GL_ALPHA);
    expectInput(s.finalInputs[VarF], GL_SECONDARY_COLOR_NV, GL_UNSIGNED_INVERT_NV, GL_RGB);
    expectInput(s.finalInputs[VarA], GL_TEXTURE0_ARB, GL_UNSIGNED_INVERT_NV, GL_ALPHA);
    expectInput(s.finalInputs[VarB], GL_E_TIMES_F_NV, GL_UNSIGNED_IDENTITY_NV, GL_RGB);
    expectInput(s.finalInputs[VarD], GL_SPARE0_PLUS_SECONDARY_COLOR_NV, GL_UNSIGNED_IDENTITY_NV, GL_RGB);
    expectInput(s.finalInputs[VarG], GL_CONSTANT_COLOR0_NV, GL_UNSIGNED_IDENTITY_NV, GL_BLUE);
    EXPECT_TRUE(s.colorSumClamp);
    ASSERT_TRUE(r.setup.constant0.has_value());
    EXPECT_EQ(*r.setup.constant0, (Colour{0.5f, -1, 2, 1}));
    EXPECT_FALSE(r.setup.constant1.has_value());
    // Local constants turn on per-stage constants; stages without their own
    // take the global ones.
    EXPECT_TRUE(r.setup.perStageConstants);
    EXPECT_EQ(s.general[0].constants[1], (Colour{0.25f, 0.25f, 0.25f, 0.25f}));
    EXPECT_EQ(s.general[0].constants[0], (Colour{0.5f, -1, 2, 1}));
    EXPECT_EQ(s.general[1].constants[0], (Colour{0.5f, -1, 2, 1}));
}

TEST(CombinerProgram, EveryListedMessage)
{
    struct Row {
        const char* body;
        const char* message;
    };
    std::string nine;
    for (int i = 0; i < 9; ++i)
        nine += "{ rgb { spare0 = tex0; } }\n";
    const Row rows[] = {
        {"const0 = (1,1,1,1);\nconst0 = (0,0,0,0);\n", "error on line 3: global constant set twice"},
        {"{ const1 = (1,1,1,1);\n  const1 = (1,1,1,1); rgb { spare0 = tex0; } }\n", "error on line 3: local constant set twice"},
        {"{ rgb { spare0 = tex0; }\n  rgb { spare1 = tex0; } }\n", "error on line 3: portion declared twice"},
        {"{ rgb { spare0 = tex0; spare0 = tex1; } }\n", "error on line 2: writing to same register twice"},
        {"{ rgb { const0 = tex0; } }\n", "error on line 2: writing to a read-only register"},
        {"{ rgb { spare0 = discard * tex0; } }\n", "error on line 2: reading from discard"},
        {"{ alpha { spare0 = tex0 . tex1; } }\n", "error on line 2: dot used in alpha portion"},
        {"{ rgb { spare0 = final_product; } }\n", "error on line 2: final register used in general combiner"},
        {"{ alpha { spare0 = tex0.rgb; } }\n", "error on line 2: rgb register used in alpha portion"},
        {"{ rgb { spare0 = tex0.b; } }\n", "error on line 2: blue register usedin rgb portion"},
        {"out.rgb = final_product;\n", "error on line 2: final_product used but not set"},
        {"out.rgb = tex0.b;\n", "error on line 2: blue register used in final rgb"},
        {"out.rgb = discard;\n", "error on line 2: invalid input register for final rgb"},
        {"out.a = tex0.rgb;\n", "error on line 2: rgb register used in final alpha"},
        {"out.a = color_sum;\n", "error on line 2: invalid input register for final alpha"},
        {"final_product = tex0.b * tex1;\nout.rgb = final_product;\n", "error on line 2: blue register used in final_product"},
        {"final_product = color_sum * tex1;\nout.rgb = final_product;\n", "error on line 2: invalid input register for final_product"},
        {nine.c_str(), "error on line 10: Too many general combiners."},
        {"{ rgb { spare0 = tex0 } }\n", "error on line 2: syntax error: expected ';' near '}'"},
        {"out.rgb = expand(tex0);\n", "error on line 2: syntax error: the final combiner takes unsigned inputs only near 'tex0'"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.body);
        CombinerCompileResult r = compileRc(row.body);
        EXPECT_FALSE(r.ok);
        ASSERT_FALSE(r.messages.empty());
        EXPECT_EQ(r.messages.front(), row.message);
    }
}

TEST(CombinerProgram, DriverLimitsAndMissingPerStageConstants)
{
    CombinerCompileResult three = compileRc("{ rgb { spare0 = tex0; } }\n{ rgb { spare0 = tex0; } }\n{ rgb { spare0 = tex0; } }\n", 2);
    EXPECT_FALSE(three.ok);
    EXPECT_EQ(three.messages, (std::vector<std::string>{"error on line 4: 3 general combiners specified, only 2 supported"}));

    // Without per-stage constants the local ones are ignored, and the text still applies.
    CombinerCompileResult local = compileRc("{ const0 = (1, 0, 0, 1); rgb { spare0 = const0; } }\n", 8, false);
    EXPECT_TRUE(local.ok);
    EXPECT_FALSE(local.setup.perStageConstants);
    EXPECT_EQ(local.messages,
              (std::vector<std::string>{"error on line 2: local constant(s) specified, but not supported -- ignored"}));
}

TEST(CombinerProgram, AnEmptyTextPassesSpareZeroThrough)
{
    CombinerCompileResult r = compileRc("");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.setup.state.numGeneralCombiners, 1);
    EXPECT_EQ(r.setup.state.general[0].rgb.sumOutput, GLenum(GL_DISCARD_NV));
    expectInput(r.setup.state.finalInputs[VarD], GL_SPARE0_NV, GL_UNSIGNED_IDENTITY_NV, GL_RGB);
}

} // namespace

namespace {

TEST(CombinerProgram, ATextEndingInsideAFullPortionStopsAtItsTwoProducts)
{
    // The end of the text reads as a third statement; it must not become a
    // third product past the portion's four inputs (which would overwrite
    // the outputs that follow them).
    for (const char* body : {"{rgb{discard=col0;discard=col1;", "{rgb{spare0=col0;spare1=col1;",
                             "{alpha{spare0=col0;spare1=col1.a;"}) {
        SCOPED_TRACE(body);
        CombinerCompileResult r = compileRc(body);
        EXPECT_FALSE(r.ok);
        ASSERT_FALSE(r.messages.empty());
        EXPECT_NE(r.messages.front().find("syntax error"), std::string::npos) << r.messages.front();
        for (const CombinerPortion* p : {&r.setup.state.general[0].rgb, &r.setup.state.general[0].alpha}) {
            EXPECT_EQ(p->sumOutput, GLenum(GL_DISCARD_NV));
            EXPECT_EQ(p->scale, GLenum(GL_NONE));
            EXPECT_EQ(p->bias, GLenum(GL_NONE));
        }
    }
}

} // namespace
