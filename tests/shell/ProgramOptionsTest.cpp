#include "shell/ProgramOptions.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string contents(std::FILE* file)
{
    std::rewind(file);
    std::string text;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file))
        text.push_back(static_cast<char>(c));
    return text;
}

struct Parsed {
    shell::OptionsOutcome outcome;
    shell::ProgramOptions options;
    std::string out, err;
};

Parsed parse(std::vector<const char*> arguments)
{
    arguments.insert(arguments.begin(), "glint");
    Parsed parsed;
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    parsed.outcome = shell::parseProgramOptions(static_cast<int>(arguments.size()), arguments.data(), parsed.options,
                                                out, err);
    parsed.out = contents(out);
    parsed.err = contents(err);
    std::fclose(out);
    std::fclose(err);
    return parsed;
}

} // namespace

TEST(ProgramOptionsTest, ArgumentsJoinIntoTheShowsCommandLine)
{
    struct Case {
        std::vector<const char*> arguments;
        const char* commandLine;
        bool headless;
        bool pack = false;
        bool author = false;
    };
    const Case cases[] = {
        {{}, "", false},
        {{"/w/s3"}, "/w/s3", false},
        {{"/w", "/s3"}, "/w /s3", false},
        {{"w/m", "f25"}, "w/m f25", false},
        {{"--headless"}, "", true},
        // Options are taken out wherever they stand.
        {{"/w", "--headless", "/z2"}, "/w /z2", true},
        {{"--pack", "/w"}, "/w", false, true},
        {{"/w", "--author"}, "/w", false, false, true},
        // A single dash is no option of the program.
        {{"-w"}, "-w", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commandLine);
        Parsed parsed = parse(c.arguments);
        EXPECT_TRUE(parsed.outcome.run);
        EXPECT_EQ(parsed.options.commandLine, c.commandLine);
        EXPECT_EQ(parsed.options.headless, c.headless);
        EXPECT_EQ(parsed.options.pack, c.pack);
        EXPECT_EQ(parsed.options.author, c.author);
        EXPECT_EQ(parsed.out, "");
        EXPECT_EQ(parsed.err, "");
    }
}

TEST(ProgramOptionsTest, HelpAndVersionPrintAndEndWithSuccess)
{
    Parsed help = parse({"/w", "--help", "--bogus"});
    EXPECT_FALSE(help.outcome.run);
    EXPECT_EQ(help.outcome.exitStatus, 0);
    EXPECT_EQ(help.out.rfind("usage: glint", 0), 0u);
    EXPECT_NE(help.out.find("--headless"), std::string::npos);
    // The author keys, filled into their place.
    EXPECT_NE(help.out.find("--author"), std::string::npos);
    EXPECT_NE(help.out.find("  PgUp/PgDn  previous / next scene\n"), std::string::npos);
    EXPECT_EQ(help.out.find("%s"), std::string::npos);
    EXPECT_EQ(help.err, "");

    Parsed version = parse({"--version"});
    EXPECT_FALSE(version.outcome.run);
    EXPECT_EQ(version.outcome.exitStatus, 0);
    EXPECT_EQ(version.out, std::string("glint ") + GLINT_VERSION + "\n");
}

TEST(ProgramOptionsTest, UnknownOptionsAreUsageErrors)
{
    for (const char* option : {"--bogus", "--", "--help=1", "--HEADLESS", "--headless2"}) {
        SCOPED_TRACE(option);
        Parsed parsed = parse({"/w", option, "--help"});
        EXPECT_FALSE(parsed.outcome.run);
        EXPECT_EQ(parsed.outcome.exitStatus, 2);
        EXPECT_EQ(parsed.out, "");
        std::string firstLine = parsed.err.substr(0, parsed.err.find('\n'));
        EXPECT_EQ(firstLine, std::string("glint: unknown option '") + option + "'");
        EXPECT_NE(parsed.err.find("usage: glint"), std::string::npos);
    }
}

