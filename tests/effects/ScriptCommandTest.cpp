// glint-tool script, run as script authors run it.
#include "resources/TempDirectory.h"

#include "support/RunTool.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace {

using testsupport::ToolRun;

ToolRun runTool(const std::string& arguments)
{
    return testsupport::runGlintTool(arguments, testsupport::ToolErrors::dropped);
}

class ScriptCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        script = dir.write("test.script",
                           "<script>"
                           "<effect filename=\"LetterBox\" end=\"8192\"><rootkey>blendEnable=0;</rootkey>"
                           "<var name=\"CutAmtY\"><interpkey time=\"1:1:1\" value=\"0\" type=\"Linear\"/>"
                           "<interpkey time=\"2:1:1\" value=\"1\" type=\"Step\"/></var></effect>"
                           "<effect filename=\"Nonsense\"/>"
                           "<effect filename=\"LetterBox\" start=\"1024\" end=\"2048\"/>"
                           "<event t=\"256\"><cmd command=\"add\" layer=\"3\" instance=\"1\"/>"
                           "<cmd command=\"text\" instance=\"0\">CutAmtX=0.5;</cmd></event>"
                           "</script>");
        data = std::string(" --data '") + GLINT_SOURCE_DIR + "/data'";
    }
    testsupport::TempDirectory dir;
    std::string script;
    std::string data;
};

TEST_F(ScriptCommandTest, PrintsLengthEffectsAndEvents)
{
    const ToolRun run = runTool("script '" + script + "'" + data);
    EXPECT_EQ(run.status, 0);
    const char* expected[] = {
        "cannot find Nonsense\n",
        "length 32 beats\n",
        "effect 0 LetterBox start 0 end 32\n",
        "  blendEnable = 0\n",
        "  var CutAmtY = 0 in [0, 0.5], 2 keys\n",
        "effect 1 LetterBox start 4 end 8\n",
        "event 1\n  add layer 3 instance 1\n  text instance 0 \"CutAmtX=0.5;\"\n",
    };
    size_t from = 0;
    for (const char* line : expected) {
        SCOPED_TRACE(line);
        const size_t at = run.output.find(line, from);
        ASSERT_NE(at, std::string::npos) << run.output;
        from = at;
    }
}

TEST_F(ScriptCommandTest, PrintsAVarAtScriptTimes)
{
    const ToolRun run = runTool("script '" + script + "'" + data + " --var 0:CutAmtY 0 2 3.5 4 10");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.output.find("\n0 0\n2 0.25\n3.5 0.4375\n4 0.5\n10 0.5\n"), std::string::npos) << run.output;

    // Effect 1 starts at beat 4: script time 6 is its local time 2. Each
    // --var prints its own lines, in order.
    const ToolRun two = runTool("script '" + script + "'" + data + " --var 1:CutAmtY 6 --var 0:CutAmtY 2");
    EXPECT_NE(two.output.find("\n6 0\n2 0.25\n"), std::string::npos) << two.output;
}

TEST_F(ScriptCommandTest, BadArgumentsAndMissingThings)
{
    const struct {
        std::string arguments;
        int exitCode;
    } cases[] = {
        {"script", 2},
        {"script '" + script + "' --var 0:CutAmtY", 2},
        {"script '" + script + "' --var CutAmtY 1", 2},
        {"script '" + script + "' --var 0:CutAmtY x", 2},
        {"script '" + script + "' --bogus", 2},
        {"script '" + dir.file("absent.script") + "'", 1},
        {"script '" + script + "'" + data + " --var 5:CutAmtY 1", 1},
        {"script '" + script + "'" + data + " --var 0:pull 1", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        EXPECT_EQ(runTool(c.arguments).status, c.exitCode);
    }
}

} // namespace
