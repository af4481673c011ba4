// Unpacking a pack entry through a directory row that may be corrupt. Input:
// the row's offset, packed size and unpacked size (three little-endian 32-bit
// numbers), then the pack's bytes. The reader must refuse what does not fit
// and never allocate more than the entry can hold.
#include "platform/MessageBox.h"
#include "resources/PackFile.h"

#include <cstdint>
#include <cstring>

namespace {

struct QuietMessages : platform::MessageSink {
    void show(const std::string&, const std::string&, platform::MessageIcon) override {}
    bool askYesNo(const std::string&, const std::string&, platform::MessageIcon, bool answer) override
    {
        return answer;
    }
};

int32_t readNumber(const uint8_t* at)
{
    uint32_t value = uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
    int32_t number;
    std::memcpy(&number, &value, sizeof number);
    return number;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QuietMessages quiet;
    platform::setMessageSink(&quiet);
    if (size < 12)
        return 0;
    PackEntry row{"entry", readNumber(data), readNumber(data + 4), readNumber(data + 8)};
    const uint8_t* pack = data + 12;
    long packSize = static_cast<long>(size - 12);
    if (!packRowIsSound(row, packSize))
        return 0;
    FileBytes entry = unpackEntry(pack + row.offset, row, row.name);
    if (entry && (entry.data[entry.size] != 0 || entry.data[entry.size + 1] != 0))
        __builtin_trap();
    return 0;
}
