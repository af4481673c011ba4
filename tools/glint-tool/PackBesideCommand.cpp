// glint-tool pack-beside [FOLDER]: lists, one name a line, the files a pack
// run reads from FOLDER/data beside FOLDER/pmx.d (FOLDER is the folder glint
// runs in, build/; the current folder by default). It loads the whole show
// from the pack with the compiled-in table, draws one frame of every scene
// and prints what the show looked for in the data folder. Exit code 1 when
// a listed file is not in FOLDER/data.
#include "glint-tool/ShowSampling.h"
#include "glint-tool/ToolCommand.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

int runPackBeside(const tool::Args& args)
{
    if (args.size() > 1)
        return tool::usageError("pack-beside");
    const std::filesystem::path folder = args.empty() ? "." : args[0];
    std::error_code error;
    if (!std::filesystem::is_regular_file(folder / "pmx.d", error)) {
        std::fprintf(stderr, "glint-tool: no pack file %s\n", (folder / "pmx.d").c_str());
        return 1;
    }
    shell::ShowSample sample;
    if (!tool::sampleShowIn(folder, true, sample))
        return 1;
    int status = 0;
    for (const std::string& name : sample.namesOutsideThePack) {
        std::printf("%s\n", name.c_str());
        if (!std::filesystem::is_regular_file(folder / "data" / name, error)) {
            std::fprintf(stderr, "glint-tool: a pack run looks for %s, which is not in %s\n", name.c_str(),
                         (folder / "data").c_str());
            status = 1;
        }
    }
    return status;
}

} // namespace

GLINT_TOOL_COMMAND("pack-beside",
                   "pack-beside [FOLDER] - list the files a pack run reads from FOLDER/data beside FOLDER/pmx.d",
                   runPackBeside);
