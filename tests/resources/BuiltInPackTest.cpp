// The pack and table the build made from build/data: they must describe the
// same data, in the show's order followed by the data's own extra files.
#include "pack/PackOrder.h"
#include "resources/PackFile.h"
#include "resources/TempDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <strings.h>

namespace {

const std::string dataDir = std::string(GLINT_BINARY_DIR) + "/data/";
const std::string packPath = std::string(GLINT_BINARY_DIR) + "/pmx.d";

// The file of build/data an entry was packed from: its name in the show's
// order may differ in letter case ("shadowscene.3DS").
std::string fileOf(const char* name)
{
    for (const auto& file : std::filesystem::directory_iterator(dataDir))
        if (strcasecmp(file.path().filename().c_str(), name) == 0)
            return file.path().string();
    return dataDir + name;
}

TEST(BuiltInPackTest, TableFollowsTheShowOrderAndCoversThePack)
{
    const PackDirectory& directory = builtInPackDirectory();
    const std::vector<std::string> order = packEntriesFor(dataDir);
    size_t next = 0;   // rows are the order with missing names left out
    int64_t offset = 0;
    for (int i = 0; i < directory.count; ++i) {
        const PackEntry& row = directory.entries[i];
        SCOPED_TRACE(row.name);
        while (next < order.size() && order[next] != row.name)
            ++next;
        ASSERT_LT(next, order.size()) << "row out of order or not a pack name";
        ++next;
        EXPECT_EQ(row.offset, offset);
        offset += row.packedSize;
    }
    EXPECT_EQ(static_cast<uintmax_t>(offset), std::filesystem::file_size(packPath));

    for (const std::string& name : order) {
        if (std::filesystem::is_regular_file(dataDir + name)) {
            EXPECT_NE(directory.find(name.c_str()), nullptr) << name << " is in build/data but not in the pack";
        }
    }
}

TEST(BuiltInPackTest, EntriesMatchTheFilesOfBuildData)
{
    const PackDirectory& directory = builtInPackDirectory();
    for (int i = 0; i < directory.count; ++i) {
        const char* name = directory.entries[i].name;
        SCOPED_TRACE(name);
        FileBytes entry = readPackEntry(packPath.c_str(), directory, name);
        ASSERT_TRUE(entry);
        EXPECT_EQ(std::string(entry.data.get(), static_cast<size_t>(entry.size)),
                  testsupport::readAll(fileOf(name)));
    }
}

} // namespace
