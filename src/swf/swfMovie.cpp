#include "swf/swfMovie.h"

#include "swf/swfReader.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

// Splits at commas; empty pieces are dropped, so ",," is one separator and
// leading or trailing commas vanish.
swfArguments splitArguments(const std::string& text)
{
    swfArguments pieces;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos)
            comma = text.size();
        if (comma > start)
            pieces.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    return pieces;
}

// The integer the leading digits of `text` spell, 0 when there are none
// (the way C's atoi reads, but without its overflow).
long leadingInteger(const std::string& text)
{
    return std::strtol(text.c_str(), nullptr, 10);
}

} // namespace

swfMovie::swfMovie()
{
    eventHandlers_[swfDisplayEvent::place] = &swfMovie::place;
    eventHandlers_[swfDisplayEvent::place2] = &swfMovie::place;
    eventHandlers_[swfDisplayEvent::remove] = &swfMovie::remove;
    eventHandlers_[28] = &swfMovie::remove;   // the RemoveObject2 tag code
    commands_["addObjectCallback"] = [](swfMovie& movie, const swfArguments& arguments) {
        return movie.addObjectCallback(arguments);
    };
    commands_["removeObjectCallback"] = [](swfMovie&, const swfArguments&) { return 0; };
}

int swfMovie::load(const uint8_t* image, size_t size, bool* damaged)
{
    const swfReader reader(*this, image, size);
    if (damaged != nullptr)
        *damaged = reader.damaged();
    return reader.result();
}

void swfMovie::appendFrame()
{
    frames_.emplace_back();
}

void swfMovie::addEvent(size_t frame, const swfDisplayEvent& event)
{
    assert(frame < frames_.size() && "the reader appends a frame before it fills it");
    frames_[frame].events.push_back(event);
}

void swfMovie::addCommand(size_t frame, const std::string& text)
{
    assert(frame < frames_.size() && "the reader appends a frame before it fills it");
    frames_[frame].commands.push_back({text, splitArguments(text)});
}

void swfMovie::defineCharacter(std::unique_ptr<swfCharacter> character)
{
    uint16_t id = static_cast<uint16_t>(character->id);
    characters_[id] = std::move(character);
}

const swfCharacter* swfMovie::character(uint16_t id) const
{
    auto it = characters_.find(id);
    return it == characters_.end() ? nullptr : it->second.get();
}

void swfMovie::defineFont(const swfFont& font)
{
    fonts_[font.id] = font;
}

void swfMovie::setHeader(int32_t width, int32_t height, double frameRate, int32_t frameCount)
{
    width_ = width;
    height_ = height;
    frameRate_ = frameRate;
    frameCount_ = frameCount;
}

void swfMovie::advance(double t)
{
    currentTime_ = t;
    // A time that is not a number leaves the movie where it is; times beyond
    // the 32-bit frame range are held at its ends.
    double whole = std::floor(t);
    int32_t target = std::isnan(whole) ? currentFrame_
                     : whole <= INT32_MIN ? INT32_MIN
                     : whole >= INT32_MAX ? INT32_MAX
                                          : static_cast<int32_t>(whole);
    if (target < currentFrame_) {
        // Restart; the layers keep their objects and the following calls
        // catch up.
        currentFrame_ = -1;
        target = 0;
    }
    int64_t last = std::min<int64_t>(target, static_cast<int64_t>(frames_.size()) - 1);
    for (int64_t i = int64_t{currentFrame_} + 1; i <= last; ++i)
        playFrame(frames_[static_cast<size_t>(i)]);
    currentFrame_ = target;
    runObjectCallbacks();
}

void swfMovie::rewind()
{
    for (swfLayer& layer : layers_)
        layer.objects.clear();
    currentFrame_ = -1;
    currentTime_ = 0;
}

void swfMovie::registerCommand(const std::string& name, swfCommandHandler handler)
{
    commands_[name] = std::move(handler);
}

void swfMovie::registerObjectCallback(const std::string& name, swfObjectCallback callback)
{
    objectCallbacks_[name] = std::move(callback);
}

const swfLayer* swfMovie::layer(int depth) const
{
    if (depth < 0 || depth >= layerCount)
        return nullptr;
    return &layers_[static_cast<size_t>(depth)];
}

void swfMovie::playFrame(const swfFrame& frame)
{
    for (const swfDisplayEvent& event : frame.events) {
        auto handler = eventHandlers_.find(event.code);
        if (handler == eventHandlers_.end() || event.depth >= layerCount)
            continue;
        (this->*handler->second)(layers_[event.depth], event);
    }
    if (!commandsEnabled_)
        return;
    for (const swfCommand& command : frame.commands)
        dispatch(command);
}

void swfMovie::place(swfLayer& layer, const swfDisplayEvent& event)
{
    if (event.characterId != 0) {
        if (const swfCharacter* defined = character(event.characterId))
            layer.objects.push_back(defined->clone());
    }
    for (auto& object : layer.objects)
        object->applyMatrix(event.matrix);
    for (auto& object : layer.objects)
        object->applyColourTransform(event.colourTransform);
}

void swfMovie::remove(swfLayer& layer, const swfDisplayEvent&)
{
    layer.objects.clear();
}

void swfMovie::dispatch(const swfCommand& command)
{
    if (command.arguments.empty())
        return;
    auto it = commands_.find(command.arguments[0]);
    if (it == commands_.end())
        return;
    // A copy, so a handler may replace its own registration while it runs.
    swfCommandHandler handler = it->second;
    handler(*this, command.arguments);
}

int swfMovie::addObjectCallback(const swfArguments& arguments)
{
    long layer = arguments.size() > 1 ? leadingInteger(arguments[1]) : 0;
    auto callback = arguments.size() > 2 ? objectCallbacks_.find(arguments[2]) : objectCallbacks_.end();
    if (callback == objectCallbacks_.end())
        return 0;
    if (layer == allLayers) {
        for (swfLayer& each : layers_)
            each.callbacks.push_back(callback->second);
    } else if (layer >= 0 && layer < layerCount) {
        layers_[static_cast<size_t>(layer)].callbacks.push_back(callback->second);
    } else {
        return 0;
    }
    return 1;
}

void swfMovie::runObjectCallbacks()
{
    for (swfLayer& layer : layers_) {
        // By index and by copy: a callback may attach further callbacks.
        for (size_t i = 0; i < layer.callbacks.size(); ++i) {
            swfObjectCallback callback = layer.callbacks[i];
            std::vector<swfCharacter*> objects;
            objects.reserve(layer.objects.size());
            for (auto& object : layer.objects)
                objects.push_back(object.get());
            callback(*this, std::move(objects));
        }
    }
}
