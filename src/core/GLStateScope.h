// GLStateScope: puts back, when it goes out of scope, the OpenGL state that
// existed when it was made: every server and client attribute group, the
// projection, model-view and texture matrices (and their stack depths), the
// bound vertex and fragment programs and the emulated combiner and
// texture-shader enables. The show draws each frame of a scene inside one,
// so whatever a scene switches on or binds ends with its frame and the next
// scene (or the next frame) starts from the same state.
//
// Needs the context current for its whole life, the same one at both ends.
// Attribute and matrix pushes the drawing left unbalanced are popped too.
#pragma once

#include <array>
#include <vector>

class GLStateScope {
public:
    GLStateScope();
    ~GLStateScope();
    GLStateScope(const GLStateScope&) = delete;
    GLStateScope& operator=(const GLStateScope&) = delete;

private:
    using Matrix = std::array<float, 16>;
    struct SavedStack {
        unsigned mode;       // GL_PROJECTION, GL_MODELVIEW or GL_TEXTURE
        int unit;            // texture unit for GL_TEXTURE
        int depth;
        Matrix top;
    };

    void saveStack(unsigned mode, int unit);
    static void restoreStack(const SavedStack& stack);

    std::vector<SavedStack> stacks;
    std::array<float, 4> colour{};
    std::array<float, 3> normal{};
    int attributeDepth = 0;
    int activeUnit = 0;
    int matrixMode = 0;
    int clientAttributeDepth = 0;
    int vertexProgram = 0;     // NV binding (the layer's own record)
    int fragmentProgram = 0;   // ARB binding
    bool combiners = false;
    bool textureShaders = false;
    bool perStageConstants = false;
};
