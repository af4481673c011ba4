#include "swf/swfCharacter.h"

namespace {
// SWF coordinates are twips, 20 to the pixel.
constexpr float pixelsPerTwip = 0.05f;
}

void swfCharacter::setBaseColour(const swfColour& c)
{
    baseColour = c;
    colour = c;
}

void swfCharacter::setBounds(const swfRect& bounds)
{
    boundsMin = {static_cast<float>(bounds.xMin) * pixelsPerTwip, static_cast<float>(bounds.yMin) * pixelsPerTwip};
    boundsMax = {static_cast<float>(bounds.xMax) * pixelsPerTwip, static_cast<float>(bounds.yMax) * pixelsPerTwip};
    size = {(static_cast<float>(bounds.xMax) - static_cast<float>(bounds.xMin)) * pixelsPerTwip,
            (static_cast<float>(bounds.yMax) - static_cast<float>(bounds.yMin)) * pixelsPerTwip};
}

void swfCharacter::applyMatrix(const swfMatrix& m)
{
    position = {static_cast<float>(m.translateX) * pixelsPerTwip, static_cast<float>(m.translateY) * pixelsPerTwip};
    float a = static_cast<float>(m.scaleX) / 65536.0f;
    float b = static_cast<float>(m.rotateSkew0) / 65536.0f;
    float c = static_cast<float>(m.rotateSkew1) / 65536.0f;
    float d = static_cast<float>(m.scaleY) / 65536.0f;
    for (size_t i = 0; i < corners.size(); ++i) {
        const swfPoint& p = corners[i];
        transformedCorners[i] = {a * p.x + c * p.y + position.x, b * p.x + d * p.y + position.y};
    }
}

void swfCharacter::applyColourTransform(const swfColourTransform& t)
{
    auto channel = [](int16_t multiply, float base, int16_t add) {
        return static_cast<float>(multiply) / 256.0f * base + static_cast<float>(add) / 256.0f;
    };
    colour.r = channel(t.redMultiply, baseColour.r, t.redAdd);
    colour.g = channel(t.greenMultiply, baseColour.g, t.greenAdd);
    colour.b = channel(t.blueMultiply, baseColour.b, t.blueAdd);
    colour.a = channel(t.alphaMultiply, baseColour.a, t.alphaAdd);
}

void swfShape::setPenBox(int64_t minX, int64_t minY, int64_t maxX, int64_t maxY)
{
    auto f = [](int64_t v) { return static_cast<float>(v); };
    corners = {{{f(minX), f(minY)}, {f(maxX), f(minY)}, {f(maxX), f(maxY)}, {f(minX), f(maxY)}}};
    transformedCorners = corners;
    penBoxMin = {f(minX) * pixelsPerTwip, f(minY) * pixelsPerTwip};
    penBoxMax = {f(maxX) * pixelsPerTwip, f(maxY) * pixelsPerTwip};
}
