// glint-tool 3ds: shows what the scenes get out of a 3DS file. It loads the
// file through the same checked loader as the show, lists its key-frame
// nodes, and for each frame asked for prints every camera's matrix (as
// Scene3DS::cameraMatrix gives it), every light's colour and position and
// every object's position.
#include "glint-tool/ToolCommand.h"

#include "core/Scene3DS.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

const char* nodeTypeName(Lib3dsNodeTypes type)
{
    switch (type) {
    case LIB3DS_AMBIENT_NODE: return "ambient";
    case LIB3DS_OBJECT_NODE: return "object";
    case LIB3DS_CAMERA_NODE: return "camera";
    case LIB3DS_TARGET_NODE: return "target";
    case LIB3DS_LIGHT_NODE: return "light";
    case LIB3DS_SPOT_NODE: return "spot";
    default: return "unknown";
    }
}

// Visits every node, parents before their children, in file order.
void forEachNode(Lib3dsNode* first, const std::function<void(const Lib3dsNode&)>& visit)
{
    for (Lib3dsNode* node = first; node; node = node->next) {
        visit(*node);
        forEachNode(node->childs, visit);
    }
}

void printFrame(Scene3DS& scene, float frame)
{
    scene.setFrame(frame);
    std::printf("frame %g:\n", frame);
    forEachNode(scene.file->nodes, [&scene](const Lib3dsNode& node) {
        if (node.type == LIB3DS_CAMERA_NODE) {
            std::printf("  camera %s:", node.name);
            for (float value : scene.cameraMatrix(node.name).m)
                std::printf(" %g", value);
            std::printf("\n");
        } else if (node.type == LIB3DS_LIGHT_NODE) {
            const Lib3dsLightData& light = node.data.light;
            std::printf("  light %s: colour %g %g %g position %g %g %g\n", node.name, light.col[0], light.col[1],
                        light.col[2], light.pos[0], light.pos[1], light.pos[2]);
        } else if (node.type == LIB3DS_OBJECT_NODE) {
            const show::Vec3 position = scene.objectPosition(node.name);
            std::printf("  object %s: position %g %g %g\n", node.name, position.x, position.y, position.z);
        }
    });
}

int run3ds(const tool::Args& args)
{
    if (args.empty())
        return tool::usageError("3ds");
    std::vector<float> frames;
    for (size_t i = 1; i < args.size(); ++i) {
        char* end = nullptr;
        const float frame = std::strtof(args[i].c_str(), &end);
        if (end == args[i].c_str() || *end != '\0' || !std::isfinite(frame)) {
            std::fprintf(stderr, "glint-tool 3ds: '%s' is not a frame number\n", args[i].c_str());
            return tool::usageError("3ds");
        }
        frames.push_back(frame);
    }
    std::string problem;
    Scene3DS scene(load3dsFromPath(args[0], problem));
    if (!scene.file) {
        std::fprintf(stderr, "glint-tool 3ds: %s: %s\n", args[0].c_str(), problem.c_str());
        return 1;
    }
    std::printf("nodes:\n");
    forEachNode(scene.file->nodes, [](const Lib3dsNode& node) {
        std::printf("  %s %s\n", node.name, nodeTypeName(node.type));
    });
    for (float frame : frames)
        printFrame(scene, frame);
    return 0;
}

} // namespace

GLINT_TOOL_COMMAND("3ds", "3ds FILE [FRAME...] - lists a 3DS file's nodes and, at each FRAME, its cameras, lights and objects",
                   run3ds);
