// Runs glint-tool's swf commands on movies from the writer and on a movie
// written byte by byte.
#include "swfwriter/SwfAnimation.h"

#include "support/RunTool.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using testsupport::ToolRun;

class SwfTool : public testing::Test {
protected:
    void SetUp() override
    {
        if (access(tool_.c_str(), X_OK) != 0)
            GTEST_SKIP() << "glint-tool has not been built";
    }

    ToolRun run(const std::string& arguments)
    {
        return testsupport::runGlintTool(arguments, testsupport::ToolErrors::dropped);
    }

    std::string write(const char* name, const std::vector<uint8_t>& bytes)
    {
        std::string path = std::string(GLINT_BINARY_DIR) + "/" + name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
        return path;
    }

    std::string tool_ = std::string(GLINT_BINARY_DIR) + "/glint-tool";
};

// A red shape placed on layer 1 at (100, 0) and the command doK,4, in frame 0.
const std::vector<uint8_t> handMade = {
    'F', 'W', 'S', 6, 62, 0, 0, 0,
    0x78, 0x00, 0x06, 0x40, 0x00, 0x00, 0x12, 0xC0, 0x00,   // 640 x 480
    0x00, 30, 1, 0,                                          // 30 frames/s, 1 frame
    0x8B, 0x00, 1, 0, 0x00, 1, 0x00, 0xFF, 0, 0, 0, 0x10, 0x00,   // DefineShape 1, red
    0x89, 0x06, 0x06, 1, 0, 1, 0, 0x18, 0xFA, 0x00, 0x00,    // PlaceObject2 at 2000 twips
    0x0B, 0x03, 0x83, 7, 0, 0, 'd', 'o', 'K', ',', '4', 0, 0,   // DoAction GetURL
    0x40, 0x00, 0x00, 0x00,                                  // ShowFrame, End
};

TEST_F(SwfTool, PlaysAHandMadeMovie)
{
    ASSERT_EQ(handMade.size(), 62u);
    std::string path = write("hand-made.swf", handMade);
    ToolRun r = run("swf-play " + path + " --colour 1 --position 1 0 0.5");
    EXPECT_EQ(r.status, 0);
    // Placements without a colour transform scale by 255/256.
    EXPECT_EQ(r.output, "command [doK] [4]\n"
                     "t=0 0.996094 0 0 0.996094 100 0\n"
                     "t=0.5 0.996094 0 0 0.996094 100 0\n");
}

TEST_F(SwfTool, DumpsAHandMadeMovie)
{
    std::string path = write("hand-made.swf", handMade);
    ToolRun r = run("swf " + path);
    EXPECT_EQ(r.status, 0);
    for (const char* expected :
         {"\"width\": 640", "\"frameRate\": 30", "\"frameCount\": 1",
          "{\"id\": 1, \"kind\": \"shape\", \"colour\": [1, 0, 0, 1], \"bounds\": [0, 0, 0, 0], \"penBox\": [0, 0, 0, 0]}",
          "{\"code\": 26, \"flags\": 6, \"depth\": 1, \"character\": 1, \"matrix\": [65536, 0, 0, 65536, 2000, 0], "
          "\"cxform\": [255, 0, 255, 0, 255, 0, 255, 0]}",
          "\"commands\": [\"doK,4\"]"}) {
        SCOPED_TRACE(expected);
        EXPECT_NE(r.output.find(expected), std::string::npos) << r.output;
    }
}

TEST_F(SwfTool, PlaysAWrittenAnimationInBindingOrder)
{
    swfwriter::Animation a;
    std::string error;
    ASSERT_TRUE(swfwriter::parseAnimation("layer 3\n"
                                          "key 3 0 colour 1 0 0 1 position 10 20\n"
                                          "key 3 2 colour 0 0 1 1 position 30 40\n"
                                          "command 1 setCamera,,Camera02\n",
                                          a, error));
    std::string path = write("animation.swf", swfwriter::writeAnimation(a));
    ToolRun r = run("swf-play " + path + " --position 3 --colour 3 0.5 1 --position 9 1.5");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output, "Error in swfScript::update, requested layer has no objects\n"
                     "t=0.5 15 25 0.75 0 0.25 1 0 0\n"
                     "command [setCamera] [Camera02]\n"
                     "Error in swfScript::update, requested layer has no objects\n"
                     "t=1 20 30 0.5 0 0.5 1 0 0\n"
                     "Error in swfScript::update, requested layer has no objects\n"
                     "t=1.5 25 35 0.25 0 0.75 1 0 0\n");
}

TEST_F(SwfTool, BadInputAndUsage)
{
    std::vector<uint8_t> compressed = handMade;
    compressed[0] = 'C';
    std::string bad = write("compressed.swf", compressed);
    EXPECT_EQ(run("swf " + bad).status, 1);
    EXPECT_EQ(run("swf " + std::string(GLINT_BINARY_DIR) + "/missing.swf").status, 1);
    EXPECT_EQ(run("swf").status, 2);
    std::string good = write("hand-made.swf", handMade);
    EXPECT_EQ(run("swf-play " + good).status, 2);                  // no time
    EXPECT_EQ(run("swf-play " + good + " --colour 20 1").status, 2);   // no such layer
    EXPECT_EQ(run("swf-play " + good + " soon").status, 2);
}

} // namespace
