// CombinerFilter: redraws the picture drawn so far four times at once,
// through texture units 0-3 reading the same screen copy at offset
// coordinates (the taps), combined by a register-combiner program compiled
// from an ".rcp" text into a display list. With the averaging program
// "avg.rcp" one `update` is one blur pass in `direction` with `spread`.
//
// A tap on a texel centre reads the same texel under nearest sampling as
// under the copy's linear filter, and nearest reads cost a software
// rasteriser far less: whenever the pass maps pixels onto texels one to one,
// the taps read through a nearest sampler of the filter's own, which leaves
// the shared copy's filter untouched. A pass held to a scissor box copies
// only the part of the frame its taps can read from inside the box.
//
// Borrows the screen copy from the resource manager's registry when it has
// one under the given key, else owns one of the display size. Owns its
// display list and sampler.
#pragma once

#include "resources/SharedKey.h"

#include <memory>

class CopyScreen;
class ResourceManager;

class CombinerFilter {
public:
    enum Direction { center = 0, left = 1, right = 2, up = 3, down = 4 };

    CombinerFilter(ResourceManager* resources, SharedKey<CopyScreen> copyKey, int width, int height);
    ~CombinerFilter();
    CombinerFilter(const CombinerFilter&) = delete;
    CombinerFilter& operator=(const CombinerFilter&) = delete;

    // Compiles the combiner text into the filter's display list; the
    // compiler's messages go to standard error, after a line naming
    // `source` (the file of the text) when it is given.
    void loadProgram(const char* text, const char* source = nullptr);
    // Reads `fileName` with the resource manager and compiles it; false
    // (with a message) when the file cannot be read.
    bool loadProgramFile(const char* fileName);

    // One pass: copies (when `takeCopy`) and clears, then draws the taps.
    int update();

    // Tap offsets of units 0-3 for a direction and a step d.
    struct Tap {
        float s, t;
    };
    static void tapOffsets(int direction, float dx, float dy, Tap (&taps)[4]);

    bool takeCopy = true;
    int direction = center;
    int spread = 0;
    int width;
    int height;
    CopyScreen* copy = nullptr;
    unsigned program = 0;

private:
    // Whether the pass maps pixels onto the copy's texels one to one, so
    // that every tap lands on a texel centre.
    bool tapsOnTexelCentres() const;
    // Copies the frame into `copy`: all of it, or, when the pass maps
    // pixels one to one and a scissor box holds it, the part it can read.
    void copyWhatThePassReads(bool oneToOne);

    ResourceManager* resources;
    std::unique_ptr<CopyScreen> ownCopy;
    unsigned nearest = 0;   // sampler object, 0 where GL has none
};
