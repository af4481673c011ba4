// The memory stream as lib3ds uses it, through lib3ds' own io calls.
#include "resources/MemoryStream3DS.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace {

const uint8_t kData[] = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'};

TEST(MemoryStream3DS, SeeksFromStartCurrentAndEnd)
{
    MemoryStream3DS stream(kData, sizeof kData);
    Lib3dsIo* io = stream.io();
    ASSERT_NE(io, nullptr);
    const struct {
        long offset;
        Lib3dsIoSeek origin;
        long result;
        long position;
    } steps[] = {
        {4, LIB3DS_SEEK_SET, 0, 4},
        {3, LIB3DS_SEEK_CUR, 0, 7},
        {-2, LIB3DS_SEEK_CUR, 0, 5},
        {-1, LIB3DS_SEEK_END, 0, 9},
        {5, LIB3DS_SEEK_END, 0, 15},   // past the end is allowed
        {-1, LIB3DS_SEEK_SET, -1, 15},  // before the start is not, and keeps the position
        {-16, LIB3DS_SEEK_CUR, -1, 15},
        {-11, LIB3DS_SEEK_END, -1, 15},
        {0, LIB3DS_SEEK_SET, 0, 0},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE("seek " + std::to_string(step.offset) + " from " + std::to_string(step.origin));
        EXPECT_EQ(lib3ds_io_seek(io, step.offset, step.origin), step.result);
        EXPECT_EQ(lib3ds_io_tell(io), step.position);
    }
}

TEST(MemoryStream3DS, ReadsCopyAndAdvanceAndZeroFillPastTheEnd)
{
    MemoryStream3DS stream(kData, sizeof kData);
    Lib3dsIo* io = stream.io();
    std::array<uint8_t, 5> buffer;

    buffer.fill(0xaa);
    EXPECT_EQ(lib3ds_io_read(io, buffer.data(), 4), 4u);
    EXPECT_EQ(std::memcmp(buffer.data(), "0123", 4), 0);
    EXPECT_EQ(buffer[4], 0xaa);
    EXPECT_EQ(lib3ds_io_tell(io), 4);

    lib3ds_io_seek(io, 7, LIB3DS_SEEK_SET);
    buffer.fill(0xaa);
    EXPECT_EQ(lib3ds_io_read(io, buffer.data(), 5), 3u);
    EXPECT_EQ(buffer, (std::array<uint8_t, 5>{'7', '8', '9', 0, 0}));
    EXPECT_EQ(lib3ds_io_tell(io), 10);

    lib3ds_io_seek(io, 20, LIB3DS_SEEK_SET);
    buffer.fill(0xaa);
    EXPECT_EQ(lib3ds_io_read(io, buffer.data(), 5), 0u);
    EXPECT_EQ(buffer, (std::array<uint8_t, 5>{}));
    EXPECT_EQ(lib3ds_io_tell(io), 20);
    // lib3ds' typed reads see the zeros too
    EXPECT_EQ(lib3ds_io_read_dword(io), 0u);
}

TEST(MemoryStream3DS, ReportsNoErrorAndRefusesWrites)
{
    MemoryStream3DS stream(kData, sizeof kData);
    EXPECT_FALSE(lib3ds_io_error(stream.io()));
    EXPECT_EQ(lib3ds_io_write(stream.io(), "x", 1), 0u);
    EXPECT_EQ(lib3ds_io_tell(stream.io()), 0);
}

TEST(MemoryStream3DS, AnEmptyBlockReadsNothing)
{
    MemoryStream3DS stream(nullptr, 0);
    uint8_t byte = 0xaa;
    EXPECT_EQ(lib3ds_io_read(stream.io(), &byte, 1), 0u);
    EXPECT_EQ(byte, 0);
}

} // namespace
