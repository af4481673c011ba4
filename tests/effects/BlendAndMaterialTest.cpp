#include "effects/EffectData.h"
#include "effects/MaterialState.h"
#include "effects/TestEffect.h"
#include "support/GLTest.h"

#include <epoxy/gl.h>

namespace {

using BlendStateTest = GLTest;

GLint integerState(GLenum name)
{
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

// A recognisable blending state that effects must leave alone.
void presetBlending()
{
    glEnable(GL_BLEND);
    glBlendFunc(GL_ZERO, GL_SRC_COLOR);
    glBlendEquation(GL_FUNC_ADD);
    glBlendColor(0.5f, 0.5f, 0.5f, 0.5f);
}

TEST_F(BlendStateTest, NothingSetLeavesTheStateAsFound)
{
    presetBlending();
    TestEffect effect;
    effect.applyBlend();
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(integerState(GL_BLEND_SRC), GL_ZERO);
    EXPECT_EQ(integerState(GL_BLEND_DST), GL_SRC_COLOR);
}

TEST_F(BlendStateTest, DisabledBlendingSetsNothingElse)
{
    presetBlending();
    TestEffect effect;
    effect.setParams("blendEnable=0;blendSrc=770;blendDst=1;blendEq=32776;blendCol=1,1,1,1;");
    effect.applyBlend();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(integerState(GL_BLEND_SRC), GL_ZERO);
    EXPECT_EQ(integerState(GL_BLEND_EQUATION), GL_FUNC_ADD);
}

TEST_F(BlendStateTest, SourceAndDestinationEnableBlending)
{
    glDisable(GL_BLEND);
    TestEffect effect;
    effect.setParams("blendSrc=770;blendDst=1;");
    effect.applyBlend();
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(integerState(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(integerState(GL_BLEND_DST), GL_ONE);

    TestEffect halfSet; // one factor alone is not enough
    halfSet.setParams("blendSrc=770;");
    glDisable(GL_BLEND);
    halfSet.applyBlend();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(BlendStateTest, ColourAndEquationAreSentOnlyWhenSet)
{
    presetBlending();
    TestEffect unsetColour;
    unsetColour.setParams("blendSrc=32769;blendDst=0;blendCol=-1,0.25,0.25,0.25;");
    unsetColour.applyBlend();
    GLfloat colour[4] = {};
    glGetFloatv(GL_BLEND_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[1], 0.5f);
    EXPECT_EQ(integerState(GL_BLEND_EQUATION), GL_FUNC_ADD);

    TestEffect set;
    set.setParams("blendSrc=32769;blendDst=0;blendCol=0.25,0.5,0.75,1;blendEq=32776;");
    set.applyBlend();
    glGetFloatv(GL_BLEND_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 0.25f);
    EXPECT_FLOAT_EQ(colour[2], 0.75f);
    EXPECT_EQ(integerState(GL_BLEND_EQUATION), GL_MAX);
    EXPECT_EQ(integerState(GL_BLEND_SRC), GL_CONSTANT_COLOR);
    glBlendEquation(GL_FUNC_ADD);
}

using MaterialStateTest = GLTest;

struct AppliedMaterial {
    GLfloat ambient[4], diffuse[4], specular[4], emission[4];
    GLfloat shininess;
    GLint shadeModel, polygonMode[2], twoSided;
    GLfloat lineWidth;
};

AppliedMaterial appliedMaterial()
{
    AppliedMaterial m{};
    glGetMaterialfv(GL_BACK, GL_AMBIENT, m.ambient);
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, m.diffuse);
    glGetMaterialfv(GL_FRONT, GL_SPECULAR, m.specular);
    glGetMaterialfv(GL_FRONT, GL_EMISSION, m.emission);
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &m.shininess);
    glGetIntegerv(GL_SHADE_MODEL, &m.shadeModel);
    glGetIntegerv(GL_POLYGON_MODE, m.polygonMode);
    glGetIntegerv(GL_LIGHT_MODEL_TWO_SIDE, &m.twoSided);
    glGetFloatv(GL_LINE_WIDTH, &m.lineWidth);
    return m;
}

// Reads `text` as a material (the messages of absent keys dropped) and
// applies it over a GL state that differs from every default.
AppliedMaterial applyText(const char* text)
{
    glShadeModel(GL_FLAT);
    glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
    glLineWidth(5.0f);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
    const GLfloat odd[4] = {0.3f, 0.3f, 0.3f, 0.3f};
    for (GLenum which : {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_EMISSION})
        glMaterialfv(GL_FRONT_AND_BACK, which, odd);
    testing::internal::CaptureStdout();
    MaterialState material;
    material.readMaterial(text, nullptr);
    testing::internal::GetCapturedStdout();
    material.applyMaterial();
    return appliedMaterial();
}

TEST_F(MaterialStateTest, AnEmptyTextAppliesTheDefaults)
{
    const AppliedMaterial m = applyText("");
    EXPECT_FLOAT_EQ(m.ambient[0], 0.2f);
    EXPECT_FLOAT_EQ(m.ambient[3], 1.0f);
    EXPECT_FLOAT_EQ(m.diffuse[1], 0.8f);
    EXPECT_FLOAT_EQ(m.specular[2], 0.0f);
    EXPECT_FLOAT_EQ(m.emission[0], 0.0f);
    EXPECT_FLOAT_EQ(m.emission[3], 1.0f);
    EXPECT_FLOAT_EQ(m.shininess, 0.0f);
    EXPECT_EQ(m.shadeModel, GL_SMOOTH);
    EXPECT_EQ(m.polygonMode[0], GL_FILL);
    EXPECT_EQ(m.twoSided, 0);
    EXPECT_FLOAT_EQ(m.lineWidth, 5.0f); // no glLineWidth call
}

TEST_F(MaterialStateTest, KeysOfAText)
{
    const AppliedMaterial m = applyText("shademodel = \"FLAT\"\npolygonmode = \"Line\"\ntwosided = \"true\"\n"
                                        "shininess = 12.5\nambient = 0.1, 0.2\nspecular = 1,1,1,0.5\n"
                                        "linewidth = 3\n");
    EXPECT_EQ(m.shadeModel, GL_FLAT);
    EXPECT_EQ(m.polygonMode[0], GL_LINE);
    EXPECT_EQ(m.twoSided, 1);
    EXPECT_FLOAT_EQ(m.shininess, 12.5f);
    // A short list fills only the leading components.
    EXPECT_FLOAT_EQ(m.ambient[1], 0.2f);
    EXPECT_FLOAT_EQ(m.ambient[2], 0.2f);
    EXPECT_FLOAT_EQ(m.specular[3], 0.5f);
    EXPECT_FLOAT_EQ(m.lineWidth, 3.0f);
}

TEST_F(MaterialStateTest, LineWidthOnlyForLines)
{
    const AppliedMaterial m = applyText("polygonmode = \"fill\"\nlinewidth = 3\nshademodel = \"gouraud\"\n");
    EXPECT_FLOAT_EQ(m.lineWidth, 5.0f);
    EXPECT_EQ(m.shadeModel, GL_SMOOTH); // an unknown word leaves the field
}

TEST(MaterialState, ReadsADataFileAndStartsOverEachTime)
{
    testsupport::EffectData data;
    data.write("shiny.cfg", "shininess = 40\nemission = 1,0,0,1\n");
    data.write("full.cfg", "shademodel = \"flat\"\npolygonmode = \"fill\"\ntwosided = \"false\"\nshininess = 4\n"
                           "ambient = 0,0,0,1\ndiffuse = 1,1,1,1\nspecular = 0,0,0,1\nemission = 0,0,0,1\n"
                           "linewidth = 1\n");
    testing::internal::CaptureStdout();
    MaterialState material;
    // The show's materials share their keys: the file with absent ones is
    // named, one that has them all is not.
    testing::internal::CaptureStderr();
    material.readMaterial("full.cfg", &data.resources);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(material.shadeModel, static_cast<unsigned>(GL_FLAT));
    testing::internal::CaptureStderr();
    material.readMaterial("shiny.cfg", &data.resources);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "shiny.cfg: 7 keys missing or unreadable, the defaults stay\n");
    EXPECT_FLOAT_EQ(material.shininess, 40.0f);
    EXPECT_FLOAT_EQ(material.emission[0], 1.0f);
    material.readMaterial("missing.cfg", &data.resources);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("File not found: data/missing.cfg"), std::string::npos);
    EXPECT_FLOAT_EQ(material.shininess, 0.0f);
    EXPECT_FLOAT_EQ(material.emission[0], 0.0f);
}

} // namespace
