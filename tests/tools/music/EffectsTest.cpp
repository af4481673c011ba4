#include "music/Dynamics.h"
#include "music/Effects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace music;

namespace {

size_t loudestAt(const std::vector<float>& v, size_t from, size_t to)
{
    return static_cast<size_t>(std::max_element(v.begin() + from, v.begin() + to,
                                                [](float a, float b) { return std::fabs(a) < std::fabs(b); }) -
                               v.begin());
}

double energy(const std::vector<float>& v, size_t from, size_t to)
{
    double e = 0;
    for (size_t i = from; i < to; ++i)
        e += static_cast<double>(v[i]) * v[i];
    return e;
}

} // namespace

// A click sent into the echo comes back on the left after one delay, on the
// right after two, and each repeat is quieter than the one before.
TEST(MusicEffects, PingPongEchoAlternatesSidesAndFades)
{
    const int delay = 1000, n = 5000;
    PingPongDelay echo(delay, 0.5f);
    std::vector<float> sendLeft(n, 0.0f), sendRight(n, 0.0f), left(n, 0.0f), right(n, 0.0f);
    sendLeft[0] = sendRight[0] = 1.0f;
    echo.process(sendLeft.data(), sendRight.data(), left.data(), right.data(), n);

    const size_t first = loudestAt(left, 0, 1500), second = loudestAt(right, 0, 2500);
    const size_t third = loudestAt(left, 2500, 3500);
    EXPECT_NEAR(static_cast<double>(first), delay, 3);
    EXPECT_NEAR(static_cast<double>(second), 2 * delay, 6);
    EXPECT_NEAR(static_cast<double>(third), 3 * delay, 9);
    EXPECT_LT(energy(right, 0, 1500), 1e-9) << "the first echo must be on the left only";
    EXPECT_GT(std::fabs(left[first]), std::fabs(right[second]));
    EXPECT_GT(std::fabs(right[second]), std::fabs(left[third]));
}

// The reverb's tail starts after the pre-delay, dies away, and differs
// between the sides (that difference is the width it adds).
TEST(MusicEffects, ReverbTailDecaysAndIsWide)
{
    const int n = 3 * 44100;
    Reverb reverb(0.85f, 0.4f);
    std::vector<float> send(n, 0.0f), left(n, 0.0f), right(n, 0.0f);
    for (int i = 0; i < 64; ++i)
        send[i] = (i % 2 == 0) ? 1.0f : -1.0f;   // a short burst, above the reverb's low cut
    reverb.process(send.data(), send.data(), left.data(), right.data(), n);

    EXPECT_LT(energy(left, 0, 800), 1e-12) << "nothing before the pre-delay";
    const double early = energy(left, 0, 44100), late = energy(left, 2 * 44100, n);
    EXPECT_GT(early, 1e-4);
    EXPECT_LT(late, early * 1e-3);
    double difference = 0;
    for (int i = 0; i < 44100; ++i)
        difference += (left[i] - right[i]) * (left[i] - right[i]);
    EXPECT_GT(difference, 0.1 * early);
}

// Above the threshold the compressor takes away (1 - 1/ratio) of the
// excess; below it only the make-up gain applies.
TEST(MusicEffects, CompressorFollowsItsCurve)
{
    struct Case {
        float levelDb;
        float expectedGainDb;
    };
    const float threshold = -12.0f, ratio = 2.0f, makeup = 2.0f;
    const Case cases[] = {
        {-24.0f, makeup},
        {-12.0f, makeup},
        {-2.0f, makeup - 10.0f * (1.0f - 1.0f / ratio)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.levelDb);
        Compressor compressor(threshold, ratio, 0.005, 0.1, makeup);
        const float level = std::pow(10.0f, c.levelDb / 20.0f);
        const int n = 44100;
        std::vector<float> left(n, level), right(n, -level);   // a steady level the detector settles on
        compressor.process(left.data(), right.data(), n);
        const float gainDb = 20.0f * std::log10(std::fabs(left[n - 1]) / level);
        EXPECT_NEAR(gainDb, c.expectedGainDb, 0.2f);
        EXPECT_FLOAT_EQ(left[n - 1], -right[n - 1]);
    }
}
