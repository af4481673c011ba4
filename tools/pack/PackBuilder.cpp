#include "pack/PackBuilder.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <strings.h>

namespace {

namespace fs = std::filesystem;

bool readWhole(const fs::path& path, std::vector<unsigned char>& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool compressEntry(const std::vector<unsigned char>& file, std::vector<unsigned char>& packed)
{
    uLongf length = compressBound(static_cast<uLong>(file.size()));
    packed.resize(length);
    if (compress(packed.data(), &length, file.data(), static_cast<uLong>(file.size())) != Z_OK)
        return false;
    packed.resize(length);
    return true;
}

bool isRegularFile(const fs::path& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// The file of `dataDir` that `name` means. The show's order spells some
// names in another case than the data directory holds them ("scene.3DS"
// for "scene.3ds"); pack lookups ignore case, so the entry keeps the listed
// name and takes the file in whatever case it is there.
fs::path fileFor(const std::string& dataDir, const std::string& name)
{
    const fs::path exact = fs::path(dataDir) / name;
    if (isRegularFile(exact))
        return exact;
    std::error_code error;
    for (const auto& file : fs::directory_iterator(dataDir, error))
        if (strcasecmp(file.path().filename().c_str(), name.c_str()) == 0 && isRegularFile(file.path()))
            return file.path();
    return exact;
}

// Reports every name of `order` that has no file in `dataDir`; true when
// there is none.
bool everyFileThere(const std::string& dataDir, const std::vector<std::string>& order)
{
    std::vector<std::string> missing;
    for (const std::string& name : order)
        if (!isRegularFile(fileFor(dataDir, name)) && std::find(missing.begin(), missing.end(), name) == missing.end())
            missing.push_back(name);
    for (const std::string& name : missing)
        std::fprintf(stderr, "cannot pack %s: it is not in %s\n", name.c_str(), dataDir.c_str());
    if (!missing.empty())
        std::fprintf(stderr, "no pack made: %zu of its files are missing\n", missing.size());
    return missing.empty();
}

// Appends the entries to `pack`, filling `result`.
bool writeEntries(const std::string& dataDir, const std::vector<std::string>& order, std::ofstream& pack,
                  PackBuild& result)
{
    int64_t offset = 0;
    std::vector<unsigned char> file, packed;
    for (const std::string& name : order) {
        const fs::path path = fileFor(dataDir, name);
        if (!readWhole(path, file) || file.size() > INT32_MAX || !compressEntry(file, packed)) {
            std::fprintf(stderr, "cannot pack %s\n", path.c_str());
            return false;
        }
        if (offset + static_cast<int64_t>(packed.size()) > INT32_MAX) {
            std::fprintf(stderr, "the pack outgrows 32-bit offsets at %s\n", name.c_str());
            return false;
        }
        pack.write(reinterpret_cast<const char*>(packed.data()), static_cast<std::streamsize>(packed.size()));
        result.table.add(name, static_cast<int32_t>(offset), static_cast<int32_t>(packed.size()),
                         static_cast<int32_t>(file.size()));
        offset += static_cast<int64_t>(packed.size());
    }
    return true;
}

} // namespace

bool buildPack(const std::string& dataDir, const std::vector<std::string>& order,
               const std::string& packPath, PackBuild& result)
{
    result = PackBuild{};
    if (!everyFileThere(dataDir, order))
        return false;
    // Written beside the target first, so a failed build never leaves a
    // pack that disagrees with its table.
    const std::string partPath = packPath + ".part";
    std::ofstream pack(partPath, std::ios::binary | std::ios::trunc);
    if (!pack) {
        std::fprintf(stderr, "cannot write %s\n", partPath.c_str());
        return false;
    }
    bool entriesWritten = writeEntries(dataDir, order, pack, result);
    pack.close();
    std::error_code error;
    if (entriesWritten) {
        if (pack)
            fs::rename(partPath, packPath, error);
        if (!pack || error)
            std::fprintf(stderr, "cannot write %s\n", packPath.c_str());
        else
            return true;
    }
    fs::remove(partPath, error);
    return false;
}