TEST(ProgramOptionsTest, CodecShotAndBenchValues)
{
    struct Case {
        std::vector<const char*> arguments;
        const char* codec;
        std::vector<std::pair<double, std::string>> shots;
        int benchFrames;
        const char* commandLine;
    };
    const Case cases[] = {
        {{"/w"}, "mjpeg", {}, 0, "/w"},
        {{"--codec", "ffv1", "/m"}, "ffv1", {}, 0, "/m"},
        {{"--codec=rawvideo"}, "rawvideo", {}, 0, ""},
        {{"--codec", "h264", "/m"}, "h264", {}, 0, "/m"},
        // Later options override earlier ones; shots add up, in their order.
        {{"--codec", "ffv1", "--codec=mjpeg"}, "mjpeg", {}, 0, ""},
        {{"--shot", "2.5:b.png", "/s3", "--shot=0:a:1.png"}, "mjpeg", {{2.5, "b.png"}, {0.0, "a:1.png"}}, 0, "/s3"},
        {{"--bench"}, "mjpeg", {}, 100, ""},
        {{"--bench=7", "/t3"}, "mjpeg", {}, 7, "/t3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commandLine);
        Parsed parsed = parse(c.arguments);
        ASSERT_TRUE(parsed.outcome.run) << parsed.err;
        EXPECT_EQ(parsed.options.codec, c.codec);
        ASSERT_EQ(parsed.options.shots.size(), c.shots.size());
        for (size_t i = 0; i < c.shots.size(); ++i) {
            EXPECT_EQ(parsed.options.shots[i].seconds, c.shots[i].first);
            EXPECT_EQ(parsed.options.shots[i].file, c.shots[i].second);
        }
        EXPECT_EQ(parsed.options.benchFrames, c.benchFrames);
        EXPECT_EQ(parsed.options.commandLine, c.commandLine);
        EXPECT_EQ(parsed.err, "");
    }
}

TEST(ProgramOptionsTest, BadValuesAreRefusedBeforeAnythingRuns)
{
    const struct {
        std::vector<const char*> arguments;
        const char* firstLine;
    } cases[] = {
        {{"--codec", "vp9"}, "glint: unknown codec 'vp9' (valid codecs: mjpeg, ffv1, rawvideo, h264)"},
        {{"--codec=MJPEG"}, "glint: unknown codec 'MJPEG' (valid codecs: mjpeg, ffv1, rawvideo, h264)"},
        {{"/w", "--codec"}, "glint: option '--codec' needs a value"},
        {{"--shot"}, "glint: option '--shot' needs a value"},
        {{"--shot", "a.png"}, "glint: bad --shot 'a.png': expected SECONDS:FILE.png"},
        {{"--shot", "3:"}, "glint: bad --shot '3:': expected SECONDS:FILE.png"},
        {{"--shot", ":a.png"}, "glint: bad --shot ':a.png': expected SECONDS:FILE.png"},
        {{"--shot", "-1:a.png"}, "glint: bad --shot '-1:a.png': '-1' is no number of seconds (0 or more)"},
        {{"--shot", "nan:a.png"}, "glint: bad --shot 'nan:a.png': 'nan' is no number of seconds (0 or more)"},
        {{"--shot", "2s:a.png"}, "glint: bad --shot '2s:a.png': '2s' is no number of seconds (0 or more)"},
        {{"--shot", "1e999:a.png"}, "glint: bad --shot '1e999:a.png': '1e999' is no number of seconds (0 or more)"},
        {{"--bench=0"}, "glint: bad --bench '0': expected a number of frames, 1 or more"},
        {{"--bench=x"}, "glint: bad --bench 'x': expected a number of frames, 1 or more"},
        {{"--bench="}, "glint: bad --bench '': expected a number of frames, 1 or more"},
        {{"--bench=99999999999"}, "glint: bad --bench '99999999999': expected a number of frames, 1 or more"},
        {{"--headless=1"}, "glint: unknown option '--headless=1'"},
        {{"--bench", "--shot", "1:a.png"}, "glint: --bench and --shot do not go together"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.firstLine);
        Parsed parsed = parse(c.arguments);
        EXPECT_FALSE(parsed.outcome.run);
        EXPECT_EQ(parsed.outcome.exitStatus, 2);
        EXPECT_EQ(parsed.out, "");
        EXPECT_EQ(parsed.err.substr(0, parsed.err.find('\n')), c.firstLine);
        EXPECT_NE(parsed.err.find("usage: glint"), std::string::npos);
    }
}
