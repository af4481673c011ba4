// Fuzzes 3DS loading as the show does it: the structure check, lib3ds'
// reader behind it (which must accept every file the check passes), and what
// scenes then do with a loaded file: evaluate it
// at frames (inside, between and beyond the keys, and before 0), look up
// every node's camera matrix and object position, and walk every mesh face
// through its points and texture coordinates.
#include "core/Scene3DS.h"
#include "resources/Chunk3DS.h"

#include <lib3ds/mesh.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void visitNodes(const Scene3DS& scene, const Lib3dsNode* node, float& sum)
{
    for (; node; node = node->next) {
        sum += scene.cameraMatrix(node->name).m[12];
        sum += scene.objectPosition(node->name).x;
        visitNodes(scene, node->childs, sum);
    }
}

float meshCorners(const Lib3dsFile& file)
{
    float sum = 0.0f;
    for (const Lib3dsMesh* mesh = file.meshes; mesh; mesh = mesh->next) {
        for (Lib3dsDword f = 0; f < mesh->faces; ++f) {
            for (Lib3dsWord corner : mesh->faceL[f].points) {
                sum += mesh->pointL[corner].pos[0];
                if (mesh->texels)
                    sum += mesh->texelL[corner][0];
            }
        }
    }
    return sum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string problem;
    const bool passes = check3dsChunks(data, size, problem);
    Scene3DS scene(load3dsFromMemory(data, size, problem));
    // Whatever the check passes, lib3ds must read: a lib3ds read that fails
    // part-way leaves its process-wide chunk-depth string unbalanced, and a
    // few such failures later lib3ds overflows it and aborts the process.
    if (passes && !scene.file)
        __builtin_trap();
    if (!scene.file)
        return 0;
    float sum = meshCorners(*scene.file);
    for (float frame : {0.0f, 2.5f, 50.0f, 1.0e7f, -3.0f}) {
        scene.setFrame(frame);
        visitNodes(scene, scene.file->nodes, sum);
    }
    volatile float sink = sum;  // keeps the reads
    (void)sink;
    return 0;
}
