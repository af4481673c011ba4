// Fixture for tests that draw through the NV extension layer: a headless GL
// test with the layer's process-wide state put back to rest afterwards, and
// helpers for compiling texts and reading colours.
#pragma once

#include "support/GLTest.h"

#include "programs/NvExtensions.h"
#include "programs/ProgramText.h"

#include <array>
#include <string>
#include <vector>

class NvLayerTest : public GLTest {
protected:
    void TearDown() override;

    // Compiles `text` and returns the error list as strings.
    static std::vector<std::string> compile(const std::string& text, int id = 0);
    // Generates and binds a vertex program name, compiles `text` into it and
    // expects no errors.
    static GLuint loadVertexProgram(const std::string& text);
    // Compiles a combiner or texture-shader text into a new display list.
    static GLuint compileList(const std::string& text);

    // Window pixel whose centre a normalised device coordinate pair hits.
    static std::array<int, 2> pixelOf(float ndcX, float ndcY);
    // Expects the pixel to hold `rgb` (0..1 each) within `tolerance` levels.
    static void expectPixel(int x, int y, std::array<float, 3> rgb, int tolerance = 2);
};
