// glint-datagen: writes the generated part of the show's data directory.
//   glint-datagen DIR                      every product, the whole music track
//   glint-datagen DIR --music FROM TO      only beats FROM..TO of the track
//   glint-datagen DIR --no-music           everything but the music
//   glint-datagen --list                   the file names it writes
#include "datagen/DataProduct.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: glint-datagen DIR [--no-music | --music FROM_BEAT TO_BEAT]\n"
                         "       glint-datagen --list\n");
    return 2;
}

bool parseBeat(const char* text, double& beat)
{
    char* end = nullptr;
    beat = std::strtod(text, &end);
    return *text != '\0' && *end == '\0' && beat >= 0;
}

bool parseOptions(int argc, char** argv, datagen::GeneratorOptions& options)
{
    if (argc == 2)
        return true;
    if (argc == 3 && std::strcmp(argv[2], "--no-music") == 0) {
        options.music = false;
        return true;
    }
    return argc == 5 && std::strcmp(argv[2], "--music") == 0 && parseBeat(argv[3], options.musicFromBeat) &&
           parseBeat(argv[4], options.musicToBeat) && options.musicToBeat > options.musicFromBeat;
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
        for (const datagen::DataProduct& product : datagen::dataProducts())
            std::printf("%s\n", product.fileName);
        return 0;
    }
    datagen::GeneratorOptions options;
    if (argc < 2 || argv[1][0] == '-' || !parseOptions(argc, argv, options))
        return usage();
    const std::string dir = argv[1];
    if (mkdir(dir.c_str(), 0777) != 0 && errno != EEXIST) {
        std::fprintf(stderr, "glint-datagen: cannot create %s: %s\n", dir.c_str(), std::strerror(errno));
        return 1;
    }
    for (const datagen::DataProduct& product : datagen::dataProducts()) {
        if (product.isMusic && !options.music)
            continue;
        std::vector<uint8_t> bytes = product.make(options);
        const std::string path = dir + "/" + product.fileName;
        if (bytes.empty() || !writeBytes(path, bytes)) {
            std::fprintf(stderr, "glint-datagen: could not make %s\n", path.c_str());
            return 1;
        }
        std::printf("glint-datagen: %s (%zu bytes)\n", product.fileName, bytes.size());
    }
    return 0;
}
