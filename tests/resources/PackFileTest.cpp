#include "pack/PackBuilder.h"
#include "resources/PackFile.h"
#include "resources/ResourceManager.h"
#include "resources/TempDirectory.h"
#include "support/MessageRecorder.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <set>
#include <string>
#include <vector>

namespace {

using testsupport::MessageRecorder;
using testsupport::readAll;

std::string compressed(const std::string& bytes)
{
    uLongf length = compressBound(static_cast<uLong>(bytes.size()));
    std::string out(length, '\0');
    compress(reinterpret_cast<Bytef*>(out.data()), &length, reinterpret_cast<const Bytef*>(bytes.data()),
             static_cast<uLong>(bytes.size()));
    out.resize(length);
    return out;
}

// A few data files of every kind the pack carries, built into a pack in a
// scratch folder and read through a manager in the pack configuration.
class PackTest : public testing::Test {
protected:
    void build(const std::vector<std::string>& order)
    {
        ASSERT_TRUE(buildPack(dir.file("data"), order, dir.file("pmx.d"), packed));
        resources = std::make_unique<ResourceManager>(true, true, packed.table.directory());
        resources->packName = dir.file("pmx.d");
    }

    testsupport::TempDirectory dir;
    PackBuild packed;
    std::unique_ptr<ResourceManager> resources;
};

TEST_F(PackTest, EveryEntryReadsBackByteIdentical)
{
    std::string noise;
    for (int i = 0; i < 70000; ++i)
        noise += static_cast<char>((i * 7919) % 251);
    const std::vector<std::pair<std::string, std::string>> files = {
        {"demo.cfg", "mp3 = \"music.mp3\"\n"},
        {"fear.jpg", noise},
        {"avg.rcp", std::string("!!RC1.0\r\n\0tail", 15)},
        {"empty.xml", ""},
    };
    std::vector<std::string> order;
    for (const auto& file : files) {
        dir.write("data/" + file.first, file.second);
        order.push_back(file.first);
    }
    build(order);
    ASSERT_EQ(packed.table.size(), 4);

    int32_t offset = 0;
    for (int i = 0; i < packed.table.size(); ++i) {
        const auto& [name, bytes] = files[static_cast<size_t>(i)];
        SCOPED_TRACE(name);
        const PackEntry& row = packed.table.row(i);
        EXPECT_STREQ(row.name, name.c_str());
        EXPECT_EQ(row.offset, offset);
        EXPECT_EQ(row.unpackedSize, static_cast<int32_t>(bytes.size()));
        offset += row.packedSize;

        FileBytes entry = resources->readBytes(name.c_str());
        ASSERT_TRUE(entry);
        ASSERT_EQ(entry.size, static_cast<int>(bytes.size()));
        EXPECT_EQ(std::string(entry.data.get(), bytes.size()), bytes);
        // Two zero bytes follow every entry, so text entries are terminated.
        EXPECT_EQ(entry.data[bytes.size()], '\0');
        EXPECT_EQ(entry.data[bytes.size() + 1], '\0');
        EXPECT_EQ(resources->fileSize(name.c_str()), static_cast<int>(bytes.size()));
    }
    EXPECT_EQ(static_cast<size_t>(offset), readAll(dir.file("pmx.d")).size());

    std::unique_ptr<char[]> text = resources->readFile("demo.cfg");
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text.get(), "mp3 = \"music.mp3\"\n");
}

TEST_F(PackTest, TheDuplicatedNameHasTwoEntriesOfTheSameFile)
{
    dir.write("data/volume.3ds", "volume scene");
    dir.write("data/demo.cfg", "mp3 = \"m.mp3\"\n");
    build({"demo.cfg", "volume.3ds", "volume.3ds"});
    ASSERT_EQ(packed.table.size(), 3);
    EXPECT_EQ(packed.table.row(2).offset, packed.table.row(1).offset + packed.table.row(1).packedSize);
    EXPECT_EQ(packed.table.row(2).packedSize, packed.table.row(1).packedSize);
    EXPECT_EQ(readAll(dir.file("pmx.d")).size(), static_cast<size_t>(packed.table.packedTotal()));
}

