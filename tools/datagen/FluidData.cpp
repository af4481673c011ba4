// The finale's data:
// - "fluid.swf": 80 movie frames per second over the scene's 22 beats. Layer
//   1 is the pen: it writes the show's name "QUILLON" in single strokes,
//   lifted between strokes by "endLine" (each one toggles the pen) and
//   lifted for good at the end. The scene draws the pen 50 pixels above the
//   layer's position, so positions here are the writing's plus 50. Layer 2's
//   alpha fades the banner in over the first stroke, so the banner is full
//   before the pen is first lifted (a lifted pen under a faint banner
//   darkens the frame).
// - "end.jpg": the 640 x 80 closing banner, light on black (it is added).
#include "datagen/Canvas.h"
#include "datagen/DataProduct.h"
#include "datagen/TextRenderer.h"
#include "imagewriter/ImageWriter.h"
#include "swfwriter/SwfAnimation.h"

#include <cmath>

namespace {

struct Point {
    double x, y;
};
using Stroke = std::vector<Point>;

// Letters in a box one unit high, y down; each a list of strokes.
struct Letter {
    double width;
    std::vector<Stroke> strokes;
};

Stroke ellipse(double cx, double cy, double rx, double ry)
{
    Stroke points;
    constexpr int steps = 24;
    for (int i = 0; i <= steps; ++i) {
        // From the top, anticlockwise as a pen draws an O.
        const double a = -1.5707963 - 6.2831853 * i / steps;
        points.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
    }
    return points;
}

std::vector<Letter> showName()
{
    const Letter q{1.0, {ellipse(0.5, 0.5, 0.45, 0.5), {{0.55, 0.68}, {0.98, 1.08}}}};
    const Letter u{0.9, {{{0.1, 0.0}, {0.1, 0.65}, {0.2, 0.88}, {0.45, 1.0}, {0.7, 0.9}, {0.82, 0.68}, {0.82, 0.0}}}};
    const Letter i{0.35, {{{0.15, 0.0}, {0.15, 1.0}}}};
    // A short foot, well clear of the next letter: run together, "LO"
    // reads as "dO".
    const Letter l{0.75, {{{0.1, 0.0}, {0.1, 1.0}, {0.55, 1.0}}}};
    const Letter o{1.0, {ellipse(0.5, 0.5, 0.45, 0.5)}};
    const Letter n{0.9, {{{0.1, 1.0}, {0.1, 0.0}, {0.82, 1.0}, {0.82, 0.0}}}};
    return {q, u, i, l, l, o, n};
}

constexpr double kLetterHeight = 90.0;
constexpr double kUnit = 64.0;          // pixels per unit of letter width
constexpr double kGap = 22.0;
constexpr double kBaselineTop = 240.0;  // top of the letters on the screen
constexpr double kPenOffset = 50.0;
// Fast enough that the whole name stands written within about three
// seconds, before the jet's flow, still weak, has carried its first letters
// far.
constexpr double kPixelsPerFrame = 8.0;
constexpr int kLiftFrames = 3;          // travel between strokes

double distance(Point a, Point b)
{
    return std::hypot(a.x - b.x, a.y - b.y);
}

// The strokes in screen pixels, letter after letter, centred across.
std::vector<Stroke> screenStrokes()
{
    const std::vector<Letter> letters = showName();
    double total = -kGap;
    for (const Letter& letter : letters)
        total += letter.width * kUnit + kGap;
    double left = (640.0 - total) / 2.0;
    std::vector<Stroke> strokes;
    for (const Letter& letter : letters) {
        for (const Stroke& stroke : letter.strokes) {
            Stroke placed;
            for (const Point& p : stroke)
                placed.push_back({left + p.x * kUnit, kBaselineTop + p.y * kLetterHeight});
            strokes.push_back(placed);
        }
        left += letter.width * kUnit + kGap;
    }
    return strokes;
}

swfwriter::AnimationKey penKey(int frame, Point p)
{
    swfwriter::AnimationKey key;
    key.frame = frame;
    key.position = std::array<double, 2>{p.x, p.y + kPenOffset};
    return key;
}

swfwriter::AnimationKey bannerKey(int frame, double alpha)
{
    swfwriter::AnimationKey key;
    key.frame = frame;
    key.colour = std::array<double, 4>{1.0, 1.0, 1.0, alpha};
    return key;
}

std::vector<uint8_t> makeScript(const datagen::GeneratorOptions&)
{
    swfwriter::Animation movie;
    movie.frameRate = 80;
    movie.frames = 990;   // 22 beats at 108 per minute, a little over
    swfwriter::AnimationLayer pen;
    pen.depth = 1;
    pen.width = pen.height = 4;
    int frame = 0;
    const std::vector<Stroke> strokes = screenStrokes();
    for (size_t s = 0; s < strokes.size(); ++s) {
        const Stroke& stroke = strokes[s];
        if (s > 0) {
            // Travel lifted, hold a frame, set the pen down.
            frame += kLiftFrames;
            pen.keys.push_back(penKey(frame, stroke.front()));
            frame += 1;
            movie.commands.push_back({frame, "endLine"});
        }
        pen.keys.push_back(penKey(frame, stroke.front()));
        for (size_t p = 1; p < stroke.size(); ++p) {
            frame += std::max(1, static_cast<int>(std::lround(distance(stroke[p - 1], stroke[p]) / kPixelsPerFrame)));
            pen.keys.push_back(penKey(frame, stroke[p]));
        }
        // Lift it where the stroke ends.
        movie.commands.push_back({frame, "endLine"});
        frame += 1;
        pen.keys.push_back(penKey(frame, stroke.back()));
    }
    movie.layers.push_back(pen);

    swfwriter::AnimationLayer bannerFade;
    bannerFade.depth = 2;
    // Full by the first lift, however fast the pen writes.
    const int firstLift = movie.commands.front().frame - 1;
    bannerFade.keys = {bannerKey(0, 0.0), bannerKey(firstLift, 1.0)};
    movie.layers.push_back(bannerFade);
    return swfwriter::writeAnimation(movie);
}

std::vector<uint8_t> makeBanner(const datagen::GeneratorOptions&)
{
    constexpr int width = 640, height = 80;
    datagen::TextRenderer text;
    datagen::Canvas canvas(width, height);
    const datagen::Mask words = text.line(width, height, "thank you for watching", {datagen::kSansLight, 34, 4},
                                          width / 2.0f, 52.0f);
    canvas.add(datagen::blurred(words, 6), {1.0f, 0.62f, 0.25f}, 0.9f);
    canvas.add(words, {1.0f, 0.95f, 0.85f});
    return imagewriter::encodeJpeg(width, height, canvas.rgbBytes(), 92);
}

} // namespace

GLINT_DATA_PRODUCT("fluid.swf", makeScript, false);
GLINT_DATA_PRODUCT("end.jpg", makeBanner, false);
