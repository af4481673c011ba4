#include "resources/File3DS.h"

#include "resources/Chunk3DS.h"
#include "resources/MemoryStream3DS.h"

#include <fstream>
#include <iterator>
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
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        problem = "cannot open the file";
        return nullptr;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        problem = "cannot read the file";
        return nullptr;
    }
    return load3dsFromMemory(bytes.data(), bytes.size(), problem);
}
