// 3DS files for the 3DS tests, and a way to find chunks in them to break.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace testscenes {

// A scene written by the builder, 100 frames long:
//  - "Camera01" from (0, -10, 0) at frame 0 to (10, -10, 0) at frame 100,
//    target fixed at the origin, fov 45 to 60 degrees, no roll;
//  - "Camera02" at (5, 5, 5) looking at (0, 0, 1) with roll 0.5 and fov 30;
//  - omni light "Omni01" from (1, 2, 3) at frame 0 to (3, 2, 1) at frame 50,
//    colour (1, 0.5, 0.25) to (0, 1, 0);
//  - spot light "Spot01" at (0, 0, 10) aimed at the origin, colour (0.2, 0.4, 0.6);
//  - object "Ribbon" (a box) at (0, 0, 0), (10, 0, 0), (10, 10, 0), (0, 10, 5)
//    at frames 0, 10, 20, 30;
//  - object "Cube" from (-4, 0, 2) at frame 0 to (4, 8, -2) at frame 80.
std::vector<uint8_t> showScene();

// A file written with lib3ds' own writer that holds every kind of chunk
// lib3ds writes: background, atmosphere, viewports, a material with all its
// maps, a mesh with texture coordinates, point flags, a material group and a
// box map, cameras, omni and spot lights, and every kind of key-frame node
// with every track.
std::vector<uint8_t> everyChunkFile();

// The offset of the first chunk reached by following `path` (chunk ids from
// the file chunk down); fails the test and returns 0 when there is none.
size_t findChunk(const std::vector<uint8_t>& file, const std::vector<uint16_t>& path);

// Pieces for writing small 3DS files by hand: a chunk around its parts, a
// little-endian word or double word, a name with its closing zero.
using Bytes = std::vector<uint8_t>;
Bytes chunk(uint16_t id, const std::vector<Bytes>& parts);
Bytes word(uint16_t value);
Bytes dword(uint32_t value);
Bytes name(const std::string& text);
// A key-frame node chunk (of `tag`) with a NODE_ID and a NODE_HDR.
Bytes node(uint16_t tag, uint16_t id, const std::string& nodeName, uint16_t parent);
// A file chunk holding a KFDATA chunk with `nodes`.
Bytes keyframeFile(const std::vector<Bytes>& nodes);

void put16(std::vector<uint8_t>& file, size_t at, uint16_t value);
void put32(std::vector<uint8_t>& file, size_t at, uint32_t value);
uint32_t get32(const std::vector<uint8_t>& file, size_t at);

// A path in a scratch folder of this test program, removed when it ends.
std::string temporaryPath(const std::string& name);

// Writes `bytes` to temporaryPath(name) and returns that path.
std::string writeTemporary(const std::string& name, const std::vector<uint8_t>& bytes);

} // namespace testscenes
