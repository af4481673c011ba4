// The metaball cloud's and the finale's generated data, played through the
// show's own script player the way their scenes play it: the cloud's movie
// uses every camera, morphs and fades out without reaching the level at
// which the fade stops; the finale's pen lifts only once the banner is full
// (a lifted pen under a faint banner darkens the frame), ends lifted before
// the closing second, and writes on the screen below the banner.
#include "resources/ImageDecoding.h"
#include "swf/swfScript.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kDataDir = std::string(GLINT_BINARY_DIR) + "/data/";

std::vector<uint8_t> readBytes(const std::string& name)
{
    std::ifstream in(kDataDir + name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

TEST(SceneMoviesData, CloudMovieUsesEveryCameraMorphsAndFadesToNearlyBlack)
{
    const std::vector<uint8_t> bytes = readBytes("alphametaballs.swf");
    swfScript script(bytes.data(), bytes.size());
    std::set<std::string> cameras;
    int morphs = 0;
    script.registerCommand("setCamera", [&](swfMovie&, const swfArguments& a) {
        cameras.insert(a.at(1));
        return 0;
    });
    script.registerCommand("doK", [&](swfMovie&, const swfArguments&) { return ++morphs, 0; });
    float fade[4] = {1, 1, 1, 1};
    script.bindColour(1, fade);
    float strongest = 0.0f;
    for (double frame = 0.0; frame < 96.0; frame += 0.25) {   // two frames a beat, 48 beats
        script.update(frame);
        if (frame < 88.0) {
            EXPECT_EQ(fade[3], 0.0f) << frame;
        }
        strongest = std::max(strongest, fade[3]);
    }
    EXPECT_EQ(cameras, (std::set<std::string>{"slideForward", "upperCorner", "Camera01", "lowerCorner",
                                              "slideBack", "lastCamera"}));
    EXPECT_GE(morphs, 1);
    EXPECT_GT(strongest, 0.95f);
    EXPECT_LT(strongest, 0.996f);
}

TEST(SceneMoviesData, CloudShapeIsALetterOfDarkPixels)
{
    const std::vector<uint8_t> bytes = readBytes("k32b.jpg");
    std::vector<uint8_t> rgb(32 * 32 * 3);
    int width = 0, height = 0;
    ASSERT_TRUE(resources::decodeJpegSize(bytes.data(), bytes.size(), width, height));
    ASSERT_EQ(width, 32);
    ASSERT_EQ(height, 32);
    ASSERT_TRUE(resources::decodeJpegPixels(bytes.data(), bytes.size(), rgb.data()));
    int dark = 0;
    for (size_t i = 0; i < rgb.size(); i += 3)
        dark += rgb[i] < 100;
    EXPECT_GT(dark, 32 * 32 / 8);
    EXPECT_LT(dark, 32 * 32 / 2);
}

TEST(SceneMoviesData, FinalePenLiftsUnderAFullBannerAndEndsLifted)
{
    const std::vector<uint8_t> bytes = readBytes("fluid.swf");
    swfScript script(bytes.data(), bytes.size());
    bool down = true;
    int lifts = 0;
    float bannerAtFirstLift = -1.0f;
    float pen[2] = {0, 0};
    float banner[4] = {0, 0, 0, 0};
    script.registerCommand("endLine", [&](swfMovie&, const swfArguments&) {
        down = !down;
        if (!down && lifts++ == 0)
            bannerAtFirstLift = banner[3];
        return 0;
    });
    script.bindPosition(1, pen);
    script.bindColour(2, banner);
    // 22 beats at 108 a minute, 80 movie frames a second; the closing second
    // fades to black.
    const double length = 22.0 * 60.0 / 108.0 * 80.0;
    double lastStroke = 0.0;
    for (double frame = 0.0; frame < length; frame += 0.5) {
        script.update(frame);
        if (down) {
            lastStroke = frame;
            EXPECT_GT(pen[1] - 50.0f, 150.0f) << "below the banner, at frame " << frame;
            EXPECT_LT(pen[1] - 50.0f, 440.0f) << frame;
            EXPECT_GT(pen[0], 0.0f) << frame;
            EXPECT_LT(pen[0], 640.0f) << frame;
        }
    }
    EXPECT_GT(lifts, 3);
    EXPECT_GE(bannerAtFirstLift, 0.999f);
    EXPECT_FALSE(down);
    EXPECT_LT(lastStroke, length - 80.0);
}
