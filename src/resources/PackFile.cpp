#include "resources/PackFile.h"

#include "platform/MessageBox.h"
#include "resources/DataFile.h"

#include <zlib.h>

#include <cstring>
#include <new>

namespace {

// zlib's deflate cannot shrink data by more than about 1032:1; a row that
// claims more than this is corrupt, and refusing it keeps a bad table from
// sizing a huge buffer.
constexpr long long maxInflateRatio = 1040;
constexpr long long zlibOverhead = 64;

void showPackMessage(const char* text, const char* caption)
{
    platform::showMessage(text, caption, platform::MessageIcon::Exclamation);
}

} // namespace

bool packRowIsSound(const PackEntry& row, long packSize)
{
    if (row.offset < 0 || row.packedSize <= 0 || row.unpackedSize < 0)
        return false;
    if (static_cast<long long>(row.offset) + row.packedSize > packSize)
        return false;
    return row.unpackedSize <= row.packedSize * maxInflateRatio + zlibOverhead;
}

FileBytes unpackEntry(const unsigned char* packed, const PackEntry& row, const char* name)
{
    FileBytes result;
    if (row.packedSize <= 0 || row.unpackedSize < 0 ||
        row.unpackedSize > row.packedSize * maxInflateRatio + zlibOverhead) {
        showPackMessage(name, "Error Unpacking");
        return result;
    }
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[static_cast<size_t>(row.unpackedSize) + 2]());
    uLongf unpacked = static_cast<uLongf>(row.unpackedSize);
    uLong consumed = static_cast<uLong>(row.packedSize);
    // The entry must fill its table size exactly and be one whole stream: a
    // short entry or trailing bytes mean the table and the pack disagree.
    if (!buffer ||
        uncompress2(reinterpret_cast<Bytef*>(buffer.get()), &unpacked, packed, &consumed) != Z_OK ||
        unpacked != static_cast<uLongf>(row.unpackedSize) || consumed != static_cast<uLong>(row.packedSize)) {
        showPackMessage(name, "Error Unpacking");
        return result;
    }
    result.data = std::move(buffer);
    result.size = row.unpackedSize;
    return result;
}

FileBytes readPackEntry(const char* packPath, const PackDirectory& directory, const char* name)
{
    const PackEntry* row = directory.find(name);
    if (!row) {
        showPackMessage(name ? name : "", "Pack file not found");
        return {};
    }
    long packSize = 0;
    FILE* pack = openDataFile(packPath, packSize);
    if (!pack) {
        showPackMessage(packPath, "Cannot Find Packfile");
        return {};
    }
    std::unique_ptr<unsigned char[]> packed;
    bool read = false;
    if (packRowIsSound(*row, packSize)) {
        packed.reset(new (std::nothrow) unsigned char[static_cast<size_t>(row->packedSize)]);
        read = packed && std::fseek(pack, row->offset, SEEK_SET) == 0 &&
               std::fread(packed.get(), 1, static_cast<size_t>(row->packedSize), pack) ==
                   static_cast<size_t>(row->packedSize);
    }
    std::fclose(pack);
    if (!read) {
        showPackMessage(name, "Error Unpacking");
        return {};
    }
    return unpackEntry(packed.get(), *row, name);
}
