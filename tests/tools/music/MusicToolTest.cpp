#include "support/RunTool.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using testsupport::ToolRun;

ToolRun runTool(const std::string& arguments)
{
    return testsupport::runGlintTool(arguments, testsupport::ToolErrors::merged);
}

std::string scratch(const char* name)
{
    return std::string(GLINT_BINARY_DIR) + "/music_tool_test_" + std::to_string(getpid()) + "_" + name;
}

} // namespace

// music-write a stretch across a section start, then music-info on it: the
// format lines, the section's measured onset and the sections past the end.
TEST(MusicTool, WriteThenInfo)
{
    const std::string mp3 = scratch("excerpt.mp3");
    const ToolRun written = runTool("music-write " + mp3 + " 0 4");
    ASSERT_EQ(written.status, 0) << written.output;

    const ToolRun info = runTool("music-info " + mp3);
    std::remove(mp3.c_str());
    ASSERT_EQ(info.status, 0) << info.output;
    for (const char* line : {"duration: 2.222 s (98000 samples, 4.00 beats at 108 bpm)", "sample rate: 44100 Hz",
                             "channels: 2", "beyond the end of this file  fluid"}) {
        SCOPED_TRACE(line);
        EXPECT_NE(info.output.find(line), std::string::npos) << info.output;
    }
    EXPECT_NE(info.output.find("peak: -"), std::string::npos);
}

TEST(MusicTool, BadArgumentsAndFiles)
{
    const std::string junk = scratch("junk.mp3");
    std::ofstream(junk) << "this is no mp3 at all";
    struct Case {
        std::string arguments;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"music-info", 2, "usage: glint-tool music-info"},
        {"music-info " + junk, 1, "no MPEG audio found"},
        {"music-info " + scratch("missing.mp3"), 1, "cannot read"},
        {"music-write", 2, "usage: glint-tool music-write"},
        {"music-write " + scratch("x.mp3") + " 10 5", 2, "is not a stretch of beats"},
        {"music-write " + scratch("x.mp3") + " 0 beat", 2, "is not a stretch of beats"},
        {"music-write /nonexistent-dir/x.mp3 0 1", 1, "cannot write"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const ToolRun run = runTool(c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
    }
    std::remove(junk.c_str());
}
