#include "effects/TestEffect.h"

#include <gtest/gtest.h>

namespace {

class EffectParamTest : public ::testing::Test {
protected:
    void SetUp() override { effect.describe(testEffectDescription()); }
    TestEffect effect;
};

TEST_F(EffectParamTest, SetParamsCountsOnlyAssignmentsEndedBySemicolons)
{
    struct Row {
        const char* text;
        int accepted;
        int count;
        float speed;
    };
    const Row rows[] = {
        {"count=1;speed=2", 1, 1, 0.0f},   // the last assignment lacks its ";"
        {"count=1;speed=2;", 2, 1, 2.0f},
        {" count = 3 ; speed = 4.5 ;", 2, 3, 4.5f}, // blanks around names and values
        {"count=5;nothing=1;speed=6;", 2, 5, 6.0f},  // an unknown name is not counted
        {"count", 0, 0, 0.0f},              // no "=" at all
        {"count=7", 0, 0, 0.0f},
        {"", 0, 0, 0.0f},
        {"count=8;;speed=9;", 1, 8, 0.0f},  // a stray ";" joins the next name: ";speed"
        {"count=abc;", 1, 0, 0.0f},         // atoi: no digits give 0, still accepted
        {"Count=4;", 0, 0, 0.0f},           // names are case-sensitive
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        TestEffect fresh;
        fresh.describe(testEffectDescription());
        EXPECT_EQ(fresh.setParams(row.text), row.accepted);
        EXPECT_EQ(fresh.count, row.count);
        EXPECT_FLOAT_EQ(fresh.speed, row.speed);
    }
}

TEST_F(EffectParamTest, QuotesKeepBlanksInValues)
{
    EXPECT_EQ(effect.setParams("caption=\"two words\";"), 1);
    EXPECT_EQ(effect.caption, "two words");
    EXPECT_EQ(effect.setParams("caption=two words;"), 1);
    EXPECT_EQ(effect.caption, "twowords");
    EXPECT_EQ(effect.setParams("caption=\" a \"b c;"), 1);
    EXPECT_EQ(effect.caption, " a bc");
}

TEST_F(EffectParamTest, BlendingParametersAreSetByName)
{
    EXPECT_EQ(effect.setParams("blendSrc=770;"), 1);
    EXPECT_EQ(effect.blendSrc, 770);
    EXPECT_EQ(effect.setParams("noSuchThing=770;"), 0);
    EXPECT_EQ(effect.setParams("blendCol=0.5,0.25,1,0;"), 1);
    EXPECT_FLOAT_EQ(effect.blendCol[1], 0.25f);
    EXPECT_FLOAT_EQ(effect.blendCol[3], 0.0f);
}

TEST_F(EffectParamTest, NumberLists)
{
    struct Row {
        const char* text;
        int result;
        float colour[4];
    };
    const Row rows[] = {
        {"1,2,3,4", 0, {1, 2, 3, 4}},
        {"1, 2 ,3 , 4", 0, {1, 2, 3, 4}},
        {"1,2", 1, {1, 2, 9, 9}},          // the two given are stored, yet it fails
        {"1,2,3,4,5", 0, {1, 2, 3, 4}},     // stops at the fourth comma
        {"1,2,3,4,junk", 0, {1, 2, 3, 4}},
        {"1,2,3,", 0, {1, 2, 3, 0}},        // an empty last token is atof("") = 0
        {"", 1, {0, 9, 9, 9}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        for (float& c : effect.colour)
            c = 9.0f;
        EXPECT_EQ(effect.setParam("colour", row.text), row.result);
        for (int i = 0; i < 4; ++i)
            EXPECT_FLOAT_EQ(effect.colour[i], row.colour[i]) << "component " << i;
    }
}

TEST_F(EffectParamTest, EachListParseStartsFromAnEmptyToken)
{
    // A parse that stops mid-token ("5" after the fourth comma) leaves
    // nothing behind for the next one.
    EXPECT_EQ(effect.setParam("colour", "1,2,3,4,5"), 0);
    EXPECT_EQ(effect.setParam("axis", "7,8,9"), 0);
    EXPECT_FLOAT_EQ(effect.axis[0], 7.0f);
    EXPECT_FLOAT_EQ(effect.axis[2], 9.0f);
    EXPECT_EQ(effect.setParams("axis=1,2,3;colour=4,5,6,7;"), 2);
    EXPECT_FLOAT_EQ(effect.colour[0], 4.0f);
    EXPECT_FLOAT_EQ(effect.axis[2], 3.0f);
}

TEST_F(EffectParamTest, VarsTakeTheirDefaultWhenNoParameterHasTheName)
{
    EXPECT_EQ(effect.setParams("x=1.25;"), 1);
    EXPECT_FLOAT_EQ(effect.findVar("x")->value, 1.25f);

    // A name that is both a parameter and a var sets only the parameter.
    effect.declareVar("speed", 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(effect.setParams("speed=3;"), 1);
    EXPECT_FLOAT_EQ(effect.speed, 3.0f);
    EXPECT_FLOAT_EQ(effect.findVar("speed")->value, 0.0f);
}

} // namespace
