#include "resources/ResourceManager.h"
#include "resources/TempDirectory.h"
#include "support/MessageRecorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The show's configuration, run in a scratch folder holding data/.
class DataDirectoryTest : public testing::Test {
protected:
    void SetUp() override { dir.makeCurrent(); }

    testsupport::TempDirectory dir;
    ResourceManager resources{false, true};
};

TEST_F(DataDirectoryTest, FindFilePrefixesTheDataDirectory)
{
    char path[ResourceManager::pathSize];
    ASSERT_TRUE(resources.findFile("demo.cfg", path));
    EXPECT_STREQ(path, "data/demo.cfg");

    resources.useDataPrefix = false;
    ASSERT_TRUE(resources.findFile("demo.cfg", path));
    EXPECT_STREQ(path, "/projects/data/orrin/demo.cfg");
}

TEST_F(DataDirectoryTest, PathThatDoesNotFitIsRefusedNotCut)
{
    // "data/" + 94 characters is the longest path that fits with its terminator.
    const std::string fits(94, 'f');
    const std::string tooLong = fits + "g";
    // The file a cut path would name: it must not be read instead.
    dir.write("data/" + fits, "x = 1\n");

    char path[ResourceManager::pathSize];
    ASSERT_TRUE(resources.findFile(fits.c_str(), path));
    EXPECT_EQ(path, "data/" + fits);

    testing::internal::CaptureStdout();
    EXPECT_FALSE(resources.findFile(tooLong.c_str(), path));
    EXPECT_STREQ(path, "");
    EXPECT_EQ(resources.readFile(tooLong.c_str()), nullptr);
    EXPECT_FALSE(resources.readBytes(tooLong.c_str()));
    std::string printed = testing::internal::GetCapturedStdout();
    std::string message = "Path too long: data/" + tooLong + "\n";
    EXPECT_EQ(printed, message + message + message);
}

TEST_F(DataDirectoryTest, NullNameIsRefused)
{
    char path[ResourceManager::pathSize];
    testing::internal::CaptureStdout();
    EXPECT_FALSE(resources.findFile(nullptr, path));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Invalid file name\n");
}

TEST_F(DataDirectoryTest, ReadsTextAndBytesFromTheDataDirectory)
{
    const std::string binary("PNG\r\n\0\x1a\n\xff", 9);
    dir.write("data/demo.cfg", "mp3 = \"music.mp3\"\r\n");
    dir.write("data/k.png", binary);

    std::unique_ptr<char[]> text = resources.readFile("demo.cfg");
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text.get(), "mp3 = \"music.mp3\"");

    FileBytes bytes = resources.readBytes("k.png");
    ASSERT_TRUE(bytes);
    ASSERT_EQ(bytes.size, 9);
    EXPECT_EQ(std::string(bytes.data.get(), 9), binary);
    EXPECT_EQ(bytes.data[9], '\0');
    EXPECT_EQ(bytes.data[10], '\0');

    // Sizes come only from the pack.
    EXPECT_EQ(resources.fileSize("demo.cfg"), 0);
    EXPECT_EQ(resources.fileSize("k.png"), 0);
    EXPECT_EQ(resources.fileSize("none"), 0);
}

