#include "resources/ResourceManager.h"

#include "resources/DataFile.h"
#include "resources/KeyValue.h"
#include "resources/PackFile.h"
#include "resources/SharedObjects.h"

#include <cstdio>
#include <cstring>
#include <new>

ResourceManager::ResourceManager(bool usePack, bool useDataPrefix, const PackDirectory& directory)
    : usePack(usePack), useDataPrefix(useDataPrefix), directory(directory)
{
}

ResourceManager::~ResourceManager()
{
    objects.clear();
    while (!owned.empty())
        owned.pop_back();
}

bool ResourceManager::findFile(const char* name, char (&path)[pathSize]) const
{
    if (!name) {
        std::printf("Invalid file name\n");
        path[0] = '\0';
        return false;
    }
    const std::string base = useDataPrefix ? std::string("data/") : dataDir;
    size_t length = base.size() + std::strlen(name);
    if (length >= static_cast<size_t>(pathSize)) {
        // Cutting the path short could name another file; refuse it instead.
        std::printf("Path too long: %s%s\n", base.c_str(), name);
        path[0] = '\0';
        return false;
    }
    std::snprintf(path, pathSize, "%s%s", base.c_str(), name);
    return true;
}

std::unique_ptr<char[]> ResourceManager::readFile(const char* name) const
{
    if (usePack)
        return readPackEntry(packName.c_str(), directory, name).data;
    char path[pathSize];
    if (!findFile(name, path))
        return nullptr;
    return readTextFile(path);
}

FileBytes ResourceManager::readBytes(const char* name) const
{
    if (usePack)
        return readPackEntry(packName.c_str(), directory, name);
    char path[pathSize];
    if (!findFile(name, path))
        return {};
    long size = 0;
    FILE* file = openDataFile(path, size);
    if (!file) {
        std::printf("File not found: %s\n", path);
        return {};
    }
    FileBytes bytes;
    bytes.data.reset(new (std::nothrow) char[static_cast<size_t>(size) + 2]());
    bool complete = bytes.data && std::fread(bytes.data.get(), 1, static_cast<size_t>(size), file) ==
                                      static_cast<size_t>(size);
    std::fclose(file);
    if (!complete) {
        std::printf("Could not read %s\n", path);
        return {};
    }
    bytes.size = static_cast<int>(size);
    return bytes;
}

int ResourceManager::fileSize(const char* name) const
{
    if (!usePack)
        return 0;
    const PackEntry* row = directory.find(name);
    return row ? row->unpackedSize : 0;
}

void* ResourceManager::getObject(const std::string& name)
{
    auto found = objects.find(name);
    if (found != objects.end() && found->second)
        return found->second;
    return createSharedObject(*this, name);
}

void ResourceManager::keepObject(const std::string& name, void* raw, std::shared_ptr<void> owner)
{
    objects[name] = raw;
    if (owner)
        owned.push_back(std::move(owner));
}
