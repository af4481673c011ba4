#include "resources/DataFile.h"

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
