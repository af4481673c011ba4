// glint-datagen itself: it writes exactly the files it lists, the build's
// data directory holds them all, and two runs write the same bytes. The
// runs here make a two-beat stretch of the music: the track's own
// determinism is the composer's, and the full track is checked in
// build/data by OpeningDataTest.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const std::string kGenerator = std::string(GLINT_BINARY_DIR) + "/tools/datagen/glint-datagen";

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string makeTempDir()
{
    char pattern[] = "/tmp/glint-datagen-XXXXXX";
    const char* dir = mkdtemp(pattern);
    return dir ? dir : "";
}

int run(const std::string& arguments, const std::string& output = "/dev/null")
{
    return std::system((kGenerator + " " + arguments + " >" + output + " 2>&1").c_str());
}

std::vector<std::string> listedFiles()
{
    const std::string dir = makeTempDir();
    EXPECT_EQ(run("--list", dir + "/list"), 0);
    std::istringstream lines(readAll(dir + "/list"));
    std::vector<std::string> names;
    for (std::string name; std::getline(lines, name);)
        names.push_back(name);
    std::system(("rm -rf " + dir).c_str());
    return names;
}

std::set<std::string> lines(const std::string& text)
{
    std::istringstream in(text);
    std::set<std::string> result;
    for (std::string line; std::getline(in, line);)
        result.insert(line);
    return result;
}

// The build reruns the generator only for the outputs its CMake list names.
TEST(DataGenerator, BuildKnowsEveryFileItWrites)
{
    const std::vector<std::string> names = listedFiles();
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()),
              lines(readAll(std::string(GLINT_BINARY_DIR) + "/tools/datagen/outputs.txt")));
}

TEST(DataGenerator, BuildDataHoldsEveryListedFile)
{
    const std::vector<std::string> names = listedFiles();
    ASSERT_FALSE(names.empty());
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(readAll(std::string(GLINT_BINARY_DIR) + "/data/" + name).empty());
    }
}

TEST(DataGenerator, TwoRunsWriteTheSameBytes)
{
    const std::string first = makeTempDir(), second = makeTempDir();
    ASSERT_EQ(run(first + " --music 0 2"), 0);
    ASSERT_EQ(run(second + " --music 0 2"), 0);
    for (const std::string& name : listedFiles()) {
        SCOPED_TRACE(name);
        const std::string a = readAll(first + "/" + name);
        EXPECT_FALSE(a.empty());
        EXPECT_TRUE(a == readAll(second + "/" + name));
    }
    std::system(("rm -rf " + first + " " + second).c_str());
}

TEST(DataGenerator, RejectsBadSwitches)
{
    const std::string dir = makeTempDir();
    for (const std::string& arguments : {dir + " --music", dir + " --music 4 2", dir + " --music x 2",
                                         dir + " --bogus", dir + " --no-music extra", std::string("--list extra"),
                                         std::string("")}) {
        SCOPED_TRACE(arguments);
        EXPECT_NE(run(arguments), 0);
    }
    EXPECT_NE(run("/proc/no/such/dir --no-music"), 0);
    std::system(("rm -rf " + dir).c_str());
}

} // namespace
