// The animation script scenes play: two movies read from the same SWF bytes,
// the primary one played at time t and a look-ahead one at t + 1 (with its
// commands off), so that layer colours and positions can be interpolated
// between whole frames. Scenes bind layers (depths 0-19) to their own floats,
// register handlers for the movie's text commands, and call update() once a
// frame with their time in movie frames.
//
// The script owns both movies. Bound floats belong to the scene and must
// outlive the script; update() writes them in place.
#pragma once

#include "swf/swfMovie.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct swfBinding {
    enum Kind : int32_t { colour = 0, position = 2 };
    int32_t kind;
    int32_t layer;
    float* output;   // 4 floats for colour, 2 for position
};

class swfScript {
public:
    // Reads the file at `path` whole. A null path, or a file that cannot be
    // opened (reported as "cannot find PATH"), leaves a script without movies
    // on which every operation does nothing.
    explicit swfScript(const char* path);
    // Reads a file image in memory; the caller keeps and frees it. A null
    // image leaves a script without movies.
    swfScript(const void* image, size_t size);
    // A script without movies, quietly.
    swfScript() = default;

    // Adds or replaces a command handler; commands fire from the primary
    // movie only.
    void registerCommand(const std::string& name, swfCommandHandler handler);
    // Names a callback that the movie's "addObjectCallback" command can then
    // attach to layers.
    void registerObjectCallback(const std::string& name, swfObjectCallback callback);

    void bindColour(int layer, float* out);
    void bindPosition(int layer, float* out);

    // Advances both movies to `t` (in movie frames) and writes every binding.
    void update(double t);
    // Returns both movies to before frame 0 with empty layers; bindings,
    // handlers and the loop flag stay.
    void rewind();

    // Null when the script has no movies.
    swfMovie* primary() { return primary_.get(); }
    swfMovie* lookAhead() { return lookAhead_.get(); }

    // Wrap the time at the primary movie's frame count; scenes may clear it.
    bool loop = true;

    // Why the movie bytes did not read whole, in a few words; null when they
    // did, and for a script without movies.
    const char* readProblem() const { return readProblem_; }

private:
    void build(const uint8_t* image, size_t size);
    void writeBinding(const swfBinding& binding, float f);

    std::unique_ptr<swfMovie> primary_;
    std::unique_ptr<swfMovie> lookAhead_;
    std::vector<swfBinding> bindings_;
    const char* readProblem_ = nullptr;
};

class ResourceManager;

// A new animation script from the data file `name`, from either data source.
// A file missing from the data directory says "cannot find PATH"; a pack miss
// has shown its box. Either way the script has no movies. A file that is no
// uncompressed SWF movie, or one cut short or damaged, is named on standard
// error with its readProblem(); the script plays what could be read.
std::unique_ptr<swfScript> loadScript(const ResourceManager& resources, const char* name);
