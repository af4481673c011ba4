// ShadowLight: one spot light that casts depth-map shadows. It holds the
// light's placement and frustum, a depth texture, the depth-only pass into an
// off-screen surface, the projective texture coordinates that look the depth
// map up while the lit scene is drawn, and the GL light's position and
// direction.
//
// Per frame: beginDepthPass, draw the shadow casters, endDepthPass (which
// copies the surface's depth into the texture and returns to the window),
// then draw the lit scene with the texture bound after setupShadowTexGen.
// Every operation changes GL state on the current context, as its comment
// says. Owns its texture; delete the light while a context sharing it is
// current.
#pragma once

#include "core/GLObjects.h"
#include "core/ShowMath.h"

#include <epoxy/gl.h>

class PBuffer;

class ShadowLight {
public:
    // How the depth texture compares: the SGIX extension where the driver
    // has it, otherwise ARB_shadow, which every driver here offers.
    enum class Comparison { arbShadow, sgixShadow };
    static Comparison comparisonFor(bool hasSgixShadow);

    // The texture's internal format for the depth bits of the context. Sizes
    // without a sized format take the unsized depth format, which the driver
    // always accepts, so the light never ends up without a texture.
    static GLenum depthFormatFor(int depthBits);

    ShadowLight();

    // Makes a new texture (the one before goes), binds it on the active unit
    // and allocates it mapWidth x mapHeight with the comparison of
    // `comparison` set.
    void createDepthTexture(GLenum type);

    // Makes `surface` current and sets it up for a depth-only pass seen from
    // the light: viewport, cleared depth, polygon offset, colour writes off,
    // the light's projection and view on the matrix stacks.
    void beginDepthPass(PBuffer& surface);
    // Copies the depth drawn since beginDepthPass into the texture while the
    // surface is still current, then returns to the window's context.
    void endDepthPass(PBuffer& surface);
    // The same pass as a tile of a larger surface that is already current
    // and cleared, so several lights share one switch of context: the
    // viewport is the map's size with its corner at (x, y), and the copy
    // takes that tile and stays on the surface.
    void beginDepthTile(int x, int y);
    void copyDepthTile(int x, int y);

    // Eye-linear coordinates on the active unit, with the texture matrix
    // taking them into the light's depth map. Call it with the model-view
    // holding the camera alone: the eye planes take it in.
    void setupShadowTexGen() const;
    // GL_SPOT_DIRECTION of GL_LIGHT0 + index: from the target towards the
    // light, zero when both stand on one point.
    void applySpotDirection(int index) const;
    // GL_POSITION of GL_LIGHT0 + index: (x, y, z, 1) after a move to
    // `position`, through the current model-view.
    void applyPosition(int index, float x, float y, float z) const;

    // Clip planes 0-7 (0-3 where the driver has fewer than eight) round the
    // light's spot, through the current model-view (which should hold the
    // camera alone, as for setupShadowTexGen): nothing outside the spot's
    // cone, a tenth wider, is rasterised, and nothing behind the light
    // takes the mirrored projection. Polygons are pulled one depth step
    // forward while it is on, so a pass testing GL_LEQUAL against the
    // unclipped depth keeps every pixel. False turns the planes and the
    // offset off.
    void clipToFrustum(bool on) const;

    // The light's view: a look-at from `position` towards `target`.
    show::Mat4 viewMatrix() const;

    show::Vec3 position{0.0f, 0.0f, -10.0f};
    show::Vec3 target{0.0f, 0.0f, 0.0f};
    float colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};   // red, green, blue, intensity
    float nearPlane = 1.0f;
    float farPlane = 100.0f;
    float fov = 60.0f;
    GLTexture depthTexture;
    float lightView[16] = {};
    float lightProjection[16] = {};
    int mapWidth = 512;
    int mapHeight = 512;
    float offsetUnits = 4.0f;
    float offsetFactor = 1.1f;
    Comparison comparison;

private:
    void bindDepthTexture();

    mutable int clipPlanes = 0;   // on: 8, or 4 where the driver has fewer
};
