// A saved data file is checked with the reader of its kind before a scene
// is built again on it: the show's own files pass (a false alarm would stop
// every reload), and each kind broken (its last fifth cut off, or a statement
// left unfinished) is refused with a message.
#include "sequencer/DataCheck.h"

#include "support/TestMusic.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

std::string contentsOf(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(DataCheckTest, TheShowsFilesPassAndBrokenOnesAreRefusedWithAMessage)
{
    mediatest::ScratchFolder folder;
    struct Case {
        const char* name;
        const char* appended;  // what breaks a text; null: the last fifth of the file cut off
    };
    const Case cases[] = {
        {"shadowroom.cfg", "\nlight0 1 1 1\n"}, {"aflower.xml", nullptr},   {"intro.script", nullptr},
        {"flowers.swf", nullptr},                {"volume.3ds", nullptr},    {"fear.jpg", nullptr},
        {"loading.png", nullptr},                {"flower.vp", "\nmov oPos,\n"},
        {"bweffect.rcp", "\nout.rgb = lerp(\n"}, {"bezpatch.vpc", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string good = contentsOf(std::string("data/") + c.name);
        ASSERT_FALSE(good.empty());
        const std::string path = folder.path(c.name);
        std::ofstream(path, std::ios::binary) << good;
        std::string message;
        EXPECT_TRUE(checkDataFile(path, message)) << message;

        const std::string broken = c.appended ? good + c.appended : good.substr(0, good.size() * 4 / 5);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << broken;
        message.clear();
        EXPECT_FALSE(checkDataFile(path, message));
        EXPECT_FALSE(message.empty());
    }
    std::string message;
    EXPECT_FALSE(checkDataFile(folder.path("gone.cfg"), message));
    EXPECT_EQ(message, "the file is gone");
}