TEST_F(DataDirectoryTest, MissingFileGivesNullWithTheReadersMessage)
{
    testsupport::MessageRecorder boxes;
    testing::internal::CaptureStdout();
    EXPECT_EQ(resources.readFile("none.cfg"), nullptr);
    EXPECT_FALSE(resources.readBytes("none.png"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "File not found: data/none.cfg\nFile not found: data/none.png\n");
    EXPECT_TRUE(boxes.messages.empty());
}

// Records when it is deleted, to check the registry's ownership.
struct Tracked {
    Tracked(int id, std::vector<int>& deleted) : id(id), deleted(deleted) {}
    ~Tracked() { deleted.push_back(id); }
    int id;
    std::vector<int>& deleted;
};

TEST(ResourceRegistryTest, RegisteredObjectsAreHandedOutAndDeletedLatestFirst)
{
    std::vector<int> deleted;
    {
        ResourceManager resources(false, true);
        Tracked* first = resources.registerObject(SharedKey<Tracked>{"first"}, std::make_unique<Tracked>(1, deleted));
        Tracked* second = resources.registerObject(SharedKey<Tracked>{"second"}, std::make_unique<Tracked>(2, deleted));
        EXPECT_EQ(resources.getObject("first"), first);
        EXPECT_EQ(resources.get(SharedKey<Tracked>{"second"}), second);
        EXPECT_EQ(resources.getObject("second"), resources.getObject("second"));
        EXPECT_TRUE(deleted.empty());
    }
    EXPECT_EQ(deleted, (std::vector<int>{2, 1}));
}

TEST(ResourceRegistryTest, ReplacedObjectStaysAliveForEarlierRequesters)
{
    std::vector<int> deleted;
    {
        ResourceManager resources(false, true);
        const SharedKey<Tracked> name{"name"};
        Tracked* old = resources.registerObject(name, std::make_unique<Tracked>(1, deleted));
        Tracked* replacement = resources.registerObject(name, std::make_unique<Tracked>(2, deleted));
        EXPECT_EQ(resources.getObject("name"), replacement);
        EXPECT_TRUE(deleted.empty());
        EXPECT_EQ(old->id, 1);
    }
    EXPECT_EQ(deleted, (std::vector<int>{2, 1}));
}

TEST(ResourceRegistryTest, UnknownOrNullEntriesGiveNullQuietly)
{
    ResourceManager resources(false, true);
    resources.registerObject(SharedKey<Tracked>{"empty"}, std::unique_ptr<Tracked>());
    testsupport::MessageRecorder boxes;
    testing::internal::CaptureStdout();
    EXPECT_EQ(resources.getObject("no such object"), nullptr);
    EXPECT_EQ(resources.getObject("empty"), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(boxes.messages.empty());
}

TEST(ResourceRegistryTest, ArraysAreOwnedToo)
{
    ResourceManager resources(false, true);
    const SharedKey<float> key{"Ambient"};
    float* ambient = resources.registerObject(key, std::unique_ptr<float[]>(new float[3]{0.1f, 0.1f, 0.1f}));
    EXPECT_EQ(resources.get(key), ambient);
    EXPECT_FLOAT_EQ(resources.get(key)[2], 0.1f);
}

// A second base puts the key's type at another address than the object's.
struct Named {
    virtual ~Named() = default;
    int name = 7;
};
struct Timed {
    virtual ~Timed() = default;
    float time = 2.5f;
};
struct Both : Named, Timed {};

TEST(ResourceRegistryTest, AnEntryHoldsTheObjectAsItsKeysType)
{
    ResourceManager resources(false, true);
    const SharedKey<Timed> key{"both"};
    Both* both = resources.registerObject(key, std::make_unique<Both>());
    EXPECT_EQ(resources.get(key), static_cast<Timed*>(both));
    EXPECT_FLOAT_EQ(resources.get(key)->time, 2.5f);
}

// The factory builds on the first request only; a request for a name while
// its own object is being built gets null instead of building another.
TEST(ResourceRegistryTest, TheFactoryBuildsEachNameOnceAndNeverWithinItself)
{
    static int builds;
    static void* nested;
    builds = 0;
    nested = &builds;
    ResourceManager resources(false, true);
    EXPECT_EQ(resources.getObject("built"), nullptr); // no factory yet
    resources.setObjectFactory([](ResourceManager& r, const std::string& name) -> void* {
        if (name != "built")
            return nullptr;
        ++builds;
        nested = r.getObject("built");
        return r.registerObject(SharedKey<float>{"built"}, std::make_unique<float>(1.0f));
    });
    void* first = resources.getObject("built");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(nested, nullptr);
    EXPECT_EQ(resources.getObject("built"), first);
    EXPECT_EQ(resources.getObject("other"), nullptr);
    EXPECT_EQ(builds, 1);
}

} // namespace
