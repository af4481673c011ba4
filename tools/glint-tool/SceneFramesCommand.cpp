// glint-tool scene-frames FOLDER OUTDIR [--pack]: loads the whole show from
// FOLDER (the folder glint runs in: its data/, and with --pack its pmx.d
// with the compiled-in table), draws one frame of every scene a second and a half
// into it, the way the benchmark draws them, and saves frame N as
// OUTDIR/sceneN.png. Two runs of the same data write the same files, so a
// pack run can be compared with a data-folder run byte for byte.
#include "glint-tool/ShowSampling.h"
#include "glint-tool/ToolCommand.h"
#include "shell/PngWriter.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

int runSceneFrames(const tool::Args& args)
{
    if (args.size() < 2 || args.size() > 3 || (args.size() == 3 && args[2] != "--pack"))
        return tool::usageError("scene-frames");
    const bool usePack = args.size() == 3;
    std::error_code error;
    const std::filesystem::path out = std::filesystem::absolute(args[1], error);
    if (error || !std::filesystem::is_directory(out, error)) {
        std::fprintf(stderr, "glint-tool: no folder %s\n", args[1].c_str());
        return 1;
    }
    shell::ShowSample sample;
    if (!tool::sampleShowIn(args[0], usePack, sample))
        return 1;
    for (size_t scene = 0; scene < sample.frames.size(); ++scene) {
        const std::string path = (out / ("scene" + std::to_string(scene) + ".png")).string();
        std::string writeError;
        if (!shell::writePng(path, tool::sampleWidth, tool::sampleHeight, sample.frames[scene].data(), writeError)) {
            std::fprintf(stderr, "glint-tool: %s\n", writeError.c_str());
            return 1;
        }
    }
    std::printf("%zu scenes\n", sample.frames.size());
    return 0;
}

} // namespace

GLINT_TOOL_COMMAND("scene-frames",
                   "scene-frames FOLDER OUTDIR [--pack] - save one frame of every scene, read from FOLDER's data "
                   "folder or pack",
                   runSceneFrames);
