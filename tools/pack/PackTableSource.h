// The pack's directory table as C++ source, compiled into the program. One
// row per line, in pack order:
//     {"name", offset, packed size, unpacked size},
// readPackTableSource reads such a file back for the tools' --table option;
// it takes the row lines and ignores the rest.
#pragma once

#include "pack/PackTable.h"

#include <string>

// Writes the source defining builtInPackDirectory(). Names must be plain
// printable text without quotes or backslashes. Returns false with a message
// on standard error when it cannot.
bool writePackTableSource(const PackTable& table, const std::string& path);

// Parses a table source; false with a message on standard error for a
// malformed row line (one that starts with {").
bool readPackTableSource(const std::string& text, PackTable& table);
