#include "resources/ResourceManager.h"

#include "resources/DataFile.h"
#include "resources/KeyValue.h"
#include "resources/PackFile.h"

#include <cstdio>
#include <cstring>

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
    if (usePack)
        outsidePack.insert(name);
    readNames.insert(name);
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

bool ResourceManager::readsFromDataFolder(const char* name) const
{
    if (!usePack)
        return true;
    // The pack holds neither the music nor the animation movies, nor files
    // its list does not name: a name its table lacks comes from the data
    // folder beside it when that has it.
    if (!name || directory.find(name))
        return false;
    char path[pathSize];
    long size = 0;
    FILE* file = findFile(name, path) ? openDataFile(path, size) : nullptr;
    if (file)
        std::fclose(file);
    return file != nullptr;
}

std::unique_ptr<char[]> ResourceManager::readFile(const char* name) const
{
    if (!readsFromDataFolder(name))
        return readPackEntry(packName.c_str(), directory, name).data;
    char path[pathSize];
    if (!findFile(name, path))
        return nullptr;
    return readTextFile(path);
}

FileBytes ResourceManager::readBytes(const char* name, const char* missingFormat) const
{
    if (!readsFromDataFolder(name))
        return readPackEntry(packName.c_str(), directory, name);
    char path[pathSize];
    if (!findFile(name, path))
        return {};
    DataFileProblem problem = DataFileProblem::none;
    FileBytes bytes = readDataFile(path, problem);
    if (problem == DataFileProblem::missing && missingFormat)
        std::printf(missingFormat, path);
    else if (problem == DataFileProblem::unreadable)
        std::printf("Could not read %s\n", path);
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
    if (!objectFactory || building.count(name) != 0)
        return nullptr;
    building.insert(name);
    void* built = objectFactory(*this, name);
    building.erase(name);
    return built;
}

void ResourceManager::keepObject(const std::string& name, void* raw, std::shared_ptr<void> owner)
{
    objects[name] = raw;
    if (owner)
        owned.push_back(std::move(owner));
}
