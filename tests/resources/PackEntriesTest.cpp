#include "pack/PackOrder.h"
#include "resources/TempDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(PackEntries, TheShowsOrderThenTheDataDirectorysOwnFiles)
{
    testsupport::TempDirectory dir;
    for (const char* name : {"zeta.png", "alpha.script", "DEMO.CFG", "quillon.mp3", "movie.SWF", "intro.script"})
        dir.write(name, "x");
    std::filesystem::create_directories(dir.path() / "sub.png");

    const std::vector<std::string> entries = packEntriesFor(dir.path().string());
    const std::vector<std::string>& order = packEntryOrder();
    ASSERT_EQ(entries.size(), order.size() + 2);
    EXPECT_TRUE(std::equal(order.begin(), order.end(), entries.begin()));
    // Extras in name order; names the order lists (in any case), the music,
    // movies and folders are not added again.
    EXPECT_EQ(entries[order.size()], "alpha.script");
    EXPECT_EQ(entries[order.size() + 1], "zeta.png");
}

TEST(PackEntries, AMissingDirectoryGivesTheShowsOrder)
{
    EXPECT_EQ(packEntriesFor("/nonexistent/glint"), packEntryOrder());
}
