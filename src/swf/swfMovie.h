// One SWF movie in memory and its playback state. The reader (swfReader)
// fills the frames, the character dictionary and the fonts once; advance()
// then plays the frames' display events onto 20 layers (depths 0-19) and
// dispatches the frames' text commands to named handlers.
//
// A movie owns its characters and the clones placed on its layers. Handlers
// and callbacks are copied in; whatever they capture must outlive the movie.
// A movie is neither copied nor moved: handlers receive it by reference.
#pragma once

#include "swf/swfCharacter.h"
#include "swf/swfDisplayEvent.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class swfMovie;

using swfArguments = std::vector<std::string>;
// Called with the movie and the command's arguments (argument 0 is the
// command's name); the result is not used further.
using swfCommandHandler = std::function<int(swfMovie& movie, const swfArguments& arguments)>;
// Called at every advance with the movie and a copy of a layer's object list.
using swfObjectCallback = std::function<void(swfMovie& movie, std::vector<swfCharacter*> objects)>;

struct swfFont {
    int32_t id = 0;
    std::string name;
    std::string codes;   // the low byte of every glyph's code
};

// A text command as the movie carries it, and its comma-separated arguments
// (empty pieces dropped).
struct swfCommand {
    std::string text;
    swfArguments arguments;
};

struct swfFrame {
    std::vector<swfDisplayEvent> events;
    std::vector<swfCommand> commands;
};

struct swfLayer {
    std::vector<std::unique_ptr<swfCharacter>> objects;   // first placed first
    std::vector<swfObjectCallback> callbacks;
};

class swfMovie {
public:
    static constexpr int layerCount = 20;
    // "addObjectCallback" with this layer attaches to every layer.
    static constexpr int allLayers = 666;

    swfMovie();
    swfMovie(const swfMovie&) = delete;
    swfMovie& operator=(const swfMovie&) = delete;

    // Reads an SWF file image into this (empty) movie; returns the reader's
    // result: 1 when the header was accepted, 0 otherwise. `damaged`, when
    // given, tells whether the reader had to drop a tag or end a timeline
    // early.
    int load(const uint8_t* image, size_t size, bool* damaged = nullptr);

    // Filled by the reader.
    void appendFrame();
    void addEvent(size_t frame, const swfDisplayEvent& event);
    void addCommand(size_t frame, const std::string& text);
    void defineCharacter(std::unique_ptr<swfCharacter> character);
    const swfCharacter* character(uint16_t id) const;
    void defineFont(const swfFont& font);
    void setHeader(int32_t width, int32_t height, double frameRate, int32_t frameCount);

    // Plays every frame up to floor(t) that has not been played; a t before
    // the current frame restarts at frame 0 without clearing the layers.
    void advance(double t);
    // Clears the layers and returns to before frame 0.
    void rewind();

    void registerCommand(const std::string& name, swfCommandHandler handler);
    void registerObjectCallback(const std::string& name, swfObjectCallback callback);
    void setCommandsEnabled(bool enabled) { commandsEnabled_ = enabled; }

    // The layer for a depth, or null outside 0-19.
    const swfLayer* layer(int depth) const;
    const std::vector<swfFrame>& frames() const { return frames_; }
    const std::map<uint16_t, std::unique_ptr<swfCharacter>>& characters() const { return characters_; }
    const std::map<int32_t, swfFont>& fonts() const { return fonts_; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    double frameRate() const { return frameRate_; }
    int32_t frameCount() const { return frameCount_; }
    int32_t currentFrame() const { return currentFrame_; }
    double currentTime() const { return currentTime_; }

private:
    using EventHandler = void (swfMovie::*)(swfLayer& layer, const swfDisplayEvent& event);

    void playFrame(const swfFrame& frame);
    void place(swfLayer& layer, const swfDisplayEvent& event);
    void remove(swfLayer& layer, const swfDisplayEvent& event);
    void dispatch(const swfCommand& command);
    int addObjectCallback(const swfArguments& arguments);
    void runObjectCallbacks();

    std::vector<swfFrame> frames_;
    std::array<swfLayer, layerCount> layers_;
    std::map<uint16_t, std::unique_ptr<swfCharacter>> characters_;
    std::map<int32_t, swfFont> fonts_;
    std::map<uint32_t, EventHandler> eventHandlers_;
    std::map<std::string, swfCommandHandler> commands_;
    std::map<std::string, swfObjectCallback> objectCallbacks_;
    int32_t currentFrame_ = -1;
    double currentTime_ = 0;
    int32_t width_ = 0, height_ = 0;
    double frameRate_ = 0;
    int32_t frameCount_ = 0;
    bool commandsEnabled_ = true;
};
