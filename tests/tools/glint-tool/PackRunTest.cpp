// A pack run shows what a data-folder run shows. Each run loads the whole
// show in a glint-tool process of its own (scenes keep process-wide state)
// and saves one frame of every scene; the pack run works in a folder
// holding only the pack and, in its data/, the files the README says a pack
// run still reads beside it. The frames must be equal byte for byte, and
// what the pack run looks for in data/ must be exactly the README's list.
#include "resources/TempDirectory.h"
#include "support/RunTool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string buildDir = GLINT_BINARY_DIR;
constexpr int sceneCount = 9;

// The data files the README's row for --pack names in backticks, in name
// order.
std::vector<std::string> readmeBesidePackList()
{
    std::istringstream readme(testsupport::readAll(std::string(GLINT_SOURCE_DIR) + "/README.md"));
    std::string row;
    while (std::getline(readme, row) && row.rfind("| `--pack` |", 0) != 0) {
    }
    const std::regex name("`([A-Za-z0-9_.-]+\\.(jpg|png|swf|xml|script|mp3))`");
    std::vector<std::string> names;
    for (std::sregex_iterator it(row.begin(), row.end(), name), end; it != end; ++it)
        names.push_back((*it)[1]);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

std::vector<std::string> lines(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> result;
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

TEST(PackRunTest, EverySceneLooksTheSameWithOnlyTheListedFilesBesideThePack)
{
    const std::vector<std::string> listed = readmeBesidePackList();
    ASSERT_FALSE(listed.empty()) << "README.md lists no files beside the pack";

    testsupport::TempDirectory scratch;
    const fs::path folderRun = scratch.path() / "folder", packRun = scratch.path() / "pack";
    const fs::path folderFrames = scratch.path() / "folder-frames", packFrames = scratch.path() / "pack-frames";
    for (const fs::path& folder : {folderRun, packRun / "data", folderFrames, packFrames})
        fs::create_directories(folder);
    fs::create_directory_symlink(buildDir + "/data", folderRun / "data");
    fs::create_symlink(buildDir + "/pmx.d", packRun / "pmx.d");
    for (const std::string& name : listed)
        fs::create_symlink(buildDir + "/data/" + name, packRun / "data" / name);

    const auto dropped = testsupport::ToolErrors::dropped;
    const testsupport::ToolRun beside = testsupport::runGlintTool("pack-beside " + quoted(packRun), dropped);
    EXPECT_EQ(beside.status, 0);
    EXPECT_EQ(lines(beside.output), listed) << "the README's --pack list is not what a pack run reads";

    ASSERT_EQ(testsupport::runGlintTool("scene-frames " + quoted(folderRun) + " " + quoted(folderFrames), dropped)
                  .status,
              0);
    ASSERT_EQ(
        testsupport::runGlintTool("scene-frames " + quoted(packRun) + " " + quoted(packFrames) + " --pack", dropped)
            .status,
        0);
    for (int scene = 0; scene < sceneCount; ++scene) {
        SCOPED_TRACE("scene " + std::to_string(scene));
        const std::string name = "scene" + std::to_string(scene) + ".png";
        const std::string fromFolder = testsupport::readAll((folderFrames / name).string());
        ASSERT_FALSE(fromFolder.empty());
        EXPECT_TRUE(fromFolder == testsupport::readAll((packFrames / name).string()));
    }
    EXPECT_FALSE(fs::exists(folderFrames / ("scene" + std::to_string(sceneCount) + ".png")));
}

TEST(PackRunTest, APackRunMissingAFileBesideThePackSaysSo)
{
    testsupport::TempDirectory packRun;
    fs::create_symlink(buildDir + "/pmx.d", packRun.path() / "pmx.d");
    fs::create_directory(packRun.path() / "data");
    const testsupport::ToolRun run =
        testsupport::runGlintTool("pack-beside " + quoted(packRun.path()), testsupport::ToolErrors::merged);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("a pack run looks for quillon.mp3, which is not in"), std::string::npos) << run.output;
}

} // namespace
