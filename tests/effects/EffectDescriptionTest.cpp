#include "effects/TestEffect.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

TEST(EffectDescription, ValuesTypeRegisteredParametersAndApplyDefaults)
{
    TestEffect effect;
    effect.describe("<anything>"
                    "<value default=\"12\" type=\"int\" name=\"count\"/>"
                    "<group><value name=\"caption\" type=\"string\" default=\"a b\"/></group>"
                    "<value name=\"unregistered\" type=\"int\" default=\"3\"/>"
                    "<value name=\"speed\" type=\"double\" default=\"2\"/>"
                    "<value name=\"colour\" default=\"1,2,3,4\"/>"
                    "<value name=\"axis\" type=\"Array3\"/>"
                    "</anything>");
    EXPECT_EQ(effect.count, 12);           // attributes in any order
    EXPECT_EQ(effect.caption, "a b");      // nested anywhere; defaults are set as is
    EXPECT_EQ(effect.params.count("unregistered"), 0u);
    struct Row {
        const char* name;
        int type;
    };
    const Row rows[] = {{"count", paramInt}, {"caption", paramString}, {"speed", paramNone},
                        {"colour", paramNone}, {"axis", paramNone}, {"blendSrc", paramInt}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(effect.params.at(row.name).type, row.type);
    }
    // Without a valid type, text can no longer set the parameter.
    EXPECT_FLOAT_EQ(effect.speed, 0.0f);
    EXPECT_EQ(effect.setParams("speed=4;colour=1,1,1,1;"), 0);
    EXPECT_FLOAT_EQ(effect.colour[0], 0.0f);
}

TEST(EffectDescription, ATypeThatDoesNotFitTheStorageLeavesTheParameterUntyped)
{
    // Text must never be written into storage of another kind: an int read
    // as a string, three floats as four.
    TestEffect effect;
    effect.describe("<e><value name=\"count\" type=\"string\" default=\"a long caption text\"/>"
                    "<value name=\"axis\" type=\"array4\" default=\"1,2,3,4\"/>"
                    "<value name=\"caption\" type=\"float\" default=\"2\"/>"
                    "<value name=\"blendSrc\" type=\"float\"/></e>");
    for (const char* name : {"count", "axis", "caption", "blendSrc"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(effect.params.at(name).type, paramNone);
    }
    EXPECT_EQ(effect.count, 0);
    EXPECT_FLOAT_EQ(effect.axis[0], 0.0f);
    EXPECT_TRUE(effect.caption.empty());
    EXPECT_EQ(effect.setParams("count=1;axis=1,2,3;caption=x;blendSrc=1;"), 0);
}

TEST(EffectDescription, VarsTakeDefaultsAndRanges)
{
    TestEffect effect;
    effect.describe("<effect><var name=\"plain\"/>"
                    "<var name=\"ranged\" default=\"0.5\" min=\"-1\" max=\"3\"/>"
                    "<var name=\"again\" default=\"7\"/><var name=\"again\" max=\"2\"/></effect>");
    const EffectVar* plain = effect.findVar("plain");
    ASSERT_NE(plain, nullptr);
    EXPECT_FLOAT_EQ(plain->value, 0.0f);
    EXPECT_FLOAT_EQ(plain->min, 0.0f);
    EXPECT_FLOAT_EQ(plain->max, 1.0f);
    const EffectVar* ranged = effect.findVar("ranged");
    ASSERT_NE(ranged, nullptr);
    EXPECT_FLOAT_EQ(ranged->value, 0.5f);
    EXPECT_FLOAT_EQ(ranged->min, -1.0f);
    EXPECT_FLOAT_EQ(ranged->max, 3.0f);
    // A later var of the same name replaces the earlier one entirely.
    const EffectVar* again = effect.findVar("again");
    ASSERT_NE(again, nullptr);
    EXPECT_FLOAT_EQ(again->value, 0.0f);
    EXPECT_FLOAT_EQ(again->max, 2.0f);
    EXPECT_EQ(effect.findVar("Plain"), nullptr);
}

TEST(EffectDescription, RedeclaringAVarKeepsReferencesValid)
{
    TestEffect effect;
    effect.describe("<e><var name=\"x\" default=\"1\"/></e>");
    EffectVar& kept = effect.lookUpVar("x");
    kept.keys.push_back(VarKey{});
    effect.describe("<e><var name=\"x\" default=\"2\"/></e>");
    EXPECT_EQ(&kept, effect.findVar("x"));
    EXPECT_FLOAT_EQ(kept.value, 2.0f);
    EXPECT_TRUE(kept.keys.empty());
}

TEST(EffectDescription, AParseErrorKeepsWhatCameBefore)
{
    TestEffect effect;
    effect.describe("<e><value name=\"count\" type=\"int\" default=\"5\"/><var name=\"x\"/>"
                    "<broken <var name=\"y\"/></e>");
    EXPECT_EQ(effect.count, 5);
    EXPECT_NE(effect.findVar("x"), nullptr);
    EXPECT_EQ(effect.findVar("y"), nullptr);
}

TEST(EffectDescription, FilesAreReadFromDiskAndAMissingOneChangesNothing)
{
    const std::string path = ::testing::TempDir() + "effect_description_test.xml";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("<effect><value name=\"count\" type=\"int\" default=\"9\"/><var name=\"x\"/></effect>", file);
    std::fclose(file);

    TestEffect effect;
    effect.readDescriptionFile(path.c_str());
    EXPECT_EQ(effect.count, 9);
    EXPECT_NE(effect.findVar("x"), nullptr);

    TestEffect missing;
    missing.readDescriptionFile((path + ".absent").c_str());
    EXPECT_TRUE(missing.vars.empty());
    EXPECT_EQ(missing.params.at("count").type, paramNone);
    EXPECT_EQ(missing.setParams("count=3;blendSrc=1;"), 1);
    std::remove(path.c_str());
}

} // namespace
