// Reading a pack table source given with --table, then looking names up in
// it the way the pack reader does.
#include "pack/PackTableSource.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PackTable table;
    if (!readPackTableSource(std::string(reinterpret_cast<const char*>(data), size), table))
        return 0;
    PackDirectory directory = table.directory();
    for (int i = 0; i < table.size(); ++i)
        if (directory.find(table.row(i).name) == nullptr)
            __builtin_trap();
    directory.find("VOLUME.3DS");
    return 0;
}
