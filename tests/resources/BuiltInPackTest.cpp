// The pack and table the build made from build/data: exactly the show's 98
// entries in its order, each the bytes of its file in build/data.
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

TEST(BuiltInPackTest, TableHoldsTheShowsEntriesInOrderBackToBack)
{
    const PackDirectory& directory = builtInPackDirectory();
    const std::vector<std::string>& order = packEntryOrder();
    ASSERT_EQ(directory.count, static_cast<int>(order.size()));
    int64_t offset = 0;
    for (int i = 0; i < directory.count; ++i) {
        const PackEntry& row = directory.entries[i];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.name, order[static_cast<size_t>(i)]);
        EXPECT_EQ(row.offset, offset);
        EXPECT_GT(row.packedSize, 0);
        offset += row.packedSize;
    }
    EXPECT_EQ(static_cast<uintmax_t>(offset), std::filesystem::file_size(packPath));
}

TEST(BuiltInPackTest, EveryEntryUnpacksToItsFileInBuildData)
{
    const PackDirectory& directory = builtInPackDirectory();
    for (int i = 0; i < directory.count; ++i) {
        const PackEntry& row = directory.entries[i];
        SCOPED_TRACE(row.name);
        // A directory of this row alone, so the second "volume.3ds" is read
        // from its own entry rather than the first match.
        const PackDirectory single{&row, 1};
        FileBytes entry = readPackEntry(packPath.c_str(), single, row.name);
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry.size, row.unpackedSize);
        EXPECT_EQ(std::string(entry.data.get(), static_cast<size_t>(entry.size)),
                  testsupport::readAll(fileOf(row.name)));
    }
}

} // namespace
