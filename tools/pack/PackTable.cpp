#include "pack/PackTable.h"

void PackTable::add(const std::string& name, int32_t offset, int32_t packedSize, int32_t unpackedSize)
{
    names.push_back(name);
    rows.push_back(PackEntry{names.back().c_str(), offset, packedSize, unpackedSize});
}

int64_t PackTable::packedTotal() const
{
    int64_t total = 0;
    for (const PackEntry& row : rows)
        total += row.packedSize;
    return total;
}
