#include "glint-tool/PackTableOption.h"

#include "pack/PackTableSource.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace tool {

bool choosePackTable(const Args& args, PackTableChoice& choice)
{
    std::string tablePath;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--table") {
            choice.positional.push_back(args[i]);
            continue;
        }
        if (i + 1 == args.size()) {
            std::fprintf(stderr, "--table needs a file\n");
            return false;
        }
        tablePath = args[++i];
    }
    if (tablePath.empty()) {
        choice.directory = builtInPackDirectory();
        return true;
    }
    std::ifstream in(tablePath, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", tablePath.c_str());
        return false;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!readPackTableSource(text, choice.fromFile))
        return false;
    choice.directory = choice.fromFile.directory();
    return true;
}

} // namespace tool