TEST_F(PackTest, LookupIgnoresLetterCase)
{
    dir.write("data/aflowers.3DS", "flowers scene");
    dir.write("data/shadowGlow.cfg", "glow = 1\n");
    build({"aflowers.3DS", "shadowGlow.cfg"});
    for (const char* name : {"aflowers.3DS", "AFLOWERS.3DS", "aflowers.3ds", "ShadowGlow.CFG"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(resources->readBytes(name));
        EXPECT_GT(resources->fileSize(name), 0);
    }
}

TEST_F(PackTest, AListedNameTakesItsFileInAnotherCase)
{
    // The show's order says "shadowscene.3DS"; the data holds "shadowscene.3ds".
    dir.write("data/shadowscene.3ds", "room cameras");
    build({"shadowscene.3DS"});
    ASSERT_EQ(packed.table.size(), 1);
    EXPECT_STREQ(packed.table.row(0).name, "shadowscene.3DS");
    const FileBytes bytes = resources->readBytes("shadowscene.3ds");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(std::string(bytes.data.get(), bytes.data.get() + bytes.size), "room cameras");
}

TEST_F(PackTest, NamesLookedForOutsideThePackAreRecorded)
{
    dir.write("data/demo.cfg", "mp3 = \"m.mp3\"\n");
    dir.write("data/fluid.swf", "a movie beside the pack");
    build({"demo.cfg"});
    dir.makeCurrent();
    MessageRecorder messages;
    EXPECT_TRUE(resources->readBytes("demo.cfg"));        // from the pack
    EXPECT_TRUE(resources->readBytes("fluid.swf"));       // from data/ beside it
    EXPECT_FALSE(resources->readBytes("absent.png"));     // from neither
    char path[ResourceManager::pathSize];
    EXPECT_TRUE(resources->findFile("letterbox.xml", path));   // opened by path
    EXPECT_EQ(resources->namesOutsideThePack(), (std::set<std::string>{"absent.png", "fluid.swf", "letterbox.xml"}));

    ResourceManager folder(false, true);
    EXPECT_TRUE(folder.readBytes("fluid.swf"));
    EXPECT_TRUE(folder.findFile("letterbox.xml", path));
    EXPECT_TRUE(folder.namesOutsideThePack().empty());
}

// Hand-made tables over a pack of two known entries.
class PackTableTest : public testing::Test {
protected:
    void SetUp() override
    {
        first = compressed("first entry");
        second = compressed("second entry");
        packPath = dir.write("pmx.d", first + second);
    }
    FileBytes read(const std::vector<PackEntry>& rows, const char* name, const std::string& pack)
    {
        PackDirectory directory{rows.data(), static_cast<int>(rows.size())};
        return readPackEntry(pack.c_str(), directory, name);
    }
    int32_t firstSize() const { return static_cast<int32_t>(first.size()); }
    int32_t secondSize() const { return static_cast<int32_t>(second.size()); }

    testsupport::TempDirectory dir;
    std::string first, second, packPath;
};

TEST_F(PackTableTest, FirstMatchingRowWins)
{
    MessageRecorder boxes;
    std::vector<PackEntry> goodFirst = {{"volume.3ds", 0, firstSize(), 11},
                                        {"volume.3ds", firstSize(), secondSize(), 12}};
    FileBytes entry = read(goodFirst, "volume.3ds", packPath);
    ASSERT_TRUE(entry);
    EXPECT_STREQ(entry.data.get(), "first entry");

    // A bad first row is not skipped in favour of the second.
    std::vector<PackEntry> badFirst = {{"volume.3ds", 0, firstSize(), 99},
                                       {"volume.3ds", firstSize(), secondSize(), 12}};
    EXPECT_FALSE(read(badFirst, "VOLUME.3DS", packPath));
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0].caption, "Error Unpacking");
    EXPECT_EQ(boxes.messages[0].text, "VOLUME.3DS");
}

