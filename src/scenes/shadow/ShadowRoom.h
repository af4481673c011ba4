// ShadowRoom: a closed 160-unit box of a room lit by three coloured spot
// lights circling its centre, each casting a depth-map shadow of the cube
// logo inside, with a blurred specular copy of the logo added as a glow.
//
// A frame: move the lights; draw the depth maps as tiles of
// "PBuffer512x512"; render the logo's glow at half the frame's size into
// "PBuffer320x240" and blur it eight times with "Blur320x240" into
// "CopyScreen320x240"; then on the screen lay down depth
// with the dim light the walls throw back, add one lit pass per light,
// masked by its depth map and by "CircleMask" projected from it, and add the
// glow. The caller sets the camera (the model-view holds the
// camera alone) and clears; draw leaves depth testing on, blending and
// lighting off, depth writes on and GL_LESS.
//
// Owns the lights, the logo and the room's display list; borrows the shared
// render targets from the registry. The light colours come from
// "shadowroom.cfg" ("light0" .. "light2", three floats each), and so does
// "bounce", the share of each light the walls throw back (0 when absent).
#pragma once

#include "core/GLObjects.h"
#include "effects/Glow.h"
#include "effects/MaterialState.h"
#include "scenes/shadow/ShadowLight.h"
#include "scenes/shadow/CubeLogo.h"
#include "scenes/shadow/ScreenBox.h"

#include <array>
#include <memory>

class PBuffer;
class ResourceManager;
struct MaskTexture;

class ShadowRoom {
public:
    static constexpr int lightCount = 3;

    explicit ShadowRoom(ResourceManager* resources);
    ~ShadowRoom();
    ShadowRoom(const ShadowRoom&) = delete;
    ShadowRoom& operator=(const ShadowRoom&) = delete;

    // Renders the whole room for the frame time `t` (seconds): prepare, then
    // drawPrepared.
    void draw(float t);
    // The off-screen part of a frame: moves the lights, renders their depth
    // maps and the logo's blurred glow from the current camera. Switching to
    // a render target ends the screen's drawing so far, and picking it up
    // again costs a pass over the whole screen's memory, so a caller runs
    // this before it clears the screen.
    void prepare(float t);
    // The screen's part: the bounce and lit passes and the glow added.
    void drawPrepared();
    // Passes the key to the logo; always 0.
    int onKey(int key, int x, int y);

    // Where the lights stand at time `t`: each circles the centre at radius
    // 40, light k twice as fast as light k - 1, tilting as it goes.
    void moveLights(float t);

    std::array<std::unique_ptr<ShadowLight>, lightCount> lights;
    std::unique_ptr<CubeLogo> logo;
    MaterialState roomState;
    float bounce = 0.0f;

private:
    void drawContents() const;
    void drawBouncePass();
    // Leaves the maps' surface current.
    void drawShadowMaps();
    void drawLitPasses();
    void drawGlow(const float (&projection)[16], const float (&modelView)[16]);
    // The glow surface's box of the logo and the blur's reach around it.
    bool logoScreenBox(const float (&projection)[16], const float (&modelView)[16], int width, int height,
                       ScreenBox& box) const;

    MaskTexture* circleMask = nullptr;
    PBuffer* depthSurface = nullptr;
    Glow glow{nullptr, nullptr, nullptr};
    GLDisplayList roomList;
};
