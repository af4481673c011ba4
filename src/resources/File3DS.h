// Loading 3DS files into lib3ds file objects, safely.
//
// Both loaders run the structure check of Chunk3DS.h over the whole file
// before lib3ds sees it, and then let lib3ds read exactly the bytes that were
// checked, through a memory stream. A file read from disk is read whole
// first, so it cannot change between the check and the parse.
//
// The result owns the lib3ds file object (freed with lib3ds_file_free); it is
// null when the file is missing, malformed or refused by lib3ds, and then
// `problem` says why in one line (the caller adds the file name). The show
// loads through load3ds, which reads either data source and shows the
// "3DS Load error" message.
#pragma once

#include <lib3ds/file.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class ResourceManager;

struct File3DSDeleter {
    void operator()(Lib3dsFile* file) const { lib3ds_file_free(file); }
};
using File3DSPtr = std::unique_ptr<Lib3dsFile, File3DSDeleter>;

// Parses a 3DS file held in memory (a pack entry); the block is not kept.
File3DSPtr load3dsFromMemory(const uint8_t* data, size_t size, std::string& problem);

// Reads the 3DS file at `path` and parses it as load3dsFromMemory does.
File3DSPtr load3dsFromPath(const std::string& path, std::string& problem);

// A checked 3DS scene read through `resources`; null with a "3DS Load error"
// box when it is missing or unreadable.
File3DSPtr load3ds(const ResourceManager& resources, const char* name);