TEST_F(PackTableTest, BadInputGivesTheMessageAndNull)
{
    std::string truncated = dir.write("truncated.d", first + second.substr(0, second.size() / 2));
    std::string corrupt = first + second;
    corrupt[first.size() + 5] ^= 0x55;
    std::string corruptPath = dir.write("corrupt.d", corrupt);
    std::string missingPack = dir.file("missing.d");
    const int32_t at = firstSize();

    struct Case {
        const char* what;
        PackEntry row;
        const char* name;
        std::string pack;
        std::string caption;
        std::string text;
    } cases[] = {
        {"name not in the table", {"b.cfg", at, secondSize(), 12}, "a.cfg", packPath, "Pack file not found", "a.cfg"},
        {"missing pack", {"a.cfg", at, secondSize(), 12}, "a.cfg", missingPack, "Cannot Find Packfile", missingPack},
        {"truncated pack", {"a.cfg", at, secondSize(), 12}, "a.cfg", truncated, "Error Unpacking", "a.cfg"},
        {"corrupt entry", {"a.cfg", at, secondSize(), 12}, "a.cfg", corruptPath, "Error Unpacking", "a.cfg"},
        {"unpacked size too large", {"a.cfg", at, secondSize(), 13}, "a.cfg", packPath, "Error Unpacking", "a.cfg"},
        {"unpacked size too small", {"a.cfg", at, secondSize(), 11}, "a.cfg", packPath, "Error Unpacking", "a.cfg"},
        {"packed size one short", {"a.cfg", at, secondSize() - 1, 12}, "a.cfg", packPath, "Error Unpacking", "a.cfg"},
        {"packed size runs into the next entry", {"a.cfg", 0, firstSize() + 1, 11}, "a.cfg", packPath,
         "Error Unpacking", "a.cfg"},
        {"negative offset", {"a.cfg", -1, secondSize(), 12}, "a.cfg", packPath, "Error Unpacking", "a.cfg"},
        {"offset past the end", {"a.cfg", 1 << 30, secondSize(), 12}, "a.cfg", packPath, "Error Unpacking", "a.cfg"},
        {"impossible unpacked size", {"a.cfg", at, secondSize(), 0x7fffffff}, "a.cfg", packPath,
         "Error Unpacking", "a.cfg"},
        {"negative unpacked size", {"a.cfg", at, secondSize(), -5}, "a.cfg", packPath, "Error Unpacking", "a.cfg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MessageRecorder boxes;
        EXPECT_FALSE(read({c.row}, c.name, c.pack));
        ASSERT_EQ(boxes.messages.size(), 1u);
        EXPECT_EQ(boxes.messages[0].caption, c.caption);
        EXPECT_EQ(boxes.messages[0].text, c.text);
    }
}

TEST_F(PackTableTest, ManagerInPackModeReportsThroughTheSameMessages)
{
    std::vector<PackEntry> rows = {{"a.cfg", 0, firstSize(), 11}};
    ResourceManager resources(true, true, PackDirectory{rows.data(), 1});
    resources.packName = packPath;
    MessageRecorder boxes;
    EXPECT_EQ(resources.readFile("b.cfg"), nullptr);
    EXPECT_EQ(resources.fileSize("b.cfg"), 0);
    EXPECT_EQ(resources.fileSize("A.CFG"), 11);
    resources.packName = dir.file("gone.d");
    EXPECT_EQ(resources.readFile("a.cfg"), nullptr);
    ASSERT_EQ(boxes.messages.size(), 2u);
    EXPECT_EQ(boxes.messages[0].caption, "Pack file not found");
    EXPECT_EQ(boxes.messages[1].caption, "Cannot Find Packfile");
    EXPECT_EQ(boxes.messages[1].text, dir.file("gone.d"));
}

} // namespace
