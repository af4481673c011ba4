// Register-combiner texts drawn through the layer's fragment programs on
// llvmpipe, checked against the CPU evaluation of the same combiner state.
#include "programs/NvLayerTest.h"

#include "programs/CombinerProgram.h"
#include "programs/CombinerReference.h"

#include <cmath>

using namespace programs;

namespace {

// Brings a general combiner's [-1, 1] result in spare0 into [0, 1] (const1 = 0.5).
const std::string showSigned =
    "{ rgb { discard = spare0 * const1; discard = const1; spare0 = sum(); }\n"
    "  alpha { discard = spare0 * const1; discard = const1; spare0 = sum(); } }\n"
    "out.rgb = spare0;\nout.a = spare0;\n";
const std::string constants = "const0 = (0.2, 0.6, 1, 0.4);\nconst1 = (0.5, 0.5, 0.5, 0.5);\n";

struct Inputs {
    Colour col0{0.2f, 0.4f, 0.8f, 0.6f};
    Colour col1{0.6f, 0.2f, 0.4f, 0.0f};
    std::array<Colour, 4> tex{Colour{0.8f, 0.4f, 0.2f, 0.7f}, Colour{0.3f, 0.9f, 0.5f, 0.2f}, Colour{1, 0.5f, 0, 1},
                              Colour{0.1f, 0.2f, 0.3f, 0.4f}};
};

float quantize(float v) { return std::round(v * 255) / 255; }

class CombinerPixelTest : public NvLayerTest {
protected:
    void SetUp() override
    {
        NvLayerTest::SetUp();
        glGenTextures(4, textures_);
    }
    void TearDown() override
    {
        glDeleteTextures(4, textures_);
        NvLayerTest::TearDown();
    }

    void setInputs(const Inputs& in)
    {
        for (int i = 0; i < 4; ++i) {
            glActiveTexture(GL_TEXTURE0 + i);
            glBindTexture(GL_TEXTURE_2D, textures_[i]);
            unsigned char texel[4];
            for (int c = 0; c < 4; ++c)
                texel[c] = static_cast<unsigned char>(std::lround(in.tex[i][c] * 255));
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
            glEnable(GL_TEXTURE_2D);
        }
        glActiveTexture(GL_TEXTURE0);
        glColor4fv(in.col0.data());
        glSecondaryColor3fv(in.col1.data());
    }

    // A few pixels around the centre are enough, and cheap to shade.
    static void drawCentre()
    {
        nv::glBegin(GL_QUADS);
        glTexCoord2f(0.5f, 0.5f);
        glVertex2f(-0.02f, -0.02f);
        glVertex2f(0.02f, -0.02f);
        glVertex2f(0.02f, 0.02f);
        glVertex2f(-0.02f, 0.02f);
        glEnd();
    }

    // Draws `text` with `in` and compares the centre pixel with the CPU.
    void check(const std::string& text, const Inputs& in, const Colour& fog = {})
    {
        SCOPED_TRACE(text);
        CombinerCompileResult compiled = compileRegisterCombiners(text, 7, 8, true);
        ASSERT_TRUE(compiled.ok) << compiled.messages.front();
        CombinerState state = compiled.setup.state;
        state.constants[0] = compiled.setup.constant0.value_or(Colour{});
        state.constants[1] = compiled.setup.constant1.value_or(Colour{});
        reference::CombinerRegisters regs;
        for (int c = 0; c < 4; ++c) {
            regs.col0[c] = quantize(in.col0[c]);
            regs.col1[c] = quantize(in.col1[c]);
            for (int i = 0; i < 4; ++i)
                regs.tex[i][c] = quantize(in.tex[i][c]);
        }
        regs.fog = fog;
        Colour want = reference::evaluateCombiners(state, compiled.setup.perStageConstants, regs);

        setInputs(in);
        GLuint list = compileList(text);
        nv::glEnable(GL_REGISTER_COMBINERS_NV);
        nv::glCallList(list);
        drawCentre();
        nv::glDisable(GL_REGISTER_COMBINERS_NV);
        glDeleteLists(list, 1);
        auto pixel = testsupport::readPixel(320, 240);
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(pixel[c], want[c] * 255, 2.0) << "component " << c;
    }

