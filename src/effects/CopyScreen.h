// A texture that receives copies of the current drawing surface, and draws
// itself back over the whole screen. Scenes share a few of these by name
// ("CopyScreen640x480", ...) so every full-screen pass copies into the same
// textures. Power-of-two sizes use GL_TEXTURE_2D, others the rectangle
// target addressed in texels.
//
// Owns its GL texture; delete it while a context sharing the texture is
// current.
#pragma once

class CopyScreen {
public:
    CopyScreen(int width, int height, bool compressed);
    ~CopyScreen();
    CopyScreen(const CopyScreen&) = delete;
    CopyScreen& operator=(const CopyScreen&) = delete;

    // Copies the rectangle (x, y, w, h) of the read buffer into the texture
    // at (xOffset, yOffset); w or h of -1 mean the texture's own size. The
    // rectangle is in virtual-screen pixels: on a larger screen it is read
    // at the screen's scale and shrunk into the texture.
    void copyFromScreen(int xOffset, int yOffset, int x, int y, int w, int h);
    // Draws one textured quad centred on (x, y) of size w x h (-1: the
    // texture's size) in a y-down box the size of the texture. Sets the
    // projection and model-view matrices; leaves the texture target disabled.
    void drawFullScreen(int x, int y, int w, int h);
    // Draws the whole texture stretched over w x h pixels whose upper-left
    // corner is (x, y), in a y-down box the size of the texture with its
    // origin at the upper left. Sets the same state as drawFullScreen.
    void drawStretched(int x, int y, int w, int h);

    void bind();
    void enable();
    void disable();

    int width;
    int height;
    unsigned target;
    unsigned texture = 0;
};
