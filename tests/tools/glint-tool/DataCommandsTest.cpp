// glint-tool's kv and pack commands, run as the data authors run them.
#include "pack/PackOrder.h"
#include "resources/TempDirectory.h"

#include "support/RunTool.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

using testsupport::ToolRun;

ToolRun runTool(const std::string& arguments)
{
    return testsupport::runGlintTool(arguments, testsupport::ToolErrors::dropped);
}

TEST(DataCommandsTest, KvPrintsTheLookupsMessagesThenTheResult)
{
    testsupport::TempDirectory dir;
    std::string file = dir.write("t.cfg",
                                 "# mp3 = \"commented.mp3\"\n"
                                 "mp3x = \"music.mp3\"\n"
                                 "colour = 1, 2.5,3\n"
                                 "count = 12\n"
                                 "empty =\n"
                                 "scale = 0.25\n");
    struct Case {
        const char* arguments;
        std::string out;
        int exitCode;
    } cases[] = {
        {"mp3 string", "music.mp3\n", 0},
        {"colour floats", "1 2.5 3\n", 0},
        {"count int", "12\n", 0},
        {"scale float", "0.25\n", 0},
        {"empty int", "Error: key not found in \"empty\"\n-1\n", 1},
        {"none string", "Error: \"none\" not found\n(null)\n", 1},
        {"none floats", "Error: \"none\" not found\n-1\n", 1},
        {"none float", "Error: \"none\" not found\n-1\n", 1},
        {"count double", "", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        ToolRun run = runTool("kv '" + file + "' " + c.arguments);
        EXPECT_EQ(run.output, c.out);
        EXPECT_EQ(run.status, c.exitCode);
    }
    ToolRun missing = runTool("kv '" + dir.file("missing.cfg") + "' mp3 string");
    EXPECT_EQ(missing.output, "File not found: " + dir.file("missing.cfg") + "\nInvalid text file\n(null)\n");
    EXPECT_EQ(missing.status, 1);
}

TEST(DataCommandsTest, PackThenListAndCatEntries)
{
    testsupport::TempDirectory dir;
    for (const std::string& name : packEntryOrder())
        dir.write("data/" + name, name);
    const std::string image("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    dir.write("data/title0.png", image);
    dir.write("data/demo.cfg", "mp3 = \"music.mp3\"\n");
    const std::string pack = "'" + dir.file("out.pack") + "'";
    const std::string table = "'" + dir.file("out-table.cpp") + "'";

    ToolRun built = runTool("pack '" + dir.file("data") + "' " + pack + " " + table);
    ASSERT_EQ(built.status, 0);
    EXPECT_NE(built.output.find("98 entries"), std::string::npos) << built.output;

    ToolRun cat = runTool("pack-cat " + pack + " TITLE0.PNG --table " + table);
    EXPECT_EQ(cat.status, 0);
    EXPECT_EQ(cat.output, image);

    ToolRun list = runTool("pack-list " + pack + " --table " + table);
    EXPECT_EQ(list.status, 0);
    // The show's order puts images before settings files.
    size_t title = list.output.find("title0.png");
    size_t demo = list.output.find("demo.cfg");
    ASSERT_NE(title, std::string::npos);
    ASSERT_NE(demo, std::string::npos);
    EXPECT_LT(title, demo);

    EXPECT_EQ(runTool("pack-cat " + pack + " music.mp3 --table " + table).status, 1);
    EXPECT_EQ(runTool("pack-cat " + pack + " demo.cfg --table").status, 1);
    EXPECT_EQ(runTool("pack-cat " + pack + " --table " + table).status, 2);
    // The compiled-in table does not describe this pack.
    EXPECT_EQ(runTool("pack-list " + pack).status, 1);

    // Without one of its files there is no pack.
    std::filesystem::remove(dir.path() / "data" / "sexy.rcp");
    EXPECT_EQ(runTool("pack '" + dir.file("data") + "' '" + dir.file("other.pack") + "' '" + dir.file("other.cpp") + "'")
                  .status,
              1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("other.pack")));
}

} // namespace
