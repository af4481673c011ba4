#include "resources/File3DS.h"

#include "platform/MessageBox.h"
#include "resources/Chunk3DS.h"
#include "resources/MemoryStream3DS.h"
#include "resources/ResourceManager.h"

#include <cstdio>
#include <vector>

File3DSPtr load3dsFromMemory(const uint8_t* data, size_t size, std::string& problem)
{
    if (!check3dsChunks(data, size, problem))
        return nullptr;
    MemoryStream3DS stream(data, size);
    File3DSPtr file(lib3ds_file_new());
    if (!stream.io() || !file) {
        problem = "out of memory";
        return nullptr;
    }
    if (!lib3ds_file_read(file.get(), stream.io())) {
        problem = "lib3ds cannot read the file";
        return nullptr;
    }
    return file;
}

File3DSPtr load3dsFromPath(const std::string& path, std::string& problem)
{
    // C streams: a path that names a directory opens but fails to read,
    // which iostreams would report by throwing.
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) {
        problem = "cannot open the file";
        return nullptr;
    }
    std::vector<uint8_t> bytes;
    uint8_t block[65536];
    size_t count;
    while ((count = std::fread(block, 1, sizeof block, in)) > 0)
        bytes.insert(bytes.end(), block, block + count);
    const bool failed = std::ferror(in) != 0;
    std::fclose(in);
    if (failed) {
        problem = "cannot read the file";
        return nullptr;
    }
    return load3dsFromMemory(bytes.data(), bytes.size(), problem);
}

// The show's loader: the file's bytes from either source through the memory
// stream. Whatever keeps the scene from loading (a missing or malformed file,
// one lib3ds refuses) ends in the same message box; the reason goes to
// standard error next to it.
File3DSPtr load3ds(const ResourceManager& resources, const char* name)
{
    std::string problem;
    File3DSPtr file;
    const FileBytes bytes = resources.readBytes(name, nullptr);
    if (bytes)
        file = load3dsFromMemory(reinterpret_cast<const uint8_t*>(bytes.data.get()), size_t(bytes.size), problem);
    else
        problem = resources.usePack ? "not in the pack" : "cannot open the file";
    if (!file) {
        std::fprintf(stderr, "%s: %s\n", name ? name : "(null)", problem.c_str());
        platform::showMessage(name ? name : "", "3DS Load error", platform::MessageIcon::Exclamation);
    }
    return file;
}
