// Animations described as layers with key frames, made into SWF movies that
// the show's swfScript plays: every layer holds one white rectangle whose
// colour (a colour transform) and position (a translation) are tweened
// linearly between its keys, frame by frame, and commands fire on frames.
//
// Each layer's first placement is preceded by a removal of its depth, so a
// looping script starts every pass with exactly one object on the layer.
// Colours are (r, g, b, a), normally 0..1 (stored in 1/256 steps, held to
// -64..64); positions are pixels (stored in twips).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace swfwriter {

struct AnimationKey {
    int frame = 0;
    // Missing values carry over from the previous key; before the first,
    // white and (0, 0).
    std::optional<std::array<double, 4>> colour;
    std::optional<std::array<double, 2>> position;
};

struct AnimationLayer {
    int depth = 1;                   // 0-19
    double width = 20, height = 20;  // pixels, centred on the position
    std::vector<AnimationKey> keys;  // nothing is on the layer before the first
    std::optional<int> removeFrame;  // the layer is emptied on this frame
};

struct AnimationCommand {
    int frame = 0;
    std::string text;   // e.g. "setCamera,Camera02"
};

struct Animation {
    int width = 640, height = 480;
    double frameRate = 30;
    int frames = 0;   // 0: up to and including the last key, removal or command
    std::vector<AnimationLayer> layers;
    std::vector<AnimationCommand> commands;
};

// The number of frames the movie will have.
int animationFrames(const Animation& animation);
std::vector<uint8_t> writeAnimation(const Animation& animation);

// Reads the text form, one statement per line ("#" starts a comment):
//   movie WIDTH HEIGHT RATE
//   frames COUNT
//   layer DEPTH [size WIDTH HEIGHT]
//   key DEPTH FRAME [colour R G B A] [position X Y]
//   remove DEPTH FRAME
//   command FRAME TEXT...
// A key or removal needs its layer declared first. On error returns false
// and sets `error` to "line N: what is wrong".
bool parseAnimation(const std::string& text, Animation& animation, std::string& error);

} // namespace swfwriter
