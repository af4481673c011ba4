// TextPlane: a word of the ribbon tunnel, shown as a stack of 15 glowing
// translucent layers standing in the camera's path. The picture's light
// pixels (first byte above 100) become opaque, the rest clear, so any
// white-on-black picture serves. The plane fades in over the eight seconds
// before its show time and out over the eight after.
//
// Owns its texture; destroy it while its GL context is current.
#pragma once

#include "core/GLObjects.h"
#include "core/ShowMath.h"

class ResourceManager;

class TextPlane {
public:
    static constexpr float visibleSeconds = 8.0f;
    static constexpr int layers = 15;

    // Loads the picture `name`; without it the plane draws untextured.
    TextPlane(const ResourceManager& resources, const char* name, float showTime, const show::Mat4& matrix);

    // The layers for time `t` (seconds); nothing further than eight seconds
    // from the show time. Sets colours, blending is the caller's.
    void draw(float t) const;
    // Opacity of layer `layer` at time `t`: 0.1 for the front one at the
    // show time, falling to nothing at the back and eight seconds away.
    float layerAlpha(int layer, float t) const;

    float showTime;
    show::Mat4 matrix;
    show::Vec3 offset;
    GLTexture texture;   // none without the picture
    unsigned target;
    int width = 0;
    int height = 0;

    // The part of the plane that can add light, in texels from the picture's
    // first column and row (end exclusive): its light pixels and the clear
    // texel around them that filtering reads from. The whole picture
    // without one; empty when nothing in it is light.
    struct Box {
        int left = 0, top = 0, right = 0, bottom = 0;
    };
    Box lit;

private:
    void loadPicture(const ResourceManager& resources, const char* name);
    void findLitBox(const unsigned char* luminanceAlpha);
};
