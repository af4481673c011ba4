#include "swfwriter/SwfAnimation.h"

#include "swfwriter/SwfMovieWriter.h"

#include <algorithm>
#include <cmath>

namespace swfwriter {

namespace {

struct LayerState {
    std::array<double, 4> colour;
    std::array<double, 2> position;
};

// The keys in frame order with every value filled in.
std::vector<std::pair<int, LayerState>> resolveKeys(const AnimationLayer& layer)
{
    std::vector<AnimationKey> keys = layer.keys;
    std::stable_sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return a.frame < b.frame; });
    std::vector<std::pair<int, LayerState>> resolved;
    LayerState state{{1, 1, 1, 1}, {0, 0}};
    for (const AnimationKey& key : keys) {
        if (key.colour)
            state.colour = *key.colour;
        if (key.position)
            state.position = *key.position;
        resolved.emplace_back(key.frame, state);
    }
    return resolved;
}

LayerState stateAt(const std::vector<std::pair<int, LayerState>>& keys, int frame)
{
    auto next = std::upper_bound(keys.begin(), keys.end(), frame,
                                 [](int f, const auto& key) { return f < key.first; });
    if (next == keys.end())
        return keys.back().second;
    const auto& before = *(next - 1);
    double s = double(frame - before.first) / double(next->first - before.first);
    LayerState state;
    for (size_t i = 0; i < 4; ++i)
        state.colour[i] = (1 - s) * before.second.colour[i] + s * next->second.colour[i];
    for (size_t i = 0; i < 2; ++i)
        state.position[i] = (1 - s) * before.second.position[i] + s * next->second.position[i];
    return state;
}

int32_t twips(double pixels)
{
    return static_cast<int32_t>(std::lround(pixels * 20));
}

uint16_t characterOf(const AnimationLayer& layer)
{
    return static_cast<uint16_t>(layer.depth + 1);
}

// Writes what one layer does on one frame; `placed` remembers the last
// placement so unchanged frames write nothing.
void writeLayerFrame(TagWriter& tags, const AnimationLayer& layer,
                     const std::vector<std::pair<int, LayerState>>& keys, int frame,
                     std::optional<Placement>& placed)
{
    uint16_t depth = static_cast<uint16_t>(layer.depth);
    if (layer.removeFrame && frame >= *layer.removeFrame) {
        if (frame == *layer.removeFrame)
            tags.removeObject2(depth);
        return;
    }
    if (keys.empty() || frame < keys.front().first)
        return;
    LayerState state = stateAt(keys, frame);
    Placement p;
    p.depth = depth;
    p.matrix = Matrix::translation(twips(state.position[0]), twips(state.position[1]));
    const auto& c = state.colour;
    p.colourTransform = ColourTransform::multiply(c[0], c[1], c[2], c[3]);
    if (frame == keys.front().first) {
        tags.removeObject2(depth);
        p.character = characterOf(layer);
    } else {
        const auto& m = placed->matrix;
        const auto& t = placed->colourTransform;
        const auto& nt = *p.colourTransform;
        if (m->translateX == p.matrix->translateX && m->translateY == p.matrix->translateY &&
            t->redMultiply == nt.redMultiply && t->greenMultiply == nt.greenMultiply &&
            t->blueMultiply == nt.blueMultiply && t->alphaMultiply == nt.alphaMultiply)
            return;
        p.move = true;
    }
    tags.placeObject2(p);
    placed = p;
}

} // namespace

int animationFrames(const Animation& animation)
{
    if (animation.frames > 0)
        return animation.frames;
    int last = -1;
    for (const AnimationLayer& layer : animation.layers) {
        for (const AnimationKey& key : layer.keys)
            last = std::max(last, key.frame);
        if (layer.removeFrame)
            last = std::max(last, *layer.removeFrame);
    }
    for (const AnimationCommand& command : animation.commands)
        last = std::max(last, command.frame);
    return last + 1;
}

std::vector<uint8_t> writeAnimation(const Animation& animation)
{
    std::vector<AnimationLayer> layers = animation.layers;
    std::stable_sort(layers.begin(), layers.end(), [](const auto& a, const auto& b) { return a.depth < b.depth; });
    TagWriter tags;
    std::vector<std::vector<std::pair<int, LayerState>>> keys;
    for (const AnimationLayer& layer : layers) {
        int32_t w = twips(layer.width / 2), h = twips(layer.height / 2);
        tags.defineShape(Shape::rectangle(characterOf(layer), {-w, w, -h, h}, {255, 255, 255, 255}));
        keys.push_back(resolveKeys(layer));
    }
    std::vector<std::optional<Placement>> placed(layers.size());
    int frames = animationFrames(animation);
    for (int frame = 0; frame < frames; ++frame) {
        for (size_t i = 0; i < layers.size(); ++i)
            writeLayerFrame(tags, layers[i], keys[i], frame, placed[i]);
        for (const AnimationCommand& command : animation.commands)
            if (command.frame == frame)
                tags.doAction(ActionWriter().fscommand(command.text));
        tags.showFrame();
    }
    Header header;
    header.frameSize = {0, animation.width * 20, 0, animation.height * 20};
    header.frameRate = animation.frameRate;
    return writeMovie(header, tags);
}

} // namespace swfwriter
