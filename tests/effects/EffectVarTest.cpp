#include "effects/EffectVar.h"

#include <gtest/gtest.h>

namespace {

VarKey key(int type, float time, float value, float tension = 0, float continuity = 0, float bias = 0)
{
    VarKey k;
    k.type = type;
    k.time = time;
    k.value = value;
    k.tension = tension;
    k.continuity = continuity;
    k.bias = bias;
    return k;
}

struct Sample {
    float time;
    float value;
};

void expectSamples(const EffectVar& var, std::initializer_list<Sample> samples)
{
    for (const Sample& s : samples) {
        SCOPED_TRACE(::testing::Message() << "t = " << s.time);
        EXPECT_NEAR(var.evaluate(s.time), s.value, 1e-5);
    }
}

TEST(EffectVar, WithoutKeysItIsItsDefault)
{
    EffectVar var;
    var.value = 0.75f;
    expectSamples(var, {{-1, 0.75f}, {0, 0.75f}, {1000, 0.75f}});
}

TEST(EffectVar, LinearKeysMappedIntoARange)
{
    // Written values 0 and 1 in a var of range [0, 2] are stored as 0 and 2.
    EffectVar var;
    var.max = 2.0f;
    var.keys = {key(keyLinear, 0, 0), key(keyLinear, 4, 2)};
    var.prepareKeys();
    expectSamples(var, {{-3, 0}, {0, 0}, {1, 0.5f}, {2, 1}, {3.999f, 1.9995f}, {4, 2}, {10, 2}});
}

TEST(EffectVar, StepKeysHoldUntilTheNextKey)
{
    EffectVar var;
    var.keys = {key(keyStep, 1, 0.25f), key(keyStep, 3, 0.75f), key(keyLinear, 5, 0.5f)};
    var.prepareKeys();
    expectSamples(var, {{0, 0.25f}, {1, 0.25f}, {2.999f, 0.25f}, {3, 0.75f}, {4.9f, 0.75f}, {5, 0.5f}});
}

TEST(EffectVar, TwoTcbKeysFollowTheQuartic)
{
    EffectVar var;
    var.keys = {key(keyTCB, 0, 0), key(keyTCB, 4, 1)};
    var.prepareKeys();
    EXPECT_FLOAT_EQ(var.keys[0].outTangent, 1.0f);
    EXPECT_FLOAT_EQ(var.keys[1].inTangent, 1.0f);
    // y = s^2 (3 + 1) - s^3 (2 + 2 + 1) + s^4 (1 + 1)
    expectSamples(var, {{0, 0}, {1, 0.1796875f}, {2, 0.5f}, {3, 0.7734375f}, {4, 1}});
}

TEST(EffectVar, TangentsOfAThreeKeyCurve)
{
    EffectVar var;
    var.keys = {key(keyTCB, 0, 0), key(keyTCB, 1, 1), key(keyTCB, 2, 0)};
    var.prepareKeys();
    EXPECT_FLOAT_EQ(var.keys[0].outTangent, 1.5f); // bent by the key after the next
    EXPECT_FLOAT_EQ(var.keys[1].inTangent, 0.0f);
    EXPECT_FLOAT_EQ(var.keys[1].outTangent, 0.0f);
    EXPECT_FLOAT_EQ(var.keys[2].inTangent, -1.5f);
}

TEST(EffectVar, InnerTangentsUseContinuityAndBias)
{
    EffectVar var;
    var.keys = {key(keyTCB, 0, 0), key(keyTCB, 1, 1, 0.0f, 0.5f, -0.5f), key(keyLinear, 2, 4)};
    var.prepareKeys();
    // before = 1, after = 3
    EXPECT_FLOAT_EQ(var.keys[1].inTangent, 0.5f * 0.5f / 2 * 1 + 1.5f * 1.5f / 2 * 3);
    EXPECT_FLOAT_EQ(var.keys[1].outTangent, 0.5f * 1.5f / 2 * 1 + 1.5f * 0.5f / 2 * 3);
    EXPECT_FLOAT_EQ(var.keys[0].outTangent, 1.5f * 1 - 0.5f * 4);
}

TEST(EffectVar, CurvesNextToOtherSegmentsUseStraightSlopes)
{
    // A curve whose next key is not TCB leaves straight towards it.
    EffectVar into;
    into.keys = {key(keyTCB, 0, 0, 0.5f), key(keyLinear, 1, 2), key(keyLinear, 2, 10)};
    into.prepareKeys();
    EXPECT_FLOAT_EQ(into.keys[0].outTangent, 0.5f * 2);

    // The last key, reached from a curve that itself follows a non-TCB
    // segment, arrives straight from the key before it.
    EffectVar after;
    after.keys = {key(keyLinear, 0, 0), key(keyTCB, 1, 1), key(keyTCB, 2, 3)};
    after.prepareKeys();
    EXPECT_FLOAT_EQ(after.keys[2].inTangent, 2.0f);
}

TEST(EffectVar, SingleKeysAndUnknownSegments)
{
    EffectVar single;
    single.value = 9.0f;
    single.keys = {key(keyTCB, 2, 0.3f)};
    single.prepareKeys();
    EXPECT_FLOAT_EQ(single.keys[0].outTangent, 0.0f);
    expectSamples(single, {{0, 0.3f}, {2, 0.3f}, {5, 0.3f}});

    EffectVar unknown;
    unknown.keys = {key(-1, 0, 0.2f), key(keyLinear, 2, 0.4f)};
    unknown.prepareKeys();
    expectSamples(unknown, {{1, 1.0f}, {2, 0.4f}});
}

} // namespace
