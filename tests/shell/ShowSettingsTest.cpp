#include "shell/ShowSettings.h"

#include <gtest/gtest.h>

using shell::ShowSettings;

namespace {

struct SwitchCase {
    const char* commandLine;
    ShowSettings expected;
    bool seedWithTime;
};

ShowSettings with(void (*change)(ShowSettings&))
{
    ShowSettings settings;
    change(settings);
    return settings;
}

void expectSame(const ShowSettings& actual, const ShowSettings& expected)
{
    EXPECT_EQ(actual.fullScreen, expected.fullScreen);
    EXPECT_EQ(actual.quality, expected.quality);
    EXPECT_EQ(actual.startScene, expected.startScene);
    EXPECT_FLOAT_EQ(actual.timeOffset, expected.timeOffset);
    EXPECT_EQ(actual.captureFrameRate, expected.captureFrameRate);
    EXPECT_EQ(actual.width, expected.width);
    EXPECT_EQ(actual.height, expected.height);
    EXPECT_EQ(actual.captureAtStart, expected.captureAtStart);
}

} // namespace

TEST(ShowSettingsTest, DefaultsAreAFullScreen640x480RunFromTheFirstScene)
{
    ShowSettings settings;
    EXPECT_TRUE(settings.fullScreen);
    EXPECT_TRUE(settings.quality);
    EXPECT_EQ(settings.startScene, -1);
    EXPECT_FLOAT_EQ(settings.timeOffset, -0.01f);
    EXPECT_EQ(settings.captureFrameRate, 20);
    EXPECT_EQ(settings.width, 640);
    EXPECT_EQ(settings.height, 480);
    EXPECT_FALSE(settings.captureAtStart);
}

TEST(ShowSettingsTest, SwitchesApplyInOrder)
{
    const SwitchCase cases[] = {
        // A single slash is a command line without switches: all defaults.
        {"/", ShowSettings{}, false},
        {"//", ShowSettings{}, false},
        {"/w/s3/t12.5", with([](ShowSettings& s) { s.fullScreen = false, s.startScene = 3, s.timeOffset = 12.5f; }),
         false},
        {"w/m/f25", with([](ShowSettings& s) { s.fullScreen = false, s.captureAtStart = true, s.captureFrameRate = 25; }),
         false},
        {"/g", with([](ShowSettings& s) { s.quality = false; }), false},
        {"/r", ShowSettings{}, true},
        {"/w/r/s1", with([](ShowSettings& s) { s.fullScreen = false, s.startScene = 1; }), true},
        // Screen sizes; 7 and a missing number fall back to 640 x 480.
        {"/z1", with([](ShowSettings& s) { s.width = 800, s.height = 600; }), false},
        {"/z2", with([](ShowSettings& s) { s.width = 1024, s.height = 768; }), false},
        {"/z3", with([](ShowSettings& s) { s.width = 1280, s.height = 960; }), false},
        {"/z7", ShowSettings{}, false},
        {"/z", ShowSettings{}, false},
        {"/z2/z7", ShowSettings{}, false},
        // s without a number starts at scene 0, not at the default -1.
        {"/s", with([](ShowSettings& s) { s.startScene = 0; }), false},
        {"/sx", with([](ShowSettings& s) { s.startScene = 0; }), false},
        {"/s-2", with([](ShowSettings& s) { s.startScene = -2; }), false},
        {"/t", with([](ShowSettings& s) { s.timeOffset = 0; }), false},
        {"/t-3.25", with([](ShowSettings& s) { s.timeOffset = -3.25f; }), false},
        // Later switches override earlier ones.
        {"/s3/s5", with([](ShowSettings& s) { s.startScene = 5; }), false},
        {"/z1/z3", with([](ShowSettings& s) { s.width = 1280, s.height = 960; }), false},
        // Blanks stay inside a switch: atoi skips leading blanks, and a
        // switch that starts with a blank is no switch.
        {"/s 4/w ", with([](ShowSettings& s) { s.startScene = 4, s.fullScreen = false; }), false},
        {"/ w/s4", with([](ShowSettings& s) { s.startScene = 4; }), false},
        {"/s4 /z2", with([](ShowSettings& s) { s.startScene = 4, s.width = 1024, s.height = 768; }), false},
        // Unknown switches and upper case are ignored; the argument of w is.
        {"/x/W/S3/wfoo", with([](ShowSettings& s) { s.fullScreen = false; }), false},
        // A capture rate below 1 would stop the capture clock: it is ignored.
        {"/f0", ShowSettings{}, false},
        {"/f30/f-5", with([](ShowSettings& s) { s.captureFrameRate = 30; }), false},
        // Above the top rate the video's frame times stop increasing; a
        // number past int must not wrap round into a valid one.
        {"/f1000", with([](ShowSettings& s) { s.captureFrameRate = 1000; }), false},
        {"/f1001", ShowSettings{}, false},
        {"/f99999999999", ShowSettings{}, false},
        {"/fx", ShowSettings{}, false},
        // A time offset must let the show clock run and end.
        {"/t3600", with([](ShowSettings& s) { s.timeOffset = 3600; }), false},
        {"/tnan", ShowSettings{}, false},
        {"/tinf", ShowSettings{}, false},
        {"/t-1e30", ShowSettings{}, false},
        {"/t12/t3601", with([](ShowSettings& s) { s.timeOffset = 12; }), false},
    };
    for (const SwitchCase& c : cases) {
        SCOPED_TRACE(c.commandLine);
        ShowSettings settings;
        EXPECT_EQ(shell::applySwitches(c.commandLine, settings), c.seedWithTime);
        expectSame(settings, c.expected);
    }
}

TEST(ShowSettingsTest, SwitchesChangeOnlyWhatTheyName)
{
    ShowSettings settings;
    settings.width = 1024;
    settings.height = 768;
    settings.fullScreen = false;
    shell::applySwitches("/s2", settings);
    EXPECT_EQ(settings.width, 1024);
    EXPECT_FALSE(settings.fullScreen);
    EXPECT_EQ(settings.startScene, 2);
}
