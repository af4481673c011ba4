// glint-tool 3ds, run as a program on builder files.
#include "support/Test3dsScenes.h"

#include "support/RunTool.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>

namespace {

using testsupport::ToolRun;

ToolRun runTool(const std::string& arguments)
{
    return testsupport::runGlintTool("3ds " + arguments, testsupport::ToolErrors::merged);
}

TEST(ThreeDsTool, ListsNodesAndValuesAtEachFrame)
{
    const std::string path = testscenes::writeTemporary("tool.3ds", testscenes::showScene());
    const ToolRun run = runTool(path + " 0 50");
    EXPECT_EQ(run.status, 0) << run.output;
    for (const char* line : {
             "nodes:\n",
             "  Camera01 camera\n",
             "  Camera01 target\n",
             "  Omni01 light\n",
             "  Spot01 spot\n",
             "  Cube object\n",
             "frame 0:\n",
             "  camera Camera01: 1 0 0 0 0 1 0 0 0 0 1 0 0 10 0 1\n",
             "  light Omni01: colour 1 0.5 0.25 position 1 2 3\n",
             "  object Cube: position -4 0 2\n",
             "frame 50:\n",
             "  light Omni01: colour 0 1 0 position 3 2 1\n",
             "  object Ribbon: position 0 10 5\n",
         }) {
        EXPECT_NE(run.output.find(line), std::string::npos) << "missing: " << line << run.output;
    }
}

TEST(ThreeDsTool, BadInputGivesAMessageAndAnExitCode)
{
    testscenes::Bytes broken = testscenes::showScene();
    broken.resize(broken.size() / 2);
    const std::string good = testscenes::writeTemporary("tool-good.3ds", testscenes::showScene());
    const std::string bad = testscenes::writeTemporary("tool-bad.3ds", broken);
    const struct {
        const char* what;
        std::string arguments;
        int status;
        std::string message;
    } rows[] = {
        {"a malformed file", bad, 1, bad + ": at offset 0: chunk 0x4D4D"},
        {"a missing file", good + ".missing", 1, "cannot open the file"},
        {"a frame that is no number", good + " 1 x", 2, "'x' is not a frame number"},
        {"no file", "", 2, "usage: glint-tool 3ds FILE"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const ToolRun run = runTool(row.arguments);
        EXPECT_EQ(run.status, row.status) << run.output;
        EXPECT_NE(run.output.find(row.message), std::string::npos) << run.output;
    }
}

} // namespace