    GLuint textures_[4] = {};
};

TEST_F(CombinerPixelTest, InputMappingsOnRgbAndAlpha)
{
    const char* mappings[] = {"unsigned(tex0)", "unsigned_invert(tex0)", "expand(tex0)", "-expand(tex0)",
                              "half_bias(tex0)", "-half_bias(tex0)", "tex0", "-tex0", "tex0.a", "unsigned_invert(tex1.a)"};
    for (const char* m : mappings) {
        std::string alpha = std::string(m).find(".a") != std::string::npos ? "tex0.b" : m;
        check("!!RC1.0\n" + constants + "{ rgb { spare0 = " + m + "; } alpha { spare0 = " + alpha + "; } }\n" + showSigned,
              Inputs{});
    }
}

TEST_F(CombinerPixelTest, ScaleAndBiasClampToPlusMinusOne)
{
    const char* forms[] = {"", "scale_by_two();", "scale_by_four();", "scale_by_one_half();",
                           "bias_by_negative_one_half();", "bias_by_negative_one_half_scale_by_two();"};
    for (const char* f : forms) {
        check("!!RC1.0\n" + constants + "{ rgb { spare0 = expand(tex0) * tex1; " + f + " }\n  alpha { spare0 = tex0 * col0; " + f +
                  " } }\n" + showSigned,
              Inputs{});
    }
    Inputs bright;
    bright.tex[2] = {1, 0, 1, 1};
    check("!!RC1.0\n" + constants + "{ rgb { spare0 = expand(tex2); scale_by_four(); } }\n" + showSigned, bright);
}

TEST_F(CombinerPixelTest, ProductsDotProductsSumAndMux)
{
    check("!!RC1.0\n" + constants + "{ rgb { spare0 = expand(tex0) . expand(tex1); spare1 = tex2 * col1; } }\n" + showSigned,
          Inputs{});
    check("!!RC1.0\n" + constants + "{ rgb { discard = tex0 . col0; discard = tex1 . col1; spare0 = sum(); } }\n" + showSigned,
          Inputs{});
    check("!!RC1.0\n{ rgb { discard = tex0 * col0; discard = tex1 * col1; spare0 = sum(); }\n"
          "  alpha { discard = tex0 * col0; discard = tex1; spare0 = sum(); } }\nout.rgb = spare0;\nout.a = spare0;\n",
          Inputs{});
    // mux() picks CD when spare0's alpha (texture 0's alpha here) is 0.5 or more.
    for (float a : {0.7f, 0.3f}) {
        Inputs in;
        in.tex[0][3] = a;
        check("!!RC1.0\n{ rgb { discard = tex1; discard = tex2; spare0 = mux(); } }\nout.rgb = spare0;\n", in);
    }
}

TEST_F(CombinerPixelTest, FinalCombinerLerpProductFinalProductAndColorSum)
{
    check("!!RC1.0\nout.rgb = lerp(tex0, tex1, col0) + tex3;\nout.a = unsigned_invert(col0);\n", Inputs{});
    check("!!RC1.0\nout.rgb = unsigned_invert(tex0.a) * col0;\nout.a = tex2.b;\n", Inputs{});
    check("!!RC1.0\n{ rgb { spare0 = tex0 * unsigned_invert(zero); } }\nfinal_product = tex1 * col0;\n"
          "out.rgb = final_product + color_sum;\n",
          Inputs{});
    // color_sum above one: clamped only with clamp_color_sum().
    Inputs high;
    high.tex[0] = {0.9f, 0.9f, 0.9f, 1};
    high.col1 = {0.5f, 0.5f, 0.5f, 0};
    const std::string spare = "{ rgb { spare0 = tex0 * unsigned_invert(zero); } }\n";
    check("!!RC1.0\n" + spare + "out.rgb = color_sum * tex3;\n", high);
    check("!!RC1.0\n" + spare + "clamp_color_sum();\nout.rgb = color_sum * tex3;\n", high);
}

TEST_F(CombinerPixelTest, SpareTextureColourAndConstantRegisters)
{
    check("!!RC1.0\n" + constants +
              "{ rgb { tex1 = tex0 * const0; col0 = unsigned_invert(col0); }\n  alpha { spare1 = const1 * tex3; } }\n"
              "{ rgb { spare0 = tex1 * col0; spare1 = const1; } }\n"
              "out.rgb = lerp(spare1, spare0, tex2);\nout.a = spare1;\n",
          Inputs{});
    // Per-stage constants: each stage its own const0, the final combiner the global one.
    check("!!RC1.0\nconst0 = (1, 1, 1, 1);\n"
          "{ const0 = (0.2, 0.4, 0.6, 0.8); rgb { spare0 = const0; } }\n"
          "{ const0 = (0.5, 0.5, 0.5, 0.5); rgb { spare1 = const0 * spare0; } }\n"
          "out.rgb = spare1 * const0;\n",
          Inputs{});
}

TEST_F(CombinerPixelTest, FogRegisterHoldsTheFogColourAndFactorOne)
{
    const Colour fog{0.2f, 0.6f, 0.4f, 0.8f};
    glFogfv(GL_FOG_COLOR, fog.data());
    check("!!RC1.0\nout.rgb = lerp(fog.a, fog, tex0);\nout.a = fog;\n", Inputs{}, Colour{fog[0], fog[1], fog[2], 1});
}

TEST_F(CombinerPixelTest, TheReferenceAgreesWithHandComputedValues)
{
    // col0 + col1 + tex0, clamped: the funk sphere's setup.
    CombinerCompileResult r = compileRegisterCombiners(
        "!!RC1.0\n{ rgb { discard = col0; discard = col1; spare0 = sum(); } }\nout.rgb = spare0 + tex0;\n", 7, 8, true);
    ASSERT_TRUE(r.ok);
    reference::CombinerRegisters regs;
    regs.col0 = {0.1f, 0.2f, 0.3f, 1};
    regs.col1 = {0.1f, 0.1f, 0.5f, 0};
    regs.tex[0] = {0.25f, 0.5f, 0.5f, 1};
    Colour out = reference::evaluateCombiners(r.setup.state, false, regs);
    EXPECT_NEAR(out[0], 0.45f, 1e-6);
    EXPECT_NEAR(out[1], 0.8f, 1e-6);
    EXPECT_NEAR(out[2], 1.0f, 1e-6);
}

} // namespace
