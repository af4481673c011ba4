#include "pack/PackTableSource.h"
#include "resources/TempDirectory.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(PackTableSourceTest, WrittenTableReadsBack)
{
    PackTable table;
    table.add("aflowers.3DS", 0, 120, 4000);
    table.add("Untitled-1.png", 120, 7, 3);
    table.add("volume.3ds", 127, 2147483520, 0);
    testsupport::TempDirectory dir;
    ASSERT_TRUE(writePackTableSource(table, dir.file("table.cpp")));

    PackTable read;
    ASSERT_TRUE(readPackTableSource(testsupport::readAll(dir.file("table.cpp")), read));
    ASSERT_EQ(read.size(), table.size());
    for (int i = 0; i < table.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_STREQ(read.row(i).name, table.row(i).name);
        EXPECT_EQ(read.row(i).offset, table.row(i).offset);
        EXPECT_EQ(read.row(i).packedSize, table.row(i).packedSize);
        EXPECT_EQ(read.row(i).unpackedSize, table.row(i).unpackedSize);
    }
    EXPECT_EQ(read.directory().find("AFLOWERS.3ds"), &read.directory().entries[0]);
}

TEST(PackTableSourceTest, WriterRefusesNamesItCannotQuote)
{
    testsupport::TempDirectory dir;
    for (const char* name : {"a\"b", "a\\b", "", "line\nfeed"}) {
        SCOPED_TRACE(name);
        PackTable table;
        table.add(name, 0, 1, 1);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(writePackTableSource(table, dir.file("table.cpp")));
        EXPECT_NE(testing::internal::GetCapturedStderr(), "");
    }
}

TEST(PackTableSourceTest, ReaderTakesRowLinesOnly)
{
    PackTable table;
    ASSERT_TRUE(readPackTableSource("// {\"comment\", 1, 2, 3}\n"
                                    "    {\"a.cfg\", 0, 5, 9},\n"
                                    "    {nullptr, 0, 0, 0},\n"
                                    "{\"b.cfg\",5,6,7}\r\n",
                                    table));
    ASSERT_EQ(table.size(), 2);
    EXPECT_STREQ(table.row(1).name, "b.cfg");
    EXPECT_EQ(table.row(1).unpackedSize, 7);
}

TEST(PackTableSourceTest, MalformedRowsAreRefused)
{
    const char* rows[] = {
        "{\"a.cfg\", 0, 5}",
        "{\"a.cfg\", 0, 5, 9, 1}",
        "{\"a.cfg\", -1, 5, 9}",
        "{\"a.cfg\", 0, 5, 2147483648}",
        "{\"a.cfg\", 0, 5, 99999999999999999999999}",
        "{\"a.cfg\", 0, 5, 9}, extra",
        "{\"a.cfg, 0, 5, 9}",
        "{\"\", 0, 5, 9}",
        "{\"a.cfg\" 0, 5, 9}",
        "{\"a.cfg\", 0, 5, 9",
        "{\"a.cfg\", , 5, 9}",
    };
    for (const char* row : rows) {
        SCOPED_TRACE(row);
        PackTable table;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(readPackTableSource(std::string("// table\n") + row + "\n", table));
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "malformed pack table row at line 2\n");
    }
}

} // namespace
