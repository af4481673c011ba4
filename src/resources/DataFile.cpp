#include "resources/DataFile.h"

#include <new>

#include <sys/stat.h>

FILE* openDataFile(const char* path, long& size)
{
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return nullptr;
    struct stat info {};
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > 0x7fffffffL) {
        std::fclose(file);
        return nullptr;
    }
    size = static_cast<long>(info.st_size);
    return file;
}

FileBytes readDataFile(const char* path, DataFileProblem& problem)
{
    long size = 0;
    FILE* file = openDataFile(path, size);
    if (!file) {
        problem = DataFileProblem::missing;
        return {};
    }
    FileBytes bytes;
    bytes.data.reset(new (std::nothrow) char[static_cast<size_t>(size) + 2]());
    const bool complete = bytes.data && std::fread(bytes.data.get(), 1, static_cast<size_t>(size), file) ==
                                            static_cast<size_t>(size);
    std::fclose(file);
    if (!complete) {
        problem = DataFileProblem::unreadable;
        return {};
    }
    problem = DataFileProblem::none;
    bytes.size = static_cast<int>(size);
    return bytes;
}
