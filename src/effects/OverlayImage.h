// "OverlayImage": a full-screen picture from a JPEG or PNG data file (the
// string parameter "filename"), drawn in the key-framed colour "r", "g",
// "b", "a" and with the effect's blending parameters. Without a loadable
// picture it still draws its coloured quad, untextured.
//
// The picture is loaded by `finishLoad`, once the script has set the file
// name: pictures with power-of-two sides become 2-D textures, others
// rectangle textures addressed in texels. Owns its texture; destroy the
// effect while its GL context is current.
#pragma once

#include "core/ScreenQuad.h"
#include "effects/Effect.h"
#include "resources/ImageDecoding.h"

#include <string>

// The smallest box of `image` (texels, origin bottom left: the first row of
// pixels is the top) that holds every texel that is not opaque white; width
// 0 when there is none.
ScreenBox markedBox(const resources::DecodedImage& image);

class OverlayImage : public Effect {
public:
    explicit OverlayImage(ResourceManager* resources);
    ~OverlayImage() override;

    int update(float localTime) override;
    void finishLoad() override;
    // The picture (or the bare quad) over the whole screen, in the colour
    // and blending already set; sets its own projection.
    void drawOverScreen() const;
    // drawOverScreen held to the screen pixels that show `marked` and one
    // texel around it, which filtering reaches: for a blend that leaves the
    // screen as it is under opaque white.
    void drawMarkedPart() const;

    std::string filename;
    unsigned texture = 0; // 0 when no picture was loaded
    unsigned target;
    int width = 0;
    int height = 0;
    // The picture's texels that are not opaque white (markedBox), known once
    // a picture is loaded; until then drawMarkedPart draws everywhere.
    ScreenBox marked{0, 0, 0, 0};
    bool markedKnown = false;

private:
    bool loadPicture(bool jpeg);

    EffectVar* r = nullptr;
    EffectVar* g = nullptr;
    EffectVar* b = nullptr;
    EffectVar* a = nullptr;
};
