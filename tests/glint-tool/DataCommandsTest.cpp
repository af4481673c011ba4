// glint-tool's kv and pack commands, run as the data authors run them.
#include "resources/TempDirectory.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace {

struct ToolRun {
    std::string out;   // standard output
    int exitCode;
};

// Runs glint-tool with `arguments` (already quoted for the shell); standard
// error is dropped.
ToolRun runTool(const std::string& arguments)
{
    std::string command = std::string(GLINT_BINARY_DIR) + "/glint-tool " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return {"", -1};
    std::string out;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, got);
    int status = pclose(pipe);
    return {out, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
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
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.exitCode, c.exitCode);
    }
    ToolRun missing = runTool("kv '" + dir.file("missing.cfg") + "' mp3 string");
    EXPECT_EQ(missing.out, "File not found: " + dir.file("missing.cfg") + "\nInvalid text file\n(null)\n");
    EXPECT_EQ(missing.exitCode, 1);
}

TEST(DataCommandsTest, PackThenListAndCatEntries)
{
    testsupport::TempDirectory dir;
    const std::string image("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    dir.write("data/title0.png", image);
    dir.write("data/demo.cfg", "mp3 = \"music.mp3\"\n");
    const std::string pack = "'" + dir.file("out.pack") + "'";
    const std::string table = "'" + dir.file("out-table.cpp") + "'";

    ToolRun built = runTool("pack '" + dir.file("data") + "' " + pack + " " + table);
    ASSERT_EQ(built.exitCode, 0);
    EXPECT_NE(built.out.find("2 entries"), std::string::npos);

    ToolRun cat = runTool("pack-cat " + pack + " TITLE0.PNG --table " + table);
    EXPECT_EQ(cat.exitCode, 0);
    EXPECT_EQ(cat.out, image);

    ToolRun list = runTool("pack-list " + pack + " --table " + table);
    EXPECT_EQ(list.exitCode, 0);
    // The show's order puts images before settings files.
    size_t title = list.out.find("title0.png");
    size_t demo = list.out.find("demo.cfg");
    ASSERT_NE(title, std::string::npos);
    ASSERT_NE(demo, std::string::npos);
    EXPECT_LT(title, demo);

    EXPECT_EQ(runTool("pack-cat " + pack + " music.mp3 --table " + table).exitCode, 1);
    EXPECT_EQ(runTool("pack-cat " + pack + " demo.cfg --table").exitCode, 1);
    EXPECT_EQ(runTool("pack-cat " + pack + " --table " + table).exitCode, 2);
    // The compiled-in table does not describe this pack.
    EXPECT_EQ(runTool("pack-list " + pack).exitCode, 1);
}

} // namespace
