// The pack holds the show's entries and nothing else: every listed name is
// packed, in order and in the letter case of the list, whatever else the
// data directory holds; a directory that lacks one makes no pack at all.
#include "pack/PackBuilder.h"
#include "pack/PackOrder.h"
#include "resources/TempDirectory.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <strings.h>

namespace {

// A data directory with a small file for every listed name (the content
// names the file), plus files the show reads that the list lacks.
void writeShowData(const testsupport::TempDirectory& dir)
{
    for (const std::string& name : packEntryOrder())
        dir.write("data/" + name, "contents of " + name);
    for (const char* extra : {"quillon.mp3", "fluid.swf", "plogo3b.png", "_text0.jpg", "zzz.cfg"})
        dir.write(std::string("data/") + extra, "not for the pack");
}

TEST(PackEntries, ExactlyTheListedFilesInTheListsOrder)
{
    testsupport::TempDirectory dir;
    writeShowData(dir);
    PackBuild packed;
    ASSERT_TRUE(buildPack(dir.file("data"), packEntryOrder(), dir.file("pmx.d"), packed));
    const std::vector<std::string>& order = packEntryOrder();
    ASSERT_EQ(packed.table.size(), static_cast<int>(order.size()));
    for (int i = 0; i < packed.table.size(); ++i) {
        const std::string& name = order[static_cast<size_t>(i)];
        SCOPED_TRACE(name);
        EXPECT_EQ(packed.table.row(i).name, name);
        EXPECT_EQ(packed.table.row(i).unpackedSize, static_cast<int32_t>(("contents of " + name).size()));
    }
}

TEST(PackEntries, TheListNamesEveryFileOnceButTheDuplicatedScene)
{
    // Lookups ignore case and stop at the first match, so a name listed
    // twice in any case would hide its second entry; only the last two
    // entries may (and do) name the same file.
    const std::vector<std::string>& order = packEntryOrder();
    std::set<std::string> seen;
    for (size_t i = 0; i + 1 < order.size(); ++i) {
        std::string lower = order[i];
        for (char& c : lower)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(seen.insert(lower).second) << order[i] << " listed twice";
    }
    EXPECT_EQ(strcasecmp(order[order.size() - 1].c_str(), order[order.size() - 2].c_str()), 0);
}

TEST(PackEntries, AMissingFileMakesNoPackAndIsNamed)
{
    testsupport::TempDirectory dir;
    writeShowData(dir);
    dir.write("pmx.d", "the pack of an earlier build");
    std::filesystem::remove(dir.path() / "data" / "k8.jpg");
    std::filesystem::remove(dir.path() / "data" / "volume.3ds");
    PackBuild packed;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(buildPack(dir.file("data"), packEntryOrder(), dir.file("pmx.d"), packed));
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find("cannot pack k8.jpg"), std::string::npos) << report;
    // Named once, though the list has it twice.
    const size_t volume = report.find("cannot pack volume.3ds");
    ASSERT_NE(volume, std::string::npos) << report;
    EXPECT_EQ(report.find("cannot pack volume.3ds", volume + 1), std::string::npos);
    EXPECT_NE(report.find("2 of its files are missing"), std::string::npos) << report;
    EXPECT_EQ(packed.table.size(), 0);
    EXPECT_EQ(testsupport::readAll(dir.file("pmx.d")), "the pack of an earlier build");
    EXPECT_FALSE(std::filesystem::exists(dir.file("pmx.d") + ".part"));
}

} // namespace
