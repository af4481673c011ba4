// A pack directory table that the tools own: the rows of a pack being built,
// or of a table source read back (--table). directory() gives the same view
// the compiled-in table gives, for the show's pack reader.
#pragma once

#include "resources/PackDirectory.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

class PackTable {
public:
    PackTable() = default;
    PackTable(PackTable&&) = default;
    PackTable& operator=(PackTable&&) = default;
    // Copies would point into the original's names.
    PackTable(const PackTable&) = delete;
    PackTable& operator=(const PackTable&) = delete;

    void add(const std::string& name, int32_t offset, int32_t packedSize, int32_t unpackedSize);
    int size() const { return static_cast<int>(rows.size()); }
    const PackEntry& row(int i) const { return rows[static_cast<size_t>(i)]; }
    // Sum of the packed sizes: the size of the pack file the table describes.
    int64_t packedTotal() const;

    // Valid while the table lives and gets no more rows.
    PackDirectory directory() const { return PackDirectory{rows.data(), size()}; }

private:
    std::deque<std::string> names;   // a deque keeps each name where it is
    std::vector<PackEntry> rows;
};
